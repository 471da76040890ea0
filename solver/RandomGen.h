// The program's random numbers: a 32-bit linear congruential generator whose whole state is one
// word, so that a fill seeded with the same value writes the same numbers.
#pragma once

#include "Problem.h"

#include <cstdint>

extern std::uint32_t RandomState;

// The random fill's maxima: DefaultRange is the initial one and stands in for a maximum that is
// no whole number from 1 to MaxRange.
inline constexpr int DefaultRange = 5;
inline constexpr int MaxRange = 9999;

// A whole number from 0 to Range - 1 (Range at least 1): the upper half of the 64-bit product
// of the advanced state and Range.
std::uint32_t RandomBelow(std::uint32_t Range);

// The random fill of an M x N problem from the current state: one draw from 1 to its maximum
// per value, in the program's order: the stocks 1..M, the demands 1..N, then the costs row by
// row.
TProblem RandomFill(int M, int N, int MaxA, int MaxB, int MaxC);

// The same from the state Seed: a problem that the seed and the maxima name.
TProblem RandomProblem(std::uint32_t Seed, int M, int N, int MaxA, int MaxB, int MaxC);
