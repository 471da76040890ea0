// A thread object in the manner of a classic toolkit's thread class: a body to override, a
// termination request that the body polls, freeing itself when done, and a completion
// notification that runs on the user-interface thread while the thread waits for it.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>

class TThread;
using TNotifyEvent = std::function<void(TThread* Sender)>;

// Runs a task on the user-interface thread and returns when it has run there. The program
// installs one that queues to its event loop; tests install their own. With none installed the
// task runs on the calling thread.
using TSynchronizer = std::function<void(const std::function<void()>& Task)>;
void SetSynchronizer(TSynchronizer Synchronizer);

// A seam for tests: a body passes its checkpoints through the gate installed here, so that a
// test can hold a thread at a known point of its work, act while it is certainly still running
// and then let it go on. With no gate installed a checkpoint costs one atomic load and does
// nothing; the program installs none.
using TCheckpointGate = std::function<void(TThread& Thread)>;
void SetCheckpointGate(TCheckpointGate Gate);

class TThread {
public:
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // The termination request: set from any thread, read by the body.
    void Terminate() { Terminated_.store(true); }
    bool Terminated() const { return Terminated_.load(); }

    // Threads started and not yet completely gone (body, notification and freeing all done).
    static int LiveCount() { return Live_.load(); }
    // Waits until LiveCount is 0; false when Timeout passed first.
    static bool WaitUntilAllGone(std::chrono::milliseconds Timeout);

protected:
    // The notification is fixed here, before the thread can run, so that even a body that ends
    // at once is reported.
    explicit TThread(TNotifyEvent OnTerminate) : OnTerminate_(std::move(OnTerminate)) {}
    virtual ~TThread() = default;

    // Starts the body on a new thread. Call it last in the most derived constructor.
    void Start();
    virtual void Execute() = 0;
    // Passes the installed checkpoint gate, if any.
    void Checkpoint();

    bool FreeOnTerminate = false;

private:
    void Run();
    static void Gone();

    TNotifyEvent OnTerminate_;
    std::atomic<bool> Terminated_{false};
    static std::atomic<int> Live_;
};
