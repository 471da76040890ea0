#include "ThreadBase.h"

#include <mutex>
#include <thread>

std::atomic<int> TThread::Live_{0};

namespace {

std::mutex SynchronizerLock;
TSynchronizer CurrentSynchronizer;

void Synchronize(const std::function<void()>& Task) {
    TSynchronizer Synchronizer;
    {
        const std::lock_guard<std::mutex> Guard(SynchronizerLock);
        Synchronizer = CurrentSynchronizer;
    }
    if (Synchronizer)
        Synchronizer(Task);
    else
        Task();
}

} // namespace

void SetSynchronizer(TSynchronizer Synchronizer) {
    const std::lock_guard<std::mutex> Guard(SynchronizerLock);
    CurrentSynchronizer = std::move(Synchronizer);
}

void TThread::Start() {
    ++Live_;
    try {
        // Detached: an object that frees itself must not own a joinable thread.
        std::thread([this] {
            Run();
            --Live_;
        }).detach();
    } catch (...) {
        --Live_;
        throw;
    }
}

void TThread::Run() {
    try {
        Execute();
    } catch (...) {
        // The body reports its own failures; whatever escapes must not stop the notification.
    }
    if (OnTerminate_) Synchronize([this] { OnTerminate_(this); });
    if (FreeOnTerminate) delete this;
}
