// Problem files: a transportation problem as a table that a spreadsheet opens, as the console
// tool's list of numbers, and as a linear program for other solvers.
//
// Reading takes a whole text and gives a whole problem or refuses it with one TFileError that
// names the line and the column (both from 1, the column counting characters, not bytes) and
// says what was expected there. Nothing partial is ever returned. What is read:
//
// - The text: a UTF-8 byte-order mark at the start is skipped; lines end in LF, CRLF or CR. A NUL
//   byte refuses the text. Other bytes are not checked for UTF-8: names are ignored, so a name in
//   another 8-bit encoding does no harm, and a cell that is not ASCII is never a number.
// - The layout: the first line that holds anything but white space decides. With a tab outside
//   double quotes the text is a block separated by tabs; otherwise with a semicolon, by
//   semicolons; otherwise with a comma, by commas; with none of them it is the list of numbers.
//
// The block, as a spreadsheet saves it: M rows of N costs followed by the supplier's stock, then
// one row of N demands whose last cell is empty or absent. A row is a line, except that a quoted
// cell may hold line ends.
//   8,6,10,9,30
//   9,12,13,7,25
//   20,30,25,15
// - Cells follow RFC 4180: a cell that starts with a double quote runs to the next double quote
//   that is not doubled, and ends at a separator or the end of the row (spaces, and tabs that do
//   not separate, may follow the closing quote). Spaces (and tabs that do not separate) around a
//   cell and inside its quotes are dropped.
// - Rows whose cells are all empty are skipped; empty cells at the end of a row are as if absent.
// - The first row holds names when none of its cells is a number and at least one is not empty.
//   Below it, columns on the left that are empty in every row are dropped; then the first column
//   holds names when none of its cells is a number and at least one is not empty. Names are
//   ignored.
// - The first row of numbers sets N: it holds N costs and the stock. Every supplier's row holds
//   exactly N + 1 numbers; the last row, the demands, exactly N numbers.
// - A number is what TextToReal reads, after DecimalCommaToPoint in a block separated by
//   semicolons or tabs ("2,5" is 2.5 there). A number beyond the range of a double, NaN and
//   infinity are refused; one too small for a double reads as the nearest double.
// - 1 to MaxSize suppliers and 1 to MaxSize consumers. While reading, a row that spans more than
//   MaxSize + 2 cells from its first value to its last (a name, the costs and the stock), and a
//   text of more than MaxSize + 2 rows that are not blank, are refused at once.
//
// The list of numbers, as the console tool has always read it: M and N (as TextToInt reads them,
// 1 to MaxSize), then the M stocks, the N demands and the M * N costs row by row, separated by
// any white space (spaces, tabs, line ends, vertical tabs, form feeds), with nothing after them.
//   2 3
//   30 20
//   10 25 15
//   8 6 10
//   9 12 13
//
// Writing gives the block with names, comma separated, every number as NumberText writes it (the
// shortest text that reads back to the same double), so that reading it back gives the problem
// bit for bit:
//   ,Consumer 1,Consumer 2,Stock
//   Supplier 1,8,6,30
//   Demand,10,20,
// A number that is not finite is written as NumberText gives it, and reading refuses it.
#pragma once

#include "Problem.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// A text that is not a problem, or a file that could not be read or written. Line and Column
// count from 1; both are 0 for a failure that has no place in a text (a file that cannot be
// opened, is too large, cannot be written). what() is "line L, column C: " and the message, or
// the message alone.
class TFileError : public std::runtime_error {
public:
    TFileError(int Line, int Column, const std::string& Message);
    explicit TFileError(const std::string& Message) : TFileError(0, 0, Message) {}

    int Line;
    int Column;
    std::string Message;
};

// Larger files are refused before they are read: a 500 x 500 problem takes about 6 MiB even
// with every number written to 17 digits.
inline constexpr std::uintmax_t MaxFileBytes = std::uintmax_t(64) << 20;

// The problem in Text, in either layout above. Throws TFileError.
TProblem ReadProblemText(std::string_view Text);

// The problem in the file at Path ("/dev/stdin" reads standard input). Throws TFileError: "cannot
// read PATH: REASON", "PATH is larger than 64 MiB", or what ReadProblemText throws.
TProblem ReadProblemFile(const std::string& Path);

// The block with names, as described above. The problem's vectors must match its sizes.
std::string ProblemTableText(const TProblem& Problem);

// The problem as a linear program in the CPLEX LP format, balanced as the program balances it.
// With SumA and SumB the totals of the stocks and the demands, each summed in order:
// - SumA - SumB > Tolerance: a dummy consumer N + 1 with demand SumA - SumB at zero cost;
// - SumB - SumA > Tolerance: a dummy supplier M + 1 with stock SumB - SumA at zero cost;
// - otherwise no dummy, and the larger side (the stocks when the totals are equal) gets "<="
//   instead of "=", so that the difference the program leaves unshipped keeps the program
//   feasible.
// Variables x_I_J >= 0, the amount supplier I sends to consumer J (the dummy included); the
// objective "cost", the sum of C[I, J] * x_I_J; constraints "stock_I" (row I ships A[I]) and
// "demand_J" (column J receives B[J]). Lines stay well below 255 characters.
std::string ProblemLpText(const TProblem& Problem);

// Writes Text to Path so that Path holds either its old content or the whole of Text, whatever
// fails: through a temporary file beside Path that is written, flushed to the disk and renamed
// over Path (keeping an existing file's permissions). On failure the temporary file is removed
// and TFileError "cannot write PATH: REASON" is thrown.
void WriteFileSafely(const std::string& Path, std::string_view Text);
