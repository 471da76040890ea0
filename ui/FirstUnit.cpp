#include "FirstUnit.h"

#include "AboutUnit.h"
#include "AnswerUnit.h"
#include "BusyUnit.h"
#include "CalcUnit.h"
#include "FileBoxes.h"
#include "InputABCUnit.h"
#include "ProgramFaces.h"
#include "RandomUnit.h"
#include "StepsUnit.h"
#include "TextUnit.h"

#include <QDragEnterEvent>
#include <QDropEvent>

#include <cstdint>
#include <utility>

TFirstForm* FirstForm = nullptr;

TFirstForm::TFirstForm() : TForm(TBorderStyle::Single) {
    setWindowTitle("Kelvor");
    SetClientSize(306, 119);

    InputGroupBox = new TGroupBox(this, "Input");
    SetBounds(InputGroupBox, 8, 8, 289, 73);
    InputMLabel = new TLabel(InputGroupBox, "Number of &Supplers", 8, 20);
    InputNLabel = new TLabel(InputGroupBox, "Number of &Consumers", 8, 44);
    MaxMLabel = new TLabel(InputGroupBox, "", 212, 20);
    MaxNLabel = new TLabel(InputGroupBox, "", 212, 44);

    InputMEdit = new TEdit(InputGroupBox);
    SetBounds(InputMEdit, 120, 16, 81, 21);
    InputMEdit->setMaxLength(5);
    InputMEdit->setText("1");
    InputNEdit = new TEdit(InputGroupBox);
    SetBounds(InputNEdit, 120, 40, 81, 21);
    InputNEdit->setMaxLength(5);
    InputNEdit->setText("1");
    InputMLabel->SetFocusControl(InputMEdit);
    InputNLabel->SetFocusControl(InputNEdit);

    OkButton = new TButton(this, "&OK");
    SetBounds(OkButton, 8, 88, 81, 25);
    AboutButton = new TButton(this, "&About");
    SetBounds(AboutButton, 112, 88, 81, 25);
    ExitButton = new TButton(this, "E&xit");
    SetBounds(ExitButton, 216, 88, 81, 25);

    setTabOrder(InputMEdit, InputNEdit);
    setTabOrder(InputNEdit, OkButton);
    setTabOrder(OkButton, AboutButton);
    setTabOrder(AboutButton, ExitButton);
    SetActiveControl(InputMEdit);

    // Connected only now: the initial texts above are not edits of the user's.
    InputMEdit->OnChange = [this] { InputMEditChange(); };
    InputNEdit->OnChange = [this] { InputNEditChange(); };
    InputMEdit->OnKeyPress = [this](QChar Key) { InputMEditKeyPress(Key); };
    InputNEdit->OnKeyPress = [this](QChar Key) { InputNEditKeyPress(Key); };
    OkButton->OnClick = [this] { OkButtonClick(); };
    AboutButton->OnClick = [this] { AboutButtonClick(); };
    ExitButton->OnClick = [this] { ExitButtonClick(); };

    setAcceptDrops(true);
    FormCreate();
}

void TFirstForm::FormCreate() {
    LastMText = InputMEdit->text();
    LastNText = InputNEdit->text();
    const QString Limits = "(1 to " + QString::number(MaxSize) + ")";
    MaxMLabel->Recaption(Limits);
    MaxNLabel->Recaption(Limits);
    // A screen reader reads the range with the entry, as the eye takes it in beside it.
    InputMEdit->setAccessibleDescription(Limits);
    InputNEdit->setAccessibleDescription(Limits);
}

// A rewrite of the text from here raises the change notification again, nested; that run finds
// a valid text and only records it. The text is read from the edit each time, since an outer
// run resumes after the nested one has changed it.
void TFirstForm::ValidateEntry(TEdit* Edit, QString& LastText) {
    const QString Text = Edit->text();
    if (Text.isEmpty()) {
        Edit->setText(LastText);
        Edit->SelectRange(0, int(Edit->text().length()));
        return;
    }
    std::int32_t Value = 0;
    if (!TextToInt(Text.toStdString(), Value)) {
        Edit->setText(LastText);
        Edit->SelectRange(int(Edit->text().length()), 0);
        return;
    }
    if (Value < 1 || Value > MaxSize) {
        Edit->setText(Value < 1 ? QString("1") : QString::number(MaxSize));
        Edit->SelectRange(0, int(Edit->text().length()));
    }
    LastText = Edit->text();
}

void TFirstForm::InputMEditChange() {
    ValidateEntry(InputMEdit, LastMText);
}

void TFirstForm::InputNEditChange() {
    ValidateEntry(InputNEdit, LastNText);
}

// The Enter key goes on to the edit as well: only the focus moves here.
void TFirstForm::InputMEditKeyPress(QChar Key) {
    if (Key == QChar(13))
        InputNEdit->setFocus(Qt::TabFocusReason);
}

void TFirstForm::InputNEditKeyPress(QChar Key) {
    if (Key == QChar(13))
        OkButton->setFocus(Qt::TabFocusReason);
}

void TFirstForm::OkButtonClick() {
    hide();
    // A run that fails on the problem itself goes back to the data entry with the table as it
    // was typed, for as long as the user mends it and presses OK.
    bool Mend = false;
    for (;;) {
        // The entries always hold a readable size from 1 to MaxSize. Written again before a
        // mended table: a failed run may have left a dummy row or column in the sizes.
        TextToInt(InputMEdit->text().toStdString(), Calc->M);
        TextToInt(InputNEdit->text().toStdString(), Calc->N);
        const int Entered = Mend ? InputABCForm->ShowToMend() : InputABCForm->ShowModal();
        ShowSizes(InputABCForm->RowsShown(), InputABCForm->ColsShown());
        if (Entered != mrOk)
            break;
        BusyForm->Start = InputABCForm->ChosenStart();
        const int Outcome = BusyForm->ShowModal();
        switch (Outcome) {
        case mrOk:
            AnswerForm->ShowModal();
            break;
        case mrCancel:
            ErrorBox("Looping");
            break;
        case mrAbort:
            ErrorBox("Calculation aborted");
            break;
        case mrFailed:
            ErrorBox(QString::fromStdString(BusyForm->FailReason));
            break;
        default:
            break;
        }
        if (Outcome != mrFailed)
            break;
        Mend = true;
    }
    show();
}

// An opened problem file may have changed the sizes: the entries show the sizes the data entry
// has, keeping the typed text where it already reads as that number.
void TFirstForm::ShowSizes(int M, int N) {
    for (auto [Edit, Size] : {std::pair{InputMEdit, M}, std::pair{InputNEdit, N}}) {
        std::int32_t Shown = 0;
        if (!TextToInt(Edit->text().toStdString(), Shown) || Shown != Size)
            Edit->setText(QString::number(Size));
    }
}

void TFirstForm::OpenProblemFile(const QString& Path) {
    const std::optional<TProblem> Problem = ReadProblemOrSay(Path);
    if (!Problem)
        return;
    ShowSizes(Problem->M, Problem->N);
    InputABCForm->ShowNextWith(*Problem);
    OkButtonClick();
}

void TFirstForm::dragEnterEvent(QDragEnterEvent* Event) {
    if (OneLocalFile(Event->mimeData()))
        Event->acceptProposedAction();
}

void TFirstForm::dropEvent(QDropEvent* Event) {
    QString Path;
    if (!OneLocalFile(Event->mimeData(), &Path))
        return;
    Event->acceptProposedAction();
    // The drop ends before the data entry opens over the main window.
    QMetaObject::invokeMethod(
        this, [this, Path] { OpenProblemFile(Path); }, Qt::QueuedConnection);
}

void TFirstForm::AboutButtonClick() {
    AboutBox->ShowModal();
}

void TFirstForm::ExitButtonClick() {
    close();
}

void CreateWindows() {
    InstallProgramFaces();
    FirstForm = new TFirstForm;
    RandomForm = new TRandomForm;
    BusyForm = new TBusyForm;
    InputABCForm = new TInputABCForm;
    AnswerForm = new TAnswerForm;
    AboutBox = new TAboutBox;
    StepsForm = new TStepsForm;
}

void DestroyWindows() {
    delete StepsForm;
    delete AboutBox;
    delete AnswerForm;
    delete InputABCForm;
    delete BusyForm;
    delete RandomForm;
    delete FirstForm;
    StepsForm = nullptr;
    AboutBox = nullptr;
    AnswerForm = nullptr;
    InputABCForm = nullptr;
    BusyForm = nullptr;
    RandomForm = nullptr;
    FirstForm = nullptr;
}
