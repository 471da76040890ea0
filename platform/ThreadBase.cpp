#include "ThreadBase.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

std::atomic<int> TThread::Live_{0};

namespace {

std::mutex SynchronizerLock;
TSynchronizer CurrentSynchronizer;

std::mutex LiveLock;
std::condition_variable AllGone;

std::mutex GateLock;
std::shared_ptr<const TCheckpointGate> CurrentGate;
std::atomic<bool> GateInstalled{false};

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

void SetCheckpointGate(TCheckpointGate Gate) {
    const std::lock_guard<std::mutex> Guard(GateLock);
    CurrentGate = Gate ? std::make_shared<const TCheckpointGate>(std::move(Gate)) : nullptr;
    GateInstalled.store(CurrentGate != nullptr);
}

void TThread::Checkpoint() {
    if (!GateInstalled.load())
        return;
    // A copy, so that the gate may be replaced or removed while a thread waits in it.
    std::shared_ptr<const TCheckpointGate> Gate;
    {
        const std::lock_guard<std::mutex> Guard(GateLock);
        Gate = CurrentGate;
    }
    if (Gate)
        (*Gate)(*this);
}

void TThread::Start() {
    ++Live_;
    try {
        // Detached: an object that frees itself must not own a joinable thread.
        std::thread([this] {
            Run();
            Gone();
        }).detach();
    } catch (...) {
        Gone();
        throw;
    }
}

void TThread::Gone() {
    const std::lock_guard<std::mutex> Guard(LiveLock);
    if (--Live_ == 0)
        AllGone.notify_all();
}

bool TThread::WaitUntilAllGone(std::chrono::milliseconds Timeout) {
    std::unique_lock<std::mutex> Guard(LiveLock);
    return AllGone.wait_for(Guard, Timeout, [] { return Live_.load() == 0; });
}

void TThread::Run() {
    try {
        Execute();
    } catch (...) {
        // The body reports its own failures; whatever escapes must not stop the notification.
    }
    if (OnTerminate_)
        Synchronize([this] { OnTerminate_(this); });
    if (FreeOnTerminate)
        delete this;
}
