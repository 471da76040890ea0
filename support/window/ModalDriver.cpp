#include "ModalDriver.h"

#include "BusyUnit.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

#include <algorithm>
#include <memory>

TShowHook::TShowHook(QWidget* Window, std::function<void(bool)> Handler, bool Spontaneous)
    : Window_(Window), Handler_(std::move(Handler)), Spontaneous_(Spontaneous) {
    Window->installEventFilter(this);
}

TShowHook::~TShowHook() {
    if (Window_)
        Window_->removeEventFilter(this);
}

bool TShowHook::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == Window_ && Event->spontaneous() == Spontaneous_ &&
        (Event->type() == QEvent::Show || Event->type() == QEvent::Hide))
        Handler_(Event->type() == QEvent::Show);
    return false;
}

QString TitleOf(QWidget* Window) {
    if (auto* Box = qobject_cast<QMessageBox*>(Window))
        return Box->windowTitle() + ": " + Box->text();
    return Window->windowTitle();
}

void Dismiss(QWidget* Window) {
    if (Window == BusyForm) {
        if (BusyForm->Running())
            BusyForm->CancelButtonClick();
    } else if (auto* Box = qobject_cast<QMessageBox*>(Window)) {
        Box->button(QMessageBox::Ok)->click();
    } else if (auto* Dialog = qobject_cast<QDialog*>(Window)) {
        Dialog->reject();
    } else if (auto* Form = dynamic_cast<TForm*>(Window)) {
        Form->SetModalResult(mrCancel);
    }
}

TModalDriver& TModalDriver::Then(QWidget* Window, std::function<void()> Act) {
    Steps_.push_back({[Window](QWidget* Top) { return Top == Window; },
                      [Act = std::move(Act)](QWidget*) { Act(); }});
    return *this;
}

TModalDriver& TModalDriver::ThenMatching(std::function<bool(QWidget*)> Matches,
                                         std::function<void(QWidget*)> Act) {
    Steps_.push_back({std::move(Matches), std::move(Act)});
    return *this;
}

TModalDriver& TModalDriver::ThenError(std::function<void(QMessageBox*)> Act) {
    return ThenMatching(
        [](QWidget* Top) { return qobject_cast<QMessageBox*>(Top) != nullptr; },
        [Act = std::move(Act)](QWidget* Box) { Act(static_cast<QMessageBox*>(Box)); });
}

TModalDriver& TModalDriver::ThenErrorText(QString& Text) {
    return ThenError([&Text](QMessageBox* Box) {
        Text = TitleOf(Box);
        Box->button(QMessageBox::Ok)->click();
    });
}

TModalDriver& TModalDriver::AtShowOf(QWidget* Window, std::function<void()> Act) {
    Shows_.push_back({Window, std::move(Act)});
    return *this;
}

TModalDriver& TModalDriver::OnEach(TVisit Visit) {
    Each_ = std::move(Visit);
    return *this;
}

testing::AssertionResult TModalDriver::Walk(const std::function<void()>& Start) {
    Unexpected.clear();
    Next_ = 0;
    Acted_.clear();
    Last_ = nullptr;
    Visits_.clear();
    Unwinding_ = false;
    std::size_t Seen = 0;
    std::vector<std::unique_ptr<TShowHook>> Hooks;
    for (const TShow& Show : Shows_)
        Hooks.push_back(std::make_unique<TShowHook>(Show.Window, [&Seen, Show](bool Shown) {
            if (!Shown)
                return;
            ++Seen;
            QMetaObject::invokeMethod(Show.Window, Show.Act, Qt::QueuedConnection);
        }));
    QTimer Poll;
    Poll.setInterval(2);
    QObject::connect(&Poll, &QTimer::timeout, [this] { Tick(); });
    Poll.start();
    Idle_.start();
    Start();
    Poll.stop();
    Hooks.clear();
    const std::size_t Ran = Next_, Steps = Steps_.size(), Shows = Shows_.size();
    Steps_.clear();
    Shows_.clear();
    Each_ = nullptr;
    if (Ran == Steps && Unexpected.isEmpty() && Seen >= Shows)
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << Ran << " of " << Steps << " steps ran, " << Seen << " of " << Shows
           << " showings seen; unexpected: " << Unexpected.join(", ").toStdString();
}

void TModalDriver::Tick() {
    std::erase_if(Acted_,
                  [](const QPointer<QWidget>& Window) { return !Window || !Window->isVisible(); });
    if (Last_ && !Last_->isVisible())
        Last_ = nullptr;
    QWidget* Top = QApplication::activeModalWidget();
    if (!Top || !Top->isVisible())
        return;
    if (Top == Last_) {
        if (Idle_.elapsed() > 60000) {
            Unexpected.append("(stuck) " + TitleOf(Top));
            Unwinding_ = true;
            Idle_.restart();
            Dismiss(Top);
        }
        return;
    }
    // A window back on top may not have the activation back yet; it is asked for first.
    if (!Top->isActiveWindow()) {
        Top->activateWindow();
        return;
    }
    Last_ = Top;
    Idle_.restart();
    Log.append(TitleOf(Top));
    const int Count = ++Visits_[Top];
    QTimer::singleShot(0, Top, [this, Top, Count] { Visit(Top, Count); });
}

void TModalDriver::Visit(QWidget* Top, int Count) {
    // Closed by what ran before the visit came round.
    if (!Top->isVisible())
        return;
    if (Unwinding_)
        return Dismiss(Top);
    if (Each_)
        return Each_(Top, Count);
    if (Next_ < Steps_.size() && Steps_[Next_].Matches(Top)) {
        Acted_.push_back(Top);
        Steps_[Next_++].Act(Top);
        return;
    }
    if (Top == BusyForm || std::count(Acted_.begin(), Acted_.end(), Top))
        return;
    Unexpected.append(TitleOf(Top));
    Unwinding_ = true;
    Dismiss(Top);
}
