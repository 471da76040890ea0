#include "AnswerUnit.h"

#include "CalcUnit.h"
#include "FileBoxes.h"
#include "Glyphs.h"
#include "StepRecord.h"
#include "StepsUnit.h"
#include "TextUnit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLocale>
#include <QMimeData>
#include <QShortcut>

#include <string>

TAnswerForm* AnswerForm = nullptr;

namespace {

// Below this a plan value counts as no shipment: the non-basic mark and degenerate basic cells.
constexpr double ShownThreshold = 0.0001;

std::string IndexText(int Index) {
    return std::to_string(Index);
}

// An unused stock or unmet demand as the window shows it: "0.0" for none.
std::string ExtraText(double Value) {
    return Value < ShownThreshold ? std::string("0.0") : AmountText(Value);
}

// The same without the padding that aligns it in the grid, for copies and files.
std::string UnpaddedExtra(double Value) {
    std::string Text = ExtraText(Value);
    return Text.erase(0, Text.find_first_not_of(' '));
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
    OkButton->Cancel = true;
    OkButton->OnClick = [this] { OkButtonClick(); };
    SaveButton = MakeFlatButton(ButtonsPanel, 4, SaveGlyph(), "Save the result to a file",
                                QKeySequence::Save);
    SaveButton->OnClick = [this] { SaveButtonClick(); };
    StepsButton = new TButton(ButtonsPanel, "&Steps...");
    SetBounds(StepsButton, 334, 4, 81, 25);
    StepsButton->OnClick = [this] { StepsButtonClick(); };

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

    setTabOrder(OkButton, StepsButton);
    setTabOrder(StepsButton, AddGrid);
    setTabOrder(AddGrid, AnswerGrid);
    SetActiveControl(OkButton);

    // Ctrl+C anywhere copies the whole result, from a grid as well.
    auto* Copy = new QShortcut(QKeySequence::Copy, this);
    connect(Copy, &QShortcut::activated, this, [this] { CopyResult(); });
    for (TStringGrid* Grid : {AnswerGrid, AddGrid})
        Grid->SetCopyHandler([this] { CopyResult(); });

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
    StepsButton->move(width() - StepsButton->width() - 4, StepsButton->y());
}

void TAnswerForm::StepsButtonClick() {
    StepsForm->ShowModal();
}

void TAnswerForm::SaveButtonClick() {
    const QString Path =
        AskSaveFile(this, "Save the result", "result.csv", "Comma-separated values (*.csv)");
    if (!Path.isEmpty())
        WriteOrSay(Path, ResultCsv());
}

void TAnswerForm::OkButtonClick() {
    close();
}

void TAnswerForm::FillResults() {
    Shown_.Time = ElapsedTimeToStr(Calc->CalcTime);
    Shown_.Cost = Calc->TotalCost();
    TimeText->ShowValue(QString::fromStdString(Shown_.Time));
    SumText->ShowValue(
        QString::fromStdString(CostText(Shown_.Cost, QLocale().decimalPoint().toStdString())));
    Shown_.Extra.clear();
    Shown_.ExtraKind = Calc->BalanceKind == 1 || Calc->BalanceKind == 2 ? Calc->BalanceKind : 0;
    Shown_.Stocks.clear();
    Shown_.Demands.clear();

    switch (Calc->BalanceKind) {
    case 1:
        AddBox->setTitle("Dissatisfied Demands");
        AddGrid->SetColCount(Calc->N);
        for (int J = 1; J <= Calc->N; ++J) {
            AddGrid->SetCells(J - 1, 0, IndexText(J));
            Shown_.Extra.push_back(Calc->GetX(Calc->M, J));
            AddGrid->SetCells(J - 1, 1, ExtraText(Shown_.Extra.back()));
        }
        Calc->M = Calc->M - 1;
        break;
    case 2:
        AddBox->setTitle("Unused Stocks");
        AddGrid->SetColCount(Calc->M);
        for (int I = 1; I <= Calc->M; ++I) {
            AddGrid->SetCells(I - 1, 0, IndexText(I));
            Shown_.Extra.push_back(Calc->GetX(I, Calc->N));
            AddGrid->SetCells(I - 1, 1, ExtraText(Shown_.Extra.back()));
        }
        Calc->N = Calc->N - 1;
        break;
    default:
        break;
    }
    const bool Extra = Shown_.ExtraKind != 0;
    SetAccessibleCaption(AddGrid, AddBox->title());
    AddBox->setVisible(Extra);
    AddGrid->setVisible(Extra);

    const int M = Calc->M;
    const int N = Calc->N;
    Shown_.Plan.resize(std::size_t(M) * std::size_t(N));
    for (int I = 1; I <= M; ++I)
        Shown_.Stocks.push_back(Calc->GetA(I));
    for (int J = 1; J <= N; ++J)
        Shown_.Demands.push_back(Calc->GetB(J));
    StepsButton->setEnabled(StepRecord && StepRecord->Recorded());
    AnswerGrid->SetColCount(N + 1);
    AnswerGrid->SetRowCount(M + 1);
    for (int J = 1; J <= N; ++J)
        AnswerGrid->SetCells(J, 0, IndexText(J));
    for (int I = 1; I <= M; ++I) {
        AnswerGrid->SetCells(0, I, IndexText(I));
        for (int J = 1; J <= N; ++J) {
            const double Value = Calc->GetX(I, J);
            Shown_.Plan[std::size_t(I - 1) * std::size_t(N) + std::size_t(J - 1)] = Value;
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

// The result's rows of cells, each cell a header or a value; an empty row stands between the
// parts.
std::vector<std::vector<TAnswerForm::TResultCell>>
TAnswerForm::ResultRows(const std::string& Decimal) const {
    const auto Amount = [&Decimal](double Value) {
        std::string Text = UnpaddedExtra(Value);
        return Text.replace(Text.size() - 2, 1, Decimal);
    };
    const auto Head = [](std::string Text) { return TResultCell{std::move(Text), true}; };
    const auto Value = [](std::string Text) { return TResultCell{std::move(Text), false}; };
    std::vector<std::vector<TResultCell>> Rows;
    Rows.push_back({Head(PlainCaption(TimeLabel->text()).toStdString()), Value(Shown_.Time)});
    Rows.push_back({Head(PlainCaption(SumLabel->text()).toStdString()),
                    Value(CostText(Shown_.Cost, Decimal))});
    Rows.push_back({});
    Rows.push_back({Head(AnswerBox->title().toStdString())});
    std::vector<TResultCell> Consumers{Head("")};
    for (int J = 1; J <= Shown_.N(); ++J)
        Consumers.push_back(Head(IndexText(J)));
    Rows.push_back(std::move(Consumers));
    for (int I = 1; I <= Shown_.M(); ++I) {
        std::vector<TResultCell> Row{Head(IndexText(I))};
        for (int J = 1; J <= Shown_.N(); ++J) {
            const double X = Shown_.X(I, J);
            Row.push_back(Value(X < ShownThreshold ? std::string() : Amount(X)));
        }
        Rows.push_back(std::move(Row));
    }
    if (!Shown_.Extra.empty()) {
        Rows.push_back({});
        Rows.push_back({Head(AddBox->title().toStdString())});
        std::vector<TResultCell> Numbers, Amounts;
        for (std::size_t K = 0; K < Shown_.Extra.size(); ++K) {
            Numbers.push_back(Head(IndexText(int(K) + 1)));
            Amounts.push_back(Value(Amount(Shown_.Extra[K])));
        }
        Rows.push_back(std::move(Numbers));
        Rows.push_back(std::move(Amounts));
    }
    return Rows;
}

std::string TAnswerForm::ResultText() const {
    std::string Text;
    for (const std::vector<TResultCell>& Row : ResultRows(".")) {
        for (std::size_t K = 0; K < Row.size(); ++K)
            Text += (K > 0 ? "\t" : "") + Row[K].Text;
        Text += '\n';
    }
    return Text;
}

std::string TAnswerForm::ResultHtml() const {
    std::string Html = "<html><head><meta charset=\"utf-8\"></head><body><table>\n";
    for (const std::vector<TResultCell>& Row : ResultRows(QLocale().decimalPoint().toStdString())) {
        Html += "<tr>";
        for (const TResultCell& Cell : Row) {
            const char* Tag = Cell.Header ? "th" : "td";
            Html += std::string("<") + Tag + ">" +
                    QString::fromStdString(Cell.Text).toHtmlEscaped().toStdString() + "</" + Tag +
                    ">";
        }
        Html += "</tr>\n";
    }
    return Html + "</table></body></html>\n";
}

std::string TAnswerForm::ResultCsv() const {
    const bool UnusedStocks = Shown_.ExtraKind == 2;
    const std::string Extra = AddBox->title().toStdString();
    std::string Csv;
    for (int J = 1; J <= Shown_.N(); ++J)
        Csv += ",Consumer " + IndexText(J);
    Csv += ",Stock";
    if (UnusedStocks)
        Csv += "," + Extra;
    Csv += "\n";
    for (int I = 1; I <= Shown_.M(); ++I) {
        Csv += "Supplier " + IndexText(I);
        for (int J = 1; J <= Shown_.N(); ++J) {
            const double X = Shown_.X(I, J);
            Csv += "," + (X < ShownThreshold ? std::string() : UnpaddedExtra(X));
        }
        Csv += "," + NumberText(Shown_.Stocks[std::size_t(I - 1)]);
        if (UnusedStocks)
            Csv += "," + UnpaddedExtra(Shown_.Extra[std::size_t(I - 1)]);
        Csv += "\n";
    }
    Csv += "Demand";
    for (double Demand : Shown_.Demands)
        Csv += "," + NumberText(Demand);
    Csv += ",\n";
    if (Shown_.ExtraKind == 1) {
        Csv += Extra;
        for (double Unmet : Shown_.Extra)
            Csv += "," + UnpaddedExtra(Unmet);
        Csv += ",\n";
    }
    return Csv + PlainCaption(SumLabel->text()).toStdString() + "," + CostText(Shown_.Cost, ".") +
           "\n";
}

void TAnswerForm::CopyResult() const {
    auto* Data = new QMimeData;
    Data->setText(QString::fromStdString(ResultText()));
    Data->setHtml(QString::fromStdString(ResultHtml()));
    QGuiApplication::clipboard()->setMimeData(Data);
}
