#include "ThreadUnit.h"

#include "CalcUnit.h"
#include "TaskLoop.h"

#include <exception>

TNoShowCalc::TNoShowCalc(TNotifyEvent OnTerminate, TStart Start)
    : TThread(std::move(OnTerminate)), Start_(Start) {
    FreeOnTerminate = true;
    TThread::Start(); // the thread; Start_ is where the plan starts
}

void TNoShowCalc::Execute() {
    Aborted = false;
    try {
        Calc->CheckProblem();
        Calc->Balance();
        Calc->InitialPlan(Start_);
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

TOutcome OutcomeOf(const TNoShowCalc& Worker) {
    if (Worker.Failed)
        return TOutcome::Failed;
    if (Worker.Aborted)
        return TOutcome::Aborted;
    if (Worker.Looping)
        return TOutcome::Looping;
    return TOutcome::Optimal;
}

const char* OutcomeName(TOutcome Outcome) {
    switch (Outcome) {
    case TOutcome::Optimal:
        return "Optimal";
    case TOutcome::Looping:
        return "Looping";
    case TOutcome::Aborted:
        return "Aborted";
    case TOutcome::Failed:
        break;
    }
    return "Failed";
}

TCalcRun RunCalculation(const std::function<void(TNoShowCalc& Worker)>& Request, TStart Start) {
    TTaskLoop Loop;
    Loop.Install();
    TCalcRun Run;
    bool Done = false;
    const auto Began = std::chrono::steady_clock::now();
    auto* Worker = new TNoShowCalc(
        [&](TThread* Sender) {
            Run.Time = std::chrono::steady_clock::now() - Began;
            const auto& Self = *static_cast<const TNoShowCalc*>(Sender);
            Run.Outcome = OutcomeOf(Self);
            Run.FailReason = Self.FailReason;
            Run.Pivots = Self.Pivots;
            Done = true;
        },
        Start);
    // The worker cannot free itself before its notification has run on this thread.
    if (Request)
        Request(*Worker);
    Loop.Process([&Done] { return Done; }, std::chrono::hours(24 * 365));
    TThread::WaitUntilAllGone(std::chrono::hours(24 * 365));
    TTaskLoop::Uninstall();
    return Run;
}
