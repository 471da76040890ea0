// Text to number conversions shared by the windows, the console tool and the tests.
#pragma once

#include <cstdint>
#include <string>
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

// The shortest text that TextToReal reads back to exactly Value ("5", "0.1", "1e+300"); a value
// that is not finite gives "inf", "-inf" or "nan", which it does not read.
std::string NumberText(double Value);

// A cell copied from a spreadsheet of a region that writes the decimal point as a comma: the
// text with every comma turned into a full stop when that, and only that, makes the whole text
// read as a number ("2,5" gives "2.5", "-1,5E3" gives "-1.5E3"); any other text comes back
// unchanged ("2.5", "1.234,5", "x,5", "2,5 ").
std::string DecimalCommaToPoint(std::string_view Text);

// A field pasted from a spreadsheet of a region that writes numbers with Decimal as the decimal
// mark and Group between groups of three digits ("1.234,5" where Decimal is "," and Group "."),
// in the program's own form ("1234.5"). Blanks around the field (spaces, tabs, no-break spaces)
// are dropped. The rule:
//   - a field written the region's way is rewritten: a sign, digits that may be split by Group
//     into groups of three after a first group of one to three ("12.345.678"), Decimal and
//     more digits, an exponent ("-1,5E3" gives "-1.5E3", "1.000" gives "1000");
//   - a field that is not, but reads as the program reads typed text, comes back as that text:
//     a full stop that does not stand between groups of three is the decimal point ("3.5",
//     "1.00" and "1.0000" stay and mean 3.5, 1 and 1);
//   - anything else comes back unchanged, to be shown as what it is: not a number ("1.234.5",
//     "x,5").
// An empty Group stands for a region that groups no digits.
std::string RegionalNumberToPoint(std::string_view Text, std::string_view Decimal,
                                  std::string_view Group);

// A plan amount as the results show it: one decimal with "." as the point, rounded to the
// nearest tenth of the value's 15-digit decimal form with a 5 in the hundredths going away from
// zero, padded on the left with blanks to at least 4 characters: 5 gives " 5.0", 12.25 "12.3".
std::string AmountText(double Value);

// A total cost in the general format with 15 significant digits: fixed notation without
// trailing zeros while the value has at most 15 digits before the point and is at least 0.0001
// in size, otherwise scientific ("1.5E20", "9E-5"); 0 gives "0". DecimalSeparator stands for
// the point (the user's regional one).
std::string CostText(double Value, std::string_view DecimalSeparator);
