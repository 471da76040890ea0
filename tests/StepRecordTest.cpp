#include "StepRecord.h"

#include "CalcUnit.h"
#include "PlainSolver.h"
#include "Problems.h"
#include "ThreadTestSupport.h"
#include "ThreadUnit.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

namespace {

std::vector<std::uint64_t> Bits(const std::vector<double>& Values) {
    std::vector<std::uint64_t> Out;
    for (const double Value : Values)
        Out.push_back(std::bit_cast<std::uint64_t>(Value));
    return Out;
}

// Value(I, J) for rows 1..M and columns 1..N, row by row.
template <class TValue> std::vector<double> Table(int M, int N, TValue Value) {
    std::vector<double> Out;
    for (int I = 1; I <= M; ++I)
        for (int J = 1; J <= N; ++J)
            Out.push_back(Value(I, J));
    return Out;
}

// Costs 1..MaxC, whole or over Divisor; the draw balanced and then Excess more stock (or, when
// negative, more demand). Small stocks and demands make partial sums meet: degenerate pivots.
struct TShape {
    int M, N, MaxC, Divisor, Excess, MaxAB;
};
constexpr TShape Shapes[] = {{6, 9, 20, 1, 0, 20}, {9, 6, 20, 8, 7, 20}, {12, 12, 50, 1, -7, 50},
                             {10, 14, 5, 1, 0, 2}, {2, 8, 9, 1, 3, 9},   {7, 30, 99, 8, -1, 40},
                             {16, 11, 3, 4, 0, 1}};

TProblem ShapedProblem(const TShape& Shape, std::uint32_t Seed) {
    TProblem P = RandomProblem(Seed, Shape.M, Shape.N, Shape.MaxAB, Shape.MaxAB, Shape.MaxC);
    for (double& C : P.C)
        C /= Shape.Divisor;
    const double Excess = std::reduce(P.A.begin(), P.A.end()) - std::reduce(P.B.begin(), P.B.end());
    (Excess > 0 ? P.B[0] : P.A[0]) += std::fabs(Excess);
    (Shape.Excess > 0 ? P.A[0] : P.B[0]) += std::abs(Shape.Excess);
    return P;
}

// One step of a run driven one operation at a time: the plan (row by row), the potentials
// worked out for it, its total, and the pivot that followed it.
struct TSnapshot {
    std::vector<double> X, U, V;
    double Total = 0.0, Gain = 0.0, Theta = 0.0;
    TCell Entering{0, 0}, Leaving{0, 0};
    std::vector<TCell> Cycle;
};

std::vector<TSnapshot> DriveStore(TCalc& S, const TProblem& Problem, TStart Start) {
    LoadProblem(S, Problem);
    S.Balance();
    S.InitialPlan(Start);
    std::vector<TSnapshot> Steps;
    for (int Row = 1, Col = 1;;) {
        TSnapshot& Step = Steps.emplace_back();
        Step.Total = S.TotalCost();
        Step.X = Table(S.M, S.N, [&S](int I, int J) { return S.GetX(I, J); });
        S.CalcPotentials();
        Step.U = Table(S.M, 1, [&S](int I, int) { return S.GetU(I); });
        Step.V = Table(1, S.N, [&S](int, int J) { return S.GetV(J); });
        S.FindEnteringCell(Row, Col);
        if (Row == 0 || Steps.size() > std::size_t(MaxIterations))
            break;
        Step.Gain = S.GetU(Row) + S.GetV(Col) - S.GetC(Row, Col);
        S.FindCycle(Row, Col);
        for (int K = 1; K <= S.CycleLength(); ++K)
            Step.Cycle.push_back({S.GetCycle(K).Row, S.GetCycle(K).Col});
        S.SetX(Row, Col, 0.0);
        S.Pivot();
        Step.Entering = {Row, Col};
        Step.Theta = S.LastTheta();
        Step.Leaving = S.LastLeaving();
    }
    return Steps;
}

// The same by the plain transcription, which starts from the north-west corner only.
std::vector<TSnapshot> DrivePlain(const TProblem& Problem) {
    TPlainSolver S(Problem);
    S.Balance();
    S.InitialPlan();
    std::vector<TSnapshot> Steps;
    for (int Row = 1, Col = 1; Row != 0;) {
        TSnapshot& Step = Steps.emplace_back();
        Step.X = S.X;
        for (int I = 1; I <= S.M; ++I)
            for (int J = 1; J <= S.N; ++J)
                if (S.x(I, J) > BasicThreshold)
                    Step.Total = Step.Total + S.x(I, J) * S.c(I, J);
        EXPECT_TRUE(S.CalcPotentials());
        Step.U = S.U;
        Step.V = S.V;
        S.FindEnteringCell(Row, Col);
        if (Row == 0)
            break;
        Step.Gain = S.U[Row - 1] + S.V[Col - 1] - S.c(Row, Col);
        EXPECT_TRUE(S.FindCycle(Row, Col));
        Step.Cycle = S.Cycle;
        S.x(Row, Col) = 0.0;
        S.Pivot();
        Step.Entering = {Row, Col};
        Step.Theta = S.Theta;
        Step.Leaving = S.Leaving;
    }
    return Steps;
}

// The record against a driven run: every pivot, and every step's plan, potentials and total bit
// for bit, going forwards and then backwards.
void ExpectDrivenRun(const TStepRecord& Record, const std::vector<TSnapshot>& Driven) {
    const int Pivots = int(Driven.size()) - 1;
    ASSERT_EQ(Record.Pivots(), Pivots);
    const TProblem& P = Record.Problem();
    TStepPlan Plan(Record);
    auto ExpectStep = [&](int K) {
        SCOPED_TRACE("step " + std::to_string(K));
        Plan.Go(K);
        EXPECT_EQ(Bits(Table(P.M, P.N, [&](int I, int J) { return Plan.X(I, J); })),
                  Bits(Driven[K].X));
        EXPECT_EQ(Bits(Table(P.M, 1, [&](int I, int) { return Plan.U(I); })), Bits(Driven[K].U));
        EXPECT_EQ(Bits(Table(1, P.N, [&](int, int J) { return Plan.V(J); })), Bits(Driven[K].V));
        EXPECT_EQ(Bits({Plan.Total()}), Bits({Driven[K].Total}));
    };
    for (int K = 0; K <= Pivots; ++K) {
        ExpectStep(K);
        if (K == 0)
            continue;
        const TStepRecord::TPivot& Step = Record.Pivot(K);
        const TSnapshot& Before = Driven[K - 1];
        EXPECT_EQ(Step.Entering, Before.Entering);
        EXPECT_EQ(Bits({Step.Gain, Step.Theta}), Bits({Before.Gain, Before.Theta}));
        EXPECT_EQ(Step.Leaving, Before.Leaving);
        std::vector<TCell> Cycle;
        for (const TCycleCell& Cell : Record.Cycle(K))
            Cycle.push_back({Cell.Row, Cell.Col});
        EXPECT_EQ(Cycle, Before.Cycle);
    }
    for (int K = Pivots; K >= 0; K -= 3)
        ExpectStep(K);
}

class StepRecordRun : public testing::Test {
protected:
    void SetUp() override { Calc = Store_.get(); }
    void TearDown() override { Calc = nullptr; }

    TCalcRun Record(const TProblem& Problem, TStart Start = TStart::NorthWest) {
        LoadProblem(*Calc, Problem);
        return RunCalculation(nullptr, {Start, &Record_});
    }

    std::unique_ptr<TCalc> Store_ = std::make_unique<TCalc>(), Driver_ = std::make_unique<TCalc>();
    TStepRecord Record_;
};

// Every start's record is the store's run step by step; from the north-west corner it is also
// the plain transcription's, with its own potentials, cycle search and pivot.
TEST_F(StepRecordRun, RecordsAreTheRunsStepByStep) {
    for (const TShape& Shape : Shapes)
        for (std::uint32_t Seed = 1; Seed <= 3; ++Seed)
            for (const TStart Start : AllStarts) {
                SCOPED_TRACE(std::to_string(Shape.M) + " x " + std::to_string(Shape.N) + " seed " +
                             std::to_string(Seed) + " start " + std::to_string(int(Start)));
                const TProblem Problem = ShapedProblem(Shape, Seed);
                EXPECT_EQ(Record(Problem, Start).Outcome, TOutcome::Optimal);
                EXPECT_TRUE(Record_.Optimal());
                EXPECT_EQ(Record_.Start(), Start);
                EXPECT_EQ(Record_.Problem(), StoredProblem(*Calc));
                ExpectDrivenRun(Record_, DriveStore(*Driver_, Problem, Start));
                if (Start == TStart::NorthWest)
                    ExpectDrivenRun(Record_, DrivePlain(Problem));
            }
}

// A run that ends without the optimum keeps every pivot it made, and its last step is the plan
// the store was left with: 999 pivots at the cap (a seed known to need exactly that many), and
// an abort seen after the third.
TEST_F(StepRecordRun, LoopingAndAbortedRunsAreRecordedToTheirLastPivot) {
    const struct {
        int HoldAt;
        TOutcome Outcome;
        int Pivots;
    } Ends[] = {{0, TOutcome::Looping, MaxIterations}, {3, TOutcome::Aborted, 3}};
    for (const auto& End : Ends) {
        LoadProblem(*Calc, CapProblem());
        TCheckpointHold Hold(End.HoldAt);
        const TCalcRun Run = RunCalculation(
            [&](TNoShowCalc& W) {
                if (End.HoldAt > 0) {
                    EXPECT_TRUE(Hold.ActWhileHeld([&W] { W.Terminate(); }));
                }
            },
            {TStart::NorthWest, &Record_});
        EXPECT_EQ(Run.Outcome, End.Outcome);
        ASSERT_EQ(Record_.Pivots(), End.Pivots);
        EXPECT_FALSE(Record_.Optimal());
        TStepPlan Plan(Record_);
        Plan.Go(End.Pivots);
        EXPECT_EQ(Bits(Table(Calc->M, Calc->N, [&](int I, int J) { return Plan.X(I, J); })),
                  Bits(Table(Calc->M, Calc->N, [](int I, int J) { return Calc->GetX(I, J); })));
        EXPECT_EQ(Bits({Plan.Total()}), Bits({Calc->TotalCost()}));
    }
}

// After a large problem a smaller one: its own steps, none of the other's, in the memory the
// record already held.
TEST_F(StepRecordRun, ReusedForASmallerProblemAfterALargerOne) {
    Record(ShapedProblem({40, 40, 99, 1, 5, 99}, 9));
    ASSERT_GT(Record_.Pivots(), 20);
    const std::size_t Bytes = Record_.Bytes();
    const TProblem& Small = HandWorked;
    Record(Small, TStart::Vogel);
    EXPECT_EQ(Record_.Problem(), Small);
    EXPECT_EQ(Record_.StartCells().size(), 4u);
    ExpectDrivenRun(Record_, DriveStore(*Driver_, Small, TStart::Vogel));
    EXPECT_EQ(Record_.Bytes(), Bytes);
}

} // namespace
