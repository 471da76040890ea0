#include "LemonReference.h"

#include "CalcUnit.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <stdexcept>

namespace {

TProblem Problem(int M, int N, std::vector<double> A, std::vector<double> B,
                 std::vector<double> C) {
    return {M, N, std::move(A), std::move(B), std::move(C)};
}

struct TCase {
    const char* Name;
    TProblem Problem;
    double Optimum; // worked out by hand
};

TEST(LemonReference, HandSolvedProblems) {
    const TCase Cases[] = {
        {"one cell", Problem(1, 1, {2.5}, {2.5}, {4}), 10},
        {"diagonal beats the cross", Problem(2, 2, {5, 5}, {5, 5}, {1, 3, 2, 1}), 10},
        // x11 = t, x12 = 0.5 - t, x21 = 0.75 - t, x22 = 0.5 + t costs 0.1 - 0.8 t: t = 0.5.
        {"fractions and a negative cost",
         Problem(2, 2, {0.5, 1.25}, {0.75, 1.0}, {0.1, 0.3, 0.2, -0.4}), -0.3},
        {"stock left over (dummy consumer)", Problem(2, 1, {10, 10}, {6}, {5, 2}), 12},
        {"demand left unmet (dummy supplier)", Problem(1, 2, {4}, {3, 3}, {1, 7}), 10},
        {"all costs equal, degenerate",
         Problem(3, 3, {1, 2, 3}, {3, 2, 1}, {7, 7, 7, 7, 7, 7, 7, 7, 7}), 42},
        // The best of the six assignments: (1,2) (2,3) (3,1).
        {"negative assignment",
         Problem(3, 3, {1, 1, 1}, {1, 1, 1}, {-1, -5, -3, -2, -4, -6, -7, -8, -9}), -18},
        {"costs 13 binary orders apart", Problem(2, 2, {1, 1}, {1, 1}, {1e12, 0.1, 0.1, 1e12}),
         0.2},
        {"nothing to ship", Problem(2, 2, {0, 0}, {0, 0}, {3, -4, 5, 6}), 0},
        {"totals 0.00005 apart", Problem(1, 1, {1.00005}, {1}, {3}), 3},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        EXPECT_NEAR(ReferenceOptimalCost(Case.Problem), Case.Optimum,
                    1e-12 * std::max(1.0, std::fabs(Case.Optimum)));
    }
}

TEST(LemonReference, RefusesWhatTheSolverRefuses) {
    const double Inf = std::numeric_limits<double>::infinity();
    const TProblem Bad[] = {
        Problem(1, 1, {-1}, {1}, {1}),
        Problem(1, 1, {1}, {-0.5}, {1}),
        Problem(1, 1, {Inf}, {1}, {1}),
        Problem(1, 1, {1}, {1}, {std::nan("")}),
        Problem(1, 2, {1}, {1}, {1}), // B too short, C too short
        Problem(0, 1, {}, {1}, {}),
        Problem(502, 1, std::vector<double>(502, 1.0), {502}, std::vector<double>(502, 1.0)),
    };
    for (const TProblem& Case : Bad)
        EXPECT_THROW(ReferenceOptimalCost(Case), std::invalid_argument);
}

// The cheapest vertex of the transportation polytope by brute force: every set of M + N - 1 cells
// that the leaf rule resolves into one plan (a spanning tree), kept when no shipment is negative.
double BruteForceOptimum(const TProblem& P) {
    const int Cells = P.M * P.N, Need = P.M + P.N - 1;
    double Best = std::numeric_limits<double>::infinity();
    for (unsigned Set = 0; Set < (1u << Cells); ++Set) {
        if (std::popcount(Set) != Need)
            continue;
        std::vector<double> Row = P.A, Col = P.B, X(Cells, 0.0);
        unsigned Open = Set;
        bool Progress = true;
        while (Open != 0 && Progress) {
            Progress = false;
            for (int Line = 0; Line < P.M + P.N && !Progress; ++Line) {
                int Only = -1, Count = 0;
                for (int K = 0; K < Cells; ++K)
                    if ((Open >> K & 1) && (Line < P.M ? K / P.N == Line : K % P.N == Line - P.M)) {
                        Only = K;
                        ++Count;
                    }
                if (Count != 1)
                    continue;
                X[Only] = Line < P.M ? Row[Only / P.N] : Col[Only % P.N];
                Row[Only / P.N] -= X[Only];
                Col[Only % P.N] -= X[Only];
                Open &= ~(1u << Only);
                Progress = true;
            }
        }
        if (Open != 0)
            continue;
        double Cost = 0.0;
        bool Feasible = true;
        for (int K = 0; K < Cells; ++K) {
            Feasible = Feasible && X[K] >= 0.0;
            Cost += X[K] * P.C[K];
        }
        if (Feasible)
            Best = std::min(Best, Cost);
    }
    return Best;
}

// Whole-number shipments keep the brute force exact; costs include negatives and ties.
TEST(LemonReference, MatchesBruteForceOnSmallBalancedProblems) {
    std::mt19937 Random(20240611);
    for (int Round = 0; Round < 300; ++Round) {
        const int M = 1 + int(Random() % 3), N = 1 + int(Random() % 3);
        TProblem P{M, N, {}, {}, {}};
        double Total = 0.0;
        for (int I = 0; I < M; ++I) {
            P.A.push_back(double(Random() % 6));
            Total += P.A.back();
        }
        for (int J = 0; J + 1 < N; ++J) {
            P.B.push_back(std::min(Total, double(Random() % 6)));
            Total -= P.B.back();
        }
        P.B.push_back(Total);
        for (int K = 0; K < M * N; ++K)
            P.C.push_back(double(int(Random() % 9) - 3) / 4.0);
        SCOPED_TRACE(Round);
        EXPECT_DOUBLE_EQ(ReferenceOptimalCost(P), BruteForceOptimum(P));
    }
}

TEST(LemonReference, ReadsTheStoreBeforeAndAfterBalancing) {
    std::unique_ptr<TCalc> Store(new TCalc);
    Store->M = 2;
    Store->N = 1;
    Store->SetA(1, 10);
    Store->SetA(2, 10);
    Store->SetB(1, 6);
    Store->SetC(1, 1, 5);
    Store->SetC(2, 1, 2);
    const TProblem Before = StoredProblem(*Store);
    EXPECT_EQ(Before.M, 2);
    EXPECT_EQ(Before.N, 1);
    EXPECT_EQ(Before.A, (std::vector<double>{10, 10}));
    EXPECT_EQ(Before.B, (std::vector<double>{6}));
    EXPECT_EQ(Before.C, (std::vector<double>{5, 2}));
    Store->Balance();
    const TProblem After = StoredProblem(*Store);
    EXPECT_EQ(After.N, 2);
    EXPECT_EQ(After.C, (std::vector<double>{5, 0, 2, 0}));
    EXPECT_DOUBLE_EQ(ReferenceOptimalCost(Before), 12);
    EXPECT_DOUBLE_EQ(ReferenceOptimalCost(After), 12);
}

} // namespace
