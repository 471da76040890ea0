#include "CalcUnit.h"

#include "ReducedCosts.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>

TCalc* Calc = nullptr;

namespace {

using Word = std::uint64_t;

void SetBit(Word* Bits, int Index, bool On) {
    const Word Mask = Word(1) << (Index & 63);
    if (On)
        Bits[Index >> 6] |= Mask;
    else
        Bits[Index >> 6] &= ~Mask;
}

// Bits From..To of a bitset, as a mask for word W (empty when the range misses the word).
Word RangeMask(int W, int From, int To) {
    const int Lo = std::max(From - W * 64, 0);
    const int Hi = std::min(To - W * 64, 63);
    if (Lo > Hi)
        return 0;
    const Word Upper = Hi == 63 ? ~Word(0) : (Word(1) << (Hi + 1)) - 1;
    return Upper & ~((Word(1) << Lo) - 1);
}

// The lowest set bit in From..To, or -1.
int NextBit(const Word* Bits, int From, int To) {
    if (From > To)
        return -1;
    for (int W = From >> 6; W <= To >> 6; ++W)
        if (const Word Hit = Bits[W] & RangeMask(W, From, To))
            return W * 64 + std::countr_zero(Hit);
    return -1;
}

// The highest set bit in From..To, or -1.
int PrevBit(const Word* Bits, int From, int To) {
    if (From > To)
        return -1;
    for (int W = To >> 6; W >= From >> 6; --W)
        if (const Word Hit = Bits[W] & RangeMask(W, From, To))
            return W * 64 + 63 - std::countl_zero(Hit);
    return -1;
}

[[noreturn]] void RangeError(const char* What) {
    throw std::out_of_range(What);
}

constexpr int Up = 1, Left = 2, Down = 3, Right = 4;

int Opposite(int Dir) {
    return Dir <= 2 ? Dir + 2 : Dir - 2;
}

} // namespace

TCalc::TCalc() {
    // A fresh plan is all 0.0, which both basic tests count as basic: the shadows say so too.
    for (int I = 1; I <= Capacity; ++I)
        for (int J = 1; J <= Capacity; ++J) {
            SetBit(BasicRows_[I - 1], J, true);
            SetBit(TreeRows_[I - 1], J, true);
            SetBit(TreeCols_[J - 1], I, true);
        }
}

void TCalc::Check(int Index) {
    if (Index < 1 || Index > Capacity)
        RangeError("Index outside the store's capacity 1..501");
}

// The sizes must lie within the capacity before any loop trusts them.
void TCalc::CheckSize() const {
    if (M < 1 || M > Capacity || N < 1 || N > Capacity)
        RangeError("Problem size outside 1..501");
}

void TCalc::SetA(int I, double Value) {
    Check(I);
    A_[I - 1] = Value;
}

void TCalc::SetB(int J, double Value) {
    Check(J);
    B_[J - 1] = Value;
}

void TCalc::SetC(int I, int J, double Value) {
    Check(I);
    Check(J);
    C_[Cell(I, J)] = Value;
    CostsChanged_ = true;
    TreeValid_ = false;
    BoundsCurrent_ = false;
}

double TCalc::GetC(int I, int J) const {
    Check(I);
    Check(J);
    return C_[Cell(I, J)];
}

void TCalc::SetX(int I, int J, double Value) {
    Check(I);
    Check(J);
    StoreX(I, J, Value);
}

double TCalc::GetX(int I, int J) const {
    Check(I);
    Check(J);
    return X_[Cell(I, J)];
}

double TCalc::GetA(int I) const {
    Check(I);
    return A_[I - 1];
}

double TCalc::GetB(int J) const {
    Check(J);
    return B_[J - 1];
}

double TCalc::GetU(int I) const {
    Check(I);
    return U_[I - 1];
}

double TCalc::GetV(int J) const {
    Check(J);
    return V_[J - 1];
}

TCycleCell TCalc::GetCycle(int K) const {
    if (K < 1 || K > CycleCapacity)
        RangeError("Cycle index outside 1..251002");
    return Cycle_[K - 1];
}

void TCalc::StoreX(int I, int J, double Value) {
    double& Slot = X_[Cell(I, J)];
    const bool WasBasic = Slot > BasicThreshold, Basic = Value > BasicThreshold;
    const bool WasTree = Slot >= 0.0, Tree = Value >= 0.0;
    Slot = Value;
    if (Basic == WasBasic && Tree == WasTree)
        return;
    Straddling_ += int(Basic && !Tree) - int(WasBasic && !WasTree);
    SetBit(BasicRows_[I - 1], J, Basic);
    SetBit(TreeRows_[I - 1], J, Tree);
    SetBit(TreeCols_[J - 1], I, Tree);
    if (Basic != WasBasic) {
        if (FlipCount_ < 2)
            Flips_[FlipCount_] = {{I, J}, Basic};
        FlipCount_ = std::min(FlipCount_ + 1, 3);
    }
}

double TCalc::TotalCost() const {
    if (M < 0 || M > Capacity || N < 0 || N > Capacity)
        RangeError("Problem size outside 0..501");
    double Sum = 0.0;
    // The basic cells in row-major order: the same terms in the same order as a full scan.
    for (int I = 1; I <= M; ++I)
        for (int J = NextBit(BasicRows_[I - 1], 1, N); J > 0;
             J = NextBit(BasicRows_[I - 1], J + 1, N))
            Sum = Sum + X_[Cell(I, J)] * C_[Cell(I, J)];
    return Sum;
}

void TCalc::CheckProblem() const {
    CheckSize();
    double SumA = 0.0, SumB = 0.0, MaxC = 0.0;
    bool Finite = true, Negative = false;
    for (int I = 1; I <= M; ++I) {
        Finite = Finite && std::isfinite(A_[I - 1]);
        Negative = Negative || A_[I - 1] < 0.0;
        SumA = SumA + A_[I - 1];
    }
    for (int J = 1; J <= N; ++J) {
        Finite = Finite && std::isfinite(B_[J - 1]);
        Negative = Negative || B_[J - 1] < 0.0;
        SumB = SumB + B_[J - 1];
    }
    for (int I = 1; I <= M; ++I)
        for (int J = 1; J <= N; ++J) {
            const double Cost = C_[Cell(I, J)];
            Finite = Finite && std::isfinite(Cost);
            MaxC = std::max(MaxC, std::fabs(Cost));
        }
    if (!Finite)
        throw TCalcError("Stocks, demands and costs must be finite numbers");
    if (Negative)
        throw TCalcError("Stocks and demands must not be negative");
    // A potential is an alternating sum of at most M + N - 1 costs, a reduced cost adds one
    // more, and the total cost is at most the shipped amount times the largest cost. Keep all
    // of them, with room for rounding, inside the range of a double.
    const double Shipped = std::max(SumA, SumB);
    const double PotentialBound = MaxC * 4.0 * double(M + N + 2);
    const double CostBound = Shipped * MaxC * 4.0;
    if (!std::isfinite(SumA) || !std::isfinite(SumB) || !std::isfinite(PotentialBound) ||
        !std::isfinite(CostBound))
        throw TCalcError("The numbers are too large to calculate with");
}

void TCalc::Balance() {
    BalanceKind = 0;
    CostsChanged_ = true;
    TreeValid_ = false;
    BoundsCurrent_ = false;
    if (M < 0 || M > Capacity || N < 0 || N > Capacity)
        RangeError("Problem size outside 0..501");
    double SumA = 0.0;
    for (int I = 1; I <= M; ++I)
        SumA = SumA + A_[I - 1];
    double SumB = 0.0;
    for (int J = 1; J <= N; ++J)
        SumB = SumB + B_[J - 1];
    if (SumA - SumB > Tolerance) {
        Check(N + 1);
        N = N + 1;
        B_[N - 1] = SumA - SumB;
        for (int I = 1; I <= M; ++I)
            C_[Cell(I, N)] = 0.0;
        BalanceKind = 2;
        return;
    }
    if (SumB - SumA > Tolerance) {
        Check(M + 1);
        M = M + 1;
        SetA(M, SumB - SumA);
        for (int J = 1; J <= N; ++J)
            C_[Cell(M, J)] = 0.0;
        BalanceKind = 1;
    }
}

void TCalc::InitialPlan() {
    CheckSize();
    TreeValid_ = false;
    BoundsCurrent_ = false;
    double Stock[Capacity], Demand[Capacity];
    std::memcpy(Stock, A_, sizeof Stock);
    std::memcpy(Demand, B_, sizeof Demand);
    for (int I = 1; I <= M; ++I)
        for (int J = 1; J <= N; ++J)
            StoreX(I, J, NonBasic);
    int I = 1, J = 1;
    while (I <= M && J <= N) {
        if (Stock[I - 1] > Demand[J - 1]) {
            StoreX(I, J, Demand[J - 1]);
            Stock[I - 1] = Stock[I - 1] - Demand[J - 1];
            Demand[J - 1] = 0.0;
            ++J;
        } else {
            StoreX(I, J, Stock[I - 1]);
            Demand[J - 1] = Demand[J - 1] - Stock[I - 1];
            Stock[I - 1] = 0.0;
            ++I;
        }
    }
    if (J > N)
        for (int R = I + 1; R <= M; ++R)
            StoreX(R, N, 0.0);
    if (I > M)
        for (int K = J + 1; K <= N; ++K)
            StoreX(M, K, 0.0);
}

bool TCalc::TreeCurrent() const {
    return TreeValid_ && FlipCount_ == 0 && M == TreeM_ && N == TreeN_;
}

// The basic cell joining a node to its parent.
TCalc::TEntry TCalc::TreeEdge(int Node) const {
    const int Up = Parent_[Node];
    return Node < Capacity ? TEntry{Node + 1, Up - Capacity + 1}
                           : TEntry{Up + 1, Node - Capacity + 1};
}

// U[1] = 0, and every other potential is the cost of a basic cell minus the potential already
// known at its other end. In a spanning tree a row or column is reached from row 1 through one
// cell only, the one on its path towards row 1, so each potential is that one subtraction
// whatever order the cells are visited in: a walk outwards from row 1 over the cells of each
// newly known row or column gives the same bits as rescanning the cell list in row-major order.
// After a pivot of the tree only the rows and columns it re-hung need the walk again.
void TCalc::CalcPotentials() {
    CheckSize();
    PrepareWholeCosts();
    if (TreeCurrent()) {
        // With whole costs the re-hung side's rows all move by one whole number, Rise, and
        // its columns by -Rise, exactly.
        double Rise = 0.0;
        bool Even = true;
        for (int K = 0; K < PendingCount_; ++K) {
            const int Node = Pending_[K];
            const double Old = Potential(Node);
            const double New = ParentCost_[Node] - Potential(Parent_[Node]);
            Potential(Node) = New;
            const double RowRise = Node < Capacity ? New - Old : Old - New;
            if (K == 0)
                Rise = RowRise;
            else if (RowRise != Rise)
                Even = false;
        }
        if (BoundsCurrent_)
            RaiseBounds(Rise, Even);
        PendingCount_ = 0;
        return;
    }
    TreeValid_ = false;
    BoundsCurrent_ = false;
    PendingCount_ = 0;
    FlipCount_ = 0;
    WalkPotentials();
    TreeValid_ = true;
    TreeM_ = M;
    TreeN_ = N;
}

// The row bounds after a pivot that moved the re-hung side's rows by Rise and its columns by
// -Rise: a cell changes by Rise when only its row moved and by -Rise when only its column did.
// So when Rise > 0 only the moved rows gain, by Rise, on the columns that stayed; when Rise < 0
// only the other rows, by -Rise, on the moved columns. A gaining row's cells there are also at
// most its U plus the largest V among those columns minus its smallest cost; the bound takes
// the lower of the two.
void TCalc::RaiseBounds(double Rise, bool Even) {
    if (!Even || !(std::fabs(Rise) <= double(1 << 30)) || std::trunc(Rise) != Rise) {
        BoundsCurrent_ = false;
        return;
    }
    const auto Step = static_cast<std::int64_t>(Rise);
    if (Step == 0)
        return;
    auto Mark = [this](bool On) {
        for (int K = 0; K < PendingCount_; ++K) {
            const int Node = Pending_[K];
            (Node < Capacity ? Moved_[Node] : MovedCol_[Node - Capacity]) = On;
        }
    };
    Mark(true);
    const bool MovedRowsGain = Step > 0;
    bool Any = false;
    double Top = 0.0;
    for (int J = 0; J < N; ++J)
        if (MovedCol_[J] != MovedRowsGain && (!Any || V_[J] > Top)) {
            Top = V_[J];
            Any = true;
        }
    // No column to gain on: no row gained.
    if (Any) {
        const auto Base = static_cast<std::int64_t>(WholeBase_);
        for (int I = 0; I < M; ++I)
            if (Moved_[I] == MovedRowsGain) {
                const std::int64_t Reach = static_cast<std::int64_t>(U_[I]) +
                                           static_cast<std::int64_t>(Top) - RowLeast_[I] - Base;
                RowBound_[I] =
                    std::min(RowBound_[I] + std::abs(Step), std::max(RowBound_[I], Reach));
            }
    }
    Mark(false);
}

void TCalc::WalkPotentials() {
    const int Need = M + N - 1;
    int Count = 0;
    // Bit 0 is never set; bits past N may be, by an earlier, wider problem.
    const int LastWord = N >> 6;
    const Word LastMask = RangeMask(LastWord, 0, N);
    for (int I = 1; I <= M; ++I) {
        RowFirst_[I - 1] = Count;
        const Word* Bits = BasicRows_[I - 1];
        for (int W = 0; W <= LastWord; ++W) {
            for (Word Set = W == LastWord ? Bits[W] & LastMask : Bits[W]; Set != 0;
                 Set &= Set - 1) {
                if (Count == Need)
                    throw TCalcError("The plan has more basic cells than a spanning tree");
                const int J = W * 64 + std::countr_zero(Set);
                Entries_[Count++] = {I, J};
            }
        }
    }
    RowFirst_[M] = Count;
    if (Count != Need)
        throw TCalcError("The plan has fewer basic cells than a spanning tree");

    // The cells of each column in list order, by a counting sort: column J's cells end up at
    // ColEntries_[ColFirst_[J - 1] .. ColFirst_[J] - 1].
    std::fill(ColFirst_, ColFirst_ + N + 2, 0);
    for (int K = 0; K < Count; ++K)
        ++ColFirst_[Entries_[K].Col + 1];
    for (int J = 1; J <= N + 1; ++J)
        ColFirst_[J] += ColFirst_[J - 1];
    for (int K = 0; K < Count; ++K)
        ColEntries_[ColFirst_[Entries_[K].Col]++] = K;

    std::fill(RowKnown_, RowKnown_ + M, false);
    std::fill(ColKnown_, ColKnown_ + N, false);
    // Known rows and columns waiting to be walked from, as nodes.
    int Head = 0, Tail = 0;
    U_[0] = 0.0;
    RowKnown_[0] = true;
    Parent_[RowNode(1)] = -1;
    Depth_[RowNode(1)] = 0;
    Walk_[Tail++] = RowNode(1);
    for (int I = 1; I <= M; ++I)
        FirstChild_[RowNode(I)] = -1;
    for (int J = 1; J <= N; ++J)
        FirstChild_[ColNode(J)] = -1;
    auto Reach = [this, &Tail](int Node, int From, double Cost) {
        Link(Node, From, Cost);
        Depth_[Node] = Depth_[From] + 1;
        Potential(Node) = Cost - Potential(From);
        Walk_[Tail++] = Node;
    };
    while (Head < Tail) {
        const int Node = Walk_[Head++];
        if (Node < Capacity) {
            const int I = Node + 1;
            for (int Q = RowFirst_[I - 1]; Q < RowFirst_[I]; ++Q) {
                const TEntry& E = Entries_[Q];
                if (!ColKnown_[E.Col - 1]) {
                    ColKnown_[E.Col - 1] = true;
                    Reach(ColNode(E.Col), Node, C_[Cell(E.Row, E.Col)]);
                }
            }
        } else {
            const int J = Node - Capacity + 1;
            for (int Q = ColFirst_[J - 1]; Q < ColFirst_[J]; ++Q) {
                const TEntry& E = Entries_[ColEntries_[Q]];
                if (!RowKnown_[E.Row - 1]) {
                    RowKnown_[E.Row - 1] = true;
                    Reach(RowNode(E.Row), Node, C_[Cell(E.Row, E.Col)]);
                }
            }
        }
    }
    if (Tail != M + N)
        throw TCalcError("The plan's basic cells do not connect every row and column");
}

// The table of whole costs, rebuilt only when a cost or the size has changed.
void TCalc::PrepareWholeCosts() {
    if (!CostsChanged_ && WholeM_ == M && WholeN_ == N)
        return;
    CostsChanged_ = false;
    BoundsCurrent_ = false;
    WholeM_ = M;
    WholeN_ = N;
    WholeKind_ = 0;
    // Whole costs this small keep every potential, a sum of at most M + N - 1 of them, a whole
    // number far inside the range where doubles count exactly.
    constexpr double Largest = 1e9;
    double Low = C_[0], High = C_[0];
    for (int I = 1; I <= M; ++I) {
        const double* Row = C_ + Cell(I, 1);
        for (int J = 0; J < N; ++J) {
            if (!(std::fabs(Row[J]) <= Largest) || std::trunc(Row[J]) != Row[J])
                return;
            Low = std::min(Low, Row[J]);
            High = std::max(High, Row[J]);
        }
    }
    if (High - Low > 32767.0)
        return;
    WholeBase_ = Low;
    WholeSpan_ = int(High - Low);
    WholeKind_ = WholeSpan_ <= 255 ? 1 : 2;
    for (int I = 1; I <= M; ++I) {
        const double* Row = C_ + Cell(I, 1);
        const std::size_t Start = std::size_t(I - 1) * CostStride;
        int Least = WholeSpan_;
        for (int J = 0; J < N; ++J) {
            const int Value = int(Row[J] - Low);
            Least = std::min(Least, Value);
            if (WholeKind_ == 1)
                Whole8_[Start + J] = std::uint8_t(Value);
            else
                Whole16_[Start + J] = std::int16_t(Value);
        }
        RowLeast_[I - 1] = Least;
    }
}

// With whole costs every potential is a whole number, so each double U + V - C of the plain
// search is exact and equals the integer one: the same maximum, the same first cell, the same
// answer. Per row that is U[I] + Offset + max W, W = V'[J] - T[I, J], with the shifted
// potentials V' = V - Shift and the stored costs T = C - WholeBase_, Offset = Shift - WholeBase_.
bool TCalc::FindEnteringWhole(int& Row, int& Col) const {
    if (WholeKind_ == 0 || CostsChanged_ || WholeM_ != M || WholeN_ != N)
        return false;
    constexpr double Limit = double(1 << 28);
    std::int32_t U[Capacity], V[Capacity];
    std::int16_t V16[Capacity];
    auto Whole = [](double P, std::int32_t& Out) {
        if (!(std::fabs(P) <= Limit))
            return false;
        Out = static_cast<std::int32_t>(P);
        return double(Out) == P;
    };
    for (int I = 0; I < M; ++I)
        if (!Whole(U_[I], U[I]))
            return false;
    std::int32_t LowV = 0, HighV = 0;
    for (int J = 0; J < N; ++J) {
        if (!Whole(V_[J], V[J]))
            return false;
        LowV = J == 0 ? V[J] : std::min(LowV, V[J]);
        HighV = J == 0 ? V[J] : std::max(HighV, V[J]);
    }
    // 16-bit lanes hold every W when V' ends at 32767 and W can fall no further than -32768.
    const bool Narrow = std::int64_t(HighV) - LowV + WholeSpan_ <= 65535;
    const std::int32_t Shift = Narrow ? HighV - 32767 : 0;
    if (Narrow)
        for (int J = 0; J < N; ++J)
            V16[J] = static_cast<std::int16_t>(V[J] - Shift);
    const std::int64_t Offset = std::int64_t(Shift) - std::int64_t(WholeBase_);

    auto Search = [&](const auto* Potentials, const auto* Table) {
        auto CostRow = [&](int I) { return Table + std::size_t(I - 1) * CostStride; };
        // The largest d of row I, and the first column holding the value Best there.
        auto Largest = [&](int I) {
            return std::int64_t(U[I - 1]) + Offset +
                   ReducedCosts::RowMax(Potentials, CostRow(I), N);
        };
        auto FirstOf = [&](int I, std::int64_t Best) {
            const auto W = static_cast<std::int32_t>(Best - U[I - 1] - Offset);
            return ReducedCosts::FirstAt(Potentials, CostRow(I), N, W) + 1;
        };
        std::int64_t Best;
        if (!BoundsCurrent_) {
            Row = 1;
            Col = 1;
            Best = std::int64_t(U[0]) + Offset + (Potentials[0] - Table[0]);
            for (int I = 1; I <= M; ++I) {
                const std::int64_t RowBest = Largest(I);
                RowBound_[I - 1] = RowBest;
                if (!(RowBest > Best))
                    continue;
                Best = RowBest;
                Row = I;
                Col = FirstOf(I, Best);
            }
            BoundsCurrent_ = true;
        } else {
            // First the largest d of all, Best: rows are priced only while their bound beats
            // the largest found so far, starting from the row with the largest bound. Then
            // the first row that holds Best, which is the one the plain search ends on.
            std::fill(Priced_, Priced_ + M, false);
            auto Price = [&](int I) {
                RowBound_[I - 1] = Largest(I);
                Priced_[I - 1] = true;
            };
            const int Top = int(std::max_element(RowBound_, RowBound_ + M) - RowBound_) + 1;
            Price(Top);
            Best = RowBound_[Top - 1];
            for (int I = 1; I <= M; ++I)
                if (RowBound_[I - 1] > Best) {
                    Price(I);
                    Best = std::max(Best, RowBound_[I - 1]);
                }
            for (int I = 1; I <= M; ++I) {
                if (RowBound_[I - 1] < Best)
                    continue;
                if (!Priced_[I - 1])
                    Price(I);
                if (RowBound_[I - 1] == Best) {
                    Row = I;
                    Col = FirstOf(I, Best);
                    break;
                }
            }
        }
        if (double(Best) < Tolerance) {
            Row = 0;
            Col = 0;
        }
    };
    if (WholeKind_ == 1) {
        if (Narrow)
            Search(V16, Whole8_);
        else
            Search(V, Whole8_);
    } else {
        if (Narrow)
            Search(V16, Whole16_);
        else
            Search(V, Whole16_);
    }
    return true;
}

void TCalc::FindEnteringCell(int& Row, int& Col) const {
    CheckSize();
    if (FindEnteringWhole(Row, Col))
        return;
    Row = 1;
    Col = 1;
    double Best = (U_[0] + V_[0]) - C_[Cell(1, 1)];
    for (int I = 1; I <= M; ++I) {
        const double Ui = U_[I - 1];
        const double* CostRow = C_ + Cell(I, 1);
        const double RowBest = ReducedCosts::RowMax(Ui, V_, CostRow, N);
        if (!(RowBest > Best))
            continue;
        // Scanning this row cell by cell from Best would end on the first cell holding the
        // row's largest d; find that one directly.
        for (int J = 1; J <= N; ++J) {
            const double D = (Ui + V_[J - 1]) - CostRow[J - 1];
            if (D == RowBest) {
                Best = D;
                Row = I;
                Col = J;
                break;
            }
        }
    }
    if (Best < Tolerance) {
        Row = 0;
        Col = 0;
    }
}

// One slide of the cycle search: from (Row, Col) in direction Dir over non-basic cells to the
// first basic cell or to the entering cell, whichever comes first inside the table.
bool TCalc::Slide(int Row, int Col, int Dir, int EnterRow, int EnterCol, int& StopRow,
                  int& StopCol) const {
    StopRow = Row;
    StopCol = Col;
    int Stop = -1;
    switch (Dir) {
    case Up:
        Stop = PrevBit(TreeCols_[Col - 1], 1, Row - 1);
        if (EnterCol == Col && EnterRow < Row && EnterRow > Stop && EnterRow >= 1)
            Stop = EnterRow;
        StopRow = Stop;
        break;
    case Left:
        Stop = PrevBit(TreeRows_[Row - 1], 1, Col - 1);
        if (EnterRow == Row && EnterCol < Col && EnterCol > Stop && EnterCol >= 1)
            Stop = EnterCol;
        StopCol = Stop;
        break;
    case Down:
        Stop = NextBit(TreeCols_[Col - 1], Row + 1, M);
        if (EnterCol == Col && EnterRow > Row && EnterRow <= M && (Stop < 0 || EnterRow < Stop))
            Stop = EnterRow;
        StopRow = Stop;
        break;
    case Right:
        Stop = NextBit(TreeRows_[Row - 1], Col + 1, N);
        if (EnterRow == Row && EnterCol > Col && EnterCol <= N && (Stop < 0 || EnterCol < Stop))
            Stop = EnterCol;
        StopCol = Stop;
        break;
    }
    return Stop > 0;
}

void TCalc::FindCycle(int Row, int Col) {
    CheckSize();
    Check(Row);
    Check(Col);
    CycleFromTree_ = false;
    // Where the plan's two basic tests agree the rook-move search below can only end on the
    // path of the tree between the entering cell's row and column (see TreeCycle); read it off
    // the tree. Anything unusual goes to the search itself.
    if (TreeCurrent() && Straddling_ == 0 && Row <= M && Col <= N && !(X_[Cell(Row, Col)] >= 0.0)) {
        TreeCycle(Row, Col);
        CycleFromTree_ = true;
        return;
    }
    SearchCycle(Row, Col);
}

// The search below moves from a cell to the first basic cell in a direction and never
// straight back, so the corners of any branch it grows are the cells of a path in the tree
// that never doubles back on itself, which in a tree is a simple path; a branch that closes on
// the entering cell (Row, Col) is therefore the tree path between column Col and row Row.
// Which way round it is listed is decided by the first move that leads to a closing branch:
// up if the path's cell in column Col lies above the entering cell, else left if its cell in
// row Row lies to the left, else down. Straight stretches the search would drop never appear.
void TCalc::TreeCycle(int Row, int Col) {
    // Climb from both ends to where the two ways towards row 1 meet: the row's side into the
    // front of Walk_, the column's side into its back; together at most M + N - 1 nodes.
    int FromRow = RowNode(Row), FromCol = ColNode(Col);
    int RowSide = 0, ColSide = 0;
    int* const ColEnd = Walk_ + Nodes - 1;
    while (Depth_[FromRow] > Depth_[FromCol]) {
        Walk_[RowSide++] = FromRow;
        FromRow = Parent_[FromRow];
    }
    while (Depth_[FromCol] > Depth_[FromRow]) {
        ColEnd[-ColSide++] = FromCol;
        FromCol = Parent_[FromCol];
    }
    while (FromRow != FromCol) {
        Walk_[RowSide++] = FromRow;
        FromRow = Parent_[FromRow];
        ColEnd[-ColSide++] = FromCol;
        FromCol = Parent_[FromCol];
    }
    // The path's cells next to the entering cell, in its column and in its row.
    const TEntry InCol = ColSide > 0 ? TreeEdge(ColEnd[0]) : TreeEdge(Walk_[RowSide - 1]);
    const TEntry InRow = RowSide > 0 ? TreeEdge(Walk_[0]) : TreeEdge(ColEnd[1 - ColSide]);
    const bool ColumnFirst = InCol.Row < Row || !(InRow.Col < Col);

    CycleLength_ = 0;
    auto Add = [this](TEntry E) { Cycle_[CycleLength_++] = {E.Col, E.Row}; };
    Add({Row, Col});
    if (ColumnFirst) {
        for (int K = 0; K < ColSide; ++K)
            Add(TreeEdge(ColEnd[-K]));
        for (int K = RowSide - 1; K >= 0; --K)
            Add(TreeEdge(Walk_[K]));
    } else {
        for (int K = 0; K < RowSide; ++K)
            Add(TreeEdge(Walk_[K]));
        for (int K = ColSide - 1; K >= 0; --K)
            Add(TreeEdge(ColEnd[-K]));
    }
}

// A depth-first search in rook moves from the entering cell back to it, directions tried in the
// order up, left, down, right, never straight back. Cycle[1..CycleLength] is the current
// branch; the explicit stack (BackDir_, NextDir_) keeps the recursion off the thread's stack.
// Afterwards the cells that lie on a straight stretch are dropped, leaving the corners.
void TCalc::SearchCycle(int Row, int Col) {
    // A spanning tree never repeats a cell on one branch, so a branch holds at most the
    // M + N - 1 basic cells and the entering cell.
    const int Limit = M + N;
    CycleLength_ = 1;
    Cycle_[0] = {Col, Row};
    BackDir_[1] = 0;
    NextDir_[1] = Up;
    bool Found = false;
    while (CycleLength_ > 0) {
        const int K = CycleLength_;
        const int Dir = NextDir_[K];
        if (Dir > Right) {
            --CycleLength_;
            continue;
        }
        NextDir_[K] = std::uint8_t(Dir + 1);
        if (Dir == BackDir_[K])
            continue;
        int StopRow, StopCol;
        if (!Slide(Cycle_[K - 1].Row, Cycle_[K - 1].Col, Dir, Row, Col, StopRow, StopCol))
            continue;
        if (StopRow == Row && StopCol == Col) {
            Found = true;
            break;
        }
        if (CycleLength_ == Limit)
            throw TCalcError("The cycle search ran past a spanning tree's size");
        Cycle_[K] = {StopCol, StopRow};
        CycleLength_ = K + 1;
        BackDir_[K + 1] = std::uint8_t(Opposite(Dir));
        NextDir_[K + 1] = Up;
    }
    if (!Found)
        throw TCalcError("No pivot cycle passes through the entering cell");

    Cycle_[CycleLength_++] = {Col, Row};
    // Drops the middle one of three consecutive cells on one line, testing the same position
    // again after a drop: one pass with a read and a write position.
    auto DropStraight = [this](auto SameLine) {
        const int Length = CycleLength_;
        if (Length < 3)
            return;
        int W = 0, R = 1;
        while (R + 1 < Length) {
            if (SameLine(Cycle_[W], Cycle_[R]) && SameLine(Cycle_[R], Cycle_[R + 1]))
                ++R;
            else
                Cycle_[++W] = Cycle_[R++];
        }
        while (R < Length)
            Cycle_[++W] = Cycle_[R++];
        CycleLength_ = W + 1;
    };
    DropStraight([](TCycleCell P, TCycleCell Q) { return P.Col == Q.Col; });
    DropStraight([](TCycleCell P, TCycleCell Q) { return P.Row == Q.Row; });
    --CycleLength_;
}

void TCalc::Pivot() {
    const int Length = CycleLength_;
    if (Length < 4 || Length % 2 != 0)
        throw TCalcError("The pivot has no valid cycle");
    const TEntry Entering = {Cycle_[0].Row, Cycle_[0].Col};
    // The tree can follow this pivot when its cycle came from the tree and the only change to
    // the basis since is the entering cell's.
    const bool FollowTree = CycleFromTree_ && TreeValid_ && PendingCount_ == 0 && M == TreeM_ &&
                            N == TreeN_ && FlipCount_ == 1 && Flips_[0].Basic &&
                            Flips_[0].Cell.Row == Entering.Row &&
                            Flips_[0].Cell.Col == Entering.Col;
    CycleFromTree_ = false;
    auto At = [this](int K) -> double& { return X_[Cell(Cycle_[K - 1].Row, Cycle_[K - 1].Col)]; };
    double Theta = At(2);
    int Leaving = 2;
    for (int K = 2; K <= 2 * (Length / 2); K += 2)
        if (At(K) < Theta) {
            Theta = At(K);
            Leaving = K;
        }
    for (int K = 1; K <= Length; ++K) {
        const TCycleCell P = Cycle_[K - 1];
        StoreX(P.Row, P.Col, K % 2 == 1 ? At(K) + Theta : At(K) - Theta);
    }
    const TEntry Left = {Cycle_[Leaving - 1].Row, Cycle_[Leaving - 1].Col};
    StoreX(Left.Row, Left.Col, NonBasic);
    if (FollowTree && FlipCount_ == 2 && !Flips_[1].Basic && Flips_[1].Cell.Row == Left.Row &&
        Flips_[1].Cell.Col == Left.Col) {
        FlipCount_ = 0;
        ExchangeTreeEdge(Entering, Left);
    } else {
        TreeValid_ = false;
    }
}

// The leaving cell cuts the tree in two; the side away from row 1 is hung again from the
// entering cell, walked outwards from it with parents, depths and edge costs renewed. Its
// potentials wait in Pending_ for CalcPotentials.
void TCalc::ExchangeTreeEdge(TEntry Entering, TEntry Leaving) {
    const int LeftRow = RowNode(Leaving.Row), LeftCol = ColNode(Leaving.Col);
    const int Cut = Parent_[LeftRow] == LeftCol ? LeftRow : LeftCol;
    if (Parent_[Cut] != (Cut == LeftRow ? LeftCol : LeftRow)) {
        TreeValid_ = false;
        return;
    }
    // The entering cell joins the two sides: find its end on the cut side.
    const int EnterRow = RowNode(Entering.Row), EnterCol = ColNode(Entering.Col);
    int Node = EnterRow;
    while (Depth_[Node] > Depth_[Cut])
        Node = Parent_[Node];
    const int Hang = Node == Cut ? EnterRow : EnterCol;
    const int From = Node == Cut ? EnterCol : EnterRow;

    // Turn the path from Hang up to Cut round, each cell's cost moving with it, and hang Hang
    // from From.
    Unlink(Cut);
    int Child = Hang, Above = From;
    double Cost = C_[Cell(Entering.Row, Entering.Col)];
    while (true) {
        const int OldParent = Parent_[Child];
        const double OldCost = ParentCost_[Child];
        if (Child != Cut)
            Unlink(Child);
        Link(Child, Above, Cost);
        if (Child == Cut)
            break;
        Above = Child;
        Child = OldParent;
        Cost = OldCost;
    }

    // Depths anew over the re-hung side, parents first; its potentials wait in Pending_.
    int Count = 0;
    Depth_[Hang] = Depth_[From] + 1;
    Pending_[Count++] = Hang;
    for (int K = 0; K < Count; ++K) {
        const int Next = Pending_[K];
        for (int Kid = FirstChild_[Next]; Kid >= 0; Kid = NextSibling_[Kid]) {
            if (Count == M + N - 1) {
                TreeValid_ = false;
                return;
            }
            Depth_[Kid] = Depth_[Next] + 1;
            Pending_[Count++] = Kid;
        }
    }
    PendingCount_ = Count;
}

// Hangs Node under Above by a cell of cost Cost, as Above's first child.
void TCalc::Link(int Node, int Above, double Cost) {
    Parent_[Node] = Above;
    ParentCost_[Node] = Cost;
    PrevSibling_[Node] = -1;
    NextSibling_[Node] = FirstChild_[Above];
    if (FirstChild_[Above] >= 0)
        PrevSibling_[FirstChild_[Above]] = Node;
    FirstChild_[Above] = Node;
}

// Takes Node out of its parent's children.
void TCalc::Unlink(int Node) {
    if (PrevSibling_[Node] >= 0)
        NextSibling_[PrevSibling_[Node]] = NextSibling_[Node];
    else
        FirstChild_[Parent_[Node]] = NextSibling_[Node];
    if (NextSibling_[Node] >= 0)
        PrevSibling_[NextSibling_[Node]] = PrevSibling_[Node];
}

std::string ElapsedTimeToStr(double Elapsed) {
    if (!(Elapsed >= 0.0))
        return {};
    constexpr double MsPerDay = 86400000.0;
    // Beyond this many days the hour count no longer fits the 64-bit arithmetic.
    constexpr double MaxDays = 1e11;
    if (!(Elapsed < MaxDays))
        return {};
    const auto Ms = static_cast<std::int64_t>(std::round(Elapsed * MsPerDay));
    const std::int64_t DayMs = Ms % 86400000;
    const std::int64_t Hours = DayMs / 3600000;
    const std::int64_t Minutes = (DayMs / 60000) % 60;
    const std::int64_t Seconds = (DayMs % 60000) / 1000;
    char Rest[16];
    std::snprintf(Rest, sizeof Rest, ":%02d:%02d", int(Minutes), int(Seconds));
    const auto Days = static_cast<std::int64_t>(Elapsed);
    const std::int64_t TotalHours = Days > 0 ? Days * 24 + Hours : Hours;
    return std::to_string(TotalHours) + Rest;
}
