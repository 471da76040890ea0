// The random-fill dialog: asks for the largest stock, demand and cost that a random fill of the
// data-entry window may write.
#pragma once

#include "RandomGen.h"
#include "Toolkit.h"

class TRandomForm : public TForm {
public:
    TRandomForm();

    // The maxima as typed, each DefaultRange when its text is no whole number from 1 to
    // MaxRange. The edits keep what the user typed.
    int MaxA() const { return Range(ARangeEdit); }
    int MaxB() const { return Range(BRangeEdit); }
    int MaxC() const { return Range(CRangeEdit); }

    TLabel* ARangeLabel;
    TLabel* BRangeLabel;
    TLabel* CRangeLabel;
    TEdit* ARangeEdit;
    TEdit* BRangeEdit;
    TEdit* CRangeEdit;
    TButton* OkButton;
    TButton* CancelButton;

private:
    void FormCreate();
    static int Range(const TEdit* Edit);
};

extern TRandomForm* RandomForm;
