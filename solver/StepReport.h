// The report of a recorded calculation: one HTML page that shows the method of potentials at work
// on one problem, step by step, to read on the screen, to print and to hear through a screen
// reader.
//
// The page opens with the problem as the calculation solved it (its costs, stocks and demands,
// the dummy supplier or consumer that balancing added, if any, and the start), then says how to
// read a step. Then one section "Step K" for K = 0 to the pivots made: the plan after K pivots
// (step 0 is the start), its total, and the pivot that follows it - the entering cell with its
// reduced cost, the cycle with the sign of each cell, theta and the leaving cell. It closes with
// the final plan and how the run ended: optimal, "Looping" at the pivot cap, aborted or failed.
//
// A problem of at most TableauLimit suppliers and consumers as typed (the dummy not counted)
// shows every step as a whole tableau: each cell its cost, and its shipment when basic or its
// reduced cost when not; u_i in a column and v_j in a row of their own; the next pivot's cycle
// marked +1, -2, +3 ... in the order it runs, the entering cell first, its leaving cell framed;
// at step 0 the order in which the start filled its cells. A larger problem has up to 250,000
// cells a tableau, which a thousand steps would turn into gigabytes no one reads: its steps list
// only their pivots and totals, and only the first and the last step show the tableau.
//
// Reduced costs are C - u - v with u_1 = 0: what one unit more through a cell adds to the total.
// The calculation enters the most negative (the largest u + v - C, which is what it compares),
// the first in row-major order, and stops when none is below -Tolerance. The page says so once.
// The problem's own numbers are written exactly (NumberText), the calculation's to 15
// significant digits as the results window writes a total (CostText), so that rounding noise in
// the last bits does not hide the figures a learner checks by hand.
//
// The page stands alone: its style inline, no script, nothing loaded from a file or an address;
// every text escaped. Printed, every step with a tableau starts a new page.
#pragma once

#include "Outcome.h"

#include <string>
#include <string_view>

class TStepRecord;

// The largest number of suppliers or consumers whose steps all show their tableaux.
inline constexpr int TableauLimit = 20;

// The page for a record of a run that ended as Outcome says. Name, if not empty, names the
// problem in the page's title and heading (its file, say). A record of nothing (a calculation
// that failed before its start) gives a page that says so.
std::string StepReportHtml(const TStepRecord& Record, TOutcome Outcome, std::string_view Name);
