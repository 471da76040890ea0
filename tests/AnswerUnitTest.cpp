#include "AnswerUnit.h"
#include "ProgramFaces.h"

#include "CalcUnit.h"
#include "KeyRoad.h"
#include "ModalDriver.h"
#include "WindowTestSupport.h"

#include <QAccessible>
#include <QClipboard>
#include <QFile>
#include <QLayout>
#include <QLocale>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr double Second = 1.0 / 86400.0;

class Answer : public testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallProgramFaces();
        AnswerForm = new TAnswerForm;
    }
    static void TearDownTestSuite() {
        delete AnswerForm;
        AnswerForm = nullptr;
    }
    void SetUp() override {
        Store_ = std::make_unique<TCalc>();
        Calc = Store_.get();
        QLocale::setDefault(QLocale::c());
    }
    void TearDown() override {
        QLocale::setDefault(QLocale::c());
        Calc = nullptr;
    }

    // A plan as the solver leaves it: every cell non-basic unless given.
    static void Plan(int M, int N, int BalanceKind) {
        Calc->M = M;
        Calc->N = N;
        Calc->BalanceKind = std::uint8_t(BalanceKind);
        for (int I = 1; I <= M; ++I)
            for (int J = 1; J <= N; ++J)
                Calc->SetX(I, J, NonBasic);
    }
    static void Basic(int I, int J, double Amount, double Cost = 0.0) {
        Calc->SetX(I, J, Amount);
        Calc->SetC(I, J, Cost);
    }

    static std::string Plan(int Col, int Row) { return AnswerForm->AnswerGrid->Cells(Col, Row); }
    static std::string Extra(int Col, int Row) { return AnswerForm->AddGrid->Cells(Col, Row); }

    // Shows the window modally as the main window does, runs Inspect while it is open, and
    // closes it with its Close button.
    static int ShowAndInspect(const std::function<void()>& Inspect) {
        WhenModal(AnswerForm, [Inspect] {
            Inspect();
            AnswerForm->OkButton->click();
        });
        return AnswerForm->ShowModal();
    }

    std::unique_ptr<TCalc> Store_;
};

TEST_F(Answer, BalancedPlanShowsAmountsTimeAndCost) {
    Plan(2, 3, 0);
    Basic(1, 1, 7, 10);      // 70
    Basic(1, 2, 1234.56, 1); // 1234.56
    Basic(1, 3, 0.00005, 2); // shows as no shipment
    Basic(2, 3, 0, 3);       // a degenerate basic cell
    Basic(2, 2, 12.25, 0.5); // 6.125
    Calc->CalcTime = (3600 + 2 * 60 + 3) * Second + 0.4 * Second;
    AnswerForm->FillResults();

    EXPECT_EQ(AnswerForm->TimeText->text(), "1:02:03");
    EXPECT_EQ(AnswerForm->SumText->text(), "1310.6851");
    EXPECT_FALSE(AnswerForm->AddBox->isVisibleTo(AnswerForm));
    EXPECT_EQ(Calc->M, 2);
    EXPECT_EQ(Calc->N, 3);

    ASSERT_EQ(AnswerForm->AnswerGrid->ColCount(), 4);
    ASSERT_EQ(AnswerForm->AnswerGrid->RowCount(), 3);
    EXPECT_EQ(Plan(0, 0), "");
    EXPECT_EQ(Plan(1, 0), "1");
    EXPECT_EQ(Plan(3, 0), "3");
    EXPECT_EQ(Plan(0, 2), "2");
    EXPECT_EQ(Plan(1, 1), " 7.0");
    EXPECT_EQ(Plan(2, 1), "1234.6");
    EXPECT_EQ(Plan(3, 1), "");
    EXPECT_EQ(Plan(1, 2), "");
    EXPECT_EQ(Plan(2, 2), "12.3");
    EXPECT_EQ(Plan(3, 2), "");
}

TEST_F(Answer, CostUsesTheRegionalDecimalSeparator) {
    Plan(1, 1, 0);
    Basic(1, 1, 2501, 0.5);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    AnswerForm->FillResults();
    EXPECT_EQ(AnswerForm->SumText->text(), "1250,5");

    Plan(1, 1, 0);
    Basic(1, 1, 1e20, 1.5);
    AnswerForm->FillResults();
    EXPECT_EQ(AnswerForm->SumText->text(), "1,5E20");

    QLocale::setDefault(QLocale::c());
    Plan(1, 1, 0);
    Basic(1, 1, 1250, 1);
    AnswerForm->FillResults();
    EXPECT_EQ(AnswerForm->SumText->text(), "1250");
}

TEST_F(Answer, NegativeTimeLeavesTheTimeEmpty) {
    Plan(1, 1, 0);
    Basic(1, 1, 1);
    Calc->CalcTime = -Second;
    AnswerForm->FillResults();
    EXPECT_EQ(AnswerForm->TimeText->text(), "");
}

TEST_F(Answer, DummySupplierShowsDissatisfiedDemandsAndLeavesThePlan) {
    // Two real suppliers and the dummy as row 3.
    Plan(3, 3, 1);
    Basic(1, 1, 5, 1);
    Basic(1, 2, 3, 1);
    Basic(2, 2, 4, 1);
    Basic(3, 2, 0); // degenerate: consumer 2 is fully served
    Basic(3, 3, 6); // consumer 3 gets nothing from a real supplier
    AnswerForm->FillResults();

    EXPECT_TRUE(AnswerForm->AddBox->isVisibleTo(AnswerForm));
    EXPECT_TRUE(AnswerForm->AddGrid->isVisibleTo(AnswerForm));
    EXPECT_EQ(AnswerForm->AddBox->title(), "Dissatisfied Demands");
    ASSERT_EQ(AnswerForm->AddGrid->ColCount(), 3);
    ASSERT_EQ(AnswerForm->AddGrid->RowCount(), 2);
    EXPECT_EQ(Extra(0, 0), "1");
    EXPECT_EQ(Extra(2, 0), "3");
    EXPECT_EQ(Extra(0, 1), "0.0"); // non-basic
    EXPECT_EQ(Extra(1, 1), "0.0"); // basic with 0, without the amount text's blank
    EXPECT_EQ(Extra(2, 1), " 6.0");

    EXPECT_EQ(Calc->M, 2);
    EXPECT_EQ(Calc->N, 3);
    EXPECT_EQ(AnswerForm->AnswerGrid->RowCount(), 3);
    EXPECT_EQ(AnswerForm->AnswerGrid->ColCount(), 4);
    EXPECT_EQ(Plan(0, 2), "2");
    EXPECT_EQ(Plan(2, 2), " 4.0");
    EXPECT_EQ(AnswerForm->SumText->text(), "12");
}

TEST_F(Answer, DummyConsumerShowsUnusedStocks) {
    Plan(3, 2, 2);
    Basic(1, 1, 8, 2);
    Basic(2, 1, 1, 3);
    Basic(2, 2, 0.5);
    Basic(3, 2, 9.95);
    AnswerForm->FillResults();

    EXPECT_EQ(AnswerForm->AddBox->title(), "Unused Stocks");
    ASSERT_EQ(AnswerForm->AddGrid->ColCount(), 3);
    EXPECT_EQ(Extra(0, 0), "1");
    EXPECT_EQ(Extra(0, 1), "0.0");
    EXPECT_EQ(Extra(1, 1), " 0.5");
    EXPECT_EQ(Extra(2, 1), "10.0");
    EXPECT_EQ(Calc->M, 3);
    EXPECT_EQ(Calc->N, 1);
    EXPECT_EQ(AnswerForm->AnswerGrid->ColCount(), 2);
    EXPECT_EQ(AnswerForm->AnswerGrid->RowCount(), 4);
    EXPECT_EQ(Plan(1, 1), " 8.0");
    EXPECT_EQ(Plan(1, 2), " 1.0");
    EXPECT_EQ(Plan(1, 3), "");
    EXPECT_EQ(AnswerForm->SumText->text(), "19");
}

TEST_F(Answer, NothingOfAnEarlierResultShowsThrough) {
    Plan(4, 4, 2);
    for (int I = 1; I <= 4; ++I)
        for (int J = 1; J <= 4; ++J)
            Basic(I, J, 1);
    AnswerForm->FillResults();
    ASSERT_TRUE(AnswerForm->AddBox->isVisibleTo(AnswerForm));

    // A smaller balanced result afterwards: one plan cell, no extra box.
    Plan(1, 1, 0);
    Basic(1, 1, 3);
    AnswerForm->FillResults();
    EXPECT_FALSE(AnswerForm->AddBox->isVisibleTo(AnswerForm));
    EXPECT_FALSE(AnswerForm->AddGrid->isVisibleTo(AnswerForm));
    ASSERT_EQ(AnswerForm->AnswerGrid->ColCount(), 2);
    ASSERT_EQ(AnswerForm->AnswerGrid->RowCount(), 2);
    EXPECT_EQ(Plan(0, 0), "");
    EXPECT_EQ(Plan(1, 1), " 3.0");

    // Growing again: the cells that come back are the new plan's, not the old ones.
    Plan(2, 2, 0);
    Basic(1, 1, 2);
    AnswerForm->FillResults();
    EXPECT_EQ(Plan(2, 2), "");
    EXPECT_EQ(Plan(2, 1), "");
    EXPECT_EQ(Plan(1, 2), "");
}

TEST_F(Answer, ThePlanTakesTheRoomOfAHiddenExtraBox) {
    AnswerForm->resize(419, 419);
    Plan(2, 3, 1);
    AnswerForm->FillResults();
    QApplication::sendPostedEvents();
    AnswerForm->layout()->activate();
    const int WithExtra = AnswerForm->AnswerBox->height();
    EXPECT_EQ(AnswerForm->AddBox->y(), 311);
    EXPECT_EQ(AnswerForm->ButtonsPanel->y(), 387);

    Plan(2, 3, 0);
    AnswerForm->FillResults();
    QApplication::sendPostedEvents();
    AnswerForm->layout()->activate();
    EXPECT_EQ(AnswerForm->AnswerBox->height(), WithExtra + 76);
    EXPECT_EQ(AnswerForm->AnswerBox->y(), 57);
}

TEST_F(Answer, EachShowingFillsOnceAndCloseEndsIt) {
    Plan(3, 2, 1);
    Basic(1, 1, 2);
    Basic(3, 2, 4);
    int Rows = 0;
    const int Result = ShowAndInspect([&] {
        Rows = AnswerForm->AnswerGrid->RowCount();
        // Minimised and restored by the window system: no second filling.
        std::vector<bool> Shows;
        const TShowHook Hook(
            AnswerForm, [&](bool Shown) { Shows.push_back(Shown); }, true);
        AnswerForm->setWindowState(Qt::WindowMinimized);
        EXPECT_TRUE(WaitFor([&] { return Shows == std::vector<bool>{false}; }));
        AnswerForm->setWindowState(Qt::WindowNoState);
        EXPECT_TRUE(WaitFor([&] { return Shows == std::vector<bool>{false, true}; }));
    });
    EXPECT_EQ(Result, mrCancel);
    EXPECT_FALSE(AnswerForm->isVisible());
    EXPECT_EQ(Rows, 3);
    EXPECT_EQ(Calc->M, 2);
    EXPECT_EQ(AnswerForm->AnswerGrid->RowCount(), 3);
}

TEST_F(Answer, EnterPressesClose) {
    Plan(1, 1, 0);
    Basic(1, 1, 1);
    WhenModal(AnswerForm, [] { QTest::keyClick(AnswerForm, Qt::Key_Return); });
    AnswerForm->ShowModal();
    EXPECT_FALSE(AnswerForm->isVisible());
    EXPECT_EQ(AnswerForm->OkButton->text(), "&Close");
}

TEST_F(Answer, ResizeKeepsCloseCentred) {
    Plan(1, 1, 0);
    Basic(1, 1, 1);
    std::vector<int> Lefts;
    ShowAndInspect([&] {
        for (const QSize& Size : {QSize(419, 419), QSize(520, 419), QSize(420, 300)}) {
            AnswerForm->resize(Size);
            EXPECT_TRUE(WaitFor([&] { return AnswerForm->size() == Size; }));
            Lefts.push_back(AnswerForm->OkButton->x());
        }
        // An odd difference: the extra pixel goes to the right of the button.
        EXPECT_EQ(AnswerForm->width() - AnswerForm->OkButton->geometry().right() - 1, 170);
        AnswerForm->resize(419, 419);
    });
    EXPECT_EQ(Lefts, (std::vector<int>{169, 219, 169}));
    // Steps... keeps to the right edge, out of Close's way.
    EXPECT_EQ(AnswerForm->width() - AnswerForm->StepsButton->geometry().right() - 1, 4);
}

// Ctrl+C copies the whole result, from wherever the focus is, as a spreadsheet reads it.
struct TCopied {
    bool Unbalanced;
    QLocale::Language Region;
    const char* Text;
    std::string Html;
};
class CopiedResult : public Answer, public testing::WithParamInterface<TCopied> {};

TEST_P(CopiedResult, IsTheWholeResultWithoutPadding) {
    const TCopied& Row = GetParam();
    Plan(Row.Unbalanced ? 3 : 2, 2, Row.Unbalanced ? 1 : 0);
    Basic(1, 1, 7, 2);
    Basic(2, 2, 1234.5, 0.5);
    if (Row.Unbalanced)
        Basic(3, 2, 2.25);
    Calc->CalcTime = 3 * Second;
    QLocale::setDefault(QLocale(Row.Region));
    QStringList Texts, Htmls;
    ShowAndInspect([&] {
        for (QWidget* Focus : {static_cast<QWidget*>(AnswerForm->OkButton),
                               static_cast<QWidget*>(AnswerForm->AnswerGrid)}) {
            QGuiApplication::clipboard()->clear();
            Focus->setFocus();
            ASSERT_TRUE(WaitFor([Focus] { return Focus->hasFocus(); }));
            QTest::keyClick(Focus, Qt::Key_C, Qt::ControlModifier);
            Texts.append(QGuiApplication::clipboard()->text());
            Htmls.append(QGuiApplication::clipboard()->mimeData()->html());
        }
    });
    EXPECT_EQ(Texts, QStringList({Row.Text, Row.Text}));
    const QString Html = QString::fromStdString(Row.Html);
    EXPECT_EQ(Htmls, QStringList({Html, Html}));
}

std::string Html(const char* Rows) {
    return std::string("<html><head><meta charset=\"utf-8\"></head><body><table>\n") + Rows +
           "</table></body></html>\n";
}
constexpr const char* BalancedText = "Calculation Time\t0:00:03\nTransport Cost\t631.25\n\n"
                                     "Transport Plan\n\t1\t2\n1\t7.0\t\n2\t\t1234.5\n";
constexpr const char* UnbalancedText = "Calculation Time\t0:00:03\nTransport Cost\t631.25\n\n"
                                       "Transport Plan\n\t1\t2\n1\t7.0\t\n2\t\t1234.5\n"
                                       "\nDissatisfied Demands\n1\t2\n0.0\t2.3\n";

INSTANTIATE_TEST_SUITE_P(
    Table, CopiedResult,
    testing::Values(
        TCopied{false, QLocale::C, BalancedText,
                Html("<tr><th>Calculation Time</th><td>0:00:03</td></tr>\n"
                     "<tr><th>Transport Cost</th><td>631.25</td></tr>\n<tr></tr>\n"
                     "<tr><th>Transport Plan</th></tr>\n"
                     "<tr><th></th><th>1</th><th>2</th></tr>\n"
                     "<tr><th>1</th><td>7.0</td><td></td></tr>\n"
                     "<tr><th>2</th><td></td><td>1234.5</td></tr>\n")},
        TCopied{false, QLocale::German, BalancedText,
                Html("<tr><th>Calculation Time</th><td>0:00:03</td></tr>\n"
                     "<tr><th>Transport Cost</th><td>631,25</td></tr>\n<tr></tr>\n"
                     "<tr><th>Transport Plan</th></tr>\n"
                     "<tr><th></th><th>1</th><th>2</th></tr>\n"
                     "<tr><th>1</th><td>7,0</td><td></td></tr>\n"
                     "<tr><th>2</th><td></td><td>1234,5</td></tr>\n")},
        TCopied{true, QLocale::C, UnbalancedText,
                Html("<tr><th>Calculation Time</th><td>0:00:03</td></tr>\n"
                     "<tr><th>Transport Cost</th><td>631.25</td></tr>\n<tr></tr>\n"
                     "<tr><th>Transport Plan</th></tr>\n"
                     "<tr><th></th><th>1</th><th>2</th></tr>\n"
                     "<tr><th>1</th><td>7.0</td><td></td></tr>\n"
                     "<tr><th>2</th><td></td><td>1234.5</td></tr>\n<tr></tr>\n"
                     "<tr><th>Dissatisfied Demands</th></tr>\n"
                     "<tr><th>1</th><th>2</th></tr>\n<tr><td>0.0</td><td>2.3</td></tr>\n")},
        TCopied{true, QLocale::German, UnbalancedText,
                Html("<tr><th>Calculation Time</th><td>0:00:03</td></tr>\n"
                     "<tr><th>Transport Cost</th><td>631,25</td></tr>\n<tr></tr>\n"
                     "<tr><th>Transport Plan</th></tr>\n"
                     "<tr><th></th><th>1</th><th>2</th></tr>\n"
                     "<tr><th>1</th><td>7,0</td><td></td></tr>\n"
                     "<tr><th>2</th><td></td><td>1234,5</td></tr>\n<tr></tr>\n"
                     "<tr><th>Dissatisfied Demands</th></tr>\n"
                     "<tr><th>1</th><th>2</th></tr>\n<tr><td>0,0</td><td>2,3</td></tr>\n")}));

// Ctrl+S saves the result as a table a spreadsheet opens: the plan with the stocks and demands as
// its margins, the unused stocks or unmet demands beside or below it, the total cost.
struct TSaved {
    int BalanceKind;
    const char* Csv;
};
class SavedResult : public Answer, public testing::WithParamInterface<TSaved> {};

TEST_P(SavedResult, IsThePlanWithItsMarginsAndTheTotal) {
    const int Kind = GetParam().BalanceKind;
    Plan(Kind == 1 ? 3 : 2, Kind == 2 ? 3 : 2, Kind);
    Basic(1, 1, 7, 2);
    Basic(2, 2, 1234.5, 0.5);
    const double A[] = {Kind == 2 ? 10.0 : 7.0, 1234.5, 2.25};
    const double B[] = {7, Kind == 1 ? 1236.75 : 1234.5, 3};
    for (int I = 1; I <= 3; ++I) {
        Calc->SetA(I, A[I - 1]);
        Calc->SetB(I, B[I - 1]);
    }
    if (Kind == 1)
        Basic(3, 2, 2.25);
    if (Kind == 2)
        Basic(1, 3, 3);
    QTemporaryDir Folder;
    const QString Path = Folder.filePath("result.csv");
    SetFileQuestions(
        nullptr, [&](QWidget*, const QString&, const QString&, const QString&) { return Path; });
    ShowAndInspect([&] {
        Press("Ctrl+S");
        EXPECT_TRUE(WaitFor([&] { return QFile::exists(Path); }));
    });
    SetFileQuestions(nullptr, nullptr);
    QFile Saved(Path);
    ASSERT_TRUE(Saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(Saved.readAll().toStdString(), GetParam().Csv);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SavedResult,
    testing::Values(TSaved{0, ",Consumer 1,Consumer 2,Stock\nSupplier 1,7.0,,7\n"
                              "Supplier 2,,1234.5,1234.5\nDemand,7,1234.5,\n"
                              "Transport Cost,631.25\n"},
                    TSaved{1, ",Consumer 1,Consumer 2,Stock\nSupplier 1,7.0,,7\n"
                              "Supplier 2,,1234.5,1234.5\nDemand,7,1236.75,\n"
                              "Dissatisfied Demands,0.0,2.3,\nTransport Cost,631.25\n"},
                    TSaved{2, ",Consumer 1,Consumer 2,Stock,Unused Stocks\n"
                              "Supplier 1,7.0,,10,3.0\nSupplier 2,,1234.5,1234.5,0.0\n"
                              "Demand,7,1234.5,\nTransport Cost,631.25\n"}));

TEST_F(Answer, TheExtraGridIsNamedAfterWhatItShows) {
    Plan(3, 2, 1);
    AnswerForm->FillResults();
    EXPECT_EQ(AnswerForm->AddGrid->accessibleName(), "Dissatisfied Demands");
    Plan(2, 3, 2);
    AnswerForm->FillResults();
    EXPECT_EQ(AnswerForm->AddGrid->accessibleName(), "Unused Stocks");
    EXPECT_EQ(AnswerForm->AnswerGrid->accessibleName(), "Transport Plan");
    EXPECT_EQ(AnswerForm->SumText->accessibleName(), "Transport Cost");
    EXPECT_EQ(AnswerForm->TimeText->accessibleName(), "Calculation Time");
}

// A screen reader gets its texts from Qt's accessibility interfaces, which the bus serves.
TEST_F(Answer, AScreenReaderReadsEveryValueWithItsLabel) {
    Plan(2, 2, 0);
    Basic(1, 1, 100000, 2);
    Basic(2, 2, 7, 1);
    Calc->CalcTime = 3 * Second;
    AnswerForm->FillResults();
    QAccessibleInterface* Time = QAccessible::queryAccessibleInterface(AnswerForm->TimeText);
    EXPECT_EQ(Time->text(QAccessible::Name), "Calculation Time");
    EXPECT_EQ(Time->text(QAccessible::Description), "0:00:03");
    QAccessibleTableInterface* Table =
        QAccessible::queryAccessibleInterface(AnswerForm->AnswerGrid)->tableInterface();
    ASSERT_NE(Table, nullptr);
    // In full, although the column shows it cut short.
    EXPECT_EQ(Table->cellAt(0, 0)->text(QAccessible::Name), "100000.0");
    EXPECT_EQ(AnswerForm->AnswerGrid->model()->index(0, 0).data(Qt::ToolTipRole).toString(),
              "100000.0");
    EXPECT_FALSE(AnswerForm->AnswerGrid->model()->index(1, 1).data(Qt::ToolTipRole).isValid());
    EXPECT_EQ(Table->cellAt(1, 1)->text(QAccessible::Name), " 7.0");
}

// A keyboard user reads a cut amount whole as its cell becomes current, and sees which grid
// has the focus: only there is the current cell filled.
TEST_F(Answer, TheCurrentCellShowsItsWholeTextAndWhetherItsGridHasTheFocus) {
    Plan(2, 2, 0);
    Basic(1, 1, 100000, 2);
    Basic(2, 2, 7, 1);
    QStringList Tips;
    int FilledAway = -1, FilledFocused = -1;
    ShowAndInspect([&] {
        TStringGrid* Grid = AnswerForm->AnswerGrid;
        // The share of the cell's inside, its edges left out, drawn near the highlight colour.
        const auto Filled = [Grid] {
            const QRect Cell = Grid->CellRect(Grid->Col(), Grid->Row()).adjusted(3, 3, -3, -3);
            const QImage Shot = Grid->viewport()->grab(Cell).toImage();
            const QColor Highlight = Grid->palette().color(QPalette::Highlight);
            const auto Near = [&Highlight](const QColor& C) {
                return std::abs(C.red() - Highlight.red()) +
                           std::abs(C.green() - Highlight.green()) +
                           std::abs(C.blue() - Highlight.blue()) <
                       30;
            };
            int Count = 0;
            for (int Y = 0; Y < Shot.height(); ++Y)
                for (int X = 0; X < Shot.width(); ++X)
                    Count += Near(Shot.pixelColor(X, Y));
            return Count * 100 / (Shot.width() * Shot.height());
        };
        FilledAway = Filled();
        Grid->setFocus();
        ASSERT_TRUE(WaitFor([Grid] { return Grid->hasFocus(); }));
        FilledFocused = Filled();
        Tips.append(Grid->CutTextShown());
        QTest::keyClick(Grid, Qt::Key_Right);
        Tips.append(Grid->CutTextShown());
        QTest::keyClick(Grid, Qt::Key_Left);
        Tips.append(Grid->CutTextShown());
        AnswerForm->OkButton->setFocus();
        ASSERT_TRUE(WaitFor([] { return AnswerForm->OkButton->hasFocus(); }));
        Tips.append(Grid->CutTextShown());
    });
    EXPECT_EQ(Tips, QStringList({"100000.0", "", "100000.0", ""}));
    EXPECT_EQ(FilledAway, 0);
    EXPECT_GT(FilledFocused, 50);
}

TEST_F(Answer, EveryShowingStartsBothGridsAtTheirTopLeft) {
    std::vector<int> Places;
    for (int Showing = 0; Showing < 2; ++Showing) {
        Plan(301, 30, 2);
        ShowAndInspect([&] {
            TStringGrid* Grids[] = {AnswerForm->AnswerGrid, AnswerForm->AddGrid};
            for (TStringGrid* G : Grids)
                Places.insert(Places.end(), {G->LeftCol(), G->TopRow(), G->Col(), G->Row()});
            Grids[0]->SetTopRow(292);
            Grids[0]->SetLeftCol(15);
            Grids[0]->SetCurrentCell(23, 295);
            Grids[1]->SetCurrentCell(210, 1);
        });
    }
    EXPECT_EQ(Places, (std::vector<int>{1, 1, 1, 1, 0, 1, 0, 1, 1, 1, 1, 1, 0, 1, 0, 1}));
}

} // namespace
