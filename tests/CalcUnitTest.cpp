#include "CalcUnit.h"
#include "LemonReference.h"
#include "PlainSolver.h"
#include "Problems.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

using Rows = std::vector<std::vector<double>>;

std::unique_ptr<TCalc> NewStore() {
    return std::make_unique<TCalc>();
}

// Costs row by row; none given, every cost is 1.
void Fill(TCalc& S, const std::vector<double>& A, const std::vector<double>& B, const Rows& C) {
    TProblem P{int(A.size()), int(B.size()), A, B, {}};
    for (std::size_t I = 0; I < A.size(); ++I)
        for (std::size_t J = 0; J < B.size(); ++J)
            P.C.push_back(C.empty() ? 1.0 : C[I][J]);
    LoadProblem(S, P);
}

void SetPlan(TCalc& S, const Rows& X) {
    S.M = int(X.size());
    S.N = int(X[0].size());
    for (int I = 1; I <= S.M; ++I)
        for (int J = 1; J <= S.N; ++J)
            S.SetX(I, J, X[I - 1][J - 1]);
}

Rows Plan(const TCalc& S) {
    Rows X(std::size_t(S.M), std::vector<double>(std::size_t(S.N)));
    for (int I = 1; I <= S.M; ++I)
        for (int J = 1; J <= S.N; ++J)
            X[I - 1][J - 1] = S.GetX(I, J);
    return X;
}

int BasicCount(const TCalc& S) {
    int Count = 0;
    for (int I = 1; I <= S.M; ++I)
        for (int J = 1; J <= S.N; ++J)
            Count += S.GetX(I, J) > BasicThreshold;
    return Count;
}

std::vector<TCell> CycleOf(const TCalc& S) {
    std::vector<TCell> Cells;
    for (int K = 1; K <= S.CycleLength(); ++K)
        Cells.push_back({S.GetCycle(K).Row, S.GetCycle(K).Col});
    return Cells;
}

std::uint64_t Bits(double Value) {
    return std::bit_cast<std::uint64_t>(Value);
}

// ---- The store ----

TEST(Store, FreshStoreIsZero) {
    auto S = NewStore();
    EXPECT_EQ(S->M, 0);
    EXPECT_EQ(S->N, 0);
    EXPECT_EQ(S->BalanceKind, 0);
    EXPECT_EQ(S->CycleLength(), 0);
    EXPECT_EQ(S->TotalCost(), 0.0);
    EXPECT_EQ(S->GetX(501, 501), 0.0);
    EXPECT_EQ(S->GetA(7), 0.0);
}

TEST(Store, AccessorsAddressRowThenColumn) {
    auto S = NewStore();
    S->SetC(2, 3, 7.5);
    EXPECT_EQ(S->GetC(2, 3), 7.5);
    EXPECT_EQ(S->GetC(3, 2), 0.0);
    S->SetX(501, 501, 4.0);
    S->SetX(501, 1, 2.0);
    EXPECT_EQ(S->GetX(501, 501), 4.0);
    EXPECT_EQ(S->GetX(501, 1), 2.0);
    EXPECT_EQ(S->GetX(1, 501), 0.0);
}

TEST(Store, IndexOutsideCapacityRaisesAndWritesNothing) {
    auto S = NewStore();
    EXPECT_THROW(S->SetA(0, 1.0), std::out_of_range);
    EXPECT_THROW(S->SetA(502, 1.0), std::out_of_range);
    EXPECT_THROW(S->SetB(-1, 1.0), std::out_of_range);
    EXPECT_THROW(S->SetC(1, 502, 1.0), std::out_of_range);
    EXPECT_THROW(S->SetC(0, 1, 1.0), std::out_of_range);
    EXPECT_THROW(S->SetX(502, 1, 1.0), std::out_of_range);
    EXPECT_THROW(S->GetX(1, 0), std::out_of_range);
    EXPECT_THROW(S->GetC(502, 502), std::out_of_range);
    // Nothing spilled into a neighbouring cell of the flat arrays.
    EXPECT_EQ(S->GetC(1, 501), 0.0);
    EXPECT_EQ(S->GetC(2, 1), 0.0);
    EXPECT_EQ(S->GetX(2, 1), 0.0);
    EXPECT_EQ(S->GetA(1), 0.0);
    EXPECT_EQ(S->GetA(501), 0.0);
}

TEST(Store, TotalCostCountsBasicCellsOnly) {
    auto S = NewStore();
    Fill(*S, {3, 3}, {3, 3}, {{2, 100}, {100, 5}});
    SetPlan(*S, {{3, NonBasic}, {0.0, 3}});
    EXPECT_EQ(S->TotalCost(), 3 * 2 + 3 * 5);
    // A value just above the threshold counts as basic, one at it does not.
    S->SetX(1, 2, -0.00005);
    EXPECT_DOUBLE_EQ(S->TotalCost(), 21 - 0.00005 * 100);
    S->SetX(1, 2, BasicThreshold);
    EXPECT_EQ(S->TotalCost(), 21.0);
}

TEST(Store, TotalCostIgnoresCellsOutsideTheProblem) {
    auto S = NewStore();
    Fill(*S, {1, 1}, {1, 1}, {{1, 1}, {1, 1}});
    SetPlan(*S, {{1, NonBasic}, {0, 1}});
    S->SetX(3, 3, 1000.0);
    S->SetC(3, 3, 1000.0);
    S->SetX(1, 3, 1000.0);
    S->SetC(1, 3, 1000.0);
    EXPECT_EQ(S->TotalCost(), 2.0);
}

// ---- Balancing ----

TEST(Balance, BalancedProblemKeepsItsSize) {
    auto S = NewStore();
    Fill(*S, {10, 20}, {15, 15}, {{1, 2}, {3, 4}});
    S->BalanceKind = 2;
    S->Balance();
    EXPECT_EQ(S->BalanceKind, 0);
    EXPECT_EQ(S->M, 2);
    EXPECT_EQ(S->N, 2);
    EXPECT_EQ(S->GetC(2, 2), 4.0);
}

TEST(Balance, StockExcessAddsDummyConsumer) {
    auto S = NewStore();
    Fill(*S, {10, 25}, {15, 15}, {{1, 2}, {3, 4}});
    S->SetC(1, 3, 99);
    S->SetC(2, 3, 99);
    S->Balance();
    EXPECT_EQ(S->BalanceKind, 2);
    EXPECT_EQ(S->N, 3);
    EXPECT_EQ(S->GetB(3), 5.0);
    EXPECT_EQ(S->GetC(1, 3), 0.0);
    EXPECT_EQ(S->GetC(2, 3), 0.0);
}

TEST(Balance, DemandExcessAddsDummySupplier) {
    auto S = NewStore();
    Fill(*S, {10}, {7, 8}, {{1, 2}});
    S->SetC(2, 1, 99);
    S->SetC(2, 2, 99);
    S->Balance();
    EXPECT_EQ(S->BalanceKind, 1);
    EXPECT_EQ(S->M, 2);
    EXPECT_EQ(S->GetA(2), 5.0);
    EXPECT_EQ(S->GetC(2, 1), 0.0);
    EXPECT_EQ(S->GetC(2, 2), 0.0);
}

TEST(Balance, ToleranceIsAbsoluteAndStrict) {
    auto S = NewStore();
    Fill(*S, {1.00005}, {1}, {});
    S->Balance();
    EXPECT_EQ(S->BalanceKind, 0);
    EXPECT_EQ(S->N, 1);

    Fill(*S, {1}, {1.0002}, {});
    S->Balance();
    EXPECT_EQ(S->BalanceKind, 1);
    EXPECT_EQ(S->M, 2);
    EXPECT_EQ(S->GetA(2), 1.0002 - 1.0);
}

TEST(Balance, DummyFitsAtIndex501) {
    auto S = NewStore();
    S->M = 1;
    S->N = 500;
    S->SetA(1, 501);
    for (int J = 1; J <= 500; ++J)
        S->SetB(J, 1);
    S->Balance();
    EXPECT_EQ(S->N, 501);
    EXPECT_EQ(S->GetB(501), 1.0);
    // Growing past the capacity is a range error and leaves the size alone.
    S->SetA(1, 600);
    EXPECT_THROW(S->Balance(), std::out_of_range);
    EXPECT_EQ(S->N, 501);
}

// ---- Initial plan ----

TEST(InitialPlan, NorthWestCornerStaircase) {
    auto S = NewStore();
    Fill(*S, {30, 20}, {10, 25, 15}, {});
    S->InitialPlan();
    EXPECT_EQ(Plan(*S), (Rows{{10, 20, NonBasic}, {NonBasic, 5, 15}}));
    EXPECT_EQ(S->GetA(1), 30.0);
    EXPECT_EQ(S->GetB(2), 25.0);
}

struct TPlanCase {
    std::vector<double> A, B;
    Rows Expected;
};

class InitialPlanCases : public testing::TestWithParam<TPlanCase> {};

TEST_P(InitialPlanCases, DegenerateCellsKeepTheBasisComplete) {
    auto S = NewStore();
    Fill(*S, GetParam().A, GetParam().B, {});
    S->InitialPlan();
    EXPECT_EQ(Plan(*S), GetParam().Expected);
    EXPECT_EQ(BasicCount(*S), S->M + S->N - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Ties, InitialPlanCases,
    testing::Values(TPlanCase{{5, 5}, {5, 5}, {{5, NonBasic}, {0, 5}}}, TPlanCase{{7}, {7}, {{7}}},
                    TPlanCase{{5}, {5, 0}, {{5, 0}}}, TPlanCase{{5, 0}, {5}, {{5}, {0}}},
                    TPlanCase{{0, 5}, {5}, {{0}, {5}}},
                    // The walk leaves the last column early: rows below get a cell there.
                    TPlanCase{{6, 0, 0}, {3, 3}, {{3, 3}, {NonBasic, 0}, {NonBasic, 0}}},
                    // ...or the last row early: the columns to the right get one in it.
                    TPlanCase{{6}, {6, 0, 0}, {{6, 0, 0}}}));

TEST(InitialPlan, OverwritesAnEarlierPlan) {
    auto S = NewStore();
    Fill(*S, {2, 2}, {2, 2}, {});
    SetPlan(*S, {{9, 9}, {9, 9}});
    S->InitialPlan();
    EXPECT_EQ(Plan(*S), (Rows{{2, NonBasic}, {0, 2}}));
}

// ---- Potentials and entering cell ----

TEST(Potentials, SingleCell) {
    auto S = NewStore();
    Fill(*S, {7}, {7}, {{3.5}});
    S->InitialPlan();
    S->CalcPotentials();
    EXPECT_EQ(S->GetU(1), 0.0);
    EXPECT_EQ(S->GetV(1), 3.5);
    int Row = -1, Col = -1;
    S->FindEnteringCell(Row, Col);
    EXPECT_EQ(Row, 0);
    EXPECT_EQ(Col, 0);
}

TEST(Potentials, SingleSupplierTakesTheCosts) {
    auto S = NewStore();
    Fill(*S, {6}, {1, 2, 3}, {{4, -2, 9}});
    S->InitialPlan();
    S->CalcPotentials();
    EXPECT_EQ(S->GetU(1), 0.0);
    EXPECT_EQ(S->GetV(1), 4.0);
    EXPECT_EQ(S->GetV(2), -2.0);
    EXPECT_EQ(S->GetV(3), 9.0);
}

TEST(Potentials, DegenerateCellCarriesItsEquation) {
    auto S = NewStore();
    Fill(*S, {5, 5}, {5, 5}, {{1, 7}, {4, 2}});
    S->InitialPlan(); // (1,1)=5, (2,1)=0 degenerate, (2,2)=5
    S->CalcPotentials();
    EXPECT_EQ(S->GetU(1), 0.0);
    EXPECT_EQ(S->GetV(1), 1.0);
    EXPECT_EQ(S->GetU(2), 3.0); // from the degenerate cell (2,1)
    EXPECT_EQ(S->GetV(2), -1.0);
}

TEST(Potentials, BrokenBasisIsRefusedNotLoopedOn) {
    auto S = NewStore();
    Fill(*S, {1, 1}, {1, 1}, {{1, 1}, {1, 1}});
    SetPlan(*S, {{1, NonBasic}, {NonBasic, 1}}); // two cells, three needed
    EXPECT_THROW(S->CalcPotentials(), TCalcError);
    SetPlan(*S, {{1, 0}, {0, 1}}); // four cells
    EXPECT_THROW(S->CalcPotentials(), TCalcError);
    // Five cells but disconnected: rows 1-2 with columns 1-2 form a cycle, row 3 has none.
    Fill(*S, {1, 1, 1}, {1, 1, 1}, {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}});
    SetPlan(*S, {{1, 0, NonBasic}, {0, 1, NonBasic}, {NonBasic, NonBasic, NonBasic}});
    S->SetX(1, 3, 0);
    EXPECT_THROW(S->CalcPotentials(), TCalcError);
}

TEST(EnteringCell, BelowToleranceIsOptimal) {
    auto S = NewStore();
    // Basic (1,1), (1,2), (2,2): U1=0, V1=1, V2=1, U2=0; cell (2,1) has d = 0 + 1 - C.
    Fill(*S, {2, 1}, {1, 2}, {{1, 1}, {1 - 0.00005, 1}});
    S->InitialPlan();
    S->CalcPotentials();
    int Row = -1, Col = -1;
    S->FindEnteringCell(Row, Col);
    EXPECT_EQ(Row, 0);
    EXPECT_EQ(Col, 0);
    S->SetC(2, 1, 1 - 0.001);
    S->FindEnteringCell(Row, Col);
    EXPECT_EQ(Row, 2);
    EXPECT_EQ(Col, 1);
}

TEST(EnteringCell, TiesGoToTheFirstCellInRowMajorOrder) {
    auto S = NewStore();
    // A single row basis makes U = 0 everywhere, so d = V[j] - C[i][j] is easy to steer.
    S->M = 3;
    S->N = 40;
    for (int J = 1; J <= 40; ++J)
        S->SetX(1, J, 1.0);
    for (int I = 2; I <= 3; ++I)
        for (int J = 1; J <= 40; ++J)
            S->SetX(I, J, NonBasic);
    S->SetX(2, 40, 0.0);
    S->SetX(3, 40, 0.0);
    for (int I = 1; I <= 3; ++I)
        for (int J = 1; J <= 40; ++J)
            S->SetC(I, J, 10.0);
    S->CalcPotentials();
    S->SetC(3, 5, 7.0);  // d = 3
    S->SetC(2, 33, 7.0); // d = 3, an earlier row
    S->SetC(2, 37, 7.0); // d = 3, same row, later column
    int Row = 0, Col = 0;
    S->FindEnteringCell(Row, Col);
    EXPECT_EQ(Row, 2);
    EXPECT_EQ(Col, 33);
    S->SetC(3, 39, 6.0); // strictly greater wins wherever it is
    S->FindEnteringCell(Row, Col);
    EXPECT_EQ(Row, 3);
    EXPECT_EQ(Col, 39);
}

TEST(EnteringCell, MatchesAPlainScanOnEveryRowLength) {
    std::mt19937 Rng(11);
    auto S = NewStore();
    for (int N = 1; N <= 70; ++N) {
        S->M = 4;
        S->N = N;
        // Random potentials come from a random tree basis: one column per row plus row 1 full.
        for (int I = 1; I <= 4; ++I)
            for (int J = 1; J <= N; ++J) {
                S->SetX(I, J, I == 1 ? 0.0 : NonBasic);
                S->SetC(I, J, double(Rng() % 7));
            }
        for (int I = 2; I <= 4; ++I)
            S->SetX(I, 1 + int(Rng() % N), 0.0);
        S->CalcPotentials();
        int Row = 1, Col = 1;
        double Best = S->GetU(1) + S->GetV(1) - S->GetC(1, 1);
        for (int I = 1; I <= 4; ++I)
            for (int J = 1; J <= N; ++J)
                if (const double D = S->GetU(I) + S->GetV(J) - S->GetC(I, J); D > Best) {
                    Best = D;
                    Row = I;
                    Col = J;
                }
        if (Best < Tolerance)
            Row = Col = 0;
        int GotRow = -1, GotCol = -1;
        S->FindEnteringCell(GotRow, GotCol);
        EXPECT_EQ(GotRow, Row) << "N = " << N;
        EXPECT_EQ(GotCol, Col) << "N = " << N;
    }
}

// Costs in cents up to 1e13: rounding leaves basic cells with U + V - C of a few thousandths,
// above the tolerance, yet no basic cell may enter. Each of these problems once ended at a basic
// cell with "No pivot cycle passes through the entering cell".
TEST(EnteringCell, BasicCellNeverEntersAtCostsNear1e13) {
    for (const unsigned Seed : {4u, 5u, 7u, 10u}) {
        std::mt19937 Rng(Seed);
        auto S = NewStore();
        S->M = S->N = 20;
        for (int I = 1; I <= 20; ++I)
            S->SetA(I, 1 + Rng() % 50);
        for (int J = 1; J <= 20; ++J)
            S->SetB(J, 1 + Rng() % 50);
        for (int I = 1; I <= 20; ++I)
            for (int J = 1; J <= 20; ++J) {
                const double High = double(Rng() % 1000000) * 1e9;
                S->SetC(I, J, (High + double(Rng() % 1000000000)) / 100.0);
            }
        const double Optimum = ReferenceOptimalCost(StoredProblem(*S));
        S->Balance();
        S->InitialPlan();
        int Row = 0, Col = 0, Pivots = 0;
        for (; Pivots < 999; ++Pivots) {
            S->CalcPotentials();
            S->FindEnteringCell(Row, Col);
            if (Row == 0)
                break;
            ASSERT_EQ(S->GetX(Row, Col), NonBasic) << "seed " << Seed;
            S->FindCycle(Row, Col);
            S->SetX(Row, Col, 0.0);
            S->Pivot();
        }
        EXPECT_EQ(Row, 0) << "seed " << Seed << ": no optimum after " << Pivots << " pivots";
        EXPECT_NEAR(S->TotalCost(), Optimum, 1e-9 * Optimum) << "seed " << Seed;
    }
}

// ---- Cycle search and pivot ----

struct TCycleCase {
    const char* Name;
    Rows X;
    int Row, Col;
    std::vector<TCell> Expected;
};

class CycleCases : public testing::TestWithParam<TCycleCase> {};

TEST_P(CycleCases, PathOrderFollowsTheDirectionOrder) {
    auto S = NewStore();
    SetPlan(*S, GetParam().X);
    S->FindCycle(GetParam().Row, GetParam().Col);
    EXPECT_EQ(CycleOf(*S), GetParam().Expected);
}

constexpr double Nb = NonBasic;

INSTANTIATE_TEST_SUITE_P(
    Shapes, CycleCases,
    testing::Values(
        // Column cell above: entry 2 is the column cell; diagonal opposite at 3.
        TCycleCase{"Above", {{1, 1}, {1, Nb}}, 2, 2, {{2, 2}, {1, 2}, {1, 1}, {2, 1}}},
        // Column cell below, row cell to the left: entry 2 is the row cell.
        TCycleCase{"BelowLeft", {{1, Nb}, {1, 1}}, 1, 2, {{1, 2}, {1, 1}, {2, 1}, {2, 2}}},
        // Column cell below, row cell to the right: entry 2 is the column cell.
        TCycleCase{"BelowRight", {{Nb, 1}, {1, 1}}, 1, 1, {{1, 1}, {2, 1}, {2, 2}, {1, 2}}},
        // (1,2) lies on the straight stretch from (1,3) to (1,1) and is dropped.
        TCycleCase{"StraightRow",
                   {{1, 1, 1}, {Nb, 1, Nb}, {1, Nb, Nb}},
                   3,
                   3,
                   {{3, 3}, {1, 3}, {1, 1}, {3, 1}}},
        // (2,3) blocks the slide up from the entering cell; the walk goes on through it.
        TCycleCase{"BlockedColumn",
                   {{1, Nb, 1}, {Nb, 1, 1}, {1, Nb, Nb}},
                   3,
                   3,
                   {{3, 3}, {1, 3}, {1, 1}, {3, 1}}},
        // A six-corner cycle around a staircase; the slides left and down from (2,2) end
        // outside the table first.
        TCycleCase{"SixCorners",
                   {{1, 1, Nb}, {Nb, 1, 1}, {Nb, Nb, 1}},
                   3,
                   1,
                   {{3, 1}, {1, 1}, {1, 2}, {2, 2}, {2, 3}, {3, 3}}}),
    [](const testing::TestParamInfo<TCycleCase>& Info) { return Info.param.Name; });

TEST(Cycle, MissingCycleIsAnErrorAndPivotRefusesAnEmptyPath) {
    auto S = NewStore();
    SetPlan(*S, {{1, 1}, {Nb, Nb}});
    EXPECT_THROW(S->FindCycle(2, 2), TCalcError);
    EXPECT_EQ(S->CycleLength(), 0);
    EXPECT_THROW(S->Pivot(), TCalcError);
}

TEST(Cycle, EnteringCellMustLieInTheStore) {
    auto S = NewStore();
    SetPlan(*S, {{1, 1}, {1, Nb}});
    EXPECT_THROW(S->FindCycle(0, 2), std::out_of_range);
    EXPECT_THROW(S->FindCycle(2, 502), std::out_of_range);
}

TEST(Pivot, MovesThetaAndTheFirstSmallestMinusCellLeaves) {
    auto S = NewStore();
    SetPlan(*S, {{4, 3}, {3, Nb}});
    S->FindCycle(2, 2); // (2,2) + , (1,2) - , (1,1) + , (2,1) -
    S->SetX(2, 2, 0.0);
    S->Pivot();
    EXPECT_EQ(Plan(*S), (Rows{{7, Nb}, {0, 3}}));
}

TEST(Pivot, ThetaZeroChangesOnlyTheBasis) {
    auto S = NewStore();
    SetPlan(*S, {{4, 3}, {0, Nb}});
    S->FindCycle(2, 2);
    S->SetX(2, 2, 0.0);
    S->Pivot();
    EXPECT_EQ(Plan(*S), (Rows{{4, 3}, {Nb, 0}}));
}

TEST(Pivot, StraightStretchCellKeepsItsShipment) {
    auto S = NewStore();
    SetPlan(*S, {{2, 5, 3}, {Nb, 1, Nb}, {4, Nb, Nb}});
    S->FindCycle(3, 3); // (3,3)+ (1,3)- (1,1)+ (3,1)-
    S->SetX(3, 3, 0.0);
    S->Pivot();
    EXPECT_EQ(Plan(*S), (Rows{{5, 5, Nb}, {Nb, 1, Nb}, {1, Nb, 3}}));
}

// ---- Whole calculations against the plain transcription ----

struct TShape {
    int MaxM, MaxN, MaxValue;
    bool Unbalanced, NegativeCosts, Fractions;
};

void RandomProblem(std::mt19937& Rng, const TShape& Shape, TPlainSolver& P) {
    std::uniform_int_distribution<int> SizeM(1, Shape.MaxM), SizeN(1, Shape.MaxN);
    const int M = SizeM(Rng), N = SizeN(Rng);
    auto Value = [&](bool Cost) {
        double V = double(Rng() % std::uint32_t(Shape.MaxValue + 1));
        if (Shape.Fractions)
            V = V / 8.0 + double(Rng() % 3) * 0.1;
        if (Cost && Shape.NegativeCosts)
            V -= Shape.MaxValue / 2.0;
        return V;
    };
    P = TPlainSolver{};
    P.M = M;
    P.N = N;
    for (int I = 0; I < M; ++I)
        P.A.push_back(Value(false));
    for (int J = 0; J < N; ++J)
        P.B.push_back(Value(false));
    if (!Shape.Unbalanced) {
        // Move the difference onto the first entries so that the totals agree exactly.
        double SumA = 0, SumB = 0;
        for (double V : P.A)
            SumA += V;
        for (double V : P.B)
            SumB += V;
        if (SumA > SumB)
            P.B[0] += SumA - SumB;
        else
            P.A[0] += SumB - SumA;
    }
    for (int K = 0; K < M * N; ++K)
        P.C.push_back(Value(true));
}

// Runs the store and the plain transcription side by side from their current plans for at most
// MaxPivots pivots, demanding the same potentials, entering cells, cycles and plans bit for bit.
// Between(K, S, P) runs before pivot K's potentials and may change both the same way.
template <typename F> void ExpectSameAsPlain(TCalc& S, TPlainSolver& P, int MaxPivots, F Between) {
    for (int Pivots = 0; Pivots < MaxPivots; ++Pivots) {
        Between(Pivots, S, P);
        S.CalcPotentials();
        ASSERT_TRUE(P.CalcPotentials());
        for (int I = 1; I <= P.M; ++I)
            ASSERT_EQ(Bits(S.GetU(I)), Bits(P.U[I - 1])) << "pivot " << Pivots << " U" << I;
        for (int J = 1; J <= P.N; ++J)
            ASSERT_EQ(Bits(S.GetV(J)), Bits(P.V[J - 1])) << "pivot " << Pivots << " V" << J;
        int Row, Col, PRow, PCol;
        S.FindEnteringCell(Row, Col);
        P.FindEnteringCell(PRow, PCol);
        ASSERT_EQ(Row, PRow) << "pivot " << Pivots;
        ASSERT_EQ(Col, PCol) << "pivot " << Pivots;
        if (Row == 0)
            return;
        S.FindCycle(Row, Col);
        ASSERT_TRUE(P.FindCycle(Row, Col));
        ASSERT_EQ(CycleOf(S), P.Cycle) << "pivot " << Pivots;
        S.SetX(Row, Col, 0.0);
        P.x(Row, Col) = 0.0;
        S.Pivot();
        P.Pivot();
        for (int I = 1; I <= P.M; ++I)
            for (int J = 1; J <= P.N; ++J)
                ASSERT_EQ(Bits(S.GetX(I, J)), Bits(P.x(I, J))) << "pivot " << Pivots;
    }
}

void ExpectSameAsPlain(TCalc& S, TPlainSolver& P, int MaxPivots) {
    ExpectSameAsPlain(S, P, MaxPivots, [](int, TCalc&, TPlainSolver&) {});
}

void LoadPlain(TCalc& S, const TPlainSolver& P) {
    LoadProblem(S, {P.M, P.N, P.A, P.B, P.C});
}

void StartBoth(TCalc& S, TPlainSolver& P) {
    LoadPlain(S, P);
    S.Balance();
    S.InitialPlan();
    P.Balance();
    P.InitialPlan();
    ASSERT_EQ(S.M, P.M);
    ASSERT_EQ(S.N, P.N);
}

class AgainstPlain : public testing::TestWithParam<TShape> {};

TEST_P(AgainstPlain, SamePivotsPlansAndPotentialsBitForBit) {
    std::mt19937 Rng(1234);
    auto S = NewStore();
    TPlainSolver P;
    for (int Run = 0; Run < 60; ++Run) {
        RandomProblem(Rng, GetParam(), P);
        SCOPED_TRACE("run " + std::to_string(Run));
        StartBoth(*S, P);
        ExpectSameAsPlain(*S, P, 300);
        if (HasFatalFailure())
            return;
    }
}

// Costs spanning at most 255 (a table of bytes), up to 32767 (16 bits, and potentials too far
// apart for 16-bit lanes), whole costs too far apart for any table, negative and fractional
// costs: each kind of entering search the store may choose.
INSTANTIATE_TEST_SUITE_P(
    Shapes, AgainstPlain,
    testing::Values(TShape{6, 6, 3, false, false, false}, TShape{12, 9, 1, true, false, false},
                    TShape{15, 15, 20, true, true, false}, TShape{20, 8, 9, false, false, true},
                    TShape{70, 70, 5, true, false, false}, TShape{3, 80, 50, true, true, true},
                    TShape{40, 40, 255, true, false, false},
                    TShape{40, 40, 30000, true, true, false},
                    TShape{30, 30, 1000000, true, false, false}));

// The store's caches take any starting basis: from least cost and Vogel the plain steps follow.
TEST(AgainstPlainSpecial, FromTheOtherStarts) {
    std::mt19937 Rng(31);
    auto S = NewStore();
    TPlainSolver P;
    for (int Run = 0; Run < 40; ++Run) {
        RandomProblem(Rng, TShape{30, 30, Run % 4 < 2 ? 9 : 30000, true, Run % 3 == 0, false}, P);
        StartBoth(*S, P);
        S->InitialPlan(Run % 2 ? TStart::Vogel : TStart::LeastCost);
        for (int K = 0; K < P.M * P.N; ++K)
            P.X[std::size_t(K)] = S->GetX(K / P.N + 1, K % P.N + 1);
        ExpectSameAsPlain(*S, P, 300);
        ASSERT_FALSE(HasFatalFailure()) << "run " << Run;
    }
}

// A staircase whose potentials climb by 255 a step: column potentials 255 apart times 259,
// further apart than 16-bit lanes hold over a table of bytes.
TEST(AgainstPlainSpecial, WidePotentialsOverSmallCosts) {
    constexpr int Size = 260;
    std::mt19937 Rng(7);
    TPlainSolver P;
    P.M = P.N = Size;
    P.A.assign(Size, 1.0);
    P.B.assign(Size, 1.0);
    P.C.resize(std::size_t(Size) * Size);
    for (int I = 1; I <= Size; ++I)
        for (int J = 1; J <= Size; ++J)
            P.C[std::size_t(I - 1) * Size + (J - 1)] = I == J       ? 255.0
                                                       : I == J + 1 ? 0.0
                                                                    : double(Rng() % 256);
    auto S = NewStore();
    StartBoth(*S, P);
    S->CalcPotentials();
    ASSERT_EQ(S->GetV(Size) - S->GetV(1), 255.0 * (Size - 1));
    ExpectSameAsPlain(*S, P, 12);
}

// Steps taken out of the usual order, and changes between them, must not leave anything the
// store keeps from pivot to pivot out of date.
TEST(AgainstPlainSpecial, ChangesBetweenPivotsAreSeen) {
    std::mt19937 Rng(99);
    auto S = NewStore();
    TPlainSolver P;
    for (int Run = 0; Run < 20; ++Run) {
        RandomProblem(Rng, TShape{25, 25, 9, true, Run % 2 == 1, false}, P);
        SCOPED_TRACE("run " + std::to_string(Run));
        StartBoth(*S, P);
        ExpectSameAsPlain(*S, P, 200, [&](int K, TCalc& Store, TPlainSolver& Plain) {
            const int I = 1 + int(Rng() % unsigned(Plain.M)),
                      J = 1 + int(Rng() % unsigned(Plain.N));
            switch (K % 7) {
            case 2: // a new cost, a whole one
                Store.SetC(I, J, double(Rng() % 9));
                Plain.C[std::size_t(I - 1) * Plain.N + (J - 1)] = Store.GetC(I, J);
                break;
            case 3: // a cost that is no whole number, then one of -0.0
                Store.SetC(I, J, K % 2 ? 2.5 : -0.0);
                Plain.C[std::size_t(I - 1) * Plain.N + (J - 1)] = Store.GetC(I, J);
                break;
            case 4: // the same steps twice
                Store.CalcPotentials();
                int Row, Col;
                Store.FindEnteringCell(Row, Col);
                break;
            case 5: // a value between the two basic tests, outside the problem
                Store.SetX(Capacity, Capacity, K % 2 ? -0.00005 : NonBasic);
                break;
            default:
                break;
            }
        });
        if (HasFatalFailure())
            return;
        S->SetX(Capacity, Capacity, NonBasic);
    }
}

// ---- Problem checks ----

TEST(CheckProblem, RefusesWhatCannotGiveAPlan) {
    auto S = NewStore();
    Fill(*S, {1, 2}, {3}, {{-5}, {7}});
    EXPECT_NO_THROW(S->CheckProblem()); // negative costs are fine
    S->SetA(2, -2);
    try {
        S->CheckProblem();
        FAIL() << "a negative stock was accepted";
    } catch (const TCalcError& E) {
        EXPECT_STREQ(E.what(), "Stocks and demands must not be negative");
    }
    S->SetA(2, 2);
    S->SetB(1, std::nan(""));
    EXPECT_THROW(S->CheckProblem(), TCalcError);
    S->SetB(1, 3);
    S->SetC(1, 1, HUGE_VAL);
    EXPECT_THROW(S->CheckProblem(), TCalcError);
    S->SetC(1, 1, 1e307);
    try {
        S->CheckProblem();
        FAIL() << "an overflowing cost was accepted";
    } catch (const TCalcError& E) {
        EXPECT_STREQ(E.what(), "The numbers are too large to calculate with");
    }
    S->SetC(1, 1, 1e12);
    EXPECT_NO_THROW(S->CheckProblem());
    S->M = 0;
    EXPECT_THROW(S->CheckProblem(), std::out_of_range);
}

// ---- Elapsed-time text ----

struct TTimeCase {
    double Days;
    const char* Text;
};

class ElapsedTime : public testing::TestWithParam<TTimeCase> {};

TEST_P(ElapsedTime, Text) {
    EXPECT_EQ(ElapsedTimeToStr(GetParam().Days), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ElapsedTime,
    testing::Values(TTimeCase{0, "0:00:00"}, TTimeCase{5.7 / 86400, "0:00:05"},
                    TTimeCase{59.9 / 86400, "0:00:59"}, TTimeCase{3723.0 / 86400, "1:02:03"},
                    TTimeCase{86399.0 / 86400, "23:59:59"}, TTimeCase{1, "24:00:00"},
                    TTimeCase{1 + 3787.0 / 86400, "25:03:07"}, TTimeCase{2.5, "60:00:00"},
                    TTimeCase{10 + 4.0 / 86400, "240:00:04"}, TTimeCase{-0.001, ""},
                    TTimeCase{-1e-12, ""}, TTimeCase{NAN, ""}, TTimeCase{INFINITY, ""},
                    TTimeCase{1e300, ""}));

} // namespace
