#include "StringGrid.h"

#include <QAbstractTableModel>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <functional>
#include <stdexcept>
#include <vector>

// The grid's texts and sizes. It serves only its own grid, which repaints itself when texts
// change: a fill of every cell then costs one repaint instead of a notification per cell.
class TGridModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    int Cols = 5;
    int Rows = 5;
    int FixedCols = 1;
    int FixedRows = 1;
    int DefaultWidth = 64;
    int RowHeight = 24;
    std::vector<int> Widths = std::vector<int>(5, 64);
    std::vector<std::string> Texts = std::vector<std::string>(25);
    TStringGrid::TCellCheck Check;
    QString Hint;

    bool Marked(int Col, int Row) const {
        const std::string& Text = At(Col, Row);
        return Check && !Text.empty() && !Check(Text);
    }

    std::string& At(int Col, int Row) { return Texts[std::size_t(Row) * std::size_t(Cols) + Col]; }
    const std::string& At(int Col, int Row) const {
        return Texts[std::size_t(Row) * std::size_t(Cols) + Col];
    }

    void Reshape(int NewCols, int NewRows, int NewFixedCols, int NewFixedRows) {
        beginResetModel();
        if (NewCols != Cols || NewRows != Rows) {
            std::vector<std::string> Reshaped(std::size_t(NewCols) * std::size_t(NewRows));
            for (int Row = 0; Row < std::min(Rows, NewRows); ++Row)
                for (int Col = 0; Col < std::min(Cols, NewCols); ++Col)
                    Reshaped[std::size_t(Row) * std::size_t(NewCols) + Col] =
                        std::move(At(Col, Row));
            Texts.swap(Reshaped);
            Widths.resize(std::size_t(NewCols), DefaultWidth);
            Cols = NewCols;
            Rows = NewRows;
        }
        FixedCols = NewFixedCols;
        FixedRows = NewFixedRows;
        endResetModel();
    }

    int rowCount(const QModelIndex& Parent) const override {
        return Parent.isValid() ? 0 : std::max(0, Rows - FixedRows);
    }
    int columnCount(const QModelIndex& Parent) const override {
        return Parent.isValid() ? 0 : std::max(0, Cols - FixedCols);
    }
    QVariant data(const QModelIndex& Index, int Role) const override {
        if (!Index.isValid())
            return {};
        const int Col = Index.column() + FixedCols, Row = Index.row() + FixedRows;
        const std::string& Text = At(Col, Row);
        switch (Role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return QString::fromStdString(Text);
        case Qt::ForegroundRole:
            if (Marked(Col, Row))
                return QBrush(
                    MarkColour(static_cast<const QWidget*>(QObject::parent())->palette()));
            return {};
        case Qt::AccessibleDescriptionRole:
            return Marked(Col, Row) ? Hint : QVariant();
        case Qt::ToolTipRole:
            if (Marked(Col, Row))
                return Hint;
            // Otherwise only a text cut short by its column needs one.
            if (!Text.empty() && TextWidth && TextWidth(Text) > Widths[std::size_t(Col)])
                return QString::fromStdString(Text);
            return {};
        default:
            return {};
        }
    }

    // Red that stands out from the cells' background, light or dark.
    static QColor MarkColour(const QPalette& Palette) {
        return Palette.color(QPalette::Base).lightness() < 128 ? QColor(255, 112, 112)
                                                               : QColor(200, 0, 0);
    }
    // The room a text takes in a cell, its margins included.
    std::function<int(const std::string&)> TextWidth;
    QVariant headerData(int Section, Qt::Orientation Orientation, int Role) const override {
        if (Role != Qt::DisplayRole)
            return {};
        if (Orientation == Qt::Horizontal)
            return FixedRows > 0 ? QString::fromStdString(At(Section + FixedCols, 0)) : QVariant();
        return FixedCols > 0 ? QString::fromStdString(At(0, Section + FixedRows)) : QVariant();
    }
    Qt::ItemFlags flags(const QModelIndex&) const override {
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    }
};

namespace {

// The relative luminance of a colour, and the contrast of two, as accessibility guidelines
// measure them.
double Luminance(const QColor& Colour) {
    const auto Linear = [](double Channel) {
        return Channel <= 0.04045 ? Channel / 12.92 : std::pow((Channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * Linear(Colour.redF()) + 0.7152 * Linear(Colour.greenF()) +
           0.0722 * Linear(Colour.blueF());
}

double Contrast(const QColor& One, const QColor& Other) {
    const double A = Luminance(One), B = Luminance(Other);
    return (std::max(A, B) + 0.05) / (std::min(A, B) + 0.05);
}

// Grid lines between the cells' background and their text: the nearest to the background that
// still stands out from it by 3:1, or the text colour itself where nothing nearer does.
QColor GridLineColour(const QPalette& Palette) {
    const QColor Back = Palette.color(QPalette::Base), Text = Palette.color(QPalette::Text);
    for (int Step = 1; Step <= 10; ++Step) {
        const double T = Step / 10.0;
        const QColor Line =
            QColor::fromRgbF(float(Back.redF() + (Text.redF() - Back.redF()) * T),
                             float(Back.greenF() + (Text.greenF() - Back.greenF()) * T),
                             float(Back.blueF() + (Text.blueF() - Back.blueF()) * T));
        if (Contrast(Line, Back) >= 3.0)
            return Line;
    }
    return Text;
}

class TGridStyle : public QProxyStyle {
public:
    int styleHint(StyleHint Hint, const QStyleOption* Option, const QWidget* Widget,
                  QStyleHintReturn* Return) const override {
        if (Hint == SH_Table_GridLineColor)
            return int(GridLineColour(Widget ? Widget->palette() : QPalette()).rgba());
        return QProxyStyle::styleHint(Hint, Option, Widget, Return);
    }
};

// The current cell of a grid without the focus is outlined; only the grid that has the focus
// shows it selected, filled.
class TCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option,
               const QModelIndex& Index) const override {
        QStyledItemDelegate::paint(Painter, Option, Index);
        const auto* View = qobject_cast<const QAbstractItemView*>(Option.widget);
        if (!View || View->hasFocus() || View->currentIndex() != Index)
            return;
        Painter->save();
        Painter->setPen(QPen(Option.palette.color(QPalette::Highlight), 1, Qt::DashLine));
        Painter->drawRect(Option.rect.adjusted(0, 0, -1, -1));
        Painter->restore();
    }
};

} // namespace

TStringGrid::TStringGrid(QWidget* Parent) : QTableView(Parent), Model_(new TGridModel(this)) {
    // Made first, so that it follows the grid in the tab order; shown only while editing is on.
    Editor_ = new QLineEdit(viewport());
    Editor_->setFrame(false);
    Editor_->hide();
    Editor_->setFocusPolicy(Qt::NoFocus);
    connect(Editor_, &QLineEdit::textChanged, this, [this](const QString& Text) {
        if (!Loading_ && currentIndex().isValid()) {
            std::string& Cell = Model_->At(Col(), Row());
            std::string Typed = Text.toStdString();
            if (EditHandler_.Typed && Typed != Cell)
                EditHandler_.Typed(Col(), Row(), Cell, Typed);
            Cell = std::move(Typed);
        }
        MarkEditor();
    });
    // Typing into a cell that has been scrolled away brings it back into sight.
    connect(Editor_, &QLineEdit::textEdited, this, [this] { scrollTo(currentIndex()); });
    // The editor would paste a block of cells into its one line, and keeps some arrow keys.
    Editor_->installEventFilter(this);
    Model_->TextWidth = [this](const std::string& Text) {
        const int Margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
        return fontMetrics().horizontalAdvance(QString::fromStdString(Text)) + 2 * Margin;
    };

    setModel(Model_);
    setItemDelegate(new TCellDelegate(this));
    auto* Style = new TGridStyle;
    Style->setParent(this);
    setStyle(Style);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    horizontalScrollBar()->setTracking(true);
    verticalScrollBar()->setTracking(true);
    for (QHeaderView* Header : {horizontalHeader(), verticalHeader()}) {
        Header->setSectionResizeMode(QHeaderView::Fixed);
        Header->setSectionsMovable(false);
        Header->setSectionsClickable(false);
        Header->setHighlightSections(false);
        Header->setMinimumSectionSize(0);
        Header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }

    ApplySizes();
    SetCurrentCell(1, 1);
}

TStringGrid::~TStringGrid() = default;

int TStringGrid::ColCount() const {
    return Model_->Cols;
}
int TStringGrid::RowCount() const {
    return Model_->Rows;
}
int TStringGrid::FixedCols() const {
    return Model_->FixedCols;
}
int TStringGrid::FixedRows() const {
    return Model_->FixedRows;
}

void TStringGrid::SetColCount(int Count) {
    if (Count == ColCount())
        return;
    const int OldCol = Col(), OldRow = Row();
    Model_->Reshape(std::max(Count, 1), RowCount(), FixedCols(), FixedRows());
    Relayout();
    SetCurrentCell(OldCol, OldRow);
}

void TStringGrid::SetRowCount(int Count) {
    if (Count == RowCount())
        return;
    const int OldCol = Col(), OldRow = Row();
    Model_->Reshape(ColCount(), std::max(Count, 1), FixedCols(), FixedRows());
    Relayout();
    SetCurrentCell(OldCol, OldRow);
}

void TStringGrid::SetFixedCols(int Count) {
    Count = std::clamp(Count, 0, 1);
    if (Count == FixedCols())
        return;
    Model_->Reshape(ColCount(), RowCount(), Count, FixedRows());
    Relayout();
    SetCurrentCell(Count, FixedRows());
}

void TStringGrid::SetFixedRows(int Count) {
    Count = std::clamp(Count, 0, 1);
    if (Count == FixedRows())
        return;
    Model_->Reshape(ColCount(), RowCount(), FixedCols(), Count);
    Relayout();
    SetCurrentCell(FixedCols(), Count);
}

void TStringGrid::SetDefaultColWidth(int Width) {
    Model_->DefaultWidth = Width;
    std::fill(Model_->Widths.begin(), Model_->Widths.end(), Width);
    ApplySizes();
}

void TStringGrid::SetDefaultRowHeight(int Height) {
    Model_->RowHeight = Height;
    ApplySizes();
}

int TStringGrid::ColWidths(int Col) const {
    return Model_->Widths.at(std::size_t(Col));
}

void TStringGrid::SetColWidths(int Col, int Width) {
    Model_->Widths.at(std::size_t(Col)) = Width;
    ApplySizes();
}

void TStringGrid::SetScrollBars(TScrollBars Bars) {
    const bool Horizontal = Bars == TScrollBars::Horizontal || Bars == TScrollBars::Both;
    const bool Vertical = Bars == TScrollBars::Vertical || Bars == TScrollBars::Both;
    setHorizontalScrollBarPolicy(Horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void TStringGrid::SetEditing(bool Editing) {
    setFocusProxy(Editing ? Editor_ : nullptr);
    Editor_->setFocusPolicy(Editing ? Qt::StrongFocus : Qt::NoFocus);
    Editor_->setVisible(Editing);
    PlaceEditor();
    LoadEditor();
}

QLineEdit* TStringGrid::Editor() const {
    return Editor_->isHidden() ? nullptr : Editor_;
}

const std::string& TStringGrid::Cells(int Col, int Row) const {
    if (Col < 0 || Col >= ColCount() || Row < 0 || Row >= RowCount())
        throw std::out_of_range("string grid cell outside the grid");
    return Model_->At(Col, Row);
}

void TStringGrid::SetCells(int Col, int Row, std::string_view Text) {
    if (Col < 0 || Col >= ColCount() || Row < 0 || Row >= RowCount())
        throw std::out_of_range("string grid cell outside the grid");
    std::string& Cell = Model_->At(Col, Row);
    if (Cell == Text)
        return;
    Cell.assign(Text);
    Changed(Col, Row);
}

namespace {

// A line end after the last row ends that row; it does not start an empty one.
std::string_view WithoutLastLineEnd(std::string_view Text) {
    if (!Text.empty() && Text.back() == '\n')
        Text.remove_suffix(1);
    if (!Text.empty() && Text.back() == '\r')
        Text.remove_suffix(1);
    return Text;
}

// The piece of Text from Start up to the next Separator, and Start moved past that separator;
// Start becomes npos after the last piece.
std::string_view NextPiece(std::string_view Text, std::size_t& Start, char Separator) {
    const std::size_t End = Text.find(Separator, Start);
    const std::string_view Piece =
        Text.substr(Start, End == std::string_view::npos ? End : End - Start);
    Start = End == std::string_view::npos ? End : End + 1;
    return Piece;
}

} // namespace

void TStringGrid::PasteText(std::string_view Text) {
    if (Text.empty() || !currentIndex().isValid())
        return;
    Text = WithoutLastLineEnd(Text);
    const int FirstCol = Col(), FirstRow = Row();
    // The block's rectangle, clipped at the grid's edges.
    int LastCol = FirstCol, LastRow = FirstRow - 1;
    for (std::size_t LineStart = 0;
         LastRow + 1 < RowCount() && LineStart != std::string_view::npos;) {
        ++LastRow;
        const std::string_view Line = NextPiece(Text, LineStart, '\n');
        const int Fields = int(std::count(Line.begin(), Line.end(), '\t')) + 1;
        LastCol = std::max(LastCol, std::min(FirstCol + Fields, ColCount()) - 1);
    }
    if (EditHandler_.Pasted)
        EditHandler_.Pasted(FirstCol, FirstRow, LastCol, LastRow, false);
    std::size_t LineStart = 0;
    for (int CellRow = FirstRow; CellRow <= LastRow; ++CellRow) {
        std::string_view Line = NextPiece(Text, LineStart, '\n');
        if (!Line.empty() && Line.back() == '\r')
            Line.remove_suffix(1);
        std::size_t FieldStart = 0;
        for (int CellCol = FirstCol; CellCol < ColCount() && FieldStart != std::string_view::npos;
             ++CellCol)
            Model_->At(CellCol, CellRow) = PastedField(NextPiece(Line, FieldStart, '\t'));
    }
    if (EditHandler_.Pasted)
        EditHandler_.Pasted(FirstCol, FirstRow, LastCol, LastRow, true);
    // Only scrolling cells change: one repaint of the cells, no notification per cell.
    if (!RepaintPending_) {
        RepaintPending_ = true;
        viewport()->update();
    }
    LoadEditor();
    scrollTo(currentIndex());
}

std::string TStringGrid::Text() const {
    std::string Result;
    std::size_t Size = 0;
    for (const std::string& Cell : Model_->Texts)
        Size += Cell.size() + 1;
    Result.reserve(Size);
    for (int CellRow = 0; CellRow < RowCount(); ++CellRow) {
        for (int CellCol = 0; CellCol < ColCount(); ++CellCol) {
            if (CellCol > 0)
                Result += '\t';
            if (CellCol >= FixedCols() || CellRow >= FixedRows())
                Result += Model_->At(CellCol, CellRow);
        }
        Result += '\n';
    }
    return Result;
}

void TStringGrid::PasteClipboard() {
    if (Editor_->isHidden() || !currentIndex().isValid())
        return;
    const std::string Text = QGuiApplication::clipboard()->text().toStdString();
    const std::string_view Value = WithoutLastLineEnd(Text);
    if (!Value.empty() && Value.find_first_of("\t\n") == std::string_view::npos) {
        // One value is typed text: it replaces the selection or goes in at the caret.
        Editor_->insert(QString::fromStdString(PastedField(Value)));
        scrollTo(currentIndex());
        return;
    }
    PasteText(Text);
}

void TStringGrid::CopyToClipboard() const {
    if (CopyScope_ == TCopyScope::WholeGrid) {
        auto* Data = new QMimeData;
        Data->setText(QString::fromStdString(Text()));
        Data->setHtml(QString::fromStdString(HtmlTable()));
        QGuiApplication::clipboard()->setMimeData(Data);
        return;
    }
    std::string Copied;
    if (currentIndex().isValid())
        Copied = Model_->At(Col(), Row());
    QGuiApplication::clipboard()->setText(QString::fromStdString(Copied));
}

std::string TStringGrid::HtmlTable() const {
    std::string Html = "<html><head><meta charset=\"utf-8\"></head><body><table>\n";
    for (int CellRow = 0; CellRow < RowCount(); ++CellRow) {
        Html += "<tr>";
        for (int CellCol = 0; CellCol < ColCount(); ++CellCol) {
            const bool Fixed = CellCol < FixedCols() || CellRow < FixedRows();
            const bool Corner = CellCol < FixedCols() && CellRow < FixedRows();
            const QString Cell =
                Corner ? QString() : QString::fromStdString(Model_->At(CellCol, CellRow));
            Html += Fixed ? "<th>" : "<td>";
            Html += Cell.trimmed().toHtmlEscaped().toStdString();
            Html += Fixed ? "</th>" : "</td>";
        }
        Html += "</tr>\n";
    }
    Html += "</table></body></html>\n";
    return Html;
}

void TStringGrid::SetCellCheck(TCellCheck Check, const QString& Hint) {
    Model_->Check = std::move(Check);
    Model_->Hint = Hint;
    MarkEditor();
    viewport()->update();
}

bool TStringGrid::CellMarked(int Col, int Row) const {
    if (Col < 0 || Col >= ColCount() || Row < 0 || Row >= RowCount())
        throw std::out_of_range("string grid cell outside the grid");
    return Col >= FixedCols() && Row >= FixedRows() && Model_->Marked(Col, Row);
}

std::string TStringGrid::PastedField(std::string_view Field) const {
    return PasteFilter_ ? PasteFilter_(Field) : std::string(Field);
}

void TStringGrid::MarkEditor() {
    const std::string Text = Editor_->text().toStdString();
    const bool Marked = Model_->Check && !Text.empty() && !Model_->Check(Text);
    // Only the text colour is set, and only while marked: the rest follows the grid's palette.
    QPalette Colours;
    if (Marked)
        Colours.setColor(QPalette::Text, TGridModel::MarkColour(palette()));
    Editor_->setPalette(Colours);
    Editor_->setToolTip(Marked ? Model_->Hint : QString());
    Editor_->setAccessibleDescription(Marked ? Model_->Hint : QString());
}

bool TStringGrid::ClipboardKey(QKeyEvent* Event) {
    if (Event->matches(QKeySequence::Copy)) {
        if (CopyHandler_)
            CopyHandler_();
        else
            CopyToClipboard();
        return true;
    }
    if (Event->matches(QKeySequence::Paste) && !Editor_->isHidden()) {
        PasteClipboard();
        return true;
    }
    return false;
}

void TStringGrid::keyPressEvent(QKeyEvent* Event) {
    if (ClipboardKey(Event))
        return;
    QTableView::keyPressEvent(Event);
}

bool TStringGrid::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == Editor_) {
        switch (Event->type()) {
        case QEvent::KeyPress: {
            auto* Key = static_cast<QKeyEvent*>(Event);
            if (ClipboardKey(Key) || EditorHistoryKey(Key) || EditorMoveKey(Key))
                return true;
            break;
        }
        // The frameless editor looks like its cell; its frame is its focus ring.
        case QEvent::FocusIn:
            Editor_->setFrame(true);
            break;
        case QEvent::FocusOut:
            Editor_->setFrame(false);
            break;
        default:
            break;
        }
    }
    return QTableView::eventFilter(Watched, Event);
}

bool TStringGrid::EditorMoveKey(QKeyEvent* Event) {
    const Qt::KeyboardModifiers Mods = Event->modifiers() & ~Qt::KeypadModifier;
    const int Length = int(Editor_->text().length());
    const bool Whole = Editor_->selectionLength() == Length;
    const bool Plain = !Editor_->hasSelectedText() || Whole;
    const bool AtStart = Plain && (Whole || Editor_->cursorPosition() == 0);
    const bool AtEnd = Plain && (Whole || Editor_->cursorPosition() == Length);
    int ToCol = Col(), ToRow = Row();
    switch (Event->key()) {
    case Qt::Key_Left:
        if (Mods != Qt::NoModifier || !AtStart)
            return false;
        if (Col() > FixedCols()) {
            --ToCol;
        } else if (Row() > FixedRows()) {
            ToCol = ColCount() - 1;
            --ToRow;
        } else {
            return false;
        }
        break;
    case Qt::Key_Right:
        if (Mods != Qt::NoModifier || !AtEnd)
            return false;
        if (Col() + 1 < ColCount()) {
            ++ToCol;
        } else if (Row() + 1 < RowCount()) {
            ToCol = FixedCols();
            ++ToRow;
        } else {
            return false;
        }
        break;
    // A spreadsheet's return after a typed row; at the last row the key does nothing, and it
    // never reaches the window.
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (Mods != Qt::NoModifier)
            return false;
        if (Row() + 1 < RowCount()) {
            ToCol = FixedCols();
            ++ToRow;
        }
        break;
    case Qt::Key_Home:
        if (Mods != Qt::ControlModifier)
            return false;
        ToCol = FixedCols();
        ToRow = FixedRows();
        break;
    case Qt::Key_End:
        if (Mods != Qt::ControlModifier)
            return false;
        ToCol = ColCount() - 1;
        ToRow = RowCount() - 1;
        break;
    default:
        return false;
    }
    MoveTo(ToCol, ToRow);
    return true;
}

bool TStringGrid::EditorHistoryKey(QKeyEvent* Event) {
    const Qt::KeyboardModifiers Mods = Event->modifiers() & ~Qt::KeypadModifier;
    const bool Undo = Event->matches(QKeySequence::Undo);
    const bool Redo =
        Event->matches(QKeySequence::Redo) ||
        (Event->key() == Qt::Key_Y && Mods == Qt::ControlModifier) ||
        (Event->key() == Qt::Key_Z && Mods == (Qt::ControlModifier | Qt::ShiftModifier));
    if (Undo && !Editor_->isUndoAvailable() && UndoHandler_) {
        UndoHandler_();
        return true;
    }
    if (Redo && !Editor_->isRedoAvailable() && RedoHandler_) {
        RedoHandler_();
        return true;
    }
    return false;
}

void TStringGrid::MoveTo(int Col, int Row) {
    SetCurrentCell(Col, Row);
    scrollTo(currentIndex());
    // Also when the key found the cell already current.
    Editor_->selectAll();
}

int TStringGrid::Col() const {
    const QModelIndex Current = currentIndex();
    return Current.isValid() ? Current.column() + FixedCols() : FixedCols();
}

int TStringGrid::Row() const {
    const QModelIndex Current = currentIndex();
    return Current.isValid() ? Current.row() + FixedRows() : FixedRows();
}

void TStringGrid::SetCurrentCell(int Col, int Row) {
    if (ColCount() <= FixedCols() || RowCount() <= FixedRows())
        return;
    Col = std::clamp(Col, FixedCols(), ColCount() - 1);
    Row = std::clamp(Row, FixedRows(), RowCount() - 1);
    const QModelIndex Index = Model_->index(Row - FixedRows(), Col - FixedCols());
    if (Index == currentIndex())
        return;
    setCurrentIndex(Index);
}

int TStringGrid::LeftCol() const {
    return horizontalScrollBar()->value() + FixedCols();
}

int TStringGrid::TopRow() const {
    return verticalScrollBar()->value() + FixedRows();
}

void TStringGrid::SetLeftCol(int Col) {
    updateGeometries();
    horizontalScrollBar()->setValue(Col - FixedCols());
}

void TStringGrid::SetTopRow(int Row) {
    updateGeometries();
    verticalScrollBar()->setValue(Row - FixedRows());
}

QRect TStringGrid::CellRect(int Col, int Row) const {
    if (Col < FixedCols() || Row < FixedRows())
        return {};
    return visualRect(Model_->index(Row - FixedRows(), Col - FixedCols()));
}

void TStringGrid::currentChanged(const QModelIndex& Current, const QModelIndex& Previous) {
    QTableView::currentChanged(Current, Previous);
    PlaceEditor();
    LoadEditor();
    ShowCutText();
}

void TStringGrid::focusInEvent(QFocusEvent* Event) {
    QTableView::focusInEvent(Event);
    if (currentIndex().isValid())
        selectionModel()->select(currentIndex(), QItemSelectionModel::ClearAndSelect);
    ShowCutText();
}

void TStringGrid::focusOutEvent(QFocusEvent* Event) {
    QTableView::focusOutEvent(Event);
    selectionModel()->clearSelection();
    ShowCutText();
}

void TStringGrid::hideEvent(QHideEvent* Event) {
    QTableView::hideEvent(Event);
    ShowCutText();
}

QItemSelectionModel::SelectionFlags TStringGrid::selectionCommand(const QModelIndex& Index,
                                                                  const QEvent* Event) const {
    return hasFocus() ? QTableView::selectionCommand(Index, Event) : QItemSelectionModel::NoUpdate;
}

// A mouse user hovers over a cut text to read it whole; a keyboard user gets the same text, in a
// tip of the grid's own under the cell, when the cell becomes current. (The toolkit's tooltip
// would vanish at the release of the very key that brought the cell.)
void TStringGrid::ShowCutText() {
    const QString Tip = hasFocus() && Editor_->isHidden() && currentIndex().isValid()
                            ? currentIndex().data(Qt::ToolTipRole).toString()
                            : QString();
    if (Tip.isEmpty()) {
        if (CellTip_)
            CellTip_->hide();
        return;
    }
    if (!CellTip_) {
        CellTip_ = new QLabel(this, Qt::ToolTip);
        CellTip_->setForegroundRole(QPalette::ToolTipText);
        CellTip_->setBackgroundRole(QPalette::ToolTipBase);
        CellTip_->setPalette(QToolTip::palette());
        CellTip_->setFont(QToolTip::font());
        CellTip_->setAutoFillBackground(true);
        CellTip_->setFrameStyle(QFrame::Box | QFrame::Plain);
        CellTip_->setMargin(2);
    }
    CellTip_->setText(Tip);
    CellTip_->adjustSize();
    CellTip_->move(viewport()->mapToGlobal(visualRect(currentIndex()).bottomLeft()));
    CellTip_->show();
}

QString TStringGrid::CutTextShown() const {
    return CellTip_ && CellTip_->isVisible() ? CellTip_->text() : QString();
}

void TStringGrid::scrollContentsBy(int Dx, int Dy) {
    QTableView::scrollContentsBy(Dx, Dy);
    PlaceEditor();
    ShowCutText();
}

void TStringGrid::updateGeometries() {
    QTableView::updateGeometries();
    PlaceEditor();
}

void TStringGrid::paintEvent(QPaintEvent* Event) {
    RepaintPending_ = false;
    QTableView::paintEvent(Event);
}

void TStringGrid::Relayout() {
    ApplySizes();
    RepaintPending_ = true;
    viewport()->update();
}

void TStringGrid::ApplySizes() {
    QHeaderView* Top = horizontalHeader();
    QHeaderView* Side = verticalHeader();
    Top->setVisible(FixedRows() > 0);
    Side->setVisible(FixedCols() > 0);
    Top->setFixedHeight(Model_->RowHeight);
    Side->setFixedWidth(FixedCols() > 0 ? Model_->Widths[0] : 0);
    Top->setDefaultSectionSize(Model_->DefaultWidth);
    Side->setDefaultSectionSize(Model_->RowHeight);
    for (int Col = FixedCols(); Col < ColCount(); ++Col) {
        const int Width = Model_->Widths[std::size_t(Col)];
        if (Top->sectionSize(Col - FixedCols()) != Width)
            Top->resizeSection(Col - FixedCols(), Width);
    }
    PlaceEditor();
}

void TStringGrid::PlaceEditor() {
    if (Editor_->isHidden())
        return;
    const QModelIndex Current = currentIndex();
    // Off screen the editor stays open, clipped by the viewport, so that it keeps the focus.
    Editor_->setGeometry(Current.isValid() ? visualRect(Current) : QRect(-100, -100, 0, 0));
}

void TStringGrid::LoadEditor() {
    if (Editor_->isHidden() || !currentIndex().isValid())
        return;
    Loading_ = true;
    Editor_->setText(QString::fromStdString(Model_->At(Col(), Row())));
    Editor_->selectAll();
    Loading_ = false;
}

void TStringGrid::Changed(int Col, int Row) {
    if (Row < FixedRows())
        horizontalHeader()->viewport()->update();
    if (Col < FixedCols())
        verticalHeader()->viewport()->update();
    if (Row < FixedRows() || Col < FixedCols())
        return;
    if (!RepaintPending_) {
        RepaintPending_ = true;
        viewport()->update();
    }
    if (!Editor_->isHidden() && Col == this->Col() && Row == this->Row() &&
        Editor_->text().toStdString() != Model_->At(Col, Row))
        LoadEditor();
}
