// kelvor-solve: one whole calculation through the solver worker, for developers and benchmarks.
// Reads "M N", M stocks, N demands and M*N costs row by row from standard input, or builds the
// problem with the program's random fill (--random SEED M N MAXA MAXB MAXC), and prints the
// outcome, the sizes as the calculation left them, the total cost, the time and the plan.
#include "CalcUnit.h"
#include "RandomGen.h"
#include "TextUnit.h"
#include "ThreadUnit.h"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

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

TProblem ReadProblem() {
    std::vector<std::string> Words;
    for (std::string Word; std::cin >> Word;)
        Words.push_back(Word);
    if (Words.size() < 2)
        throw TUsageError{"expected M and N first"};
    TProblem Problem(ReadSize(Words[0], "M"), ReadSize(Words[1], "N"));
    const std::size_t Need = 2 + Problem.A.size() + Problem.B.size() + Problem.C.size();
    if (Words.size() < Need)
        throw TUsageError{"too few numbers: expected " + std::to_string(Need - 2) +
                          " after M N, got " + std::to_string(Words.size() - 2)};
    std::size_t Next = 2;
    for (auto* Numbers : {&Problem.A, &Problem.B, &Problem.C})
        for (double& Value : *Numbers)
            if (!TextToReal(Words[Next++], Value))
                throw TUsageError{"not a number: " + Words[Next - 1]};
    return Problem;
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

} // namespace

int main(int Argc, char** Argv) {
    std::unique_ptr<TCalc> Store(new TCalc);
    Calc = Store.get();
    try {
        const std::string Option = Argc > 1 ? Argv[1] : "";
        if (Option == "--random" && Argc == 8)
            LoadProblem(*Store, RandomProblem(Argv + 2));
        else if (Argc == 1)
            LoadProblem(*Store, ReadProblem());
        else
            throw TUsageError{"usage: kelvor-solve [--random SEED M N MAXA MAXB MAXC] < problem"};
    } catch (const TUsageError& Error) {
        std::fprintf(stderr, "kelvor-solve: %s\n", Error.Text.c_str());
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
