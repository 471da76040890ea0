#include "ThreadBase.h"
#include "ThreadTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

namespace {

std::atomic<int> Destroyed{0};

// Runs until asked to stop (or at once), then reports through its notification.
class TProbe final : public TThread {
public:
    TProbe(TNotifyEvent OnTerminate, bool Wait, bool Throw)
        : TThread(std::move(OnTerminate)), Wait_(Wait), Throw_(Throw) {
        FreeOnTerminate = true;
        Start();
    }
    std::thread::id RanOn;
    bool SawTermination = false;

protected:
    void Execute() override {
        RanOn = std::this_thread::get_id();
        while (Wait_ && !Terminated())
            std::this_thread::yield();
        SawTermination = Terminated();
        if (Throw_)
            throw std::runtime_error("body failed");
    }

private:
    ~TProbe() override { ++Destroyed; }
    bool Wait_, Throw_;
};

} // namespace

TEST(Thread, InstantBodyStillNotifiesOnTheUiThreadThenFreesItself) {
    TUiThread Ui;
    Destroyed = 0;
    bool Notified = false;
    std::thread::id NotifiedOn, BodyOn;
    new TProbe(
        [&](TThread* Sender) {
            Notified = true;
            NotifiedOn = std::this_thread::get_id();
            BodyOn = static_cast<TProbe*>(Sender)->RanOn;
            EXPECT_EQ(Destroyed, 0) << "freed before its notification returned";
        },
        false, false);
    ASSERT_TRUE(Ui.RunUntil([&] { return Notified; }));
    EXPECT_EQ(NotifiedOn, std::this_thread::get_id());
    EXPECT_NE(BodyOn, std::this_thread::get_id());
    ASSERT_TRUE(TUiThread::WaitForThreads());
    EXPECT_EQ(Destroyed, 1);
}

TEST(Thread, TerminationRequestFromTheUiThreadReachesTheBody) {
    TUiThread Ui;
    bool Notified = false, Saw = false;
    auto* Probe = new TProbe(
        [&](TThread* Sender) {
            Saw = static_cast<TProbe*>(Sender)->SawTermination;
            Notified = true;
        },
        true, false);
    Probe->Terminate();
    ASSERT_TRUE(Ui.RunUntil([&] { return Notified; }));
    EXPECT_TRUE(Saw);
}

TEST(Thread, BodyThatThrowsStillNotifies) {
    TUiThread Ui;
    bool Notified = false;
    new TProbe([&](TThread*) { Notified = true; }, false, true);
    EXPECT_TRUE(Ui.RunUntil([&] { return Notified; }));
}

TEST(Thread, ManyShortThreadsAllNotifyAndVanish) {
    TUiThread Ui;
    Destroyed = 0;
    int Notified = 0;
    for (int K = 0; K < 200; ++K)
        new TProbe([&](TThread*) { ++Notified; }, false, false);
    ASSERT_TRUE(Ui.RunUntil([&] { return Notified == 200; }));
    ASSERT_TRUE(TUiThread::WaitForThreads());
    EXPECT_EQ(Destroyed, 200);
}

TEST(Thread, WithoutSynchronizerTheNotificationRunsOnTheThread) {
    std::atomic<bool> Notified{false};
    std::thread::id NotifiedOn;
    new TProbe(
        [&](TThread*) {
            NotifiedOn = std::this_thread::get_id();
            Notified = true;
        },
        false, false);
    ASSERT_TRUE(TUiThread::WaitForThreads());
    EXPECT_TRUE(Notified);
    EXPECT_NE(NotifiedOn, std::this_thread::get_id());
}
