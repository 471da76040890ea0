// Text to number conversions shared by the windows, the console tool and the tests.
#pragma once

#include <cstdint>
#include <string_view>

// A whole text as a signed 32-bit integer: leading space characters, then either an optional
// sign and decimal digits, or (without a sign) hexadecimal digits introduced by "$", "x" or "0x"
// (either case). A decimal value must fit in 32 signed bits; a hexadecimal one in 32 bits, read
// as signed. Anything else fails and leaves Value unchanged.
bool TextToInt(std::string_view Text, std::int32_t& Value);

// A whole text as a double: leading space characters, an optional sign, decimal digits with an
// optional full stop (digits on either side optional, at least one in all), then optionally "E"
// or "e", an optional sign and one or more exponent digits. The value is the correctly rounded
// double; a number beyond the range of a double fails, one too small for it reads as the nearest
// double (zero, keeping the sign). Anything else fails and leaves Value unchanged.
bool TextToReal(std::string_view Text, double& Value);
