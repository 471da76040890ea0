#include "StepsUnit.h"

#include "FileBoxes.h"
#include "StepReport.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStyledItemDelegate>
#include <QTextDocument>

#include <algorithm>
#include <unordered_map>
#include <utility>

TStepsForm* StepsForm = nullptr;

namespace {

// What the delegate draws, beside the text a screen reader reads.
enum TRole {
    CostRole = Qt::UserRole + 1, // the cell's cost, as text
    BasicRole,                   // bool
    SignRole,                    // "+" or "-" on the cycle of the next pivot, else empty
    EnteringRole,                // bool
    LeavingRole,                 // bool
    OrderRole,                   // the start's fill order at step 0, else 0
};

// A number as the window writes it: the region's marks, no more digits than it needs, and a
// true minus sign, which screen readers read as "minus".
QString Number(double Value) {
    QString Text = QLocale().toString(Value, 'g', 12);
    if (Text.startsWith('-'))
        Text.replace(0, 1, QChar(0x2212));
    return Text;
}

QString CellName(TCell Cell) {
    return QString("(%1, %2)").arg(Cell.Row).arg(Cell.Col);
}

std::int64_t Key(int I, int J) {
    return std::int64_t(I) << 32 | std::uint32_t(J);
}

} // namespace

// The tableau of the step shown: M rows of suppliers and a row of the column potentials v, N
// columns of consumers and a column of the row potentials u.
class TStepsModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void Show(const TStepRecord& Record, const TStepPlan& Plan) {
        const bool Resized =
            Record_ == nullptr || Record.Problem().M != Rows_ || Record.Problem().N != Cols_;
        if (Resized)
            beginResetModel();
        Record_ = &Record;
        Plan_ = &Plan;
        Rows_ = Record.Problem().M;
        Cols_ = Record.Problem().N;
        Signs_.clear();
        Orders_.clear();
        Entering_ = Leaving_ = {0, 0};
        Cycle_ = {};
        const int Step = Plan.Step();
        if (Step < Record.Pivots()) {
            const TStepRecord::TPivot& Next = Record.Pivot(Step + 1);
            Entering_ = Next.Entering;
            Leaving_ = Next.Leaving;
            Cycle_ = Record.Cycle(Step + 1);
            for (std::size_t K = 0; K < Cycle_.size(); ++K)
                Signs_[Key(Cycle_[K].Row, Cycle_[K].Col)] = K % 2 == 0 ? '+' : '-';
        }
        if (Step == 0) {
            int Order = 0;
            for (const TStartCell& Cell : Record.StartCells())
                Orders_[Key(Cell.Cell.Row, Cell.Cell.Col)] = ++Order;
        }
        if (Resized)
            endResetModel();
        else
            emit dataChanged(index(0, 0), index(Rows_, Cols_));
        emit headerDataChanged(Qt::Horizontal, 0, Cols_);
        emit headerDataChanged(Qt::Vertical, 0, Rows_);
    }

    TCell Entering() const { return Entering_; }
    // The cycle of the pivot that follows the step shown; none at the last step.
    std::span<const TCycleCell> Cycle() const { return Cycle_; }

    int rowCount(const QModelIndex& Parent) const override {
        return Parent.isValid() || !Record_ ? 0 : Rows_ + 1;
    }
    int columnCount(const QModelIndex& Parent) const override {
        return Parent.isValid() || !Record_ ? 0 : Cols_ + 1;
    }

    QVariant data(const QModelIndex& Index, int Role) const override {
        if (!Index.isValid() || !Record_)
            return {};
        const int I = Index.row() + 1, J = Index.column() + 1;
        if (I > Rows_ && J > Cols_)
            return {};
        if (I > Rows_ || J > Cols_)
            return Potential(I > Rows_ ? 'v' : 'u', I > Rows_ ? J : I, Role);
        // Only what the role asks for: a delegate asks for several roles of every visible cell.
        const auto Cost = [&] { return Number(Record_->Problem().Cost(I, J)); };
        const auto Value = [&] {
            return Number(Plan_->Basic(I, J) ? Plan_->X(I, J) : Plan_->Reduced(I, J));
        };
        const auto Sign = [&] {
            const auto Found = Signs_.find(Key(I, J));
            return Found == Signs_.end() ? '\0' : Found->second;
        };
        switch (Role) {
        case Qt::DisplayRole: // the shipment or the reduced cost
            return Value();
        case CostRole:
            return Cost();
        case BasicRole:
            return Plan_->Basic(I, J);
        case SignRole: {
            const char Mark = Sign();
            return Mark == '\0' ? QString() : QString(QChar(Mark == '+' ? '+' : 0x2212));
        }
        case EnteringRole:
            return Entering_ == TCell{I, J};
        case LeavingRole:
            return Leaving_ == TCell{I, J};
        case OrderRole: {
            const auto Order = Orders_.find(Key(I, J));
            return Order == Orders_.end() ? 0 : Order->second;
        }
        case Qt::AccessibleTextRole:
        case Qt::ToolTipRole: {
            QString Text =
                "cost " + Cost() + (Plan_->Basic(I, J) ? ", ships " : ", reduced cost ") + Value();
            const char Mark = Sign();
            if (Entering_ == TCell{I, J})
                Text += ", enters";
            else if (Mark != '\0')
                Text += Mark == '+' ? ", gains on the cycle" : ", gives on the cycle";
            if (Leaving_ == TCell{I, J})
                Text += ", leaves";
            return Text;
        }
        default:
            return {};
        }
    }

    QVariant headerData(int Section, Qt::Orientation Orientation, int Role) const override {
        if (!Record_ ||
            (Role != Qt::DisplayRole && Role != Qt::ToolTipRole && Role != Qt::AccessibleTextRole))
            return {};
        const bool Rows = Orientation == Qt::Vertical;
        const int Count = Rows ? Rows_ : Cols_;
        const int Dummy = Record_->BalanceKind() == (Rows ? 1 : 2) ? Count : 0;
        const int Line = Section + 1;
        const bool Short = Role == Qt::DisplayRole;
        if (Line > Count)
            return QString(Rows ? "v" : "u");
        const QString Who = Rows ? "supplier" : "consumer";
        if (Line == Dummy)
            return Short ? QString("dummy") : "Dummy " + Who;
        return Short ? QString::number(Line)
                     : Who.at(0).toUpper() + Who.mid(1) + " " + QString::number(Line);
    }

private:
    QVariant Potential(char Kind, int Line, int Role) const {
        if (Role != Qt::DisplayRole && Role != Qt::AccessibleTextRole && Role != Qt::ToolTipRole)
            return {};
        const QString Value = Number(Kind == 'u' ? Plan_->U(Line) : Plan_->V(Line));
        if (Role == Qt::DisplayRole)
            return Value;
        return QString("%1%2 = %3").arg(Kind).arg(Line).arg(Value);
    }

    const TStepRecord* Record_ = nullptr;
    const TStepPlan* Plan_ = nullptr;
    int Rows_ = 0, Cols_ = 0;
    std::unordered_map<std::int64_t, char> Signs_;
    std::unordered_map<std::int64_t, int> Orders_;
    TCell Entering_{0, 0}, Leaving_{0, 0};
    std::span<const TCycleCell> Cycle_;
};

namespace {

// A tableau cell: its cost small at the top left, the fill order at step 0 at the top right, the
// cycle's sign at the bottom left and the shipment (bold) or the reduced cost (italic) at the
// bottom right, so that the cycle's path through the centre crosses no figure; the entering
// cell, the leaving cell and the cycle's corners on a light fill.
class TStepsDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option,
               const QModelIndex& Index) const override {
        const QString Sign = Index.data(SignRole).toString();
        const bool Entering = Index.data(EnteringRole).toBool();
        const bool Leaving = Index.data(LeavingRole).toBool();
        QStyleOptionViewItem Cell(Option);
        initStyleOption(&Cell, Index);
        const QString Value = std::exchange(Cell.text, QString());
        QColor Ink = Option.palette.color(QPalette::Text);
        QColor Fill;
        if (Entering)
            Fill = QColor(255, 236, 150);
        else if (Leaving)
            Fill = QColor(255, 200, 200);
        else if (!Sign.isEmpty())
            Fill = QColor(214, 232, 255);
        if (Fill.isValid()) {
            Cell.backgroundBrush = Fill;
            Ink = Qt::black;
        }
        Option.widget->style()->drawControl(QStyle::CE_ItemViewItem, &Cell, Painter, Option.widget);
        const QRect Area = Option.rect.adjusted(3, 1, -3, -1);
        Painter->save();
        QFont Small = Option.font;
        Small.setPixelSize(std::max(8, Option.font.pixelSize() - 2));
        Painter->setFont(Small);
        Painter->setPen(Ink);
        const QVariant Cost = Index.data(CostRole);
        Painter->drawText(Area, Qt::AlignLeft | Qt::AlignTop, Cost.toString());
        if (const int Order = Index.data(OrderRole).toInt())
            Painter->drawText(Area, Qt::AlignRight | Qt::AlignTop, QString("#%1").arg(Order));
        QFont Main = Option.font;
        const bool Basic = Index.data(BasicRole).toBool();
        const bool Costed = Cost.isValid();
        Main.setBold(Basic);
        Main.setItalic(!Basic && Costed);
        Painter->setFont(Main);
        // A reduced cost is a figure of the method, not of the plan: drawn fainter.
        if (!Basic && Costed)
            Painter->setPen(Fill.isValid() ? QColor(96, 96, 96)
                                           : Option.palette.color(QPalette::PlaceholderText));
        // The potentials, which have no cost, stand in the middle.
        Painter->drawText(Area, Costed ? Qt::AlignRight | Qt::AlignBottom : Qt::AlignCenter, Value);
        if (!Sign.isEmpty()) {
            QFont Mark = Option.font;
            Mark.setBold(true);
            Painter->setFont(Mark);
            Painter->drawText(Area, Qt::AlignLeft | Qt::AlignBottom, Sign);
        }
        Painter->restore();
    }
};

} // namespace

TStepsView::TStepsView(QWidget* Parent) : QTableView(Parent) {
    setItemDelegate(new TStepsDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    horizontalHeader()->setDefaultSectionSize(64);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(40);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

void TStepsView::keyPressEvent(QKeyEvent* Event) {
    if (OnKey && OnKey(*Event))
        return;
    QTableView::keyPressEvent(Event);
}

// The cycle as a closed path through its cells' centres, over the cells; the painter clips what
// lies off screen.
void TStepsView::paintEvent(QPaintEvent* Event) {
    QTableView::paintEvent(Event);
    const auto* Model = static_cast<const TStepsModel*>(model());
    if (!Model || Model->Cycle().empty())
        return;
    QPolygonF Path;
    for (const TCycleCell& Cell : Model->Cycle())
        Path << QRectF(visualRect(Model->index(Cell.Row - 1, Cell.Col - 1))).center();
    QPainter Painter(viewport());
    Painter.setRenderHint(QPainter::Antialiasing);
    Painter.setPen(QPen(QColor(200, 60, 0, 200), 2));
    Painter.drawPolygon(Path);
}

TStepsForm::TStepsForm() : TForm(TBorderStyle::Sizeable), Model_(new TStepsModel(this)) {
    setWindowTitle("Kelvor - Steps");
    SetClientSize(640, 480);

    StatusText = new QLabel(this);
    StatusText->setWordWrap(true);
    StatusText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SetBounds(StatusText, 8, 4, 624, 44);
    SetAlign(StatusText, TAlign::Top);
    RuleText = new QLabel(
        "Reduced costs are C \u2212 u \u2212 v: what a unit sent through a cell would change the "
        "total by. The method enters the cell with the most negative reduced cost, the first "
        "row by row, left to right. Page Down or N: next step; Page Up or P: previous; Home, "
        "End: first, last.",
        this);
    RuleText->setWordWrap(true);
    SetBounds(RuleText, 8, 48, 624, 32);
    SetAlign(RuleText, TAlign::Top);

    ButtonsPanel = new TPanel(this);
    SetBounds(ButtonsPanel, 0, 448, 640, 32);
    SetAlign(ButtonsPanel, TAlign::Bottom);
    SaveButton = new TButton(ButtonsPanel, "&Save...");
    SetBounds(SaveButton, 4, 4, 81, 25);
    SaveButton->OnClick = [this] { SaveButtonClick(); };
    PrintButton = new TButton(ButtonsPanel, "&Print...");
    SetBounds(PrintButton, 90, 4, 81, 25);
    PrintButton->OnClick = [this] { PrintButtonClick(); };
    CloseButton = new TButton(ButtonsPanel, "&Close");
    SetBounds(CloseButton, 555, 4, 81, 25);
    CloseButton->setDefault(true);
    CloseButton->Cancel = true;
    CloseButton->OnClick = [this] { close(); };

    StepsGrid = new TStepsView(this);
    StepsGrid->setModel(Model_);
    SetAlign(StepsGrid, TAlign::Client);
    SetAccessibleCaption(StepsGrid, "Tableau");

    setTabOrder(StepsGrid, CloseButton);
    setTabOrder(CloseButton, SaveButton);
    setTabOrder(SaveButton, PrintButton);
    SetActiveControl(StepsGrid);

    // The step keys from anywhere in the window: the table hands them over before it would move
    // about by them, the other controls leave them to the window.
    StepsGrid->OnKey = [this](const QKeyEvent& Key) { return StepKey(Key); };

    OnShow = [this] { FormShow(); };
    OnResize = [this] { FormResize(); };
}

bool TStepsForm::StepKey(const QKeyEvent& Key) {
    const bool Plain = (Key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (Key.matches(QKeySequence::Save))
        SaveButtonClick();
    else if (Key.matches(QKeySequence::Print))
        PrintButtonClick();
    else if (!Plain)
        return false;
    else if (Key.key() == Qt::Key_PageDown || Key.key() == Qt::Key_N)
        GoToStep(Step() + 1);
    else if (Key.key() == Qt::Key_PageUp || Key.key() == Qt::Key_P)
        GoToStep(Step() - 1);
    else if (Key.key() == Qt::Key_Home)
        GoToStep(0);
    else if (Key.key() == Qt::Key_End)
        GoToStep(StepRecord->Pivots());
    else
        return false;
    return true;
}

void TStepsForm::keyPressEvent(QKeyEvent* Event) {
    if (!StepKey(*Event))
        TForm::keyPressEvent(Event);
}

void TStepsForm::FormShow() {
    Shown_ = std::make_unique<TStepPlan>(*StepRecord);
    Next_ = std::make_unique<TStepPlan>(*StepRecord);
    GoToStep(0);
}

void TStepsForm::FormResize() {
    CloseButton->move(width() - CloseButton->width() - 4, CloseButton->y());
}

int TStepsForm::Step() const {
    return Shown_ ? Shown_->Step() : 0;
}

void TStepsForm::GoToStep(int K) {
    if (!Shown_)
        return;
    K = std::clamp(K, 0, StepRecord->Pivots());
    // One step back: the plan shown becomes the next one, and only one plan goes again from the
    // start.
    if (K == Step() - 1)
        std::swap(Shown_, Next_);
    Shown_->Go(K);
    Next_->Go(std::min(K + 1, StepRecord->Pivots()));
    Model_->Show(*StepRecord, *Shown_);
    const QString Status = StatusLine();
    StatusText->setText(Status);
    // The status line is what a screen reader reads with the tableau, and hears when it changes.
    StepsGrid->setAccessibleDescription(Status);
    AnnounceChange(StepsGrid, QAccessible::DescriptionChanged);
    const TCell Entering = Model_->Entering();
    if (Entering.Row != 0)
        StepsGrid->scrollTo(Model_->index(Entering.Row - 1, Entering.Col - 1));
    StepsGrid->viewport()->update();
}

QString TStepsForm::StatusLine() const {
    const int K = Step(), Pivots = StepRecord->Pivots();
    QString Line = QString("Step %1 of %2: ").arg(K).arg(Pivots);
    if (K == 0)
        Line += QString("the plan from ") + StartName(StepRecord->Start()) +
                ", its cells numbered in the order they were filled; ";
    if (K == Pivots) {
        Line += StepRecord->Optimal() ? "no reduced cost is negative, the plan is optimal; "
                                      : "the calculation stopped here; ";
        return Line + "total " + Number(Shown_->Total());
    }
    const TStepRecord::TPivot& Next = StepRecord->Pivot(K + 1);
    Line += "cell " + CellName(Next.Entering) + " enters with reduced cost " + Number(-Next.Gain) +
            "; the cycle";
    const auto Cycle = StepRecord->Cycle(K + 1);
    constexpr std::size_t Listed = 24;
    for (std::size_t C = 0; C < Cycle.size() && C < Listed; ++C)
        Line += QString(" (%1,%2)").arg(Cycle[C].Row).arg(Cycle[C].Col) +
                QChar(C % 2 == 0 ? '+' : 0x2212);
    if (Cycle.size() > Listed)
        Line += QString(" and %1 more corners").arg(Cycle.size() - Listed);
    return Line + " moves " + Number(Next.Theta) + "; cell " + CellName(Next.Leaving) +
           " leaves; total " + Number(Shown_->Total()) + " \u2192 " + Number(Next_->Total());
}

std::string TStepsForm::Report() const {
    return StepReportHtml(*StepRecord, StepRecord->Outcome(), "");
}

void TStepsForm::SaveButtonClick() {
    const QString Path =
        AskSaveFile(this, "Save the steps", "steps.html", "Web pages (*.html *.htm)");
    if (!Path.isEmpty())
        WriteOrSay(Path, Report());
}

void TStepsForm::PrintButtonClick() {
    QPrinter Printer;
    QPrintDialog Dialog(&Printer, this);
    if (Dialog.exec() != QDialog::Accepted)
        return;
    QTextDocument Document;
    Document.setHtml(QString::fromStdString(Report()));
    Document.print(&Printer);
}
