// An independent optimal solver for the tests and the benchmarks: LEMON's network simplex on the
// transportation problem, in exact integer arithmetic.
//
// LEMON's NetworkSimplex wants integer data: with floating types its feasibility test
// (artificial flows exactly 0) and its pricing (reduced cost < 0) break on rounding. Every
// double, though, is an integer times a power of two. The reference scales the amounts by one
// power of two and the costs by another so that every value becomes an integer, solves with
// 128-bit integers (room for the artificial cost LEMON puts at half the type's range, plus
// potentials that add up to 1001 costs), and prices the optimal flows with the original costs.
// The optimum is therefore the exact optimum of the doubles given, as long as each group's
// values span at most 100 binary orders from the largest to the lowest set bit of the
// smallest; beyond that the smallest values are rounded at 2^-100 of the largest, far below
// any 1e-9 comparison. The total is summed in long double.
#pragma once

#include "Problem.h"

// The optimal total cost. Unequal totals are balanced as the solver does it, by a dummy
// consumer (more stock than demand) or a dummy supplier (more demand than stock) at zero cost,
// here for the exact difference of the totals. That is the solver's dummy whenever the totals
// differ by more than 0.0001. When they differ by less but are not equal, the solver adds no
// dummy and its plan leaves the sliver unshipped: compare such problems with a tolerance of
// about 0.0001 times the largest cost.
//
// Throws std::invalid_argument for what the solver refuses to solve: sizes outside 1..501,
// vectors of the wrong length, a negative stock or demand, a number that is not finite.
double ReferenceOptimalCost(const TProblem& Problem);
