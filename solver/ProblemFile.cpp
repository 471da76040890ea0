#include "ProblemFile.h"

#include "StoreLimits.h"
#include "TextUnit.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

// The safe write needs what standard C++ does not offer: a file created only if it does not
// exist yet, and a flush to the disk.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TFileError::TFileError(int Line, int Column, const std::string& Message)
    : std::runtime_error(Line > 0 ? "line " + std::to_string(Line) + ", column " +
                                        std::to_string(Column) + ": " + Message
                                  : Message),
      Line(Line), Column(Column), Message(Message) {}

namespace {

constexpr std::size_t NotFound = std::string_view::npos;

// What a number of the problem stands for, named only when a message needs it.
struct TItem {
    enum TKind { Stock, Demand, Cost } Kind;
    int I, J;

    std::string Name() const {
        switch (Kind) {
        case Stock:
            return "stock " + std::to_string(I);
        case Demand:
            return "demand " + std::to_string(J);
        default:
            return "cost (" + std::to_string(I) + ", " + std::to_string(J) + ")";
        }
    }
};

// A cell quoted in a message: long ones shortened, never in the middle of a UTF-8 sequence.
std::string Quoted(std::string_view Cell) {
    constexpr std::size_t Longest = 24;
    if (Cell.size() <= Longest)
        return "\"" + std::string(Cell) + "\"";
    std::size_t Cut = Longest;
    while (Cut > 0 && (static_cast<unsigned char>(Cell[Cut]) & 0xC0) == 0x80)
        --Cut;
    return "\"" + std::string(Cell.substr(0, Cut)) + "...\"";
}

bool IsLineEnd(char Ch) {
    return Ch == '\n' || Ch == '\r';
}

bool IsWhiteSpace(char Ch) {
    return Ch == ' ' || Ch == '\t' || Ch == '\n' || Ch == '\r' || Ch == '\v' || Ch == '\f';
}

// Reads the cells of one text and builds its errors with their places. Offsets are byte offsets
// into the text; the line and column are worked out only for a message.
class TReader {
public:
    explicit TReader(std::string_view Text) : Text(Text) {}

    [[noreturn]] void Fail(std::size_t Offset, const std::string& Message) const {
        int Line = 1, Column = 1;
        for (std::size_t K = 0; K < Offset && K < Text.size(); ++K) {
            if (Text[K] == '\n' ||
                (Text[K] == '\r' && (K + 1 == Text.size() || Text[K + 1] != '\n'))) {
                ++Line;
                Column = 1;
            } else if ((static_cast<unsigned char>(Text[K]) & 0xC0) != 0x80 && Text[K] != '\r') {
                ++Column; // a UTF-8 continuation byte is part of the character before it
            }
        }
        throw TFileError(Line, Column, Message);
    }

    std::size_t OffsetOf(std::string_view Cell) const {
        return std::size_t(Cell.data() - Text.data());
    }

    // The number in Cell, or a refusal that says what was expected for Item and what was found.
    double Number(std::string_view Cell, bool DecimalComma, TItem Item, std::size_t Offset,
                  std::string_view Found) const {
        double Value = 0.0;
        if (ReadNumber(Cell, DecimalComma, Value))
            return Value;
        const std::string Expected = "expected a number for " + Item.Name() + ", found ";
        if (Cell.empty())
            Fail(Offset, Expected + std::string(Found));
        // Zero never leaves the range of a double: a cell that reads once its digits are zeros
        // has the form of a number and failed only by its size.
        std::string Zeros(Cell);
        std::replace_if(
            Zeros.begin(), Zeros.end(), [](char Ch) { return Ch >= '1' && Ch <= '9'; }, '0');
        if (ReadNumber(Zeros, DecimalComma, Value))
            Fail(Offset, "expected a number within the range of a double for " + Item.Name() +
                             ", found " + Quoted(Cell));
        std::string Word(Cell.substr(Cell[0] == '+' || Cell[0] == '-' ? 1 : 0));
        std::transform(Word.begin(), Word.end(), Word.begin(),
                       [](char Ch) { return char(Ch >= 'A' && Ch <= 'Z' ? Ch - 'A' + 'a' : Ch); });
        if (Word == "nan" || Word == "inf" || Word == "infinity")
            Fail(Offset, "expected a finite number for " + Item.Name() + ", found " + Quoted(Cell));
        Fail(Offset, Expected + Quoted(Cell));
    }

    static bool ReadNumber(std::string_view Cell, bool DecimalComma, double& Value) {
        if (DecimalComma && Cell.find(',') != NotFound)
            return TextToReal(DecimalCommaToPoint(Cell), Value);
        return TextToReal(Cell, Value);
    }

    std::string_view Text;
};

// The list of numbers: M N, the stocks, the demands, the costs.
TProblem ReadList(const TReader& Reader) {
    const std::string_view Text = Reader.Text;
    std::size_t Pos = 0;
    auto Next = [&] {
        while (Pos < Text.size() && IsWhiteSpace(Text[Pos]))
            ++Pos;
        const std::size_t Start = Pos;
        while (Pos < Text.size() && !IsWhiteSpace(Text[Pos]))
            ++Pos;
        return Text.substr(Start, Pos - Start);
    };
    auto Size = [&](const char* What) {
        const std::string_view Word = Next();
        std::int32_t Value = 0;
        if (!TextToInt(Word, Value) || Value < 1 || Value > MaxSize)
            Reader.Fail(Reader.OffsetOf(Word),
                        std::string("expected the number of ") + What +
                            " (a whole number from 1 to " + std::to_string(MaxSize) + "), found " +
                            (Word.empty() ? "the end of the file" : Quoted(Word)));
        return Value;
    };
    const int M = Size("suppliers");
    const int N = Size("consumers");
    TProblem Problem(M, N);
    auto Read = [&](TItem Item) {
        const std::string_view Word = Next();
        return Reader.Number(Word, false, Item, Reader.OffsetOf(Word), "the end of the file");
    };
    for (int I = 1; I <= M; ++I)
        Problem.Stock(I) = Read({TItem::Stock, I, 0});
    for (int J = 1; J <= N; ++J)
        Problem.Demand(J) = Read({TItem::Demand, 0, J});
    for (int I = 1; I <= M; ++I)
        for (int J = 1; J <= N; ++J)
            Problem.Cost(I, J) = Read({TItem::Cost, I, J});
    const std::string_view Extra = Next();
    if (!Extra.empty())
        Reader.Fail(Reader.OffsetOf(Extra), "expected the end of the file after " +
                                                TItem{TItem::Cost, M, N}.Name() + ", found " +
                                                Quoted(Extra));
    return Problem;
}

// A row of cells can hold a name, MaxSize costs and a stock; a table, a row of names, MaxSize
// suppliers and the demands. Longer ones are refused while they are read, so that no text makes
// the reader keep more cells than a problem has.
constexpr std::size_t RowSpan = MaxSize + 2;
constexpr std::size_t RowCount = MaxSize + 2;

// One row of the block as read: the empty cells before its first value only counted (a table
// may stand far to the right), the cells from that value to its last kept (empty ones among
// them), and where it ends.
struct TRow {
    std::size_t Start = 0; // offset of its first cell
    std::size_t Lead = 0;  // empty cells before the first value
    std::vector<std::string_view> Cells;
    std::size_t End = 0;     // offset of the first empty cell after the last value, or of the
    bool EmptyAtEnd = false; // line end when no empty cell follows it
};

// What a cell of a row holds: its text, where it is, and what a message says was found when it
// holds nothing.
struct TAt {
    std::string_view Text;
    std::size_t Offset;
    const char* Found;
};

class TBlock {
public:
    TBlock(const TReader& Reader, char Separator)
        : Reader(Reader), Text(Reader.Text), Separator(Separator) {}

    // Every row that holds a value, in order.
    std::vector<TRow> Rows() const {
        std::vector<TRow> Rows;
        std::size_t Pos = 0;
        while (Pos < Text.size()) {
            TRow Row;
            Row.Start = Pos;
            std::size_t Values = 0; // cells up to the last value
            for (;;) {
                const std::string_view Next = Cell(Pos);
                if (!Next.empty()) {
                    if (Row.Cells.size() >= RowSpan)
                        Reader.Fail(Reader.OffsetOf(Next), TooMany("consumers"));
                    Row.Cells.push_back(Next);
                    Values = Row.Cells.size();
                } else if (Row.Cells.empty()) {
                    ++Row.Lead;
                } else if (Row.Cells.size() <= RowSpan) {
                    Row.Cells.push_back(Next);
                }
                if (Pos == Text.size() || Text[Pos] != Separator)
                    break;
                ++Pos;
            }
            if (Values > 0) {
                Row.EmptyAtEnd = Row.Cells.size() > Values;
                Row.End = Row.EmptyAtEnd ? Reader.OffsetOf(Row.Cells[Values]) : Pos;
                Row.Cells.resize(Values);
                if (Rows.size() == RowCount)
                    Reader.Fail(Reader.OffsetOf(Row.Cells[0]), TooMany("suppliers"));
                Rows.push_back(std::move(Row));
            }
            if (Pos < Text.size() && Text[Pos] == '\r')
                ++Pos;
            if (Pos < Text.size() && Text[Pos] == '\n')
                ++Pos;
        }
        return Rows;
    }

    // Cell K of Row, counting every cell of the row from its first.
    std::string_view Value(const TRow& Row, std::size_t K) const {
        return K >= Row.Lead && K - Row.Lead < Row.Cells.size() ? Row.Cells[K - Row.Lead]
                                                                : std::string_view{};
    }

    TAt At(const TRow& Row, std::size_t K) const {
        if (K < Row.Lead) {
            // An empty cell before the row's first value: found again by reading the row anew.
            std::size_t Pos = Row.Start;
            for (std::size_t Skip = 0; Skip < K; ++Skip, ++Pos)
                Cell(Pos);
            SkipBlanks(Pos);
            return {{}, Pos, "an empty cell"};
        }
        if (K - Row.Lead < Row.Cells.size())
            return {Row.Cells[K - Row.Lead], Reader.OffsetOf(Row.Cells[K - Row.Lead]),
                    "an empty cell"};
        return {{}, Row.End, Row.EmptyAtEnd ? "an empty cell" : "the end of the line"};
    }

    // The first value of Row from cell K on; there must be one.
    std::string_view ValueFrom(const TRow& Row, std::size_t K) const {
        for (K = std::max(K, Row.Lead);; ++K)
            if (!Value(Row, K).empty())
                return Value(Row, K);
    }

    // Whether Row's values are names: none a number, at least one.
    bool Names(const TRow& Row) const {
        bool Any = false;
        for (std::size_t K = Row.Lead; K - Row.Lead < Row.Cells.size(); ++K) {
            const std::string_view Name = Value(Row, K);
            if (IsNumber(Name))
                return false;
            Any = Any || !Name.empty();
        }
        return Any;
    }

    bool IsNumber(std::string_view Cell) const {
        double Number = 0.0;
        return TReader::ReadNumber(Cell, DecimalComma(), Number);
    }

    bool DecimalComma() const { return Separator != ','; }

    static std::string TooMany(const char* What) {
        return "expected at most " + std::to_string(MaxSize) + " " + What + ", found more";
    }

private:
    // The cell at Pos, unquoted, without the blanks around it; Pos moves to the separator or
    // line end after it.
    std::string_view Cell(std::size_t& Pos) const {
        SkipBlanks(Pos);
        const std::size_t Start = Pos;
        if (Pos == Text.size() || Text[Pos] != '"') {
            while (Pos < Text.size() && Text[Pos] != Separator && !IsLineEnd(Text[Pos]))
                ++Pos;
            return Trim(Text.substr(Start, Pos - Start));
        }
        for (Pos = Start + 1;; Pos += 2) {
            Pos = Text.find('"', Pos);
            if (Pos == NotFound)
                Reader.Fail(Start, "expected a closing quote for this cell, found the end of "
                                   "the file");
            if (Pos + 1 == Text.size() || Text[Pos + 1] != '"')
                break;
        }
        const std::string_view Inside = Trim(Text.substr(Start + 1, Pos - Start - 1));
        ++Pos;
        SkipBlanks(Pos);
        if (Pos < Text.size() && Text[Pos] != Separator && !IsLineEnd(Text[Pos])) {
            std::size_t Stop = Pos;
            while (Stop < Text.size() && Text[Stop] != Separator && !IsLineEnd(Text[Stop]))
                ++Stop;
            Reader.Fail(Pos, "expected a separator or the end of the line after the closing "
                             "quote, found " +
                                 Quoted(Text.substr(Pos, Stop - Pos)));
        }
        return Inside;
    }

    void SkipBlanks(std::size_t& Pos) const {
        while (Pos < Text.size() && IsBlank(Text[Pos]))
            ++Pos;
    }

    bool IsBlank(char Ch) const { return Ch == ' ' || (Ch == '\t' && Separator != '\t'); }

    std::string_view Trim(std::string_view Cell) const {
        while (!Cell.empty() && IsBlank(Cell.front()))
            Cell.remove_prefix(1);
        while (!Cell.empty() && IsBlank(Cell.back()))
            Cell.remove_suffix(1);
        return Cell;
    }

    const TReader& Reader;
    std::string_view Text;
    char Separator;
};

TProblem ReadBlock(const TReader& Reader, char Separator) {
    const TBlock Block(Reader, Separator);
    const std::vector<TRow> Rows = Block.Rows();
    if (Rows.empty())
        Reader.Fail(0, "expected a problem, found an empty file");
    // Names in the first row: none of its cells a number, at least one not empty.
    const std::size_t First = Block.Names(Rows[0]) ? 1 : 0;
    // Cell Left of every row below is the table's first column: the empty ones before it are
    // dropped, and a column of names (none a number, at least one) after them.
    std::size_t Left = Rows.back().Lead;
    for (std::size_t R = First; R < Rows.size(); ++R)
        Left = std::min(Left, Rows[R].Lead);
    bool AnyName = false, AnyNumber = false;
    for (std::size_t R = First; R < Rows.size(); ++R) {
        const std::string_view Name = Block.Value(Rows[R], Left);
        AnyName = AnyName || !Name.empty();
        AnyNumber = AnyNumber || Block.IsNumber(Name);
    }
    if (AnyName && !AnyNumber)
        ++Left;

    if (Rows.size() - First < 2)
        Reader.Fail(Reader.Text.size(), "expected the row of demands, found the end of the file");
    if (Rows.size() - First - 1 > std::size_t(MaxSize))
        Reader.Fail(Block.At(Rows[First + MaxSize], Left).Offset, TBlock::TooMany("suppliers"));
    const TRow& Top = Rows[First];
    const std::size_t Width = Top.Lead + Top.Cells.size() - Left; // N costs and the stock
    if (Width > std::size_t(MaxSize) + 1)
        Reader.Fail(Block.At(Top, Left + MaxSize).Offset, TBlock::TooMany("consumers"));
    const int M = int(Rows.size() - First) - 1;
    const int N = std::max(int(Width), 2) - 1;

    TProblem Problem(M, N);
    auto Read = [&](const TRow& Row, int Col, TItem Item) {
        const TAt Cell = Block.At(Row, Left + std::size_t(Col));
        return Reader.Number(Cell.Text, Block.DecimalComma(), Item, Cell.Offset, Cell.Found);
    };
    // Nothing may follow the last number a row holds.
    auto End = [&](const TRow& Row, int Count, TItem Last) {
        if (Row.Lead + Row.Cells.size() > Left + std::size_t(Count)) {
            const std::string_view Extra = Block.ValueFrom(Row, Left + std::size_t(Count));
            Reader.Fail(Reader.OffsetOf(Extra), "expected the end of the line after " +
                                                    Last.Name() + ", found " + Quoted(Extra));
        }
    };
    for (int I = 1; I <= M; ++I) {
        const TRow& Row = Rows[First + std::size_t(I - 1)];
        for (int J = 1; J <= N; ++J)
            Problem.Cost(I, J) = Read(Row, J - 1, {TItem::Cost, I, J});
        Problem.Stock(I) = Read(Row, N, {TItem::Stock, I, 0});
        End(Row, N + 1, {TItem::Stock, I, 0});
    }
    for (int J = 1; J <= N; ++J)
        Problem.Demand(J) = Read(Rows.back(), J - 1, {TItem::Demand, 0, J});
    End(Rows.back(), N, {TItem::Demand, 0, N});
    return Problem;
}

std::string Reason() {
    return std::generic_category().message(errno);
}

} // namespace

TProblem ReadProblemText(std::string_view Text) {
    if (Text.substr(0, 3) == "\xEF\xBB\xBF")
        Text.remove_prefix(3);
    const TReader Reader(Text);
    if (const std::size_t Nul = Text.find('\0'); Nul != NotFound)
        Reader.Fail(Nul, "expected text, found a NUL byte");
    const std::size_t Start =
        std::find_if_not(Text.begin(), Text.end(), IsWhiteSpace) - Text.begin();
    if (Start == Text.size())
        Reader.Fail(0, "expected a problem, found an empty file");
    // The separators of the first line that holds anything, outside quotes.
    bool Quote = false, Seen[3] = {false, false, false};
    constexpr char Separators[3] = {'\t', ';', ','};
    for (std::size_t Pos = Start; Pos < Text.size() && (Quote || !IsLineEnd(Text[Pos])); ++Pos) {
        if (Text[Pos] == '"')
            Quote = !Quote;
        for (int K = 0; K < 3; ++K)
            Seen[K] = Seen[K] || (!Quote && Text[Pos] == Separators[K]);
    }
    for (int K = 0; K < 3; ++K)
        if (Seen[K])
            return ReadBlock(Reader, Separators[K]);
    return ReadList(Reader);
}

TProblem ReadProblemFile(const std::string& Path) {
    const auto TooLarge = [&] { return TFileError(Path + " is larger than 64 MiB"); };
    std::error_code Ec;
    if (std::filesystem::is_regular_file(Path, Ec) &&
        std::filesystem::file_size(Path, Ec) > MaxFileBytes)
        throw TooLarge();
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> File(std::fopen(Path.c_str(), "rb"),
                                                               &std::fclose);
    if (!File)
        throw TFileError("cannot read " + Path + ": " + Reason());
    std::string Text;
    char Buffer[1 << 16];
    // A pipe or a device says nothing of its size; it is bounded while it is read.
    while (const std::size_t Got = std::fread(Buffer, 1, sizeof Buffer, File.get())) {
        Text.append(Buffer, Got);
        if (Text.size() > MaxFileBytes)
            throw TooLarge();
    }
    if (std::ferror(File.get()))
        throw TFileError("cannot read " + Path + ": " + Reason());
    return ReadProblemText(Text);
}

std::string ProblemTableText(const TProblem& Problem) {
    std::string Out;
    // Room for numbers of 17 digits, so that the text grows in place.
    Out.reserve((std::size_t(Problem.M) + 2) * (std::size_t(Problem.N) + 2) * 26);
    for (int J = 1; J <= Problem.N; ++J)
        Out.append(",Consumer ").append(std::to_string(J));
    Out += ",Stock\n";
    for (int I = 1; I <= Problem.M; ++I) {
        Out.append("Supplier ").append(std::to_string(I));
        for (int J = 1; J <= Problem.N; ++J)
            Out.append(",").append(NumberText(Problem.Cost(I, J)));
        Out.append(",").append(NumberText(Problem.Stock(I))).append("\n");
    }
    Out += "Demand";
    for (int J = 1; J <= Problem.N; ++J)
        Out.append(",").append(NumberText(Problem.Demand(J)));
    Out += ",\n";
    return Out;
}

std::string ProblemLpText(const TProblem& Problem) {
    double SumA = 0.0, SumB = 0.0;
    for (double Stock : Problem.A)
        SumA += Stock;
    for (double Demand : Problem.B)
        SumB += Demand;
    const bool DummyConsumer = SumA - SumB > Tolerance;
    const bool DummySupplier = !DummyConsumer && SumB - SumA > Tolerance;
    const bool Within = !DummyConsumer && !DummySupplier;
    const int M = Problem.M + DummySupplier, N = Problem.N + DummyConsumer;
    const char* StockSense = Within && SumA >= SumB ? " <= " : " = ";
    const char* DemandSense = Within && SumA < SumB ? " <= " : " = ";

    std::string Out =
        "\\ A transportation problem written by Kelvor: " + std::to_string(Problem.M) +
        " suppliers, " + std::to_string(Problem.N) + " consumers";
    if (DummyConsumer)
        Out += ", and the dummy consumer " + std::to_string(N);
    if (DummySupplier)
        Out += ", and the dummy supplier " + std::to_string(M);
    Out += ".\n\\ x_I_J is the amount supplier I sends to consumer J.\nMinimize";
    Out.reserve(Out.size() + std::size_t(M) * std::size_t(N) * 60 + std::size_t(M + N) * 40);
    std::size_t LineStart = Out.size();
    // Lead and Number, then the variable x_I_J unless I is 0. A term that would leave a line
    // longer than about 120 characters starts a new one: CPLEX LP readers take 255 at least.
    auto Term = [&](std::string_view Lead, std::string_view Number, int I, int J) {
        if (Out.size() - LineStart > 80) {
            Out += "\n ";
            LineStart = Out.size() - 1;
        }
        Out.append(Lead).append(Number);
        if (I > 0)
            Out.append(Number.empty() ? "x_" : " x_")
                .append(std::to_string(I))
                .append("_")
                .append(std::to_string(J));
    };
    auto NewLine = [&](std::string_view Text) {
        Out.append("\n").append(Text);
        LineStart = Out.size() - Text.size();
    };
    NewLine(" cost:");
    for (int I = 1; I <= M; ++I)
        for (int J = 1; J <= N; ++J) {
            const double C = I <= Problem.M && J <= Problem.N ? Problem.Cost(I, J) : 0.0;
            Term(std::signbit(C) ? " - " : " + ", NumberText(std::fabs(C)), I, J);
        }
    NewLine("Subject To");
    for (int I = 1; I <= M; ++I) {
        NewLine(" stock_" + std::to_string(I) + ":");
        for (int J = 1; J <= N; ++J)
            Term(" + ", "", I, J);
        Term(StockSense, NumberText(I <= Problem.M ? Problem.Stock(I) : SumB - SumA), 0, 0);
    }
    for (int J = 1; J <= N; ++J) {
        NewLine(" demand_" + std::to_string(J) + ":");
        for (int I = 1; I <= M; ++I)
            Term(" + ", "", I, J);
        Term(DemandSense, NumberText(J <= Problem.N ? Problem.Demand(J) : SumA - SumB), 0, 0);
    }
    NewLine("End\n");
    return Out;
}

void WriteFileSafely(const std::string& Path, std::string_view Text) {
    // A name that no other writer picks: this process's, with a count; one that a crashed run
    // left behind is passed over.
    static std::atomic<unsigned> Counter{0};
    std::string Temp;
    int Fd = -1;
    for (int Attempt = 0; Fd < 0 && Attempt < 100; ++Attempt) {
        Temp = Path + ".kelvor-" + std::to_string(::getpid()) + "-" + std::to_string(Counter++);
        Fd = ::open(Temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (Fd < 0 && errno != EEXIST)
            break;
    }
    if (Fd < 0)
        throw TFileError("cannot write " + Path + ": " + Reason());
    std::string Failure; // the first failure's reason
    auto Check = [&Failure](bool Done) {
        if (!Done && Failure.empty())
            Failure = Reason();
        return Done;
    };
    struct stat Old;
    if (::stat(Path.c_str(), &Old) == 0 && S_ISREG(Old.st_mode))
        Check(::fchmod(Fd, Old.st_mode & 07777) == 0);
    for (std::size_t Done = 0; Failure.empty() && Done < Text.size();) {
        const ssize_t Wrote = ::write(Fd, Text.data() + Done, Text.size() - Done);
        if (Wrote < 0 && errno == EINTR)
            continue;
        if (Check(Wrote > 0))
            Done += std::size_t(Wrote);
    }
    if (Failure.empty())
        Check(::fsync(Fd) == 0);
    Check(::close(Fd) == 0);
    if (Failure.empty())
        Check(::rename(Temp.c_str(), Path.c_str()) == 0);
    if (!Failure.empty()) {
        ::unlink(Temp.c_str());
        throw TFileError("cannot write " + Path + ": " + Failure);
    }
    // The rename reaches the disk with its directory. Should this fail, a crash could at worst
    // bring back the old file, which is still whole.
    const std::string Dir = std::filesystem::path(Path).parent_path().string();
    const int DirFd = ::open(Dir.empty() ? "." : Dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (DirFd >= 0) {
        ::fsync(DirFd);
        ::close(DirFd);
    }
}
