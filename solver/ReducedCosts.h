// The inner loops of the entering-cell search, over one row of the cost table.
//
// The double form returns the largest reduced cost (U + V[j]) - Row[j]: the general case.
//
// The integer forms serve tables of whole-number costs, the usual case. There every potential
// is a whole number too and every double operation of the search is exact, so the search may
// work in integers and still find the very cell the doubles would. Per row the potential U is
// the same for every cell, so these forms leave it out and work on W[j] = V[j] - Row[j], with
// V and the costs shifted by constants chosen so that every W fits the lanes: 16-bit lanes
// (sixteen cells an instruction) over costs stored in 8 or 16 bits, or 32-bit lanes when the
// potentials spread too far for 16. RowMax gives the largest W, FirstAt the first j whose W
// equals a value (-1 for none).
//
// Each form is built for AVX2 and for the baseline instruction set; the processor picks once,
// at start-up. Lanes are combined in any order, which cannot change a maximum; the double form
// never lets a NaN win, as the scalar strict comparison d > best never does. Count >= 1.
#pragma once

#include <cstdint>

namespace ReducedCosts {

double RowMax(double U, const double* V, const double* Row, int Count);

std::int32_t RowMax(const std::int16_t* V, const std::uint8_t* Row, int Count);
std::int32_t RowMax(const std::int16_t* V, const std::int16_t* Row, int Count);
std::int32_t RowMax(const std::int32_t* V, const std::uint8_t* Row, int Count);
std::int32_t RowMax(const std::int32_t* V, const std::int16_t* Row, int Count);

int FirstAt(const std::int16_t* V, const std::uint8_t* Row, int Count, std::int32_t Value);
int FirstAt(const std::int16_t* V, const std::int16_t* Row, int Count, std::int32_t Value);
int FirstAt(const std::int32_t* V, const std::uint8_t* Row, int Count, std::int32_t Value);
int FirstAt(const std::int32_t* V, const std::int16_t* Row, int Count, std::int32_t Value);

} // namespace ReducedCosts
