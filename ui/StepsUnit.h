// The Steps window: a finished calculation walked step by step, for those who learn and teach
// the method of potentials.
//
// Step 0 is the starting plan, its cells numbered in the order they were filled; step K is the
// plan after pivot K; the last step is the optimum. Each step shows its tableau: every cell's
// cost, a basic cell's shipment, a non-basic cell's reduced cost, and the potentials u beside
// and v below. The cell that enters next is marked and its cycle drawn as a closed path through
// the cells' centres with + and - at its corners; theta and the leaving cell are named in the
// status line, which says in words what the step does and is what a screen reader reads with the
// table, as it reads every cell ("cost 8, ships 20"). Page Down and Page Up, or N and P, go to
// the next and the previous step, Home and End to the first and the last, the view following
// the entering cell. Save writes the whole run as a report, Print prints it, Escape closes.
//
// The window reads the record of the last calculation, StepRecord, and works each step out when
// it is shown; the view draws only the cells on screen, whatever the problem's size.
#pragma once

#include "StepRecord.h"
#include "Toolkit.h"

#include <QTableView>

#include <functional>
#include <memory>

class TStepsModel;

// The tableau's view, which draws the cycle over the cells.
class TStepsView : public QTableView {
public:
    explicit TStepsView(QWidget* Parent);

    // Keys the window takes before the table moves its current cell by them; true when taken.
    std::function<bool(const QKeyEvent& Key)> OnKey;

protected:
    void keyPressEvent(QKeyEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;
};

class TStepsForm : public TForm {
public:
    TStepsForm();

    QLabel* StatusText;
    QLabel* RuleText;
    TStepsView* StepsGrid;
    TPanel* ButtonsPanel;
    TButton* SaveButton;
    TButton* PrintButton;
    TButton* CloseButton;

    void FormShow();
    void FormResize();
    void SaveButtonClick();
    void PrintButtonClick();

    // Shows step K of the record, 0..Pivots (held within).
    void GoToStep(int K);
    int Step() const;
    // The status line of the step shown.
    QString StatusLine() const;
    // The report of the whole run, as Save writes it and Print prints it.
    std::string Report() const;

protected:
    void keyPressEvent(QKeyEvent* Event) override;

private:
    bool StepKey(const QKeyEvent& Key);
    TStepsModel* Model_;
    std::unique_ptr<TStepPlan> Shown_;
    std::unique_ptr<TStepPlan> Next_;
};

extern TStepsForm* StepsForm;
