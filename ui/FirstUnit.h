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

    // Opens the data entry on the problem in the file, as OK opens it, with the entries set to
    // its sizes; a refused file is named in an error box over the main window. A file dropped on
    // the window, or named on the command line, opens so.
    void OpenProblemFile(const QString& Path);

protected:
    void dragEnterEvent(QDragEnterEvent* Event) override;
    void dropEvent(QDropEvent* Event) override;

private:
    void ShowSizes(int M, int N);
    static void ValidateEntry(TEdit* Edit, QString& LastText);
};

extern TFirstForm* FirstForm;

// Creates the program's windows, each once and into its global reference, in the order
// FirstForm, RandomForm, BusyForm, InputABCForm, AnswerForm, AboutBox, StepsForm; DestroyWindows
// frees them in the reverse order and clears the references.
void CreateWindows();
void DestroyWindows();
