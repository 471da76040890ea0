// The inner loops of the entering-cell search, over one row of the cost table.
//
// RowMax(U, V, Row, Count) returns the largest reduced cost (U + V[j]) - Row[j] with its sign
// turned, over doubles: the general case.
//
// The integer form serves tables of whole-number costs, the usual case. There every potential is
// a whole number too and every double operation of the search is exact, so the search may work
// in integers and still find the very cell the doubles would. Per row the potential U is the
// same for every cell, so this form leaves it out and works on W[j] = V[j] - Row[j], the costs
// stored in 16 bits and the potentials and W in 32-bit lanes. RowMax gives the largest W,
// FirstAt the first j whose W equals a value (-1 for none).
//
// Each form is built for AVX2 and for the baseline instruction set; the processor picks once, at
// start-up. Lanes are combined in any order, which cannot change a maximum; the double form never
// lets a NaN win, as the scalar strict comparison d > best never does. Count >= 1, and the
// potentials and costs of the integer form keep V - Row inside 32 bits.
#pragma once

#include <cstdint>

namespace ReducedCosts {

double RowMax(double U, const double* V, const double* Row, int Count);
std::int32_t RowMax(const std::int32_t* V, const std::int16_t* Row, int Count);
int FirstAt(const std::int32_t* V, const std::int16_t* Row, int Count, std::int32_t Value);

// The kernels built for one instruction set, which the functions above pick from; the tests
// hold each set the processor can run to the same answers.
struct TForms {
    double (*DoubleMax)(double U, const double* V, const double* Row, int Count);
    std::int32_t (*WholeMax)(const std::int32_t* V, const std::int16_t* Row, int Count);
    int (*WholeFirst)(const std::int32_t* V, const std::int16_t* Row, int Count,
                      std::int32_t Value);
};
const TForms& BaselineForms();
// Null where the processor lacks AVX2.
const TForms* Avx2Forms();

} // namespace ReducedCosts
