#include "widgets/PageControl.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTabBar>

void TSkinPageControl::SetTabVisible(int index, bool visible) {
    // Hiding the active page's tab makes the bar pick another page; the active page stays.
    const int active = currentIndex();
    tabBar()->setTabVisible(index, visible);
    setCurrentIndex(active);
    bool anyVisible = false;
    for (int i = 0; i < count(); ++i)
        anyVisible = anyVisible || tabBar()->isTabVisible(i);
    tabBar()->setVisible(anyVisible);
    // The header band's height changed: have the pages laid out again now.
    QEvent relayout(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(this, &relayout);
}

bool TSkinPageControl::TabVisible(int index) const {
    return tabBar()->isVisibleTo(this) && tabBar()->isTabVisible(index);
}
