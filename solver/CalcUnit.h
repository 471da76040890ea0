// The problem store and the transportation solver.
//
// One TCalc holds one transportation problem and everything the solver works out for it.
// Suppliers are rows, consumers are columns; every operation takes the row before the column,
// and indices start at 1. The capacity is MaxSize + 1 = 501 rows and columns: MaxSize for the
// problem as typed and one more for the dummy supplier or consumer that Balance may add. Any
// index outside 1..501 raises std::out_of_range and writes nothing.
//
// The plan X marks each cell of the problem:
//   X == NonBasic (-1.0)   the cell is not in the basis; nothing is shipped;
//   X == 0.0               a basic cell carrying nothing (a degenerate basic cell);
//   X >  0.0               a basic cell; the amount shipped from supplier I to consumer J.
// The potentials step counts a cell as basic when X > BasicThreshold (-0.0001); the cycle search
// when X >= 0. As long as no stock or demand is negative both tests agree: the plan then never
// holds a value between -0.0001 and 0.
//
// Balance makes the totals agree by adding a dummy as the next row (BalanceKind 1: a dummy
// supplier, whose shipments are the unmet demand) or the next column (BalanceKind 2: a dummy
// consumer, whose shipments are the unused stock), at zero cost. InitialPlan builds a
// north-west-corner plan with exactly M + N - 1 basic cells forming a spanning tree of rows and
// columns. The method of potentials then improves it one pivot at a time: CalcPotentials,
// FindEnteringCell (the largest U + V - C, first in row-major order), FindCycle, SetX(entering,
// 0), Pivot. Degenerate pivots (theta 0) change the basis but not the shipments; no rule against
// cycling is applied, so the worker caps a calculation at 999 pivots and reports a run that
// reaches the cap as "Looping".
//
// Only rows 1..M and columns 1..N mean anything; the rest keeps what an earlier problem left.
// The store is a single fixed-size object: nothing is allocated while solving.
//
// To make a pivot cost what it changes rather than a pass over the whole table, the store keeps
// between steps the basis as a tree, copies of whole-number costs in 8 or 16 bits and an upper
// bound on each row's largest U + V - C. None of it changes a result: every step gives the
// numbers, bit for bit, of the plain description above, and whatever breaks the usual order of
// steps (a cost or a plan changed from outside, a size changed) sends the next step the plain
// way.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

inline constexpr int MaxSize = 500;
inline constexpr int Capacity = MaxSize + 1;
inline constexpr double NonBasic = -1.0;
inline constexpr double BasicThreshold = -0.0001;
// The tolerance of balancing and of the optimality test.
inline constexpr double Tolerance = 0.0001;

struct TCycleCell {
    std::int32_t Col;
    std::int32_t Row;
};

// A broken invariant of the solver (a basis that is not a spanning tree, no pivot cycle) or a
// problem that cannot give a meaningful plan. The message is meant for the user.
class TCalcError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TCalc {
public:
    static constexpr int CycleCapacity = Capacity * Capacity + 1;

    // Zero-filled: M = N = 0, every number 0.0. About 7 MB: allocate it, never on the stack.
    TCalc();
    TCalc(const TCalc&) = delete;
    TCalc& operator=(const TCalc&) = delete;

    std::int32_t M = 0;
    std::int32_t N = 0;
    std::uint8_t BalanceKind = 0;
    double CalcTime = 0.0;

    void SetA(int I, double Value);
    void SetB(int J, double Value);
    void SetC(int I, int J, double Value);
    double GetC(int I, int J) const;
    void SetX(int I, int J, double Value);
    double GetX(int I, int J) const;
    double GetA(int I) const;
    double GetB(int J) const;
    double GetU(int I) const;
    double GetV(int J) const;
    int CycleLength() const { return CycleLength_; }
    TCycleCell GetCycle(int K) const;

    double TotalCost() const;

    // Refuses, with a TCalcError the user can read, a problem that cannot give a meaningful
    // plan: a negative stock or demand, a number that is not finite, or numbers so large that
    // the potentials or the total cost would overflow.
    void CheckProblem() const;

    void Balance();
    void InitialPlan();
    void CalcPotentials();
    void FindEnteringCell(int& Row, int& Col) const;
    void FindCycle(int Row, int Col);
    void Pivot();

private:
    static constexpr int Words = (Capacity + 1 + 63) / 64;
    using TBits = std::uint64_t[Words];
    // The tree of the basis has a node per row and per column: row I is node I - 1, column J is
    // node Capacity + J - 1.
    static constexpr int Nodes = 2 * Capacity;
    // Rows of the 16-bit cost table, padded for whole vectors.
    static constexpr int CostStride = 512;

    struct TEntry {
        std::int32_t Row;
        std::int32_t Col;
    };
    struct TFlip {
        TEntry Cell;
        bool Basic;
    };

    static void Check(int Index);
    static std::size_t Cell(int I, int J) { return std::size_t(I - 1) * Capacity + (J - 1); }
    static int RowNode(int I) { return I - 1; }
    static int ColNode(int J) { return Capacity + J - 1; }
    void CheckSize() const;
    void StoreX(int I, int J, double Value);
    bool Slide(int Row, int Col, int Dir, int EnterRow, int EnterCol, int& StopRow,
               int& StopCol) const;
    bool TreeCurrent() const;
    TEntry TreeEdge(int Node) const;
    double& Potential(int Node) { return Node < Capacity ? U_[Node] : V_[Node - Capacity]; }
    void WalkPotentials();
    void TreeCycle(int Row, int Col);
    void SearchCycle(int Row, int Col);
    void ExchangeTreeEdge(TEntry Entering, TEntry Leaving);
    void RaiseBounds(double Rise, bool Even);
    void Link(int Node, int Above, double Cost);
    void Unlink(int Node);
    void PrepareWholeCosts();
    bool FindEnteringWhole(int& Row, int& Col) const;

    double X_[Capacity * Capacity]{};
    double C_[Capacity * Capacity]{};
    double U_[Capacity]{};
    double A_[Capacity]{};
    double V_[Capacity]{};
    double B_[Capacity]{};
    TCycleCell Cycle_[CycleCapacity]{};
    std::int32_t CycleLength_ = 0;

    // Shadows of X kept by StoreX, so that the potentials step finds the basic cells and the
    // cycle search slides over non-basic ones without visiting every cell. Bit J of
    // BasicRows_[I] is X[I, J] > BasicThreshold; bit J of TreeRows_[I] and bit I of
    // TreeCols_[J] is X[I, J] >= 0. Straddling_ counts the cells
    // where the two tests disagree (BasicThreshold < X < 0).
    TBits BasicRows_[Capacity]{};
    TBits TreeRows_[Capacity]{};
    TBits TreeCols_[Capacity]{};
    std::int32_t Straddling_ = 0;

    // The basis as a tree hanging from row 1, kept from one pivot to the next so that a pivot
    // costs work in proportion to what it changes. Each node's potential is the cost of the
    // cell to its parent minus the parent's potential: the subtraction CalcPotentials makes.
    // TreeValid_ says the tree matches the basis of an M x N problem as it stood at the last
    // CalcPotentials or tree pivot; Flips_ logs the cells that have entered or left the basis
    // since (FlipCount_ > 2: too many to follow). Pending_ lists, parents first, the nodes
    // whose potentials a tree pivot has left to the next CalcPotentials. Children are kept in
    // doubly linked lists (FirstChild_, NextSibling_, PrevSibling_; -1 ends one).
    std::int32_t Parent_[Nodes]{};
    std::int32_t FirstChild_[Nodes]{};
    std::int32_t NextSibling_[Nodes]{};
    std::int32_t PrevSibling_[Nodes]{};
    std::int32_t Depth_[Nodes]{};
    double ParentCost_[Nodes]{};
    std::int32_t Pending_[Nodes]{};
    std::int32_t PendingCount_ = 0;
    bool TreeValid_ = false;
    std::int32_t TreeM_ = 0;
    std::int32_t TreeN_ = 0;
    TFlip Flips_[2]{};
    std::int32_t FlipCount_ = 0;
    bool CycleFromTree_ = false;

    // The costs of the M x N table as small whole numbers, for the exact integer form of the
    // entering-cell search: when every cost is a whole number and they span at most 32767,
    // each is stored as C - WholeBase_, in 8 bits when they span at most 255 (WholeKind_ 1),
    // else in 16 (WholeKind_ 2). WholeKind_ 0: the costs do not allow it. Rebuilt by
    // CalcPotentials after SetC or Balance.
    std::uint8_t Whole8_[Capacity * CostStride]{};
    std::int16_t Whole16_[Capacity * CostStride]{};
    bool CostsChanged_ = true;
    std::int32_t WholeKind_ = 0;
    std::int32_t WholeM_ = 0;
    std::int32_t WholeN_ = 0;
    double WholeBase_ = 0.0;
    std::int32_t WholeSpan_ = 0;
    std::int32_t RowLeast_[Capacity]{}; // each row's smallest stored cost

    // While BoundsCurrent_, RowBound_[I - 1] is at least the largest U + V - C of row I, and
    // equal to it where the entering search last priced the row: the search's own results,
    // kept so that it prices only the rows a pivot may have raised above the best cell.
    // Valid for whole costs only, where a pivot moves potentials by exact whole numbers.
    mutable std::int64_t RowBound_[Capacity]{};
    mutable bool Priced_[Capacity]{};
    mutable bool BoundsCurrent_ = false;
    // Marks of the rows and columns a pivot moved, all false between calls.
    bool Moved_[Capacity]{};
    bool MovedCol_[Capacity]{};

    // Working data of one CalcPotentials or FindCycle call, kept here so that no call allocates.
    static constexpr int MaxEntries = 2 * Capacity - 1;
    TEntry Entries_[MaxEntries]{};
    std::int32_t RowFirst_[Capacity + 1]{};
    std::int32_t ColFirst_[Capacity + 2]{};
    std::int32_t ColEntries_[MaxEntries]{};
    std::int32_t Walk_[Nodes]{};
    bool RowKnown_[Capacity]{};
    bool ColKnown_[Capacity]{};
    std::uint8_t BackDir_[MaxEntries + 2]{};
    std::uint8_t NextDir_[MaxEntries + 2]{};
};

// The one problem store of the program, created by the main routine.
extern TCalc* Calc;

// Elapsed time in days as h:mm:ss, hours counted on past 23; empty for a negative, not-a-number
// or absurdly large value.
std::string ElapsedTimeToStr(double Elapsed);
