// The record of one calculation, step by step, for the Steps window, the report and the console
// tool.
//
// The worker records only what the steps chose: the problem as the calculation solved it
// (balanced, the dummy included), the start and its cells in the order they were filled, and for
// each pivot the entering cell with its gain, the cycle in the store's order (the entering cell
// first, then the corners in the order the path reached them; odd positions gain theta, even
// ones give it up), theta and the leaving cell. Everything else - the plan after any pivot, its
// potentials, its reduced costs, its total - follows from these exactly, bit for bit as the
// calculation had it, and TStepPlan works it out when asked. Recording so costs a copy of the
// costs once per calculation and of each cycle per pivot; a record reused from one calculation
// to the next allocates nothing more once it has held the largest.
#pragma once

#include "Outcome.h"
#include "Problem.h"
#include "StartUnit.h"
#include "StepUnit.h"

#include <cstddef>
#include <span>
#include <vector>

class TCalc;

class TStepRecord {
public:
    // The step as the pivot reported it, and where its cycle lies in the list of cycle cells.
    struct TPivot : TPivotStep {
        int CycleFirst = 0;
        int CycleLength = 0;
    };

    // A new record, after Balance and InitialPlan(Start).
    void Begin(const TCalc& Store, TStart Start);
    // After each pivot.
    void Add(const TCalc& Store, const TPivotStep& Step);
    // The run ended as Outcome says: Optimal when the plan after the last pivot is the optimum.
    void Finish(TOutcome Outcome);
    // Nothing recorded: a calculation that failed before its start, or none yet.
    void Clear();

    bool Recorded() const { return Recorded_; }
    TOutcome Outcome() const { return Outcome_; }
    bool Optimal() const { return Outcome_ == TOutcome::Optimal; }
    TStart Start() const { return Start_; }
    int BalanceKind() const { return BalanceKind_; }
    // Balanced: the dummy supplier (BalanceKind 1) or consumer (2) is the last row or column.
    const TProblem& Problem() const { return Problem_; }
    const std::vector<TStartCell>& StartCells() const { return StartCells_; }
    int Pivots() const { return int(Pivots_.size()); }
    // K from 1.
    const TPivot& Pivot(int K) const { return Pivots_.at(std::size_t(K - 1)); }
    // Its cycle as the store keeps it: column and row of each entry.
    std::span<const TCycleCell> Cycle(int K) const;
    // The memory the record holds.
    std::size_t Bytes() const;

private:
    bool Recorded_ = false;
    TOutcome Outcome_ = TOutcome::Failed;
    TStart Start_ = TStart::NorthWest;
    int BalanceKind_ = 0;
    TProblem Problem_;
    std::vector<TStartCell> StartCells_;
    std::vector<TPivot> Pivots_;
    std::vector<TCycleCell> Cycles_;
};

// The program's one record, beside the store Calc; created by the main routine.
extern TStepRecord* StepRecord;

// One step of a recorded run worked out: the plan after Step() pivots (step 0 is the start), its
// potentials (U[1] = 0), the reduced cost of every cell and the plan's total, each as the
// calculation had it.
class TStepPlan {
public:
    // At step 0.
    explicit TStepPlan(const TStepRecord& Record);

    // To step K, 0..Pivots: forward one pivot at a time, back by going again from the start (and
    // from the start as well when the record has since been begun anew).
    void Go(int K);
    int Step() const { return Step_; }

    // Rows and columns from 1. NonBasic or the amount shipped.
    double X(int I, int J) const { return X_[Index(I, J)]; }
    // As the potentials step counts it.
    bool Basic(int I, int J) const { return X(I, J) > BasicThreshold; }
    double U(int I) const { return Priced().U_[std::size_t(I)]; }
    double V(int J) const { return Priced().V_[std::size_t(J)]; }
    // C - U - V, the change of the total per unit sent through the cell: 0 on a basic cell (up to
    // rounding), and the entering rule takes the most negative, the first in row-major order.
    // Exactly the negated U + V - C that the rule compares.
    double Reduced(int I, int J) const;
    // As TotalCost sums it: the basic cells' amounts times their costs, row by row.
    double Total() const { return Total_; }

private:
    std::size_t Index(int I, int J) const {
        return std::size_t(I - 1) * std::size_t(Record_.Problem().N) + std::size_t(J - 1);
    }
    void Restart();
    void Advance();
    void Sum();
    // The potentials are worked out at their first reading after a step, so that a reader of
    // totals alone, stepping through a long run, never pays for them. Go forgets them.
    const TStepPlan& Priced() const;
    void Price() const;

    const TStepRecord& Record_;
    int Step_ = 0;
    std::vector<double> X_;
    double Total_ = 0.0;
    // The potentials of the step, when Priced_, and the working lists of their walk.
    mutable bool Priced_ = false;
    mutable std::vector<double> U_, V_;
    mutable std::vector<int> RowFirst_, ColFirst_, RowNext_, ColNext_, RowCells_, ColCells_, Walk_;
    mutable std::vector<bool> Known_;
};
