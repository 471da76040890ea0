// The data-entry window: three tables for the stocks, the demands and the transport costs of a
// problem of the size held in the store, blank at every opening. OK writes them into the store.
// After a calculation that the store's problem made fail, the window opens again as it was
// left, so that the user mends the table rather than typing it anew.
//
// Beside the random fill, flat buttons open a problem file (Ctrl+O), save the table to one
// (Ctrl+S) and bring back the problem of the last OK (Ctrl+L); a file dropped on the window opens
// too. A problem opened or brought back sets the tables' sizes, and with them the store's. The
// choice of start, north-west corner at first, stays from one opening to the next.
#pragma once

#include "EditHistory.h"
#include "Problem.h"
#include "StartUnit.h"
#include "StringGrid.h"
#include "Toolkit.h"

#include <optional>

class QComboBox;

class TInputABCForm : public TForm {
public:
    TInputABCForm();

    TGroupBox* InputABox;
    TStringGrid* InputA;
    TGroupBox* InputBBox;
    TStringGrid* InputB;
    TGroupBox* InputCBox;
    TStringGrid* InputC;
    TPanel* ButtonsPanel;
    TSpeedButton* RandomButton;
    TSpeedButton* OpenButton;
    TSpeedButton* SaveButton;
    TSpeedButton* LastButton;
    TLabel* StartLabel;
    QComboBox* StartBox;
    TButton* OkButton;
    TButton* CancelButton;

    void FormShow();
    void FormResize();
    void OkButtonClick();
    void RandomButtonClick();
    void OpenButtonClick();
    void SaveButtonClick();
    void LastButtonClick();

    // The start the user chose for the calculation.
    TStart ChosenStart() const;
    // The problem file at Path into the tables, its sizes too; a refused file is named in an
    // error box and every cell stays. True when it was opened.
    bool OpenProblem(const QString& Path);
    // The next showing opens on this problem rather than on blank tables (a file opened from
    // the main window); the store's sizes must be the problem's.
    void ShowNextWith(const TProblem& Problem);
    // The sizes of the tables now: the store's at the showing, or an opened problem's.
    int RowsShown() const { return InputA->ColCount(); }
    int ColsShown() const { return InputB->ColCount(); }

    // The cells as numbers, each 0 where its text is not one, for the problem of the store's size.
    TProblem EnteredProblem() const;
    // Writes the problem's numbers into the cells; the grids have its size. Undo takes it back.
    void ShowProblem(const TProblem& Problem);

    // Takes back the last paste, fill or typing into a cell, or brings it back again.
    void Undo();
    void Redo();

    // Shows the window modally with every cell as the last showing left it, the focus on the
    // first negative stock or demand in the store, or else on the first stock. Returns as
    // ShowModal does.
    int ShowToMend();

protected:
    void dragEnterEvent(QDragEnterEvent* Event) override;
    void dropEvent(QDropEvent* Event) override;

private:
    void FocusProblemCell();
    TStringGrid* Grid(int Index) const;
    // What undo and redo give back into the cells.
    TEditHistory::TApply CellPutter();
    // ShowProblem's writing, recorded for undo or not.
    void WriteProblem(const TProblem& Problem, bool Undoable);
    void LayOut(int M, int N);
    // The cells as numbers into Problem, whose lists keep their room.
    void ReadCells(TProblem& Problem) const;
    // A problem of any size into the tables; undone like a fill when the size stays.
    void TakeProblem(const TProblem& Problem);
    // The first cell that does not read as a number, named for a message; empty when none.
    QString FirstUnreadable();
    bool Mending_ = false;
    std::optional<TProblem> ShowNext_;
    std::optional<TProblem> Last_;
    // A few fills of the largest table besides the typing and pasting around them.
    TEditHistory History_{64 << 20};
};

extern TInputABCForm* InputABCForm;
