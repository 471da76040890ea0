#include "StringGrid.h"
#include "Toolkit.h"
#include "WindowTestSupport.h"

#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

// A window with two editing grids and a button, the way the data-entry window holds them.
class StringGridTest : public testing::Test {
protected:
    void SetUp() override {
        Form = std::make_unique<TForm>(TBorderStyle::Sizeable);
        Form->SetClientSize(300, 300);
        First = new TStringGrid(Form.get());
        SetBounds(First, 0, 0, 300, 120);
        First->SetDefaultColWidth(40);
        First->SetDefaultRowHeight(20);
        First->SetColCount(21);
        First->SetRowCount(21);
        First->SetEditing(true);
        Second = new TStringGrid(Form.get());
        SetBounds(Second, 0, 130, 300, 120);
        Second->SetEditing(true);
        Button = new TButton(Form.get(), "OK");
        SetBounds(Button, 10, 260, 75, 25);
        QWidget::setTabOrder(First, Second);
        QWidget::setTabOrder(Second, Button);
        Form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    }

    void ClickCell(TStringGrid* Grid, int Col, int Row) {
        QTest::mouseClick(Grid->viewport(), Qt::LeftButton, {}, Grid->CellRect(Col, Row).center());
    }

    std::unique_ptr<TForm> Form;
    TStringGrid* First = nullptr;
    TStringGrid* Second = nullptr;
    TButton* Button = nullptr;
};

TEST_F(StringGridTest, CellsAreAddressedColumnFirstWithTheFixedOnesInTheHeaders) {
    First->SetCells(3, 0, "three");
    First->SetCells(0, 2, "two");
    First->SetCells(3, 2, "inner");
    EXPECT_EQ(First->Cells(3, 2), "inner");
    EXPECT_EQ(First->horizontalHeader()->model()->headerData(2, Qt::Horizontal).toString(),
              "three");
    EXPECT_EQ(First->verticalHeader()->model()->headerData(1, Qt::Vertical).toString(), "two");
    EXPECT_EQ(First->model()->data(First->model()->index(1, 2)).toString(), "inner");
    EXPECT_THROW(First->Cells(21, 0), std::out_of_range);
    EXPECT_THROW(First->SetCells(0, -1, "x"), std::out_of_range);
}

TEST_F(StringGridTest, ResizingKeepsTheCellsInsideBothSizesAndTheColumnWidths) {
    First->SetCells(2, 3, "kept");
    First->SetCells(20, 3, "dropped");
    First->SetColWidths(2, 55);
    First->SetColCount(10);
    First->SetRowCount(30);
    EXPECT_EQ(First->Cells(2, 3), "kept");
    EXPECT_EQ(First->Cells(9, 29), "");
    EXPECT_EQ(First->horizontalHeader()->sectionSize(1), 55);
    First->SetColCount(21);
    EXPECT_EQ(First->Cells(20, 3), "");
    EXPECT_EQ(First->horizontalHeader()->sectionSize(1), 55);
    EXPECT_EQ(First->horizontalHeader()->sectionSize(19), 40);
    First->SetDefaultColWidth(30);
    EXPECT_EQ(First->ColWidths(2), 30);
}

TEST_F(StringGridTest, EveryChangeInTheEditorIsInTheCellAtOnce) {
    ClickCell(First, 2, 3);
    ASSERT_EQ(First->Col(), 2);
    ASSERT_EQ(First->Row(), 3);
    QLineEdit* Editor = First->Editor();
    ASSERT_NE(Editor, nullptr);
    EXPECT_TRUE(Editor->hasFocus());
    QTest::keyClicks(Editor, "12.5");
    EXPECT_EQ(First->Cells(2, 3), "12.5");
    QTest::keyClick(Editor, Qt::Key_Backspace);
    EXPECT_EQ(First->Cells(2, 3), "12.");
    // The editor is not rewritten from the cell: the caret stays where the user put it.
    QTest::keyClick(Editor, Qt::Key_Home);
    QTest::keyClicks(Editor, "9");
    EXPECT_EQ(First->Cells(2, 3), "912.");
    EXPECT_EQ(Editor->cursorPosition(), 1);
}

TEST_F(StringGridTest, TheEditorFollowsTheCurrentCellAndShowsItsText) {
    First->SetCells(1, 2, "below");
    ClickCell(First, 1, 1);
    QLineEdit* Editor = First->Editor();
    QTest::keyClicks(Editor, "above");
    QTest::keyClick(Editor, Qt::Key_Down);
    EXPECT_EQ(First->Row(), 2);
    EXPECT_EQ(Editor->text(), "below");
    EXPECT_EQ(Editor->geometry(), First->CellRect(1, 2));
    EXPECT_TRUE(Editor->hasFocus());
    // Left and Right move the caret, not the cell.
    QTest::keyClick(Editor, Qt::Key_Left);
    QTest::keyClick(Editor, Qt::Key_Right);
    EXPECT_EQ(First->Col(), 1);
    QTest::keyClick(Editor, Qt::Key_Up);
    EXPECT_EQ(Editor->text(), "above");
    EXPECT_EQ(First->Cells(1, 1), "above");
    EXPECT_EQ(First->Cells(1, 2), "below");
}

TEST_F(StringGridTest, TextSetByTheProgramReachesTheOpenEditor) {
    ClickCell(First, 3, 3);
    First->SetCells(3, 3, "42");
    EXPECT_EQ(First->Editor()->text(), "42");
    First->SetCells(4, 3, "elsewhere");
    EXPECT_EQ(First->Editor()->text(), "42");
}

TEST_F(StringGridTest, TabLeavesTheGridAndTheEditorStaysOpen) {
    ClickCell(First, 2, 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Second->Editor());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Button);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), First->Editor());
    EXPECT_EQ(First->Col(), 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), Button);
    EXPECT_NE(First->Editor(), nullptr);
}

TEST_F(StringGridTest, OnlyOneCellIsSelectedAtATime) {
    ClickCell(First, 1, 1);
    QTest::mouseClick(First->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      First->CellRect(3, 3).center());
    QTest::mouseClick(First->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      First->CellRect(4, 2).center());
    EXPECT_EQ(First->selectionModel()->selectedIndexes().size(), 1);
    // A click on a fixed cell selects no row or column.
    QTest::mouseClick(First->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(First->selectionModel()->selectedIndexes().size(), 1);
}

TEST_F(StringGridTest, ColumnsAndRowsCannotBeResizedOrMovedWithTheMouse) {
    QHeaderView* Header = First->horizontalHeader();
    // Drag the border between the first two scrolling columns, then the first column itself.
    for (const QPoint& From : {QPoint(39, 10), QPoint(20, 10)}) {
        QTest::mousePress(Header->viewport(), Qt::LeftButton, {}, From);
        QTest::mouseMove(Header->viewport(), From + QPoint(30, 0));
        QTest::mouseRelease(Header->viewport(), Qt::LeftButton, {}, From + QPoint(30, 0));
    }
    EXPECT_EQ(Header->sectionSize(0), 40);
    EXPECT_EQ(Header->visualIndex(0), 0);
    QHeaderView* Side = First->verticalHeader();
    QTest::mousePress(Side->viewport(), Qt::LeftButton, {}, QPoint(10, 19));
    QTest::mouseMove(Side->viewport(), QPoint(10, 45));
    QTest::mouseRelease(Side->viewport(), Qt::LeftButton, {}, QPoint(10, 45));
    EXPECT_EQ(Side->sectionSize(0), 20);
}

TEST_F(StringGridTest, TheViewScrollsWhileTheThumbIsDragged) {
    QScrollBar* Bar = First->horizontalScrollBar();
    QStyleOptionSlider Option;
    Option.initFrom(Bar);
    Option.orientation = Bar->orientation();
    Option.minimum = Bar->minimum();
    Option.maximum = Bar->maximum();
    Option.sliderPosition = Bar->sliderPosition();
    Option.sliderValue = Bar->value();
    Option.singleStep = Bar->singleStep();
    Option.pageStep = Bar->pageStep();
    const QRect Thumb = Bar->style()->subControlRect(QStyle::CC_ScrollBar, &Option,
                                                     QStyle::SC_ScrollBarSlider, Bar);
    QTest::mousePress(Bar, Qt::LeftButton, {}, Thumb.center());
    QTest::mouseMove(Bar, Thumb.center() + QPoint(60, 0));
    // Still held: the view has already moved.
    EXPECT_GT(First->LeftCol(), 1);
    EXPECT_EQ(First->columnAt(0) + First->FixedCols(), First->LeftCol());
    QTest::mouseRelease(Bar, Qt::LeftButton, {}, Thumb.center() + QPoint(60, 0));
}

TEST_F(StringGridTest, TypingIntoACellScrolledAwayBringsItBack) {
    ClickCell(First, 1, 1);
    First->SetLeftCol(15);
    First->SetTopRow(15);
    ASSERT_FALSE(First->viewport()->rect().contains(First->CellRect(1, 1)));
    QTest::keyClicks(First->Editor(), "7");
    EXPECT_EQ(First->Cells(1, 1), "7");
    EXPECT_TRUE(First->viewport()->rect().contains(First->CellRect(1, 1)));
    EXPECT_EQ(First->Editor()->geometry(), First->CellRect(1, 1));
}

TEST_F(StringGridTest, ScrollingShowsTheGivenFirstScrollingCell) {
    First->SetLeftCol(5);
    First->SetTopRow(7);
    EXPECT_EQ(First->LeftCol(), 5);
    EXPECT_EQ(First->TopRow(), 7);
    EXPECT_EQ(First->columnAt(0), 4);
    EXPECT_EQ(First->rowAt(0), 6);
}

TEST_F(StringGridTest, AGridWithoutEditingMovesItsCurrentCellByKey) {
    Second->SetEditing(false);
    EXPECT_EQ(Second->Editor(), nullptr);
    Second->setFocus();
    ASSERT_TRUE(WaitFor([&] { return Second->hasFocus(); }));
    Second->SetCurrentCell(1, 1);
    QTest::keyClick(Second, Qt::Key_Right);
    EXPECT_EQ(Second->Col(), 2);
    QTest::keyClicks(Second, "abc");
    EXPECT_EQ(Second->Cells(2, 1), "");
}

} // namespace

namespace {

// A 5 x 4 grid of scrolling cells below a fixed row and beside a fixed column, every cell
// marked with its address, the current cell at (3, 2).
class StringGridPasteTest : public testing::Test {
protected:
    void SetUp() override {
        Grid = std::make_unique<TStringGrid>(nullptr);
        Grid->SetColCount(6);
        Grid->SetRowCount(5);
        for (int Row = 0; Row < 5; ++Row)
            for (int Col = 0; Col < 6; ++Col)
                Grid->SetCells(Col, Row, Mark(Col, Row));
        Grid->SetCurrentCell(3, 2);
    }

    static std::string Mark(int Col, int Row) {
        return "c" + std::to_string(Col) + "r" + std::to_string(Row);
    }

    // The grid's cells as rows of texts, "." for a cell still holding its mark.
    std::vector<std::string> Changes() const {
        std::vector<std::string> Rows;
        for (int Row = 0; Row < Grid->RowCount(); ++Row) {
            std::string Line;
            for (int Col = 0; Col < Grid->ColCount(); ++Col) {
                const std::string& Cell = Grid->Cells(Col, Row);
                Line += (Col > 0 ? "|" : "") + (Cell == Mark(Col, Row) ? "." : Cell);
            }
            Rows.push_back(Line);
        }
        return Rows;
    }

    std::unique_ptr<TStringGrid> Grid;
};

struct TPasteCase {
    const char* Name;
    std::string Text;
    std::vector<std::string> Expected;
};

TEST_F(StringGridPasteTest, PastedBlocksFillCellsFromTheCurrentOneClippedAtTheEdges) {
    const std::vector<TPasteCase> Cases{
        {"single value",
         "7",
         {".|.|.|.|.|.", ".|.|.|.|.|.", ".|.|.|7|.|.", ".|.|.|.|.|.", ".|.|.|.|.|."}},
        {"single value and line end",
         "7\n",
         {".|.|.|.|.|.", ".|.|.|.|.|.", ".|.|.|7|.|.", ".|.|.|.|.|.", ".|.|.|.|.|."}},
        {"block",
         "1\t2\n3\t4\n",
         {".|.|.|.|.|.", ".|.|.|.|.|.", ".|.|.|1|2|.", ".|.|.|3|4|.", ".|.|.|.|.|."}},
        {"CR LF",
         "1\t2\r\n3\t4\r\n",
         {".|.|.|.|.|.", ".|.|.|.|.|.", ".|.|.|1|2|.", ".|.|.|3|4|.", ".|.|.|.|.|."}},
        {"ragged rows keep what they do not reach",
         "1\n2\t3\t4\n\n5\t",
         {".|.|.|.|.|.", ".|.|.|.|.|.", ".|.|.|1|.|.", ".|.|.|2|3|4", ".|.|.||.|."}},
        {"larger than the grid",
         "1\t2\t3\t4\n5\t6\t7\t8\n9\t10\t11\t12\n13\t14\t15\t16\n",
         {".|.|.|.|.|.", ".|.|.|.|.|.", ".|.|.|1|2|3", ".|.|.|5|6|7", ".|.|.|9|10|11"}},
        {"empty fields clear cells",
         "\t\n",
         {".|.|.|.|.|.", ".|.|.|.|.|.", ".|.|.|||.", ".|.|.|.|.|.", ".|.|.|.|.|."}},
        {"UTF-8 and blanks kept as typed",
         " 1,5 \t\xc3\xa9",
         {".|.|.|.|.|.", ".|.|.|.|.|.", ".|.|.| 1,5 |\xc3\xa9|.", ".|.|.|.|.|.", ".|.|.|.|.|."}},
        {"empty text changes nothing",
         "",
         {".|.|.|.|.|.", ".|.|.|.|.|.", ".|.|.|.|.|.", ".|.|.|.|.|.", ".|.|.|.|.|."}},
    };
    for (const TPasteCase& Case : Cases) {
        SetUp();
        Grid->PasteText(Case.Text);
        EXPECT_EQ(Changes(), Case.Expected) << Case.Name;
        EXPECT_EQ(Grid->Col(), 3) << Case.Name;
        EXPECT_EQ(Grid->Row(), 2) << Case.Name;
    }
}

TEST_F(StringGridPasteTest, TheWholeGridCopiesAsTabSeparatedRowsWithoutTheHiddenCorner) {
    Grid->SetColCount(3);
    Grid->SetRowCount(2);
    Grid->SetCells(2, 1, "");
    EXPECT_EQ(Grid->Text(), "\tc1r0\tc2r0\nc0r1\tc1r1\t\n");
    // Without a fixed column the first column is an ordinary one.
    Grid->SetFixedCols(0);
    EXPECT_EQ(Grid->Text(), "c0r0\tc1r0\tc2r0\nc0r1\tc1r1\t\n");
    // What is copied pastes back cell for cell.
    const std::string Copied = Grid->Text();
    auto Other = std::make_unique<TStringGrid>(nullptr);
    Other->SetColCount(3);
    Other->SetRowCount(3);
    Other->SetFixedCols(0);
    Other->SetFixedRows(0);
    Other->PasteText(Copied);
    for (int Col = 0; Col < 3; ++Col) {
        EXPECT_EQ(Other->Cells(Col, 0), Grid->Cells(Col, 0));
        EXPECT_EQ(Other->Cells(Col, 1), Grid->Cells(Col, 1));
    }
}

TEST_F(StringGridTest, PasteKeysInTheEditorFillTheGridAndTheEditorShowsTheNewText) {
    ClickCell(First, 19, 19);
    QLineEdit* Editor = First->Editor();
    QTest::keyClicks(Editor, "old");
    QGuiApplication::clipboard()->setText("1\t2\t3\r\n4\t5\t6\r\n");
    QTest::keyClick(Editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(First->Cells(19, 19), "1");
    EXPECT_EQ(First->Cells(20, 19), "2");
    EXPECT_EQ(First->Cells(20, 20), "5");
    EXPECT_EQ(Editor->text(), "1");
    EXPECT_EQ(First->Col(), 19);
    EXPECT_TRUE(Editor->hasFocus());

    QGuiApplication::clipboard()->setText("7\t8");
    QTest::keyClick(Editor, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(Editor->text(), "7");
    EXPECT_EQ(First->Cells(20, 19), "8");

    // A single value is typed text: in at the caret, and the cell follows the editor.
    QGuiApplication::clipboard()->setText("55\r\n");
    QTest::keyClick(Editor, Qt::Key_End);
    QTest::keyClick(Editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Editor->text(), "755");
    EXPECT_EQ(First->Cells(19, 19), "755");

    QGuiApplication::clipboard()->clear();
    QTest::keyClick(Editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(First->Cells(19, 19), "755");
    EXPECT_EQ(First->Cells(20, 20), "5");
}

TEST_F(StringGridTest, CopyKeysCopyTheCurrentCellOrTheWholeGrid) {
    ClickCell(First, 2, 3);
    QTest::keyClicks(First->Editor(), "12.5");
    QTest::keyClick(First->Editor(), Qt::Key_Home);
    QTest::keyClick(First->Editor(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "12.5");

    Second->SetEditing(false);
    Second->SetCopyScope(TStringGrid::TCopyScope::WholeGrid);
    Second->SetColCount(2);
    Second->SetRowCount(2);
    Second->SetCells(1, 0, "1");
    Second->SetCells(0, 1, "1");
    Second->SetCells(1, 1, "3.0");
    Second->setFocus();
    ASSERT_TRUE(WaitFor([&] { return Second->hasFocus(); }));
    QTest::keyClick(Second, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "\t1\n1\t3.0\n");
    // A grid without editing takes no paste.
    QTest::keyClick(Second, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Second->Cells(1, 1), "3.0");
}

TEST_F(StringGridPasteTest, AWholeGridCopyOffersAnHtmlTableBesideTheText) {
    Grid->SetColCount(3);
    Grid->SetRowCount(2);
    Grid->SetCells(1, 1, " 5.0");
    Grid->SetCells(2, 1, "a<b&c");
    Grid->SetCopyScope(TStringGrid::TCopyScope::WholeGrid);
    Grid->CopyToClipboard();
    const QMimeData* Copied = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(Copied, nullptr);
    EXPECT_EQ(Copied->text().toStdString(), Grid->Text());
    // The hidden corner is empty, the fixed cells are headers, texts are escaped.
    const std::string Html = Copied->html().toStdString();
    EXPECT_NE(Html.find("<tr><th></th><th>c1r0</th><th>c2r0</th></tr>\n"
                        "<tr><th>c0r1</th><td>5.0</td><td>a&lt;b&amp;c</td></tr>\n"),
              std::string::npos)
        << Html;
    EXPECT_NE(Html.find("charset=\"utf-8\""), std::string::npos);
}

// Grid lines stand out from the cells' background by at least 3:1, in a light theme and a dark.
double Luminance(const QColor& Colour) {
    double Sum = 0.0;
    const double Weights[] = {0.2126, 0.7152, 0.0722};
    const double Channels[] = {Colour.redF(), Colour.greenF(), Colour.blueF()};
    for (int K = 0; K < 3; ++K) {
        const double C = Channels[K];
        Sum += Weights[K] * (C <= 0.04045 ? C / 12.92 : std::pow((C + 0.055) / 1.055, 2.4));
    }
    return Sum;
}

TEST_F(StringGridTest, GridLinesStandOutFromTheCellsInLightAndDarkThemes) {
    QPalette Dark(QColor(45, 45, 48));
    Dark.setColor(QPalette::Base, QColor(30, 30, 30));
    Dark.setColor(QPalette::Text, QColor(220, 220, 220));
    for (const QPalette& Theme : {QApplication::palette(), Dark}) {
        First->setPalette(Theme);
        const QColor Line = QColor::fromRgba(
            QRgb(First->style()->styleHint(QStyle::SH_Table_GridLineColor, nullptr, First)));
        const double Back = Luminance(Theme.color(QPalette::Base)), Ink = Luminance(Line);
        EXPECT_GE((std::max(Back, Ink) + 0.05) / (std::min(Back, Ink) + 0.05), 3.0);
        // And the lines are drawn in it, at the right edge of a cell.
        const QRect Cell = First->CellRect(2, 2);
        const QImage Shot = First->viewport()->grab().toImage();
        EXPECT_EQ(Shot.pixelColor(Cell.right() + 1, Cell.center().y()), Line);
    }
}

} // namespace
