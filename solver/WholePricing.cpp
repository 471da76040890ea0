#include "WholePricing.h"

#include "ReducedCosts.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>

namespace {

// Whole costs this small keep every potential, a sum of at most M + N - 1 of them, a whole
// number far inside the range where doubles count exactly.
constexpr double LargestCost = 1e9;
constexpr int LargestSpan = 32767;
// Potentials this small keep V - T, and U plus it, inside 32 bits.
constexpr double LargestPotential = double(1 << 28);

} // namespace

void TWholePricing::Prepare(int M, int N, int BalanceKind) {
    if (Fresh_ && M == M_ && N == N_)
        return;
    Fresh_ = true;
    BoundsCurrent_ = false;
    M_ = M;
    N_ = N;
    DummyRow_ = BalanceKind == 1 && M > 1 && IsZeroLine(M, true, N) ? M : 0;
    DummyCol_ = BalanceKind == 2 && N > 1 && IsZeroLine(N, false, M) ? N : 0;
    Cols_ = DummyCol_ != 0 ? N - 1 : N;
    Whole_ = BuildTable(M, N);
}

bool TWholePricing::IsZeroLine(int Line, bool Row, int Count) const {
    for (int K = 1; K <= Count; ++K)
        if (C_[Row ? CellIndex(Line, K) : CellIndex(K, Line)] != 0.0)
            return false;
    return true;
}

bool TWholePricing::BuildTable(int M, int N) {
    const int Rows = DummyRow_ != 0 ? M - 1 : M;
    double Low = C_[CellIndex(1, 1)], High = Low;
    for (int I = 1; I <= M; ++I)
        for (int J = 1; J <= N; ++J) {
            const double Cost = C_[CellIndex(I, J)];
            if (!(std::fabs(Cost) <= LargestCost) || std::trunc(Cost) != Cost)
                return false;
            if (I > Rows || J > Cols_)
                continue;
            Low = std::min(Low, Cost);
            High = std::max(High, Cost);
        }
    if (High - Low > LargestSpan)
        return false;
    Base_ = static_cast<std::int64_t>(Low);
    for (int I = 1; I <= Rows; ++I) {
        std::int16_t* Out = Table_ + std::size_t(I - 1) * Stride;
        std::int64_t Least = static_cast<std::int64_t>(High);
        for (int J = 1; J <= Cols_; ++J) {
            const auto Cost = static_cast<std::int64_t>(C_[CellIndex(I, J)]);
            Out[J - 1] = static_cast<std::int16_t>(Cost - Base_);
            Least = std::min(Least, Cost);
        }
        Least_[I] = Least;
    }
    if (DummyRow_ != 0)
        Least_[DummyRow_] = 0;
    return true;
}

bool TWholePricing::LoadPotentials(int M, int N) {
    auto Whole = [](double P, std::int32_t& Out) {
        if (!(std::fabs(P) <= LargestPotential))
            return false;
        Out = static_cast<std::int32_t>(P);
        // Sums and differences of whole costs are whole.
        assert(double(Out) == P && "a potential over whole costs is no whole number");
        return double(Out) == P;
    };
    for (int I = 1; I <= M; ++I)
        if (!Whole(U_[I], WholeU_[I]))
            return false;
    for (int J = 1; J <= N; ++J)
        if (!Whole(V_[J], WholeV_[J]))
            return false;
    return true;
}

std::int64_t TWholePricing::CostAt(int I, int J) const {
    if (I == DummyRow_ || J == DummyCol_)
        return 0;
    return Base_ + TableRow(I)[J - 1];
}

// The largest U + V - C of row I. Over the table that is U + max(V - T) - Base, T = C - Base.
std::int64_t TWholePricing::Largest(int I) const {
    const std::int32_t* V = WholeV_ + 1;
    if (I == DummyRow_)
        return std::int64_t(WholeU_[I]) + ReducedCosts::RowMax(V, Zeros_, N_);
    std::int64_t Best =
        std::int64_t(WholeU_[I]) - Base_ + ReducedCosts::RowMax(V, TableRow(I), Cols_);
    if (DummyCol_ != 0)
        Best = std::max(Best, std::int64_t(WholeU_[I]) + WholeV_[DummyCol_]);
    return Best;
}

// The first column of row I whose U + V - C is Best, the row's largest.
int TWholePricing::FirstOf(int I, std::int64_t Best) const {
    const std::int32_t* V = WholeV_ + 1;
    if (I == DummyRow_)
        return ReducedCosts::FirstAt(V, Zeros_, N_, std::int32_t(Best - WholeU_[I])) + 1;
    const std::int64_t W = Best - WholeU_[I] + Base_;
    const bool Fits = W >= INT32_MIN && W <= INT32_MAX;
    const int J = Fits ? ReducedCosts::FirstAt(V, TableRow(I), Cols_, std::int32_t(W)) : -1;
    // Not in the table: then in the dummy column, the row's last.
    return J >= 0 ? J + 1 : N_;
}

bool TWholePricing::Find(int M, int N, int& Row, int& Col) {
    if (!Usable(M, N) || !LoadPotentials(M, N))
        return false;
    const std::int64_t Best = BoundsCurrent_ ? PriceBounded(M, Row, Col) : PriceAll(M, Row, Col);
    BoundsCurrent_ = true;
    if (double(Best) < Tolerance) {
        Row = 0;
        Col = 0;
    }
    return true;
}

// Every row, as the plain search goes: a row replaces the best so far only when strictly larger.
std::int64_t TWholePricing::PriceAll(int M, int& Row, int& Col) {
    Row = 1;
    Col = 1;
    std::int64_t Best = std::int64_t(WholeU_[1]) + WholeV_[1] - CostAt(1, 1);
    for (int I = 1; I <= M; ++I) {
        const std::int64_t RowBest = Largest(I);
        Bound_[I] = RowBest;
        if (!(RowBest > Best))
            continue;
        Best = RowBest;
        Row = I;
        Col = FirstOf(I, Best);
    }
    return Best;
}

// First the largest value of all, Best: rows are priced only while their bound beats the largest
// found so far, starting from the row with the largest bound. Then the first row that holds
// Best, which is the one the plain search ends on.
std::int64_t TWholePricing::PriceBounded(int M, int& Row, int& Col) {
    std::fill(Priced_ + 1, Priced_ + M + 1, false);
    const int Top = int(std::max_element(Bound_ + 1, Bound_ + M + 1) - Bound_);
    Price(Top);
    std::int64_t Best = Bound_[Top];
    for (int I = 1; I <= M; ++I)
        if (Bound_[I] > Best) {
            Price(I);
            Best = std::max(Best, Bound_[I]);
        }
    for (int I = 1; I <= M; ++I) {
        if (Bound_[I] < Best)
            continue;
        if (!Priced_[I])
            Price(I);
        if (Bound_[I] == Best) {
            Row = I;
            Col = FirstOf(I, Best);
            break;
        }
    }
    return Best;
}

void TWholePricing::Price(int I) {
    Bound_[I] = Largest(I);
    Priced_[I] = true;
}

void TWholePricing::Follow(const TMove& Move) {
    if (!BoundsCurrent_)
        return;
    if (Move.Rebuilt) {
        BoundsCurrent_ = false;
        return;
    }
    // Bounds are kept for whole costs only, where a pivot moves potentials by whole numbers.
    const bool Whole = Move.Even && std::trunc(Move.Rise) == Move.Rise;
    assert(Whole && "a pivot over whole costs moved the potentials unevenly");
    if (!Whole || !(std::fabs(Move.Rise) <= double(1 << 30))) {
        BoundsCurrent_ = false;
        return;
    }
    if (Move.Rise != 0.0)
        RaiseBounds(Move);
}

// A cell changes by Rise when only its row moved and by -Rise when only its column did. So when
// Rise > 0 only the moved rows gain, by Rise, on the columns that stayed; when Rise < 0 only the
// other rows, by -Rise, on the moved columns. A gaining row's cells there are also at most its U
// plus the largest V among those columns minus its smallest cost, and its dummy cell is exactly
// U + V; the bound takes the lower.
void TWholePricing::RaiseBounds(const TMove& Move) {
    const auto Step = static_cast<std::int64_t>(Move.Rise);
    MarkMoved(Move, true);
    const bool MovedRowsGain = Step > 0;
    bool Any = false;
    double Top = 0.0;
    for (int J = 1; J <= Cols_; ++J)
        if (MovedCol_[J] != MovedRowsGain && (!Any || V_[J] > Top)) {
            Top = V_[J];
            Any = true;
        }
    const bool DummyGains = DummyCol_ != 0 && MovedCol_[DummyCol_] != MovedRowsGain;
    // No column to gain on: no row gained.
    if (Any || DummyGains)
        for (int I = 1; I <= M_; ++I)
            if (MovedRow_[I] == MovedRowsGain) {
                const auto Ui = static_cast<std::int64_t>(U_[I]);
                std::int64_t Reach = Any ? Ui + static_cast<std::int64_t>(Top) - Least_[I]
                                         : Ui + static_cast<std::int64_t>(V_[DummyCol_]);
                if (Any && DummyGains)
                    Reach = std::max(Reach, Ui + static_cast<std::int64_t>(V_[DummyCol_]));
                Bound_[I] = std::min(Bound_[I] + std::abs(Step), std::max(Bound_[I], Reach));
            }
    MarkMoved(Move, false);
}

void TWholePricing::MarkMoved(const TMove& Move, bool On) {
    for (int K = 0; K < Move.Count; ++K) {
        const int Node = Move.Nodes[K];
        (TBasisTree::IsRow(Node) ? MovedRow_ : MovedCol_)[TBasisTree::LineOf(Node)] = On;
    }
}
