#include "TextUnit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

namespace {

bool IsDigit(char Ch) {
    return Ch >= '0' && Ch <= '9';
}

int HexDigit(char Ch) {
    if (IsDigit(Ch))
        return Ch - '0';
    if (Ch >= 'a' && Ch <= 'f')
        return Ch - 'a' + 10;
    if (Ch >= 'A' && Ch <= 'F')
        return Ch - 'A' + 10;
    return -1;
}

std::string_view SkipBlanks(std::string_view Text) {
    const auto First = Text.find_first_not_of(' ');
    return First == std::string_view::npos ? std::string_view{} : Text.substr(First);
}

bool HexToInt(std::string_view Digits, std::int32_t& Value) {
    if (Digits.empty())
        return false;
    std::uint64_t Acc = 0;
    for (char Ch : Digits) {
        const int D = HexDigit(Ch);
        if (D < 0)
            return false;
        Acc = Acc * 16 + std::uint64_t(D);
        if (Acc > 0xFFFFFFFFu)
            return false;
    }
    Value = static_cast<std::int32_t>(static_cast<std::uint32_t>(Acc));
    return true;
}

} // namespace

bool TextToInt(std::string_view Text, std::int32_t& Value) {
    Text = SkipBlanks(Text);
    if (Text.empty())
        return false;
    if (Text[0] == '$')
        return HexToInt(Text.substr(1), Value);
    if (Text[0] == 'x' || Text[0] == 'X')
        return HexToInt(Text.substr(1), Value);
    if (Text.size() >= 2 && Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X'))
        return HexToInt(Text.substr(2), Value);
    bool Negative = false;
    if (Text[0] == '+' || Text[0] == '-') {
        Negative = Text[0] == '-';
        Text.remove_prefix(1);
    }
    if (Text.empty())
        return false;
    std::int64_t Acc = 0;
    for (char Ch : Text) {
        if (!IsDigit(Ch))
            return false;
        Acc = Acc * 10 + (Ch - '0');
        if (Acc > std::int64_t(INT32_MAX) + 1)
            return false;
    }
    if (Negative)
        Acc = -Acc;
    if (Acc > INT32_MAX || Acc < INT32_MIN)
        return false;
    Value = static_cast<std::int32_t>(Acc);
    return true;
}

bool TextToReal(std::string_view Text, double& Value) {
    Text = SkipBlanks(Text);
    std::size_t Pos = 0;
    bool Negative = false;
    if (Pos < Text.size() && (Text[Pos] == '+' || Text[Pos] == '-')) {
        Negative = Text[Pos] == '-';
        ++Pos;
    }
    const std::size_t Start = Pos;
    // Where the first non-zero digit stands relative to the point tells, when the conversion
    // leaves the range of a double, whether the number was too large or too small.
    std::int64_t Magnitude = 0;
    bool SeenNonZero = false, SeenPoint = false;
    std::size_t Digits = 0;
    for (; Pos < Text.size(); ++Pos) {
        const char Ch = Text[Pos];
        if (IsDigit(Ch)) {
            ++Digits;
            if (Ch != '0')
                SeenNonZero = true;
            if (SeenNonZero && !SeenPoint)
                ++Magnitude;
            if (!SeenNonZero && SeenPoint)
                --Magnitude;
        } else if (Ch == '.' && !SeenPoint) {
            SeenPoint = true;
        } else {
            break;
        }
    }
    if (Digits == 0)
        return false;
    std::int64_t Exponent = 0;
    if (Pos < Text.size() && (Text[Pos] == 'e' || Text[Pos] == 'E')) {
        ++Pos;
        bool NegativeExponent = false;
        if (Pos < Text.size() && (Text[Pos] == '+' || Text[Pos] == '-')) {
            NegativeExponent = Text[Pos] == '-';
            ++Pos;
        }
        const std::size_t ExponentStart = Pos;
        for (; Pos < Text.size() && IsDigit(Text[Pos]); ++Pos)
            if (Exponent < 1'000'000'000)
                Exponent = Exponent * 10 + (Text[Pos] - '0');
        if (Pos == ExponentStart)
            return false;
        if (NegativeExponent)
            Exponent = -Exponent;
    }
    if (Pos != Text.size())
        return false;
    if (!SeenNonZero) {
        Value = Negative ? -0.0 : 0.0;
        return true;
    }
    // from_chars reads the unsigned body in the C locale's grammar; the sign is applied here.
    double Result = 0.0;
    const char* First = Text.data() + Start;
    const char* Last = Text.data() + Text.size();
    const auto [Ptr, Ec] = std::from_chars(First, Last, Result, std::chars_format::general);
    if (Ec == std::errc::result_out_of_range) {
        if (Magnitude + Exponent > 0)
            return false;
        Result = 0.0;
    } else if (Ec != std::errc() || Ptr != Last) {
        return false;
    }
    Value = Negative ? -Result : Result;
    return true;
}

namespace {

// The value's 15 significant decimal digits and the power of ten of the first one.
struct TDecimal {
    char Digits[15];
    int Exponent;
};

TDecimal Decimal15(double Magnitude) {
    char Text[40];
    std::snprintf(Text, sizeof Text, "%.14e", Magnitude);
    TDecimal D{};
    D.Digits[0] = Text[0];
    std::memcpy(D.Digits + 1, Text + 2, 14);
    D.Exponent = std::atoi(Text + 17);
    return D;
}

} // namespace

std::string NumberText(double Value) {
    char Text[32];
    const auto Result = std::to_chars(Text, Text + sizeof Text, Value);
    return std::string(Text, Result.ptr);
}

std::string DecimalCommaToPoint(std::string_view Text) {
    std::string Converted(Text);
    double Value = 0.0;
    if (Text.find(',') == std::string_view::npos || TextToReal(Text, Value))
        return Converted;
    std::replace(Converted.begin(), Converted.end(), ',', '.');
    return TextToReal(Converted, Value) ? Converted : std::string(Text);
}

namespace {

// The UTF-8 blanks that spreadsheets put around or between the groups of a number.
constexpr std::string_view Blanks[] = {" ", "\t", "\u00A0", "\u202F"};

std::string_view TrimBlanks(std::string_view Text) {
    for (bool Trimmed = true; Trimmed;) {
        Trimmed = false;
        for (std::string_view Blank : Blanks) {
            if (Text.starts_with(Blank)) {
                Text.remove_prefix(Blank.size());
                Trimmed = true;
            }
            if (Text.ends_with(Blank)) {
                Text.remove_suffix(Blank.size());
                Trimmed = true;
            }
        }
    }
    return Text;
}

std::size_t DigitsAt(std::string_view Text, std::size_t Pos) {
    std::size_t End = Pos;
    while (End < Text.size() && IsDigit(Text[End]))
        ++End;
    return End - Pos;
}

// The field read the region's way, in the program's form; empty when it is not written so.
std::string RegionalForm(std::string_view Text, std::string_view Decimal, std::string_view Group) {
    std::string Out;
    std::size_t Pos = 0;
    if (Pos < Text.size() && (Text[Pos] == '+' || Text[Pos] == '-'))
        Out += Text[Pos++];
    std::size_t Run = DigitsAt(Text, Pos);
    Out.append(Text, Pos, Run);
    Pos += Run;
    std::size_t Digits = Run;
    if (!Group.empty() && Run >= 1 && Run <= 3) {
        // A group mark stands before exactly three digits that no further digit follows.
        while (Text.substr(Pos).starts_with(Group) && DigitsAt(Text, Pos + Group.size()) == 3) {
            Out.append(Text, Pos + Group.size(), 3);
            Pos += Group.size() + 3;
            Digits += 3;
        }
    }
    if (!Decimal.empty() && Text.substr(Pos).starts_with(Decimal)) {
        Pos += Decimal.size();
        Run = DigitsAt(Text, Pos);
        Out += '.';
        Out.append(Text, Pos, Run);
        Pos += Run;
        Digits += Run;
    }
    if (Digits == 0)
        return {};
    if (Pos < Text.size() && (Text[Pos] == 'e' || Text[Pos] == 'E')) {
        const std::size_t Start = Pos++;
        if (Pos < Text.size() && (Text[Pos] == '+' || Text[Pos] == '-'))
            ++Pos;
        Run = DigitsAt(Text, Pos);
        if (Run == 0)
            return {};
        Pos += Run;
        Out.append(Text, Start, Pos - Start);
    }
    return Pos == Text.size() ? Out : std::string();
}

} // namespace

std::string RegionalNumberToPoint(std::string_view Text, std::string_view Decimal,
                                  std::string_view Group) {
    const std::string_view Field = TrimBlanks(Text);
    double Value = 0.0;
    std::string Regional = RegionalForm(Field, Decimal, Group);
    if (!Regional.empty() && TextToReal(Regional, Value))
        return Regional;
    if (TextToReal(Field, Value))
        return std::string(Field);
    return std::string(Text);
}

std::string AmountText(double Value) {
    if (!std::isfinite(Value))
        return Value != Value ? "NAN" : Value > 0 ? "INF" : "-INF";
    const TDecimal D = Decimal15(std::fabs(Value));
    auto DigitAt = [&D](int Power) {
        const int K = D.Exponent - Power;
        return K >= 0 && K < 15 ? D.Digits[K] - '0' : 0;
    };
    // Digits from the highest power down to tenths, most significant first, one spare in
    // front for a carry.
    const int Top = std::max(D.Exponent, 0);
    std::string Digits(std::size_t(Top + 3), '0');
    for (int Power = Top; Power >= -1; --Power)
        Digits[std::size_t(Top - Power + 1)] = char('0' + DigitAt(Power));
    if (DigitAt(-2) >= 5) {
        std::size_t K = Digits.size();
        while (K-- > 0) {
            if (Digits[K] == '9') {
                Digits[K] = '0';
                continue;
            }
            ++Digits[K];
            break;
        }
    }
    const std::size_t First = std::min(Digits.find_first_not_of('0'), Digits.size() - 2);
    std::string Text = Digits.substr(First, Digits.size() - 1 - First) + "." + Digits.back();
    if (Value < 0 && Text.find_first_not_of("0.") != std::string::npos)
        Text.insert(0, "-");
    if (Text.size() < 4)
        Text.insert(0, 4 - Text.size(), ' ');
    return Text;
}

std::string CostText(double Value, std::string_view DecimalSeparator) {
    if (Value == 0.0)
        return "0";
    if (!std::isfinite(Value))
        return Value != Value ? "NAN" : Value > 0 ? "INF" : "-INF";
    const TDecimal D = Decimal15(std::fabs(Value));
    int Used = 15;
    while (Used > 1 && D.Digits[Used - 1] == '0')
        --Used;
    std::string Text = Value < 0 ? "-" : "";
    if (D.Exponent >= -4 && D.Exponent < 15) {
        if (D.Exponent < 0) {
            Text += "0";
            Text += DecimalSeparator;
            Text.append(std::size_t(-D.Exponent - 1), '0');
            Text.append(D.Digits, std::size_t(Used));
        } else {
            const int Whole = D.Exponent + 1;
            for (int K = 0; K < Whole; ++K)
                Text += K < Used ? D.Digits[K] : '0';
            if (Used > Whole) {
                Text += DecimalSeparator;
                Text.append(D.Digits + Whole, std::size_t(Used - Whole));
            }
        }
        return Text;
    }
    Text += D.Digits[0];
    if (Used > 1) {
        Text += DecimalSeparator;
        Text.append(D.Digits + 1, std::size_t(Used - 1));
    }
    Text += "E" + std::to_string(D.Exponent);
    return Text;
}
