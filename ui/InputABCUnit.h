// The data-entry window: three tables for the stocks, the demands and the transport costs of a
// problem of the size held in the store, blank at every opening. OK writes them into the store.
// After a calculation that the store's problem made fail, the window opens again as it was
// left, so that the user mends the table rather than typing it anew.
#pragma once

#include "EditHistory.h"
#include "Problem.h"
#include "StringGrid.h"
#include "Toolkit.h"

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
    TButton* OkButton;
    TButton* CancelButton;

    void FormShow();
    void FormResize();
    void OkButtonClick();
    void RandomButtonClick();

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

private:
    void FocusProblemCell();
    TStringGrid* Grid(int Index) const;
    bool Mending_ = false;
    // Enough for two fills of the largest table besides the typing and pasting around them.
    TEditHistory History_{600'000};
};

extern TInputABCForm* InputABCForm;

// The random button's glyph: a yellow sun with rays, 16 x 16.
QPixmap SunGlyph();
