// Problems for the tests, the benchmarks and the tools, drawn by the program's random fill.
#pragma once

#include "Problem.h"

#include <cstdint>

// The problem the data-entry window's random fill writes for the seed and the maxima (each
// from 1 to MaxRange): the same draws in the same order.
TProblem RandomProblem(std::uint32_t Seed, int M, int N, int MaxA, int MaxB, int MaxC);
inline TProblem RandomProblem(std::uint32_t Seed, int M, int N, int Max) {
    return RandomProblem(Seed, M, N, Max, Max, Max);
}
