#include "app/CrashReporter.h"
#include "tests/app/AppFakes.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPushButton>
#include <QTest>

#include <gmock/gmock.h>

#include <stdexcept>

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// Throws from its event handler for one event type and counts the others.
class TThrowingObject final : public QObject {
public:
    static inline const QEvent::Type Throw = static_cast<QEvent::Type>(QEvent::User + 1);
    static inline const QEvent::Type Count = static_cast<QEvent::Type>(QEvent::User + 2);

    bool event(QEvent *event) override {
        if (event->type() == Throw)
            throw std::runtime_error("Access violation in the handler");
        if (event->type() == Count) {
            ++Counted;
            return true;
        }
        return QObject::event(event);
    }
    int Counted = 0;
};

class CrashReporterTest : public ::testing::Test {
protected:
    TRecordingMessageBox FBox;
    TCrashReporter FReporter{FBox};
};

TEST_F(CrashReporterTest, AnErrorInAnEventHandlerIsShownAndTheProgramGoesOn) {
    TThrowingObject target;
    // Sent directly, and posted through the event loop: both pass the application's notify.
    QEvent thrown(TThrowingObject::Throw);
    QCoreApplication::sendEvent(&target, &thrown);
    QCoreApplication::postEvent(&target, new QEvent(TThrowingObject::Throw));
    QCoreApplication::postEvent(&target, new QEvent(TThrowingObject::Count));
    QCoreApplication::processEvents();

    EXPECT_THAT(FBox.Texts(),
                ElementsAre("Access violation in the handler", "Access violation in the handler"));
    EXPECT_EQ(FBox.Shown[0].kind, TMsgKind::Warning);
    EXPECT_EQ(FBox.Shown[0].buttons, TMsgButtons::Ok);
    EXPECT_EQ(target.Counted, 1);
}

TEST_F(CrashReporterTest, AnErrorInAGuardedClickHandlerLeavesTheButtonWorking) {
    QPushButton button;
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, Guarded([&] {
        if (++clicks == 1)
            throw 42; // not even a std::exception
    }));
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_FALSE(button.isDown());
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 2);
    EXPECT_THAT(FBox.Texts(), ElementsAre("Unknown error"));
}

TEST_F(CrashReporterTest, RunGuardedReportsOnlyFailures) {
    EXPECT_TRUE(RunGuarded([] {}));
    EXPECT_THAT(FBox.Shown, IsEmpty());
    EXPECT_FALSE(RunGuarded([] { throw std::logic_error("Invalid pointer operation"); }));
    EXPECT_THAT(FBox.Texts(), ElementsAre("Invalid pointer operation"));
}

TEST_F(CrashReporterTest, AnErrorWhileTheBoxIsOpenGoesToStandardErrorNotToASecondBox) {
    FBox.OnShow = [] { TCrashReporter::Report("second error"); };
    ::testing::internal::CaptureStderr();
    TCrashReporter::Report("first error");
    EXPECT_THAT(::testing::internal::GetCapturedStderr(), HasSubstr("second error"));
    EXPECT_THAT(FBox.Texts(), ElementsAre("first error"));

    // The box is closed again: the next error gets its own box.
    FBox.OnShow = nullptr;
    TCrashReporter::Report("third error");
    EXPECT_THAT(FBox.Texts(), ElementsAre("first error", "third error"));
}

TEST(CrashReporter, WithoutAReporterNothingEndsSilently) {
    ::testing::internal::CaptureStderr();
    TCrashReporter::Report("lost error");
    EXPECT_THAT(::testing::internal::GetCapturedStderr(), HasSubstr("lost error"));
}

TEST(CrashReporter, TheLatestReporterIsInForceUntilItGoes) {
    TRecordingMessageBox outer;
    TRecordingMessageBox inner;
    TCrashReporter outerReporter(outer);
    {
        TCrashReporter innerReporter(inner);
        TCrashReporter::Report("to inner");
    }
    TCrashReporter::Report("to outer");
    EXPECT_THAT(inner.Texts(), ElementsAre("to inner"));
    EXPECT_THAT(outer.Texts(), ElementsAre("to outer"));
}

} // namespace
