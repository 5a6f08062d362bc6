#pragma once

#include <QTabWidget>

// A page control whose tab headers can be hidden one by one while their pages stay usable: a page
// with a hidden tab can still be made the active page. With every tab hidden no header band is
// drawn at all. (QTabWidget::setTabVisible hides the page itself, which is not what we want.)
class TSkinPageControl final : public QTabWidget {
    Q_OBJECT
public:
    using QTabWidget::QTabWidget;

    void SetTabVisible(int index, bool visible);
    bool TabVisible(int index) const;
};
