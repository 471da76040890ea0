// Problems for the tests, the benchmarks and the tools, drawn by the program's random fill.
#pragma once

#include "Problem.h"
#include "RandomGen.h"

#include <cstdint>

// The problem the data-entry window's random fill writes for the seed and the maxima (each
// from 1 to MaxRange), all three maxima alike.
inline TProblem RandomProblem(std::uint32_t Seed, int M, int N, int Max) {
    return RandomProblem(Seed, M, N, Max, Max, Max);
}

// A problem whose calculation from the north-west corner needs exactly the 999 pivots of the cap.
inline TProblem CapProblem() {
    return RandomProblem(289, 120, 120, 50);
}

// The small problem worked by hand: the north-west corner (1, 1) = 10, (1, 2) = 20, (2, 2) = 5,
// (2, 3) = 15 with u = 0, 6 and v = 8, 6, 7, total 455; (2, 1) enters at -5 round (2, 1) (1, 1)
// (1, 2) (2, 2), theta 5, (2, 2) leaves, 430; then (1, 3) enters at -2, (1, 1) leaves, and
// u = 0, 3 at the optimum, 420.
inline const TProblem HandWorked(2, 3, {30, 20}, {10, 25, 15}, {8, 6, 10, 9, 12, 13});
