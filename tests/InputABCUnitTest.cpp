#include "InputABCUnit.h"

#include "EntryWindows.h"
#include "KeyRoad.h"
#include "ProblemFile.h"

#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QScrollBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The regional settings for the life of the object, then the system's again.
class TRegion {
public:
    explicit TRegion(QLocale::Language Language) { QLocale::setDefault(QLocale(Language)); }
    ~TRegion() { QLocale::setDefault(QLocale::system()); }
};

class InputABCUnitTest : public TEntryWindows {
protected:
    // Types Text into a cell the way a user does: a click on the cell, then the keys.
    static void Type(TStringGrid* Grid, int Col, int Row, const QString& Text) {
        Grid->SetLeftCol(Col);
        Grid->SetTopRow(Row);
        QTest::mouseClick(Grid->viewport(), Qt::LeftButton, {}, Grid->CellRect(Col, Row).center());
        ASSERT_EQ(Grid->Col(), Col);
        ASSERT_EQ(Grid->Row(), Row);
        QTest::keyClicks(Grid->Editor(), Text);
    }

    // Pastes Text with Ctrl+V at a cell reached as a user reaches it.
    static void PasteAt(TStringGrid* Grid, int Col, int Row, const QString& Text) {
        Type(Grid, Col, Row, "");
        QGuiApplication::clipboard()->setText(Text);
        QTest::keyClick(Grid->Editor(), Qt::Key_V, Qt::ControlModifier);
    }

    static void FillStore(double Value) {
        for (int I = 1; I <= 3; ++I) {
            Calc->SetA(I, Value);
            Calc->SetB(I, Value);
            for (int J = 1; J <= 3; ++J)
                Calc->SetC(I, J, Value);
        }
    }

    static void ExpectStoreHolds(double Value) {
        for (int I = 1; I <= 3; ++I) {
            EXPECT_EQ(Calc->GetA(I), Value);
            EXPECT_EQ(Calc->GetB(I), Value);
            for (int J = 1; J <= 3; ++J)
                EXPECT_EQ(Calc->GetC(I, J), Value);
        }
    }

    static bool AllEntriesBlank() {
        const TInputABCForm* F = InputABCForm;
        for (int I = 0; I < Calc->M; ++I)
            if (!F->InputA->Cells(I, 1).empty())
                return false;
        for (int J = 0; J < Calc->N; ++J)
            if (!F->InputB->Cells(J, 1).empty())
                return false;
        for (int I = 1; I <= Calc->M; ++I)
            for (int J = 1; J <= Calc->N; ++J)
                if (!F->InputC->Cells(J, I).empty())
                    return false;
        return true;
    }
};

// The boxes and grids where their alignment puts them, sized for the problem.
TEST_F(InputABCUnitTest, ShowsOneByOneTablesInTheLayoutsPlaces) {
    TInputABCForm* F = InputABCForm;
    const int Result = Open(1, 1, [F] {
        EXPECT_EQ(F->windowTitle(), "Kelvur - Input Data");
        EXPECT_EQ(F->InputCBox->geometry(), QRect(0, 152, 419, 233));
        EXPECT_EQ(F->ButtonsPanel->geometry(), QRect(0, 385, 419, 32));
        EXPECT_EQ(F->InputA->geometry(), QRect(2, 15, 415, 59));
        EXPECT_EQ(F->InputC->geometry(), QRect(2, 15, 415, 216));
        EXPECT_EQ(F->OkButton->text(), "OK");
        EXPECT_EQ(F->CancelButton->text(), "Cancel");
        EXPECT_EQ(F->InputABox->title(), "Stocks");
        EXPECT_EQ(F->InputBBox->title(), "Demands");
        EXPECT_EQ(F->InputCBox->title(), "Transport Costs");

        EXPECT_EQ(F->InputA->ColCount(), 1);
        EXPECT_EQ(F->InputA->RowCount(), 2);
        EXPECT_EQ(F->InputB->ColCount(), 1);
        EXPECT_EQ(F->InputC->ColCount(), 2);
        EXPECT_EQ(F->InputC->RowCount(), 2);
        EXPECT_EQ(F->InputA->Cells(0, 0), "1");
        EXPECT_EQ(F->InputB->Cells(0, 0), "1");
        EXPECT_EQ(F->InputC->Cells(1, 0), "1");
        EXPECT_EQ(F->InputC->Cells(0, 1), "1");
        EXPECT_EQ(F->InputC->Cells(0, 0), "");

        // The tab sequence: the three grids, OK, Cancel, and round again.
        EXPECT_TRUE(WaitFor([F] { return F->InputA->Editor()->hasFocus(); }));
        // The start's choice, new, comes after them.
        const std::vector<QWidget*> Sequence{F->InputB->Editor(), F->InputC->Editor(),
                                             F->OkButton,         F->CancelButton,
                                             F->StartBox,         F->InputA->Editor()};
        for (QWidget* Next : Sequence) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), Next);
        }
        Click(F->CancelButton);
    });
    EXPECT_EQ(Result, mrCancel);
}

TEST_F(InputABCUnitTest, EveryOpeningStartsBlankAtTheFirstCellWhateverTheLastLeft) {
    TInputABCForm* F = InputABCForm;
    EXPECT_EQ(Open(500, 500,
                   [F] {
                       EXPECT_EQ(F->InputA->ColCount(), 500);
                       EXPECT_EQ(F->InputB->ColCount(), 500);
                       EXPECT_EQ(F->InputC->ColCount(), 501);
                       EXPECT_EQ(F->InputC->RowCount(), 501);
                       EXPECT_EQ(F->InputC->Cells(500, 0), "500");
                       EXPECT_EQ(F->InputC->Cells(0, 500), "500");
                       EXPECT_EQ(F->InputA->Cells(499, 0), "500");
                       Type(F->InputC, 400, 300, "8");
                       Type(F->InputA, 250, 1, "9");
                       Click(F->CancelButton);
                   }),
              mrCancel);
    EXPECT_EQ(Open(500, 500,
                   [F] {
                       EXPECT_TRUE(AllEntriesBlank());
                       EXPECT_EQ(F->InputC->LeftCol(), 1);
                       EXPECT_EQ(F->InputC->TopRow(), 1);
                       EXPECT_EQ(F->InputA->LeftCol(), 0);
                       EXPECT_EQ(F->InputC->Col(), 1);
                       EXPECT_EQ(F->InputC->Row(), 1);
                       Type(F->InputC, 2, 2, "5");
                       Click(F->OkButton);
                   }),
              mrOk);
    EXPECT_EQ(Calc->GetC(2, 2), 5.0);
    EXPECT_EQ(Open(2, 3,
                   [F] {
                       EXPECT_TRUE(AllEntriesBlank());
                       EXPECT_EQ(F->InputC->ColCount(), 4);
                       EXPECT_EQ(F->InputC->RowCount(), 3);
                       Click(F->CancelButton);
                   }),
              mrCancel);
}

// OK converts a typed cell into its place in the store, or into 0 when the text is not a
// number; every other cell of the 3 x 4 table is blank and stores 0.
struct TTyped {
    char Grid;
    int Col, Row;
    const char* Text;
    double Stored;
};
class TypedCell : public InputABCUnitTest, public testing::WithParamInterface<TTyped> {};

TEST_P(TypedCell, IsStoredAtItsPlaceAsTheNumberItReads) {
    const TTyped& Cell = GetParam();
    TInputABCForm* F = InputABCForm;
    FillStore(-99.0);
    TStringGrid* Grid = Cell.Grid == 'A' ? F->InputA : Cell.Grid == 'B' ? F->InputB : F->InputC;
    // Typed last, and its editor still open when OK is pressed.
    EXPECT_EQ(Open(3, 4,
                   [&] {
                       Type(Grid, Cell.Col, Cell.Row, Cell.Text);
                       Click(F->OkButton);
                   }),
              mrOk);
    TProblem Expected(3, 4);
    if (Cell.Grid == 'A')
        Expected.Stock(Cell.Col + 1) = Cell.Stored;
    else if (Cell.Grid == 'B')
        Expected.Demand(Cell.Col + 1) = Cell.Stored;
    else
        Expected.Cost(Cell.Row, Cell.Col) = Cell.Stored;
    EXPECT_EQ(StoredProblem(*Calc), Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TypedCell,
    testing::Values(TTyped{'A', 0, 1, "12", 12}, TTyped{'A', 1, 1, "   7", 7},
                    TTyped{'A', 2, 1, "+3", 3}, TTyped{'B', 0, 1, "-4", -4},
                    TTyped{'B', 1, 1, "1.5e2", 150}, TTyped{'B', 2, 1, "2E-1", 0.2},
                    TTyped{'B', 3, 1, ".5", 0.5}, TTyped{'C', 1, 1, "5 ", 0},
                    TTyped{'C', 2, 1, "3,5", 0}, TTyped{'C', 3, 1, "abc", 0},
                    TTyped{'C', 4, 1, "5.", 5}, TTyped{'C', 2, 2, "-0.25", -0.25},
                    TTyped{'C', 3, 2, "1e", 0}, TTyped{'C', 4, 2, "+", 0},
                    TTyped{'C', 1, 3, "0x10", 0}, TTyped{'C', 4, 3, "42", 42}));

TEST_F(InputABCUnitTest, OkWithBlankCellsStoresZeros) {
    FillStore(-99.0);
    EXPECT_EQ(Open(3, 3, [] { Click(InputABCForm->OkButton); }), mrOk);
    ExpectStoreHolds(0.0);
}

TEST_F(InputABCUnitTest, CancelAndTheTitleBarLeaveTheStoreUntouched) {
    TInputABCForm* F = InputABCForm;
    FillStore(-99.0);
    EXPECT_EQ(Open(3, 3,
                   [F] {
                       Type(F->InputA, 0, 1, "1");
                       Type(F->InputC, 1, 1, "2");
                       Click(F->CancelButton);
                   }),
              mrCancel);
    ExpectStoreHolds(-99.0);
    EXPECT_EQ(Open(3, 3,
                   [F] {
                       Type(F->InputB, 0, 1, "3");
                       F->close();
                   }),
              mrCancel);
    ExpectStoreHolds(-99.0);
}

TEST_F(InputABCUnitTest, NeitherEnterNorEscapeClosesTheWindow) {
    TInputABCForm* F = InputABCForm;
    EXPECT_EQ(Open(2, 2,
                   [F] {
                       Type(F->InputA, 0, 1, "4");
                       QTest::keyClick(F->InputA->Editor(), Qt::Key_Return);
                       QTest::keyClick(F->InputA->Editor(), Qt::Key_Escape);
                       EXPECT_TRUE(F->isVisible());
                       EXPECT_EQ(F->InputA->Cells(0, 1), "4");
                       Click(F->OkButton);
                   }),
              mrOk);
    EXPECT_EQ(Calc->GetA(1), 4.0);
}

TEST_F(InputABCUnitTest, ResizingKeepsTheButtonsAtTheRightAndTheGridsFollow) {
    TInputABCForm* F = InputABCForm;
    Open(2, 2, [F] {
        F->resize(519, 517);
        EXPECT_EQ(F->OkButton->x(), 356);
        EXPECT_EQ(F->CancelButton->x(), 442);
        EXPECT_EQ(F->RandomButton->x(), 4);
        EXPECT_TRUE(WaitFor([F] { return F->ButtonsPanel->geometry() == QRect(0, 485, 519, 32); }));
        EXPECT_EQ(F->InputCBox->geometry(), QRect(0, 152, 519, 333));
        EXPECT_TRUE(WaitFor([F] { return F->InputC->width() == 515; }));
        F->resize(419, 417);
        EXPECT_EQ(F->OkButton->x(), 256);
        Click(F->CancelButton);
    });
}

TEST_F(InputABCUnitTest, TheRandomButtonShowsASunAndAGreyedImageWhenDisabled) {
    const TSpeedButton* Button = InputABCForm->RandomButton;
    EXPECT_EQ(Button->toolTip(), "Randomize (Ctrl+R)");
    EXPECT_EQ(Button->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(Button->autoRaise());
    const QImage Normal = Button->icon().pixmap(16, 16, QIcon::Normal).toImage();
    const QImage Disabled = Button->icon().pixmap(16, 16, QIcon::Disabled).toImage();
    ASSERT_EQ(Normal.size(), QSize(16, 16));
    const QColor Centre = Normal.pixelColor(7, 7);
    EXPECT_GT(Centre.red(), 200);
    EXPECT_GT(Centre.green(), 150);
    EXPECT_LT(Centre.blue(), 80);
    int Shape = 0;
    for (int Y = 0; Y < 16; ++Y)
        for (int X = 0; X < 16; ++X) {
            const QColor Pixel = Disabled.pixelColor(X, Y);
            if (Pixel.alpha() == 0)
                continue;
            ++Shape;
            EXPECT_EQ(Pixel.red(), Pixel.green());
            EXPECT_EQ(Pixel.green(), Pixel.blue());
        }
    EXPECT_GT(Shape, 20);
}

TEST_F(InputABCUnitTest, BlocksPastedFromASpreadsheetAreConvertedAtOkLikeTypedText) {
    TInputABCForm* F = InputABCForm;
    const TRegion Region(QLocale::English);
    FillStore(-99.0);
    const int Result = Open(3, 3, [F] {
        PasteAt(F->InputA, 0, 1, "4\t5\t6\t7\r\n");
        Type(F->InputB, 1, 1, "");
        QGuiApplication::clipboard()->setText("8");
        QTest::keyClick(F->InputB->Editor(), Qt::Key_Insert, Qt::ShiftModifier);
        // A block from the second cost row on, wider and longer than the table.
        PasteAt(F->InputC, 1, 2, "1\t2,5\tx\t9\n3\t\t 4\n5\n");
        EXPECT_EQ(F->InputC->Editor()->text(), "1");
        EXPECT_EQ(F->InputC->Cells(0, 3), "3");
        EXPECT_EQ(F->InputC->Cells(1, 3), "3");
        Click(F->OkButton);
    });
    EXPECT_EQ(Result, mrOk);
    EXPECT_EQ(Calc->GetA(1), 4.0);
    EXPECT_EQ(Calc->GetA(3), 6.0);
    EXPECT_EQ(Calc->GetB(1), 0.0);
    EXPECT_EQ(Calc->GetB(2), 8.0);
    const double Costs[3][3] = {{0, 0, 0}, {1, 0, 0}, {3, 0, 4}};
    for (int I = 1; I <= 3; ++I)
        for (int J = 1; J <= 3; ++J)
            EXPECT_EQ(Calc->GetC(I, J), Costs[I - 1][J - 1]) << "cost " << I << ", " << J;
}

// Cells that will store 0 at OK although they hold text: marked, and only those.
std::vector<std::string> MarkedCells(const TStringGrid* Grid) {
    std::vector<std::string> Marked;
    for (int Row = Grid->FixedRows(); Row < Grid->RowCount(); ++Row)
        for (int Col = Grid->FixedCols(); Col < Grid->ColCount(); ++Col)
            if (Grid->CellMarked(Col, Row))
                Marked.push_back(Grid->Cells(Col, Row));
    return Marked;
}

// Whether the rendering of the cell has red text in it.
bool DrawnRed(TStringGrid* Grid, int Col, int Row) {
    const QImage Cell = Grid->viewport()->grab(Grid->CellRect(Col, Row)).toImage();
    for (int Y = 0; Y < Cell.height(); ++Y)
        for (int X = 0; X < Cell.width(); ++X) {
            const QColor Pixel = Cell.pixelColor(X, Y);
            if (Pixel.red() > 150 && Pixel.green() < 90 && Pixel.blue() < 90)
                return true;
        }
    return false;
}

TEST_F(InputABCUnitTest, PastedDecimalCommasOfACommaRegionBecomePointsAndTextStaysMarked) {
    TInputABCForm* F = InputABCForm;
    const TRegion Region(QLocale::German);
    const int Result = Open(2, 3, [F] {
        PasteAt(F->InputA, 0, 1, "4,25\n");
        EXPECT_EQ(F->InputA->Editor()->text(), "4.25");
        // A mixed block: commas, points, a thousands point, a word, an exponent.
        PasteAt(F->InputC, 1, 1, "2,5\t3.5\t7\r\n1.234,5\tx\t-1,5E1\r\n");
        EXPECT_EQ(F->InputC->Cells(1, 1), "2.5");
        EXPECT_EQ(F->InputC->Cells(1, 2), "1234.5");
        EXPECT_EQ(F->InputC->Cells(3, 2), "-1.5E1");
        EXPECT_EQ(MarkedCells(F->InputC), (std::vector<std::string>{"x"}));
        EXPECT_TRUE(MarkedCells(F->InputA).empty());
        const QModelIndex Word = F->InputC->model()->index(1, 1);
        EXPECT_EQ(Word.data(Qt::ToolTipRole).toString(), "Not a number: counts as 0");
        // A screen reader gets the same as the cell's description, when the focus reaches it.
        QAccessibleTableInterface* Table =
            QAccessible::queryAccessibleInterface(F->InputC)->tableInterface();
        EXPECT_EQ(Table->cellAt(1, 1)->text(QAccessible::Description), "Not a number: counts as 0");
        EXPECT_EQ(Table->cellAt(0, 0)->text(QAccessible::Description), "");
        EXPECT_FALSE(F->InputC->model()->index(0, 0).data(Qt::ToolTipRole).isValid());
        EXPECT_TRUE(DrawnRed(F->InputC, 2, 2));
        EXPECT_FALSE(DrawnRed(F->InputC, 2, 1));
        Click(F->OkButton);
    });
    // Nothing refused: OK closes and the marked cells count as 0.
    EXPECT_EQ(Result, mrOk);
    EXPECT_EQ(Calc->GetA(1), 4.25);
    const double Costs[2][3] = {{2.5, 3.5, 7}, {1234.5, 0, -15}};
    for (int I = 1; I <= 2; ++I)
        for (int J = 1; J <= 3; ++J)
            EXPECT_EQ(Calc->GetC(I, J), Costs[I - 1][J - 1]) << "cost " << I << ", " << J;
}

TEST_F(InputABCUnitTest, InAPointRegionCommasStayAndTheCellBeingTypedIsMarkedWhileUnreadable) {
    TInputABCForm* F = InputABCForm;
    const TRegion Region(QLocale::English);
    const int Result = Open(2, 3, [F] {
        PasteAt(F->InputB, 0, 1, "2,5\t3.5\t1,000");
        EXPECT_EQ(MarkedCells(F->InputB), (std::vector<std::string>{"2,5", "1,000"}));

        Type(F->InputA, 1, 1, "1");
        QLineEdit* Editor = F->InputA->Editor();
        const QColor Plain = Editor->palette().color(QPalette::Text);
        EXPECT_TRUE(Editor->toolTip().isEmpty());
        QTest::keyClicks(Editor, "x");
        EXPECT_NE(Editor->palette().color(QPalette::Text), Plain);
        EXPECT_EQ(Editor->toolTip(), "Not a number: counts as 0");
        EXPECT_EQ(Editor->accessibleDescription(), "Not a number: counts as 0");
        QTest::keyClick(Editor, Qt::Key_Backspace);
        EXPECT_EQ(Editor->palette().color(QPalette::Text), Plain);
        EXPECT_TRUE(Editor->toolTip().isEmpty());
        // Typed commas are never rewritten; left so, the cell stays marked after the editor moves.
        QTest::keyClicks(Editor, ",5");
        Type(F->InputA, 0, 1, "");
        EXPECT_TRUE(DrawnRed(F->InputA, 1, 1));
        Click(F->OkButton);
    });
    EXPECT_EQ(Result, mrOk);
    EXPECT_EQ(Calc->GetA(2), 0.0);
    EXPECT_EQ(Calc->GetB(1), 0.0);
    EXPECT_EQ(Calc->GetB(2), 3.5);
}

// A number pasted into a cell lands as the region means it, or stays as it came and is marked.
struct TPasted {
    QLocale::Language Region;
    const char* Pasted;
    const char* Landed;
    bool Marked;
    double Stored;
};
class PastedNumbers : public InputABCUnitTest, public testing::WithParamInterface<TPasted> {};

TEST_P(PastedNumbers, LandAsTheRegionWritesThemOrStayMarked) {
    const TPasted& Row = GetParam();
    const TRegion Region(Row.Region);
    std::string Landed;
    bool Marked = false;
    EXPECT_EQ(Open(1, 1,
                   [&] {
                       PasteAt(InputABCForm->InputC, 1, 1, Row.Pasted);
                       Landed = InputABCForm->InputC->Cells(1, 1);
                       Marked = InputABCForm->InputC->CellMarked(1, 1);
                       Click(InputABCForm->OkButton);
                   }),
              mrOk);
    EXPECT_EQ(Landed, Row.Landed);
    EXPECT_EQ(Marked, Row.Marked);
    EXPECT_EQ(Calc->GetC(1, 1), Row.Stored);
}

INSTANTIATE_TEST_SUITE_P(Table, PastedNumbers,
                         testing::Values(
                             // Where the comma is the decimal mark, the full stop groups thousands.
                             TPasted{QLocale::German, "1.000", "1000", false, 1000},
                             TPasted{QLocale::German, "12.345.678", "12345678", false, 12345678},
                             TPasted{QLocale::German, "1.000,5", "1000.5", false, 1000.5},
                             TPasted{QLocale::German, " 3,25 ", "3.25", false, 3.25},
                             // A full stop that groups no thousands is the decimal point.
                             TPasted{QLocale::German, "1.00", "1.00", false, 1},
                             TPasted{QLocale::German, "1.0000", "1.0000", false, 1},
                             TPasted{QLocale::German, "1.234.5", "1.234.5", true, 0},
                             // Where the full stop is the decimal mark, pasted text is what it is.
                             TPasted{QLocale::C, "1.000", "1.000", false, 1},
                             TPasted{QLocale::C, "1,000", "1,000", true, 0},
                             TPasted{QLocale::C, "2,5", "2,5", true, 0}));

TEST_F(InputABCUnitTest, UndoTakesBackAPasteOrAFillAndRedoBringsItAgain) {
    TInputABCForm* F = InputABCForm;
    std::vector<std::string> Seen;
    const auto Costs = [F, &Seen] {
        std::string Row;
        for (int Col = 1; Col <= 3; ++Col)
            Row += F->InputC->Cells(Col, 1) + ";";
        Seen.push_back(Row);
    };
    RandomForm->ARangeEdit->setText("1");
    RandomForm->CRangeEdit->setText("1");
    EXPECT_EQ(Open(1, 3,
                   [&] {
                       Type(F->InputC, 1, 1, "5");
                       PasteAt(F->InputC, 2, 1, "7\t8");
                       Costs();
                       Press("Ctrl+Z");
                       Costs();
                       Press("Ctrl+Y");
                       Costs();
                       WhenModal(RandomForm, [] { Click(RandomForm->OkButton); });
                       Click(F->RandomButton);
                       Costs();
                       // The fill is undone from the button that has the focus, too.
                       F->OkButton->setFocus();
                       Press("Ctrl+Z");
                       Costs();
                       Type(F->InputC, 1, 1, "");
                       Press("Ctrl+Z Ctrl+Z");
                       Costs();
                       Press("Ctrl+Shift+Z");
                       Costs();
                       Click(F->OkButton);
                   }),
              mrOk);
    EXPECT_EQ(Seen, (std::vector<std::string>{"5;7;8;", "5;;;", "5;7;8;", "1;1;1;", "5;7;8;", ";;;",
                                              "5;;;"}));
    EXPECT_EQ(Calc->GetC(1, 1), 5.0);
    RandomForm->ARangeEdit->setText("5");
    RandomForm->CRangeEdit->setText("5");
}

// Typed row by row, a table never runs one row's numbers into another's cells.
TEST_F(InputABCUnitTest, TypingRowByRowWrapsAtTheEndsOfTheRows) {
    EXPECT_EQ(Open(2, 3,
                   [] {
                       ASSERT_TRUE(Press("30 Right 20 Tab 10 Right 25 Right 15 Tab "
                                         "8 Right 6 Right 10 Right 9 Right 12 Right 13 Right 14 "
                                         "Ctrl+Home 7 Enter 8 Left Left 11 Tab"));
                       EXPECT_TRUE(InputABCForm->OkButton->hasFocus());
                       Click(InputABCForm->OkButton);
                   }),
              mrOk);
    EXPECT_EQ(StoredProblem(*Calc),
              (TProblem{2, 3, {30, 20}, {10, 25, 15}, {7, 6, 11, 8, 12, 1314}}));
}

// Problem files by keyboard: Ctrl+O opens one into the tables (its sizes too) and a refused one
// keeps every typed cell; Ctrl+S saves the tables as a table, a tab-separated table or a linear
// program, and names a cell that is not a number instead of saving it; Ctrl+L brings back the
// problem of the last OK; a file dropped on the window opens.
class ProblemFiles : public InputABCUnitTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(Folder.isValid());
        SetFileQuestions(
            [this](QWidget*, const QString&, const QString&, const QString&) { return Answer; },
            [this](QWidget*, const QString&, const QString&, const QString&) {
                ++SaveQuestions;
                return Answer;
            });
    }
    void TearDown() override { SetFileQuestions(nullptr, nullptr); }

    QString File(const char* Name, const std::string& Text = {}) {
        const QString Path = Folder.filePath(Name);
        if (!Text.empty())
            WriteFileSafely(Path.toStdString(), Text);
        return Path;
    }
    static std::string Read(const QString& Path) {
        std::ifstream In(Path.toStdString(), std::ios::binary);
        return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
    }
    // Presses a flat button's key, which clicks it a moment later, and waits until Done.
    static bool PressAndWait(const char* Keys, const std::function<bool()>& Done) {
        return Press(Keys) && WaitFor(Done);
    }
    // Presses the keys and answers the error box they bring.
    static QString PressForError(const char* Keys) {
        QString Message;
        WhenMessageBox(Message);
        EXPECT_TRUE(PressAndWait(Keys, [&] { return !Message.isEmpty(); }));
        return Message;
    }

    QTemporaryDir Folder;
    QString Answer;
    int SaveQuestions = 0;
    const TProblem Problem{2, 3, {30, 20}, {10, 25, 15}, {8, 6, 10, 9, 12, 13.5}};
};

TEST_F(ProblemFiles, OpenTakesTheFileWithItsSizesAndARefusedFileKeepsTheCells) {
    Answer = File("bad.csv", "1,2,3\n4,x,6\n");
    QString Refused;
    TProblem Opened;
    EXPECT_EQ(Open(1, 1,
                   [&] {
                       Type(InputABCForm->InputA, 0, 1, "9");
                       Refused = PressForError("Ctrl+O");
                       EXPECT_EQ(InputABCForm->InputA->Cells(0, 1), "9");
                       Answer = File("good.csv", ProblemTableText(Problem));
                       PressAndWait("Ctrl+O", [] { return InputABCForm->RowsShown() == 2; });
                       Opened = InputABCForm->EnteredProblem();
                       EXPECT_EQ(InputABCForm->RowsShown(), 2);
                       EXPECT_EQ(InputABCForm->ColsShown(), 3);
                       // Undone whole, like a fill.
                       Press("Ctrl+Z");
                       EXPECT_EQ(InputABCForm->InputA->Cells(0, 1), "");
                       Press("Ctrl+Y");
                       Click(InputABCForm->OkButton);
                   }),
              mrOk);
    EXPECT_EQ(Refused, "Error: line 2, column 3: expected a number for demand 2, found \"x\"");
    EXPECT_EQ(Opened, Problem);
    EXPECT_EQ(StoredProblem(*Calc), Problem);
}

TEST_F(ProblemFiles, SaveWritesWhatTheTablesHoldOrNamesTheCellThatIsNoNumber) {
    QString Refused;
    std::string Table, Tabbed, Program;
    EXPECT_EQ(Open(2, 3,
                   [&] {
                       InputABCForm->ShowProblem(Problem);
                       Type(InputABCForm->InputC, 2, 1, "abc");
                       Refused = PressForError("Ctrl+S");
                       // The refused cell has the focus, to be mended at once.
                       TStringGrid* C = InputABCForm->InputC;
                       EXPECT_TRUE(WaitFor([C] { return C->Editor()->hasFocus(); }));
                       EXPECT_EQ(C->Col(), 2);
                       Press("Ctrl+A 6");
                       for (const char* Name : {"p.csv", "p.tsv", "p.lp"}) {
                           Answer = File(Name);
                           PressAndWait("Ctrl+S", [this] { return QFile::exists(Answer); });
                       }
                       Click(InputABCForm->CancelButton);
                   }),
              mrCancel);
    EXPECT_EQ(Refused, "Error: The cost from supplier 1 to consumer 2, \"abc\", is not a "
                       "number: nothing was saved.");
    EXPECT_EQ(SaveQuestions, 3);
    EXPECT_EQ(ReadProblemText(Read(File("p.csv"))), Problem);
    EXPECT_EQ(ReadProblemText(Read(File("p.tsv"))), Problem);
    EXPECT_NE(Read(File("p.tsv")).find("Supplier 1\t8\t6\t10\t30"), std::string::npos);
    EXPECT_EQ(Read(File("p.lp")), ProblemLpText(Problem));
}

TEST_F(ProblemFiles, CtrlLBringsBackTheLastProblemWithItsSizesAndADropOpensAFile) {
    EXPECT_EQ(Open(2, 3,
                   [&] {
                       InputABCForm->ShowProblem(Problem);
                       Click(InputABCForm->OkButton);
                   }),
              mrOk);
    TProblem Back, Dropped;
    const TProblem Small{1, 1, {4}, {4}, {2}};
    EXPECT_EQ(Open(1, 1,
                   [&] {
                       EXPECT_EQ(InputABCForm->InputA->Cells(0, 1), "");
                       PressAndWait("Ctrl+L", [] { return InputABCForm->RowsShown() == 2; });
                       Back = InputABCForm->EnteredProblem();
                       EXPECT_TRUE(
                           DropFile(InputABCForm, File("small.csv", ProblemTableText(Small))));
                       Dropped = InputABCForm->EnteredProblem();
                       Click(InputABCForm->CancelButton);
                   }),
              mrCancel);
    EXPECT_EQ(Back, Problem);
    EXPECT_EQ(Dropped, Small);
}

// The choice of start: north-west at first, reached by Alt+S and named for a screen reader,
// kept from one opening to the next.
TEST_F(InputABCUnitTest, TheStartIsChosenByKeyboardAndKeptBetweenOpenings) {
    std::vector<TStart> Chosen;
    for (const char* Keys : {"", "Alt+S Down Down", ""})
        EXPECT_EQ(Open(1, 1,
                       [&] {
                           Press(Keys);
                           Chosen.push_back(InputABCForm->ChosenStart());
                           Click(InputABCForm->CancelButton);
                       }),
                  mrCancel);
    EXPECT_EQ(Chosen, (std::vector<TStart>{TStart::NorthWest, TStart::Vogel, TStart::Vogel}));
    EXPECT_EQ(InputABCForm->StartBox->accessibleName(), "Start:");
    InputABCForm->StartBox->setCurrentIndex(0);
}

} // namespace
