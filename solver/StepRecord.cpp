#include "StepRecord.h"

#include "CalcUnit.h"

#include <stdexcept>

TStepRecord* StepRecord = nullptr;

void TStepRecord::Begin(const TCalc& Store, TStart Start) {
    Clear();
    Recorded_ = true;
    Start_ = Start;
    BalanceKind_ = Store.BalanceKind;
    // In place, so that a record reused for a problem no larger allocates nothing.
    StoredProblem(Store, Problem_);
    const std::span<const TStartCell> Cells = Store.StartCells();
    StartCells_.assign(Cells.begin(), Cells.end());
}

void TStepRecord::Add(const TCalc& Store, const TPivotStep& Step) {
    const std::span<const TCycleCell> Cycle = Store.CyclePath();
    Pivots_.push_back({Step, int(Cycles_.size()), int(Cycle.size())});
    Cycles_.insert(Cycles_.end(), Cycle.begin(), Cycle.end());
}

void TStepRecord::Finish(TOutcome Outcome) {
    Outcome_ = Outcome;
}

void TStepRecord::Clear() {
    Recorded_ = false;
    Outcome_ = TOutcome::Failed;
    BalanceKind_ = 0;
    StartCells_.clear();
    Pivots_.clear();
    Cycles_.clear();
}

std::span<const TCycleCell> TStepRecord::Cycle(int K) const {
    const TPivot& Step = Pivot(K);
    return {Cycles_.data() + Step.CycleFirst, std::size_t(Step.CycleLength)};
}

std::size_t TStepRecord::Bytes() const {
    return sizeof *this +
           (Problem_.A.capacity() + Problem_.B.capacity() + Problem_.C.capacity()) *
               sizeof(double) +
           StartCells_.capacity() * sizeof(TStartCell) + Pivots_.capacity() * sizeof(TPivot) +
           Cycles_.capacity() * sizeof(TCycleCell);
}

TStepPlan::TStepPlan(const TStepRecord& Record) : Record_(Record) {
    Restart();
    Sum();
}

void TStepPlan::Go(int K) {
    if (K < 0 || K > Record_.Pivots())
        throw std::out_of_range("No such step of the run");
    const bool Begun = X_.size() != Record_.Problem().C.size() || Step_ > Record_.Pivots();
    if (K == Step_ && !Begun)
        return;
    if (K < Step_ || Begun)
        Restart();
    while (Step_ < K)
        Advance();
    Sum();
}

void TStepPlan::Restart() {
    const TProblem& P = Record_.Problem();
    X_.assign(P.C.size(), NonBasic);
    for (const TStartCell& Cell : Record_.StartCells())
        X_[Index(Cell.Cell.Row, Cell.Cell.Col)] = Cell.Amount;
    Step_ = 0;
}

// The pivot as the store makes it: the entering cell set to 0, then theta added on the odd
// positions of the cycle and taken off the even ones, then the leaving cell marked non-basic.
void TStepPlan::Advance() {
    ++Step_;
    const TStepRecord::TPivot& Pivot = Record_.Pivot(Step_);
    X_[Index(Pivot.Entering.Row, Pivot.Entering.Col)] = 0.0;
    const std::span<const TCycleCell> Cycle = Record_.Cycle(Step_);
    for (std::size_t K = 0; K < Cycle.size(); ++K) {
        double& Cell = X_[Index(Cycle[K].Row, Cycle[K].Col)];
        Cell = K % 2 == 0 ? Cell + Pivot.Theta : Cell - Pivot.Theta;
    }
    X_[Index(Pivot.Leaving.Row, Pivot.Leaving.Col)] = NonBasic;
}

// As TotalCost sums it.
void TStepPlan::Sum() {
    const TProblem& P = Record_.Problem();
    Priced_ = false;
    Total_ = 0.0;
    for (int I = 1; I <= P.M; ++I)
        for (int J = 1; J <= P.N; ++J)
            if (Basic(I, J))
                Total_ = Total_ + X(I, J) * P.Cost(I, J);
}

const TStepPlan& TStepPlan::Priced() const {
    if (!Priced_)
        Price();
    return *this;
}

// The potentials by a walk over the basis from row 1: each row's or column's potential is the
// cost of the basic cell to its neighbour on the way to row 1 minus that neighbour's, the one
// subtraction the store makes for it whatever order it visits the cells in.
void TStepPlan::Price() const {
    const TProblem& P = Record_.Problem();
    const int M = P.M, N = P.N;
    Priced_ = true;
    RowFirst_.assign(std::size_t(M) + 2, 0);
    ColFirst_.assign(std::size_t(N) + 2, 0);
    for (int I = 1; I <= M; ++I)
        for (int J = 1; J <= N; ++J)
            if (Basic(I, J)) {
                ++RowFirst_[std::size_t(I) + 1];
                ++ColFirst_[std::size_t(J) + 1];
            }
    for (std::size_t K = 1; K < RowFirst_.size(); ++K)
        RowFirst_[K] += RowFirst_[K - 1];
    for (std::size_t K = 1; K < ColFirst_.size(); ++K)
        ColFirst_[K] += ColFirst_[K - 1];
    RowCells_.resize(std::size_t(RowFirst_.back()));
    ColCells_.resize(std::size_t(ColFirst_.back()));
    RowNext_.assign(RowFirst_.begin(), RowFirst_.end() - 1);
    ColNext_.assign(ColFirst_.begin(), ColFirst_.end() - 1);
    for (int I = 1; I <= M; ++I)
        for (int J = 1; J <= N; ++J)
            if (Basic(I, J)) {
                RowCells_[std::size_t(RowNext_[std::size_t(I)]++)] = J;
                ColCells_[std::size_t(ColNext_[std::size_t(J)]++)] = I;
            }
    // Nodes: rows 1..M, then columns as M + J. A record of nothing has none.
    U_.assign(std::size_t(M) + 1, 0.0);
    V_.assign(std::size_t(N) + 1, 0.0);
    if (M == 0 || N == 0)
        return;
    Known_.assign(std::size_t(M + N) + 1, false);
    Walk_.assign(1, 1);
    Known_[1] = true;
    for (std::size_t Head = 0; Head < Walk_.size(); ++Head) {
        const int Node = Walk_[Head];
        if (Node <= M) {
            for (int K = RowFirst_[std::size_t(Node)]; K < RowFirst_[std::size_t(Node) + 1]; ++K) {
                const int J = RowCells_[std::size_t(K)];
                if (Known_[std::size_t(M + J)])
                    continue;
                Known_[std::size_t(M + J)] = true;
                V_[std::size_t(J)] = P.Cost(Node, J) - U_[std::size_t(Node)];
                Walk_.push_back(M + J);
            }
        } else {
            const int J = Node - M;
            for (int K = ColFirst_[std::size_t(J)]; K < ColFirst_[std::size_t(J) + 1]; ++K) {
                const int I = ColCells_[std::size_t(K)];
                if (Known_[std::size_t(I)])
                    continue;
                Known_[std::size_t(I)] = true;
                U_[std::size_t(I)] = P.Cost(I, J) - V_[std::size_t(J)];
                Walk_.push_back(I);
            }
        }
    }
}

double TStepPlan::Reduced(int I, int J) const {
    return -((U(I) + V(J)) - Record_.Problem().Cost(I, J));
}
