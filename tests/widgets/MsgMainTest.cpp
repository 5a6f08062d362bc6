#include "widgets/MsgMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct TSeenBox {
    bool found = false;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QString text;
    QString title;
};

// Answers the next modal box with answer; closes it anyway after a few seconds so no test hangs.
void AnswerNextBox(QMessageBox::StandardButton answer, TSeenBox &seen) {
    auto *poll = new QTimer(qApp);
    auto deadline = std::make_shared<QDeadlineTimer>(5000);
    QObject::connect(poll, &QTimer::timeout, [poll, deadline, answer, &seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box) {
            seen = {true, box->icon(), box->standardButtons(), box->text(), box->windowTitle()};
            box->button(answer)->click();
        } else if (!deadline->hasExpired()) {
            return;
        } else {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *stray = qobject_cast<QMessageBox *>(w))
                    stray->reject();
        }
        poll->deleteLater();
        poll->stop();
    });
    poll->start(10);
}

struct TBoxCase {
    const char *name;
    TMsgKind kind;
    TMsgButtons buttons;
    QMessageBox::StandardButton answer;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons shownButtons;
    bool result;
};

// Names the case in test listings.
void PrintTo(const TBoxCase &c, std::ostream *os) {
    *os << '"' << c.name << '"';
}

class MsgMainTest : public ::testing::TestWithParam<TBoxCase> {};

TEST_P(MsgMainTest, ShowsTheKindAndButtonsAndReportsTheAnswer) {
    const TBoxCase &c = GetParam();
    QWidget owner;
    owner.setWindowTitle(QStringLiteral("Vellmark 2.0"));
    TMsgMain msgMain(&owner);
    TSeenBox seen;
    AnswerNextBox(c.answer, seen);

    EXPECT_EQ(msgMain.Show(c.kind, "There is no update <b>now</b> \x96 try later.", c.buttons), c.result);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.icon, c.icon);
    EXPECT_EQ(seen.buttons, c.shownButtons);
    EXPECT_EQ(seen.title, QStringLiteral("Vellmark 2.0"));
    // Windows-1252 text, shown as plain text.
    EXPECT_EQ(seen.text, QString::fromUtf8("There is no update <b>now</b> \xe2\x80\x93 try later."));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, MsgMainTest,
    ::testing::Values(TBoxCase{"WarningOk", TMsgKind::Warning, TMsgButtons::Ok, QMessageBox::Ok,
                               QMessageBox::Warning, QMessageBox::Ok, true},
                      TBoxCase{"InformationOkCancelAccepted", TMsgKind::Information, TMsgButtons::OkCancel,
                               QMessageBox::Ok, QMessageBox::Information,
                               QMessageBox::Ok | QMessageBox::Cancel, true},
                      TBoxCase{"InformationOkCancelDeclined", TMsgKind::Information, TMsgButtons::OkCancel,
                               QMessageBox::Cancel, QMessageBox::Information,
                               QMessageBox::Ok | QMessageBox::Cancel, false}),
    [](const auto &info) { return info.param.name; });

} // namespace
