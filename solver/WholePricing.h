// The entering-cell search in whole numbers, for tables of whole-number costs (the usual case).
//
// With whole costs every potential is a whole number too, every double U + V - C of the plain
// search is exact, and an integer search finds the very cell the doubles would: the same
// largest value, the same first cell in row-major order. The search keeps
//   - the costs as 16-bit offsets from the smallest, when they span at most 32767. A dummy row
//     or column that balancing added costs 0 throughout and is priced apart, so that its zeros
//     never decide whether the rest fits;
//   - per row an upper bound on its largest U + V - C, equal to it where the search last priced
//     the row, raised after each pivot by what the pivot moved. A search then prices only the
//     rows whose bound beats the best cell found so far.
// Rows and columns count from 1, like the store's; the tables' own entries from 0.
// Prepare rebuilds it when it is out of date, Follow keeps the row bounds in step with the
// potentials, Find searches. (The caches' protocol: CalcUnit.h.)
#pragma once

#include "BasisTree.h"
#include "StoreLimits.h"

#include <cstdint>

class TWholePricing {
public:
    // Built from references to the store's costs (by CellIndex) and potentials (from 1).
    TWholePricing(const double* C, const double* U, const double* V) : C_(C), U_(U), V_(V) {}
    TWholePricing(const TWholePricing&) = delete;
    TWholePricing& operator=(const TWholePricing&) = delete;

    void Invalidate() { Fresh_ = false; }
    bool Usable(int M, int N) const { return Fresh_ && Whole_ && M == M_ && N == N_; }

    // The cost table for the M x N problem now in the store, unless it is still the one built.
    // BalanceKind names the dummy line balancing added, if any.
    void Prepare(int M, int N, int BalanceKind);
    // The potentials step's report of what it changed.
    void Follow(const TMove& Move);
    // The entering cell by the plain search's rule, or (0, 0) when the plan is optimal. False,
    // with Row and Col untouched, when the costs or the potentials do not allow the search.
    bool Find(int M, int N, int& Row, int& Col);

private:
    // Rows of the table, padded for whole vectors.
    static constexpr int Stride = 512;

    bool IsZeroLine(int Line, bool Row, int Count) const;
    bool BuildTable(int M, int N);
    bool LoadPotentials(int M, int N);
    std::int64_t CostAt(int I, int J) const;
    std::int64_t Largest(int I) const;
    int FirstOf(int I, std::int64_t Best) const;
    std::int64_t PriceAll(int M, int& Row, int& Col);
    std::int64_t PriceBounded(int M, int& Row, int& Col);
    void Price(int I);
    void RaiseBounds(const TMove& Move);
    void MarkMoved(const TMove& Move, bool On);
    const std::int16_t* TableRow(int I) const { return Table_ + std::size_t(I - 1) * Stride; }

    const double* C_;
    const double* U_;
    const double* V_;

    bool Fresh_ = false;
    bool Whole_ = false;
    std::int32_t M_ = 0;
    std::int32_t N_ = 0;
    // The dummy row or column priced apart, 0 for none; the table's width without it.
    std::int32_t DummyRow_ = 0;
    std::int32_t DummyCol_ = 0;
    std::int32_t Cols_ = 0;
    std::int64_t Base_ = 0;
    std::int16_t Table_[Capacity * Stride]{};
    std::int16_t Zeros_[Stride]{};
    std::int64_t Least_[Capacity + 1]{}; // each row's smallest cost in the table

    // While BoundsCurrent_, Bound_[I] is at least the largest U + V - C of row I, and equal to
    // it where Priced_[I].
    bool BoundsCurrent_ = false;
    std::int64_t Bound_[Capacity + 1]{};
    bool Priced_[Capacity + 1]{};
    bool MovedRow_[Capacity + 1]{};
    bool MovedCol_[Capacity + 1]{};

    // The potentials as whole numbers, for one search.
    std::int32_t WholeU_[Capacity + 1]{};
    std::int32_t WholeV_[Capacity + 1]{};
};
