// kelvor-solver-bench: the solver's speed on fixed-seed random problems, beside the plain
// transcription of its steps and beside LEMON's network simplex.
//
// For each problem (the program's random fill, seed, sizes and maxima fixed) it times:
//   ours     one whole calculation through the worker TNoShowCalc, as kelvor-solve runs it;
//   plain    the same calculation by the plain transcription of every step (support/
//            PlainSolver: the potentials scan restarting after every new potential, slides
//            visiting every cell, the recursive cycle search), which the tests hold the store to
//            bit for bit; it must make the same pivots to the same outcome;
//   lemon    LEMON's NetworkSimplex (int data, block-search pivots) solving the same balanced
//            problem completely: graph building and run.
// Each figure is the median of several runs; the optimal costs are checked against the
// reference solver. A further run times each of the store's steps on its own, to show where the
// time goes.
// Besides the random fill as the program makes it (costs 1..max), two 500 x 500 problems with
// costs 100000..100200 (hi200): one balanced, one with a unit more stock (+1), whose dummy
// consumer's zero costs lie far below the rest; and one with costs in eighths (max9999/8), which
// no whole-number table holds.
//
// Last, the starting plans: for seeds 1 to 10 of the random fill's default problems (maxima
// 5, 5, 5) at 300 x 300 and 500 x 500, each start's outcome and pivots, the time of its plan
// (InitialPlan in the balanced store) and of the whole calculation through the worker, and its
// cost checked against the reference optimum.
//
// Then the record of the steps: two 500 x 500 problems that reach the pivot cap (maxima 9999 and
// 100), each calculation through the worker without a record and with one, reused from run to
// run as the program reuses its one record (the runs interleaved, so that a change in the
// machine's load falls on both), the overhead of recording, the record's size after 999 pivots,
// and the time and size of the HTML report of the run.
//
// Options: --reps R (default 5), --plain-reps R (default 1; 0 leaves the plain run out),
// --quick (100 x 100 only, no starting plans, no record), --starts (the starting plans only),
// --record (the record only).
#include "CalcUnit.h"
#include "Figures.h"
#include "LemonReference.h"
#include "PlainSolver.h"
#include "Problems.h"
#include "StepReport.h"
#include "ThreadUnit.h"

#include <lemon/network_simplex.h>
#include <lemon/smart_graph.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point Start) {
    return std::chrono::duration<double>(Clock::now() - Start).count();
}

// Costs of (Base + 1 .. Base + Max) / Divisor. Balanced: the first demand or stock takes up the
// difference of the totals, and then the first stock gets Extra more.
struct TBenchCase {
    int M, N, Max;
    int Base = 0;
    bool Balanced = false;
    int Extra = 0;
    int Divisor = 1; // a power of two
};

// The program's random fill, its costs raised by Base and divided by Divisor.
TProblem BenchProblem(std::uint32_t Seed, const TBenchCase& BenchCase) {
    TProblem P = RandomProblem(Seed, BenchCase.M, BenchCase.N, BenchCase.Max);
    for (double& C : P.C)
        C = double(BenchCase.Base + C) / BenchCase.Divisor;
    if (BenchCase.Balanced) {
        double SumA = 0.0, SumB = 0.0;
        for (double A : P.A)
            SumA += A;
        for (double B : P.B)
            SumB += B;
        (SumA > SumB ? P.B[0] : P.A[0]) += std::fabs(SumA - SumB);
        P.A[0] += BenchCase.Extra;
    }
    return P;
}

std::string CaseName(const TBenchCase& BenchCase) {
    std::string Name = std::to_string(BenchCase.M) + "x" + std::to_string(BenchCase.N);
    if (BenchCase.Divisor != 1)
        return Name + "_max" + std::to_string(BenchCase.Max) + "/" +
               std::to_string(BenchCase.Divisor);
    if (BenchCase.Base == 0)
        return Name + "_max" + std::to_string(BenchCase.Max);
    Name += "_hi" + std::to_string(BenchCase.Max - 1);
    return BenchCase.Extra == 0 ? Name : Name + "+" + std::to_string(BenchCase.Extra);
}

struct TRun {
    int Pivots = 0;
    TOutcome Outcome = TOutcome::Failed;
    double Seconds = 0.0;
};

// One whole calculation through the worker, timed from its creation to its notification.
TRun RunWorker(TCalcOptions Options = {}) {
    const TCalcRun Out = RunCalculation(nullptr, Options);
    TRun Run;
    Run.Pivots = Out.Pivots;
    Run.Outcome = Out.Outcome;
    Run.Seconds = std::chrono::duration<double>(Out.Time).count();
    return Run;
}

// The plain transcription's whole calculation, capped as the worker is.
TRun RunPlain(const TProblem& Problem) {
    TPlainSolver Plain(Problem);
    const auto Start = Clock::now();
    bool Optimal = false;
    TRun Run;
    Run.Pivots = Plain.Solve(MaxIterations, Optimal);
    Run.Seconds = SecondsSince(Start);
    Run.Outcome = Run.Pivots < 0 ? TOutcome::Failed
                  : Optimal      ? TOutcome::Optimal
                                 : TOutcome::Looping;
    return Run;
}

// Where the time of our calculation goes: each of the store's steps timed on its own, summed
// over the calculation (the clock reads add well under a microsecond per pivot).
struct TSteps {
    double Setup = 0.0, Potentials = 0.0, Entering = 0.0, Cycle = 0.0, Pivot = 0.0;
};

TSteps RunSteps(TCalc& Store) {
    TSteps Steps;
    auto Start = Clock::now();
    Store.CheckProblem();
    Store.Balance();
    Store.InitialPlan();
    Steps.Setup = SecondsSince(Start);
    int Row = 0, Col = 0;
    for (int Counter = MaxIterations; Counter > 0; --Counter) {
        Start = Clock::now();
        Store.CalcPotentials();
        Steps.Potentials += SecondsSince(Start);
        Start = Clock::now();
        Store.FindEnteringCell(Row, Col);
        Steps.Entering += SecondsSince(Start);
        if (Row == 0 && Col == 0)
            break;
        Start = Clock::now();
        Store.FindCycle(Row, Col);
        Steps.Cycle += SecondsSince(Start);
        Start = Clock::now();
        Store.SetX(Row, Col, 0.0);
        Store.Pivot();
        Steps.Pivot += SecondsSince(Start);
    }
    return Steps;
}

bool SameBits(double X, double Y) {
    return std::memcmp(&X, &Y, sizeof X) == 0;
}

// How much of the potentials one pivot changes, bit for bit: the rows and columns cut off from
// the first row by the leaving cell. Only their potentials, and only the reduced costs of their
// rows and columns, differ from the previous iteration's.
struct TChanges {
    double Rows = 0.0, Cols = 0.0, Cells = 0.0; // mean fractions of M, N and M * N
};

TChanges RunChanges(TCalc& Store) {
    TChanges Changes;
    Store.CheckProblem();
    Store.Balance();
    Store.InitialPlan();
    const int M = Store.M, N = Store.N;
    std::vector<double> U(M + 1), V(N + 1);
    int Row = 0, Col = 0, Iterations = 0;
    for (int Counter = MaxIterations; Counter > 0; --Counter) {
        Store.CalcPotentials();
        if (Counter < MaxIterations) {
            int Rows = 0, Cols = 0;
            for (int I = 1; I <= M; ++I)
                Rows += !SameBits(U[I], Store.GetU(I));
            for (int J = 1; J <= N; ++J)
                Cols += !SameBits(V[J], Store.GetV(J));
            Changes.Rows += double(Rows) / M;
            Changes.Cols += double(Cols) / N;
            Changes.Cells += (double(Rows) * N + double(M - Rows) * Cols) / (double(M) * N);
            ++Iterations;
        }
        for (int I = 1; I <= M; ++I)
            U[I] = Store.GetU(I);
        for (int J = 1; J <= N; ++J)
            V[J] = Store.GetV(J);
        Store.FindEnteringCell(Row, Col);
        if (Row == 0 && Col == 0)
            break;
        Store.FindCycle(Row, Col);
        Store.SetX(Row, Col, 0.0);
        Store.Pivot();
    }
    if (Iterations > 0) {
        Changes.Rows /= Iterations;
        Changes.Cols /= Iterations;
        Changes.Cells /= Iterations;
    }
    return Changes;
}

struct TLemonRun {
    double Seconds = 0.0, RunSeconds = 0.0, Cost = 0.0;
};

// LEMON's complete solve of the problem balanced as the program balances it.
// Costs given as whole numbers over Divisor, a power of two, go to LEMON times Divisor.
TLemonRun RunLemon(const TProblem& P, int Divisor) {
    using Graph = lemon::SmartDigraph;
    TLemonRun Result;
    const auto Start = Clock::now();
    long long SumA = 0, SumB = 0;
    for (double Stock : P.A)
        SumA += static_cast<long long>(Stock);
    for (double Demand : P.B)
        SumB += static_cast<long long>(Demand);
    const int Rows = P.M + (SumB > SumA ? 1 : 0), Cols = P.N + (SumA > SumB ? 1 : 0);
    Graph G;
    G.reserveNode(Rows + Cols);
    G.reserveArc(Rows * Cols);
    std::vector<Graph::Node> Supplier(Rows), Consumer(Cols);
    for (auto& Node : Supplier)
        Node = G.addNode();
    for (auto& Node : Consumer)
        Node = G.addNode();
    Graph::NodeMap<int> Supply(G);
    for (int I = 0; I < Rows; ++I)
        Supply[Supplier[I]] = I < P.M ? int(P.A[I]) : int(SumB - SumA);
    for (int J = 0; J < Cols; ++J)
        Supply[Consumer[J]] = -(J < P.N ? int(P.B[J]) : int(SumA - SumB));
    Graph::ArcMap<int> Cost(G);
    for (int I = 0; I < Rows; ++I)
        for (int J = 0; J < Cols; ++J)
            Cost[G.addArc(Supplier[I], Consumer[J])] =
                I < P.M && J < P.N ? int(P.C[std::size_t(I) * P.N + J] * Divisor) : 0;
    lemon::NetworkSimplex<Graph> Simplex(G);
    Simplex.costMap(Cost).supplyMap(Supply);
    const auto RunStart = Clock::now();
    if (Simplex.run() != lemon::NetworkSimplex<Graph>::OPTIMAL)
        throw std::runtime_error("LEMON found no optimum");
    Result.RunSeconds = SecondsSince(RunStart);
    Result.Seconds = SecondsSince(Start);
    Result.Cost = Simplex.totalCost<double>() / Divisor;
    return Result;
}

struct TRow {
    std::string Name;
    TRun Ours, Plain;
    double OursCost = 0.0, LemonSeconds = 0.0, LemonRunSeconds = 0.0;
    TSteps Steps; // medians of each step's total
    TChanges Changes;
};

bool RelativelyEqual(double X, double Y) {
    return std::fabs(X - Y) <= 1e-9 * std::max(1.0, std::max(std::fabs(X), std::fabs(Y)));
}

TRow Measure(const TBenchCase& BenchCase, std::uint32_t Seed, int Reps, int PlainReps) {
    TRow Row;
    Row.Name = CaseName(BenchCase);
    const TProblem Problem = BenchProblem(Seed, BenchCase);
    std::unique_ptr<TCalc> Store(new TCalc);
    Calc = Store.get();

    std::vector<double> Times;
    for (int K = 0; K < Reps; ++K) {
        LoadProblem(*Store, Problem);
        Row.Ours = RunWorker();
        Times.push_back(Row.Ours.Seconds);
    }
    Row.Ours.Seconds = Median(Times);
    Row.OursCost = Store->TotalCost();

    std::vector<double> Setup, Potentials, Entering, Cycle, Pivot;
    for (int K = 0; K < Reps; ++K) {
        LoadProblem(*Store, Problem);
        const TSteps Steps = RunSteps(*Store);
        Setup.push_back(Steps.Setup);
        Potentials.push_back(Steps.Potentials);
        Entering.push_back(Steps.Entering);
        Cycle.push_back(Steps.Cycle);
        Pivot.push_back(Steps.Pivot);
    }
    Row.Steps = {Median(Setup), Median(Potentials), Median(Entering), Median(Cycle), Median(Pivot)};
    LoadProblem(*Store, Problem);
    Row.Changes = RunChanges(*Store);

    Times.clear();
    for (int K = 0; K < PlainReps; ++K) {
        Row.Plain = RunPlain(Problem);
        if (Row.Plain.Pivots != Row.Ours.Pivots || Row.Plain.Outcome != Row.Ours.Outcome)
            throw std::runtime_error(Row.Name + ": the plain run differs from ours");
        Times.push_back(Row.Plain.Seconds);
    }
    Row.Plain.Seconds = Median(Times);

    Times.clear();
    std::vector<double> RunTimes;
    double LemonCost = 0.0;
    for (int K = 0; K < Reps; ++K) {
        const TLemonRun Run = RunLemon(Problem, BenchCase.Divisor);
        Times.push_back(Run.Seconds);
        RunTimes.push_back(Run.RunSeconds);
        LemonCost = Run.Cost;
    }
    Row.LemonSeconds = Median(Times);
    Row.LemonRunSeconds = Median(RunTimes);

    const double Reference = ReferenceOptimalCost(Problem);
    if (!RelativelyEqual(LemonCost, Reference))
        throw std::runtime_error(Row.Name + ": LEMON's cost differs from the reference");
    if (Row.Ours.Outcome == TOutcome::Optimal && !RelativelyEqual(Row.OursCost, Reference))
        throw std::runtime_error(Row.Name + ": an optimal plan that is not optimal");
    if (Row.Ours.Outcome == TOutcome::Looping && Row.OursCost < Reference * (1 - 1e-9))
        throw std::runtime_error(Row.Name + ": a plan cheaper than the optimum");
    return Row;
}

double PerPivotUs(double Seconds, int Pivots) {
    return Pivots > 0 ? Seconds / Pivots * 1e6 : 0.0;
}

void Print(const std::vector<TRow>& Rows, std::uint32_t Seed, int Reps, int PlainReps) {
    std::printf("kelvor-solver-bench: seed %u, medians of %d runs (plain %d), times in ms\n\n",
                Seed, Reps, PlainReps);
    std::printf("%-16s %6s %-8s %10s %9s %11s %9s %9s %9s %10s %12s\n", "problem", "pivots",
                "outcome", "ours_ms", "us/pivot", "plain_ms", "us/pivot", "lemon_ms", "lemon_run",
                "ours/lemon", "plain/ours");
    for (const TRow& R : Rows)
        std::printf("%-16s %6d %-8s %10.3f %9.2f %11.3f %9.2f %9.3f %9.3f %10.2f %12.2f\n",
                    R.Name.c_str(), R.Ours.Pivots, OutcomeName(R.Ours.Outcome),
                    R.Ours.Seconds * 1e3, PerPivotUs(R.Ours.Seconds, R.Ours.Pivots),
                    R.Plain.Seconds * 1e3, PerPivotUs(R.Plain.Seconds, R.Plain.Pivots),
                    R.LemonSeconds * 1e3, R.LemonRunSeconds * 1e3, R.Ours.Seconds / R.LemonSeconds,
                    R.Plain.Seconds / R.Ours.Seconds);
    std::printf("\nours step by step: setup (check, balance, initial plan) in ms, then us per "
                "pivot\n%-16s %8s %11s %9s %9s %9s\n",
                "problem", "setup_ms", "potentials", "entering", "cycle", "pivot");
    for (const TRow& R : Rows) {
        const double P = std::max(R.Ours.Pivots, 1);
        std::printf("%-16s %8.3f %11.2f %9.2f %9.2f %9.2f\n", R.Name.c_str(), R.Steps.Setup * 1e3,
                    R.Steps.Potentials / P * 1e6, R.Steps.Entering / P * 1e6,
                    R.Steps.Cycle / P * 1e6, R.Steps.Pivot / P * 1e6);
    }
    std::printf("\nchanged by one pivot, mean fraction: rows, columns, cells to price again\n");
    for (const TRow& R : Rows)
        std::printf("%-16s %9.3f %9.3f %9.3f\n", R.Name.c_str(), R.Changes.Rows, R.Changes.Cols,
                    R.Changes.Cells);
    std::printf("\n");
    for (const TRow& R : Rows) {
        const char* N = R.Name.c_str();
        const double P = std::max(R.Ours.Pivots, 1);
        std::printf("%s.pivots %d\n", N, R.Ours.Pivots);
        std::printf("%s.outcome %s\n", N, OutcomeName(R.Ours.Outcome));
        std::printf("%s.total_cost %.17g\n", N, R.OursCost);
        std::printf("%s.ours_ms %.3f\n", N, R.Ours.Seconds * 1e3);
        std::printf("%s.ours_us_per_pivot %.3f\n", N, PerPivotUs(R.Ours.Seconds, R.Ours.Pivots));
        std::printf("%s.plain_ms %.3f\n", N, R.Plain.Seconds * 1e3);
        std::printf("%s.setup_ms %.3f\n", N, R.Steps.Setup * 1e3);
        std::printf("%s.potentials_us_per_pivot %.3f\n", N, R.Steps.Potentials / P * 1e6);
        std::printf("%s.entering_us_per_pivot %.3f\n", N, R.Steps.Entering / P * 1e6);
        std::printf("%s.cycle_us_per_pivot %.3f\n", N, R.Steps.Cycle / P * 1e6);
        std::printf("%s.pivot_us_per_pivot %.3f\n", N, R.Steps.Pivot / P * 1e6);
        std::printf("%s.changed_rows %.4f\n", N, R.Changes.Rows);
        std::printf("%s.changed_cols %.4f\n", N, R.Changes.Cols);
        std::printf("%s.changed_cells %.4f\n", N, R.Changes.Cells);
        std::printf("%s.lemon_ms %.3f\n", N, R.LemonSeconds * 1e3);
        std::printf("%s.lemon_run_ms %.3f\n", N, R.LemonRunSeconds * 1e3);
        std::printf("%s.ours_over_lemon %.3f\n", N, R.Ours.Seconds / R.LemonSeconds);
        std::printf("%s.plain_over_ours %.3f\n", N, R.Plain.Seconds / R.Ours.Seconds);
    }
}

struct TStartRow {
    int Size = 0;
    std::uint32_t Seed = 0;
    TStart Start = TStart::NorthWest;
    TRun Whole;
    double PlanSeconds = 0.0;
};

// One start on one problem: medians of Reps whole calculations and of Reps plans alone; the
// plan of an optimal run must cost the reference optimum, any other no less.
TStartRow MeasureStart(TCalc& Store, const TProblem& Problem, double Reference, TStart Start,
                       int Reps) {
    TStartRow Row;
    Row.Start = Start;
    std::vector<double> Whole, Plan;
    for (int K = 0; K < Reps; ++K) {
        LoadProblem(Store, Problem);
        Row.Whole = RunWorker({Start});
        Whole.push_back(Row.Whole.Seconds);
        const double Cost = Store.TotalCost();
        if (Row.Whole.Outcome == TOutcome::Optimal ? !RelativelyEqual(Cost, Reference)
                                                   : Cost < Reference * (1 - 1e-9))
            throw std::runtime_error(std::string(StartOption(Start)) + ": a cost of " +
                                     std::to_string(Cost) + " against the optimum " +
                                     std::to_string(Reference));
        LoadProblem(Store, Problem);
        Store.Balance();
        const auto Began = Clock::now();
        Store.InitialPlan(Start);
        Plan.push_back(SecondsSince(Began));
    }
    Row.Whole.Seconds = Median(Whole);
    Row.PlanSeconds = Median(Plan);
    return Row;
}

std::vector<TStartRow> MeasureStarts(int Reps) {
    std::unique_ptr<TCalc> Store(new TCalc);
    Calc = Store.get();
    std::vector<TStartRow> Rows;
    for (const int Size : {300, 500})
        for (std::uint32_t Seed = 1; Seed <= 10; ++Seed) {
            const TProblem Problem = RandomProblem(Seed, Size, Size, 5);
            const double Reference = ReferenceOptimalCost(Problem);
            for (const TStart Start : AllStarts) {
                Rows.push_back(MeasureStart(*Store, Problem, Reference, Start, Reps));
                Rows.back().Size = Size;
                Rows.back().Seed = Seed;
            }
            std::fprintf(stderr, "starts %dx%d seed %u done\n", Size, Size, Seed);
        }
    return Rows;
}

void PrintStarts(const std::vector<TStartRow>& Rows, int Reps) {
    std::printf("starting plans: the random fill's default problems (maxima 5), seeds 1-10, "
                "medians of %d runs, times in ms; every optimum checked against the reference\n\n",
                Reps);
    std::printf("%-8s %4s %-11s %-8s %6s %9s %10s\n", "problem", "seed", "start", "outcome",
                "pivots", "plan_ms", "whole_ms");
    for (const TStartRow& R : Rows)
        std::printf("%dx%-4d %4u %-11s %-8s %6d %9.3f %10.3f\n", R.Size, R.Size, R.Seed,
                    StartOption(R.Start), OutcomeName(R.Whole.Outcome), R.Whole.Pivots,
                    R.PlanSeconds * 1e3, R.Whole.Seconds * 1e3);
    std::printf("\nover the ten seeds: optimal runs, pivots median (min-max), plan and whole "
                "calculation medians in ms\n%-8s %-11s %7s %16s %9s %10s\n",
                "problem", "start", "optimal", "pivots", "plan_ms", "whole_ms");
    for (const int Size : {300, 500})
        for (const TStart Start : AllStarts) {
            int Optimal = 0;
            std::vector<double> Pivots, Plan, Whole;
            for (const TStartRow& R : Rows)
                if (R.Size == Size && R.Start == Start) {
                    Optimal += R.Whole.Outcome == TOutcome::Optimal;
                    Pivots.push_back(R.Whole.Pivots);
                    Plan.push_back(R.PlanSeconds);
                    Whole.push_back(R.Whole.Seconds);
                }
            const auto [Least, Most] = std::minmax_element(Pivots.begin(), Pivots.end());
            std::printf("%dx%-4d %-11s %4d/%-2zu %6.0f (%3.0f-%3.0f) %9.3f %10.3f\n", Size, Size,
                        StartOption(Start), Optimal, Pivots.size(), Median(Pivots), *Least, *Most,
                        Median(Plan) * 1e3, Median(Whole) * 1e3);
        }
}

struct TRecordRow {
    std::string Name;
    TRun Without, With;
    std::size_t RecordBytes = 0, ReportBytes = 0;
    double FirstSeconds = 0.0, ReportSeconds = 0.0;
};

TRecordRow MeasureRecord(const TBenchCase& BenchCase, std::uint32_t Seed, int Reps) {
    TRecordRow Row;
    Row.Name = CaseName(BenchCase);
    const TProblem Problem = BenchProblem(Seed, BenchCase);
    std::unique_ptr<TCalc> Store(new TCalc);
    Calc = Store.get();
    // Once with a new record, which grows its lists to the size of the run.
    LoadProblem(*Store, Problem);
    RunWorker();
    {
        TStepRecord First;
        LoadProblem(*Store, Problem);
        Row.FirstSeconds = RunWorker({TStart::NorthWest, &First}).Seconds;
    }
    TStepRecord Record;
    std::vector<double> Without, With, Report;
    for (int K = 0; K < Reps; ++K) {
        LoadProblem(*Store, Problem);
        Row.Without = RunWorker();
        Without.push_back(Row.Without.Seconds);
        LoadProblem(*Store, Problem);
        Row.With = RunWorker({TStart::NorthWest, &Record});
        With.push_back(Row.With.Seconds);
        if (Row.With.Pivots != Row.Without.Pivots || Record.Pivots() != Row.With.Pivots)
            throw std::runtime_error(Row.Name + ": the recorded run differs");
    }
    Row.Without.Seconds = Median(Without);
    Row.With.Seconds = Median(With);
    Row.RecordBytes = Record.Bytes();
    for (int K = 0; K < std::min(Reps, 3); ++K) {
        const auto Start = Clock::now();
        const std::string Html = StepReportHtml(Record, Row.With.Outcome, Row.Name);
        Report.push_back(SecondsSince(Start));
        Row.ReportBytes = Html.size();
    }
    Row.ReportSeconds = Median(Report);
    return Row;
}

void PrintRecord(const std::vector<TRecordRow>& Rows, int Reps) {
    std::printf("the record of the steps: the worker without and with a record (reused), medians "
                "of %d runs, and once with a new record (first), times in ms; the HTML report of "
                "the recorded run\n\n",
                Reps);
    std::printf("%-16s %6s %-8s %10s %10s %10s %10s %10s %10s %10s\n", "problem", "pivots",
                "outcome", "plain_ms", "record_ms", "overhead_%", "first_ms", "record_MB",
                "report_ms", "report_MB");
    for (const TRecordRow& R : Rows)
        std::printf("%-16s %6d %-8s %10.3f %10.3f %10.2f %10.3f %10.2f %10.1f %10.2f\n",
                    R.Name.c_str(), R.With.Pivots, OutcomeName(R.With.Outcome),
                    R.Without.Seconds * 1e3, R.With.Seconds * 1e3,
                    (R.With.Seconds / R.Without.Seconds - 1) * 100, R.FirstSeconds * 1e3,
                    R.RecordBytes / 1e6, R.ReportSeconds * 1e3, R.ReportBytes / 1e6);
    std::printf("\n");
    for (const TRecordRow& R : Rows) {
        const char* N = R.Name.c_str();
        std::printf("%s.record_overhead_pct %.2f\n", N,
                    (R.With.Seconds / R.Without.Seconds - 1) * 100);
        std::printf("%s.record_first_ms %.3f\n", N, R.FirstSeconds * 1e3);
        std::printf("%s.record_bytes %zu\n", N, R.RecordBytes);
        std::printf("%s.report_ms %.1f\n", N, R.ReportSeconds * 1e3);
        std::printf("%s.report_bytes %zu\n", N, R.ReportBytes);
    }
}

int Count(const char* Text) {
    char* End = nullptr;
    const long Value = std::strtol(Text, &End, 10);
    if (*End != '\0' || Value < 0 || Value > 1000)
        throw std::invalid_argument(std::string("not a repetition count: ") + Text);
    return int(Value);
}

} // namespace

int main(int Argc, char** Argv) {
    int Reps = 5, PlainReps = 1;
    bool Quick = false, StartsOnly = false, RecordOnly = false;
    try {
        for (int K = 1; K < Argc; ++K) {
            const std::string Option = Argv[K];
            if (Option == "--reps" && K + 1 < Argc)
                Reps = std::max(Count(Argv[++K]), 1);
            else if (Option == "--plain-reps" && K + 1 < Argc)
                PlainReps = Count(Argv[++K]);
            else if (Option == "--quick")
                Quick = true;
            else if (Option == "--starts")
                StartsOnly = true;
            else if (Option == "--record")
                RecordOnly = true;
            else
                throw std::invalid_argument("usage: kelvor-solver-bench [--reps R] "
                                            "[--plain-reps R] [--quick] [--starts] [--record]");
        }
    } catch (const std::exception& Error) {
        std::fprintf(stderr, "kelvor-solver-bench: %s\n", Error.what());
        return 2;
    }

    constexpr std::uint32_t Seed = 20240611;
    std::vector<TBenchCase> BenchCases = {{100, 100, 5}, {100, 100, 9999}};
    if (!Quick)
        BenchCases.insert(BenchCases.end(), {{500, 500, 5},
                                             {500, 500, 9999},
                                             {500, 500, 201, 99999, true, 0},
                                             {500, 500, 201, 99999, true, 1},
                                             {500, 500, 9999, 0, false, 0, 8}});
    const bool Solver = !StartsOnly && !RecordOnly, Starts = !RecordOnly && (!Quick || StartsOnly),
               Records = !StartsOnly && !Quick;
    std::vector<TRow> Rows;
    std::vector<TStartRow> StartRows;
    std::vector<TRecordRow> RecordRows;
    try {
        for (const TBenchCase& BenchCase : Solver ? BenchCases : std::vector<TBenchCase>{}) {
            Rows.push_back(Measure(BenchCase, Seed, Reps, PlainReps));
            std::fprintf(stderr, "%s done\n", Rows.back().Name.c_str());
        }
        if (Starts)
            StartRows = MeasureStarts(Reps);
        for (const TBenchCase& BenchCase :
             Records ? std::vector<TBenchCase>{{500, 500, 9999}, {500, 500, 100}}
                     : std::vector<TBenchCase>{}) {
            RecordRows.push_back(MeasureRecord(BenchCase, Seed, Reps));
            std::fprintf(stderr, "record %s done\n", RecordRows.back().Name.c_str());
        }
    } catch (const std::exception& Error) {
        std::fprintf(stderr, "kelvor-solver-bench: %s\n", Error.what());
        return 1;
    }
    if (Solver) {
        Print(Rows, Seed, Reps, PlainReps);
        std::printf("\n");
    }
    if (!StartRows.empty()) {
        PrintStarts(StartRows, Reps);
        std::printf("\n");
    }
    if (!RecordRows.empty())
        PrintRecord(RecordRows, Reps);
    return 0;
}
