// kelvor-solve: one whole calculation through the solver worker, for developers and benchmarks.
// Reads the problem from the file named on the command line, or from standard input without a
// name or with "-", in any layout that ProblemFile.h reads; or builds it with the program's
// random fill (--random SEED M N MAXA MAXB MAXC). --write OUT saves that problem first, as a
// table (OUT ending in .csv) or a linear program (.lp). It solves from the start --start names,
// the north-west corner unless told otherwise. Then it prints the outcome, the sizes as the
// calculation left them, the total cost, the time and the plan; with --steps one line for each
// pivot the calculation made, and with --report FILE it writes the report of its steps.
#include "CalcUnit.h"
#include "ProblemFile.h"
#include "RandomGen.h"
#include "StepReport.h"
#include "TextUnit.h"
#include "ThreadUnit.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace {

struct TUsageError {
    std::string Text;
};

int ReadWhole(const std::string& Word, const char* What, int Largest) {
    std::int32_t Value = 0;
    if (!TextToInt(Word, Value))
        throw TUsageError{std::string(What) + " is not a whole number: " + Word};
    if (Value < 1 || Value > Largest)
        throw TUsageError{std::string(What) + " must lie within 1.." + std::to_string(Largest) +
                          ": " + Word};
    return Value;
}

int ReadSize(const std::string& Word, const char* What) {
    return ReadWhole(Word, What, MaxSize);
}

// The program's random fill, in its draw order.
TProblem RandomFromArguments(char** Args) {
    std::int32_t Seed = 0;
    if (!TextToInt(Args[0], Seed))
        throw TUsageError{std::string("SEED is not a whole number: ") + Args[0]};
    const int M = ReadSize(Args[1], "M");
    const int N = ReadSize(Args[2], "N");
    int Max[3];
    for (int K = 0; K < 3; ++K)
        Max[K] = ReadWhole(Args[3 + K], "a maximum", MaxRange);
    return RandomProblem(static_cast<std::uint32_t>(Seed), M, N, Max[0], Max[1], Max[2]);
}

const char* const Usage =
    "usage: kelvor-solve [FILE | - | --random SEED M N MAXA MAXB MAXC] [--write OUT.csv|OUT.lp] "
    "[--start north-west|least-cost|vogel] [--steps] [--report FILE.html]";

TStart ReadStart(const std::string& Word) {
    TStart Start = TStart::NorthWest;
    if (!StartFromOption(Word, Start))
        throw TUsageError{"--start must be north-west, least-cost or vogel: " + Word};
    return Start;
}

// A file name that ends in Suffix after at least one character of its own.
bool EndsWith(const std::string& Text, std::string_view Suffix) {
    return Text.size() > Suffix.size() && Text.ends_with(Suffix);
}

// What the command line asks for.
struct TArguments {
    TProblem Problem;
    std::string Name; // of the problem, in the report
    TStart Start = TStart::NorthWest;
    bool Steps = false;
    std::string Report;
};

// The problem the arguments name, saved to --write's file when one is given, and what to do with
// it.
TArguments ReadArguments(int Argc, char** Argv) {
    TArguments Out;
    std::string File, Write;
    char** Random = nullptr;
    bool StartGiven = false;
    for (int K = 1; K < Argc; ++K) {
        const std::string Arg = Argv[K];
        if (Arg == "--random" && K + 6 < Argc && !Random && File.empty()) {
            Random = Argv + K + 1;
            K += 6;
        } else if (Arg == "--write" && K + 1 < Argc && Write.empty())
            Write = Argv[++K];
        else if (Arg == "--start" && K + 1 < Argc && !StartGiven) {
            Out.Start = ReadStart(Argv[++K]);
            StartGiven = true;
        } else if (Arg == "--steps" && !Out.Steps)
            Out.Steps = true;
        else if (Arg == "--report" && K + 1 < Argc && Out.Report.empty())
            Out.Report = Argv[++K];
        else if ((Arg == "-" || Arg.rfind("-", 0) != 0) && File.empty() && !Random)
            File = Arg;
        else
            throw TUsageError{Usage};
    }
    if (!Write.empty() && !EndsWith(Write, ".csv") && !EndsWith(Write, ".lp"))
        throw TUsageError{"--write: OUT must end in .csv or .lp: " + Write};
    if (Random) {
        Out.Problem = RandomFromArguments(Random);
        Out.Name = "random fill, seed " + std::string(Random[0]) + ", " + Random[1] + " x " +
                   Random[2] + ", maxima " + Random[3] + ", " + Random[4] + ", " + Random[5];
    } else {
        const bool Stdin = File.empty() || File == "-";
        Out.Problem = ReadProblemFile(Stdin ? "/dev/stdin" : File);
        Out.Name = Stdin ? "standard input" : File;
    }
    if (!Write.empty())
        WriteFileSafely(Write, EndsWith(Write, ".lp") ? ProblemLpText(Out.Problem)
                                                      : ProblemTableText(Out.Problem));
    return Out;
}

// One line for each pivot: what it chose, and the total after it.
void PrintSteps(const TStepRecord& Record) {
    if (!Record.Recorded())
        return;
    TStepPlan Plan(Record);
    for (int K = 1; K <= Record.Pivots(); ++K) {
        Plan.Go(K);
        const TStepRecord::TPivot& Step = Record.Pivot(K);
        std::printf("step %d enter %d %d gain %.17g cycle %d theta %.17g leave %d %d total %.17g\n",
                    K, Step.Entering.Row, Step.Entering.Col, Step.Gain, Step.CycleLength,
                    Step.Theta, Step.Leaving.Row, Step.Leaving.Col, Plan.Total());
    }
}

} // namespace

int main(int Argc, char** Argv) {
    std::unique_ptr<TCalc> Store(new TCalc);
    Calc = Store.get();
    TArguments Args;
    try {
        Args = ReadArguments(Argc, Argv);
        LoadProblem(*Store, Args.Problem);
    } catch (const TUsageError& Error) {
        std::fprintf(stderr, "kelvor-solve: %s\n", Error.Text.c_str());
        return 2;
    } catch (const TFileError& Error) {
        std::fprintf(stderr, "kelvor-solve: %s\n", Error.what());
        return 2;
    }

    TStepRecord Record;
    const bool Recording = Args.Steps || !Args.Report.empty();
    const TCalcRun Out = RunCalculation(nullptr, {Args.Start, Recording ? &Record : nullptr});
    const bool Failed = Out.Outcome == TOutcome::Failed;
    std::printf("outcome %s\n", OutcomeName(Out.Outcome));
    if (Failed)
        std::printf("reason %s\n", Out.FailReason.c_str());
    std::printf("pivots %d\n", Out.Pivots);
    std::printf("balance_kind %d\n", int(Store->BalanceKind));
    std::printf("m %d\nn %d\n", Store->M, Store->N);
    std::printf("total_cost %.17g\n", Failed ? 0.0 : Store->TotalCost());
    std::printf("time_ms %.3f\n", std::chrono::duration<double, std::milli>(Out.Time).count());
    std::printf("plan\n");
    if (!Failed) {
        std::string Line;
        char Buffer[32];
        for (int I = 1; I <= Store->M; ++I) {
            Line.clear();
            for (int J = 1; J <= Store->N; ++J) {
                std::snprintf(Buffer, sizeof Buffer, J == 1 ? "%.17g" : " %.17g",
                              Store->GetX(I, J));
                Line += Buffer;
            }
            std::puts(Line.c_str());
        }
    }
    if (Args.Steps)
        PrintSteps(Record);
    if (!Args.Report.empty()) {
        try {
            WriteFileSafely(Args.Report, StepReportHtml(Record, Out.Outcome, Args.Name));
        } catch (const TFileError& Error) {
            std::fprintf(stderr, "kelvor-solve: %s\n", Error.what());
            return 2;
        }
    }
    return 0;
}
