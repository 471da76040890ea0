// A user-interface thread for programs without a window toolkit (the console tool, the tests):
// tasks that other threads synchronize run inside Process on the thread that calls it, while
// their senders wait.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

class TTaskLoop {
public:
    // Makes this loop the program's synchronizer; Uninstall puts back the default.
    void Install();
    static void Uninstall();

    // Runs queued tasks until Done() holds after a task, or until Timeout passes. Returns Done().
    bool Process(const std::function<bool()>& Done, std::chrono::milliseconds Timeout);

    // Queues a task and waits until Process has run it.
    void Send(const std::function<void()>& Task);

private:
    struct TItem {
        const std::function<void()>* Task;
        bool Ran;
    };
    std::mutex Lock_;
    std::condition_variable Changed_;
    std::deque<TItem*> Queue_;
};
