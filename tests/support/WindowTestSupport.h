// Helpers for driving windows the way a user does.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <ostream>

// Texts in failure messages.
inline void PrintTo(const QString& Text, std::ostream* Out) {
    *Out << '"' << Text.toStdString() << '"';
}

// Runs Action once Window is the open, active modal window, from the event loop of its modal
// showing.
inline void WhenModal(QWidget* Window, std::function<void()> Action) {
    auto* Poll = new QTimer;
    Poll->setInterval(5);
    QObject::connect(Poll, &QTimer::timeout, [Poll, Window, Action = std::move(Action)] {
        if (QApplication::activeModalWidget() != Window || !Window->isActiveWindow())
            return;
        Poll->stop();
        Poll->deleteLater();
        Action();
    });
    Poll->start();
}

// Once a message box is the active modal window, records its title and text into Text, as
// "Error: message", and presses its OK. Text must outlive the box.
inline void WhenMessageBox(QString& Text) {
    auto* Poll = new QTimer;
    Poll->setInterval(5);
    QObject::connect(Poll, &QTimer::timeout, [Poll, &Text] {
        auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!Box || !Box->isActiveWindow())
            return;
        Poll->stop();
        Poll->deleteLater();
        Text = Box->windowTitle() + ": " + Box->text();
        Box->button(QMessageBox::Ok)->click();
    });
    Poll->start();
}

// Waits until Condition holds; the guard of a minute only ends a wait that never would.
inline bool WaitFor(const std::function<bool()>& Condition) {
    return QTest::qWaitFor(Condition, 60000);
}

// Presses Button with the mouse.
inline void Click(QWidget* Button) {
    QTest::mouseClick(Button, Qt::LeftButton);
}
