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
// InitialPlan(Start) builds the plan of the start chosen: the north-west corner (InitialPlan
// itself), least cost or Vogel's approximation (StartUnit.h), written the same way. Each keeps
// its cells in the order they were filled, for StartCount and GetStartCell.
//
// Only rows 1..M and columns 1..N mean anything; the rest keeps what an earlier problem left.
// The store is a single fixed-size object: nothing is allocated while solving but the working
// lists of InitialPlan(Start), once per calculation.
//
// To make a pivot cost what it changes rather than a pass over the whole table, the store keeps
// between steps the basis as a tree, copies of whole-number costs in 16 bits and an upper
// bound on each row's largest U + V - C. None of it changes a result: every step gives the
// numbers, bit for bit, of the plain description above, and whatever breaks the usual order of
// steps (a cost or a plan changed from outside, a size changed) sends the next step the plain
// way.
//
// Each cache is an object of its own with one protocol: it learns of every change to the store
// through Changed, it has one test of whether it may be used, and where it can go stale one
// Invalidate(). What a step does when a cache fails its test is the plain way.
//
// clang-format off
//   cache          told by                    stale after          test       read by
//   TPlanShadow    every write of X           never                Agrees()   TotalCost,
//                  (Record)                                                   CalcPotentials,
//                                                                             FindCycle
//   TBasisTree     SetC, Balance,             a cost or size       Current()  CalcPotentials,
//                  InitialPlan (Invalidate);  change; a basis                 FindCycle
//                  a basis flip (NoteFlip);   change other than a
//                  Pivot (FollowPivot)        pivot on its path
//   TWholePricing  SetC, Balance              a cost or size       Usable()   FindEnteringCell
//                  (Invalidate);              change
//                  CalcPotentials
//                  (Prepare, Follow)
//   TCycleSearch   nothing: it keeps no       -                    -          FindCycle, when
//                  state between calls                                        the tree may not
//                                                                             stand in
// clang-format on
//
// CalcPotentials rebuilds the tree when it is stale (dropping the pricing's row bounds), or else
// renews only the potentials the last pivot moved (raising the bounds to match). FindEnteringCell
// scans the doubles when the pricing may not be used; a basic cell never enters: where rounding
// lets one win (costs of 1e13 and more), the best non-basic cell by the same rule and tie-break
// enters instead. FindCycle lists the tree's path when the tree is current and every plan value
// is a clear basic mark, else it searches in rook moves and invalidates the tree.
#pragma once

#include "BasisTree.h"
#include "CycleSearch.h"
#include "PlanShadow.h"
#include "StartUnit.h"
#include "StoreLimits.h"
#include "WholePricing.h"

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

class TCalc {
public:
    static constexpr int CycleCapacity = Capacity * Capacity + 1;
    static constexpr int StartCapacity = 2 * Capacity - 1;

    // Zero-filled: M = N = 0, every number 0.0. About 7 MB: allocate it, never on the stack.
    TCalc() = default;
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
    // Entries 1..CycleLength of the cycle, and costs (I, 1..N): for readers of whole lines.
    std::span<const TCycleCell> CyclePath() const {
        return {Cycle_ + 1, std::size_t(CycleLength_)};
    }
    std::span<const double> CostRow(int I) const;
    // What the last Pivot moved round the cycle, and the cell that left the basis.
    double LastTheta() const { return Theta_; }
    TCell LastLeaving() const { return Leaving_; }
    // The cells of the last start in the order they were filled, K from 1.
    int StartCount() const { return StartCount_; }
    TStartCell GetStartCell(int K) const;
    std::span<const TStartCell> StartCells() const {
        return {StartCells_, std::size_t(StartCount_)};
    }

    double TotalCost() const;

    // Refuses, with a TCalcError the user can read, a problem that cannot give a meaningful
    // plan: a negative stock or demand, a number that is not finite, or numbers so large that
    // the potentials or the total cost would overflow.
    void CheckProblem() const;

    void Balance();
    void InitialPlan();
    void InitialPlan(TStart Start);
    void CalcPotentials();
    void FindEnteringCell(int& Row, int& Col);
    void FindCycle(int Row, int Col);
    void Pivot();

private:
    // What a mutator changed: costs (or the size with them), the whole plan, or one plan cell
    // from Old to New.
    struct TChange {
        enum TKind { Costs, Plan, Cell } Kind;
        int Row = 0, Col = 0;
        double Old = 0.0, New = 0.0;
    };

    static void Check(int Index);
    TProblemView View() const { return {M, N, A_ + 1, B_ + 1, C_, Capacity}; }
    void CheckSize() const;
    void Changed(const TChange& Change);
    void StoreX(int I, int J, double Value);
    // A cell of the start: shipped, and listed as filled.
    void PlaceStart(int I, int J, double Amount);
    double& X(int I, int J) { return X_[CellIndex(I, J)]; }
    double X(int I, int J) const { return X_[CellIndex(I, J)]; }
    double C(int I, int J) const { return C_[CellIndex(I, J)]; }
    void ScanEntering(int& Row, int& Col) const;
    void ScanNonBasicEntering(int& Row, int& Col) const;

    // The arrays of the problem and its plan. Rows and columns count from 1: X and C through
    // CellIndex, the vectors and the cycle directly (entry 0 unused).
    double X_[Capacity * Capacity]{};
    double C_[Capacity * Capacity]{};
    double U_[Capacity + 1]{};
    double A_[Capacity + 1]{};
    double V_[Capacity + 1]{};
    double B_[Capacity + 1]{};
    TCycleCell Cycle_[CycleCapacity + 1]{};
    std::int32_t CycleLength_ = 0;
    double Theta_ = 0.0;
    TCell Leaving_{0, 0};
    TStartCell StartCells_[StartCapacity]{};
    std::int32_t StartCount_ = 0;

    // The caches, each told of every change by Changed, and the plain cycle search's stack.
    TPlanShadow Shadow_;
    TBasisTree Tree_{Shadow_, C_, U_, V_};
    TWholePricing Pricing_{C_, U_, V_};
    TCycleSearch Search_{Shadow_};
};

// The one problem store of the program, created by the main routine.
extern TCalc* Calc;

// Elapsed time in days as h:mm:ss, hours counted on past 23; empty for a negative, not-a-number
// or absurdly large value.
std::string ElapsedTimeToStr(double Elapsed);
