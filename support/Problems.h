// Problems for the tests, the benchmarks and the tools: drawn by the program's random fill, and
// loaded into a store.
#pragma once

#include "LemonReference.h"

#include <cstdint>

class TCalc;

// The problem the data-entry window's random fill writes for the seed and the maxima (each
// from 1 to MaxRange): the same draws in the same order.
TReferenceProblem RandomProblem(std::uint32_t Seed, int M, int N, int MaxA, int MaxB, int MaxC);
inline TReferenceProblem RandomProblem(std::uint32_t Seed, int M, int N, int Max) {
    return RandomProblem(Seed, M, N, Max, Max, Max);
}

// Writes the problem into Store as the data-entry window's OK does: the sizes, then SetA,
// SetB and SetC row by row.
void LoadProblem(TCalc& Store, const TReferenceProblem& Problem);
