#include "ThreadUnit.h"

#include "CalcUnit.h"
#include "LemonReference.h"
#include "PlanCheck.h"
#include "Problems.h"
#include "RandomGen.h"
#include "ThreadTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>

namespace {

class Worker : public testing::Test {
protected:
    void SetUp() override {
        Store_ = std::make_unique<TCalc>();
        Calc = Store_.get();
    }
    void TearDown() override {
        ASSERT_TRUE(TUiThread::WaitForThreads());
        Calc = nullptr;
    }

    // The worker is held after its Pivot-th pivot while the termination request is made, so
    // the test knows where the request lands whatever the machine's load.
    TCalcRun RunAbortedAtPivot(int Pivot) {
        TCheckpointHold Hold(Pivot);
        return RunCalculation(
            [&Hold](TNoShowCalc& W) { EXPECT_TRUE(Hold.ActWhileHeld([&W] { W.Terminate(); })); });
    }

    static void Random(int M, int N, int MaxA, int MaxB, int MaxC, std::uint32_t Seed) {
        LoadProblem(*Calc, RandomProblem(Seed, M, N, MaxA, MaxB, MaxC));
    }

    // Pivots the problem in Calc needs from the north-west corner to the optimum, without any
    // cap, counted on a copy so that Calc stays as it is.
    static int PivotsNeededForCalc() {
        auto Copy = std::make_unique<TCalc>();
        LoadProblem(*Copy, StoredProblem(*Calc));
        return PivotsNeeded(*Copy);
    }

    static int PivotsNeeded(TCalc& S) {
        S.Balance();
        S.InitialPlan();
        int Pivots = 0, Row = 0, Col = 0;
        for (;;) {
            S.CalcPotentials();
            S.FindEnteringCell(Row, Col);
            if (Row == 0)
                return Pivots;
            S.FindCycle(Row, Col);
            S.SetX(Row, Col, 0.0);
            S.Pivot();
            ++Pivots;
        }
    }

    std::unique_ptr<TCalc> Store_;
};

// The properties of an optimal plan: feasible, a full basis, complementary slackness.
void ExpectOptimalPlan(const TCalc& S) {
    EXPECT_EQ(CheckPlan(S, true).Fault, "");
}

TEST_F(Worker, SmallProblemEndsOptimal) {
    Calc->M = 2;
    Calc->N = 3;
    const double A[] = {30, 20}, B[] = {10, 25, 15}, C[2][3] = {{8, 6, 10}, {9, 12, 13}};
    for (int I = 1; I <= 2; ++I)
        Calc->SetA(I, A[I - 1]);
    for (int J = 1; J <= 3; ++J)
        Calc->SetB(J, B[J - 1]);
    for (int I = 1; I <= 2; ++I)
        for (int J = 1; J <= 3; ++J)
            Calc->SetC(I, J, C[I - 1][J - 1]);
    const auto Given = StoredProblem(*Calc);
    const TCalcRun Out = RunCalculation();
    EXPECT_EQ(Out.Outcome, TOutcome::Optimal);
    EXPECT_GT(Out.Pivots, 0);
    ExpectOptimalPlan(*Calc);
    // By hand: supplier 1 sends 25 to consumer 2 and 5 to consumer 3 (150 + 50), supplier 2
    // sends 10 to consumer 1 and 10 to consumer 3 (90 + 130).
    EXPECT_EQ(Calc->TotalCost(), 420.0);
}

TEST_F(Worker, InstantBodyStillNotifies) {
    Calc->M = Calc->N = 1;
    Calc->SetA(1, 4);
    Calc->SetB(1, 4);
    const TCalcRun Out = RunCalculation();
    EXPECT_EQ(Out.Outcome, TOutcome::Optimal);
    EXPECT_EQ(Out.Pivots, 0);
    EXPECT_EQ(Calc->GetX(1, 1), 4.0);
}

TEST_F(Worker, AlreadyOptimalPlanIgnoresAnEarlyAbort) {
    // (i - j)^2 is a Monge matrix: the north-west-corner plan is optimal.
    Random(200, 200, 9, 9, 1, 5);
    for (int I = 1; I <= 200; ++I) {
        Calc->SetB(I, Calc->GetA(I));
        for (int J = 1; J <= 200; ++J)
            Calc->SetC(I, J, double((I - J) * (I - J)));
    }
    const TCalcRun Out = RunCalculation([](TNoShowCalc& W) { W.Terminate(); });
    EXPECT_EQ(Out.Outcome, TOutcome::Optimal);
    EXPECT_EQ(Out.Pivots, 0);
}

TEST_F(Worker, AbortIsSeenAfterAPivot) {
    Random(500, 500, 9999, 9999, 9999, 7);
    const TCalcRun Out = RunAbortedAtPivot(1);
    EXPECT_EQ(Out.Outcome, TOutcome::Aborted);
    EXPECT_EQ(Out.Pivots, 1);
    // The plan after the last pivot is still a full basic plan.
    int Basic = 0;
    for (int I = 1; I <= Calc->M; ++I)
        for (int J = 1; J <= Calc->N; ++J)
            Basic += Calc->GetX(I, J) > BasicThreshold;
    EXPECT_EQ(Basic, Calc->M + Calc->N - 1);
}

// Seeds of the program's random fill (120 x 120, maxima 50) whose calculations need 998 and
// 999 pivots; the uncapped driver loop confirms the counts before the worker is judged.
TEST_F(Worker, CapAllowsNineHundredNinetyEightPivotsToFinish) {
    Random(120, 120, 50, 50, 50, 53);
    ASSERT_EQ(PivotsNeededForCalc(), 998);
    const TCalcRun Out = RunCalculation();
    EXPECT_EQ(Out.Outcome, TOutcome::Optimal);
    EXPECT_EQ(Out.Pivots, 998);
}

TEST_F(Worker, NineHundredNinetyNinePivotsEndLooping) {
    LoadProblem(*Calc, CapProblem());
    ASSERT_EQ(PivotsNeededForCalc(), MaxIterations);
    const TCalcRun Out = RunCalculation();
    EXPECT_EQ(Out.Outcome, TOutcome::Looping);
    EXPECT_EQ(Out.Pivots, MaxIterations);
}

// A request seen after the last allowed pivot still counts as an abort, not as the cap.
TEST_F(Worker, AbortInTheLastAllowedIterationEndsAborted) {
    LoadProblem(*Calc, CapProblem());
    const TCalcRun Out = RunAbortedAtPivot(MaxIterations);
    EXPECT_EQ(Out.Outcome, TOutcome::Aborted);
    EXPECT_EQ(Out.Pivots, MaxIterations);
}

TEST_F(Worker, BadProblemsFailWithAReasonAndNoOtherFlag) {
    Calc->M = 2;
    Calc->N = 2;
    Calc->SetA(1, 5);
    Calc->SetA(2, -1);
    Calc->SetB(1, 2);
    Calc->SetB(2, 2);
    TCalcRun Out = RunCalculation();
    EXPECT_EQ(Out.Outcome, TOutcome::Failed);
    EXPECT_EQ(Out.FailReason, "Stocks and demands must not be negative");

    Calc->M = 2;
    Calc->N = 2;
    Calc->SetA(2, 1);
    Calc->SetC(1, 2, std::nan(""));
    Out = RunCalculation();
    EXPECT_EQ(Out.Outcome, TOutcome::Failed);
    EXPECT_EQ(Out.FailReason, "Stocks, demands and costs must be finite numbers");

    Calc->M = 0; // a size no window lets through: a range error, caught
    Out = RunCalculation([](TNoShowCalc& W) { W.Terminate(); });
    EXPECT_EQ(Out.Outcome, TOutcome::Failed);
    EXPECT_FALSE(Out.FailReason.empty());
}

TEST_F(Worker, NegativeCostsSolve) {
    Random(30, 20, 9, 9, 20, 3);
    for (int I = 1; I <= 30; ++I)
        for (int J = 1; J <= 20; ++J)
            Calc->SetC(I, J, Calc->GetC(I, J) - 15.0);
    const auto Given = StoredProblem(*Calc);
    const TCalcRun Out = RunCalculation();
    ASSERT_EQ(Out.Outcome, TOutcome::Optimal);
    ExpectOptimalPlan(*Calc);
    EXPECT_NEAR(Calc->TotalCost(), ReferenceOptimalCost(Given),
                1e-9 * std::fabs(ReferenceOptimalCost(Given)));
}

// Every optimal run has exactly the optimal cost of an independent solver.
TEST_F(Worker, CrossCheckAgainstTheReferenceSolver) {
    std::mt19937 Rng(2024);
    int Optimal = 0;
    for (int Run_ = 0; Run_ < 300; ++Run_) {
        const int M = 1 + int(Rng() % (Run_ < 250 ? 12 : 60));
        const int N = 1 + int(Rng() % (Run_ < 250 ? 12 : 60));
        const int Shape = Run_ % 5;
        const int Max = Shape == 0 ? 1 : Shape == 1 ? 3 : 50;
        Calc->M = M;
        Calc->N = N;
        double SumA = 0, SumB = 0;
        for (int I = 1; I <= M; ++I) {
            Calc->SetA(I, double(Rng() % (Max + 1)));
            SumA += Calc->GetA(I);
        }
        for (int J = 1; J <= N; ++J) {
            Calc->SetB(J, double(Rng() % (Max + 1)));
            SumB += Calc->GetB(J);
        }
        if (Shape == 2 && SumA != SumB) // balanced exactly
            SumA > SumB ? Calc->SetB(1, Calc->GetB(1) + SumA - SumB)
                        : Calc->SetA(1, Calc->GetA(1) + SumB - SumA);
        for (int I = 1; I <= M; ++I)
            for (int J = 1; J <= N; ++J) {
                double Cost = double(Rng() % (Max + 1));
                if (Shape == 3)
                    Cost -= Max / 2.0; // negative costs
                if (Shape == 4)
                    Cost = Cost / 4.0 + 0.5;
                Calc->SetC(I, J, Cost);
            }
        const auto Given = StoredProblem(*Calc);
        const TCalcRun Out = RunCalculation();
        ASSERT_NE(Out.Outcome, TOutcome::Failed) << Out.FailReason;
        if (Out.Outcome == TOutcome::Looping)
            continue;
        ++Optimal;
        ExpectOptimalPlan(*Calc);
        const double Reference = ReferenceOptimalCost(Given);
        ASSERT_NEAR(Calc->TotalCost(), Reference, 1e-9 * std::max(1.0, std::fabs(Reference)))
            << "run " << Run_ << " (" << M << " x " << N << ")";
    }
    EXPECT_GT(Optimal, 250);
}

} // namespace
