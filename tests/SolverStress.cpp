// kelvor-stress: many random problems of many shapes through the solver worker, every result
// checked.
//
// Problem K of a seed is built from its own generator (seed and K), so any one can be run again
// alone with --first K --count 1. Sizes 1..40 on either side, one problem in a hundred up to
// 200; stocks, demands and costs drawn from one of several shapes each: zeros, all equal, tiny
// ranges (heavy degeneracy), fractions, negative costs, costs up to 1e12, stocks far above or
// below demand. One problem in thirty is bad on purpose (a negative stock or demand, a number
// that is not finite, a cost whose total overflows) and must end Failed with a reason.
//
// Every run must end (at most 999 pivots, Looping only at the cap) with one of the four
// outcomes. An Optimal or Looping plan must ship every stock and demand (row and column sums
// within 1e-6 relative), have exactly M + N - 1 basic cells and no negative shipment; an
// Optimal one must also satisfy U + V = C on basic cells (1e-9 relative) and C - U - V >= -0.0001
// elsewhere, and cost what LEMON's optimum costs (1e-9 relative). A Looping plan must not cost
// less than the optimum. Prints the counts per outcome and the largest deviations; exit status 1
// on any violation.
//
// Options: --count N (default 10000), --seed S (default 1), --first K (default 0), --verbose.
#include "CalcUnit.h"
#include "LemonReference.h"
#include "PlanCheck.h"
#include "Problems.h"
#include "ThreadUnit.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Random = std::mt19937_64;

double Uniform(Random& R, double Low, double High) {
    return std::uniform_real_distribution<double>(Low, High)(R);
}

long long Whole(Random& R, long long Low, long long High) {
    return std::uniform_int_distribution<long long>(Low, High)(R);
}

// The shapes a group of amounts can take.
std::vector<double> Amounts(Random& R, int Count, std::string& Shape) {
    std::vector<double> Values(Count);
    switch (Whole(R, 0, 5)) {
    case 0: {
        const long long Top = std::vector<long long>{1, 2, 5, 100, 1000000}[Whole(R, 0, 4)];
        Shape += "whole1.." + std::to_string(Top);
        for (double& V : Values)
            V = double(Whole(R, 1, Top));
        break;
    }
    case 1:
        Shape += "zeros";
        for (double& V : Values)
            V = Whole(R, 0, 2) == 0 ? 0.0 : double(Whole(R, 0, 9));
        break;
    case 2: {
        Shape += "equal";
        const double Same = double(Whole(R, 0, 20));
        for (double& V : Values)
            V = Same;
        break;
    }
    case 3:
        Shape += "fractions";
        for (double& V : Values)
            V = double(Whole(R, 0, 100000)) / 1000.0;
        break;
    case 4:
        Shape += "reals";
        for (double& V : Values)
            V = Uniform(R, 0.0, 50.0);
        break;
    default:
        Shape += "tiny_range";
        for (double& V : Values)
            V = 1000.0 + double(Whole(R, 0, 1));
        break;
    }
    return Values;
}

std::vector<double> Costs(Random& R, int Count, std::string& Shape) {
    std::vector<double> Values(Count);
    switch (Whole(R, 0, 6)) {
    case 0:
        Shape += "whole1..9999";
        for (double& V : Values)
            V = double(Whole(R, 1, 9999));
        break;
    case 1: {
        Shape += "equal";
        const double Same = double(Whole(R, -5, 5));
        for (double& V : Values)
            V = Same;
        break;
    }
    case 2:
        Shape += "tiny_range";
        for (double& V : Values)
            V = double(Whole(R, 1, 2));
        break;
    case 3:
        Shape += "negative";
        for (double& V : Values)
            V = double(Whole(R, -50, 50));
        break;
    case 4:
        Shape += "fractions";
        for (double& V : Values)
            V = double(Whole(R, -10000, 10000)) / 100.0;
        break;
    case 5:
        Shape += "up_to_1e12";
        for (double& V : Values)
            V = double(Whole(R, 0, 1000000000000LL));
        break;
    default:
        Shape += "reals";
        for (double& V : Values)
            V = Uniform(R, -1000.0, 1000.0);
        break;
    }
    return Values;
}

struct TCase {
    TProblem Problem;
    std::string Shape;
    bool Bad = false;
};

TCase MakeCase(std::uint64_t Seed, std::uint64_t Index) {
    Random R(Seed * 0x9E3779B97F4A7C15ull + Index);
    TCase Case;
    const bool Large = Whole(R, 0, 99) == 0;
    const int M = int(Whole(R, 1, Large ? 200 : 40)), N = int(Whole(R, 1, Large ? 200 : 40));
    Case.Shape = std::to_string(M) + "x" + std::to_string(N) + " stocks:";
    TProblem& P = Case.Problem;
    P.M = M;
    P.N = N;
    P.A = Amounts(R, M, Case.Shape);
    Case.Shape += " demands:";
    P.B = Amounts(R, N, Case.Shape);
    // Stocks far above or below demand.
    switch (Whole(R, 0, 5)) {
    case 0:
        Case.Shape += " stocks_x1000";
        for (double& V : P.A)
            V *= 1000.0;
        break;
    case 1:
        Case.Shape += " demands_x1000";
        for (double& V : P.B)
            V *= 1000.0;
        break;
    default:
        break;
    }
    Case.Shape += " costs:";
    P.C = Costs(R, M * N, Case.Shape);

    if (Whole(R, 0, 29) == 0) {
        Case.Bad = true;
        const double Inf = std::numeric_limits<double>::infinity();
        switch (Whole(R, 0, 4)) {
        case 0:
            Case.Shape += " BAD:negative_stock";
            P.A[Whole(R, 0, M - 1)] = -double(Whole(R, 1, 10));
            break;
        case 1:
            Case.Shape += " BAD:negative_demand";
            P.B[Whole(R, 0, N - 1)] = -0.5;
            break;
        case 2:
            Case.Shape += " BAD:nan_cost";
            P.C[Whole(R, 0, M * N - 1)] = std::nan("");
            break;
        case 3:
            Case.Shape += " BAD:infinite_amount";
            (Whole(R, 0, 1) == 0 ? P.A[0] : P.B[0]) = Inf;
            break;
        default:
            Case.Shape += " BAD:overflowing_cost";
            P.A[0] = 1e6 + P.A[0];
            P.C[Whole(R, 0, M * N - 1)] = 1e306;
            break;
        }
    }
    return Case;
}

struct TDeviations {
    TPlanDeviations Plan;    // the plan checker's largest deviations
    double Cost = 0.0;       // largest |cost - optimum| / |optimum| of an Optimal run
    double LoopingGap = 0.0; // largest (cost - optimum) / |optimum| of a Looping run
    int LargestPivots = 0;
};

class TChecker {
public:
    TChecker(bool Verbose) : Verbose_(Verbose) {}

    void Violation(std::uint64_t Index, const TCase& Case, const std::string& What) {
        ++Violations;
        if (Violations <= 50 || Verbose_)
            std::printf("VIOLATION problem %llu (%s): %s\n", (unsigned long long)Index,
                        Case.Shape.c_str(), What.c_str());
    }

    // The plan the worker left: a feasible spanning-tree basis; for an optimal one also
    // consistent potentials and no cell worth a pivot. Returns the plan's total cost.
    double CheckPlan(std::uint64_t Index, const TCase& Case, const TCalc& Store, bool Optimal) {
        const TPlanCheck Plan = ::CheckPlan(Store, Optimal);
        if (!Plan.Fault.empty())
            Violation(Index, Case, Plan.Fault);
        Max.Plan.Sums = std::max(Max.Plan.Sums, Plan.Deviations.Sums);
        Max.Plan.Potentials = std::max(Max.Plan.Potentials, Plan.Deviations.Potentials);
        Max.Plan.Reduced = std::min(Max.Plan.Reduced, Plan.Deviations.Reduced);
        return Store.TotalCost();
    }

    long long Violations = 0;
    long long Optimal = 0, Looping = 0, Aborted = 0, Failed = 0, FailedAsExpected = 0;
    TDeviations Max;

private:
    bool Verbose_;
};

std::uint64_t Number(const char* Text, const char* What) {
    char* End = nullptr;
    const unsigned long long Value = std::strtoull(Text, &End, 10);
    if (End == Text || *End != '\0' || Text[0] == '-')
        throw std::invalid_argument(std::string(What) + " is not a whole number: " + Text);
    return Value;
}

} // namespace

int main(int Argc, char** Argv) {
    std::uint64_t Count = 10000, Seed = 1, First = 0;
    bool Verbose = false;
    try {
        for (int K = 1; K < Argc; ++K) {
            const std::string Option = Argv[K];
            if (Option == "--count" && K + 1 < Argc)
                Count = Number(Argv[++K], "the count");
            else if (Option == "--seed" && K + 1 < Argc)
                Seed = Number(Argv[++K], "the seed");
            else if (Option == "--first" && K + 1 < Argc)
                First = Number(Argv[++K], "the first problem");
            else if (Option == "--verbose")
                Verbose = true;
            else
                throw std::invalid_argument(
                    "usage: kelvor-stress [--count N] [--seed S] [--first K] [--verbose]");
        }
    } catch (const std::exception& Error) {
        std::fprintf(stderr, "kelvor-stress: %s\n", Error.what());
        return 2;
    }

    std::unique_ptr<TCalc> Store(new TCalc);
    Calc = Store.get();
    TChecker Check(Verbose);
    const auto Start = std::chrono::steady_clock::now();
    for (std::uint64_t Index = First; Index < First + Count; ++Index) {
        const TCase Case = MakeCase(Seed, Index);
        if (Verbose)
            std::printf("problem %llu: %s\n", (unsigned long long)Index, Case.Shape.c_str());
        LoadProblem(*Store, Case.Problem);
        // A run that never ends hangs here; the caller's time limit catches it.
        const TCalcRun Out = RunCalculation();
        Check.Max.LargestPivots = std::max(Check.Max.LargestPivots, Out.Pivots);
        if (Out.Pivots < 0 || Out.Pivots > MaxIterations)
            Check.Violation(Index, Case, "pivots beyond the cap: " + std::to_string(Out.Pivots));
        if (Out.Outcome == TOutcome::Failed) {
            ++Check.Failed;
            if (Out.FailReason.empty())
                Check.Violation(Index, Case, "Failed without a reason");
            if (Case.Bad)
                ++Check.FailedAsExpected;
            else
                Check.Violation(Index, Case, "a good problem Failed: " + Out.FailReason);
            continue;
        }
        if (Case.Bad) {
            Check.Violation(Index, Case, "a bad problem did not end Failed");
            continue;
        }
        if (Out.Outcome == TOutcome::Aborted) {
            ++Check.Aborted;
            Check.Violation(Index, Case, "Aborted without a termination request");
            continue;
        }
        const bool Looping = Out.Outcome == TOutcome::Looping;
        if (Looping) {
            ++Check.Looping;
            if (Out.Pivots != MaxIterations)
                Check.Violation(Index, Case, "Looping before the cap");
        } else {
            ++Check.Optimal;
            if (Out.Pivots >= MaxIterations)
                Check.Violation(Index, Case, "Optimal after the last pivot the cap allows");
        }
        const double Cost = Check.CheckPlan(Index, Case, *Store, !Looping);
        const double Optimum = ReferenceOptimalCost(Case.Problem);
        const double Scale = std::max(std::fabs(Optimum), std::fabs(Cost));
        const double Dev = Scale > 0 ? (Cost - Optimum) / Scale : 0.0;
        if (Looping) {
            Check.Max.LoopingGap = std::max(Check.Max.LoopingGap, Dev);
            if (Dev < -1e-9)
                Check.Violation(Index, Case, "a Looping plan cheaper than the optimum");
        } else {
            Check.Max.Cost = std::max(Check.Max.Cost, std::fabs(Dev));
            if (std::fabs(Dev) > 1e-9)
                Check.Violation(Index, Case,
                                "cost " + std::to_string(Cost) + " but the optimum is " +
                                    std::to_string(Optimum));
        }
    }
    const double Seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();

    std::printf("kelvor-stress: problems %llu..%llu of seed %llu in %.1f s\n",
                (unsigned long long)First, (unsigned long long)(First + Count - 1),
                (unsigned long long)Seed, Seconds);
    std::printf("outcome_optimal %lld\noutcome_looping %lld\noutcome_aborted %lld\n"
                "outcome_failed %lld\nfailed_bad_problems %lld\n",
                Check.Optimal, Check.Looping, Check.Aborted, Check.Failed, Check.FailedAsExpected);
    std::printf("largest_pivots %d\n", Check.Max.LargestPivots);
    std::printf("max_sum_deviation %.3g\n", Check.Max.Plan.Sums);
    std::printf("max_potential_deviation %.3g\n", Check.Max.Plan.Potentials);
    std::printf("min_reduced_cost %.3g\n", Check.Max.Plan.Reduced);
    std::printf("max_cost_deviation %.3g\n", Check.Max.Cost);
    std::printf("max_looping_cost_gap %.3g\n", Check.Max.LoopingGap);
    std::printf("violations %lld\n", Check.Violations);
    return Check.Violations == 0 ? 0 : 1;
}
