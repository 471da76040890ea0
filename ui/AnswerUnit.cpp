#include "AnswerUnit.h"

#include "CalcUnit.h"
#include "TextUnit.h"

#include <QLocale>
#include <QShortcut>

#include <string>

TAnswerForm* AnswerForm = nullptr;

namespace {

// Below this a plan value counts as no shipment: the non-basic mark and degenerate basic cells.
constexpr double ShownThreshold = 0.0001;

std::string IndexText(int Index) {
    return std::to_string(Index);
}

void SetupGrid(TStringGrid* Grid, int Cols, int Rows, int FixedCols,
               TStringGrid::TScrollBars Bars) {
    Grid->SetFixedCols(FixedCols);
    Grid->SetFixedRows(1);
    Grid->SetColCount(Cols);
    Grid->SetRowCount(Rows);
    Grid->SetDefaultColWidth(40);
    Grid->SetDefaultRowHeight(20);
    Grid->SetScrollBars(Bars);
    Grid->SetEditing(false);
    Grid->SetCopyScope(TStringGrid::TCopyScope::WholeGrid);
}

} // namespace

TAnswerForm::TAnswerForm() : TForm(TBorderStyle::Sizeable) {
    setWindowTitle("Kelvor - Results");
    SetClientSize(419, 419);

    ButtonsPanel = new TPanel(this);
    SetBounds(ButtonsPanel, 0, 387, 419, 32);
    SetAlign(ButtonsPanel, TAlign::Bottom);
    OkButton = new TButton(ButtonsPanel, "&Close");
    SetBounds(OkButton, 169, 4, 81, 25);
    OkButton->setDefault(true);
    OkButton->OnClick = [this] { OkButtonClick(); };

    AddBox = new TGroupBox(this, "");
    SetBounds(AddBox, 0, 311, 419, 76);
    SetAlign(AddBox, TAlign::Bottom);
    AddGrid = new TStringGrid(AddBox);
    SetBounds(AddGrid, 2, 15, 415, 59);
    SetAlign(AddGrid, TAlign::Client);
    SetupGrid(AddGrid, 20, 2, 0, TStringGrid::TScrollBars::Horizontal);
    AddGrid->hide();
    AddBox->hide();

    SumPanel = new TPanel(this);
    SetBounds(SumPanel, 0, 0, 419, 57);
    SetAlign(SumPanel, TAlign::Top);
    SumLabel = new TLabel(SumPanel, "Transport Cost", 8, 32);
    TimeLabel = new TLabel(SumPanel, "Calculation Time", 8, 12);
    SumText = new TStaticText(SumPanel, Qt::AlignHCenter);
    SetBounds(SumText, 192, 32, 97, 17);
    SumLabel->SetFocusControl(SumText);
    TimeText = new TStaticText(SumPanel, Qt::AlignLeft);
    SetBounds(TimeText, 192, 8, 97, 17);
    SetAccessibleCaption(TimeText, TimeLabel->text());

    AnswerBox = new TGroupBox(this, "Transport Plan");
    SetBounds(AnswerBox, 0, 57, 419, 254);
    SetAlign(AnswerBox, TAlign::Client);
    AnswerGrid = new TStringGrid(AnswerBox);
    SetBounds(AnswerGrid, 2, 15, 415, 237);
    SetAlign(AnswerGrid, TAlign::Client);
    SetupGrid(AnswerGrid, 20, 15, 1, TStringGrid::TScrollBars::Both);
    SetAccessibleCaption(AnswerGrid, AnswerBox->title());

    setTabOrder(OkButton, AddGrid);
    setTabOrder(AddGrid, AnswerGrid);
    SetActiveControl(OkButton);

    // Ctrl+C anywhere copies the plan, or the extra grid while that has the focus; a focused
    // grid copies itself the same way before the shortcut sees the key.
    auto* Copy = new QShortcut(QKeySequence::Copy, this);
    connect(Copy, &QShortcut::activated, this,
            [this] { (AddGrid->hasFocus() ? AddGrid : AnswerGrid)->CopyToClipboard(); });

    OnShow = [this] { FormShow(); };
    OnResize = [this] { FormResize(); };
}

// The toolkit runs OnShow for the program's own showings only, not when the window system
// shows the window again after a minimise: filling twice would take a second row or column off
// the store.
void TAnswerForm::FormShow() {
    FillResults();
}

void TAnswerForm::FormResize() {
    OkButton->move((width() - OkButton->width()) / 2, OkButton->y());
}

void TAnswerForm::OkButtonClick() {
    close();
}

void TAnswerForm::FillResults() {
    TimeText->ShowValue(QString::fromStdString(ElapsedTimeToStr(Calc->CalcTime)));
    SumText->ShowValue(QString::fromStdString(
        CostText(Calc->TotalCost(), QLocale().decimalPoint().toStdString())));

    const auto ExtraText = [](double Value) {
        return Value < ShownThreshold ? std::string("0.0") : AmountText(Value);
    };
    switch (Calc->BalanceKind) {
    case 1:
        AddBox->setTitle("Dissatisfied Demands");
        AddGrid->SetColCount(Calc->N);
        for (int J = 1; J <= Calc->N; ++J) {
            AddGrid->SetCells(J - 1, 0, IndexText(J));
            AddGrid->SetCells(J - 1, 1, ExtraText(Calc->GetX(Calc->M, J)));
        }
        Calc->M = Calc->M - 1;
        break;
    case 2:
        AddBox->setTitle("Unused Stocks");
        AddGrid->SetColCount(Calc->M);
        for (int I = 1; I <= Calc->M; ++I) {
            AddGrid->SetCells(I - 1, 0, IndexText(I));
            AddGrid->SetCells(I - 1, 1, ExtraText(Calc->GetX(I, Calc->N)));
        }
        Calc->N = Calc->N - 1;
        break;
    default:
        break;
    }
    const bool Extra = Calc->BalanceKind == 1 || Calc->BalanceKind == 2;
    SetAccessibleCaption(AddGrid, AddBox->title());
    AddBox->setVisible(Extra);
    AddGrid->setVisible(Extra);

    const int M = Calc->M;
    const int N = Calc->N;
    AnswerGrid->SetColCount(N + 1);
    AnswerGrid->SetRowCount(M + 1);
    for (int J = 1; J <= N; ++J)
        AnswerGrid->SetCells(J, 0, IndexText(J));
    for (int I = 1; I <= M; ++I) {
        AnswerGrid->SetCells(0, I, IndexText(I));
        for (int J = 1; J <= N; ++J) {
            const double Value = Calc->GetX(I, J);
            AnswerGrid->SetCells(J, I, Value < ShownThreshold ? std::string() : AmountText(Value));
        }
    }
    // A new result is read from its start, not from where the last one was left.
    for (TStringGrid* Grid : {AnswerGrid, AddGrid}) {
        Grid->SetLeftCol(Grid->FixedCols());
        Grid->SetTopRow(Grid->FixedRows());
        Grid->SetCurrentCell(Grid->FixedCols(), Grid->FixedRows());
    }
}
