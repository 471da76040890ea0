#include "ThreadUnit.h"

#include "CalcUnit.h"
#include "TaskLoop.h"

#include <exception>

TNoShowCalc::TNoShowCalc(TNotifyEvent OnTerminate, TCalcOptions Options)
    : TThread(std::move(OnTerminate)), Options_(Options) {
    FreeOnTerminate = true;
    Start();
}

void TNoShowCalc::Execute() {
    Aborted = false;
    TStepRecord* const Record = Options_.Record;
    if (Record)
        Record->Clear();
    try {
        Calc->CheckProblem();
        Calc->Balance();
        Calc->InitialPlan(Options_.Start);
        if (Record)
            Record->Begin(*Calc, Options_.Start);
        bool Optimal = false;
        TPivotStep Step;
        for (int Counter = MaxIterations; Counter > 0; --Counter) {
            if (!ImproveOnce(*Calc, Step)) {
                Optimal = true;
                break;
            }
            ++Pivots;
            if (Record)
                Record->Add(*Calc, Step);
            Checkpoint();
            if (Terminated()) {
                Aborted = true;
                break;
            }
        }
        // A request that arrives after the last poll still stops a plan that is not optimal
        // from being reported as one.
        if (!Optimal && !Aborted && Terminated())
            Aborted = true;
        Looping = !Optimal && !Aborted;
        if (Record)
            Record->Finish(OutcomeOf(*this));
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

TCalcRun RunCalculation(const std::function<void(TNoShowCalc& Worker)>& Request,
                        TCalcOptions Options) {
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
        Options);
    // The worker cannot free itself before its notification has run on this thread.
    if (Request)
        Request(*Worker);
    Loop.Process([&Done] { return Done; }, std::chrono::hours(24 * 365));
    TThread::WaitUntilAllGone(std::chrono::hours(24 * 365));
    TTaskLoop::Uninstall();
    return Run;
}
