#include "StepReport.h"

#include "StepRecord.h"
#include "TextUnit.h"

#include <cstddef>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace {

// Marks of the cycle (U+2212 for minus, which screen readers read as "minus").
constexpr std::string_view Plus = "+", Minus = "\u2212";

constexpr std::string_view Style = R"(
body { font: 11pt/1.45 "Liberation Sans", Arial, Helvetica, sans-serif; color: #111;
       background: #fff; margin: 1.5em; }
h1 { font-size: 1.5em; }
h2 { font-size: 1.25em; margin: 1.6em 0 .4em; border-bottom: 1px solid #767676; }
h3 { font-size: 1.05em; margin: .8em 0 .3em; }
table { border-collapse: collapse; margin: .5em 0; }
caption { text-align: left; font-weight: bold; padding: .25em 0; }
th, td { border: 1px solid #767676; padding: .15em .4em; text-align: right; vertical-align: top; }
th { background: #eee; font-weight: bold; }
th small { display: block; font-weight: normal; }
.tableau td { min-width: 3.4em; }
.tableau td small { display: block; text-align: left; font-size: .8em; color: #444; }
.tableau b, .tableau i { display: block; }
.tableau td.b { background: #e3ecf8; }
.tableau td.in { border: 4px double #000; }
.tableau td.out { border: 3px dashed #000; }
.tableau td.p { background: #f4f4f4; font-style: italic; }
.m { float: right; margin-left: .4em; font-weight: bold; color: #000; }
.sr { position: absolute; width: 1px; height: 1px; overflow: hidden; clip: rect(0 0 0 0);
      white-space: nowrap; }
dl.pivot { display: grid; grid-template-columns: max-content auto; gap: .15em 1em; }
dl.pivot dt { font-weight: bold; }
dl.pivot dd { margin: 0; }
ol.cycle { display: inline; margin: 0; padding: 0; list-style: none; }
ol.cycle li { display: inline; margin-right: .7em; white-space: nowrap; }
@media print {
  body { margin: 0; font-size: 9pt; }
  section.page { break-before: page; page-break-before: always; }
  tr, dl.pivot { break-inside: avoid; page-break-inside: avoid; }
  * { print-color-adjust: exact; -webkit-print-color-adjust: exact; }
}
)";

void AppendEscaped(std::string& Out, std::string_view Text) {
    for (const char Char : Text)
        switch (Char) {
        case '&':
            Out += "&amp;";
            break;
        case '<':
            Out += "&lt;";
            break;
        case '>':
            Out += "&gt;";
            break;
        case '"':
            Out += "&quot;";
            break;
        case '\'':
            Out += "&#39;";
            break;
        default:
            Out += Char;
        }
}

// A number the calculation worked out.
std::string Shown(double Value) {
    return CostText(Value, ".");
}

// "1 pivot", "2 pivots".
std::string Counted(int Count, const char* Noun) {
    return std::to_string(Count) + " " + Noun + (Count == 1 ? "" : "s");
}

std::string CellName(TCell Cell) {
    std::string Name = "(";
    Name += std::to_string(Cell.Row);
    Name += ", ";
    Name += std::to_string(Cell.Col);
    return Name + ")";
}

// The page up to its main heading.
void Head(std::string& Out, std::string_view Name) {
    Out += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
           "<title>The method of potentials, step by step";
    if (!Name.empty()) {
        Out += ": ";
        AppendEscaped(Out, Name);
    }
    Out += " - Kelvor</title>\n<style>";
    Out += Style;
    Out += "</style>\n</head>\n<body>\n<main>\n<h1>The method of potentials, step by step";
    if (!Name.empty()) {
        Out += "<br><small>";
        AppendEscaped(Out, Name);
        Out += "</small>";
    }
    Out += "</h1>\n";
}

const char* const Tail = "</main>\n</body>\n</html>\n";

// Everything below the main heading, for a record of a run.
class TReportWriter {
public:
    TReportWriter(const TStepRecord& Record, TOutcome Outcome)
        : Record_(Record), Outcome_(Outcome), Problem_(Record.Problem()), Plan_(Record),
          DummyRow_(Record.BalanceKind() == 1 ? Problem_.M : 0),
          DummyCol_(Record.BalanceKind() == 2 ? Problem_.N : 0),
          Tableaux_(Problem_.M - (DummyRow_ > 0) <= TableauLimit &&
                    Problem_.N - (DummyCol_ > 0) <= TableauLimit) {}

    std::string Write(std::string_view Name) {
        Out_.reserve(Estimate());
        Head(Out_, Name);
        Problem();
        Reading();
        for (int K = 0; K <= Record_.Pivots(); ++K)
            Step(K);
        Final();
        Out_ += Tail;
        return std::move(Out_);
    }

private:
    // Bytes enough for the whole page, give or take, so that tens of megabytes are not copied
    // again each time the text outgrows its buffer.
    std::size_t Estimate() const {
        const std::size_t Cells = std::size_t(Problem_.M) * std::size_t(Problem_.N);
        const int Pivots = Record_.Pivots();
        std::size_t Bytes = Style.size() + 8192 + Cells * 12 + std::size_t(Pivots) * 400;
        Bytes += Cells * 48 * std::size_t(Tableaux_ ? Pivots + 1 : 2);
        for (int K = 1; K <= Pivots; ++K)
            Bytes += std::size_t(Record_.Pivot(K).CycleLength) * 24;
        return Bytes;
    }

    void Problem() {
        const int M = Problem_.M, N = Problem_.N;
        double Stock = 0.0, Demand = 0.0;
        for (int I = 1; I <= M; ++I)
            Stock = I == DummyRow_ ? Stock : Stock + Problem_.Stock(I);
        for (int J = 1; J <= N; ++J)
            Demand = J == DummyCol_ ? Demand : Demand + Problem_.Demand(J);
        Out_ += "<section id=\"problem\">\n<h2>The problem</h2>\n<p>" +
                Counted(M - (DummyRow_ > 0), "supplier") + " and " +
                Counted(N - (DummyCol_ > 0), "consumer") + ", with a total stock of " +
                NumberText(Stock) + " and a total demand of " + NumberText(Demand) + ". ";
        if (DummyCol_ > 0)
            Out_ += "Balancing added a dummy consumer, column " + std::to_string(DummyCol_) +
                    ", with the demand " + NumberText(Problem_.Demand(DummyCol_)) +
                    " at zero cost: what it receives is the stock left unused (the "
                    "&quot;Unused Stocks&quot;).";
        else if (DummyRow_ > 0)
            Out_ += "Balancing added a dummy supplier, row " + std::to_string(DummyRow_) +
                    ", with the stock " + NumberText(Problem_.Stock(DummyRow_)) +
                    " at zero cost: what it sends is the demand left unmet (the "
                    "&quot;Dissatisfied Demands&quot;).";
        else
            Out_ += "They agree within 0.0001, so no dummy supplier or consumer was needed.";
        Out_ += "</p>\n<p>The calculation started from " + std::string(StartName(Record_.Start())) +
                " and made " + Counted(Record_.Pivots(), "pivot") +
                ".</p>\n<table>\n<caption>Unit costs (rows: suppliers, columns: consumers), stocks "
                "and demands</caption>\n<thead><tr><td></td>";
        ColumnHeads();
        Out_ += "<th scope=\"col\">Stock</th></tr></thead>\n<tbody>\n";
        for (int I = 1; I <= M; ++I) {
            RowHead(I);
            for (int J = 1; J <= N; ++J)
                Out_ += "<td>" + NumberText(Problem_.Cost(I, J)) + "</td>";
            Out_ += "<td>" + NumberText(Problem_.Stock(I)) + "</td></tr>\n";
        }
        Out_ += "<tr><th scope=\"row\">Demand</th>";
        for (int J = 1; J <= N; ++J)
            Out_ += "<td>" + NumberText(Problem_.Demand(J)) + "</td>";
        Out_ += "<td></td></tr>\n</tbody>\n</table>\n</section>\n";
    }

    void Reading() {
        Out_ +=
            "<section id=\"reading\">\n<h2>How to read the steps</h2>\n<ul>\n"
            "<li>Cell (i, j) is the route from supplier i (row i) to consumer j (column j).</li>"
            "\n<li>Step K shows the plan after K pivots; step 0 is the starting plan.</li>\n"
            "<li>The potentials: u<sub>i</sub> for every supplier, v<sub>j</sub> for every "
            "consumer, with u<sub>1</sub> = 0 and u<sub>i</sub> + v<sub>j</sub> = C on every "
            "basic cell.</li>\n"
            "<li>The sign convention: the reduced cost of a cell is &Delta; = C &minus; u "
            "&minus; v, what one unit sent through the cell adds to the total. The "
            "calculation enters the cell with the most negative &Delta;, that is the largest "
            "u + v &minus; C, and of several equal ones the first in row-major order (the "
            "lowest row, then the lowest column). A plan with no &Delta; below &minus;0.0001 "
            "is optimal.</li>\n"
            "<li>The cycle of a pivot starts at the entering cell and turns at basic cells "
            "only: its cells are numbered in order, +1 (the entering cell), &minus;2, +3, "
            "&minus;4 and so on. The + cells receive &theta;, the &minus; cells give it up. "
            "&theta; is the least amount on a &minus; cell, and the first &minus; cell that "
            "holds it leaves the basis.</li>\n";
        if (Tableaux_)
            Out_ += "<li>In a tableau every cell shows its cost in its upper corner; a basic cell "
                    "shows in bold the amount it ships (0 for a degenerate basic cell), any other "
                    "cell &Delta;, its reduced cost, in italics. The cycle of the next pivot is "
                    "marked in the upper right corner; the entering cell has a double frame, the "
                    "leaving cell a dashed one. At step 0, #1, #2 and so on give the order in "
                    "which the start filled the basic cells.</li>\n";
        else
            Out_ += "<li>The problem has more than " + std::to_string(TableauLimit) +
                    " suppliers or consumers: only the first and the last step show the whole "
                    "tableau (explained there), the others list their pivots.</li>\n";
        Out_ += "</ul>\n</section>\n";
    }

    void Step(int K) {
        Plan_.Go(K);
        const bool Tableau = Tableaux_ || K == 0 || K == Record_.Pivots();
        Out_ += "<section class=\"step";
        Out_ += Tableau ? " page\"" : "\"";
        Out_ +=
            " id=\"step-" + std::to_string(K) + "\">\n<h2>Step " + std::to_string(K) + "</h2>\n<p>";
        Out_ += K == 0 ? "The starting plan, from " + std::string(StartName(Record_.Start()))
                       : "The plan after pivot " + std::to_string(K);
        Out_ += ". Total cost: " + Shown(Plan_.Total()) + ".</p>\n";
        if (Tableau)
            Tableaux(K);
        if (K < Record_.Pivots())
            Pivot(K + 1);
        else
            Out_ += "<p>" + Ending() + "</p>\n";
        Out_ += "</section>\n";
    }

    // The tableau of the plan at step K, with the cycle of the pivot after it marked.
    void Tableaux(int K) {
        const int M = Problem_.M, N = Problem_.N;
        auto Index = [N](TCell Cell) {
            return std::size_t(Cell.Row - 1) * std::size_t(N) + std::size_t(Cell.Col - 1);
        };
        std::vector<int> Marks(std::size_t(M) * std::size_t(N), 0), Order;
        TCell Entering{0, 0}, Leaving{0, 0};
        if (K < Record_.Pivots()) {
            const std::span<const TCycleCell> Cycle = Record_.Cycle(K + 1);
            for (std::size_t P = 0; P < Cycle.size(); ++P)
                Marks[Index({Cycle[P].Row, Cycle[P].Col})] = int(P) + 1;
            Entering = Record_.Pivot(K + 1).Entering;
            Leaving = Record_.Pivot(K + 1).Leaving;
        }
        if (K == 0) {
            Order.assign(Marks.size(), 0);
            const auto& Cells = Record_.StartCells();
            for (std::size_t P = 0; P < Cells.size(); ++P)
                Order[Index(Cells[P].Cell)] = int(P) + 1;
        }
        Out_ += "<table class=\"tableau\">\n<caption>Tableau of step " + std::to_string(K) +
                "</caption>\n<thead><tr><td></td>";
        ColumnHeads();
        Out_ += "<th scope=\"col\">u<sub>i</sub></th></tr></thead>\n<tbody>\n";
        for (int I = 1; I <= M; ++I) {
            RowHead(I);
            for (int J = 1; J <= N; ++J) {
                const TCell Cell{I, J};
                const bool Basic = Plan_.Basic(I, J);
                const int Mark = Marks[Index(Cell)];
                if (!Basic && Cell != Entering)
                    Out_ += "<td>";
                else
                    Out_ += std::string("<td class=\"") + (Basic ? "b" : "") +
                            (Cell == Entering  ? "in"
                             : Cell == Leaving ? " out"
                                               : "") +
                            "\">";
                Out_ += "<small>" + NumberText(Problem_.Cost(I, J));
                if (!Order.empty() && Order[Index(Cell)] > 0)
                    Out_ +=
                        " <span class=\"sr\">filled </span>#" + std::to_string(Order[Index(Cell)]);
                if (Mark > 0) {
                    Out_ += "<span class=\"m\"><span class=\"sr\">, cycle </span>";
                    Out_ += Mark % 2 ? Plus : Minus;
                    Out_ += std::to_string(Mark) + "</span>";
                }
                Out_ += "</small>";
                Out_ += Basic ? "<b>" + Shown(Plan_.X(I, J)) + "</b>"
                              : "<i>&Delta;" + Shown(Plan_.Reduced(I, J)) + "</i>";
                Out_ += "</td>";
            }
            Out_ += "<td class=\"p\">" + Shown(Plan_.U(I)) + "</td></tr>\n";
        }
        Out_ += "<tr><th scope=\"row\">v<sub>j</sub></th>";
        for (int J = 1; J <= N; ++J)
            Out_ += "<td class=\"p\">" + Shown(Plan_.V(J)) + "</td>";
        Out_ += "<td></td></tr>\n</tbody>\n</table>\n";
    }

    void Pivot(int P) {
        const TStepRecord::TPivot& Step = Record_.Pivot(P);
        const std::span<const TCycleCell> Cycle = Record_.Cycle(P);
        Out_ += "<h3>Pivot " + std::to_string(P) + "</h3>\n<dl class=\"pivot\">\n<dt>Enters</dt>" +
                "<dd>cell " + CellName(Step.Entering) + ", &Delta; = " + Shown(-Step.Gain) +
                "</dd>\n<dt>Cycle</dt><dd>" + std::to_string(Cycle.size()) +
                " cells: <ol class=\"cycle\">";
        for (std::size_t K = 0; K < Cycle.size(); ++K) {
            Out_ += "<li>";
            Out_ += K % 2 ? Minus : Plus;
            Out_ += CellName({Cycle[K].Row, Cycle[K].Col}) + "</li>";
        }
        Out_ += "</ol></dd>\n<dt>&theta;</dt><dd>" + Shown(Step.Theta) +
                "</dd>\n<dt>Leaves</dt><dd>cell " + CellName(Step.Leaving) + "</dd>\n</dl>\n";
    }

    std::string Ending() const {
        switch (Outcome_) {
        case TOutcome::Optimal:
            return "No reduced cost is below &minus;0.0001: this plan is optimal.";
        case TOutcome::Looping:
            return "The calculation stops here, at its cap of " +
                   Counted(Record_.Pivots(), "pivot") +
                   ", without having found the plan optimal: &quot;Looping&quot;.";
        case TOutcome::Aborted:
            return "The calculation was aborted here.";
        case TOutcome::Failed:
            break;
        }
        return "The calculation failed after this step.";
    }

    // The plan of the last step as the results show it: the routes that carry something.
    void Final() {
        const int Last = Record_.Pivots();
        const std::string After = Counted(Last, "pivot") + ". The plan of step " +
                                  std::to_string(Last) + " is not known to be the optimum";
        Out_ += "<section id=\"final\">\n";
        switch (Outcome_) {
        case TOutcome::Optimal:
            Out_ +=
                "<h2>The optimum</h2>\n<p>The plan of step " + std::to_string(Last) + " is optimal";
            break;
        case TOutcome::Looping:
            Out_ += "<h2>The final plan: &quot;Looping&quot;</h2>\n<p>The calculation reached its "
                    "cap without finding the plan optimal and stopped after " +
                    After;
            break;
        case TOutcome::Aborted:
            Out_ +=
                "<h2>The final plan: aborted</h2>\n<p>The calculation was aborted after " + After;
            break;
        case TOutcome::Failed:
            Out_ += "<h2>The final plan: failed</h2>\n<p>The calculation failed after " + After;
            break;
        }
        Out_ += "; its total cost is " + Shown(Plan_.Total()) +
                ".</p>\n<table>\n<caption>The routes of the final plan that carry "
                "something</caption>\n<thead><tr><th scope=\"col\">Route</th><th "
                "scope=\"col\">Amount</th><th scope=\"col\">Unit cost</th><th "
                "scope=\"col\">Cost</th></tr></thead>\n<tbody>\n";
        for (int I = 1; I <= Problem_.M; ++I)
            for (int J = 1; J <= Problem_.N; ++J) {
                const double Amount = Plan_.X(I, J);
                if (!Plan_.Basic(I, J) || Amount == 0.0)
                    continue;
                Out_ += "<tr><th scope=\"row\">Supplier " + std::to_string(I) +
                        (I == DummyRow_ ? " (dummy: demand unmet)" : "") + " to consumer " +
                        std::to_string(J) + (J == DummyCol_ ? " (dummy: stock unused)" : "") +
                        "</th><td>" + Shown(Amount) + "</td><td>" +
                        NumberText(Problem_.Cost(I, J)) + "</td><td>" +
                        Shown(Amount * Problem_.Cost(I, J)) + "</td></tr>\n";
            }
        Out_ += "<tr><th scope=\"row\">Total</th><td></td><td></td><td>" + Shown(Plan_.Total()) +
                "</td></tr>\n</tbody>\n</table>\n</section>\n";
    }

    void ColumnHeads() {
        for (int J = 1; J <= Problem_.N; ++J) {
            Out_ += "<th scope=\"col\"><span class=\"sr\">Consumer </span>" + std::to_string(J);
            Out_ += J == DummyCol_ ? " <small>dummy</small></th>" : "</th>";
        }
    }

    void RowHead(int I) {
        Out_ += "<tr><th scope=\"row\"><span class=\"sr\">Supplier </span>" + std::to_string(I);
        Out_ += I == DummyRow_ ? " <small>dummy</small></th>" : "</th>";
    }

    const TStepRecord& Record_;
    const TOutcome Outcome_;
    const TProblem& Problem_;
    TStepPlan Plan_;
    const int DummyRow_, DummyCol_;
    const bool Tableaux_;
    std::string Out_;
};

} // namespace

std::string StepReportHtml(const TStepRecord& Record, TOutcome Outcome, std::string_view Name) {
    if (Record.Recorded())
        return TReportWriter(Record, Outcome).Write(Name);
    std::string Page;
    Head(Page, Name);
    Page += "<p>Nothing was recorded: the calculation failed before it began.</p>\n";
    return Page + Tail;
}
