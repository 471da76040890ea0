// The main window: the numbers of suppliers and consumers, kept valid at every keystroke, and
// the button that drives one whole calculation through the data entry, the progress dialog and
// the results window or an error box.
#pragma once

#include "Toolkit.h"

#include <QString>

class TFirstForm : public TForm {
public:
    TFirstForm();

    TGroupBox* InputGroupBox;
    TLabel* InputMLabel;
    TLabel* InputNLabel;
    TLabel* MaxMLabel;
    TLabel* MaxNLabel;
    TEdit* InputMEdit;
    TEdit* InputNEdit;
    TButton* OkButton;
    TButton* AboutButton;
    TButton* ExitButton;

    // The last accepted texts of the two entries, put back when an entry becomes empty or
    // unreadable.
    QString LastMText;
    QString LastNText;

    void FormCreate();
    void InputMEditChange();
    void InputNEditChange();
    void InputMEditKeyPress(QChar Key);
    void InputNEditKeyPress(QChar Key);
    void OkButtonClick();
    void AboutButtonClick();
    void ExitButtonClick();

private:
    static void ValidateEntry(TEdit* Edit, QString& LastText);
};

extern TFirstForm* FirstForm;

// Creates the program's six windows, each once and into its global reference, in the order
// FirstForm, RandomForm, BusyForm, InputABCForm, AnswerForm, AboutBox; DestroyWindows frees them
// in the reverse order and clears the references.
void CreateWindows();
void DestroyWindows();
