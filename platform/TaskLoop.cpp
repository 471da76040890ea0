#include "TaskLoop.h"

#include "ThreadBase.h"

void TTaskLoop::Install() {
    SetSynchronizer([this](const std::function<void()>& Task) { Send(Task); });
}

void TTaskLoop::Uninstall() {
    SetSynchronizer(nullptr);
}

void TTaskLoop::Send(const std::function<void()>& Task) {
    TItem Item{&Task, false};
    std::unique_lock<std::mutex> Guard(Lock_);
    Queue_.push_back(&Item);
    Changed_.notify_all();
    Changed_.wait(Guard, [&Item] { return Item.Ran; });
}

bool TTaskLoop::Process(const std::function<bool()>& Done, std::chrono::milliseconds Timeout) {
    const auto Deadline = std::chrono::steady_clock::now() + Timeout;
    std::unique_lock<std::mutex> Guard(Lock_);
    while (!Done()) {
        if (!Changed_.wait_until(Guard, Deadline, [this] { return !Queue_.empty(); }))
            return Done();
        TItem* Item = Queue_.front();
        Queue_.pop_front();
        Guard.unlock();
        (*Item->Task)();
        Guard.lock();
        Item->Ran = true;
        Changed_.notify_all();
    }
    return true;
}
