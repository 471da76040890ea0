// The progress dialog: shown modally while one calculation runs on the solver worker. Its title
// counts the elapsed time, its one button asks the worker to stop, and it closes itself when
// the worker has ended, with the result mrOk (the plan in the store is optimal), mrCancel (the
// pivot cap was reached: "Looping"), mrAbort (the user aborted) or mrFailed (the problem or a
// solver step failed; FailReason says why).
#pragma once

#include "StartUnit.h"
#include "Toolkit.h"

#include <string>

class TNoShowCalc;
class TThread;

inline constexpr int mrFailed = 4;

class TBusyForm : public TForm {
public:
    TBusyForm();

    TButton* CancelButton;
    TTimer BusyTimer;

    // The worker of the last showing; it frees itself after its notification and is not used
    // after that.
    TNoShowCalc* CalcThread = nullptr;
    // The local date-time of the last showing, in days.
    double StartTime = 0.0;
    // The plan the next calculation starts from. It records its steps in StepRecord, if there is
    // one.
    TStart Start = TStart::NorthWest;
    // Why the last run failed, when it ended with mrFailed.
    std::string FailReason;

    void FormShow();
    void BusyTimerTimer();
    void CancelButtonClick();
    void CalcThreadTerminate(TThread* Sender);

    // True from the showing until the worker's notification.
    bool Running() const { return Running_; }

private:
    bool Running_ = false;
};

extern TBusyForm* BusyForm;
