// Helpers for driving windows the way a user does.
#pragma once

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <ostream>

// Texts in failure messages.
inline void PrintTo(const QString& Text, std::ostream* Out) {
    *Out << '"' << Text.toStdString() << '"';
}

// Runs Action on the open, active modal window once it is one that Matches, from the event loop
// of its modal showing.
inline void WhenModal(std::function<bool(QWidget*)> Matches, std::function<void(QWidget*)> Action) {
    auto* Poll = new QTimer;
    Poll->setInterval(5);
    QObject::connect(Poll, &QTimer::timeout,
                     [Poll, Matches = std::move(Matches), Action = std::move(Action)] {
                         QWidget* Modal = QApplication::activeModalWidget();
                         if (!Modal || !Matches(Modal) || !Modal->isActiveWindow())
                             return;
                         Poll->stop();
                         Poll->deleteLater();
                         Action(Modal);
                     });
    Poll->start();
}

// Runs Action once Window is the open, active modal window.
inline void WhenModal(QWidget* Window, std::function<void()> Action) {
    WhenModal([Window](QWidget* Modal) { return Modal == Window; },
              [Action = std::move(Action)](QWidget*) { Action(); });
}

// Once a message box is the active modal window, records its title and text into Text, as
// "Error: message", and presses its OK. Text must outlive the box.
inline void WhenMessageBox(QString& Text) {
    WhenModal([](QWidget* Modal) { return qobject_cast<QMessageBox*>(Modal) != nullptr; },
              [&Text](QWidget* Modal) {
                  auto* Box = static_cast<QMessageBox*>(Modal);
                  Text = Box->windowTitle() + ": " + Box->text();
                  Box->button(QMessageBox::Ok)->click();
              });
}

// Drags one local file over Window and drops it there, as a file manager does; true when the
// window accepted the drag.
inline bool DropFile(QWidget* Window, const QString& Path) {
    QMimeData Data;
    Data.setUrls({QUrl::fromLocalFile(Path)});
    QDragEnterEvent Enter({10, 10}, Qt::CopyAction, &Data, Qt::LeftButton, {});
    QApplication::sendEvent(Window, &Enter);
    QDropEvent Drop({10, 10}, Qt::CopyAction, &Data, Qt::LeftButton, {});
    QApplication::sendEvent(Window, &Drop);
    return Enter.isAccepted();
}

// Waits until Condition holds; the guard of a minute only ends a wait that never would.
inline bool WaitFor(const std::function<bool()>& Condition) {
    return QTest::qWaitFor(Condition, 60000);
}

// Presses Button with the mouse.
inline void Click(QWidget* Button) {
    QTest::mouseClick(Button, Qt::LeftButton);
}
