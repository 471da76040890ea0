#include "FirstUnit.h"

#include "AboutUnit.h"
#include "AnswerUnit.h"
#include "BusyUnit.h"
#include "CalcUnit.h"
#include "InputABCUnit.h"
#include "KeyRoad.h"
#include "ProblemFile.h"
#include "Problems.h"
#include "ProgramRoads.h"
#include "ProgramTestSupport.h"
#include "RandomUnit.h"
#include "TextUnit.h"
#include "ThreadTestSupport.h"
#include "WindowTestSupport.h"

#include <QAccessible>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// What a screen reader reads of a control, through Qt's accessibility interfaces.
QString Spoken(QObject* Object, QAccessible::Text Text) {
    QAccessibleInterface* Interface = QAccessible::queryAccessibleInterface(Object);
    return Interface ? Interface->text(Text) : QString("(no interface)");
}

class First : public TProgramWindows {
protected:
    void SetUp() override {
        TProgramWindows::SetUp();
        FirstForm->InputMEdit->setFocus();
        ASSERT_TRUE(WaitFor([] { return FirstForm->InputMEdit->hasFocus(); }));
    }
    void TearDown() override {
        TProgramWindows::TearDown();
        SetSizes("1", "1");
    }

    // Puts texts into the entries the way a paste over the whole text would.
    static void SetSizes(const QString& M, const QString& N) {
        FirstForm->InputMEdit->setText(M);
        FirstForm->InputNEdit->setText(N);
    }
};

using TRows = std::vector<std::vector<std::string>>;

// What the results window showed, and the store's sizes then.
struct TShown {
    QString Cost, ExtraTitle;
    bool Extra = false;
    TRows Plan, ExtraCells;
    int StoreM = 0, StoreN = 0;
};

TRows Cells(const TStringGrid* Grid) {
    TRows Rows(std::size_t(Grid->RowCount()));
    for (int Row = 0; Row < Grid->RowCount(); ++Row)
        for (int Col = 0; Col < Grid->ColCount(); ++Col)
            Rows[std::size_t(Row)].push_back(Grid->Cells(Col, Row));
    return Rows;
}

TShown ReadResults() {
    TShown Shown;
    Shown.Cost = AnswerForm->SumText->text();
    Shown.Extra = AnswerForm->AddBox->isVisible();
    Shown.ExtraTitle = AnswerForm->AddBox->title();
    Shown.Plan = Cells(AnswerForm->AnswerGrid);
    if (Shown.Extra)
        Shown.ExtraCells = Cells(AnswerForm->AddGrid);
    Shown.StoreM = Calc->M;
    Shown.StoreN = Calc->N;
    return Shown;
}

// What a screen reader walking a window finds: every shown edit, grid and button with a name,
// and none with an accelerator mark left in it.
TEST_F(First, EveryShownControlOfEveryWindowHasAnAccessibleName) {
    const std::vector<QWidget*> Windows{FirstForm,    RandomForm, BusyForm,
                                        InputABCForm, AnswerForm, AboutBox};
    std::set<QString> Names;
    for (QWidget* Window : Windows) {
        std::vector<QWidget*> Controls;
        for (QWidget* Control : Window->findChildren<QWidget*>()) {
            // The headers and the corner are read as parts of their grid, its editor not.
            bool PartOfGrid = false;
            for (QWidget* Up = Control->parentWidget(); Up != Window; Up = Up->parentWidget())
                if (auto* Grid = dynamic_cast<TStringGrid*>(Up))
                    PartOfGrid = Control != Grid->focusProxy();
            if (!PartOfGrid &&
                (qobject_cast<QLineEdit*>(Control) || qobject_cast<QAbstractButton*>(Control) ||
                 dynamic_cast<TStringGrid*>(Control)))
                Controls.push_back(Control);
        }
        EXPECT_GE(Controls.size(), 1u) << Window->windowTitle().toStdString();
        for (QWidget* Control : Controls) {
            // Hidden controls, such as the cell editor of a grid without editing, are not read.
            if (!Control->isVisibleTo(Window))
                continue;
            const QString Name = Control->accessibleName();
            EXPECT_FALSE(Name.isEmpty())
                << Window->windowTitle().toStdString() << ": " << Control->metaObject()->className()
                << " " << Control->objectName().toStdString() << " in "
                << Control->parentWidget()->metaObject()->className();
            EXPECT_FALSE(Name.contains('&')) << Name.toStdString();
            Names.insert(Name);
        }
    }
    for (const QString Expected :
         {"Number of Supplers", "Number of Consumers", "OK", "About", "Exit", "Stocks", "Demands",
          "Transport Costs", "Randomize", "Cancel", "Maximum value of Transpot Costs", "Abort",
          "Transport Plan", "Close"})
        EXPECT_TRUE(Names.count(Expected)) << Expected.toStdString();
    // The cost grid's cell editor, where the focus is while the grid has it, says the same.
    EXPECT_EQ(InputABCForm->InputC->focusProxy()->accessibleName(), "Transport Costs");
}

TEST_F(First, LimitLabelsAndInitialEntries) {
    EXPECT_EQ(FirstForm->MaxMLabel->text(), "(1 to 500)");
    EXPECT_EQ(FirstForm->MaxNLabel->text(), "(1 to 500)");
    EXPECT_EQ(FirstForm->InputMEdit->maxLength(), 5);
    EXPECT_EQ(FirstForm->InputNEdit->maxLength(), 5);
    EXPECT_EQ(FirstForm->windowTitle(), "Kelvor");
    EXPECT_EQ(FirstForm->InputMLabel->text(), "Number of &Supplers");
    EXPECT_EQ(FirstForm->InputNLabel->text(), "Number of &Consumers");
    // A screen reader reads each entry's range with it.
    EXPECT_EQ(Spoken(FirstForm->InputMEdit, QAccessible::Description), "(1 to 500)");
    EXPECT_EQ(Spoken(FirstForm->InputNEdit, QAccessible::Description), "(1 to 500)");
}

// Escape leaves the dialogs that have a button to leave them by, as that button does, and no
// other window.
struct TEscape {
    const char* Window;
    int Result;
};
class EscapeKey : public TProgramWindows, public testing::WithParamInterface<TEscape> {};

TEST_P(EscapeKey, LeavesOnlyTheDialogsThatHaveAButtonForIt) {
    const std::map<std::string, TForm*> Windows = {{"random fill", RandomForm},
                                                   {"results", AnswerForm},
                                                   {"about", AboutBox},
                                                   {"data entry", InputABCForm}};
    TForm* Window = Windows.at(GetParam().Window);
    Calc->M = Calc->N = 1;
    Calc->BalanceKind = 0;
    int Pressed = -1;
    WhenModal(Window, [&] {
        Press("Escape");
        Pressed = Window->ModalResult();
        if (Pressed == mrNone)
            Window->SetModalResult(mrCancel);
    });
    Window->ShowModal();
    EXPECT_EQ(Pressed, GetParam().Result);
}

INSTANTIATE_TEST_SUITE_P(Table, EscapeKey,
                         testing::Values(TEscape{"random fill", mrCancel},
                                         TEscape{"results", mrCancel}, TEscape{"about", mrOk},
                                         TEscape{"data entry", mrNone}));

// Every keystroke keeps an entry readable and in range. Each row starts from an entry holding
// "1" with the focus and its whole text selected, presses the keys, and ends on the text and
// selection given; an emptied or unreadable entry always gets back what it shows now.
struct TEntryKeys {
    char Entry;
    const char* Keys;
    const char* Text;
    int SelStart, SelLength;
};
class EntryKeys : public First, public testing::WithParamInterface<TEntryKeys> {};

TEST_P(EntryKeys, KeepTheEntryReadableAndInRange) {
    const TEntryKeys& Row = GetParam();
    TEdit* Edit = Row.Entry == 'M' ? FirstForm->InputMEdit : FirstForm->InputNEdit;
    const QString& Last = Row.Entry == 'M' ? FirstForm->LastMText : FirstForm->LastNText;
    Edit->setText("1");
    Edit->setFocus();
    ASSERT_TRUE(WaitFor([Edit] { return Edit->hasFocus(); }));
    Edit->selectAll();
    ASSERT_TRUE(Press(Row.Keys));
    EXPECT_EQ(Edit->text(), Row.Text);
    EXPECT_EQ(Edit->SelStart(), Row.SelStart);
    EXPECT_EQ(Edit->SelLength(), Row.SelLength);
    EXPECT_EQ(Last, Edit->text());
}

INSTANTIATE_TEST_SUITE_P(
    Table, EntryKeys,
    testing::Values(
        // Emptied, an entry gets its last text back selected, so the next key replaces it.
        TEntryKeys{'M', "7", "7", 1, 0}, TEntryKeys{'M', "7 Backspace", "7", 0, 1},
        TEntryKeys{'M', "7 Backspace 4", "4", 1, 0}, TEntryKeys{'M', "4 Ctrl+A Ctrl+X", "4", 0, 1},
        // Out of range: clamped and selected; 500 itself stays as typed.
        TEntryKeys{'N', "0", "1", 0, 1}, TEntryKeys{'N', "1000", "500", 0, 3},
        TEntryKeys{'N', "1000 9", "9", 1, 0}, TEntryKeys{'N', "9 Home -", "1", 0, 1},
        TEntryKeys{'N', "501", "500", 0, 3}, TEntryKeys{'N', "500", "500", 3, 0},
        // Unreadable keystrokes are undone, the caret at the end.
        TEntryKeys{'M', "12 a", "12", 2, 0}, TEntryKeys{'M', "12 Home q", "12", 2, 0},
        TEntryKeys{'M', "12 ' '", "12", 2, 0}, TEntryKeys{'M', "12 Ctrl+A -", "12", 2, 0},
        TEntryKeys{'M', "12 Ctrl+A +", "12", 2, 0},
        TEntryKeys{'M', "12 a Ctrl+A Delete", "12", 0, 2},
        // Readable texts stay as typed: hexadecimal, leading blanks, zeros and a plus sign;
        // five characters at most.
        TEntryKeys{'M', "12 Home x", "x12", 1, 0}, TEntryKeys{'M', "12 Home x End 3", "x123", 4, 0},
        TEntryKeys{'M', "12 Home x End 3 4", "500", 0, 3},
        TEntryKeys{'M', "12 Home '  '", "  12", 2, 0},
        TEntryKeys{'N', "7 Home 00 Home +", "+007", 1, 0},
        TEntryKeys{'N', "7 Home 00 Home + End 1 2", "+0071", 5, 0},
        TEntryKeys{'N', "7 Home 00 Home + End 1 2 Backspace", "+007", 4, 0}));

TEST_F(First, OkUsesTheEntriesValuesAndCancelInTheDataEntryKeepsThem) {
    SetSizes("  12", "+007");
    int Cols = 0, Rows = 0;
    TModalDriver Road;
    Road.Then(InputABCForm, [&] {
        Cols = InputABCForm->InputC->ColCount();
        Rows = InputABCForm->InputC->RowCount();
        Click(InputABCForm->CancelButton);
    });
    EXPECT_TRUE(Road.Walk([] { Click(FirstForm->OkButton); }));
    EXPECT_EQ(Calc->M, 12);
    EXPECT_EQ(Calc->N, 7);
    EXPECT_EQ(Cols, 8);
    EXPECT_EQ(Rows, 13);
    EXPECT_TRUE(FirstForm->isVisible());
    EXPECT_EQ(FirstForm->InputMEdit->text(), "  12");
    EXPECT_EQ(FirstForm->InputNEdit->text(), "+007");
}

TEST_F(First, EnterMovesOnAndTheFocusedOkStartsTheRoad) {
    FirstForm->InputMEdit->selectAll();
    ASSERT_TRUE(Press("3 Enter"));
    EXPECT_TRUE(FirstForm->InputNEdit->hasFocus());
    EXPECT_EQ(FirstForm->InputMEdit->text(), "3");
    // Entered by the keyboard, the entry's text is selected: a digit replaces it.
    ASSERT_TRUE(Press("14 Enter"));
    EXPECT_TRUE(FirstForm->OkButton->hasFocus());
    EXPECT_EQ(FirstForm->InputNEdit->text(), "14");

    TModalDriver Road;
    Road.Then(InputABCForm, [] { Click(InputABCForm->CancelButton); });
    EXPECT_TRUE(Road.Walk([] { Press("Enter"); }));
    EXPECT_EQ(Calc->M, 3);
    EXPECT_EQ(Calc->N, 14);
}

TEST_F(First, TabOrderAndAccelerators) {
    std::vector<QWidget*> Order;
    for (int K = 0; K < 5; ++K) {
        Order.push_back(QApplication::focusWidget());
        Press("Tab");
    }
    EXPECT_EQ(Order, (std::vector<QWidget*>{FirstForm->InputMEdit, FirstForm->InputNEdit,
                                            FirstForm->OkButton, FirstForm->AboutButton,
                                            FirstForm->ExitButton}));
    Press("Alt+C");
    EXPECT_TRUE(WaitFor([] { return FirstForm->InputNEdit->hasFocus(); }));
    Press("Alt+S");
    EXPECT_TRUE(WaitFor([] { return FirstForm->InputMEdit->hasFocus(); }));

    // Alt+A opens the about dialog over the main window, which stays shown.
    bool MainShown = false, Closed = false;
    TModalDriver Road;
    Road.Then(AboutBox, [&] {
        MainShown = FirstForm->isVisible();
        Click(AboutBox->OkButton);
        Closed = true;
    });
    EXPECT_TRUE(Road.Walk([&] {
        Press("Alt+A");
        // The accelerator clicks after a short animation; the dialog then runs in here.
        EXPECT_TRUE(WaitFor([&] { return Closed && !AboutBox->isVisible(); }));
    }));
    EXPECT_TRUE(MainShown);
}

// One calculation from the main window's OK to its end: the problem typed into the data entry
// by the keyboard (or, when large, written into its cells), then the results, or an error box
// after which the refused table may be mended and solved.
struct TRoad {
    const char* Name;
    TProblem Problem; // its sizes typed into the main window
    bool Typed = true;
    bool AbortAtFirstPivot = false;
    const char* Message = nullptr; // the error box, as its title and text
    int RefusedStock = 0;          // where the mending starts, its text selected
    const char* Mend = nullptr;    // the keys that mend it
    const char* Cost = nullptr;    // the results, when the road ends with them
    TRows Plan{};
    const char* ExtraTitle = nullptr;
    TRows Extra{};
};
void PrintTo(const TRoad& Road, std::ostream* Out) {
    *Out << Road.Name;
}

struct TRoadEnd {
    QString Message;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    bool AtRefusedStock = false;
    bool Results = false;
    TShown Shown;
};

testing::AssertionResult WalkRoad(const TRoad& R, TRoadEnd& End) {
    FirstForm->InputMEdit->setText(QString::number(R.Problem.M));
    FirstForm->InputNEdit->setText(QString::number(R.Problem.N));
    std::optional<TCheckpointHold> Hold;
    TModalDriver Road;
    Road.Then(InputABCForm, [&R] {
        if (R.Typed)
            Press(TypedKeys(R.Problem));
        else
            EnterCells(R.Problem);
        Click(InputABCForm->OkButton);
    });
    if (R.AbortAtFirstPivot) {
        // The worker waits after its first pivot until Abort has been clicked.
        Hold.emplace(1);
        Road.AtShowOf(BusyForm, [&Hold] {
            EXPECT_TRUE(Hold->ActWhileHeld([] { Click(BusyForm->CancelButton); }));
        });
    }
    if (R.Message)
        Road.ThenError([&End](QMessageBox* Box) {
            End.Message = TitleOf(Box);
            End.Icon = Box->icon();
            QTest::keyClick(Box, Qt::Key_Return);
        });
    if (R.Mend)
        Road.Then(InputABCForm, [&R, &End] {
            TStringGrid* A = InputABCForm->InputA;
            const QString Refused =
                QString::fromStdString(NumberText(R.Problem.Stock(R.RefusedStock)));
            End.AtRefusedStock = WaitFor([&] {
                return A->Editor()->hasFocus() && A->Col() == R.RefusedStock - 1 &&
                       A->Editor()->selectedText() == Refused;
            });
            Press(R.Mend);
            Click(InputABCForm->OkButton);
        });
    if (R.Cost)
        Road.Then(AnswerForm, [&End] {
            End.Results = true;
            End.Shown = ReadResults();
            Click(AnswerForm->OkButton);
        });
    return Road.Walk([] { Click(FirstForm->OkButton); });
}

const TProblem& Balanced = HandWorked;
const TRows BalancedPlan{{"", "1", "2", "3"}, {"1", "", "25.0", " 5.0"}, {"2", "10.0", "", "10.0"}};

TProblem NegativeStock() {
    TProblem Negative = Balanced;
    Negative.Stock(2) = -20;
    return Negative;
}

const std::vector<TRoad>& Roads() {
    static const std::vector<TRoad> All = {
        {.Name = "Balanced", .Problem = Balanced, .Cost = "420", .Plan = BalancedPlan},
        // Stock 15, demand 20: a dummy supplier covers 5 of consumer 2's demand.
        {.Name = "MoreDemandThanStock",
         .Problem = {2, 2, {10, 5}, {8, 12}, {1, 4, 3, 2}},
         .Cost = "26",
         .Plan = {{"", "1", "2"}, {"1", " 8.0", " 2.0"}, {"2", "", " 5.0"}},
         .ExtraTitle = "Dissatisfied Demands",
         .Extra = {{"1", "2"}, {"0.0", " 5.0"}}},
        // Stock 30, demand 20: supplier 3, the dearest, keeps its 10.
        {.Name = "MoreStockThanDemand",
         .Problem = {3, 2, {10, 10, 10}, {12, 8}, {1, 5, 4, 2, 9, 9}},
         .Cost = "34",
         .Plan = {{"", "1", "2"}, {"1", "10.0", ""}, {"2", " 2.0", " 8.0"}, {"3", "", ""}},
         .ExtraTitle = "Unused Stocks",
         .Extra = {{"1", "2", "3"}, {"0.0", "0.0", "10.0"}}},
        {.Name = "OneByOne",
         .Problem = {1, 1, {4}, {4}, {2.5}},
         .Cost = "10",
         .Plan = {{"", "1"}, {"1", " 4.0"}}},
        // A problem whose calculation needs exactly the 999 pivots of the cap.
        {.Name = "Looping", .Problem = CapProblem(), .Typed = false, .Message = "Error: Looping"},
        {.Name = "Aborted",
         .Problem = RandomProblem(7, 500, 500, 9999),
         .Typed = false,
         .AbortAtFirstPivot = true,
         .Message = "Error: Calculation aborted"},
        // The table of a failed run comes back at the negative stock; only its sign is mended.
        {.Name = "NegativeStockMended",
         .Problem = NegativeStock(),
         .Message = "Error: Stocks and demands must not be negative",
         .RefusedStock = 2,
         .Mend = "20",
         .Cost = "420",
         .Plan = BalancedPlan}};
    return All;
}

const TRoad& RoadNamed(const std::string& Name) {
    for (const TRoad& R : Roads())
        if (Name == R.Name)
            return R;
    throw std::invalid_argument(Name);
}

class Road : public First, public testing::WithParamInterface<TRoad> {};

TEST_P(Road, EndsWithItsResultsOrItsMessage) {
    const TRoad& R = GetParam();
    TRoadEnd End;
    ASSERT_TRUE(WalkRoad(R, End));
    EXPECT_EQ(End.Message, R.Message ? R.Message : "");
    if (R.Message) {
        EXPECT_EQ(End.Icon, QMessageBox::Critical);
    }
    EXPECT_EQ(End.AtRefusedStock, R.Mend != nullptr);
    ASSERT_EQ(End.Results, R.Cost != nullptr);
    if (R.Cost) {
        EXPECT_EQ(End.Shown.Cost, R.Cost);
        EXPECT_EQ(End.Shown.Plan, R.Plan);
        EXPECT_EQ(End.Shown.Extra, R.ExtraTitle != nullptr);
        EXPECT_EQ(End.Shown.ExtraTitle, R.ExtraTitle ? R.ExtraTitle : End.Shown.ExtraTitle);
        EXPECT_EQ(End.Shown.ExtraCells, R.Extra);
        // The dummy is neither in the plan nor in the store's size any more.
        EXPECT_EQ(End.Shown.StoreM, R.Problem.M);
        EXPECT_EQ(End.Shown.StoreN, R.Problem.N);
        EXPECT_EQ(Calc->M, R.Problem.M);
        EXPECT_EQ(Calc->N, R.Problem.N);
    }
    // Back in the main window, its entries as they were.
    EXPECT_TRUE(FirstForm->isVisible());
    EXPECT_EQ(FirstForm->InputMEdit->text(), QString::number(R.Problem.M));
    EXPECT_EQ(FirstForm->InputNEdit->text(), QString::number(R.Problem.N));
}

INSTANTIATE_TEST_SUITE_P(Table, Road, testing::ValuesIn(Roads()),
                         [](const testing::TestParamInfo<TRoad>& Info) {
                             return std::string(Info.param.Name);
                         });

// Calculations follow one another whatever the last one ended with: the store is sized from the
// entries, not from the last run, and nothing of an earlier result shows through.
TEST_F(First, CalculationsFollowOneAnotherWhateverTheLastEndedWith) {
    TRoadEnd First, Again, Looping, Then;
    ASSERT_TRUE(WalkRoad(RoadNamed("MoreDemandThanStock"), First));
    ASSERT_TRUE(WalkRoad(RoadNamed("MoreDemandThanStock"), Again));
    EXPECT_EQ(Again.Shown.Plan, First.Shown.Plan);
    EXPECT_EQ(Again.Shown.ExtraCells, First.Shown.ExtraCells);
    EXPECT_EQ(Again.Shown.StoreM, 2);
    ASSERT_TRUE(WalkRoad(RoadNamed("Looping"), Looping));
    ASSERT_TRUE(WalkRoad(RoadNamed("Balanced"), Then));
    EXPECT_FALSE(Then.Shown.Extra);
    EXPECT_EQ(Then.Shown.Cost, "420");
    EXPECT_EQ(Then.Shown.Plan, BalancedPlan);
}

// The problem of the last OK comes back with Ctrl+L, its sizes too, whatever the calculation
// ended with: results, "Looping" or "Calculation aborted".
TEST_F(First, TheLastProblemIsOneKeyAwayAfterEveryEnd) {
    for (const char* Name : {"Balanced", "Looping", "Aborted"}) {
        const TRoad& R = RoadNamed(Name);
        TRoadEnd End;
        ASSERT_TRUE(WalkRoad(R, End));
        SetSizes("1", "1");
        TProblem Back;
        TModalDriver Again;
        Again.Then(InputABCForm, [&] {
            Press("Ctrl+L");
            EXPECT_TRUE(WaitFor([&] { return InputABCForm->RowsShown() == R.Problem.M; }));
            Back = InputABCForm->EnteredProblem();
            Click(InputABCForm->CancelButton);
        });
        EXPECT_TRUE(Again.Walk([] { Click(FirstForm->OkButton); }));
        EXPECT_EQ(Back, R.Problem) << Name;
        // The entries show the sizes the data entry came back with.
        EXPECT_EQ(FirstForm->InputMEdit->text(), QString::number(R.Problem.M)) << Name;
        EXPECT_EQ(FirstForm->InputNEdit->text(), QString::number(R.Problem.N)) << Name;
    }
}

// A problem file dropped on the main window, or named on the command line, opens the data entry
// on it with the entries set to its sizes; a refused one is named in an error box over the main
// window, and nothing opens.
TEST_F(First, AProblemFileOpensTheDataEntryOnItFromTheMainWindow) {
    QTemporaryDir Folder;
    const QString Good = Folder.filePath("good.csv"), Bad = Folder.filePath("bad.csv");
    WriteFileSafely(Good.toStdString(), ProblemTableText(Balanced));
    WriteFileSafely(Bad.toStdString(), "not a problem\n");
    TProblem Opened;
    QString Cost, Message;
    bool Done = false;
    TModalDriver Road;
    Road.Then(InputABCForm,
              [&] {
                  Opened = InputABCForm->EnteredProblem();
                  Click(InputABCForm->OkButton);
              })
        .Then(AnswerForm, [&] {
            Cost = AnswerForm->SumText->text();
            Click(AnswerForm->OkButton);
            Done = true;
        });
    EXPECT_TRUE(Road.Walk([&] {
        DropFile(FirstForm, Good);
        EXPECT_TRUE(WaitFor([&] { return Done; }));
    }));
    EXPECT_EQ(Opened, Balanced);
    EXPECT_EQ(Cost, "420");
    EXPECT_EQ(FirstForm->InputMEdit->text(), "2");
    EXPECT_EQ(FirstForm->InputNEdit->text(), "3");

    SetSizes("7", "8");
    TModalDriver Refusal;
    Refusal.ThenErrorText(Message);
    EXPECT_TRUE(Refusal.Walk([&] { FirstForm->OpenProblemFile(Bad); }));
    EXPECT_TRUE(Message.startsWith("Error: line 1, column 1: expected ")) << Message.toStdString();
    EXPECT_TRUE(FirstForm->isVisible());
    EXPECT_EQ(FirstForm->InputMEdit->text(), "7");
}

TEST_F(First, AProblemIsTypedOrFilledAndSolvedWithTheKeyboardAloneOnEveryOpening) {
    // Shown as at start-up: the suppliers' entry has the focus, its text ready to be replaced.
    FirstForm->hide();
    FirstForm->show();
    ASSERT_TRUE(WaitFor([] { return FirstForm->InputMEdit->hasFocus(); }));
    ASSERT_TRUE(Press("2 Enter 3 Enter"));
    EXPECT_TRUE(FirstForm->OkButton->hasFocus());

    QString Cost;
    QStringList Selected;
    bool AtOk = false;
    TModalDriver Road;
    Road.Then(InputABCForm,
              [&] {
                  TInputABCForm* F = InputABCForm;
                  ASSERT_TRUE(WaitFor([F] { return F->InputA->Editor()->hasFocus(); }));
                  // The first row of costs left to right, the second right to left.
                  Press("30 Right 20 Tab 10 Right 25 Right 15 Tab 8 Right 6 Right 10 Down 13 "
                        "Home Left 12 Home Left 9 Ctrl+End");
                  Selected.append(F->InputC->Editor()->selectedText());
                  Press("Ctrl+Home");
                  Selected.append(F->InputC->Editor()->selectedText());
                  Press("Tab");
                  AtOk = F->OkButton->hasFocus();
                  Press("Enter");
              })
        .Then(AnswerForm, [&] {
            Cost = Spoken(AnswerForm->SumText, QAccessible::Description);
            Press("Enter");
        });
    EXPECT_TRUE(Road.Walk([] { Press("Enter"); }));
    EXPECT_EQ(Selected, QStringList({"13", "8"}));
    EXPECT_TRUE(AtOk);
    // Read as a screen reader reads it: the problem typed is the balanced 2 x 3 one.
    EXPECT_EQ(Cost, "420");

    // Back in the main window, and on to a second opening with a random fill.
    ASSERT_TRUE(WaitFor([] { return FirstForm->InputMEdit->hasFocus(); }));
    EXPECT_EQ(FirstForm->InputMEdit->selectedText(), "2");
    QString Maximum;
    bool Filled = false, AtFirstStock = false;
    TModalDriver Second;
    Second
        .Then(InputABCForm,
              [&] {
                  TInputABCForm* F = InputABCForm;
                  // Not on the OK button pressed last time.
                  ASSERT_TRUE(WaitFor([F] { return F->InputA->Editor()->hasFocus(); }));
                  AtFirstStock = F->InputA->Col() == 0 && F->InputA->Cells(0, 1).empty();
                  Press("Ctrl+R");
                  Filled = WaitFor([F] { return !F->InputC->Cells(3, 2).empty(); });
                  ASSERT_TRUE(WaitFor([F] { return F->InputA->Editor()->hasFocus(); }));
                  Press("Tab Tab Tab Enter");
              })
        .Then(RandomForm,
              [&] {
                  ASSERT_TRUE(WaitFor([] { return RandomForm->ARangeEdit->hasFocus(); }));
                  Press("9");
                  Maximum = RandomForm->ARangeEdit->text();
                  Press("Enter");
              })
        .Then(AnswerForm, [&] {
            Cost = Spoken(AnswerForm->SumText, QAccessible::Description);
            Press("Enter");
        });
    EXPECT_TRUE(Second.Walk([] { Press("Enter Enter Enter"); }));
    EXPECT_TRUE(AtFirstStock);
    EXPECT_TRUE(Filled);
    EXPECT_EQ(Maximum, "9");
    EXPECT_EQ(Cost, AnswerForm->SumText->text());
}

TEST_F(First, ExitClosesTheMainWindow) {
    Click(FirstForm->ExitButton);
    EXPECT_TRUE(WaitFor([] { return !FirstForm->isVisible(); }));
}

} // namespace
