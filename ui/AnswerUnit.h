// The results window: the calculation time, the total transport cost, the plan, and for an
// unbalanced problem what the dummy supplier or consumer received. Filled from the store at
// every showing; filling takes the dummy row or column out of the store's size again.
#pragma once

#include "StringGrid.h"
#include "Toolkit.h"

class TAnswerForm : public TForm {
public:
    TAnswerForm();

    TPanel* ButtonsPanel;
    TButton* OkButton;
    TGroupBox* AddBox;
    TStringGrid* AddGrid;
    TPanel* SumPanel;
    TLabel* SumLabel;
    TLabel* TimeLabel;
    TStaticText* SumText;
    TStaticText* TimeText;
    TGroupBox* AnswerBox;
    TStringGrid* AnswerGrid;

    void FormShow();
    void FormResize();
    void OkButtonClick();
    // Reads Calc and decrements its M (a dummy supplier) or N (a dummy consumer): run it once
    // per calculation.
    void FillResults();
};

extern TAnswerForm* AnswerForm;
