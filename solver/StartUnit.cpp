#include "StartUnit.h"

#include "Problem.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

TProblemView ViewOf(const TProblem& Problem) {
    return {Problem.M,        Problem.N,        Problem.A.data(),
            Problem.B.data(), Problem.C.data(), std::size_t(Problem.N)};
}

namespace {

// An integer that orders costs as the numbers do, so that sorting needs no comparison of
// doubles (which a cost that is not a number would leave without a strict order).
std::uint64_t OrderKey(double Cost) {
    if (std::isnan(Cost))
        return std::numeric_limits<std::uint64_t>::max();
    const auto Bits = std::bit_cast<std::uint64_t>(Cost + 0.0); // -0.0 becomes 0.0
    return Bits >> 63 ? ~Bits : Bits | (std::uint64_t(1) << 63);
}

// Sorts Items stably by KeyOf(Item), so that items of equal keys keep their order: a radix
// sort a byte at a time from the lowest, over only the bytes in which the keys differ (few
// where the costs take few distinct values). Spare is its working space.
template <typename TKeyOf>
void SortStably(std::vector<std::uint32_t>& Items, std::vector<std::uint32_t>& Spare,
                TKeyOf KeyOf) {
    if (Items.empty())
        return;
    Spare.resize(Items.size());
    const std::uint64_t First = KeyOf(Items[0]);
    std::uint64_t Differ = 0;
    for (const std::uint32_t Item : Items)
        Differ |= KeyOf(Item) ^ First;
    for (int Shift = 0; Shift < 64; Shift += 8) {
        if ((Differ >> Shift & 255) == 0)
            continue;
        const auto Digit = [&](std::uint32_t Item) { return KeyOf(Item) >> Shift & 255; };
        std::size_t Bucket[256] = {};
        for (const std::uint32_t Item : Items)
            ++Bucket[Digit(Item)];
        std::size_t Start = 0;
        for (std::size_t& Place : Bucket)
            Start += std::exchange(Place, Start);
        for (const std::uint32_t Item : Items)
            Spare[Bucket[Digit(Item)]++] = Item;
        Items.swap(Spare);
    }
}

// What least cost and Vogel share: the remaining stocks and demands, the lines gone (rows
// 0..M-1, then columns M..M+N-1) and the cells filled so far.
class TFill {
public:
    explicit TFill(const TProblemView& Problem)
        : M_(Problem.M), Stock_(Problem.Stocks, Problem.Stocks + Problem.M),
          Demand_(Problem.Demands, Problem.Demands + Problem.N),
          Gone_(std::size_t(Problem.M + Problem.N)), RowsLeft_(Problem.M), ColsLeft_(Problem.N) {
        Cells.reserve(std::size_t(Problem.M + Problem.N - 1));
    }

    bool Gone(int Line) const { return Gone_[std::size_t(Line)]; }
    bool RowGone(int I) const { return Gone(I - 1); }
    bool ColGone(int J) const { return Gone(M_ + J - 1); }
    bool Done() const { return RowsLeft_ == 0; }

    // Fills (I, J) with what both its lines can take and takes one of them out: the one that
    // ran out, the row on a tie, never the last row or column before the last cell. Returns
    // the line that went.
    int Fill(int I, int J) {
        double& Stock = Stock_[std::size_t(I - 1)];
        double& Demand = Demand_[std::size_t(J - 1)];
        const bool StockRunsOut = Stock <= Demand;
        const double Amount = StockRunsOut ? Stock : Demand;
        Cells.push_back({{I, J}, Amount});
        Stock = Stock - Amount;
        Demand = Demand - Amount;
        const bool RowGoes = ColsLeft_ == 1 || (RowsLeft_ > 1 && StockRunsOut);
        --(RowGoes ? RowsLeft_ : ColsLeft_);
        const int Line = RowGoes ? I - 1 : M_ + J - 1;
        Gone_[std::size_t(Line)] = 1;
        return Line;
    }

    std::vector<TStartCell> Cells;

private:
    int M_;
    std::vector<double> Stock_, Demand_;
    std::vector<char> Gone_;
    int RowsLeft_, ColsLeft_;
};

// The cheapest remaining cells of some of the lines (numbered as in TFill): the rows alone for
// least cost, every line for Vogel. Each line keeps the lines that cross it in order of cost
// (equal costs in line order), sorted once, and cursors at the two cheapest still there. A
// cursor only moves on, past lines that have gone, so that all the moving together costs one
// pass over the table, and a line that goes moves only the cursors that stood on it.
class TCheapest {
public:
    TCheapest(const TProblemView& Problem, const TFill& Fill, int Lines)
        : P_(Problem), Fill_(Fill), M_(Problem.M), Lines_(Lines), Offset_(std::size_t(Lines) + 1),
          First_(std::size_t(Lines)), Second_(std::size_t(Lines)), FirstCross_(std::size_t(Lines)),
          SecondCross_(std::size_t(Lines)), FirstKey_(std::size_t(Lines)),
          Difference_(std::size_t(Lines)) {
        for (int L = 0; L < Lines; ++L)
            Offset_[L + 1] = Offset_[L] + std::size_t(Length(L));
        Order_.resize(Offset_[Lines]);
        std::vector<std::uint32_t> Line, Spare;
        std::vector<std::uint64_t> Keys;
        for (int L = 0; L < Lines; ++L) {
            // The keys are taken once: a column's costs lie a row apart.
            Line.resize(std::size_t(Length(L)));
            Keys.resize(Line.size());
            for (std::size_t K = 0; K < Line.size(); ++K) {
                Line[K] = std::uint32_t(K);
                Keys[K] = OrderKey(Cost(L, CrossFrom(L) + int(K)));
            }
            SortStably(Line, Spare, [&Keys](std::uint32_t K) { return Keys[K]; });
            for (std::size_t K = 0; K < Line.size(); ++K)
                Order_[Offset_[L] + K] = std::int16_t(CrossFrom(L) + int(Line[K]));
            Renew(L);
        }
    }

    // The crossing line of line L's cheapest remaining cell, -1 once L has gone, and that
    // cell's order key.
    int First(int L) const { return FirstCross_[L]; }
    std::uint64_t FirstKey(int L) const { return FirstKey_[L]; }

    // The remaining line with the largest difference between its two cheapest remaining
    // costs, the first in line order on a tie.
    int Widest() const {
        double Largest = Difference_[0];
        for (int L = 1; L < Lines_; ++L)
            Largest = Difference_[L] > Largest ? Difference_[L] : Largest;
        return int(std::find(Difference_.begin(), Difference_.end(), Largest) -
                   Difference_.begin());
    }

    // Line Gone has gone: its own cursors stop, and those that stood on it move on.
    void Forget(int Gone) {
        if (Gone < Lines_) {
            FirstCross_[Gone] = SecondCross_[Gone] = -1;
            Difference_[Gone] = -1.0; // below every remaining line's
        }
        const int From = Gone < M_ ? M_ : 0, To = std::min(Gone < M_ ? Lines_ : M_, Lines_);
        for (int L = From; L < To; ++L)
            if (FirstCross_[L] == Gone || SecondCross_[L] == Gone)
                Renew(L);
    }

private:
    int Length(int L) const { return L < M_ ? P_.N : M_; }
    // A row is crossed by the columns, a column by the rows.
    int CrossFrom(int L) const { return L < M_ ? M_ : 0; }
    double Cost(int L, int Cross) const {
        return L < M_ ? P_.Cost(L + 1, Cross - M_ + 1) : P_.Cost(Cross + 1, L - M_ + 1);
    }
    int NextThere(int L, int K) const {
        while (K < Length(L) && Fill_.Gone(Order_[Offset_[L] + K]))
            ++K;
        return K;
    }
    int CrossAt(int L, int K) const { return K < Length(L) ? Order_[Offset_[L] + K] : -1; }

    void Renew(int L) {
        First_[L] = NextThere(L, First_[L]);
        Second_[L] = NextThere(L, std::max(Second_[L], First_[L] + 1));
        FirstCross_[L] = CrossAt(L, First_[L]);
        SecondCross_[L] = CrossAt(L, Second_[L]);
        if (FirstCross_[L] < 0) { // every crossing line has gone: L is about to go too
            Difference_[L] = -1.0;
            return;
        }
        const double Cheapest = Cost(L, FirstCross_[L]);
        FirstKey_[L] = OrderKey(Cheapest);
        // A line with one remaining cell has nothing to lose by waiting; a difference that is
        // not a number counts as none.
        const double Difference = SecondCross_[L] < 0 ? 0.0 : Cost(L, SecondCross_[L]) - Cheapest;
        Difference_[L] = Difference >= 0.0 ? Difference : 0.0;
    }

    const TProblemView P_;
    const TFill& Fill_;
    int M_, Lines_;
    std::vector<std::size_t> Offset_;
    std::vector<std::int16_t> Order_; // line numbers, below 2 * Capacity
    std::vector<int> First_, Second_, FirstCross_, SecondCross_;
    std::vector<std::uint64_t> FirstKey_;
    std::vector<double> Difference_;
};

// Line numbers must fit the 16 bits of TCheapest's orders.
bool Solvable(const TProblemView& Problem) {
    return Problem.M >= 1 && Problem.M <= Capacity && Problem.N >= 1 && Problem.N <= Capacity;
}

} // namespace

// The cheapest remaining cell is the cheapest of the rows' cheapest, the lowest row on a tie.
std::vector<TStartCell> LeastCostStart(const TProblemView& Problem) {
    if (!Solvable(Problem))
        return {};
    const int M = Problem.M;
    TFill Fill(Problem);
    TCheapest Rows(Problem, Fill, M);
    while (!Fill.Done()) {
        int Best = -1;
        for (int L = 0; L < M; ++L)
            if (Rows.First(L) >= 0 && (Best < 0 || Rows.FirstKey(L) < Rows.FirstKey(Best)))
                Best = L;
        Rows.Forget(Fill.Fill(Best + 1, Rows.First(Best) - M + 1));
    }
    return std::move(Fill.Cells);
}

std::vector<TStartCell> VogelStart(const TProblemView& Problem) {
    if (!Solvable(Problem))
        return {};
    const int M = Problem.M;
    TFill Fill(Problem);
    TCheapest Lines(Problem, Fill, M + Problem.N);
    while (!Fill.Done()) {
        const int L = Lines.Widest(), Cross = Lines.First(L);
        // A row's number is below every column's.
        const int Row = std::min(L, Cross), Col = std::max(L, Cross);
        Lines.Forget(Fill.Fill(Row + 1, Col - M + 1));
    }
    return std::move(Fill.Cells);
}

const char* StartName(TStart Start) {
    switch (Start) {
    case TStart::LeastCost:
        return "least cost";
    case TStart::Vogel:
        return "Vogel's approximation";
    case TStart::NorthWest:
        break;
    }
    return "the north-west corner";
}

const char* StartOption(TStart Start) {
    switch (Start) {
    case TStart::LeastCost:
        return "least-cost";
    case TStart::Vogel:
        return "vogel";
    case TStart::NorthWest:
        break;
    }
    return "north-west";
}

bool StartFromOption(std::string_view Word, TStart& Start) {
    for (const TStart Each : AllStarts)
        if (Word == StartOption(Each)) {
            Start = Each;
            return true;
        }
    return false;
}
