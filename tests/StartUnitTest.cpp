#include "StartUnit.h"

#include "Problem.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

// A problem as the console tool reads it: M, N, the stocks, the demands, the costs row by row.
TProblem Read(const char* Text) {
    std::istringstream In(Text);
    int M = 0, N = 0;
    In >> M >> N;
    TProblem P(M, N);
    for (auto* Values : {&P.A, &P.B, &P.C})
        for (double& Value : *Values)
            In >> Value;
    return P;
}

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
    EXPECT_EQ(Text(StartPlan(GetParam().Start, ViewOf(Read(GetParam().Problem)))),
              GetParam().Cells);
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

} // namespace
