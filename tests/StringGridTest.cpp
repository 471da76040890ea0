#include "StringGrid.h"
#include "Toolkit.h"
#include "WindowTestSupport.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>

#include <gtest/gtest.h>

#include <memory>

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
