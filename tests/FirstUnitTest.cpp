#include "FirstUnit.h"

#include "AboutUnit.h"
#include "AnswerUnit.h"
#include "BusyUnit.h"
#include "CalcUnit.h"
#include "InputABCUnit.h"
#include "KeyRoad.h"
#include "Problems.h"
#include "ProgramRoads.h"
#include "ProgramTestSupport.h"
#include "QtSynchronizer.h"
#include "RandomUnit.h"
#include "ThreadTestSupport.h"
#include "WindowTestSupport.h"

#include <QAccessible>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

// Texts in failure messages.
inline void PrintTo(const QString& Text, std::ostream* Out) {
    *Out << '"' << Text.toStdString() << '"';
}

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

    // Types into an entry after selecting its whole text, as a user replacing it does.
    static void Retype(TEdit* Edit, const QString& Keys) {
        Edit->setFocus();
        Edit->selectAll();
        QTest::keyClicks(Edit, Keys);
    }

    static void ExpectEntry(TEdit* Edit, const QString& Text, int SelStart, int SelLength) {
        EXPECT_EQ(Edit->text(), Text);
        EXPECT_EQ(Edit->SelStart(), SelStart) << Text.toStdString();
        EXPECT_EQ(Edit->SelLength(), SelLength) << Text.toStdString();
    }

    // The data-entry window's cells for the problem, then its OK.
    static void EnterAndConfirm(const TProblem& P) {
        EnterCells(P);
        Click(InputABCForm->OkButton);
    }

    // What the results window showed.
    struct TShown {
        QString Time, Cost, ExtraTitle;
        bool Extra = false;
        std::vector<std::vector<std::string>> Plan, ExtraCells;
        int StoreM = 0, StoreN = 0;
    };
    static void ReadResults(TShown& Shown) {
        Shown.Time = AnswerForm->TimeText->text();
        Shown.Cost = AnswerForm->SumText->text();
        Shown.Extra = AnswerForm->AddBox->isVisible();
        Shown.ExtraTitle = AnswerForm->AddBox->title();
        const TStringGrid* G = AnswerForm->AnswerGrid;
        Shown.Plan.assign(std::size_t(G->RowCount()), {});
        for (int Row = 0; Row < G->RowCount(); ++Row)
            for (int Col = 0; Col < G->ColCount(); ++Col)
                Shown.Plan[std::size_t(Row)].push_back(G->Cells(Col, Row));
        Shown.ExtraCells.clear();
        if (Shown.Extra) {
            const TStringGrid* X = AnswerForm->AddGrid;
            Shown.ExtraCells.assign(2, {});
            for (int Row = 0; Row < 2; ++Row)
                for (int Col = 0; Col < X->ColCount(); ++Col)
                    Shown.ExtraCells[std::size_t(Row)].push_back(X->Cells(Col, Row));
        }
        Shown.StoreM = Calc->M;
        Shown.StoreN = Calc->N;
    }

    // The whole road for a problem that ends with a plan: OK, data entry, progress, results.
    static bool Solve(const QString& M, const QString& N, const TProblem& P, TShown& Shown) {
        SetSizes(M, N);
        TModalDriver Road;
        Road.Then(InputABCForm, [&P] { EnterAndConfirm(P); }).Then(AnswerForm, [&Shown] {
            ReadResults(Shown);
            Click(AnswerForm->OkButton);
        });
        return Road.Walk([] { Click(FirstForm->OkButton); });
    }

    static TProblem Balanced() { return {2, 3, {30, 20}, {10, 25, 15}, {8, 6, 10, 9, 12, 13}}; }
    // Stock 15, demand 20: a dummy supplier covers 5 of consumer 2's demand.
    static TProblem MoreDemand() { return {2, 2, {10, 5}, {8, 12}, {1, 4, 3, 2}}; }
    // Stock 30, demand 20: supplier 3, the dearest, keeps its 10.
    static TProblem MoreStock() { return {3, 2, {10, 10, 10}, {12, 8}, {1, 5, 4, 2, 9, 9}}; }
};

using TRows = std::vector<std::vector<std::string>>;

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

TEST_F(First, EmptiedEntryGetsItsLastTextBackSelected) {
    TEdit* Edit = FirstForm->InputMEdit;
    Retype(Edit, "7");
    ExpectEntry(Edit, "7", 1, 0);
    QTest::keyClick(Edit, Qt::Key_Backspace);
    ExpectEntry(Edit, "7", 0, 1);
    // Selected whole, so the next key replaces it.
    QTest::keyClick(Edit, '4');
    ExpectEntry(Edit, "4", 1, 0);
    // Cutting the whole text does the same.
    Edit->selectAll();
    QTest::keyClick(Edit, Qt::Key_X, Qt::ControlModifier);
    ExpectEntry(Edit, "4", 0, 1);
    EXPECT_EQ(FirstForm->LastMText, "4");
}

TEST_F(First, OutOfRangeValuesAreClampedAndSelected) {
    TEdit* Edit = FirstForm->InputNEdit;
    Retype(Edit, "0");
    ExpectEntry(Edit, "1", 0, 1);
    Retype(Edit, "1000");
    ExpectEntry(Edit, "500", 0, 3);
    QTest::keyClick(Edit, '9');
    ExpectEntry(Edit, "9", 1, 0);
    // A minus typed before a number makes it negative.
    QTest::keyClick(Edit, Qt::Key_Home);
    QTest::keyClick(Edit, '-');
    ExpectEntry(Edit, "1", 0, 1);
    EXPECT_EQ(FirstForm->LastNText, "1");
    Retype(Edit, "501");
    ExpectEntry(Edit, "500", 0, 3);
    EXPECT_EQ(FirstForm->LastNText, "500");
    // 500 itself is in range and stays unselected.
    Retype(Edit, "500");
    ExpectEntry(Edit, "500", 3, 0);
}

TEST_F(First, UnreadableKeystrokesAreUndoneWithTheCaretAtTheEnd) {
    TEdit* Edit = FirstForm->InputMEdit;
    Retype(Edit, "12");
    QTest::keyClick(Edit, 'a');
    ExpectEntry(Edit, "12", 2, 0);
    QTest::keyClick(Edit, Qt::Key_Home);
    QTest::keyClick(Edit, 'q');
    ExpectEntry(Edit, "12", 2, 0);
    QTest::keyClick(Edit, ' ');
    ExpectEntry(Edit, "12", 2, 0);
    Retype(Edit, "-");
    ExpectEntry(Edit, "12", 2, 0);
    Retype(Edit, "+");
    ExpectEntry(Edit, "12", 2, 0);
    EXPECT_EQ(FirstForm->LastMText, "12");
    // A bad keystroke does not change what an emptied entry gets back.
    Edit->selectAll();
    QTest::keyClick(Edit, Qt::Key_Delete);
    ExpectEntry(Edit, "12", 0, 2);
}

TEST_F(First, ReadableTextsStayAsTypedAndOkUsesTheirValues) {
    TEdit* M = FirstForm->InputMEdit;
    TEdit* N = FirstForm->InputNEdit;
    // An x in front reads the digits as hexadecimal: x12 is 18 and stays as typed.
    Retype(M, "12");
    QTest::keyClick(M, Qt::Key_Home);
    QTest::keyClick(M, 'x');
    ExpectEntry(M, "x12", 1, 0);
    QTest::keyClick(M, Qt::Key_End);
    QTest::keyClick(M, '3');
    ExpectEntry(M, "x123", 4, 0); // 291
    QTest::keyClick(M, '4');
    ExpectEntry(M, "500", 0, 3); // 4660
    // Leading blanks.
    Retype(M, "12");
    QTest::keyClick(M, Qt::Key_Home);
    QTest::keyClicks(M, "  ");
    ExpectEntry(M, "  12", 2, 0);
    // Leading zeros and a plus sign.
    Retype(N, "7");
    QTest::keyClick(N, Qt::Key_Home);
    QTest::keyClicks(N, "00");
    QTest::keyClick(N, Qt::Key_Home);
    QTest::keyClick(N, '+');
    ExpectEntry(N, "+007", 1, 0);
    // Five characters at most.
    QTest::keyClick(N, Qt::Key_End);
    QTest::keyClick(N, '1');
    EXPECT_EQ(N->text(), "+0071");
    QTest::keyClick(N, '2');
    EXPECT_EQ(N->text(), "+0071");
    QTest::keyClick(N, Qt::Key_Backspace);
    ExpectEntry(N, "+007", 4, 0);

    // Cancel in the data entry: the store has the sizes, nothing else opens.
    int Cols = 0, Rows = 0;
    TModalDriver Road;
    Road.Then(InputABCForm, [&] {
        Cols = InputABCForm->InputC->ColCount();
        Rows = InputABCForm->InputC->RowCount();
        Click(InputABCForm->CancelButton);
    });
    EXPECT_TRUE(Road.Walk([] { Click(FirstForm->OkButton); }))
        << Road.Unexpected.join(", ").toStdString();
    EXPECT_EQ(Calc->M, 12);
    EXPECT_EQ(Calc->N, 7);
    EXPECT_EQ(Cols, 8);
    EXPECT_EQ(Rows, 13);
    EXPECT_TRUE(FirstForm->isVisible());
    EXPECT_EQ(M->text(), "  12");
    EXPECT_EQ(N->text(), "+007");
}

TEST_F(First, EnterMovesOnAndTheFocusedOkStartsTheRoad) {
    TEdit* M = FirstForm->InputMEdit;
    Retype(M, "3");
    QTest::keyClick(M, Qt::Key_Return);
    EXPECT_TRUE(FirstForm->InputNEdit->hasFocus());
    EXPECT_EQ(M->text(), "3");
    // Entered by the keyboard, the entry's text is selected: a digit replaces it.
    QTest::keyClicks(FirstForm->InputNEdit, "14");
    QTest::keyClick(FirstForm->InputNEdit, Qt::Key_Return);
    EXPECT_TRUE(FirstForm->OkButton->hasFocus());
    EXPECT_EQ(FirstForm->InputNEdit->text(), "14");

    TModalDriver Road;
    Road.Then(InputABCForm, [] { Click(InputABCForm->CancelButton); });
    EXPECT_TRUE(Road.Walk([] { QTest::keyClick(FirstForm->OkButton, Qt::Key_Return); }));
    EXPECT_EQ(Calc->M, 3);
    EXPECT_EQ(Calc->N, 14);
}

TEST_F(First, TabOrderAndAccelerators) {
    std::vector<QWidget*> Order;
    QWidget* At = FirstForm->InputMEdit;
    for (int K = 0; K < 5; ++K) {
        Order.push_back(At);
        At = At->nextInFocusChain();
        while (!(At->focusPolicy() & Qt::TabFocus))
            At = At->nextInFocusChain();
    }
    EXPECT_EQ(Order, (std::vector<QWidget*>{FirstForm->InputMEdit, FirstForm->InputNEdit,
                                            FirstForm->OkButton, FirstForm->AboutButton,
                                            FirstForm->ExitButton}));
    QTest::keyClick(FirstForm, Qt::Key_C, Qt::AltModifier);
    EXPECT_TRUE(WaitFor([] { return FirstForm->InputNEdit->hasFocus(); }));
    QTest::keyClick(FirstForm, Qt::Key_S, Qt::AltModifier);
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
        QTest::keyClick(FirstForm, Qt::Key_A, Qt::AltModifier);
        // The accelerator clicks after a short animation; the dialog then runs in here.
        EXPECT_TRUE(WaitFor([&] { return Closed && !AboutBox->isVisible(); }));
    }));
    EXPECT_TRUE(MainShown);
}

TEST_F(First, BalancedProblemShowsItsPlan) {
    TShown Shown;
    ASSERT_TRUE(Solve("2", "3", Balanced(), Shown));
    EXPECT_EQ(Shown.Cost, "420");
    EXPECT_EQ(Shown.Time, "0:00:00");
    EXPECT_FALSE(Shown.Extra);
    EXPECT_EQ(Shown.Plan,
              (TRows{{"", "1", "2", "3"}, {"1", "", "25.0", " 5.0"}, {"2", "10.0", "", "10.0"}}));
    EXPECT_TRUE(FirstForm->isVisible());
    EXPECT_EQ(FirstForm->InputMEdit->text(), "2");
    EXPECT_EQ(FirstForm->InputNEdit->text(), "3");
}

TEST_F(First, MoreDemandThanStockShowsDissatisfiedDemands) {
    TShown Shown;
    ASSERT_TRUE(Solve("2", "2", MoreDemand(), Shown));
    EXPECT_EQ(Shown.Cost, "26");
    EXPECT_TRUE(Shown.Extra);
    EXPECT_EQ(Shown.ExtraTitle, "Dissatisfied Demands");
    EXPECT_EQ(Shown.ExtraCells, (TRows{{"1", "2"}, {"0.0", " 5.0"}}));
    // The dummy supplier is neither in the plan nor in the store's size any more.
    EXPECT_EQ(Shown.Plan, (TRows{{"", "1", "2"}, {"1", " 8.0", " 2.0"}, {"2", "", " 5.0"}}));
    EXPECT_EQ(Shown.StoreM, 2);
    EXPECT_EQ(Calc->M, 2);
    EXPECT_EQ(Calc->N, 2);
}

TEST_F(First, MoreStockThanDemandShowsUnusedStocks) {
    TShown Shown;
    ASSERT_TRUE(Solve("3", "2", MoreStock(), Shown));
    EXPECT_EQ(Shown.Cost, "34");
    EXPECT_EQ(Shown.ExtraTitle, "Unused Stocks");
    EXPECT_EQ(Shown.ExtraCells, (TRows{{"1", "2", "3"}, {"0.0", "0.0", "10.0"}}));
    EXPECT_EQ(Shown.Plan,
              (TRows{{"", "1", "2"}, {"1", "10.0", ""}, {"2", " 2.0", " 8.0"}, {"3", "", ""}}));
    EXPECT_EQ(Calc->N, 2);
}

TEST_F(First, ASecondCalculationAfterAnUnbalancedOne) {
    TShown First, Again, Then;
    ASSERT_TRUE(Solve("2", "2", MoreDemand(), First));
    // The same problem again: the store was sized from the entries, not from the last run.
    ASSERT_TRUE(Solve("2", "2", MoreDemand(), Again));
    EXPECT_EQ(Again.Plan, First.Plan);
    EXPECT_EQ(Again.ExtraCells, First.ExtraCells);
    EXPECT_EQ(Again.StoreM, 2);
    // A balanced one after it: no extra box, the plan of its own.
    ASSERT_TRUE(Solve("2", "3", Balanced(), Then));
    EXPECT_FALSE(Then.Extra);
    EXPECT_EQ(Then.Cost, "420");
    EXPECT_EQ(Then.Plan.size(), 3u);
    EXPECT_EQ(Then.Plan[1][2], "25.0");
}

TEST_F(First, OneByOneProblem) {
    TShown Shown;
    ASSERT_TRUE(Solve("1", "1", {1, 1, {4}, {4}, {2.5}}, Shown));
    EXPECT_EQ(Shown.Plan, (TRows{{"", "1"}, {"1", " 4.0"}}));
    EXPECT_EQ(Shown.Cost, "10");
}

TEST_F(First, LoopingIsReportedAndTheEntriesStay) {
    // A problem whose calculation needs exactly the 999 pivots of the cap.
    const TProblem P = (RandomProblem(289, 120, 120, 50));
    SetSizes("120", "120");
    QString Message;
    TModalDriver Road;
    Road.Then(InputABCForm, [&P] { EnterAndConfirm(P); }).ThenErrorText(Message);
    EXPECT_TRUE(Road.Walk([] { Click(FirstForm->OkButton); }))
        << Road.Unexpected.join(", ").toStdString();
    EXPECT_EQ(Message, "Error: Looping");
    EXPECT_TRUE(FirstForm->isVisible());
    EXPECT_EQ(FirstForm->InputMEdit->text(), "120");
    EXPECT_EQ(FirstForm->InputNEdit->text(), "120");

    // A new calculation can start at once.
    TShown Shown;
    ASSERT_TRUE(Solve("2", "3", Balanced(), Shown));
    EXPECT_EQ(Shown.Cost, "420");
}

TEST_F(First, AbortIsReported) {
    const TProblem P = (RandomProblem(7, 500, 500, 9999));
    SetSizes("500", "500");
    QString Message;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    // The worker waits after its first pivot until Abort has been clicked.
    TCheckpointHold Hold(1);
    TModalDriver Road;
    Road.Then(InputABCForm, [&P] { EnterAndConfirm(P); })
        .AtShowOf(
            BusyForm,
            [&Hold] { EXPECT_TRUE(Hold.ActWhileHeld([] { Click(BusyForm->CancelButton); })); })
        .ThenError([&](QMessageBox* Box) {
            Message = Box->windowTitle() + ": " + Box->text();
            Icon = Box->icon();
            QTest::keyClick(Box, Qt::Key_Return);
        });
    EXPECT_TRUE(Road.Walk([] { Click(FirstForm->OkButton); }))
        << Road.Unexpected.join(", ").toStdString();
    EXPECT_EQ(Message, "Error: Calculation aborted");
    EXPECT_EQ(Icon, QMessageBox::Critical);
    EXPECT_TRUE(FirstForm->isVisible());
    EXPECT_EQ(FirstForm->InputMEdit->text(), "500");
}

TEST_F(First, AFailedRunGivesTheTypedTableBackAtTheRefusedCell) {
    TProblem P = Balanced();
    P.A[1] = -20;
    SetSizes("2", "3");
    QString Message, Reason;
    bool AtStock2 = false;
    TShown Shown;
    TModalDriver Road;
    Road.Then(InputABCForm, [&P] { EnterAndConfirm(P); })
        .ThenError([&](QMessageBox* Box) {
            Message = Box->windowTitle() + ": " + Box->text();
            Reason = QString::fromStdString(BusyForm->FailReason);
            Box->button(QMessageBox::Ok)->click();
        })
        .Then(InputABCForm,
              [&] {
                  TStringGrid* A = InputABCForm->InputA;
                  AtStock2 = WaitFor([A] {
                      return A->Editor()->hasFocus() && A->Col() == 1 &&
                             A->Editor()->selectedText() == "-20";
                  });
                  // Only the sign is mended: the plan needs every other cell as it was typed.
                  QTest::keyClicks(A->Editor(), "20");
                  Click(InputABCForm->OkButton);
              })
        .Then(AnswerForm, [&Shown] {
            ReadResults(Shown);
            Click(AnswerForm->OkButton);
        });
    EXPECT_TRUE(Road.Walk([] { Click(FirstForm->OkButton); }))
        << Road.Unexpected.join(", ").toStdString();
    EXPECT_FALSE(Reason.isEmpty());
    EXPECT_EQ(Message, "Error: " + Reason);
    EXPECT_TRUE(AtStock2);
    EXPECT_EQ(Shown.Cost, "420");
    EXPECT_TRUE(FirstForm->isVisible());
    EXPECT_EQ(FirstForm->InputMEdit->text(), "2");
    EXPECT_EQ(FirstForm->InputNEdit->text(), "3");
    EXPECT_EQ(Calc->M, 2);
    EXPECT_EQ(Calc->N, 3);
}

// The keys go wherever the focus is, as a user's do.
void Key(int Code, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
    ASSERT_TRUE(WaitFor([] { return QApplication::focusWidget() != nullptr; }));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(Code), Mods);
}
void Keys(const char* Text) {
    ASSERT_TRUE(WaitFor([] { return QApplication::focusWidget() != nullptr; }));
    QTest::keyClicks(QApplication::focusWidget(), Text);
}

TEST_F(First, AProblemIsTypedOrFilledAndSolvedWithTheKeyboardAloneOnEveryOpening) {
    // Shown as at start-up: the suppliers' entry has the focus, its text ready to be replaced.
    FirstForm->hide();
    FirstForm->show();
    ASSERT_TRUE(WaitFor([] { return FirstForm->InputMEdit->hasFocus(); }));
    Keys("2");
    Key(Qt::Key_Return);
    Keys("3");
    Key(Qt::Key_Return);
    EXPECT_TRUE(FirstForm->OkButton->hasFocus());

    QString Cost;
    TModalDriver Road;
    Road.Then(InputABCForm,
              [&] {
                  TInputABCForm* F = InputABCForm;
                  ASSERT_TRUE(WaitFor([F] { return F->InputA->Editor()->hasFocus(); }));
                  Keys("30"), Key(Qt::Key_Right), Keys("20"), Key(Qt::Key_Tab);
                  Keys("10"), Key(Qt::Key_Right), Keys("25"), Key(Qt::Key_Right), Keys("15");
                  Key(Qt::Key_Tab);
                  // The first row of costs left to right, the second right to left.
                  Keys("8"), Key(Qt::Key_Right), Keys("6"), Key(Qt::Key_Right), Keys("10");
                  Key(Qt::Key_Down), Keys("13"), Key(Qt::Key_Home), Key(Qt::Key_Left);
                  Keys("12"), Key(Qt::Key_Home), Key(Qt::Key_Left), Keys("9");
                  Key(Qt::Key_End, Qt::ControlModifier);
                  EXPECT_EQ(F->InputC->Editor()->selectedText(), "13");
                  Key(Qt::Key_Home, Qt::ControlModifier);
                  EXPECT_EQ(F->InputC->Editor()->selectedText(), "8");
                  Key(Qt::Key_Tab);
                  EXPECT_TRUE(F->OkButton->hasFocus());
                  Key(Qt::Key_Return);
              })
        .Then(AnswerForm, [&] {
            Cost = Spoken(AnswerForm->SumText, QAccessible::Description);
            Key(Qt::Key_Return);
        });
    EXPECT_TRUE(Road.Walk([] { Key(Qt::Key_Return); })) << Road.Unexpected.join(", ").toStdString();
    // Read as a screen reader reads it: the problem typed is the balanced 2 x 3 one.
    EXPECT_EQ(Cost, "420");

    // Back in the main window, and on to a second opening with a random fill.
    ASSERT_TRUE(WaitFor([] { return FirstForm->InputMEdit->hasFocus(); }));
    EXPECT_EQ(FirstForm->InputMEdit->selectedText(), "2");
    QString Maximum;
    bool Filled = false;
    TModalDriver Second;
    Second
        .Then(InputABCForm,
              [&] {
                  TInputABCForm* F = InputABCForm;
                  // Not on the OK button pressed last time.
                  ASSERT_TRUE(WaitFor([F] { return F->InputA->Editor()->hasFocus(); }));
                  EXPECT_EQ(F->InputA->Col(), 0);
                  EXPECT_EQ(F->InputA->Cells(0, 1), "");
                  Key(Qt::Key_R, Qt::ControlModifier);
                  Filled = WaitFor([F] { return !F->InputC->Cells(3, 2).empty(); });
                  ASSERT_TRUE(WaitFor([F] { return F->InputA->Editor()->hasFocus(); }));
                  Key(Qt::Key_Tab), Key(Qt::Key_Tab), Key(Qt::Key_Tab), Key(Qt::Key_Return);
              })
        .Then(RandomForm,
              [&] {
                  ASSERT_TRUE(WaitFor([] { return RandomForm->ARangeEdit->hasFocus(); }));
                  Keys("9");
                  Maximum = RandomForm->ARangeEdit->text();
                  Key(Qt::Key_Return);
              })
        .Then(AnswerForm, [&] {
            Cost = Spoken(AnswerForm->SumText, QAccessible::Description);
            Key(Qt::Key_Return);
        });
    EXPECT_TRUE(Second.Walk([] { Key(Qt::Key_Return), Key(Qt::Key_Return), Key(Qt::Key_Return); }))
        << Second.Unexpected.join(", ").toStdString();
    EXPECT_TRUE(Filled);
    EXPECT_EQ(Maximum, "9");
    EXPECT_EQ(Cost, AnswerForm->SumText->text());
}

TEST_F(First, ExitClosesTheMainWindow) {
    Click(FirstForm->ExitButton);
    EXPECT_TRUE(WaitFor([] { return !FirstForm->isVisible(); }));
}

} // namespace
