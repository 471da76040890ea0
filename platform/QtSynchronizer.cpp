#include "QtSynchronizer.h"

#include "ThreadBase.h"

#include <QCoreApplication>
#include <QThread>

void InstallQtSynchronizer() {
    SetSynchronizer([](const std::function<void()>& Task) {
        QCoreApplication* App = QCoreApplication::instance();
        // A blocking queued call to one's own thread would wait for ever.
        if (!App || QThread::currentThread() == App->thread()) {
            Task();
            return;
        }
        QMetaObject::invokeMethod(
            App, [&Task] { Task(); }, Qt::BlockingQueuedConnection);
    });
}
