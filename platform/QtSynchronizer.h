// Connects the thread facility to Qt's event loop.
#pragma once

// Makes threads' completion notifications run on the thread of the QApplication, while the
// thread that sends one waits. A notification sent from that thread itself runs at once.
void InstallQtSynchronizer();
