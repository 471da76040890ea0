// kelvor-solve: one whole calculation through the solver worker, for developers and benchmarks.
// Reads the problem from the file named on the command line, or from standard input without a
// name or with "-", in any layout that ProblemFile.h reads; or builds it with the program's
// random fill (--random SEED M N MAXA MAXB MAXC). --write OUT saves that problem first, as a
// table (OUT ending in .csv) or a linear program (.lp). Then it prints the outcome, the sizes as
// the calculation left them, the total cost, the time and the plan.
#include "CalcUnit.h"
#include "ProblemFile.h"
#include "RandomGen.h"
#include "TextUnit.h"
#include "ThreadUnit.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

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
TProblem RandomProblem(char** Args) {
    std::int32_t Seed = 0;
    if (!TextToInt(Args[0], Seed))
        throw TUsageError{std::string("SEED is not a whole number: ") + Args[0]};
    const int M = ReadSize(Args[1], "M");
    const int N = ReadSize(Args[2], "N");
    int Max[3];
    for (int K = 0; K < 3; ++K)
        Max[K] = ReadWhole(Args[3 + K], "a maximum", MaxRange);
    RandomState = static_cast<std::uint32_t>(Seed);
    return RandomFill(M, N, Max[0], Max[1], Max[2]);
}

const char* const Usage =
    "usage: kelvor-solve [FILE | - | --random SEED M N MAXA MAXB MAXC] [--write OUT.csv|OUT.lp]";

bool EndsWith(const std::string& Text, const char* Suffix) {
    const std::string End(Suffix);
    return Text.size() > End.size() && Text.compare(Text.size() - End.size(), End.size(), End) == 0;
}

// The problem the arguments name, saved to --write's file when one is given.
TProblem ArgumentProblem(int Argc, char** Argv) {
    std::string File, Write;
    char** Random = nullptr;
    for (int K = 1; K < Argc; ++K) {
        const std::string Arg = Argv[K];
        if (Arg == "--random" && K + 6 < Argc && !Random && File.empty()) {
            Random = Argv + K + 1;
            K += 6;
        } else if (Arg == "--write" && K + 1 < Argc && Write.empty())
            Write = Argv[++K];
        else if ((Arg == "-" || Arg.rfind("-", 0) != 0) && File.empty() && !Random)
            File = Arg;
        else
            throw TUsageError{Usage};
    }
    if (!Write.empty() && !EndsWith(Write, ".csv") && !EndsWith(Write, ".lp"))
        throw TUsageError{"--write: OUT must end in .csv or .lp: " + Write};
    const TProblem Problem =
        Random ? RandomProblem(Random)
               : ReadProblemFile(File.empty() || File == "-" ? "/dev/stdin" : File);
    if (!Write.empty())
        WriteFileSafely(Write, EndsWith(Write, ".lp") ? ProblemLpText(Problem)
                                                      : ProblemTableText(Problem));
    return Problem;
}

} // namespace

int main(int Argc, char** Argv) {
    std::unique_ptr<TCalc> Store(new TCalc);
    Calc = Store.get();
    try {
        LoadProblem(*Store, ArgumentProblem(Argc, Argv));
    } catch (const TUsageError& Error) {
        std::fprintf(stderr, "kelvor-solve: %s\n", Error.Text.c_str());
        return 2;
    } catch (const TFileError& Error) {
        std::fprintf(stderr, "kelvor-solve: %s\n", Error.what());
        return 2;
    }

    const TCalcRun Out = RunCalculation();
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
    return 0;
}
