#include "RandomUnit.h"

#include "TextUnit.h"

TRandomForm* RandomForm = nullptr;

TRandomForm::TRandomForm() : TForm(TBorderStyle::Dialog) {
    setWindowTitle("Kelvor - Randomize");
    SetClientSize(343, 117);

    ARangeLabel = new TLabel(this, "Maximum value of Stocks", 8, 12);
    BRangeLabel = new TLabel(this, "Maximum value of Demands", 8, 36);
    CRangeLabel = new TLabel(this, "Maximum value of Transpot Costs", 8, 60);
    ARangeEdit = new TEdit(this);
    SetBounds(ARangeEdit, 208, 8, 129, 21);
    BRangeEdit = new TEdit(this);
    SetBounds(BRangeEdit, 208, 32, 129, 21);
    CRangeEdit = new TEdit(this);
    SetBounds(CRangeEdit, 208, 56, 129, 21);
    SetAccessibleCaption(ARangeEdit, ARangeLabel->text());
    SetAccessibleCaption(BRangeEdit, BRangeLabel->text());
    SetAccessibleCaption(CRangeEdit, CRangeLabel->text());
    OkButton = new TButton(this, "OK");
    SetBounds(OkButton, 82, 88, 75, 25);
    OkButton->ModalResult = mrOk;
    OkButton->setDefault(true);
    CancelButton = new TButton(this, "Cancel");
    SetBounds(CancelButton, 186, 88, 75, 25);
    CancelButton->ModalResult = mrCancel;
    CancelButton->Cancel = true;

    setTabOrder(ARangeEdit, BRangeEdit);
    setTabOrder(BRangeEdit, CRangeEdit);
    setTabOrder(CRangeEdit, OkButton);
    setTabOrder(OkButton, CancelButton);
    SetActiveControl(ARangeEdit);

    FormCreate();
}

void TRandomForm::FormCreate() {
    const QString Default = QString::number(DefaultRange);
    ARangeEdit->setText(Default);
    BRangeEdit->setText(Default);
    CRangeEdit->setText(Default);
}

int TRandomForm::Range(const TEdit* Edit) {
    std::int32_t Value = DefaultRange;
    if (!TextToInt(Edit->text().toStdString(), Value))
        Value = DefaultRange;
    if (Value <= 0 || Value > MaxRange)
        Value = DefaultRange;
    return Value;
}
