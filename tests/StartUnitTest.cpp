#include "StartUnit.h"

#include "CalcUnit.h"
#include "LemonReference.h"
#include "ProblemFile.h"
#include "Problems.h"
#include "ThreadUnit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <memory>
#include <numeric>
#include <random>
#include <sstream>
#include <string>

namespace {

// "Row,Col:Amount" for each cell in the order filled.
std::string Text(const std::vector<TStartCell>& Cells) {
    std::ostringstream Out;
    for (const auto& [Cell, Amount] : Cells)
        Out << (Out.tellp() > 0 ? " " : "") << Cell.Row << ',' << Cell.Col << ':' << Amount;
    return Out.str();
}

struct TStartCase {
    const char* Name;
    TStart Start;
    const char* Problem;
    const char* Cells;
};

class StartCases : public testing::TestWithParam<TStartCase> {};

TEST_P(StartCases, FillOrderAndAmounts) {
    const auto Plan = GetParam().Start == TStart::Vogel ? VogelStart : LeastCostStart;
    EXPECT_EQ(Text(Plan(ViewOf(ReadProblemText(GetParam().Problem)))), GetParam().Cells);
}

constexpr auto LeastCost = TStart::LeastCost, Vogel = TStart::Vogel;
constexpr const char* Small = "2 3  30 20  10 25 15  8 6 10  9 12 13";
constexpr const char* AllEqual = "2 2  5 5  5 5  1 1  1 1";

INSTANTIATE_TEST_SUITE_P(
    Table, StartCases,
    testing::Values(
        // The cheapest cell first; the last row stays, so (2, 1) takes column 1 out.
        TStartCase{"LeastCostCheapestFirst", LeastCost, Small, "1,2:25 1,1:5 2,1:5 2,3:15"},
        // Column 2 (6 between 6 and 12), then row 2 (4), then column 3 (3): the optimum here.
        TStartCase{"VogelWidestLineFirst", Vogel, Small, "1,2:25 2,1:10 1,3:5 2,3:10"},
        // Row 1 (4, before columns 1 and 3 at 4) goes first, and with it the second
        // cheapest of columns 1 and 3: row 2 alone has a difference left.
        TStartCase{"VogelDifferencesRenewed", Vogel, "2 3  5 9  1 7 6  7 1 5  3 4 1",
                   "1,2:5 2,3:6 2,1:1 2,2:2"},
        // Every tie: the lowest row, its lowest column; the row goes, the column takes a 0.
        TStartCase{"LeastCostTies", LeastCost, AllEqual, "1,1:5 2,1:0 2,2:5"},
        TStartCase{"VogelTiesRowsFirst", Vogel, AllEqual, "1,1:5 2,1:0 2,2:5"},
        // Row and column run out together at (2, 2): the last row stays, the column goes.
        TStartCase{"LeastCostDegenerateLast", LeastCost, "2 2  3 3  3 3  1 5  5 1",
                   "1,1:3 2,2:3 2,1:0"},
        TStartCase{"LeastCostZeros", LeastCost, "2 2  0 4  4 0  1 2  3 4", "1,1:0 2,1:4 2,2:0"},
        TStartCase{"LeastCostOneRow", LeastCost, "1 3  6  1 2 3  4 -2 9", "1,2:2 1,1:1 1,3:3"},
        // A row with one remaining cell has no difference: the column, 6, goes first.
        TStartCase{"VogelOneColumn", Vogel, "2 1  2 3  5  7  1", "2,1:3 1,1:2"},
        // More stock than demand, by less than the tolerance: supplier 2 keeps the sliver.
        TStartCase{"LeastCostSliver", LeastCost, "2 2  1 1.00004  1 1  1 2  2 1",
                   "1,1:1 2,2:1 2,1:0"}),
    [](const testing::TestParamInfo<TStartCase>& Info) { return Info.param.Name; });

// Zeros, equal values, fractions, unbalanced totals and differences within the tolerance, on
// shapes from 1 x 1 to 40 x 40.
TProblem RandomShape(std::mt19937& Rng, int Run) {
    const int Size = Run % 3 ? 8 : 40, Range = std::array{0, 1, 3, 50}[Run % 4];
    TProblem P(1 + int(Rng() % Size), 1 + int(Rng() % Size));
    auto Value = [&] {
        const double V = double(Rng() % (Range + 1));
        return Run % 5 == 4 ? V / 8 + 0.1 : V;
    };
    for (auto* Values : {&P.A, &P.B, &P.C})
        std::generate(Values->begin(), Values->end(), Value);
    const double Excess = std::reduce(P.A.begin(), P.A.end()) - std::reduce(P.B.begin(), P.B.end());
    if (Run % 2)
        (Excess > 0 ? P.B[0] : P.A[0]) += std::fabs(Excess) + (Run % 6 == 1 ? 0.00004 : 0.0);
    return P;
}

// Solves Problem through the worker from Start, which must reach the reference's optimum.
TCalcRun ExpectOptimum(const TProblem& Problem, TStart Start, double Slack = 0.0) {
    static const std::unique_ptr<TCalc> Store = std::make_unique<TCalc>();
    Calc = Store.get();
    LoadProblem(*Calc, Problem);
    const TCalcRun Run = RunCalculation(nullptr, {Start});
    const double Reference = ReferenceOptimalCost(Problem);
    EXPECT_EQ(Run.Outcome, TOutcome::Optimal) << Run.FailReason;
    EXPECT_NEAR(Calc->TotalCost(), Reference, 1e-9 * std::max(1.0, std::fabs(Reference)) + Slack);
    return Run;
}

// From every start the worker reaches the optimum. Built again in the balanced problem the run
// left, each start lists M + N - 1 cells, none negative, that are the store's basis, a spanning
// tree (or the potentials step refuses it), and ship every stock and demand but for the sliver
// balancing may leave; the north-west corner's are the bits of InitialPlan().
TEST(Starts, BasicFeasibleTreesThatSolveToTheOptimum) {
    std::mt19937 Rng(5);
    for (int Run = 0; Run < 300; ++Run) {
        const TProblem Problem = RandomShape(Rng, Run);
        for (const TStart Start : AllStarts) {
            SCOPED_TRACE("run " + std::to_string(Run) + " start " + std::to_string(int(Start)));
            // A sliver left unshipped may cost up to itself times the dearest route.
            ExpectOptimum(Problem, Start, Run % 6 == 1 ? 50 * Tolerance : 0.0);
            TCalc& S = *Calc;
            S.InitialPlan(Start);
            ASSERT_EQ(S.StartCount(), S.M + S.N - 1);
            EXPECT_NO_THROW(S.CalcPotentials());
            std::vector<double> Sum(std::size_t(S.M + S.N + 1));
            for (int K = 1; K <= S.StartCount(); ++K) {
                const auto [Cell, Amount] = S.GetStartCell(K);
                EXPECT_GE(Amount, 0.0);
                EXPECT_EQ(S.GetX(Cell.Row, Cell.Col), Amount);
                Sum[std::size_t(Cell.Row)] += Amount;
                Sum[std::size_t(S.M + Cell.Col)] += Amount;
            }
            for (int L = 1; L <= S.M + S.N; ++L)
                EXPECT_NEAR(Sum[L], L <= S.M ? S.GetA(L) : S.GetB(L - S.M), 1.0001 * Tolerance);
            if (Start != TStart::NorthWest)
                continue;
            S.InitialPlan(); // its M + N - 1 cells must be the listed ones, bit for bit
            for (int K = 1; K <= S.StartCount(); ++K) {
                const auto [Cell, Amount] = S.GetStartCell(K);
                EXPECT_EQ(std::bit_cast<std::uint64_t>(S.GetX(Cell.Row, Cell.Col)),
                          std::bit_cast<std::uint64_t>(Amount));
            }
        }
    }
}

// The random fill's default problems at the largest size: far beyond the pivot cap from the
// north-west corner, well within it from Vogel's start.
TEST(Starts, VogelSolvesDefaultFillsAt500By500WithinTheCap) {
    for (const std::uint32_t Seed : {1u, 2u})
        EXPECT_LT(ExpectOptimum(RandomProblem(Seed, 500, 500, 5), TStart::Vogel).Pivots, 200);
}

} // namespace
