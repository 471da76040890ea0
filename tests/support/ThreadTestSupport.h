// Helpers for tests that run threads: a stand-in user-interface thread and a wait for every
// thread object to be gone.
#pragma once

#include "TaskLoop.h"
#include "ThreadBase.h"

#include <chrono>
#include <thread>

// Installs a task loop as the synchronizer for the test's lifetime; the test's own thread is
// the user-interface thread while it runs Process.
struct TUiThread {
    TTaskLoop Loop;
    TUiThread() { Loop.Install(); }
    ~TUiThread() {
        WaitForThreads();
        TTaskLoop::Uninstall();
    }
    template <class Pred>
    bool RunUntil(Pred Done, std::chrono::milliseconds Timeout = std::chrono::seconds(60)) {
        return Loop.Process(Done, Timeout);
    }
    static bool WaitForThreads(std::chrono::milliseconds Timeout = std::chrono::seconds(60)) {
        const auto Deadline = std::chrono::steady_clock::now() + Timeout;
        while (TThread::LiveCount() > 0) {
            if (std::chrono::steady_clock::now() > Deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
};
