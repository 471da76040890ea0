// kelvor-solver-bench: the solver's speed on fixed-seed random problems, beside a literal
// potentials step and beside LEMON's network simplex.
//
// For each problem (the program's random fill, seed, sizes and maxima fixed) it times:
//   ours     one whole calculation through the worker TNoShowCalc, as kelvor-solve runs it;
//   literal  the same calculation on this thread with the potentials step done as its
//            description words it (the scan restarting at the first entry after every new
//            potential, the index sum after every step) and a plain scalar entering-cell scan;
//            the balance, initial plan, cycle and pivot steps are the store's own;
//   lemon    LEMON's NetworkSimplex (int data, block-search pivots) solving the same balanced
//            problem completely: graph building and run.
// Each figure is the median of several runs. Before timing, one checked run steps the store and
// the literal step side by side and demands the same potentials bit for bit, the same entering
// cells, pivots and outcome; the optimal costs are checked against the reference solver. A
// further run times each of the store's steps on its own, to show where the time goes.
// Besides the random fill as the program makes it (costs 1..max), two 500 x 500 problems with
// costs 100000..100200 (hi200): one balanced, one with a unit more stock (+1), whose dummy
// consumer's zero costs lie far below the rest; and one with costs in eighths (max9999/8), which
// no whole-number table holds.
//
// Options: --reps R (default 5), --literal-reps R (default 3; 0 leaves the literal step out,
// checks included), --quick (100 x 100 only).
#include "CalcUnit.h"
#include "LemonReference.h"
#include "RandomGen.h"
#include "TaskLoop.h"
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
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point Start) {
    return std::chrono::duration<double>(Clock::now() - Start).count();
}

double Median(std::vector<double> Values) {
    if (Values.empty())
        return std::nan("");
    std::sort(Values.begin(), Values.end());
    const std::size_t Mid = Values.size() / 2;
    return Values.size() % 2 == 1 ? Values[Mid] : (Values[Mid - 1] + Values[Mid]) / 2.0;
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

// The program's random fill: stocks, then demands, then costs row by row, each 1..max.
TReferenceProblem RandomProblem(std::uint32_t Seed, const TBenchCase& BenchCase) {
    RandomState = Seed;
    TReferenceProblem P{BenchCase.M, BenchCase.N, {}, {}, {}};
    for (int I = 0; I < BenchCase.M; ++I)
        P.A.push_back(RandomBelow(BenchCase.Max) + 1);
    for (int J = 0; J < BenchCase.N; ++J)
        P.B.push_back(RandomBelow(BenchCase.Max) + 1);
    for (int K = 0; K < BenchCase.M * BenchCase.N; ++K)
        P.C.push_back(double(BenchCase.Base + RandomBelow(BenchCase.Max) + 1) / BenchCase.Divisor);
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

void Load(TCalc& Store, const TReferenceProblem& P) {
    Store.M = P.M;
    Store.N = P.N;
    for (int I = 1; I <= P.M; ++I)
        Store.SetA(I, P.A[I - 1]);
    for (int J = 1; J <= P.N; ++J)
        Store.SetB(J, P.B[J - 1]);
    for (int I = 1; I <= P.M; ++I)
        for (int J = 1; J <= P.N; ++J)
            Store.SetC(I, J, P.C[std::size_t(I - 1) * P.N + (J - 1)]);
}

enum class TOutcome { Optimal, Looping, Aborted, Failed };

const char* OutcomeName(TOutcome Outcome) {
    switch (Outcome) {
    case TOutcome::Optimal:
        return "Optimal";
    case TOutcome::Looping:
        return "Looping";
    case TOutcome::Aborted:
        return "Aborted";
    case TOutcome::Failed:
        return "Failed";
    }
    return "?";
}

struct TRun {
    int Pivots = 0;
    TOutcome Outcome = TOutcome::Failed;
    double Seconds = 0.0;
};

// One whole calculation through the worker, timed from its creation to its notification.
TRun RunWorker(TTaskLoop& Loop) {
    TRun Run;
    bool Done = false;
    Clock::time_point Finish;
    const auto Start = Clock::now();
    new TNoShowCalc([&](TThread* Sender) {
        Finish = Clock::now();
        const auto* Worker = static_cast<TNoShowCalc*>(Sender);
        Run.Pivots = Worker->Pivots;
        Run.Outcome = Worker->Failed    ? TOutcome::Failed
                      : Worker->Aborted ? TOutcome::Aborted
                      : Worker->Looping ? TOutcome::Looping
                                        : TOutcome::Optimal;
        Done = true;
    });
    Loop.Process([&Done] { return Done; }, std::chrono::hours(1));
    while (TThread::LiveCount() > 0)
        std::this_thread::yield();
    Run.Seconds = std::chrono::duration<double>(Finish - Start).count();
    return Run;
}

// The potentials step exactly as described: a basic-cell list with row and column indexes set
// to 0 once known, a scan that restarts at the first entry after every new potential, and the
// sum of all indexes after every step of the scan. Fixed capacities, nothing allocated.
class TLiteralPotentials {
public:
    void Calc(const TCalc& Store) {
        const int M = Store.M, N = Store.N, Need = M + N - 1;
        int Count = 0;
        for (int I = 1; I <= M; ++I)
            for (int J = 1; J <= N; ++J)
                if (Store.GetX(I, J) > BasicThreshold) {
                    if (Count == Need)
                        throw std::runtime_error("literal potentials: too many basic cells");
                    Row_[Count + 1] = I;
                    Col_[Count + 1] = J;
                    Residual_[Count + 1] = Store.GetC(I, J);
                    ++Count;
                }
        if (Count != Need)
            throw std::runtime_error("literal potentials: too few basic cells");
        P_[1] = 0.0;
        for (int K = 1; K <= Need; ++K)
            if (Row_[K] == 1)
                Row_[K] = 0;
        int K = 0;
        for (;;) {
            K = K + 1;
            if (K > Need)
                throw std::runtime_error("literal potentials: the basis is not a spanning tree");
            if (Row_[K] > 0 && Col_[K] <= 0) {
                const int R = Row_[K];
                P_[R] = Residual_[K];
                for (int Q = 1; Q <= Need; ++Q)
                    if (Row_[Q] == R) {
                        Residual_[Q] = Residual_[Q] - P_[R];
                        Row_[Q] = 0;
                    }
                K = 0;
            } else if (Row_[K] <= 0 && Col_[K] > 0) {
                const int C = Col_[K];
                P_[M + C] = Residual_[K];
                for (int Q = 1; Q <= Need; ++Q)
                    if (Col_[Q] == C) {
                        Residual_[Q] = Residual_[Q] - P_[M + C];
                        Col_[Q] = 0;
                    }
                K = 0;
            }
            int Sum = 0;
            for (int Q = 1; Q <= Need; ++Q)
                Sum += Row_[Q] + Col_[Q];
            if (Sum == 0)
                break;
        }
        for (int I = 1; I <= M; ++I)
            U[I] = P_[I];
        for (int J = 1; J <= N; ++J)
            V[J] = P_[M + J];
    }

    double U[Capacity + 1]{}, V[Capacity + 1]{}; // 1-based

private:
    static constexpr int Entries = 2 * Capacity - 1;
    std::int32_t Row_[Entries + 1]{}, Col_[Entries + 1]{};
    double Residual_[Entries + 1]{};
    double P_[2 * Capacity + 1]{};
};

// The entering-cell rule as a plain scalar scan over a row-major copy of the costs.
void PlainEnteringCell(const TLiteralPotentials& P, const std::vector<double>& Costs, int M, int N,
                       int& Row, int& Col) {
    Row = 1;
    Col = 1;
    double Best = P.U[1] + P.V[1] - Costs[0];
    for (int I = 1; I <= M; ++I)
        for (int J = 1; J <= N; ++J) {
            const double D = P.U[I] + P.V[J] - Costs[std::size_t(I - 1) * N + (J - 1)];
            if (D > Best) {
                Best = D;
                Row = I;
                Col = J;
            }
        }
    if (Best < Tolerance) {
        Row = 0;
        Col = 0;
    }
}

std::vector<double> CostsOf(const TCalc& Store) {
    std::vector<double> Costs;
    for (int I = 1; I <= Store.M; ++I)
        for (int J = 1; J <= Store.N; ++J)
            Costs.push_back(Store.GetC(I, J));
    return Costs;
}

// The literal calculation on this thread: the worker's loop with the literal potentials step.
TRun RunLiteral(TCalc& Store, TLiteralPotentials& Literal) {
    TRun Run;
    const auto Start = Clock::now();
    Store.CheckProblem();
    Store.Balance();
    Store.InitialPlan();
    const std::vector<double> Costs = CostsOf(Store);
    int Row = 0, Col = 0;
    for (int Counter = MaxIterations; Counter > 0; --Counter) {
        Literal.Calc(Store);
        PlainEnteringCell(Literal, Costs, Store.M, Store.N, Row, Col);
        if (Row == 0 && Col == 0)
            break;
        Store.FindCycle(Row, Col);
        Store.SetX(Row, Col, 0.0);
        Store.Pivot();
        ++Run.Pivots;
    }
    Run.Seconds = SecondsSince(Start);
    Run.Outcome = Row == 0 && Col == 0 ? TOutcome::Optimal : TOutcome::Looping;
    return Run;
}

struct TChecked {
    TRun Run;
    double Cost = 0.0;
    double LiteralSeconds = 0.0; // the literal potentials step, summed over the calculation
};

bool SameBits(double X, double Y) {
    std::uint64_t Bx, By;
    std::memcpy(&Bx, &X, sizeof Bx);
    std::memcpy(&By, &Y, sizeof By);
    return Bx == By;
}

// The store's steps and the literal potentials side by side: the same potentials bit for bit
// and the same entering cells at every pivot.
TChecked RunChecked(TCalc& Store, TLiteralPotentials& Literal) {
    TChecked Result;
    Store.CheckProblem();
    Store.Balance();
    Store.InitialPlan();
    const std::vector<double> Costs = CostsOf(Store);
    int Row = 0, Col = 0;
    for (int Counter = MaxIterations; Counter > 0; --Counter) {
        Store.CalcPotentials();
        const auto Start = Clock::now();
        Literal.Calc(Store);
        Result.LiteralSeconds += SecondsSince(Start);
        for (int I = 1; I <= Store.M; ++I)
            if (!SameBits(Literal.U[I], Store.GetU(I)))
                throw std::runtime_error("literal U[" + std::to_string(I) + "] differs");
        for (int J = 1; J <= Store.N; ++J)
            if (!SameBits(Literal.V[J], Store.GetV(J)))
                throw std::runtime_error("literal V[" + std::to_string(J) + "] differs");
        Store.FindEnteringCell(Row, Col);
        int PlainRow = 0, PlainCol = 0;
        PlainEnteringCell(Literal, Costs, Store.M, Store.N, PlainRow, PlainCol);
        if (PlainRow != Row || PlainCol != Col)
            throw std::runtime_error("the plain entering cell differs");
        if (Row == 0 && Col == 0)
            break;
        Store.FindCycle(Row, Col);
        Store.SetX(Row, Col, 0.0);
        Store.Pivot();
        ++Result.Run.Pivots;
    }
    Result.Run.Outcome = Row == 0 && Col == 0 ? TOutcome::Optimal : TOutcome::Looping;
    Result.Cost = Store.TotalCost();
    return Result;
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

// A what-if for the entering-cell scan. The costs (2 MB of doubles at 500 x 500) are a little
// larger than a core's second-level cache here, so the full scan streams them from the third
// level at every pivot. This scan first prices every cell in single precision over a float copy
// of the costs (1 MB, stays in the second-level cache), with a bound E on how far a float d can
// lie from the double d; only rows whose float maximum comes within 2 E of the largest can hold
// the largest double d, and only those are priced again in double, in row-major order with the
// strict comparison. The result is the full scan's, bit for bit in the cell it names.
class TFilteredScan {
public:
    explicit TFilteredScan(const TCalc& Store)
        : M_(Store.M), N_(Store.N), Stride_((Store.N + 7) / 8 * 8),
          C_(std::size_t(Store.M) * Store.N),
          Cf_(std::size_t(Store.M) * Stride_, std::numeric_limits<float>::infinity()) {
        for (int I = 1; I <= M_; ++I)
            for (int J = 1; J <= N_; ++J) {
                const double Cost = Store.GetC(I, J);
                C_[std::size_t(I - 1) * N_ + (J - 1)] = Cost;
                Cf_[std::size_t(I - 1) * Stride_ + (J - 1)] = float(Cost);
                MaxC_ = std::max(MaxC_, std::fabs(Cost));
            }
        for (float& Vf : Vf_)
            Vf = -std::numeric_limits<float>::infinity();
    }

    void Find(const TCalc& Store, int& Row, int& Col) {
        double MaxU = 0.0, MaxV = 0.0;
        for (int I = 1; I <= M_; ++I) {
            U_[I - 1] = Store.GetU(I);
            MaxU = std::max(MaxU, std::fabs(U_[I - 1]));
        }
        for (int J = 1; J <= N_; ++J) {
            V_[J - 1] = Store.GetV(J);
            Vf_[J - 1] = float(V_[J - 1]);
            MaxV = std::max(MaxV, std::fabs(V_[J - 1]));
        }
        // Rounding U, V and C to float and the two float operations each move d by at most
        // 2^-24 of the largest magnitude involved; 8 of them leave room for the double's own.
        const double Sum = MaxU + MaxV + MaxC_;
        const double E = Sum * 8.0 * std::ldexp(1.0, -24);
        float Largest = -std::numeric_limits<float>::infinity();
        for (int I = 0; I < M_; ++I) {
            RowMaxF_[I] = RowMax(float(U_[I]), &Cf_[std::size_t(I) * Stride_]);
            Largest = std::max(Largest, RowMaxF_[I]);
        }
        double Best = -std::numeric_limits<double>::infinity();
        Row = 1;
        Col = 1;
        Candidates = 0;
        for (int I = 0; I < M_; ++I) {
            if (double(RowMaxF_[I]) + E < double(Largest) - E)
                continue;
            ++Candidates;
            const double* CostRow = &C_[std::size_t(I) * N_];
            for (int J = 0; J < N_; ++J) {
                const double D = (U_[I] + V_[J]) - CostRow[J];
                if (D > Best) {
                    Best = D;
                    Row = I + 1;
                    Col = J + 1;
                }
            }
        }
        if (Best < Tolerance) {
            Row = 0;
            Col = 0;
        }
    }

    long long Candidates = 0; // rows priced in double at the last call

private:
    typedef float F8 __attribute__((vector_size(32)));

    __attribute__((target_clones("avx2", "default"))) float RowMax(float U,
                                                                   const float* Row) const {
        constexpr float Low = -std::numeric_limits<float>::infinity();
        F8 M0 = {Low, Low, Low, Low, Low, Low, Low, Low}, M1 = M0;
        const F8 Uv = {U, U, U, U, U, U, U, U};
        int J = 0;
        for (; J + 16 <= Stride_; J += 16) {
            F8 V0, V1, C0, C1;
            std::memcpy(&V0, Vf_ + J, sizeof V0);
            std::memcpy(&V1, Vf_ + J + 8, sizeof V1);
            std::memcpy(&C0, Row + J, sizeof C0);
            std::memcpy(&C1, Row + J + 8, sizeof C1);
            const F8 D0 = (Uv + V0) - C0, D1 = (Uv + V1) - C1;
            M0 = D0 > M0 ? D0 : M0;
            M1 = D1 > M1 ? D1 : M1;
        }
        for (; J + 8 <= Stride_; J += 8) {
            F8 V0, C0;
            std::memcpy(&V0, Vf_ + J, sizeof V0);
            std::memcpy(&C0, Row + J, sizeof C0);
            const F8 D0 = (Uv + V0) - C0;
            M0 = D0 > M0 ? D0 : M0;
        }
        M0 = M1 > M0 ? M1 : M0;
        float Best = Low;
        for (int L = 0; L < 8; ++L)
            Best = M0[L] > Best ? M0[L] : Best;
        return Best;
    }

    int M_, N_, Stride_;
    double MaxC_ = 0.0;
    std::vector<double> C_;
    std::vector<float> Cf_; // padded rows; the padding costs +infinity
    double U_[Capacity]{}, V_[Capacity]{};
    float Vf_[Capacity + 8]{};
    float RowMaxF_[Capacity]{};
};

// The calculation with the filtered scan in place of the store's entering-cell step; Check
// runs the store's step beside it and demands the same cell (untimed: it would spoil the cache).
double RunFiltered(TCalc& Store, bool Check, TRun& Run, double& Candidates) {
    Store.CheckProblem();
    Store.Balance();
    Store.InitialPlan();
    TFilteredScan Scan(Store);
    double Seconds = 0.0;
    int Row = 0, Col = 0;
    Run = TRun{};
    for (int Counter = MaxIterations; Counter > 0; --Counter) {
        Store.CalcPotentials();
        const auto Start = Clock::now();
        Scan.Find(Store, Row, Col);
        Seconds += SecondsSince(Start);
        Candidates += double(Scan.Candidates);
        if (Check) {
            int StoreRow = 0, StoreCol = 0;
            Store.FindEnteringCell(StoreRow, StoreCol);
            if (StoreRow != Row || StoreCol != Col)
                throw std::runtime_error("the filtered scan picks another cell");
        }
        if (Row == 0 && Col == 0)
            break;
        Store.FindCycle(Row, Col);
        Store.SetX(Row, Col, 0.0);
        Store.Pivot();
        ++Run.Pivots;
    }
    Run.Outcome = Row == 0 && Col == 0 ? TOutcome::Optimal : TOutcome::Looping;
    return Seconds;
}

struct TLemonRun {
    double Seconds = 0.0, RunSeconds = 0.0, Cost = 0.0;
};

// LEMON's complete solve of the problem balanced as the program balances it.
// Costs given as whole numbers over Divisor, a power of two, go to LEMON times Divisor.
TLemonRun RunLemon(const TReferenceProblem& P, int Divisor) {
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
    TRun Ours, Literal;
    double OursCost = 0.0, LemonSeconds = 0.0, LemonRunSeconds = 0.0;
    TChecked Checked;
    TSteps Steps; // medians of each step's total
    TChanges Changes;
    double Filtered = 0.0;   // the filtered entering-cell scan, median total
    double Candidates = 0.0; // rows it priced in double, mean per pivot
};

bool RelativelyEqual(double X, double Y) {
    return std::fabs(X - Y) <= 1e-9 * std::max(1.0, std::max(std::fabs(X), std::fabs(Y)));
}

TRow Measure(const TBenchCase& BenchCase, std::uint32_t Seed, int Reps, int LiteralReps,
             TTaskLoop& Loop) {
    TRow Row;
    Row.Name = CaseName(BenchCase);
    const TReferenceProblem Problem = RandomProblem(Seed, BenchCase);
    std::unique_ptr<TCalc> Store(new TCalc);
    Calc = Store.get();
    TLiteralPotentials Literal;

    Load(*Store, Problem);
    if (LiteralReps > 0)
        Row.Checked = RunChecked(*Store, Literal);

    std::vector<double> Times;
    for (int K = 0; K < Reps; ++K) {
        Load(*Store, Problem);
        const TRun Run = RunWorker(Loop);
        if (LiteralReps > 0 &&
            (Run.Pivots != Row.Checked.Run.Pivots || Run.Outcome != Row.Checked.Run.Outcome))
            throw std::runtime_error(Row.Name + ": the worker's run differs from the checked one");
        Row.Ours = Run;
        Times.push_back(Run.Seconds);
    }
    Row.Ours.Seconds = Median(Times);
    Row.OursCost = Store->TotalCost();

    std::vector<double> Setup, Potentials, Entering, Cycle, Pivot;
    for (int K = 0; K < Reps; ++K) {
        Load(*Store, Problem);
        const TSteps Steps = RunSteps(*Store);
        Setup.push_back(Steps.Setup);
        Potentials.push_back(Steps.Potentials);
        Entering.push_back(Steps.Entering);
        Cycle.push_back(Steps.Cycle);
        Pivot.push_back(Steps.Pivot);
    }
    Row.Steps = {Median(Setup), Median(Potentials), Median(Entering), Median(Cycle), Median(Pivot)};
    Load(*Store, Problem);
    Row.Changes = RunChanges(*Store);
    {
        TRun Run;
        Load(*Store, Problem);
        double Candidates = 0.0;
        RunFiltered(*Store, true, Run, Candidates);
        if (Run.Pivots != Row.Ours.Pivots || Run.Outcome != Row.Ours.Outcome)
            throw std::runtime_error(Row.Name + ": the filtered run differs from ours");
        Row.Candidates = Candidates / (Run.Pivots + 1);
        std::vector<double> Filtered;
        for (int K = 0; K < Reps; ++K) {
            Load(*Store, Problem);
            Filtered.push_back(RunFiltered(*Store, false, Run, Candidates));
        }
        Row.Filtered = Median(Filtered);
    }

    Times.clear();
    for (int K = 0; K < LiteralReps; ++K) {
        Load(*Store, Problem);
        const TRun Run = RunLiteral(*Store, Literal);
        if (Run.Pivots != Row.Ours.Pivots || Run.Outcome != Row.Ours.Outcome)
            throw std::runtime_error(Row.Name + ": the literal run differs from ours");
        Row.Literal = Run;
        Times.push_back(Run.Seconds);
    }
    Row.Literal.Seconds = Median(Times);

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

void Print(const std::vector<TRow>& Rows, std::uint32_t Seed, int Reps, int LiteralReps) {
    std::printf("kelvor-solver-bench: seed %u, medians of %d runs (literal %d), times in ms\n\n",
                Seed, Reps, LiteralReps);
    std::printf("%-16s %6s %-8s %10s %9s %11s %9s %9s %9s %10s %12s\n", "problem", "pivots",
                "outcome", "ours_ms", "us/pivot", "literal_ms", "us/pivot", "lemon_ms", "lemon_run",
                "ours/lemon", "literal/ours");
    for (const TRow& R : Rows)
        std::printf("%-16s %6d %-8s %10.3f %9.2f %11.3f %9.2f %9.3f %9.3f %10.2f %12.2f\n",
                    R.Name.c_str(), R.Ours.Pivots, OutcomeName(R.Ours.Outcome),
                    R.Ours.Seconds * 1e3, PerPivotUs(R.Ours.Seconds, R.Ours.Pivots),
                    R.Literal.Seconds * 1e3, PerPivotUs(R.Literal.Seconds, R.Literal.Pivots),
                    R.LemonSeconds * 1e3, R.LemonRunSeconds * 1e3, R.Ours.Seconds / R.LemonSeconds,
                    R.Literal.Seconds / R.Ours.Seconds);
    std::printf("\nours step by step: setup (check, balance, initial plan) in ms, then us per "
                "pivot\n%-16s %8s %11s %9s %9s %9s %15s\n",
                "problem", "setup_ms", "potentials", "entering", "cycle", "pivot",
                "literal_potent.");
    for (const TRow& R : Rows) {
        const double P = std::max(R.Ours.Pivots, 1);
        std::printf("%-16s %8.3f %11.2f %9.2f %9.2f %9.2f %15.2f\n", R.Name.c_str(),
                    R.Steps.Setup * 1e3, R.Steps.Potentials / P * 1e6, R.Steps.Entering / P * 1e6,
                    R.Steps.Cycle / P * 1e6, R.Steps.Pivot / P * 1e6,
                    R.Checked.LiteralSeconds / P * 1e6);
    }
    std::printf(
        "\nchanged by one pivot, mean fraction: rows, columns, cells to price again; "
        "what-if: the entering scan filtered in float, us per pivot, rows priced in double\n");
    for (const TRow& R : Rows)
        std::printf("%-16s %9.3f %9.3f %9.3f %12.2f %9.1f\n", R.Name.c_str(), R.Changes.Rows,
                    R.Changes.Cols, R.Changes.Cells, R.Filtered / std::max(R.Ours.Pivots, 1) * 1e6,
                    R.Candidates);
    std::printf("\n");
    for (const TRow& R : Rows) {
        const char* N = R.Name.c_str();
        const double P = std::max(R.Ours.Pivots, 1);
        std::printf("%s.pivots %d\n", N, R.Ours.Pivots);
        std::printf("%s.outcome %s\n", N, OutcomeName(R.Ours.Outcome));
        std::printf("%s.total_cost %.17g\n", N, R.OursCost);
        std::printf("%s.ours_ms %.3f\n", N, R.Ours.Seconds * 1e3);
        std::printf("%s.ours_us_per_pivot %.3f\n", N, PerPivotUs(R.Ours.Seconds, R.Ours.Pivots));
        std::printf("%s.literal_ms %.3f\n", N, R.Literal.Seconds * 1e3);
        std::printf("%s.literal_us_per_pivot %.3f\n", N,
                    PerPivotUs(R.Literal.Seconds, R.Literal.Pivots));
        std::printf("%s.setup_ms %.3f\n", N, R.Steps.Setup * 1e3);
        std::printf("%s.potentials_us_per_pivot %.3f\n", N, R.Steps.Potentials / P * 1e6);
        std::printf("%s.entering_us_per_pivot %.3f\n", N, R.Steps.Entering / P * 1e6);
        std::printf("%s.cycle_us_per_pivot %.3f\n", N, R.Steps.Cycle / P * 1e6);
        std::printf("%s.pivot_us_per_pivot %.3f\n", N, R.Steps.Pivot / P * 1e6);
        std::printf("%s.literal_potentials_us_per_pivot %.3f\n", N,
                    R.Checked.LiteralSeconds / P * 1e6);
        std::printf("%s.changed_rows %.4f\n", N, R.Changes.Rows);
        std::printf("%s.changed_cols %.4f\n", N, R.Changes.Cols);
        std::printf("%s.changed_cells %.4f\n", N, R.Changes.Cells);
        std::printf("%s.filtered_entering_us_per_pivot %.3f\n", N, R.Filtered / P * 1e6);
        std::printf("%s.filtered_double_rows_per_pivot %.2f\n", N, R.Candidates);
        std::printf("%s.lemon_ms %.3f\n", N, R.LemonSeconds * 1e3);
        std::printf("%s.lemon_run_ms %.3f\n", N, R.LemonRunSeconds * 1e3);
        std::printf("%s.ours_over_lemon %.3f\n", N, R.Ours.Seconds / R.LemonSeconds);
        std::printf("%s.literal_over_ours %.3f\n", N, R.Literal.Seconds / R.Ours.Seconds);
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
    int Reps = 5, LiteralReps = 3;
    bool Quick = false;
    try {
        for (int K = 1; K < Argc; ++K) {
            const std::string Option = Argv[K];
            if (Option == "--reps" && K + 1 < Argc)
                Reps = std::max(Count(Argv[++K]), 1);
            else if (Option == "--literal-reps" && K + 1 < Argc)
                LiteralReps = Count(Argv[++K]);
            else if (Option == "--quick")
                Quick = true;
            else
                throw std::invalid_argument("usage: kelvor-solver-bench [--reps R] "
                                            "[--literal-reps R] [--quick]");
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
    TTaskLoop Loop;
    Loop.Install();
    std::vector<TRow> Rows;
    try {
        for (const TBenchCase& BenchCase : BenchCases) {
            Rows.push_back(Measure(BenchCase, Seed, Reps, LiteralReps, Loop));
            std::fprintf(stderr, "%s done\n", Rows.back().Name.c_str());
        }
    } catch (const std::exception& Error) {
        std::fprintf(stderr, "kelvor-solver-bench: %s\n", Error.what());
        return 1;
    }
    TTaskLoop::Uninstall();
    Print(Rows, Seed, Reps, LiteralReps);
    return 0;
}
