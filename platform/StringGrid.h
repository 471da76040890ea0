// A string grid: a table of cell texts addressed (column, row), both from 0, whose first row and
// first column can be fixed, so that they stay in place while the other cells scroll.
//
// The texts live in one flat vector, row by row, and the view draws only the cells on screen;
// no cell has an object of its own, so a 501 x 501 grid costs its texts and little more. The
// fixed row and column are drawn as the view's headers, the corner cell as its corner (its text
// is kept but not shown).
//
// With editing on, one editor stays open on the current cell and every change in it is in the
// cell at once. The grid is a single stop in the tab order: Tab leaves it, the arrow keys move
// between cells. Left and Right move the caret inside the editor's text and go on to the
// neighbouring cell from its start and its end (or when the whole text is selected); Home and
// End stay inside the text; Ctrl+Home and Ctrl+End go to the first and the last scrolling cell.
// A cell reached by a key opens with its whole text selected. A grid without editing moves its
// current cell by the same keys.
//
// A text wider than its column gives its full text as the cell's tooltip; a screen reader gets
// every cell's full text.
//
// Copy and paste speak the clipboard format of spreadsheets: tab-separated fields, one row per
// line. A paste fills the scrolling cells from the current cell on; Ctrl+C copies the current
// cell's text, or the whole grid as the copy scope says; a copy of the whole grid also offers
// it as an HTML table, which spreadsheets paste into cells without an import dialog.
//
// A cell check, when set, marks the scrolling cells whose text it refuses: they are drawn in a
// warning colour with a tooltip, which is also their description for a screen reader, and so is
// the open editor while its text is refused. The grid refuses nothing itself. A paste filter,
// when set, rewrites every pasted field before it lands.
//
// Grid lines take their colour from the palette, with a contrast of at least 3:1 against the
// cells' background in light and dark themes alike.
#pragma once

#include <QTableView>

#include <functional>
#include <string>
#include <string_view>

class QLabel;
class QLineEdit;
class TGridModel;

class TStringGrid : public QTableView {
public:
    enum class TScrollBars { None, Horizontal, Vertical, Both };
    enum class TCopyScope { CurrentCell, WholeGrid };

    // 5 columns and 5 rows, the first of each fixed, columns 64 and rows 24 pixels; no editing.
    explicit TStringGrid(QWidget* Parent);
    ~TStringGrid() override;

    int ColCount() const;
    int RowCount() const;
    // Cells inside both counts keep their texts, the others become empty.
    void SetColCount(int Count);
    void SetRowCount(int Count);
    int FixedCols() const;
    int FixedRows() const;
    // 0 or 1.
    void SetFixedCols(int Count);
    void SetFixedRows(int Count);

    // Setting the default width gives every column that width.
    void SetDefaultColWidth(int Width);
    void SetDefaultRowHeight(int Height);
    int ColWidths(int Col) const;
    void SetColWidths(int Col, int Width);
    void SetScrollBars(TScrollBars Bars);
    void SetEditing(bool Editing);

    // UTF-8 texts; a cell outside the counts raises std::out_of_range.
    const std::string& Cells(int Col, int Row) const;
    void SetCells(int Col, int Row, std::string_view Text);

    // The current cell, always a scrolling one while there is any.
    int Col() const;
    int Row() const;
    void SetCurrentCell(int Col, int Row);

    // The first scrolling column and row on screen.
    int LeftCol() const;
    int TopRow() const;
    void SetLeftCol(int Col);
    void SetTopRow(int Row);

    // Tab-separated fields, rows ended by LF or CR LF, the line end after the last row optional,
    // written into the scrolling cells from the current cell to the right and down; what lies
    // beyond the grid's edges is dropped. An empty text changes nothing.
    void PasteText(std::string_view Text);
    // Every cell as tab-separated fields, each row ended by LF; the corner cell, which the grid
    // does not show, as an empty field.
    std::string Text() const;
    // Editing grids paste the clipboard's text at the current cell: a single value goes into the
    // editor like typed text, a block of cells into the grid.
    void PasteClipboard();
    void CopyToClipboard() const;
    void SetCopyScope(TCopyScope Scope) { CopyScope_ = Scope; }
    // Every cell as an HTML table, the fixed row and column as header cells.
    std::string HtmlTable() const;

    using TCellCheck = std::function<bool(std::string_view Text)>;
    using TPasteFilter = std::function<std::string(std::string_view Field)>;
    // Check says whether a text is acceptable; an empty cell is never marked. Hint is the
    // tooltip of a marked cell.
    void SetCellCheck(TCellCheck Check, const QString& Hint);
    bool CellMarked(int Col, int Row) const;
    void SetPasteFilter(TPasteFilter Filter) { PasteFilter_ = std::move(Filter); }
    // Ctrl+C calls Copy instead of copying as the copy scope says.
    void SetCopyHandler(std::function<void()> Copy) { CopyHandler_ = std::move(Copy); }

    // The user's own edits: a keystroke in the editor (or a single pasted value, which goes in as
    // typed) as the cell's text before and after it; a pasted block as its rectangle of cells,
    // once before it lands and once after.
    struct TEditHandler {
        std::function<void(int Col, int Row, const std::string& Old, const std::string& New)> Typed;
        std::function<void(int Left, int Top, int Right, int Bottom, bool Landed)> Pasted;
    };
    void SetEditHandler(TEditHandler Handler) { EditHandler_ = std::move(Handler); }
    void SetUndoHandlers(std::function<void()> Undo, std::function<void()> Redo) {
        UndoHandler_ = std::move(Undo);
        RedoHandler_ = std::move(Redo);
    }

    // The cell's rectangle in the coordinates of viewport(); empty for a fixed cell.
    QRect CellRect(int Col, int Row) const;
    // Null unless editing is on.
    QLineEdit* Editor() const;
    // The full text of the current cell when its column cuts it short and the keyboard has the
    // grid, as shown under the cell; empty otherwise.
    QString CutTextShown() const;

protected:
    void currentChanged(const QModelIndex& Current, const QModelIndex& Previous) override;
    void scrollContentsBy(int Dx, int Dy) override;
    void updateGeometries() override;
    void paintEvent(QPaintEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& Index,
                                                         const QEvent* Event) const override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void Relayout();
    void ApplySizes();
    void PlaceEditor();
    void LoadEditor();
    void Changed(int Col, int Row);
    // Copy and paste keys of the grid and of its editor; true when handled.
    bool ClipboardKey(QKeyEvent* Event);
    std::string PastedField(std::string_view Field) const;
    void MarkEditor();
    // Keys of the editor that leave its text for another cell; true when handled.
    bool EditorMoveKey(QKeyEvent* Event);
    // Undo and redo keys of the editor that it has no use for; true when handled.
    bool EditorHistoryKey(QKeyEvent* Event);
    void MoveTo(int Col, int Row);
    // The current cell's full text as a tooltip when its column cuts it short.
    void ShowCutText();

    TGridModel* Model_;
    QLineEdit* Editor_ = nullptr;
    QLabel* CellTip_ = nullptr;
    bool Loading_ = false;
    bool RepaintPending_ = false;
    TCopyScope CopyScope_ = TCopyScope::CurrentCell;
    TPasteFilter PasteFilter_;
    std::function<void()> CopyHandler_;
    TEditHandler EditHandler_;
    std::function<void()> UndoHandler_;
    std::function<void()> RedoHandler_;
};
