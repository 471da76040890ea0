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
#include <string>
#include <vector>

namespace {

constexpr TStart Starts[] = {TStart::NorthWest, TStart::LeastCost, TStart::Vogel};

std::vector<std::uint64_t> Bits(const std::vector<double>& Values) {
    std::vector<std::uint64_t> Out;
    for (const double Value : Values)
        Out.push_back(std::bit_cast<std::uint64_t>(Value));
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
    double Stock = 0.0, Demand = 0.0;
    for (const double A : P.A)
        Stock += A;
    for (const double B : P.B)
        Demand += B;
    (Stock > Demand ? P.B[0] : P.A[0]) += std::fabs(Stock - Demand);
    (Shape.Excess > 0 ? P.A[0] : P.B[0]) += std::abs(Shape.Excess);
    return P;
}

// What the store had at one step, driven one operation at a time: the plan, the potentials
// CalcPotentials gave for it, its total, and the pivot that followed it.
struct TSnapshot {
    std::vector<double> X, U, V;
    double Total = 0.0;
    TCell Entering{0, 0}, Leaving{0, 0};
    double Theta = 0.0;
    std::vector<TCell> Cycle;
};

std::vector<TSnapshot> DriveStore(TCalc& S, const TProblem& Problem, TStart Start) {
    LoadProblem(S, Problem);
    S.Balance();
    S.InitialPlan(Start);
    std::vector<TSnapshot> Steps;
    for (int Row = 1, Col = 1; Row != 0 && Steps.size() <= std::size_t(MaxIterations);) {
        TSnapshot& Step = Steps.emplace_back();
        Step.Total = S.TotalCost();
        for (int I = 1; I <= S.M; ++I)
            for (int J = 1; J <= S.N; ++J)
                Step.X.push_back(S.GetX(I, J));
        S.CalcPotentials();
        for (int I = 1; I <= S.M; ++I)
            Step.U.push_back(S.GetU(I));
        for (int J = 1; J <= S.N; ++J)
            Step.V.push_back(S.GetV(J));
        S.FindEnteringCell(Row, Col);
        if (Row == 0 || Steps.size() > std::size_t(MaxIterations))
            break;
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

// The record against the store's own run: every pivot, and every step's plan, potentials and
// total bit for bit, going forwards and then backwards.
void ExpectStoresRun(const TStepRecord& Record, const std::vector<TSnapshot>& Driven) {
    const int Pivots = int(Driven.size()) - 1;
    ASSERT_EQ(Record.Pivots(), Pivots);
    const TProblem& P = Record.Problem();
    TStepPlan Plan(Record);
    auto ExpectStep = [&](int K) {
        SCOPED_TRACE("step " + std::to_string(K));
        Plan.Go(K);
        std::vector<double> X, U, V;
        for (int I = 1; I <= P.M; ++I)
            for (int J = 1; J <= P.N; ++J)
                X.push_back(Plan.X(I, J));
        for (int I = 1; I <= P.M; ++I)
            U.push_back(Plan.U(I));
        for (int J = 1; J <= P.N; ++J)
            V.push_back(Plan.V(J));
        EXPECT_EQ(Bits(X), Bits(Driven[K].X));
        EXPECT_EQ(Bits(U), Bits(Driven[K].U));
        EXPECT_EQ(Bits(V), Bits(Driven[K].V));
        EXPECT_EQ(Bits({Plan.Total()}), Bits({Driven[K].Total}));
    };
    for (int K = 0; K <= Pivots; ++K) {
        ExpectStep(K);
        if (K == 0)
            continue;
        const TStepRecord::TPivot& Step = Record.Pivot(K);
        const TSnapshot& Before = Driven[K - 1];
        EXPECT_EQ(Step.Entering, Before.Entering);
        EXPECT_EQ(Bits({Step.Theta}), Bits({Before.Theta}));
        EXPECT_EQ(Step.Leaving, Before.Leaving);
        EXPECT_EQ(std::vector<TCell>(Record.Cycle(K).begin(), Record.Cycle(K).end()), Before.Cycle);
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

TEST_F(StepRecordRun, EveryStartRecordsTheStoresRunStepByStep) {
    for (const TShape& Shape : Shapes)
        for (std::uint32_t Seed = 1; Seed <= 3; ++Seed)
            for (const TStart Start : Starts) {
                SCOPED_TRACE(std::to_string(Shape.M) + " x " + std::to_string(Shape.N) + " seed " +
                             std::to_string(Seed) + " start " + std::to_string(int(Start)));
                const TProblem Problem = ShapedProblem(Shape, Seed);
                EXPECT_EQ(Record(Problem, Start).Outcome, TOutcome::Optimal);
                EXPECT_TRUE(Record_.Optimal());
                EXPECT_EQ(Record_.Start(), Start);
                EXPECT_EQ(Record_.Problem(), StoredProblem(*Calc));
                ExpectStoresRun(Record_, DriveStore(*Driver_, Problem, Start));
            }
}

// The plain transcription's own potentials, cycle search and pivot: the same entering cells and
// gains, cycles, thetas, leaving cells and totals.
TEST_F(StepRecordRun, NorthWestRecordsFollowThePlainTranscription) {
    for (const TShape& Shape : Shapes)
        for (std::uint32_t Seed = 1; Seed <= 3; ++Seed) {
            const TProblem Problem = ShapedProblem(Shape, Seed);
            SCOPED_TRACE(std::to_string(Shape.M) + " x " + std::to_string(Shape.N) + " seed " +
                         std::to_string(Seed));
            Record(Problem);
            TPlainSolver Plain;
            Plain.M = Problem.M;
            Plain.N = Problem.N;
            Plain.A = Problem.A;
            Plain.B = Problem.B;
            Plain.C = Problem.C;
            Plain.Balance();
            Plain.InitialPlan();
            TStepPlan Plan(Record_);
            int K = 0, Row = 0, Col = 0;
            while (Plain.CalcPotentials()) {
                Plain.FindEnteringCell(Row, Col);
                if (Row == 0 || ++K > Record_.Pivots())
                    break;
                const TStepRecord::TPivot& Step = Record_.Pivot(K);
                EXPECT_EQ(Step.Entering, (TCell{Row, Col}));
                EXPECT_EQ(Bits({Step.Gain}),
                          Bits({Plain.U[Row - 1] + Plain.V[Col - 1] - Plain.c(Row, Col)}));
                ASSERT_TRUE(Plain.FindCycle(Row, Col));
                EXPECT_EQ(std::vector<TCell>(Record_.Cycle(K).begin(), Record_.Cycle(K).end()),
                          Plain.Cycle);
                Plain.x(Row, Col) = 0.0;
                Plain.Pivot();
                EXPECT_EQ(Bits({Step.Theta}), Bits({Plain.Theta}));
                EXPECT_EQ(Step.Leaving, Plain.Leaving);
                double Total = 0.0;
                for (int I = 1; I <= Plain.M; ++I)
                    for (int J = 1; J <= Plain.N; ++J)
                        if (Plain.x(I, J) > BasicThreshold)
                            Total = Total + Plain.x(I, J) * Plain.c(I, J);
                Plan.Go(K);
                EXPECT_EQ(Bits({Plan.Total()}), Bits({Total}));
            }
            EXPECT_EQ(Row, 0);
            EXPECT_EQ(K, Record_.Pivots());
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
        LoadProblem(*Calc, RandomProblem(289, 120, 120, 50));
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
        std::vector<double> X, Stored;
        for (int I = 1; I <= Calc->M; ++I)
            for (int J = 1; J <= Calc->N; ++J) {
                X.push_back(Plan.X(I, J));
                Stored.push_back(Calc->GetX(I, J));
            }
        EXPECT_EQ(Bits(X), Bits(Stored));
        EXPECT_EQ(Bits({Plan.Total()}), Bits({Calc->TotalCost()}));
    }
}

// After a large problem a smaller one: its own steps, none of the other's, in the memory the
// record already held.
TEST_F(StepRecordRun, ReusedForASmallerProblemAfterALargerOne) {
    Record(ShapedProblem({40, 40, 99, 1, 5, 99}, 9));
    ASSERT_GT(Record_.Pivots(), 20);
    const std::size_t Bytes = Record_.Bytes();
    const TProblem Small(2, 3, {30, 20}, {10, 25, 15}, {8, 6, 10, 9, 12, 13});
    Record(Small, TStart::Vogel);
    EXPECT_EQ(Record_.Problem(), Small);
    EXPECT_EQ(Record_.StartCells().size(), 4u);
    ExpectStoresRun(Record_, DriveStore(*Driver_, Small, TStart::Vogel));
    EXPECT_EQ(Record_.Bytes(), Bytes);
}

} // namespace
