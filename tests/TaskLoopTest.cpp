#include "TaskLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(TaskLoop, SendRunsTheTaskOnTheProcessingThreadAndWaitsForIt) {
    TTaskLoop Loop;
    const auto Ui = std::this_thread::get_id();
    std::thread::id RanOn;
    std::atomic<bool> SenderBack{false};
    bool Ran = false;
    std::thread Sender([&] {
        Loop.Send([&] {
            RanOn = std::this_thread::get_id();
            Ran = true;
        });
        SenderBack = true;
    });
    EXPECT_TRUE(Loop.Process([&] { return Ran; }, std::chrono::seconds(10)));
    Sender.join();
    EXPECT_TRUE(SenderBack);
    EXPECT_EQ(RanOn, Ui);
}

TEST(TaskLoop, ProcessGivesUpAfterItsTimeout) {
    TTaskLoop Loop;
    const auto Start = std::chrono::steady_clock::now();
    EXPECT_FALSE(Loop.Process([] { return false; }, std::chrono::milliseconds(20)));
    EXPECT_GE(std::chrono::steady_clock::now() - Start, std::chrono::milliseconds(20));
}

TEST(TaskLoop, TasksFromManySendersAllRun) {
    TTaskLoop Loop;
    int Count = 0;
    std::vector<std::thread> Senders;
    for (int K = 0; K < 8; ++K)
        Senders.emplace_back([&] {
            for (int R = 0; R < 50; ++R)
                Loop.Send([&] { ++Count; });
        });
    EXPECT_TRUE(Loop.Process([&] { return Count == 400; }, std::chrono::seconds(30)));
    for (auto& T : Senders)
        T.join();
}
