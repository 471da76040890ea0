// The one check of a plan the solver left, for the tests and the stress run.
#pragma once

#include <string>

class TCalc;

// The largest deviations seen by a check.
struct TPlanDeviations {
    // |row or column sum - its stock or demand| / |stock or demand| (absolute when that is 0).
    double Sums = 0.0;
    // |U + V - C| / max(|U|, |V|, |C|) on basic cells (optimal plans only).
    double Potentials = 0.0;
    // The most negative C - (U + V) off the basis, 0 if none (optimal plans only).
    double Reduced = 0.0;
};

struct TPlanCheck {
    // What is wrong, the first thing found; empty for a sound plan.
    std::string Fault;
    TPlanDeviations Deviations;
};

// Checks rows 1..Rows and columns 1..Cols of the plan in Store (by default its M and N; pass the
// sizes with the dummy when the results window has taken it out): a basic feasible plan with
// exactly Rows + Cols - 1 basic cells, no negative shipment, every other cell holding exactly
// NonBasic, row sums meeting the stocks and column sums the demands within 1e-6 relative. For
// an Optimal plan also the potentials: U + V = C on basic cells within 1e-9 relative, and
// C - (U + V) >= -Tolerance on every other cell, the solver's own optimality test.
TPlanCheck CheckPlan(const TCalc& Store, bool Optimal, int Rows = -1, int Cols = -1);
