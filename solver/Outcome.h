// How a calculation ended: what the worker reports, and what a record of its steps is read with.
#pragma once

// The plan in the store is optimal; the pivot cap was reached ("Looping"); the user's termination
// request was seen after a pivot; or the problem or a solver step failed (no plan to show).
enum class TOutcome { Optimal, Looping, Aborted, Failed };

// "Optimal", "Looping", "Aborted" or "Failed".
constexpr const char* OutcomeName(TOutcome Outcome) {
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
