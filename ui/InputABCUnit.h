// The data-entry window: three tables for the stocks, the demands and the transport costs of a
// problem of the size held in the store, blank at every opening. OK writes them into the store.
#pragma once

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
};

extern TInputABCForm* InputABCForm;

// The random button's glyph: a yellow sun with rays, 16 x 16.
QPixmap SunGlyph();
