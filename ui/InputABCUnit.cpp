#include "InputABCUnit.h"

#include "CalcUnit.h"
#include "Clock.h"
#include "FileBoxes.h"
#include "Glyphs.h"
#include "ProblemFile.h"
#include "RandomGen.h"
#include "RandomUnit.h"
#include "TextUnit.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLocale>
#include <QShortcut>

#include <algorithm>
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

constexpr const char* ProblemFilters =
    "Problem files (*.csv *.tsv *.txt);;Linear programs (*.lp);;All files (*)";

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
    RandomButton = MakeFlatButton(ButtonsPanel, 4, SunGlyph(), "Randomize",
                                  QKeySequence(Qt::CTRL | Qt::Key_R));
    RandomButton->OnClick = [this] { RandomButtonClick(); };
    OpenButton =
        MakeFlatButton(ButtonsPanel, 29, OpenGlyph(), "Open a problem file", QKeySequence::Open);
    OpenButton->OnClick = [this] { OpenButtonClick(); };
    SaveButton = MakeFlatButton(ButtonsPanel, 54, SaveGlyph(), "Save the problem to a file",
                                QKeySequence::Save);
    SaveButton->OnClick = [this] { SaveButtonClick(); };
    LastButton =
        MakeFlatButton(ButtonsPanel, 79, LastGlyph(), "The problem of the last calculation",
                       QKeySequence(Qt::CTRL | Qt::Key_L));
    LastButton->OnClick = [this] { LastButtonClick(); };
    // In the room between the flat buttons and OK.
    StartBox = new QComboBox(ButtonsPanel);
    StartBox->addItems({"North-west corner", "Least cost", "Vogel"});
    StartBox->setItemData(2, "Vogel's approximation", Qt::AccessibleTextRole);
    StartLabel = new TLabel(ButtonsPanel, "&Start:", 107, 10);
    const int ComboLeft = StartLabel->geometry().right() + 3;
    SetBounds(StartBox, ComboLeft, 6, std::min(StartBox->sizeHint().width(), 252 - ComboLeft), 21);
    StartLabel->SetFocusControl(StartBox);
    StartBox->setToolTip("The plan the calculation starts from (Alt+S)");
    OkButton = new TButton(ButtonsPanel, "OK");
    SetBounds(OkButton, 256, 4, 81, 25);
    OkButton->ModalResult = mrOk;
    OkButton->OnClick = [this] { OkButtonClick(); };
    CancelButton = new TButton(ButtonsPanel, "Cancel");
    SetBounds(CancelButton, 342, 4, 75, 25);
    CancelButton->ModalResult = mrCancel;

    for (int Index = 0; Index < 3; ++Index) {
        TStringGrid::TEditHandler Edits;
        Edits.Typed = [this, Index](int Col, int Row, const std::string& Old,
                                    const std::string& New) {
            History_.Type(Index, Col, Row, Old, New);
        };
        // A pasted block's cells before it lands, and after.
        Edits.Pasted = [this, Index](int Left, int Top, int Right, int Bottom, bool Landed) {
            if (!Landed)
                History_.Begin(std::size_t(Right - Left + 1) * std::size_t(Bottom - Top + 1));
            for (int Row = Top; Row <= Bottom; ++Row)
                for (int Col = Left; Col <= Right; ++Col) {
                    const std::string& Text = Grid(Index)->Cells(Col, Row);
                    if (Landed)
                        History_.After(Text);
                    else
                        History_.Before(Index, Col, Row, Text);
                }
            if (Landed)
                History_.End();
        };
        Grid(Index)->SetEditHandler(std::move(Edits));
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
    setTabOrder(CancelButton, StartBox);
    setAcceptDrops(true);

    OnShow = [this] { FormShow(); };
    OnResize = [this] { FormResize(); };
}

void TInputABCForm::FormShow() {
    if (Mending_) {
        FocusProblemCell();
        return;
    }
    LayOut(Calc->M, Calc->N);
    // An opened file is where this showing starts: nothing to undo.
    if (ShowNext_) {
        WriteProblem(*ShowNext_, false);
        ShowNext_.reset();
    }
    SetActiveControl(InputA);
}

// Blank tables for an M x N problem, each at its first entry cell.
void TInputABCForm::LayOut(int M, int N) {
    History_.Clear();
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
    // Into the last problem's own numbers, which a calculation of the same size reuses.
    if (!Last_)
        Last_.emplace();
    ReadCells(*Last_);
    LoadProblem(*Calc, *Last_);
}

TProblem TInputABCForm::EnteredProblem() const {
    TProblem Problem;
    ReadCells(Problem);
    return Problem;
}

void TInputABCForm::ReadCells(TProblem& Problem) const {
    Problem.M = Calc->M;
    Problem.N = Calc->N;
    Problem.A.resize(std::size_t(Problem.M));
    Problem.B.resize(std::size_t(Problem.N));
    Problem.C.resize(std::size_t(Problem.M) * std::size_t(Problem.N));
    for (int I = 1; I <= Problem.M; ++I)
        Problem.Stock(I) = CellValue(InputA, I - 1, 1);
    for (int J = 1; J <= Problem.N; ++J)
        Problem.Demand(J) = CellValue(InputB, J - 1, 1);
    for (int I = 1; I <= Problem.M; ++I)
        for (int J = 1; J <= Problem.N; ++J)
            Problem.Cost(I, J) = CellValue(InputC, J, I);
}

void TInputABCForm::ShowProblem(const TProblem& Problem) {
    WriteProblem(Problem, true);
}

void TInputABCForm::WriteProblem(const TProblem& Problem, bool Undoable) {
    if (Undoable)
        History_.Begin(Problem.A.size() + Problem.B.size() + Problem.C.size());
    const auto Show = [this, Undoable](int Index, int Col, int Row, double Value) {
        const std::string Text = NumberText(Value);
        if (Undoable) {
            History_.Before(Index, Col, Row, Grid(Index)->Cells(Col, Row));
            History_.After(Text);
        }
        Grid(Index)->SetCells(Col, Row, Text);
    };
    for (int I = 1; I <= Problem.M; ++I)
        Show(0, I - 1, 1, Problem.Stock(I));
    for (int J = 1; J <= Problem.N; ++J)
        Show(1, J - 1, 1, Problem.Demand(J));
    for (int I = 1; I <= Problem.M; ++I)
        for (int J = 1; J <= Problem.N; ++J)
            Show(2, J, I, Problem.Cost(I, J));
    if (Undoable)
        History_.End();
}

TStringGrid* TInputABCForm::Grid(int Index) const {
    return Index == 0 ? InputA : Index == 1 ? InputB : InputC;
}

TEditHistory::TApply TInputABCForm::CellPutter() {
    return [this](int Index, int Col, int Row, std::string_view Text) {
        Grid(Index)->SetCells(Col, Row, Text);
    };
}

void TInputABCForm::Undo() {
    History_.Undo(CellPutter());
}

void TInputABCForm::Redo() {
    History_.Redo(CellPutter());
}

void TInputABCForm::RandomButtonClick() {
    // Seeded before the dialog shows, also when it is then cancelled.
    RandomState = UtcMillisecondsOfDay();
    if (RandomForm->ShowModal() != mrOk)
        return;
    ShowProblem(
        RandomFill(Calc->M, Calc->N, RandomForm->MaxA(), RandomForm->MaxB(), RandomForm->MaxC()));
}

TStart TInputABCForm::ChosenStart() const {
    switch (StartBox->currentIndex()) {
    case 1:
        return TStart::LeastCost;
    case 2:
        return TStart::Vogel;
    default:
        return TStart::NorthWest;
    }
}

void TInputABCForm::TakeProblem(const TProblem& Problem) {
    if (Problem.M != Calc->M || Problem.N != Calc->N) {
        Calc->M = Problem.M;
        Calc->N = Problem.N;
        LayOut(Problem.M, Problem.N);
    }
    ShowProblem(Problem);
}

bool TInputABCForm::OpenProblem(const QString& Path) {
    const std::optional<TProblem> Problem = ReadProblemOrSay(Path);
    if (Problem)
        TakeProblem(*Problem);
    return Problem.has_value();
}

void TInputABCForm::ShowNextWith(const TProblem& Problem) {
    ShowNext_ = Problem;
}

void TInputABCForm::OpenButtonClick() {
    const QString Path = AskOpenFile(this, "Open a problem", ProblemFilters);
    if (!Path.isEmpty())
        OpenProblem(Path);
}

QString TInputABCForm::FirstUnreadable() {
    const auto Unreadable = [](const std::string& Text) { return !ReadsAsNumber(Text); };
    const auto Named = [this](TStringGrid* In, int Col, int Row, const QString& What) {
        In->SetCurrentCell(Col, Row);
        In->scrollTo(In->currentIndex());
        In->setFocus();
        const QString Text = QString::fromStdString(In->Cells(Col, Row));
        return What + (Text.isEmpty() ? " is empty" : ", \"" + Text + "\", is not a number");
    };
    for (int I = 1; I <= Calc->M; ++I)
        if (Unreadable(InputA->Cells(I - 1, 1)))
            return Named(InputA, I - 1, 1, QString("The stock of supplier %1").arg(I));
    for (int J = 1; J <= Calc->N; ++J)
        if (Unreadable(InputB->Cells(J - 1, 1)))
            return Named(InputB, J - 1, 1, QString("The demand of consumer %1").arg(J));
    for (int I = 1; I <= Calc->M; ++I)
        for (int J = 1; J <= Calc->N; ++J)
            if (Unreadable(InputC->Cells(J, I)))
                return Named(InputC, J, I,
                             QString("The cost from supplier %1 to consumer %2").arg(I).arg(J));
    return {};
}

// A cell that does not read as a number is never saved, not as 0 and not as a text that would
// not read back: the user is told which it is, and nothing is written.
void TInputABCForm::SaveButtonClick() {
    if (const QString Unreadable = FirstUnreadable(); !Unreadable.isEmpty()) {
        ErrorBox(Unreadable + ": nothing was saved.");
        return;
    }
    const QString Path = AskSaveFile(this, "Save the problem", "problem.csv", ProblemFilters);
    if (Path.isEmpty())
        return;
    const TProblem Problem = EnteredProblem();
    std::string Text;
    if (Path.endsWith(".lp", Qt::CaseInsensitive)) {
        Text = ProblemLpText(Problem);
    } else {
        Text = ProblemTableText(Problem);
        // Names and numbers hold no comma, so the table's commas are its separators.
        if (Path.endsWith(".tsv", Qt::CaseInsensitive))
            std::replace(Text.begin(), Text.end(), ',', '\t');
    }
    WriteOrSay(Path, Text);
}

void TInputABCForm::LastButtonClick() {
    if (Last_)
        TakeProblem(*Last_);
}

// A problem file dropped on the window opens as Open opens it.
void TInputABCForm::dragEnterEvent(QDragEnterEvent* Event) {
    if (OneLocalFile(Event->mimeData()))
        Event->acceptProposedAction();
}

void TInputABCForm::dropEvent(QDropEvent* Event) {
    QString Path;
    if (!OneLocalFile(Event->mimeData(), &Path))
        return;
    Event->acceptProposedAction();
    OpenProblem(Path);
}
