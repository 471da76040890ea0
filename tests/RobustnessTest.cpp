// The windows under abuse, offscreen: megabytes pasted into every edit and grid cell, every key
// of the keyboard typed into the main window's entries, a hundred calculations in a row with
// the windows reused, Abort and the close box pressed at random moments of a 500 x 500 run.
// Nothing may crash, no results may be shown for a run that did not end with an optimal plan,
// and the main window must always come back.
#include "AboutUnit.h"
#include "AnswerUnit.h"
#include "BusyUnit.h"
#include "CalcUnit.h"
#include "FirstUnit.h"
#include "InputABCUnit.h"
#include "ProgramRoads.h"
#include "ProgramTestSupport.h"
#include "RandomGen.h"
#include "RandomUnit.h"
#include "TextUnit.h"
#include "ThreadTestSupport.h"
#include "ThreadUnit.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int Megabyte = 1 << 20;

// An entry of the main window holds a size the OK button can use.
bool ValidSize(const QString& Text) {
    std::int32_t Value = 0;
    return Text.length() <= 5 && TextToInt(Text.toStdString(), Value) && Value >= 1 &&
           Value <= MaxSize;
}

int SizeOf(const TEdit* Edit) {
    std::int32_t Value = 0;
    TextToInt(Edit->text().toStdString(), Value);
    return Value;
}

class Robustness : public TProgramWindows {
protected:
    void SetUp() override {
        TProgramWindows::SetUp();
        FirstForm->InputMEdit->setText("1");
        FirstForm->InputNEdit->setText("1");
    }
    void TearDown() override {
        TProgramWindows::TearDown();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }

    // After every road: the main window is back, nothing modal is left open, no worker runs.
    static void ExpectBackHome() {
        EXPECT_TRUE(FirstForm->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_TRUE(TUiThread::WaitForThreads());
        EXPECT_TRUE(ValidSize(FirstForm->InputMEdit->text()));
        EXPECT_TRUE(ValidSize(FirstForm->InputNEdit->text()));
    }

    static void SetClipboard(const QString& Text) {
        QApplication::clipboard()->setText(Text);
        ASSERT_EQ(QApplication::clipboard()->text().size(), Text.size());
    }

    // Pastes the clipboard with Ctrl+V, over the selection or at the caret.
    static void Paste(QLineEdit* Edit) { QTest::keyClick(Edit, Qt::Key_V, Qt::ControlModifier); }

    TModalDriver Driver;
};

// A megabyte of each kind: digits, zeros, letters, blanks, and printable junk with line
// breaks and tabs.
struct TMegabytes {
    QString Sevens = QString(Megabyte, '7');
    QString Zeros = QString(Megabyte, '0');
    QString Letters = QString(Megabyte, 'a');
    QString Blanks = QString(Megabyte, ' ');
    QString Junk;
    TMegabytes() {
        std::mt19937 Rng(5);
        std::uniform_int_distribution<int> Char(0x20, 0x7e), Kind(0, 40);
        Junk.reserve(Megabyte);
        Junk.append('q');
        while (Junk.size() < Megabyte) {
            const int K = Kind(Rng);
            Junk.append(K == 0 ? QChar('\n') : K == 1 ? QChar('\t') : QChar(Char(Rng)));
        }
    }
};

TEST_F(Robustness, MegabytesPastedIntoEveryEditAndGridCell) {
    const TMegabytes Text;
    TEdit* M = FirstForm->InputMEdit;
    TEdit* N = FirstForm->InputNEdit;

    // Every kind into both entries, over the whole text, at the start, at the end, by Ctrl+V,
    // Shift+Insert and a program's insert.
    for (TEdit* Edit : {M, N}) {
        for (const QString* Kind :
             {&Text.Sevens, &Text.Zeros, &Text.Letters, &Text.Blanks, &Text.Junk}) {
            SetClipboard(*Kind);
            for (int Where = 0; Where < 3; ++Where)
                for (int How = 0; How < 3; ++How) {
                    Edit->setText("37");
                    if (Where == 0)
                        Edit->selectAll();
                    else
                        Edit->setCursorPosition(Where == 1 ? 0 : 2);
                    if (How == 0)
                        Paste(Edit);
                    else if (How == 1)
                        QTest::keyClick(Edit, Qt::Key_Insert, Qt::ShiftModifier);
                    else
                        Edit->insert(*Kind);
                    const QString Now = Edit->text();
                    EXPECT_TRUE(ValidSize(Now))
                        << Now.left(20).toStdString() << " where " << Where << " how " << How;
                    EXPECT_EQ(Edit == M ? FirstForm->LastMText : FirstForm->LastNText, Now);
                }
        }
    }
    // Cut to the five characters the entry takes: sevens clamp, leading zeros read.
    SetClipboard(Text.Sevens);
    M->setText("3");
    M->selectAll();
    Paste(M);
    EXPECT_EQ(M->text(), "500");
    SetClipboard(Text.Zeros);
    M->selectAll();
    Paste(M);
    EXPECT_EQ(M->text(), "1");
    N->setText("3");
    N->setCursorPosition(1);
    Paste(N);
    EXPECT_EQ(N->text(), "500"); // 30000
    N->setText("3");
    N->setCursorPosition(0);
    Paste(N);
    EXPECT_EQ(N->text(), "00003");

    // The road with a 1 x 3 problem: megabytes into the random-fill dialog, then into cells.
    const std::string Ffs(Megabyte, '\xff');
    std::string Nul = "5";
    Nul += '\0';
    Nul += std::string(Megabyte, '5');
    int MaxA = 0, MaxB = 0, MaxC = 0;
    std::vector<std::string> Filled;
    std::vector<double> Stored;
    TRoadEnd Road;
    const testing::AssertionResult Walked = Driver.Walk(
        [&](QWidget* Window, int Count) {
            if (Window == InputABCForm && Count == 1) {
                EXPECT_EQ(Calc->M, 1);
                EXPECT_EQ(Calc->N, 3);
                Click(InputABCForm->RandomButton);
            } else if (Window == RandomForm) {
                SetClipboard(Text.Sevens);
                RandomForm->ARangeEdit->selectAll();
                Paste(RandomForm->ARangeEdit);
                SetClipboard(Text.Junk);
                RandomForm->BRangeEdit->setCursorPosition(1);
                Paste(RandomForm->BRangeEdit);
                RandomForm->CRangeEdit->setText("9");
                RandomForm->CRangeEdit->setCursorPosition(0);
                RandomForm->CRangeEdit->insert(Text.Zeros);
                for (TEdit* Edit :
                     {RandomForm->ARangeEdit, RandomForm->BRangeEdit, RandomForm->CRangeEdit})
                    EXPECT_LE(Edit->text().size(), Edit->maxLength());
                MaxA = RandomForm->MaxA();
                MaxB = RandomForm->MaxB();
                MaxC = RandomForm->MaxC();
                Click(RandomForm->OkButton);
            } else if (Window == InputABCForm && Count == 2) {
                TStringGrid* A = InputABCForm->InputA;
                TStringGrid* B = InputABCForm->InputB;
                TStringGrid* C = InputABCForm->InputC;
                Filled = {A->Cells(0, 1), B->Cells(0, 1), B->Cells(1, 1), B->Cells(2, 1),
                          C->Cells(1, 1), C->Cells(2, 1), C->Cells(3, 1)};
                // Through the cell editors, as typed: sevens over the stock (too large for
                // a number), zeros in front of a demand of 3, junk over a cost.
                A->setFocus();
                ASSERT_NE(A->Editor(), nullptr);
                SetClipboard(Text.Sevens);
                Paste(A->Editor());
                B->SetCells(0, 1, "3");
                B->SetCurrentCell(0, 1);
                B->Editor()->setCursorPosition(0);
                B->Editor()->insert(Text.Zeros);
                C->SetCurrentCell(1, 1);
                SetClipboard(Text.Junk);
                Paste(C->Editor());
                EXPECT_FALSE(A->Cells(0, 1).empty());
                EXPECT_EQ(C->Cells(1, 1), C->Editor()->text().toStdString());
                // Set as a program would, a megabyte each, onto the current cell too.
                B->SetCells(1, 1, std::string(Megabyte, ' ') + "12");
                B->SetCells(2, 1, "1." + std::string(Megabyte, '0'));
                C->SetCells(1, 1, std::string(Megabyte, 'x'));
                C->SetCells(2, 1, Ffs);
                C->SetCells(3, 1, Nul);
                EXPECT_EQ(C->Cells(1, 1).size(), std::size_t(Megabyte));
                Click(InputABCForm->OkButton);
                Stored = {Calc->GetA(1),    Calc->GetB(1),    Calc->GetB(2),   Calc->GetB(3),
                          Calc->GetC(1, 1), Calc->GetC(1, 2), Calc->GetC(1, 3)};
            } else if (Window != BusyForm) {
                EndRoad(Road, Window);
            }
        },
        [] { Click(FirstForm->OkButton); });
    EXPECT_TRUE(Walked);

    // A bad maximum becomes 5; thirty thousand zeros in front of a 9 read as 9.
    EXPECT_EQ(MaxA, DefaultRange);
    EXPECT_EQ(MaxB, DefaultRange);
    EXPECT_EQ(MaxC, 9);
    ASSERT_EQ(Filled.size(), 7u);
    for (std::size_t K = 0; K < Filled.size(); ++K) {
        std::int32_t Value = 0;
        ASSERT_TRUE(TextToInt(Filled[K], Value)) << Filled[K];
        EXPECT_GE(Value, 1);
        EXPECT_LE(Value, K < 4 ? 5 : 9);
    }
    // Unreadable cells store 0; blanks or zeros in front of a number and zeros after its
    // point do not change it.
    EXPECT_EQ(Stored, (std::vector<double>{0, 3, 12, 1, 0, 0, 0}));
    // Stock 0 against demand 16: a dummy supplier ships it all, at no cost.
    EXPECT_EQ(Road.Ends, QStringList{"results"});
    EXPECT_EQ(Road.Fault, "");
    ExpectBackHome();
    EXPECT_EQ(M->text(), "1");
    EXPECT_EQ(N->text(), "00003");
}

// A key press for the keyboard test: a key code, the text its event carries (as an X11
// keyboard gives it: the character, a control character with Ctrl) and the modifiers.
struct TKey {
    int Code;
    QString Text;
    Qt::KeyboardModifiers Mods;
};

std::vector<TKey> EveryKey() {
    // Keys without a character, and the few whose character is a control one.
    const std::vector<std::pair<int, const char*>> Special = {
        {Qt::Key_Escape, "\x1b"},  {Qt::Key_Tab, "\t"},      {Qt::Key_Backtab, ""},
        {Qt::Key_Backspace, "\b"}, {Qt::Key_Return, "\r"},   {Qt::Key_Enter, "\r"},
        {Qt::Key_Insert, ""},      {Qt::Key_Delete, "\x7f"}, {Qt::Key_Pause, ""},
        {Qt::Key_Print, ""},       {Qt::Key_SysReq, ""},     {Qt::Key_Clear, ""},
        {Qt::Key_Home, ""},        {Qt::Key_End, ""},        {Qt::Key_Left, ""},
        {Qt::Key_Up, ""},          {Qt::Key_Right, ""},      {Qt::Key_Down, ""},
        {Qt::Key_PageUp, ""},      {Qt::Key_PageDown, ""},   {Qt::Key_Shift, ""},
        {Qt::Key_Control, ""},     {Qt::Key_Meta, ""},       {Qt::Key_Alt, ""},
        {Qt::Key_AltGr, ""},       {Qt::Key_CapsLock, ""},   {Qt::Key_NumLock, ""},
        {Qt::Key_ScrollLock, ""},  {Qt::Key_Menu, ""},       {Qt::Key_Help, ""},
        {Qt::Key_Back, ""},        {Qt::Key_Forward, ""},    {Qt::Key_Copy, ""},
        {Qt::Key_Cut, ""},         {Qt::Key_Paste, ""},      {Qt::Key_Undo, ""},
        {Qt::Key_Redo, ""},        {Qt::Key_Find, ""},       {Qt::Key_Cancel, ""},
        {Qt::Key_Select, ""},      {Qt::Key_Execute, ""},    {Qt::Key_Sleep, ""},
        {Qt::Key_VolumeDown, ""},  {Qt::Key_Refresh, ""},    {Qt::Key_unknown, ""}};
    std::vector<TKey> Keys;
    for (Qt::KeyboardModifiers Mods :
         {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier),
          Qt::KeyboardModifiers(Qt::ControlModifier), Qt::KeyboardModifiers(Qt::AltModifier)}) {
        const bool Control = Mods == Qt::ControlModifier;
        // Every printable character; a letter both as its key code's capital and lower-case.
        for (int Char = Qt::Key_Space; Char <= Qt::Key_AsciiTilde; ++Char) {
            const bool Lower = Char >= 'a' && Char <= 'z';
            const int Code = Lower ? Char - 'a' + 'A' : Char;
            const bool Letter = Code >= 'A' && Code <= 'Z';
            const QChar Text = Control && Letter ? QChar(char16_t(Code - 'A' + 1)) : QChar(Char);
            Keys.push_back({Code, QString(Text), Mods});
        }
        for (const auto& [Code, Text] : Special)
            Keys.push_back({Code, QString::fromLatin1(Text), Mods});
        for (int F = Qt::Key_F1; F <= Qt::Key_F35; ++F)
            Keys.push_back({F, QString(), Mods});
    }
    return Keys;
}

// The main window's accelerators that open or close a window: Alt+O (OK), Alt+A (About) and
// Alt+X (Exit). Alt+S and Alt+C only move the focus.
char Accelerator(const TKey& Key) {
    if (Key.Mods != Qt::AltModifier)
        return 0;
    return Key.Code == 'O' || Key.Code == 'A' || Key.Code == 'X' ? char(Key.Code) : 0;
}

TEST_F(Robustness, EveryKeyKeepsTheEntriesValid) {
    const std::vector<TKey> Keys = EveryKey();
    TEdit* M = FirstForm->InputMEdit;
    TEdit* N = FirstForm->InputNEdit;
    SetClipboard("123456");
    struct TState {
        QString Text;
        int Start, Length;
    };
    const std::vector<TState> States = {{"1", 1, 0}, {"250", 1, 0}, {"500", 0, 3}, {" x1F", 0, 0}};
    int Exits = 0;
    std::vector<std::pair<int, int>> EntrySizes, StoreSizes;

    // The accelerators are typed too: each opens its window after the button's click
    // animation, and that window is closed at once (Cancel in the data entry, OK in the about
    // box); Exit hides the main window, which is shown again.
    const auto Visit = [&](QWidget* Window, int) {
        if (Window == InputABCForm) {
            EntrySizes.push_back({SizeOf(M), SizeOf(N)});
            StoreSizes.push_back({Calc->M, Calc->N});
        }
        Dismiss(Window);
    };
    const auto Press = [&](TEdit* Edit, const TKey& Key) {
        const QStringList LogBefore = Driver.Log;
        const QString Other = (Edit == M ? N : M)->text();
        // The offscreen platform gives the activation back to no window when one closes;
        // shortcuts need their window active.
        if (!FirstForm->isActiveWindow()) {
            ASSERT_TRUE(ShowMain());
        }
        Edit->setFocus();
        QTest::sendKeyEvent(QTest::Click, Edit, Qt::Key(Key.Code), Key.Text, Key.Mods);
        const char Accel = Accelerator(Key);
        if (Accel == 'X') {
            EXPECT_TRUE(WaitFor([] { return !FirstForm->isVisible(); }));
            ++Exits;
            EXPECT_TRUE(ShowMain());
        } else if (Accel) {
            QWidget* Expected = Accel == 'O' ? static_cast<QWidget*>(InputABCForm) : AboutBox;
            EXPECT_TRUE(WaitFor([&] {
                return Driver.Log.size() == LogBefore.size() + 1 && FirstForm->isVisible() &&
                       !QApplication::activeModalWidget();
            })) << Accel;
            EXPECT_EQ(Driver.Log.value(LogBefore.size()), Expected->windowTitle());
        } else {
            EXPECT_EQ(Driver.Log, LogBefore) << Key.Code << " " << int(Key.Mods);
        }
        const QString Text = Edit->text();
        EXPECT_TRUE(ValidSize(Text))
            << Text.toStdString() << " after key " << Key.Code << " mods " << int(Key.Mods);
        EXPECT_EQ(FirstForm->LastMText, M->text());
        EXPECT_EQ(FirstForm->LastNText, N->text());
        EXPECT_EQ((Edit == M ? N : M)->text(), Other);
        EXPECT_TRUE(FirstForm->isVisible());
    };

    ASSERT_TRUE(Driver.Walk(Visit, [&] {
        for (TEdit* Edit : {M, N})
            for (const TState& State : States)
                for (const TKey& Key : Keys) {
                    (Edit == M ? N : M)->setText("2");
                    Edit->setText(State.Text);
                    Edit->SelectRange(State.Start, State.Length);
                    Press(Edit, Key);
                    if (::testing::Test::HasFailure())
                        return;
                }
        // Then long runs of random keys without starting over, the edits taking turns.
        std::mt19937 Rng(11);
        std::uniform_int_distribution<std::size_t> Pick(0, Keys.size() - 1);
        for (int K = 0; K < 3000 && !::testing::Test::HasFailure(); ++K)
            Press(K / 50 % 2 ? N : M, Keys[Pick(Rng)]);
    }));
    // The data entry opened with the sizes the entries held.
    EXPECT_EQ(StoreSizes, EntrySizes);
    EXPECT_GT(Exits, 0);
    EXPECT_FALSE(EntrySizes.empty());
    ExpectBackHome();
}

TEST_F(Robustness, AHundredCalculationsInARow) {
    std::mt19937 Rng(100);
    std::map<QString, int> Outcomes;
    for (int K = 0; K < 100; ++K) {
        const TMixedRun R = MixedRun(K, Rng);
        SCOPED_TRACE("run " + std::to_string(K));
        // A run to abort waits after its first pivot until Abort has been clicked, so the click
        // always comes while it runs, however loaded the machine.
        std::optional<TCheckpointHold> Hold;
        if (R.Kind == TMixedRun::Aborted)
            Hold.emplace(1);
        const TRoadEnd Road = WalkMixedRun(Driver, R, [&] {
            if (Hold) {
                EXPECT_TRUE(Hold->ActWhileHeld([] { Click(BusyForm->CancelButton); }));
            }
        });
        EXPECT_TRUE(Road.Walked);
        ASSERT_EQ(Road.Ends.size(), 1) << Road.Ends.join(", ").toStdString();
        const QString End = Road.Ends[0];
        ++Outcomes[End.startsWith("Error: ") && R.Kind == TMixedRun::Failed ? "failed" : End];
        switch (R.Kind) {
        case TMixedRun::Optimal:
            EXPECT_EQ(End, "results");
            break;
        case TMixedRun::Failed:
            EXPECT_FALSE(BusyForm->FailReason.empty());
            EXPECT_EQ(End, "Error: " + QString::fromStdString(BusyForm->FailReason));
            break;
        case TMixedRun::Aborted:
            EXPECT_EQ(End, "Error: Calculation aborted");
            break;
        case TMixedRun::Looping:
            EXPECT_EQ(End, "Error: Looping");
            break;
        }
        // Results only for an optimal run, and then an optimal plan.
        EXPECT_EQ(End == "results", Road.BusyResult == mrOk);
        EXPECT_EQ(Road.Fault, "");
        ExpectBackHome();
        EXPECT_EQ(FirstForm->InputMEdit->text(), QString::number(R.M));
    }
    EXPECT_EQ(Outcomes["results"], 60);
    EXPECT_EQ(Outcomes["failed"], 20);
    EXPECT_EQ(Outcomes["Error: Calculation aborted"], 10);
    EXPECT_EQ(Outcomes["Error: Looping"], 10);
}

// Abort at random moments of a run. Every other run holds the worker at a random pivot while
// Abort is clicked, and must end aborted. The others click at a random time, which may come
// after the worker's last pivot: those must end aborted or Looping, never with results, and
// the dialog must stay until the worker has ended.
TEST_F(Robustness, AbortAtRandomMomentsOfABigRun) {
    QElapsedTimer Clock;
    Clock.start();
    // Untouched, the run goes to the cap; its length sets the range of the moments.
    const TBigRun Full = WalkBigRun(Driver, Clock, nullptr);
    ASSERT_TRUE(Full.Walked);
    ASSERT_EQ(Full.Ends, QStringList{"Error: Looping"});
    const double FullMs = (Full.HiddenNs - Full.ShownNs) / 1e6;

    constexpr int Runs = 16;
    std::mt19937 Rng(2024);
    std::uniform_real_distribution<double> Moment(0.0, 1.25 * FullMs);
    std::uniform_int_distribution<int> Pivot(1, MaxIterations);
    for (int K = 0; K < Runs; ++K) {
        SCOPED_TRACE("run " + std::to_string(K));
        const bool Held = K % 2 == 0;
        std::optional<TCheckpointHold> Hold;
        if (Held)
            Hold.emplace(Pivot(Rng));
        const int Delay = int(Moment(Rng));
        bool Clicked = false, OpenAfterClick = false;
        const auto ClickAbort = [&] {
            if (!BusyForm->isVisible() || !BusyForm->Running())
                return;
            Clicked = true;
            Click(BusyForm->CancelButton);
            OpenAfterClick = BusyForm->isVisible();
        };
        QTimer Abort;
        Abort.setSingleShot(true);
        QObject::connect(&Abort, &QTimer::timeout, ClickAbort);
        const TBigRun Run = WalkBigRun(Driver, Clock, [&] {
            if (!Held) {
                Abort.start(Delay);
                return;
            }
            EXPECT_TRUE(Hold->ActWhileHeld(ClickAbort));
        });
        Abort.stop();
        EXPECT_TRUE(Run.Walked);
        ASSERT_EQ(Run.Ends.size(), 1) << Run.Ends.join(", ").toStdString();
        EXPECT_FALSE(Run.RunningAtHide);
        if (Held) {
            EXPECT_TRUE(Clicked);
            EXPECT_TRUE(OpenAfterClick);
            EXPECT_EQ(Run.Ends[0], "Error: Calculation aborted");
        } else if (Clicked) {
            // The dialog waits for the worker; the worker stops after its pivot, or had made
            // its last one already.
            EXPECT_TRUE(OpenAfterClick);
            EXPECT_TRUE(Run.Ends[0] == "Error: Calculation aborted" ||
                        Run.Ends[0] == "Error: Looping")
                << Run.Ends[0].toStdString();
        } else {
            EXPECT_EQ(Run.Ends[0], "Error: Looping");
        }
        EXPECT_EQ(Run.Fault, "");
        ExpectBackHome();
    }
}

// The close box during a run asks the worker to stop, as Abort does. The first runs hold the
// worker at a pivot while the box is pressed and must end aborted; the others press it at a
// random time and must end aborted or Looping.
TEST_F(Robustness, CloseBoxDuringABigRunActsAsAbort) {
    QElapsedTimer Clock;
    Clock.start();
    std::mt19937 Rng(77);
    std::uniform_int_distribution<int> Moment(0, 60);
    std::uniform_int_distribution<int> Pivot(1, MaxIterations);
    constexpr int Runs = 4;
    for (int K = 0; K < Runs; ++K) {
        SCOPED_TRACE("run " + std::to_string(K));
        const bool Held = K < 2;
        std::optional<TCheckpointHold> Hold;
        if (Held)
            Hold.emplace(Pivot(Rng));
        bool Closed = false, OpenAfterClose = false, RunningAfterClose = false;
        const auto CloseIt = [&] {
            if (!BusyForm->isVisible() || !BusyForm->Running())
                return;
            Closed = true;
            EXPECT_FALSE(BusyForm->close());
            // Escape closes nothing either.
            QTest::keyClick(BusyForm, Qt::Key_Escape);
            OpenAfterClose = BusyForm->isVisible();
            RunningAfterClose = BusyForm->Running();
            EXPECT_FALSE(BusyForm->close()); // pressed again
        };
        QTimer Close;
        Close.setSingleShot(true);
        QObject::connect(&Close, &QTimer::timeout, CloseIt);
        const TBigRun Run = WalkBigRun(Driver, Clock, [&] {
            if (!Held) {
                Close.start(Moment(Rng));
                return;
            }
            EXPECT_TRUE(Hold->ActWhileHeld(CloseIt));
        });
        Close.stop();
        EXPECT_TRUE(Run.Walked);
        ASSERT_EQ(Run.Ends.size(), 1) << Run.Ends.join(", ").toStdString();
        // The dialog went only once the worker had ended.
        EXPECT_FALSE(Run.RunningAtHide);
        if (Held) {
            EXPECT_TRUE(Closed);
            EXPECT_EQ(Run.Ends[0], "Error: Calculation aborted");
        }
        if (Closed) {
            EXPECT_TRUE(OpenAfterClose);
            EXPECT_TRUE(RunningAfterClose);
            EXPECT_TRUE(Run.Ends[0] == "Error: Calculation aborted" ||
                        Run.Ends[0] == "Error: Looping")
                << Run.Ends[0].toStdString();
        } else {
            EXPECT_EQ(Run.Ends[0], "Error: Looping");
        }
        ExpectBackHome();
    }
}

} // namespace
