// Differential fuzzing of TextToReal against a plainly written model: the grammar checked by
// hand (leading spaces, an optional sign, digits with at most one full stop and at least one
// digit, optionally E or e, an optional sign and one or more digits, nothing after that), then
// the value from the C library's strtod in the "C" locale, which rounds correctly. A result
// beyond the range of a double (strtod's infinity) is refused; one too small keeps strtod's
// nearest double, zero or subnormal, with its sign. Values are compared bit for bit, so the
// sign of zero counts; a refused text leaves the value untouched.
#include "TextUnit.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

namespace {

bool IsDigit(char Ch) {
    return Ch >= '0' && Ch <= '9';
}

bool Grammar(const std::string& Number) {
    std::size_t Pos = 0;
    if (Pos < Number.size() && (Number[Pos] == '+' || Number[Pos] == '-'))
        ++Pos;
    int Digits = 0, Points = 0;
    while (Pos < Number.size() && (IsDigit(Number[Pos]) || Number[Pos] == '.')) {
        if (Number[Pos] == '.')
            ++Points;
        else
            ++Digits;
        ++Pos;
    }
    if (Digits == 0 || Points > 1)
        return false;
    if (Pos < Number.size() && (Number[Pos] == 'e' || Number[Pos] == 'E')) {
        ++Pos;
        if (Pos < Number.size() && (Number[Pos] == '+' || Number[Pos] == '-'))
            ++Pos;
        int ExponentDigits = 0;
        while (Pos < Number.size() && IsDigit(Number[Pos])) {
            ++ExponentDigits;
            ++Pos;
        }
        if (ExponentDigits == 0)
            return false;
    }
    return Pos == Number.size();
}

bool Model(const std::string& Text, double& Value) {
    std::size_t First = 0;
    while (First < Text.size() && Text[First] == ' ')
        ++First;
    const std::string Number = Text.substr(First);
    if (!Grammar(Number))
        return false;
    static const locale_t C = newlocale(LC_ALL_MASK, "C", locale_t(0));
    char* End = nullptr;
    const double Result = strtod_l(Number.c_str(), &End, C);
    if (End != Number.c_str() + Number.size())
        return false;
    if (std::isinf(Result))
        return false;
    Value = Result;
    return true;
}

std::uint64_t Bits(double X) {
    std::uint64_t B;
    std::memcpy(&B, &X, sizeof B);
    return B;
}

[[noreturn]] void Mismatch(const std::string& Text, bool Ok, double Value, bool ModelOk,
                           double ModelValue) {
    std::fprintf(stderr,
                 "TextToReal mismatch on %zu bytes \"%s\": got %s %.17g (%016llx), model %s "
                 "%.17g (%016llx)\n",
                 Text.size(), Text.c_str(), Ok ? "ok" : "refused", Value,
                 (unsigned long long)Bits(Value), ModelOk ? "ok" : "refused", ModelValue,
                 (unsigned long long)Bits(ModelValue));
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string Text(reinterpret_cast<const char*>(Data), Size);
    // A quiet NaN with a payload that no conversion produces, so that a write on refusal shows.
    constexpr std::uint64_t UntouchedBits = 0x7FF8'DEAD'BEEF'0001ull;
    double Value, ModelValue;
    std::memcpy(&Value, &UntouchedBits, sizeof Value);
    std::memcpy(&ModelValue, &UntouchedBits, sizeof ModelValue);
    const bool Ok = TextToReal(Text, Value);
    const bool ModelOk = Model(Text, ModelValue);
    if (Ok != ModelOk || Bits(Value) != Bits(ModelValue))
        Mismatch(Text, Ok, Value, ModelOk, ModelValue);
    return 0;
}
