// Helpers for tests that run threads: a stand-in user-interface thread, a wait for every thread
// object to be gone, and a hold that stops a thread at a checkpoint until the test lets it go.
#pragma once

#include "TaskLoop.h"
#include "ThreadBase.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

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
    bool RunUntil(Pred Done, std::chrono::milliseconds Timeout = std::chrono::minutes(5)) {
        return Loop.Process(Done, Timeout);
    }
    static bool WaitForThreads(std::chrono::milliseconds Timeout = std::chrono::minutes(5)) {
        return TThread::WaitUntilAllGone(Timeout);
    }
};

// Holds the thread that passes the At-th checkpoint (counted from 1 while the hold is installed)
// until Release, so that a test acts while the worker is certainly still running, whatever the
// machine's load. Other checkpoints pass freely. Installed for the hold's lifetime; the
// destructor lets a held thread go.
class TCheckpointHold {
public:
    explicit TCheckpointHold(int At = 1) : State_(std::make_shared<TState>()) {
        State_->At = At;
        SetCheckpointGate([State = State_](TThread&) {
            std::unique_lock<std::mutex> Guard(State->Lock);
            if (++State->Passed != State->At)
                return;
            State->Held = true;
            State->Changed.notify_all();
            State->Changed.wait(Guard, [&] { return State->Released; });
        });
    }
    ~TCheckpointHold() {
        SetCheckpointGate(nullptr);
        Release();
    }
    TCheckpointHold(const TCheckpointHold&) = delete;
    TCheckpointHold& operator=(const TCheckpointHold&) = delete;

    // Waits until a thread is held; false only if none came within the guard time, which a
    // working worker never needs (the guard keeps a broken one from hanging the test).
    bool WaitUntilHeld(std::chrono::milliseconds Guard = std::chrono::minutes(5)) {
        std::unique_lock<std::mutex> Lock(State_->Lock);
        return State_->Changed.wait_for(Lock, Guard, [this] { return State_->Held; });
    }
    // Waits until a thread is held, runs Act and lets the thread go on; false when none came.
    bool ActWhileHeld(const std::function<void()>& Act) {
        const bool Held = WaitUntilHeld();
        if (Held)
            Act();
        Release();
        return Held;
    }
    void Release() {
        const std::lock_guard<std::mutex> Lock(State_->Lock);
        State_->Released = true;
        State_->Changed.notify_all();
    }
    // Checkpoints passed so far.
    int Passed() {
        const std::lock_guard<std::mutex> Lock(State_->Lock);
        return State_->Passed;
    }

private:
    struct TState {
        std::mutex Lock;
        std::condition_variable Changed;
        int At = 1, Passed = 0;
        bool Held = false, Released = false;
    };
    std::shared_ptr<TState> State_;
};
