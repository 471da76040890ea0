#include "QtSynchronizer.h"

#include "ThreadBase.h"

#include <QCoreApplication>
#include <QThread>

#include <condition_variable>
#include <mutex>

void InstallQtSynchronizer() {
    SetSynchronizer([](const std::function<void()>& Task) {
        QCoreApplication* App = QCoreApplication::instance();
        // A blocking queued call to one's own thread would wait for ever.
        if (!App || QThread::currentThread() == App->thread()) {
            Task();
            return;
        }
        // The hand-over is a standard mutex and condition rather than Qt's blocking
        // connection, so that the thread sanitizer sees the ordering it gives: everything the
        // sender wrote before is visible to the task, and everything the task wrote is visible
        // to the sender afterwards.
        std::mutex Lock;
        std::condition_variable Changed;
        bool Ran = false;
        // Held from before the posting until the wait releases it, so the task, which takes
        // it first, always comes after everything this thread did before.
        std::unique_lock<std::mutex> Guard(Lock);
        QMetaObject::invokeMethod(
            App,
            [&] {
                const std::lock_guard<std::mutex> TaskGuard(Lock);
                Task();
                Ran = true;
                Changed.notify_one();
            },
            Qt::QueuedConnection);
        Changed.wait(Guard, [&Ran] { return Ran; });
    });
}
