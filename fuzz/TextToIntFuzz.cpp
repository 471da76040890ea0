// Differential fuzzing of TextToInt against a plainly written model of its grammar: any number
// of leading spaces; then an optional sign and one or more decimal digits, or, without a sign,
// "$", "x", "X", "0x" or "0X" and one or more hexadecimal digits; nothing after that. Decimal
// values must fit 32 signed bits; hexadecimal ones 32 bits, read as signed. A refused text
// leaves the value untouched.
#include "TextUnit.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool IsDecimal(char Ch) {
    return Ch >= '0' && Ch <= '9';
}

bool IsHex(char Ch) {
    return IsDecimal(Ch) || (Ch >= 'a' && Ch <= 'f') || (Ch >= 'A' && Ch <= 'F');
}

int HexValue(char Ch) {
    if (IsDecimal(Ch))
        return Ch - '0';
    if (Ch >= 'a' && Ch <= 'f')
        return 10 + (Ch - 'a');
    return 10 + (Ch - 'A');
}

std::string WithoutLeadingZeros(const std::string& Digits) {
    std::size_t First = 0;
    while (First + 1 < Digits.size() && Digits[First] == '0')
        ++First;
    return Digits.substr(First);
}

// The range check works on the digit strings, so that no arithmetic can overflow on the way.
bool Model(const std::string& Text, std::int32_t& Value) {
    std::size_t Pos = 0;
    while (Pos < Text.size() && Text[Pos] == ' ')
        ++Pos;
    const std::string Rest = Text.substr(Pos);

    std::string HexDigits;
    bool Hex = true;
    if (Rest.starts_with("$") || Rest.starts_with("x") || Rest.starts_with("X"))
        HexDigits = Rest.substr(1);
    else if (Rest.starts_with("0x") || Rest.starts_with("0X"))
        HexDigits = Rest.substr(2);
    else
        Hex = false;
    if (Hex) {
        if (HexDigits.empty())
            return false;
        for (char Ch : HexDigits)
            if (!IsHex(Ch))
                return false;
        const std::string Digits = WithoutLeadingZeros(HexDigits);
        if (Digits.size() > 8)
            return false;
        std::uint32_t Bits = 0;
        for (char Ch : Digits)
            Bits = Bits * 16 + std::uint32_t(HexValue(Ch));
        Value = static_cast<std::int32_t>(Bits);
        return true;
    }

    bool Negative = false;
    std::string Digits = Rest;
    if (!Digits.empty() && (Digits[0] == '+' || Digits[0] == '-')) {
        Negative = Digits[0] == '-';
        Digits = Digits.substr(1);
    }
    if (Digits.empty())
        return false;
    for (char Ch : Digits)
        if (!IsDecimal(Ch))
            return false;
    Digits = WithoutLeadingZeros(Digits);
    const std::string Limit = Negative ? "2147483648" : "2147483647";
    if (Digits.size() > Limit.size() || (Digits.size() == Limit.size() && Digits > Limit))
        return false;
    std::int64_t Magnitude = 0;
    for (char Ch : Digits)
        Magnitude = Magnitude * 10 + (Ch - '0');
    Value = static_cast<std::int32_t>(Negative ? -Magnitude : Magnitude);
    return true;
}

[[noreturn]] void Mismatch(const std::string& Text, bool Ok, std::int32_t Value, bool ModelOk,
                           std::int32_t ModelValue) {
    std::fprintf(stderr, "TextToInt mismatch on %zu bytes \"%s\": got %s %d, model %s %d\n",
                 Text.size(), Text.c_str(), Ok ? "ok" : "refused", Value,
                 ModelOk ? "ok" : "refused", ModelValue);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string Text(reinterpret_cast<const char*>(Data), Size);
    // A value that no text is likely to hold, so that a write on refusal shows.
    constexpr std::int32_t Untouched = -0x5A5A5A5B;
    std::int32_t Value = Untouched, ModelValue = Untouched;
    const bool Ok = TextToInt(Text, Value);
    const bool ModelOk = Model(Text, ModelValue);
    if (Ok != ModelOk || Value != ModelValue)
        Mismatch(Text, Ok, Value, ModelOk, ModelValue);
    return 0;
}
