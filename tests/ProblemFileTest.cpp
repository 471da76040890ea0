#include "ProblemFile.h"

#include "LemonReference.h"
#include "Problems.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <bit>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

bool SameBits(const TProblem& X, const TProblem& Y) {
    auto Same = [](const std::vector<double>& U, const std::vector<double>& V) {
        return U.size() == V.size() && std::memcmp(U.data(), V.data(), U.size() * 8) == 0;
    };
    return X.M == Y.M && X.N == Y.N && Same(X.A, Y.A) && Same(X.B, Y.B) && Same(X.C, Y.C);
}

// The message of the TFileError that Action throws, or "" when it throws none.
template <typename TAction> std::string Failure(TAction&& Action) {
    try {
        Action();
        return "";
    } catch (const TFileError& Error) {
        return Error.what();
    }
}

// A directory of its own for each test, removed after it.
struct TScratch {
    fs::path Dir = fs::temp_directory_path() / ("kelvor-file-test-" + std::to_string(getpid()));
    TScratch() { fs::create_directories(Dir); }
    ~TScratch() { fs::remove_all(Dir); }
    std::string operator/(const char* Name) const { return (Dir / Name).string(); }
    std::size_t Entries() const {
        return std::size_t(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()));
    }
};

std::string Contents(const std::string& Path) {
    std::ifstream In(Path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), {});
}

TEST(ProblemFile, RandomProblemsWithAwkwardNumbersReadBackBitForBit) {
    // Besides random bit patterns: a negative zero, the smallest and the largest subnormal.
    const std::vector<double> Awkward = {-0.0, 0.1, 1e300, 5e-324, 2.2250738585072009e-308};
    std::mt19937_64 Random(7);
    TScratch Scratch;
    for (std::uint32_t Seed = 1; Seed <= 40; ++Seed) {
        const int Size = Seed == 40 ? 500 : int(1 + Random() % 30);
        TProblem Problem = RandomProblem(Seed, Size, Seed == 40 ? 500 : int(1 + Seed % 29), 9999);
        for (auto* Numbers : {&Problem.A, &Problem.B, &Problem.C})
            for (double& Value : *Numbers) {
                const std::uint64_t Draw = Random();
                const double Bits = std::bit_cast<double>(Random());
                if (Draw % 3 == 0)
                    Value = Awkward[Draw / 3 % Awkward.size()];
                else if (Draw % 3 == 1 && std::isfinite(Bits))
                    Value = Bits;
            }
        const std::string Path = Scratch / "problem.csv";
        WriteFileSafely(Path, ProblemTableText(Problem));
        const TProblem Back = ReadProblemFile(Path);
        ASSERT_TRUE(SameBits(Back, Problem)) << "seed " << Seed << "\n"
                                             << ProblemTableText(Problem);
    }
}

struct TAccepted {
    const char* Layout;
    std::string Text;
    TProblem Problem;
};

// Stocks 30 and 20, demands 10 and 40, costs 8 6 / 9 12, in the layouts the reader takes.
const TProblem Small(2, 2, {30, 20}, {10, 40}, {8, 6, 9, 12});
const TProblem Halves(2, 2, {2.5, 27.5}, {10, 20}, {8, 6, 9, 12.5});

class Accepted : public testing::TestWithParam<TAccepted> {};

TEST_P(Accepted, GivesTheProblem) {
    const TProblem Read = ReadProblemText(GetParam().Text);
    EXPECT_TRUE(SameBits(Read, GetParam().Problem)) << ProblemTableText(Read);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, Accepted,
    testing::ValuesIn(std::vector<TAccepted>{
        {"plain", "8,6,30\n9,12,20\n10,40\n", Small},
        {"bom_crlf_names",
         "\xEF\xBB\xBF,C1,C2,Stock\r\nS1,8,6,30\r\nS2,9,12,20\r\nDemand,10,40,\r\n", Small},
        {"cr_only_no_last_line_end", "8,6,30\r9,12,20\r10,40", Small},
        {"corner_name_and_empty_names", "Costs,C1,C2,Stock\nS1,8,6,30\n,9,12,20\nDemand,10,40\n",
         Small},
        {"corner_name_only", "Costs,C1,C2,Stock\n,8,6,30\n,9,12,20\n,10,40\n", Small},
        {"quoted", "\"C, \"\"1\"\"\",\"C\n2\",Stock\n \"8\" , 6 ,30\n9,\"12\",20\n10,40,\"\"\n",
         Small},
        {"blank_lines_empty_columns", "\n,,,,,\n,,8,6,30,,\n\n , ,9,12,20\n,,10,40,,,\n\n", Small},
        {"latin1_names", "K\xF6ln,8,6,30\nBonn,9,12,20\nDemand,10,40\n", Small},
        {"semicolon_decimal_comma", "Lager;8;6;2,5\nX;9;12,5;27,5\nBedarf;10;20;\n", Halves},
        {"tab_decimal_comma_header", "a 1\tb 2\tStock\n8\t6\t2,5\n9\t12.5\t27,5\n10\t20\n", Halves},
        {"list_any_white_space", "\n  2 2 30 20\r\n10\t40\v8\f6 9 12", Small},
        {"one_by_one_signed_zero_underflow", "-0,1e-400\n-1e-999\n",
         TProblem(1, 1, {0.0}, {-0.0}, {-0.0})}}),
    [](const auto& Info) { return std::string(Info.param.Layout); });

struct TRefused {
    const char* Name;
    std::string Text;
    const char* Message;
};

class Refused : public testing::TestWithParam<TRefused> {};

TEST_P(Refused, SaysWhereAndWhy) {
    EXPECT_EQ(Failure([] { ReadProblemText(GetParam().Text); }), GetParam().Message);
}

std::string Repeated(const std::string& Part, int Times) {
    std::string Text;
    while (Times-- > 0)
        Text += Part;
    return Text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Refused,
    testing::ValuesIn(std::vector<TRefused>{
        {"white_space", " \r\n\t\n", "line 1, column 1: expected a problem, found an empty file"},
        {"empty_cells", ",,\n,\n", "line 1, column 1: expected a problem, found an empty file"},
        {"nul", "8,6\0,30"s, "line 1, column 4: expected text, found a NUL byte"},
        {"not_a_number", "A,8,6,30\nB\xC3\xB6hl,x,12,20\nD,10,40\n",
         "line 2, column 6: expected a number for cost (2, 1), found \"x\""},
        {"too_few", "8,6,30\n9,20\n10,40\n",
         "line 2, column 5: expected a number for stock 2, found the end of the line"},
        {"empty_stock", "8,6,30\n9,12,,\n10,40\n",
         "line 2, column 6: expected a number for stock 2, found an empty cell"},
        {"empty_first_cost", "8,6,30\n,12,20\n10,40\n",
         "line 2, column 1: expected a number for cost (2, 1), found an empty cell"},
        {"too_many", "8,6,30\n9,12,20,,7\n10,40\n",
         "line 2, column 10: expected the end of the line after stock 2, found \"7\""},
        {"stock_in_demands", "8,6,30\n9,12,20\n10,40,50\n",
         "line 3, column 7: expected the end of the line after demand 2, found \"50\""},
        {"no_demands", "S,C1,C2\n8,6,30\n",
         "line 3, column 1: expected the row of demands, found the end of the file"},
        {"overflow", "8;1,8e308;30\n10;40\n",
         "line 1, column 3: expected a number within the range of a double for cost (1, "
         "2), found \"1,8e308\""},
        {"nan", "8\t6\tNaN\n10\t40\n",
         "line 1, column 5: expected a finite number for stock 1, found \"NaN\""},
        {"infinity", "1 1 -inf 1 1",
         "line 1, column 5: expected a finite number for stock 1, found \"-inf\""},
        {"open_quote", "8,\"6,30\n10,40\n",
         "line 1, column 3: expected a closing quote for this cell, found the end of the file"},
        {"after_quote", "8,\"6\" x,30\n10,40\n",
         "line 1, column 7: expected a separator or the end of the line after the closing "
         "quote, found \"x\""},
        {"long_cell", "8,6,30\n10,40x" + std::string(40, 'y') + "\n",
         "line 2, column 4: expected a number for demand 2, found "
         "\"40xyyyyyyyyyyyyyyyyyyyyy...\""},
        {"no_suppliers", "0 2",
         "line 1, column 1: expected the number of suppliers (a whole number from 1 to "
         "500), found \"0\""},
        {"too_many_consumers_list", "1 501",
         "line 1, column 3: expected the number of consumers (a whole number from 1 to "
         "500), found \"501\""},
        {"list_too_short", "1 1 5 5",
         "line 1, column 8: expected a number for cost (1, 1), found the end of the file"},
        {"list_too_long", "1 1\n5 5 3\n7",
         "line 3, column 1: expected the end of the file after cost (1, 1), found \"7\""},
        {"consumers", Repeated("1,", 501) + "9\n1",
         "line 1, column 1001: expected at most 500 consumers, found more"},
        {"wide_row", "1,2\n1" + Repeated(",", 600) + "1\n",
         "line 2, column 602: expected at most 500 consumers, found more"},
        {"suppliers", Repeated("1,1\n", 501) + "1\n",
         "line 501, column 1: expected at most 500 suppliers, found more"},
        {"rows", Repeated("1,1\n", 503),
         "line 503, column 1: expected at most 500 suppliers, found more"}}),
    [](const auto& Info) { return std::string(Info.param.Name); });

// The optimum glpsol finds for the problem's LP text, from its raw solution file, whose line
// "s bas ROWS COLUMNS PRIMAL DUAL OBJECTIVE" must say both feasible ("f f").
double GlpsolOptimum(const TProblem& Problem, const TScratch& Scratch) {
    WriteFileSafely(Scratch / "p.lp", ProblemLpText(Problem));
    const std::string Command = "glpsol --lp " + Scratch / "p.lp" + " -w " + Scratch / "p.sol";
    EXPECT_EQ(std::system((Command + " >/dev/null").c_str()), 0);
    const std::string Solution = Contents(Scratch / "p.sol");
    char Primal = 0, Dual = 0;
    double Optimum = NAN;
    const std::size_t Line = Solution.find("\ns bas ");
    EXPECT_EQ(std::sscanf(Solution.c_str() + std::min(Line, Solution.size()),
                          "\ns bas %*d %*d %c %c %lf", &Primal, &Dual, &Optimum),
              3);
    EXPECT_EQ(std::string({Primal, Dual}), "ff");
    return Optimum;
}

TEST(ProblemFile, LpTextReachesTheReferenceOptimumInGlpsol) {
    if (std::system("command -v glpsol >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "glpsol (Debian package glpk-utils) is not installed";
    TScratch Scratch;
    // Balanced; short of demand and of stock by less than the tolerance, which the program
    // leaves unshipped (so the optimum may differ by up to 0.0001 times a cost); then random
    // problems with a dummy supplier (seeds 1 to 3) or a dummy consumer (4 to 6).
    std::vector<TProblem> Problems = {Small, Halves, Small, TProblem(1, 1, {1.00005}, {1}, {-0.0})};
    Problems[2].B[0] += 0.00007;
    for (std::uint32_t Seed = 1; Seed <= 6; ++Seed)
        Problems.push_back(RandomProblem(Seed, 3 + int(Seed) * 7, 40 - int(Seed) * 5, 50));
    for (const TProblem& Problem : Problems) {
        const double Reference = ReferenceOptimalCost(Problem);
        EXPECT_NEAR(GlpsolOptimum(Problem, Scratch), Reference, 1e-9 * std::fabs(Reference) + 0.005)
            << ProblemLpText(Problem);
    }
}

TEST(ProblemFile, AFailedWriteLeavesWhatWasThereAndNoTemporary) {
    TScratch Scratch;
    const std::string Path = Scratch / "old.csv";
    WriteFileSafely(Path, "old");
    WriteFileSafely(Path, "new");
    EXPECT_EQ(Contents(Path), "new");
    // Tests run as root, whom permissions do not stop: the write fails half-way instead, where
    // the file may not grow past 1 KiB.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit Old;
    getrlimit(RLIMIT_FSIZE, &Old);
    rlimit Limit = {1024, Old.rlim_max};
    setrlimit(RLIMIT_FSIZE, &Limit);
    EXPECT_EQ(Failure([&] { WriteFileSafely(Path, std::string(4096, 'x')); }),
              "cannot write " + Path + ": File too large");
    setrlimit(RLIMIT_FSIZE, &Old);
    EXPECT_EQ(Contents(Path), "new");
    // A directory in the way, and no directory at all.
    fs::create_directory(Scratch / "dir");
    WriteFileSafely(Scratch / "dir/inside", "kept");
    EXPECT_EQ(Failure([&] { WriteFileSafely(Scratch / "dir", "x"); }),
              "cannot write " + Scratch / "dir" + ": Is a directory");
    EXPECT_EQ(Contents(Scratch / "dir/inside"), "kept");
    EXPECT_EQ(Failure([&] { WriteFileSafely(Scratch / "none/p.csv", "x"); }),
              "cannot write " + Scratch / "none/p.csv" + ": No such file or directory");
    EXPECT_EQ(Scratch.Entries(), 2u);
}

TEST(ProblemFile, FilesOverTheBoundAreRefusedUnread) {
    TScratch Scratch;
    const std::string Path = Scratch / "huge.csv";
    std::ofstream(Path) << "1,1\n1\n";
    fs::resize_file(Path, MaxFileBytes + 1); // sparse: nothing is written
    EXPECT_EQ(Failure([&] { ReadProblemFile(Path); }), Path + " is larger than 64 MiB");
    EXPECT_EQ(Failure([&] { ReadProblemFile(Scratch / "none.csv"); }),
              "cannot read " + Scratch / "none.csv" + ": No such file or directory");
}

} // namespace
