#include "CalcUnit.h"

#include "ReducedCosts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

TCalc* Calc = nullptr;

namespace {

[[noreturn]] void RangeError(const char* What) {
    throw std::out_of_range(What);
}

} // namespace

void TCalc::Check(int Index) {
    if (Index < 1 || Index > Capacity)
        RangeError("Index outside the store's capacity 1..501");
}

// The sizes must lie within the capacity before any loop trusts them.
void TCalc::CheckSize() const {
    if (M < 1 || M > Capacity || N < 1 || N > Capacity)
        RangeError("Problem size outside 1..501");
}

// The one way the caches learn of a change to the store. Inlined: it runs for every plan cell
// written.
[[gnu::always_inline]] inline void TCalc::Changed(const TChange& Change) {
    switch (Change.Kind) {
    case TChange::Costs:
        Tree_.Invalidate();
        Pricing_.Invalidate();
        break;
    case TChange::Plan:
        Tree_.Invalidate();
        break;
    case TChange::Cell:
        if (Shadow_.Record(Change.Row, Change.Col, Change.Old, Change.New))
            Tree_.NoteFlip(Change.Row, Change.Col, Change.New > BasicThreshold);
        break;
    }
}

void TCalc::StoreX(int I, int J, double Value) {
    const double Old = X(I, J);
    X(I, J) = Value;
    Changed({TChange::Cell, I, J, Old, Value});
}

void TCalc::SetA(int I, double Value) {
    Check(I);
    A_[I] = Value;
}

void TCalc::SetB(int J, double Value) {
    Check(J);
    B_[J] = Value;
}

void TCalc::SetC(int I, int J, double Value) {
    Check(I);
    Check(J);
    C_[CellIndex(I, J)] = Value;
    Changed({TChange::Costs});
}

double TCalc::GetC(int I, int J) const {
    Check(I);
    Check(J);
    return C(I, J);
}

void TCalc::SetX(int I, int J, double Value) {
    Check(I);
    Check(J);
    StoreX(I, J, Value);
}

double TCalc::GetX(int I, int J) const {
    Check(I);
    Check(J);
    return X(I, J);
}

double TCalc::GetA(int I) const {
    Check(I);
    return A_[I];
}

double TCalc::GetB(int J) const {
    Check(J);
    return B_[J];
}

double TCalc::GetU(int I) const {
    Check(I);
    return U_[I];
}

double TCalc::GetV(int J) const {
    Check(J);
    return V_[J];
}

std::span<const double> TCalc::CostRow(int I) const {
    Check(I);
    CheckSize();
    return {C_ + CellIndex(I, 1), std::size_t(N)};
}

TCycleCell TCalc::GetCycle(int K) const {
    if (K < 1 || K > CycleCapacity)
        RangeError("Cycle index outside 1..251002");
    return Cycle_[K];
}

TStartCell TCalc::GetStartCell(int K) const {
    if (K < 1 || K > StartCount_)
        RangeError("Start cell index outside 1..StartCount");
    return StartCells_[K - 1];
}

double TCalc::TotalCost() const {
    if (M < 0 || M > Capacity || N < 0 || N > Capacity)
        RangeError("Problem size outside 0..501");
    double Sum = 0.0;
    // The basic cells in row-major order: the same terms in the same order as a full scan.
    for (int I = 1; I <= M; ++I)
        Shadow_.ForEachBasic(I, N, [&](int J) { Sum = Sum + X(I, J) * C(I, J); });
    return Sum;
}

void TCalc::CheckProblem() const {
    CheckSize();
    double SumA = 0.0, SumB = 0.0, MaxC = 0.0;
    bool Finite = true, Negative = false;
    for (int I = 1; I <= M; ++I) {
        Finite = Finite && std::isfinite(A_[I]);
        Negative = Negative || A_[I] < 0.0;
        SumA = SumA + A_[I];
    }
    for (int J = 1; J <= N; ++J) {
        Finite = Finite && std::isfinite(B_[J]);
        Negative = Negative || B_[J] < 0.0;
        SumB = SumB + B_[J];
    }
    for (int I = 1; I <= M; ++I)
        for (int J = 1; J <= N; ++J) {
            Finite = Finite && std::isfinite(C(I, J));
            MaxC = std::max(MaxC, std::fabs(C(I, J)));
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
    Changed({TChange::Costs});
    if (M < 0 || M > Capacity || N < 0 || N > Capacity)
        RangeError("Problem size outside 0..501");
    double SumA = 0.0;
    for (int I = 1; I <= M; ++I)
        SumA = SumA + A_[I];
    double SumB = 0.0;
    for (int J = 1; J <= N; ++J)
        SumB = SumB + B_[J];
    if (SumA - SumB > Tolerance) {
        Check(N + 1);
        N = N + 1;
        B_[N] = SumA - SumB;
        for (int I = 1; I <= M; ++I)
            C_[CellIndex(I, N)] = 0.0;
        BalanceKind = 2;
        return;
    }
    if (SumB - SumA > Tolerance) {
        Check(M + 1);
        M = M + 1;
        A_[M] = SumB - SumA;
        for (int J = 1; J <= N; ++J)
            C_[CellIndex(M, J)] = 0.0;
        BalanceKind = 1;
    }
}

void TCalc::InitialPlan() {
    CheckSize();
    Changed({TChange::Plan});
    double Stock[Capacity + 1], Demand[Capacity + 1];
    std::memcpy(Stock, A_, sizeof Stock);
    std::memcpy(Demand, B_, sizeof Demand);
    for (int I = 1; I <= M; ++I)
        for (int J = 1; J <= N; ++J)
            StoreX(I, J, NonBasic);
    StartCount_ = 0;
    int I = 1, J = 1;
    while (I <= M && J <= N) {
        if (Stock[I] > Demand[J]) {
            PlaceStart(I, J, Demand[J]);
            Stock[I] = Stock[I] - Demand[J];
            Demand[J] = 0.0;
            ++J;
        } else {
            PlaceStart(I, J, Stock[I]);
            Demand[J] = Demand[J] - Stock[I];
            Stock[I] = 0.0;
            ++I;
        }
    }
    if (J > N)
        for (int R = I + 1; R <= M; ++R)
            PlaceStart(R, N, 0.0);
    if (I > M)
        for (int K = J + 1; K <= N; ++K)
            PlaceStart(M, K, 0.0);
}

void TCalc::InitialPlan(TStart Start) {
    if (Start == TStart::NorthWest) {
        InitialPlan();
        return;
    }
    CheckSize();
    const std::vector<TStartCell> Cells =
        Start == TStart::Vogel ? VogelStart(View()) : LeastCostStart(View());
    if (Cells.size() != std::size_t(M + N - 1))
        throw TCalcError("The starting plan is not a complete basis");
    Changed({TChange::Plan});
    for (int I = 1; I <= M; ++I)
        for (int J = 1; J <= N; ++J)
            StoreX(I, J, NonBasic);
    StartCount_ = 0;
    for (const TStartCell& Cell : Cells)
        PlaceStart(Cell.Cell.Row, Cell.Cell.Col, Cell.Amount);
}

void TCalc::PlaceStart(int I, int J, double Amount) {
    StoreX(I, J, Amount);
    StartCells_[StartCount_++] = {{I, J}, Amount};
}

// U[1] = 0, and every other potential is the cost of a basic cell minus the potential already
// known at its other end. In a spanning tree a row or column is reached from row 1 through one
// cell only, the one on its path towards row 1, so each potential is that one subtraction
// whatever order the cells are visited in: the tree's walk gives the bits of the plain scan.
// After a pivot the tree followed, only the rows and columns it hung again need them anew.
void TCalc::CalcPotentials() {
    CheckSize();
    Pricing_.Prepare(M, N, BalanceKind);
    if (Tree_.Current(M, N)) {
        Pricing_.Follow(Tree_.Settle());
        return;
    }
    Pricing_.Follow(TMove::Rebuild());
    Tree_.Build(M, N);
}

void TCalc::FindEnteringCell(int& Row, int& Col) {
    CheckSize();
    if (!Pricing_.Find(M, N, Row, Col))
        ScanEntering(Row, Col);
    // Costs so large that rounding leaves a basic cell's U + V - C above the tolerance.
    if (Row != 0 && Shadow_.Basic(Row, Col))
        ScanNonBasicEntering(Row, Col);
}

// The plain rule over doubles: the largest U + V - C, the first in row-major order.
void TCalc::ScanEntering(int& Row, int& Col) const {
    Row = 1;
    Col = 1;
    double Best = (U_[1] + V_[1]) - C(1, 1);
    for (int I = 1; I <= M; ++I) {
        const double Ui = U_[I];
        const double* CostRow = C_ + CellIndex(I, 1);
        const double RowBest = ReducedCosts::RowMax(Ui, V_ + 1, CostRow, N);
        if (!(RowBest > Best))
            continue;
        // Scanning this row cell by cell from Best would end on the first cell holding the
        // row's largest d; find that one directly.
        for (int J = 1; J <= N; ++J) {
            const double D = (Ui + V_[J]) - C(I, J);
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

// The same rule over the non-basic cells only.
void TCalc::ScanNonBasicEntering(int& Row, int& Col) const {
    Row = 0;
    Col = 0;
    double Best = -std::numeric_limits<double>::infinity();
    for (int I = 1; I <= M; ++I)
        for (int J = 1; J <= N; ++J) {
            const double D = (U_[I] + V_[J]) - C(I, J);
            if (D > Best && !Shadow_.Basic(I, J)) {
                Best = D;
                Row = I;
                Col = J;
            }
        }
    if (!(Best >= Tolerance)) {
        Row = 0;
        Col = 0;
    }
}

void TCalc::FindCycle(int Row, int Col) {
    CheckSize();
    Check(Row);
    Check(Col);
    // Where the plan's two basic tests agree the rook-move search can only end on the tree's
    // path between the entering cell's row and column; read it off the tree. Anything unusual
    // goes to the search itself, and the tree is no longer trusted to follow the pivot.
    if (Tree_.Current(M, N) && Shadow_.Agrees() && Row <= M && Col <= N && !(X(Row, Col) >= 0.0)) {
        Tree_.ListPath(Row, Col, Cycle_, CycleLength_);
        return;
    }
    Tree_.Invalidate();
    Search_.Find(M, N, Row, Col, Cycle_, CycleLength_);
}

void TCalc::Pivot() {
    const int Length = CycleLength_;
    if (Length < 4 || Length % 2 != 0)
        throw TCalcError("The pivot has no valid cycle");
    auto At = [this](int K) { return X(Cycle_[K].Row, Cycle_[K].Col); };
    double Theta = At(2);
    int Leaving = 2;
    for (int K = 2; K <= 2 * (Length / 2); K += 2)
        if (At(K) < Theta) {
            Theta = At(K);
            Leaving = K;
        }
    for (int K = 1; K <= Length; ++K)
        StoreX(Cycle_[K].Row, Cycle_[K].Col, K % 2 == 1 ? At(K) + Theta : At(K) - Theta);
    const TCell Entering = {Cycle_[1].Row, Cycle_[1].Col};
    const TCell Left = {Cycle_[Leaving].Row, Cycle_[Leaving].Col};
    StoreX(Left.Row, Left.Col, NonBasic);
    Tree_.FollowPivot(Entering, Left, M, N);
    Theta_ = Theta;
    Leaving_ = Left;
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
