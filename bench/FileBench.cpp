// kelvor-file-bench: how long problem files take at the largest size, 500 x 500. Times the
// table written and read back, the list of numbers read, and the LP text written, each the
// median of 11 runs, for whole costs (the random fill's) and for costs of 17 significant digits
// (the same divided by 7), the longest texts a problem gives. The times are the processor time
// of the process (std::clock), so that other work on a shared machine does not count in them.
#include "Figures.h"
#include "ProblemFile.h"
#include "Problems.h"
#include "StoreLimits.h"
#include "TextUnit.h"

#include <cstdio>
#include <ctime>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

double MedianMs(const std::function<void()>& Run) {
    std::vector<double> Times;
    for (int K = 0; K < 11; ++K) {
        const std::clock_t Start = std::clock();
        Run();
        Times.push_back(double(std::clock() - Start) * 1000.0 / CLOCKS_PER_SEC);
    }
    return Median(Times);
}

// The same problem in the console tool's list layout.
std::string ListText(const TProblem& Problem) {
    std::string Text = std::to_string(Problem.M) + " " + std::to_string(Problem.N) + "\n";
    for (const auto* Numbers : {&Problem.A, &Problem.B, &Problem.C})
        for (double Value : *Numbers)
            Text += NumberText(Value) + " ";
    return Text;
}

void Measure(const char* Name, const TProblem& Problem) {
    const std::string Table = ProblemTableText(Problem), List = ListText(Problem);
    if (!(ReadProblemText(Table) == Problem) || !(ReadProblemText(List) == Problem))
        throw std::runtime_error(std::string(Name) + ": read back differently");
    std::printf("%s.table_kib %.0f\n", Name, Table.size() / 1024.0);
    std::printf("%s.write_table_ms %.3f\n", Name, MedianMs([&] { ProblemTableText(Problem); }));
    std::printf("%s.read_table_ms %.3f\n", Name, MedianMs([&] { ReadProblemText(Table); }));
    std::printf("%s.read_list_ms %.3f\n", Name, MedianMs([&] { ReadProblemText(List); }));
    std::printf("%s.write_lp_ms %.3f\n", Name, MedianMs([&] { ProblemLpText(Problem); }));
}

} // namespace

int main() {
    try {
        TProblem Whole = RandomProblem(1, MaxSize, MaxSize, 9999);
        TProblem Sevenths = Whole;
        for (double& Cost : Sevenths.C)
            Cost /= 7;
        Measure("500x500_whole", Whole);
        Measure("500x500_sevenths", Sevenths);
    } catch (const std::exception& Error) {
        std::fprintf(stderr, "kelvor-file-bench: %s\n", Error.what());
        return 1;
    }
    return 0;
}
