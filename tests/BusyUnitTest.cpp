#include "BusyUnit.h"

#include "CalcUnit.h"
#include "Clock.h"
#include "Problems.h"
#include "QtSynchronizer.h"
#include "ThreadBase.h"
#include "ThreadTestSupport.h"
#include "WindowTestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A clock that moves on by Step days at every reading, so that titles and times are exact.
double FakeTime = 0.0;
double FakeStep = 0.0;
double FakeClock() {
    const double Time = FakeTime;
    FakeTime += FakeStep;
    return Time;
}

class Busy : public testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallQtSynchronizer();
        BusyForm = new TBusyForm;
    }
    static void TearDownTestSuite() {
        delete BusyForm;
        BusyForm = nullptr;
        SetSynchronizer(nullptr);
    }
    void SetUp() override {
        Store_ = std::make_unique<TCalc>();
        Calc = Store_.get();
    }
    void TearDown() override {
        SetClockSource(nullptr);
        BusyForm->BusyTimer.SetInterval(1000);
        EXPECT_TRUE(TUiThread::WaitForThreads());
        Calc = nullptr;
    }

    static void Random(int M, int N, int Max, std::uint32_t Seed) {
        LoadProblem(*Calc, RandomProblem(Seed, M, N, Max));
    }

    // The fake clock from Start on. The timer's own ticks would add readings whenever a run
    // outlasted a second on a loaded machine, so they are put off by a day meanwhile: the
    // readings are then exactly the showing's start, its first title and the end.
    static void UseFakeClock(double Start, double Step) {
        FakeTime = Start;
        FakeStep = Step;
        SetClockSource(FakeClock);
        BusyForm->BusyTimer.SetInterval(86400 * 1000);
    }

    static void Tiny() {
        Calc->M = Calc->N = 1;
        Calc->SetA(1, 3);
        Calc->SetB(1, 3);
        Calc->SetC(1, 1, 2);
    }

    // Runs Action once the dialog is up and its loop turns.
    static int ShowWhile(const std::function<void()>& Action) {
        if (Action)
            QTimer::singleShot(0, BusyForm, Action);
        return BusyForm->ShowModal();
    }

    std::unique_ptr<TCalc> Store_;
};

TEST_F(Busy, InstantWorkerClosesTheDialogWithOk) {
    UseFakeClock(40000.0, 0.0);
    Tiny();
    EXPECT_EQ(BusyForm->ShowModal(), mrOk);
    EXPECT_FALSE(BusyForm->isVisible());
    EXPECT_FALSE(BusyForm->Running());
    EXPECT_EQ(BusyForm->windowTitle(), "Kelvor - Calculation 0:00:00");
    EXPECT_EQ(Calc->CalcTime, 0.0);
    EXPECT_FALSE(BusyForm->BusyTimer.Enabled());
    EXPECT_EQ(Calc->GetX(1, 1), 3.0);
}

TEST_F(Busy, ManyInstantRunsInARow) {
    for (int K = 0; K < 50; ++K) {
        Tiny();
        const double Before = Now();
        ASSERT_EQ(BusyForm->ShowModal(), mrOk) << "run " << K;
        // On the real clock: the time from the showing to the notification.
        ASSERT_GE(Calc->CalcTime, 0.0);
        ASSERT_LE(Calc->CalcTime, Now() - Before);
    }
}

// The worker is held after its first pivot while the user acts, so the dialog is certainly
// still running when the request comes, however loaded the machine.
TEST_F(Busy, AbortKeepsTheDialogUntilTheWorkerHasEnded) {
    Random(500, 500, 9999, 7);
    TCheckpointHold Hold(1);
    bool SeenOpen = false;
    const int Result = ShowWhile([&] {
        EXPECT_TRUE(Hold.ActWhileHeld([&] {
            ASSERT_TRUE(BusyForm->Running());
            QTest::mouseClick(BusyForm->CancelButton, Qt::LeftButton);
            // The request is only a flag: the dialog and its timer go on.
            SeenOpen = BusyForm->isVisible() && BusyForm->BusyTimer.Enabled();
            QTest::mouseClick(BusyForm->CancelButton, Qt::LeftButton); // a second press is harmless
        }));
    });
    EXPECT_EQ(Result, mrAbort);
    EXPECT_TRUE(SeenOpen);
}

TEST_F(Busy, CloseBoxDuringARunActsAsAbort) {
    Random(500, 500, 9999, 8);
    TCheckpointHold Hold(1);
    bool StillOpen = false;
    const int Result = ShowWhile([&] {
        EXPECT_TRUE(Hold.ActWhileHeld([&] {
            BusyForm->close();
            StillOpen = BusyForm->isVisible();
        }));
    });
    EXPECT_TRUE(StillOpen);
    EXPECT_EQ(Result, mrAbort);
}

TEST_F(Busy, EscapeDoesNotPressAbort) {
    Random(200, 200, 50, 9);
    bool Pressed = false;
    QObject::connect(BusyForm->CancelButton, &QPushButton::clicked, [&] { Pressed = true; });
    const int Result = ShowWhile([] { QTest::keyClick(BusyForm, Qt::Key_Escape); });
    EXPECT_FALSE(Pressed);
    EXPECT_NE(Result, mrAbort);
    QObject::disconnect(BusyForm->CancelButton, &QPushButton::clicked, nullptr, nullptr);
}

TEST_F(Busy, CapGivesCancel) {
    Random(500, 500, 5, 1);
    EXPECT_EQ(BusyForm->ShowModal(), mrCancel);
}

TEST_F(Busy, FailedRunGivesItsOwnResultAndReason) {
    Tiny();
    Calc->SetA(1, -3);
    EXPECT_EQ(BusyForm->ShowModal(), mrFailed);
    EXPECT_EQ(BusyForm->FailReason, "Stocks and demands must not be negative");
    Tiny();
    EXPECT_EQ(BusyForm->ShowModal(), mrOk);
    EXPECT_TRUE(BusyForm->FailReason.empty());
}

TEST_F(Busy, TitleCountsFromEachShowing) {
    UseFakeClock(40000.0, 5.0 / 86400);
    Tiny();
    // Readings: the start, the first title (5 s later), the end (10 s).
    ASSERT_EQ(BusyForm->ShowModal(), mrOk);
    EXPECT_EQ(BusyForm->windowTitle(), "Kelvor - Calculation 0:00:05");
    EXPECT_NEAR(Calc->CalcTime * 86400, 10.0, 1e-6);
    // The next showing starts counting afresh.
    ASSERT_EQ(BusyForm->ShowModal(), mrOk);
    EXPECT_EQ(BusyForm->windowTitle(), "Kelvor - Calculation 0:00:05");
    EXPECT_NEAR(Calc->CalcTime * 86400, 10.0, 1e-6);
}

// A screen reader hears the elapsed time: every title the dialog shows is announced as a change
// of its name, with the title that a screen reader then reads.
TEST_F(Busy, EveryTitleIsAnnouncedToScreenReaders) {
    std::vector<QString> Announced;
    SetAccessibilityMonitor([&](QAccessibleEvent& Event) {
        if (Event.type() == QAccessible::NameChanged && Event.object() == BusyForm)
            Announced.push_back(Event.accessibleInterface()->text(QAccessible::Name));
    });
    UseFakeClock(40000.0, 65.0 / 86400);
    Tiny();
    ASSERT_EQ(BusyForm->ShowModal(), mrOk);
    SetAccessibilityMonitor(nullptr);
    EXPECT_EQ(Announced, std::vector<QString>{"Kelvor - Calculation 0:01:05"});
}

TEST_F(Busy, TitleCountsHoursPastADay) {
    UseFakeClock(40000.0, 1 + 3787.0 / 86400);
    Tiny();
    ASSERT_EQ(BusyForm->ShowModal(), mrOk);
    EXPECT_EQ(BusyForm->windowTitle(), "Kelvor - Calculation 25:03:07");
}

TEST_F(Busy, ClockSetBackGivesAnEmptyTime) {
    UseFakeClock(40000.0, -1.0 / 86400);
    Tiny();
    ASSERT_EQ(BusyForm->ShowModal(), mrOk);
    EXPECT_EQ(BusyForm->windowTitle(), "Kelvor - Calculation ");
    EXPECT_LT(Calc->CalcTime, 0.0);
}

// The timer ticks while the worker runs, each tick writing the time since the showing into the
// title. The worker is held meanwhile; the fake clock moves on a second per reading, and the
// timer's interval is cut to a millisecond so that the ticks come at once.
TEST_F(Busy, TimerRewritesTheTitleWhileTheWorkerRuns) {
    EXPECT_EQ(BusyForm->BusyTimer.Interval(), 1000);
    Random(500, 500, 9999, 10);
    UseFakeClock(40000.0, 1.0 / 86400);
    BusyForm->BusyTimer.SetInterval(1);
    TCheckpointHold Hold(1);
    bool Ticked = false;
    const int Result = ShowWhile([&] {
        EXPECT_TRUE(Hold.ActWhileHeld([&] {
            // Readings: the start, the title of the showing (0:00:01), then one per tick.
            Ticked = QTest::qWaitFor(
                [] { return BusyForm->windowTitle() == "Kelvor - Calculation 0:00:03"; }, 60000);
            BusyForm->CancelButtonClick();
        }));
    });
    EXPECT_TRUE(Ticked);
    EXPECT_EQ(Result, mrAbort);
    EXPECT_FALSE(BusyForm->BusyTimer.Enabled());
    // The end is a reading after the three of the titles.
    EXPECT_GE(Calc->CalcTime * 86400, 4.0 - 1e-6);
}

TEST_F(Busy, LayoutOfTheDialog) {
    EXPECT_EQ(BusyForm->CancelButton->text(), "Abort");
    EXPECT_FALSE(BusyForm->CancelButton->isDefault());
}

} // namespace
