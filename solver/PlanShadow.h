// Bit shadows of the plan's basis marks, so that the steps find the basic cells of a row, or the
// next basic cell along a row or column, a word of 64 cells at a time instead of cell by cell.
//
// Two shadows, one per basic test of the plan: Basic(I, J) is X[I, J] > BasicThreshold, the
// test of the potentials step; the row and column bits behind NextInRow and its kin are
// X[I, J] >= 0, the test of the cycle search. Rows, columns and bits count from 1, as the store's
// indices do; bit 0 is never set.
// Agrees(): the two shadows may stand for each other, which is so unless some cell holds a value
// between the two thresholds. (The caches' protocol: CalcUnit.h.)
#pragma once

#include "StoreLimits.h"

#include <algorithm>
#include <bit>
#include <cstdint>

class TPlanShadow {
public:
    // A fresh plan: every cell holds 0.0, which both tests count as basic.
    TPlanShadow();
    TPlanShadow(const TPlanShadow&) = delete;
    TPlanShadow& operator=(const TPlanShadow&) = delete;

    // X[I, J] went from Old to New. True when the cell entered or left the basis as the
    // potentials step counts it.
    bool Record(int I, int J, double Old, double New);

    bool Agrees() const { return Straddling_ == 0; }
    bool Basic(int I, int J) const { return Test(BasicRows_[I], J); }

    // Calls Visit(J) for each J in 1..N with Basic(I, J), in increasing order.
    template <typename F> void ForEachBasic(int I, int N, F Visit) const;

    // The nearest cell past (I, J) with X >= 0 in a direction, limits included; -1 for none.
    int NextInRow(int I, int J, int Last) const { return NextBit(TreeRows_[I], J + 1, Last); }
    int PrevInRow(int I, int J) const { return PrevBit(TreeRows_[I], 1, J - 1); }
    int NextInColumn(int J, int I, int Last) const { return NextBit(TreeCols_[J], I + 1, Last); }
    int PrevInColumn(int J, int I) const { return PrevBit(TreeCols_[J], 1, I - 1); }

private:
    using TWord = std::uint64_t;
    static constexpr int Words = (Capacity + 1 + 63) / 64;
    using TBits = TWord[Words];

    static bool Test(const TBits& Bits, int K) { return (Bits[K >> 6] >> (K & 63)) & 1; }
    static void Put(TBits& Bits, int K, bool On);
    static TWord RangeMask(int W, int From, int To);
    static int NextBit(const TBits& Bits, int From, int To);
    static int PrevBit(const TBits& Bits, int From, int To);

    TBits BasicRows_[Capacity + 1]{};
    TBits TreeRows_[Capacity + 1]{};
    TBits TreeCols_[Capacity + 1]{};
    // The cells where the two tests disagree (BasicThreshold < X < 0).
    std::int32_t Straddling_ = 0;
};

inline bool TPlanShadow::Record(int I, int J, double Old, double New) {
    const bool WasBasic = Old > BasicThreshold, Basic = New > BasicThreshold;
    const bool WasTree = Old >= 0.0, Tree = New >= 0.0;
    if (Basic == WasBasic && Tree == WasTree)
        return false;
    Straddling_ += int(Basic && !Tree) - int(WasBasic && !WasTree);
    Put(BasicRows_[I], J, Basic);
    Put(TreeRows_[I], J, Tree);
    Put(TreeCols_[J], I, Tree);
    return Basic != WasBasic;
}

inline void TPlanShadow::Put(TBits& Bits, int K, bool On) {
    const TWord Mask = TWord(1) << (K & 63);
    if (On)
        Bits[K >> 6] |= Mask;
    else
        Bits[K >> 6] &= ~Mask;
}

// Bits From..To as a mask for word W (empty when the range misses the word).
inline TPlanShadow::TWord TPlanShadow::RangeMask(int W, int From, int To) {
    const int Lo = std::max(From - W * 64, 0);
    const int Hi = std::min(To - W * 64, 63);
    if (Lo > Hi)
        return 0;
    const TWord Upper = Hi == 63 ? ~TWord(0) : (TWord(1) << (Hi + 1)) - 1;
    return Upper & ~((TWord(1) << Lo) - 1);
}

template <typename F> void TPlanShadow::ForEachBasic(int I, int N, F Visit) const {
    const TBits& Bits = BasicRows_[I];
    const int LastWord = N >> 6;
    for (int W = 0; W <= LastWord; ++W) {
        // Bits past N may be set, by an earlier and wider problem.
        TWord Set = W == LastWord ? Bits[W] & RangeMask(W, 0, N) : Bits[W];
        for (; Set != 0; Set &= Set - 1)
            Visit(W * 64 + std::countr_zero(Set));
    }
}
