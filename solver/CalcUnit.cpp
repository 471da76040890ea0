#include "CalcUnit.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

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

// The largest (U + V[j]) - Row[j] over j = 0..Count-1, -infinity for none. Only the value is
// needed: a row whose largest d does not beat the best so far cannot change the entering cell,
// so the order in which the lanes are combined does not matter. d > m ? d : m never lets a NaN
// in, exactly as the scalar strict comparison ignores one.
typedef double V4 __attribute__((vector_size(32)));

// (U + V[J..J+3]) - Row[J..J+3], lane by lane.
#define KELVOR_D4(Out, J)                                                                          \
    V4 Out;                                                                                        \
    {                                                                                              \
        V4 Vj, Cj;                                                                                 \
        std::memcpy(&Vj, V + (J), sizeof Vj);                                                      \
        std::memcpy(&Cj, Row + (J), sizeof Cj);                                                    \
        Out = (Uv + Vj) - Cj;                                                                      \
    }

__attribute__((always_inline)) inline double RowMaxBody(double U, const double* V,
                                                        const double* Row, int Count) {
    constexpr double Low = -std::numeric_limits<double>::infinity();
    V4 M0 = {Low, Low, Low, Low}, M1 = M0, M2 = M0, M3 = M0;
    const V4 Uv = {U, U, U, U};
    int J = 0;
    for (; J + 16 <= Count; J += 16) {
        KELVOR_D4(D0, J)
        KELVOR_D4(D1, J + 4)
        KELVOR_D4(D2, J + 8)
        KELVOR_D4(D3, J + 12)
        M0 = D0 > M0 ? D0 : M0;
        M1 = D1 > M1 ? D1 : M1;
        M2 = D2 > M2 ? D2 : M2;
        M3 = D3 > M3 ? D3 : M3;
    }
    for (; J + 4 <= Count; J += 4) {
        KELVOR_D4(D0, J)
        M0 = D0 > M0 ? D0 : M0;
    }
    M0 = M1 > M0 ? M1 : M0;
    M2 = M3 > M2 ? M3 : M2;
    M0 = M2 > M0 ? M2 : M0;
    double Best = Low;
    for (int L = 0; L < 4; ++L)
        if (M0[L] > Best)
            Best = M0[L];
    for (; J < Count; ++J) {
        const double D = (U + V[J]) - Row[J];
        if (D > Best)
            Best = D;
    }
    return Best;
}
#undef KELVOR_D4

// The same loop built for AVX2 and for the baseline, picked once by what the processor offers.
__attribute__((target("avx2"))) double RowMaxAvx2(double U, const double* V, const double* Row,
                                                  int Count) {
    return RowMaxBody(U, V, Row, Count);
}

double RowMaxBaseline(double U, const double* V, const double* Row, int Count) {
    return RowMaxBody(U, V, Row, Count);
}

using TRowMax = double (*)(double, const double*, const double*, int);

TRowMax ChooseRowMax() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? RowMaxAvx2 : RowMaxBaseline;
}

const TRowMax RowMax = ChooseRowMax();

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
    X_[Cell(I, J)] = Value;
    SetBit(BasicRows_[I - 1], J, Value > BasicThreshold);
    SetBit(TreeRows_[I - 1], J, Value >= 0.0);
    SetBit(TreeCols_[J - 1], I, Value >= 0.0);
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

// U[1] = 0, and every other potential is the cost of a basic cell minus the potential already
// known at its other end. In a spanning tree a row or column is reached from row 1 through one
// cell only, the one on its path towards row 1, so each potential is that one subtraction
// whatever order the cells are visited in: a walk outwards from row 1 over the cells of each
// newly known row or column gives the same bits as rescanning the cell list in row-major order.
void TCalc::CalcPotentials() {
    CheckSize();
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
    // Known rows and columns waiting to be walked from: row R as R, column J as -J.
    int Head = 0, Tail = 0;
    U_[0] = 0.0;
    RowKnown_[0] = true;
    Walk_[Tail++] = 1;
    while (Head < Tail) {
        const int Node = Walk_[Head++];
        if (Node > 0) {
            const double P = U_[Node - 1];
            for (int Q = RowFirst_[Node - 1]; Q < RowFirst_[Node]; ++Q) {
                const TEntry& E = Entries_[Q];
                if (!ColKnown_[E.Col - 1]) {
                    V_[E.Col - 1] = C_[Cell(E.Row, E.Col)] - P;
                    ColKnown_[E.Col - 1] = true;
                    Walk_[Tail++] = -E.Col;
                }
            }
        } else {
            const double P = V_[-Node - 1];
            for (int Q = ColFirst_[-Node - 1]; Q < ColFirst_[-Node]; ++Q) {
                const TEntry& E = Entries_[ColEntries_[Q]];
                if (!RowKnown_[E.Row - 1]) {
                    U_[E.Row - 1] = C_[Cell(E.Row, E.Col)] - P;
                    RowKnown_[E.Row - 1] = true;
                    Walk_[Tail++] = E.Row;
                }
            }
        }
    }
    const int Known = Tail;
    if (Known != M + N)
        throw TCalcError("The plan's basic cells do not connect every row and column");
}

void TCalc::FindEnteringCell(int& Row, int& Col) const {
    CheckSize();
    Row = 1;
    Col = 1;
    double Best = (U_[0] + V_[0]) - C_[Cell(1, 1)];
    for (int I = 1; I <= M; ++I) {
        const double Ui = U_[I - 1];
        const double* CostRow = C_ + Cell(I, 1);
        const double RowBest = RowMax(Ui, V_, CostRow, N);
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

// A depth-first search in rook moves from the entering cell back to it, directions tried in the
// order up, left, down, right, never straight back. Cycle[1..CycleLength] is the current
// branch; the explicit stack (BackDir_, NextDir_) keeps the recursion off the thread's stack.
// Afterwards the cells that lie on a straight stretch are dropped, leaving the corners.
void TCalc::FindCycle(int Row, int Col) {
    CheckSize();
    Check(Row);
    Check(Col);
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
    StoreX(Cycle_[Leaving - 1].Row, Cycle_[Leaving - 1].Col, NonBasic);
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
