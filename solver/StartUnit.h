// The starting plans of a calculation: the north-west corner, least cost and Vogel's
// approximation. The store walks the north-west corner itself (TCalc::InitialPlan); the two
// starts that read the costs are here.
//
// Each start reads a balanced problem (its totals agree within Tolerance) and lists the basic
// cells of a basic feasible plan with their amounts, in the order it filled them: exactly
// M + N - 1 cells that link every row and every column into one tree, so that the potentials
// step can start from them as from any other basis. Stocks and demands must not be negative
// (the store refuses such problems before a calculation); an amount is then never negative.
//
// One tie rule serves all three: the lowest row, then the lowest column; rows before columns.
//
//   North-west corner: walks from the top-left cell towards the bottom-right one and never
//   looks at a cost. Where a stock and a demand run out together the row goes first: the walk
//   moves down, and the next cell, in the same column, ships 0.
//   Least cost: the cheapest remaining cell; cells of equal cost in row-major order (the lowest
//   row, then the lowest column).
//   Vogel: the line with the largest difference between its two cheapest remaining costs (a
//   line with one remaining cell has the difference 0); equal differences go rows before
//   columns, each by its lowest index. Then that line's cheapest remaining cell; equal costs
//   go to the lowest column of a row, the lowest row of a column.
//
// Least cost and Vogel fill one cell at a time, and every fill takes a row or a column out:
// the cell ships the smaller of its row's remaining stock and its column's remaining demand,
// and the line that runs out goes. When both run out together the row goes and the column
// stays with nothing left, to receive a degenerate cell (amount 0) later; the last remaining
// row or column always stays until the last cell, which takes out both. Each cell so joins a
// line that is leaving to the lines that stay, which is what makes the cells a spanning tree
// whatever the numbers. A difference of the totals within Tolerance stays unshipped where the
// last fills leave it, as the north-west corner leaves it where its walk ends.
//
// Costs compare as numbers: -0.0 equals 0.0, a cost that is not a number counts as dearer
// than every other, and a difference that is not a number as none.
//
// Least cost sorts every row's costs once, Vogel every row's and every column's, and each
// line keeps cursors at its two cheapest cells whose crossing line is still there. A fill then
// costs a pass over the remaining lines to choose the next and moves only the cursors that
// stood on the line that went, rather than a pass over the table.
#pragma once

#include "StoreLimits.h"

#include <cstddef>
#include <string_view>
#include <vector>

struct TProblem;

enum class TStart { NorthWest, LeastCost, Vogel };
inline constexpr TStart AllStarts[] = {TStart::NorthWest, TStart::LeastCost, TStart::Vogel};

// The start in words, to follow "from": "the north-west corner", "least cost", "Vogel's
// approximation".
const char* StartName(TStart Start);
// The start as a command line names it: "north-west", "least-cost", "vogel"; and back, false for
// another word.
const char* StartOption(TStart Start);
bool StartFromOption(std::string_view Word, TStart& Start);

// A problem's numbers where they already lie, copied nowhere: M stocks and N demands each in
// a row, the costs row by row RowStride apart. The store passes its own arrays; a TProblem
// is viewed by ViewOf.
struct TProblemView {
    int M = 0;
    int N = 0;
    const double* Stocks = nullptr;  // supplier I's at Stocks[I - 1]
    const double* Demands = nullptr; // consumer J's at Demands[J - 1]
    const double* Costs = nullptr;   // cost (I, J) at Costs[(I - 1) * RowStride + (J - 1)]
    std::size_t RowStride = 0;

    double Stock(int I) const { return Stocks[I - 1]; }
    double Demand(int J) const { return Demands[J - 1]; }
    double Cost(int I, int J) const { return Costs[std::size_t(I - 1) * RowStride + (J - 1)]; }
};

TProblemView ViewOf(const TProblem& Problem);

// A basic cell of a starting plan and the amount it ships.
struct TStartCell {
    TCell Cell;
    double Amount;
    friend bool operator==(const TStartCell&, const TStartCell&) = default;
};

// The cells of each start in the order they were filled; none for a problem without a row or
// a column, or with more than Capacity of either.
std::vector<TStartCell> LeastCostStart(const TProblemView& Problem);
std::vector<TStartCell> VogelStart(const TProblemView& Problem);
