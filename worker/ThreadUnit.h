// The solver worker: one whole calculation on the store Calc, on a thread of its own.
#pragma once

#include "Outcome.h"
#include "StartUnit.h"
#include "StepRecord.h"
#include "ThreadBase.h"

#include <chrono>
#include <functional>
#include <string>

// The most pivots one calculation may make. From the north-west corner, random problems above
// about 200 x 200 need more than that to reach the optimum; such runs end Looping by design.
inline constexpr int MaxIterations = 999;

// How a calculation runs: the plan it starts from (TCalc::InitialPlan(Start)), the north-west
// corner unless told otherwise, and the record it keeps of its steps, if any.
struct TCalcOptions {
    TStart Start = TStart::NorthWest;
    TStepRecord* Record = nullptr;
};

// Runs as its options say. Starts at once and frees itself after its completion notification;
// nothing may touch it after the notification has returned. The outcome, for the notification to
// read: neither flag set means the plan in the store is optimal; Aborted, the user's termination
// request was seen after a pivot; Looping, MaxIterations pivots were made without reaching the
// optimum; Failed, the problem or a solver step failed and FailReason tells why (no plan to show).
// After every pivot, before it polls the termination request, the body passes a checkpoint,
// where a test can hold it.
class TNoShowCalc final : public TThread {
public:
    explicit TNoShowCalc(TNotifyEvent OnTerminate, TCalcOptions Options = {});

    bool Aborted = false;
    bool Looping = false;
    bool Failed = false;
    std::string FailReason;
    int Pivots = 0;

protected:
    void Execute() override;

private:
    const TCalcOptions Options_;
};

// The outcome a worker's flags tell, read in its completion notification.
TOutcome OutcomeOf(const TNoShowCalc& Worker);

// One calculation as a caller without a window sees it.
struct TCalcRun {
    TOutcome Outcome = TOutcome::Failed;
    std::string FailReason;
    int Pivots = 0;
    // From the worker's creation to its notification.
    std::chrono::steady_clock::duration Time{};
};

// One whole calculation on Calc without a window (the console tool, benchmarks, tests): the
// calling thread stands in for the user-interface thread, and the call returns once the worker
// has freed itself. Request, if given, runs on the calling thread right after the worker has
// started, while it certainly still exists (a termination request, say). Installs its own
// synchronizer for the time of the call, so no other may be installed meanwhile.
TCalcRun RunCalculation(const std::function<void(TNoShowCalc& Worker)>& Request = nullptr,
                        TCalcOptions Options = {});
