#include "InputABCUnit.h"

#include "CalcUnit.h"
#include "Clock.h"
#include "RandomGen.h"
#include "RandomUnit.h"
#include "TextUnit.h"

#include <QLocale>
#include <QPainter>
#include <QShortcut>

#include <cmath>
#include <string>

TInputABCForm* InputABCForm = nullptr;

namespace {

bool ReadsAsNumber(std::string_view Text) {
    double Value = 0.0;
    return TextToReal(Text, Value);
}

// Spreadsheets copy numbers as the user's region writes them, while a cell reads only the full
// stop as the decimal point and no group marks: where the region writes numbers otherwise, a
// pasted "2,5" or "1.000" would count as 0 or as 1.
std::string PastedNumber(std::string_view Field) {
    const QLocale Region;
    if (Region.decimalPoint() == QLatin1String("."))
        return std::string(Field);
    return RegionalNumberToPoint(Field, Region.decimalPoint().toStdString(),
                                 Region.groupSeparator().toStdString());
}

TStringGrid* MakeGrid(TGroupBox* Box, int FixedCols, TStringGrid::TScrollBars Bars) {
    auto* Grid = new TStringGrid(Box);
    Grid->SetFixedCols(FixedCols);
    Grid->SetFixedRows(1);
    Grid->SetDefaultColWidth(40);
    Grid->SetDefaultRowHeight(20);
    Grid->SetScrollBars(Bars);
    Grid->SetEditing(true);
    // OK stores 0 for a cell that is not a number; the grid shows which cells those are.
    Grid->SetCellCheck(ReadsAsNumber, "Not a number: counts as 0");
    Grid->SetPasteFilter(PastedNumber);
    SetAlign(Grid, TAlign::Client);
    SetAccessibleCaption(Grid, Box->title());
    return Grid;
}

TGroupBox* MakeBox(QWidget* Parent, const QString& Caption, int Top, int Height, TAlign Align) {
    auto* Box = new TGroupBox(Parent, Caption);
    SetBounds(Box, 0, Top, 419, Height);
    SetAlign(Box, Align);
    return Box;
}

// A cell's number, or 0 when its text is not one.
double CellValue(const TStringGrid* Grid, int Col, int Row) {
    double Value = 0.0;
    if (!TextToReal(Grid->Cells(Col, Row), Value))
        Value = 0.0;
    return Value;
}

} // namespace

QPixmap SunGlyph() {
    QPixmap Glyph(16, 16);
    Glyph.fill(Qt::transparent);
    QPainter Painter(&Glyph);
    Painter.setPen(QPen(QColor(224, 128, 0), 1));
    for (int Ray = 0; Ray < 8; ++Ray) {
        const double Angle = Ray * M_PI / 4;
        const double Dx = std::cos(Angle), Dy = std::sin(Angle);
        Painter.drawLine(QPointF(7.5 + 5 * Dx, 7.5 + 5 * Dy), QPointF(7.5 + 7 * Dx, 7.5 + 7 * Dy));
    }
    Painter.setBrush(QColor(255, 224, 0));
    Painter.drawEllipse(QRectF(4, 4, 7, 7));
    return Glyph;
}

TInputABCForm::TInputABCForm() : TForm(TBorderStyle::Sizeable) {
    setWindowTitle("Kelvur - Input Data");
    SetClientSize(419, 417);

    InputABox = MakeBox(this, "Stocks", 0, 76, TAlign::Top);
    InputA = MakeGrid(InputABox, 0, TStringGrid::TScrollBars::Horizontal);
    InputA->SetRowCount(2);
    InputBBox = MakeBox(this, "Demands", 76, 76, TAlign::Top);
    InputB = MakeGrid(InputBBox, 0, TStringGrid::TScrollBars::Horizontal);
    InputB->SetRowCount(2);
    InputB->SetColWidths(0, 45);
    InputCBox = MakeBox(this, "Transport Costs", 152, 233, TAlign::Client);
    InputC = MakeGrid(InputCBox, 1, TStringGrid::TScrollBars::Both);

    ButtonsPanel = new TPanel(this);
    SetBounds(ButtonsPanel, 0, 385, 419, 32);
    SetAlign(ButtonsPanel, TAlign::Bottom);
    RandomButton = new TSpeedButton(ButtonsPanel);
    SetBounds(RandomButton, 4, 4, 25, 25);
    RandomButton->SetGlyph(SunGlyph(), GreyedGlyph(SunGlyph()));
    RandomButton->SetHint("Randomize");
    RandomButton->SetShortcutKey(QKeySequence(Qt::CTRL | Qt::Key_R));
    RandomButton->OnClick = [this] { RandomButtonClick(); };
    OkButton = new TButton(ButtonsPanel, "OK");
    SetBounds(OkButton, 256, 4, 81, 25);
    OkButton->ModalResult = mrOk;
    OkButton->OnClick = [this] { OkButtonClick(); };
    CancelButton = new TButton(ButtonsPanel, "Cancel");
    SetBounds(CancelButton, 342, 4, 75, 25);
    CancelButton->ModalResult = mrCancel;

    for (int Index = 0; Index < 3; ++Index) {
        Grid(Index)->SetEditHandler(
            [this, Index](std::vector<TStringGrid::TCellEdit>&& Edits, bool Typed) {
                std::vector<TEditHistory::TChange> Step;
                for (TStringGrid::TCellEdit& Edit : Edits)
                    Step.push_back(
                        {Index, Edit.Col, Edit.Row, std::move(Edit.Old), std::move(Edit.New)});
                if (Typed)
                    History_.Type(std::move(Step.front()));
                else
                    History_.Add(std::move(Step));
            });
        Grid(Index)->SetUndoHandlers([this] { Undo(); }, [this] { Redo(); });
    }
    // The grids' editors take these keys first, for their own typing.
    connect(new QShortcut(QKeySequence::Undo, this), &QShortcut::activated, this,
            [this] { Undo(); });
    connect(new QShortcut(QKeySequence::Redo, this), &QShortcut::activated, this,
            [this] { Redo(); });

    setTabOrder(InputA, InputB);
    setTabOrder(InputB, InputC);
    setTabOrder(InputC, OkButton);
    setTabOrder(OkButton, CancelButton);

    OnShow = [this] { FormShow(); };
    OnResize = [this] { FormResize(); };
}

void TInputABCForm::FormShow() {
    if (Mending_) {
        FocusProblemCell();
        return;
    }
    History_.Clear();
    const int M = Calc->M;
    const int N = Calc->N;
    InputA->SetColCount(M);
    InputB->SetColCount(N);
    InputC->SetColCount(N + 1);
    InputC->SetRowCount(M + 1);
    for (int I = 1; I <= M; ++I) {
        InputA->SetCells(I - 1, 0, std::to_string(I));
        InputA->SetCells(I - 1, 1, "");
        InputC->SetCells(0, I, std::to_string(I));
    }
    for (int J = 1; J <= N; ++J) {
        InputB->SetCells(J - 1, 0, std::to_string(J));
        InputB->SetCells(J - 1, 1, "");
        InputC->SetCells(J, 0, std::to_string(J));
    }
    for (int I = 1; I <= M; ++I)
        for (int J = 1; J <= N; ++J)
            InputC->SetCells(J, I, "");
    // Back to the first entry cell, which the opening's editor starts on.
    for (TStringGrid* Grid : {InputA, InputB, InputC}) {
        Grid->SetLeftCol(Grid->FixedCols());
        Grid->SetTopRow(Grid->FixedRows());
        Grid->SetCurrentCell(Grid->FixedCols(), Grid->FixedRows());
    }
    SetActiveControl(InputA);
}

int TInputABCForm::ShowToMend() {
    Mending_ = true;
    const int Result = ShowModal();
    Mending_ = false;
    return Result;
}

// The store holds what OK read from the cells. Of the refusals of its check only a negative
// stock or demand names a cell: the cells never read as a number that is not finite, and
// numbers too large to calculate with are a matter of all of them together.
void TInputABCForm::FocusProblemCell() {
    const auto FirstNegative = [](int Count, const auto& Value) {
        for (int K = 1; K <= Count; ++K)
            if (Value(K) < 0.0)
                return K;
        return 0;
    };
    TStringGrid* Grid = InputA;
    int Col = 0;
    if (const int I = FirstNegative(Calc->M, [](int K) { return Calc->GetA(K); })) {
        Col = I - 1;
    } else if (const int J = FirstNegative(Calc->N, [](int K) { return Calc->GetB(K); })) {
        Grid = InputB;
        Col = J - 1;
    }
    Grid->SetCurrentCell(Col, 1);
    Grid->scrollTo(Grid->currentIndex());
    SetActiveControl(Grid);
}

void TInputABCForm::FormResize() {
    OkButton->move(OuterWidth() - 171, OkButton->y());
    CancelButton->move(OuterWidth() - 85, CancelButton->y());
}

void TInputABCForm::OkButtonClick() {
    LoadProblem(*Calc, EnteredProblem());
}

TProblem TInputABCForm::EnteredProblem() const {
    TProblem Problem(Calc->M, Calc->N);
    for (int I = 1; I <= Problem.M; ++I)
        Problem.Stock(I) = CellValue(InputA, I - 1, 1);
    for (int J = 1; J <= Problem.N; ++J)
        Problem.Demand(J) = CellValue(InputB, J - 1, 1);
    for (int I = 1; I <= Problem.M; ++I)
        for (int J = 1; J <= Problem.N; ++J)
            Problem.Cost(I, J) = CellValue(InputC, J, I);
    return Problem;
}

void TInputABCForm::ShowProblem(const TProblem& Problem) {
    std::vector<TEditHistory::TChange> Step;
    Step.reserve(Problem.A.size() + Problem.B.size() + Problem.C.size());
    const auto Show = [&](int Index, int Col, int Row, double Value) {
        std::string Text = NumberText(Value);
        Step.push_back({Index, Col, Row, Grid(Index)->Cells(Col, Row), Text});
        Grid(Index)->SetCells(Col, Row, Text);
    };
    for (int I = 1; I <= Problem.M; ++I)
        Show(0, I - 1, 1, Problem.Stock(I));
    for (int J = 1; J <= Problem.N; ++J)
        Show(1, J - 1, 1, Problem.Demand(J));
    for (int I = 1; I <= Problem.M; ++I)
        for (int J = 1; J <= Problem.N; ++J)
            Show(2, J, I, Problem.Cost(I, J));
    History_.Add(std::move(Step));
}

TStringGrid* TInputABCForm::Grid(int Index) const {
    return Index == 0 ? InputA : Index == 1 ? InputB : InputC;
}

void TInputABCForm::Undo() {
    History_.Undo([this](const TEditHistory::TChange& Change, const std::string& Text) {
        Grid(Change.Grid)->SetCells(Change.Col, Change.Row, Text);
    });
}

void TInputABCForm::Redo() {
    History_.Redo([this](const TEditHistory::TChange& Change, const std::string& Text) {
        Grid(Change.Grid)->SetCells(Change.Col, Change.Row, Text);
    });
}

void TInputABCForm::RandomButtonClick() {
    // Seeded before the dialog shows, also when it is then cancelled.
    RandomState = UtcMillisecondsOfDay();
    if (RandomForm->ShowModal() != mrOk)
        return;
    ShowProblem(
        RandomFill(Calc->M, Calc->N, RandomForm->MaxA(), RandomForm->MaxB(), RandomForm->MaxC()));
}
