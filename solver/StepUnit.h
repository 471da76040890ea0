// One improvement step of the method of potentials, in one place: the worker's loop runs it,
// and so does anything else that solves step by step.
#pragma once

#include "StoreLimits.h"

class TCalc;

// What a step did: the entering cell, (0, 0) when the plan was optimal; the amount the entering
// rule maximised there, its U + V - C (the reduced cost C - U - V with its sign turned); the
// amount moved round the cycle, theta; and the cell that left the basis. The cycle is the
// store's until the next step.
struct TPivotStep {
    TCell Entering{0, 0};
    double Gain = 0.0;
    double Theta = 0.0;
    TCell Leaving{0, 0};
};

// CalcPotentials and FindEnteringCell, and unless the plan is optimal, FindCycle, SetX of the
// entering cell to 0 and Pivot. True when a pivot was made.
bool ImproveOnce(TCalc& Store, TPivotStep& Step);
