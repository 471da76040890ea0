// Driving the program's modal windows from a test or a benchmark, the way a user does.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

class QEvent;
class QMessageBox;
class QWidget;

// Calls Handler for every showing and hiding of Window: those the program makes, or with
// Spontaneous those the window system makes (a minimised window restored, say).
class TShowHook : public QObject {
public:
    TShowHook(QWidget* Window, std::function<void(bool Shown)> Handler, bool Spontaneous = false);
    ~TShowHook() override;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    QPointer<QWidget> Window_;
    std::function<void(bool)> Handler_;
    bool Spontaneous_;
};

// A modal window's title, and a message box's text after it.
QString TitleOf(QWidget* Window);

// Closes a modal window the way its user most simply would. The progress dialog is asked to
// stop; it closes itself once the worker has ended.
void Dismiss(QWidget* Window);

// Walks a chain of modal windows. Whenever a window comes to the top of the modal stack (a new
// showing, or back on top after a window above it closed) and is active, it is visited, from an
// event of its own so that the visit may open a nested modal window:
// - with steps (Then...), the next step acts when the window is the one it waits for; the
//   progress dialog and a window acted on that is still open are passed by; any other window
//   is unexpected, and it and every window after it are dismissed until the chain unwinds;
// - with OnEach, the visitor gets every window with the number of its visits in the walk and
//   must close it (the progress dialog may be left to close itself).
// A window left on top for a minute counts as unexpected and is dismissed.
class TModalDriver {
public:
    using TVisit = std::function<void(QWidget* Window, int Count)>;

    TModalDriver& Then(QWidget* Window, std::function<void()> Act);
    // The next modal window that Matches, a dialog of Qt's own say; Act gets it and must close it.
    TModalDriver& ThenMatching(std::function<bool(QWidget*)> Matches,
                               std::function<void(QWidget*)> Act);
    // The next message box; Act gets it and must close it.
    TModalDriver& ThenError(std::function<void(QMessageBox*)> Act);
    // The next message box: records its title and text and presses its OK button.
    TModalDriver& ThenErrorText(QString& Text);
    // Act, posted as soon as Window starts showing: ahead of anything its own show handler
    // starts, however fast that ends.
    TModalDriver& AtShowOf(QWidget* Window, std::function<void()> Act);
    TModalDriver& OnEach(TVisit Visit);

    // Runs Start, which returns when the chain is over; success when every step ran, every show
    // hook fired and nothing unexpected turned up, else a failure that says what went amiss.
    // Steps and hooks are used up by the walk.
    testing::AssertionResult Walk(const std::function<void()>& Start);
    testing::AssertionResult Walk(TVisit Each, const std::function<void()>& Start) {
        OnEach(std::move(Each));
        return Walk(Start);
    }

    // The windows that turned up without a step or got stuck, by title, in the last walk.
    QStringList Unexpected;
    // Every window visited, by title, across walks.
    QStringList Log;

private:
    struct TStep {
        std::function<bool(QWidget*)> Matches;
        std::function<void(QWidget*)> Act;
    };
    struct TShow {
        QWidget* Window;
        std::function<void()> Act;
    };
    void Tick();
    void Visit(QWidget* Top, int Count);

    std::vector<TStep> Steps_;
    std::vector<TShow> Shows_;
    TVisit Each_;
    std::size_t Next_ = 0;
    // Closed windows drop out: a message box goes, and the next may take its address.
    std::vector<QPointer<QWidget>> Acted_;
    QPointer<QWidget> Last_;
    std::map<QWidget*, int> Visits_;
    bool Unwinding_ = false;
    QElapsedTimer Idle_;
};
