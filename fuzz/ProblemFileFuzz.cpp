// Fuzzing of the problem-file reader: any text is read or refused, never a crash, a hang or a
// sanitizer report. A refusal names a place in the text; a problem that is read has sizes
// within 1..500 and only finite numbers, and written as a table it reads back bit for bit. Its
// LP text is written too, so that the writers see every problem the reader lets through.
#include "ProblemFile.h"
#include "StoreLimits.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

[[noreturn]] void Fault(const char* What, const std::string& Text) {
    std::fprintf(stderr, "ProblemFile: %s for %zu bytes \"%s\"\n", What, Text.size(), Text.c_str());
    std::abort();
}

bool SameBits(const std::vector<double>& X, const std::vector<double>& Y) {
    return X.size() == Y.size() && std::memcmp(X.data(), Y.data(), X.size() * sizeof(double)) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string Text(reinterpret_cast<const char*>(Data), Size);
    TProblem Problem;
    try {
        Problem = ReadProblemText(Text);
    } catch (const TFileError& Error) {
        if (Error.Line < 1 || Error.Column < 1 || Error.Message.empty())
            Fault("a refusal without a place", Text);
        return 0;
    }
    if (Problem.M < 1 || Problem.M > MaxSize || Problem.N < 1 || Problem.N > MaxSize ||
        Problem.A.size() != std::size_t(Problem.M) || Problem.B.size() != std::size_t(Problem.N) ||
        Problem.C.size() != std::size_t(Problem.M) * std::size_t(Problem.N))
        Fault("a problem of wrong sizes", Text);
    for (const auto* Numbers : {&Problem.A, &Problem.B, &Problem.C})
        for (double Value : *Numbers)
            if (!std::isfinite(Value))
                Fault("a number that is not finite", Text);
    const std::string Table = ProblemTableText(Problem);
    TProblem Back;
    try {
        Back = ReadProblemText(Table);
    } catch (const TFileError& Error) {
        Fault(("its table refused: " + std::string(Error.what())).c_str(), Text);
    }
    if (Back.M != Problem.M || Back.N != Problem.N || !SameBits(Back.A, Problem.A) ||
        !SameBits(Back.B, Problem.B) || !SameBits(Back.C, Problem.C))
        Fault("its table read back differently", Text);
    if (ProblemLpText(Problem).find("\nEnd\n") == std::string::npos)
        Fault("an LP text without its end", Text);
    return 0;
}
