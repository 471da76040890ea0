#include "StepsUnit.h"

#include "AnswerUnit.h"
#include "InputABCUnit.h"
#include "KeyRoad.h"
#include "Problems.h"
#include "ProgramRoads.h"
#include "ProgramTestSupport.h"

#include <QAccessible>
#include <QComboBox>
#include <QPrintDialog>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

class Steps : public TProgramWindows {
protected:
    void TearDown() override {
        TProgramWindows::TearDown();
        SetFileQuestions(nullptr, nullptr);
    }

    // What a screen reader reads with the tableau, and of one of its cells.
    static QString Status() {
        return QAccessible::queryAccessibleInterface(StepsForm->StepsGrid)
            ->text(QAccessible::Description);
    }
    static QString Cell(int Row, int Col) {
        QAccessibleTableInterface* Table =
            QAccessible::queryAccessibleInterface(StepsForm->StepsGrid)->tableInterface();
        return Table->cellAt(Row, Col)->text(QAccessible::Name);
    }

    // From the main window's OK to the Steps window of the problem solved, where Walk runs;
    // then the Steps window and the results closed by the keyboard.
    static testing::AssertionResult Solve(const TProblem& Problem,
                                          const std::function<void()>& Walk) {
        FirstForm->InputMEdit->setText(QString::number(Problem.M));
        FirstForm->InputNEdit->setText(QString::number(Problem.N));
        TModalDriver Road;
        Road.Then(InputABCForm,
                  [&] {
                      EnterCells(Problem);
                      Click(InputABCForm->OkButton);
                  })
            .Then(AnswerForm, [] { Press("Alt+S"); })
            .Then(StepsForm,
                  [&] {
                      Walk();
                      Press("Escape");
                  })
            .Then(AnswerForm, [] { Press("Escape"); });
        return Road.Walk([] { Click(FirstForm->OkButton); });
    }
};

const QString Minus = QString(QChar(0x2212));

// The balanced 2 x 3 problem, walked by the keyboard: its two pivots by hand are (2, 1) entering
// at -5 round (1, 1), (1, 2), (2, 2), moving 5, then (1, 3) at -2 round (1, 1), (2, 1), (2, 3).
TEST_F(Steps, EveryStepIsReachedByKeysAndReadAsAScreenReaderReadsIt) {
    QStringList Read;
    QStringList Cells;
    ASSERT_TRUE(Solve(HandWorked, [&] {
        Cells << Cell(0, 0) << Cell(0, 2) << Cell(1, 0) << Cell(1, 3) << Cell(2, 2);
        for (const char* Keys : {"", "PageDown", "N", "P", "Home", "End", "PageUp"}) {
            Press(Keys);
            Read << Status();
        }
        Cells << Cell(0, 0) << Cell(1, 1);
    }));
    const QString Step0 =
        "Step 0 of 2: the plan from the north-west corner, its cells numbered in the "
        "order they were filled; cell (2, 1) enters with reduced cost " +
        Minus + "5; the cycle (2,1)+ (1,1)" + Minus + " (1,2)+ (2,2)" + Minus +
        " moves 5; cell (2, 2) leaves; total 455 \u2192 430";
    const QString Step1 = "Step 1 of 2: cell (1, 3) enters with reduced cost " + Minus +
                          "2; the cycle (1,3)+ (1,1)" + Minus + " (2,1)+ (2,3)" + Minus +
                          " moves 5; cell (1, 1) leaves; total 430 \u2192 420";
    const QString Step2 =
        "Step 2 of 2: no reduced cost is negative, the plan is optimal; total 420";
    EXPECT_EQ(Read, QStringList({Step0, Step1, Step2, Step1, Step0, Step2, Step1}));
    EXPECT_EQ(Cells, QStringList({"cost 8, ships 10, gives on the cycle", "cost 10, reduced cost 3",
                                  "cost 9, reduced cost " + Minus + "5, enters", "u2 = 6", "v3 = 7",
                                  "cost 8, ships 5, gives on the cycle, leaves",
                                  "cost 12, reduced cost 5"}));
}

// Save writes the report of the whole run; Print goes through the desktop's print dialog.
TEST_F(Steps, SaveWritesTheReportAndPrintAsksThePrintDialog) {
    QTemporaryDir Folder;
    const QString Path = Folder.filePath("steps.html");
    SetFileQuestions(
        nullptr, [&](QWidget*, const QString&, const QString&, const QString&) { return Path; });
    FirstForm->InputMEdit->setText("2");
    FirstForm->InputNEdit->setText("2");
    bool Asked = false;
    TModalDriver Road;
    Road.Then(InputABCForm,
              [] {
                  EnterCells({2, 2, {10, 5}, {8, 12}, {1, 4, 3, 2}});
                  Click(InputABCForm->OkButton);
              })
        .Then(AnswerForm, [] { Press("Alt+S"); })
        .Then(StepsForm, [] { Press("Ctrl+S Ctrl+P Escape"); })
        .ThenMatching([](QWidget* Top) { return qobject_cast<QPrintDialog*>(Top) != nullptr; },
                      [&](QWidget* Dialog) {
                          Asked = true;
                          static_cast<QPrintDialog*>(Dialog)->reject();
                      })
        .Then(AnswerForm, [] { Press("Escape"); });
    ASSERT_TRUE(Road.Walk([] { Click(FirstForm->OkButton); }));
    EXPECT_TRUE(Asked);
    std::ifstream In(Path.toStdString());
    const std::string Report{std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
    EXPECT_NE(Report.find("Step 0"), std::string::npos);
    EXPECT_EQ(Report, StepsForm->Report());
}

// A 500 x 500 run, started by Vogel's approximation: every step comes up with its entering cell
// in sight, whatever part of the table the view shows.
TEST_F(Steps, TheViewFollowsTheEnteringCellAcrossTheLargestTable) {
    int Checked = 0;
    InputABCForm->StartBox->setCurrentIndex(2);
    ASSERT_TRUE(Solve(RandomProblem(1, 500, 500, 5), [&] {
        const int Last = StepRecord->Pivots();
        EXPECT_GT(Last, 1);
        for (int K = Last - 1; K >= 0; K -= std::max(1, Last / 7)) {
            StepsForm->GoToStep(K);
            const TCell Entering = StepRecord->Pivot(K + 1).Entering;
            const QRect Shown = StepsForm->StepsGrid->visualRect(
                StepsForm->StepsGrid->model()->index(Entering.Row - 1, Entering.Col - 1));
            EXPECT_TRUE(StepsForm->StepsGrid->viewport()->rect().contains(Shown.center()))
                << "step " << K;
            ++Checked;
        }
    }));
    InputABCForm->StartBox->setCurrentIndex(0);
    EXPECT_GT(Checked, 1);
    EXPECT_EQ(StepRecord->Start(), TStart::Vogel);
}

} // namespace
