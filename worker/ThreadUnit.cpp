#include "ThreadUnit.h"

#include "CalcUnit.h"

#include <exception>

TNoShowCalc::TNoShowCalc(TNotifyEvent OnTerminate) : TThread(std::move(OnTerminate)) {
    FreeOnTerminate = true;
    Start();
}

void TNoShowCalc::Execute() {
    Aborted = false;
    try {
        Calc->CheckProblem();
        Calc->Balance();
        Calc->InitialPlan();
        int Row = 0, Col = 0;
        for (int Counter = MaxIterations; Counter > 0; --Counter) {
            Calc->CalcPotentials();
            Calc->FindEnteringCell(Row, Col);
            if (Row == 0 && Col == 0)
                break;
            Calc->FindCycle(Row, Col);
            Calc->SetX(Row, Col, 0.0);
            Calc->Pivot();
            ++Pivots;
            Checkpoint();
            if (Terminated()) {
                Aborted = true;
                break;
            }
        }
        const bool Optimal = Row == 0 && Col == 0;
        // A request that arrives after the last poll still stops a plan that is not optimal
        // from being reported as one.
        if (!Optimal && !Aborted && Terminated())
            Aborted = true;
        Looping = !Optimal && !Aborted;
    } catch (const std::exception& Error) {
        Failed = true;
        FailReason = Error.what();
    } catch (...) {
        Failed = true;
        FailReason = "The calculation failed";
    }
    if (Failed)
        Aborted = Looping = false;
}
