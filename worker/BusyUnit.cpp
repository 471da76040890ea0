#include "BusyUnit.h"

#include "CalcUnit.h"
#include "Clock.h"
#include "ThreadUnit.h"

TBusyForm* BusyForm = nullptr;

TBusyForm::TBusyForm() : TForm(TBorderStyle::Dialog) {
    setWindowTitle("Kelvor - Calculation 0:00:00");
    SetClientSize(305, 38);
    setFont(ToolkitFont("MS Sans Serif", 11));

    CancelButton = new TButton(this, "Abort");
    SetBounds(CancelButton, 115, 8, 75, 25);
    CancelButton->OnClick = [this] { CancelButtonClick(); };
    SetActiveControl(CancelButton);

    BusyTimer.SetInterval(1000);
    BusyTimer.SetEnabled(false);
    BusyTimer.OnTimer = [this] { BusyTimerTimer(); };

    OnShow = [this] { FormShow(); };
    // The result must come from the worker's end alone: closing the window while the worker
    // runs would leave it running against the store. A close request asks it to stop instead,
    // and the dialog closes when it has.
    OnCloseQuery = [this] {
        if (!Running_)
            return true;
        CancelButtonClick();
        return false;
    };
}

void TBusyForm::FormShow() {
    StartTime = Now();
    FailReason.clear();
    Running_ = true;
    // The notification is attached by the constructor, before the thread can end; it arrives
    // through the event loop, so never before this handler has returned.
    CalcThread = new TNoShowCalc([this](TThread* Sender) { CalcThreadTerminate(Sender); },
                                 {Start, StepRecord});
    BusyTimer.SetEnabled(true);
    BusyTimerTimer();
}

void TBusyForm::BusyTimerTimer() {
    Retitle(QString::fromStdString("Kelvor - Calculation " + ElapsedTimeToStr(Now() - StartTime)));
}

void TBusyForm::CancelButtonClick() {
    // After the notification the worker is gone; the flag says whether it still runs.
    if (Running_)
        CalcThread->Terminate();
}

void TBusyForm::CalcThreadTerminate(TThread* Sender) {
    BusyTimer.SetEnabled(false);
    Calc->CalcTime = Now() - StartTime;
    Running_ = false;
    const auto& Worker = *static_cast<const TNoShowCalc*>(Sender);
    switch (OutcomeOf(Worker)) {
    case TOutcome::Optimal:
        SetModalResult(mrOk);
        break;
    case TOutcome::Looping:
        SetModalResult(mrCancel);
        break;
    case TOutcome::Aborted:
        SetModalResult(mrAbort);
        break;
    case TOutcome::Failed:
        FailReason = Worker.FailReason;
        SetModalResult(mrFailed);
        break;
    }
}
