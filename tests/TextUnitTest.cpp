#include "TextUnit.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace {

std::optional<std::int32_t> Int(std::string_view Text) {
    std::int32_t Value = 12345;
    if (!TextToInt(Text, Value)) {
        EXPECT_EQ(Value, 12345) << "a failed conversion changed the value";
        return std::nullopt;
    }
    return Value;
}

std::optional<double> Real(std::string_view Text) {
    double Value = 12345.0;
    if (!TextToReal(Text, Value)) {
        EXPECT_EQ(Value, 12345.0) << "a failed conversion changed the value";
        return std::nullopt;
    }
    return Value;
}

struct TIntCase {
    const char* Text;
    std::optional<std::int32_t> Value;
};

class TextToIntCases : public testing::TestWithParam<TIntCase> {};

TEST_P(TextToIntCases, Converts) {
    EXPECT_EQ(Int(GetParam().Text), GetParam().Value);
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, TextToIntCases,
    testing::Values(TIntCase{"12", 12}, TIntCase{"  +12", 12}, TIntCase{"-7", -7},
                    TIntCase{"007", 7}, TIntCase{"0", 0}, TIntCase{"-0", 0}, TIntCase{"$FF", 255},
                    TIntCase{"$ff", 255}, TIntCase{"x1A", 26}, TIntCase{"X1a", 26},
                    TIntCase{"0x10", 16}, TIntCase{"0X10", 16}, TIntCase{"   $7FFFFFFF", INT32_MAX},
                    TIntCase{"$FFFFFFFF", -1}, TIntCase{"$80000000", INT32_MIN},
                    TIntCase{"$000000000001", 1}, TIntCase{"2147483647", INT32_MAX},
                    TIntCase{"-2147483648", INT32_MIN}, TIntCase{"0000000000000000000000500", 500},
                    // Failures.
                    TIntCase{"", std::nullopt}, TIntCase{"   ", std::nullopt},
                    TIntCase{"-", std::nullopt}, TIntCase{"+", std::nullopt},
                    TIntCase{"12 ", std::nullopt}, TIntCase{"1 2", std::nullopt},
                    TIntCase{"\t12", std::nullopt}, TIntCase{"0x", std::nullopt},
                    TIntCase{"$", std::nullopt}, TIntCase{"x", std::nullopt},
                    TIntCase{"-$FF", std::nullopt}, TIntCase{"+0x10", std::nullopt},
                    TIntCase{"$FG", std::nullopt}, TIntCase{"$100000000", std::nullopt},
                    TIntCase{"2147483648", std::nullopt}, TIntCase{"-2147483649", std::nullopt},
                    TIntCase{"99999999999999999999", std::nullopt}, TIntCase{"1.0", std::nullopt},
                    TIntCase{"1e3", std::nullopt}, TIntCase{"00x10", std::nullopt},
                    TIntCase{"--1", std::nullopt}, TIntCase{"a", std::nullopt}));

struct TRealCase {
    const char* Text;
    std::optional<double> Value;
};

class TextToRealCases : public testing::TestWithParam<TRealCase> {};

TEST_P(TextToRealCases, Converts) {
    const auto Got = Real(GetParam().Text);
    ASSERT_EQ(Got.has_value(), GetParam().Value.has_value()) << GetParam().Text;
    if (Got) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(*Got),
                  std::bit_cast<std::uint64_t>(*GetParam().Value))
            << GetParam().Text << " gave " << *Got;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, TextToRealCases,
    testing::Values(
        TRealCase{"12.5", 12.5}, TRealCase{"  +3", 3.0}, TRealCase{"-4.25", -4.25},
        TRealCase{"5.", 5.0}, TRealCase{".5", 0.5}, TRealCase{"1E3", 1000.0},
        TRealCase{"1e-2", 0.01}, TRealCase{"2.5e+1", 25.0}, TRealCase{"-0", -0.0},
        TRealCase{"0.1", 0.1}, TRealCase{"000123.4500", 123.45},
        TRealCase{"1.7976931348623157e308", 1.7976931348623157e308}, TRealCase{"4e-320", 4e-320},
        TRealCase{"1e-400", 0.0}, TRealCase{"-1e-400", -0.0},
        TRealCase{"0.000000000000000000000001e-310", 0.0}, TRealCase{"0e999999999999", 0.0},
        TRealCase{"9007199254740993", 9007199254740992.0}, // ties to even
        // Failures.
        TRealCase{"", std::nullopt}, TRealCase{" ", std::nullopt}, TRealCase{"-", std::nullopt},
        TRealCase{".", std::nullopt}, TRealCase{"+.", std::nullopt}, TRealCase{"1,5", std::nullopt},
        TRealCase{"1.5 ", std::nullopt}, TRealCase{"\t1", std::nullopt},
        TRealCase{"1e", std::nullopt}, TRealCase{"1e+", std::nullopt},
        TRealCase{"e5", std::nullopt}, TRealCase{"1.2.3", std::nullopt},
        TRealCase{"inf", std::nullopt}, TRealCase{"nan", std::nullopt},
        TRealCase{"-Infinity", std::nullopt}, TRealCase{"0x1p3", std::nullopt},
        TRealCase{"1e400", std::nullopt}, TRealCase{"-1.8e308", std::nullopt},
        TRealCase{"1.7976931348623159e308", std::nullopt}, TRealCase{"1 e5", std::nullopt},
        TRealCase{"12a", std::nullopt}, TRealCase{"+-1", std::nullopt}));

TEST(TextToReal, VeryLongTextsConvert) {
    std::string Long(100000, '0');
    Long += "7.25";
    EXPECT_EQ(Real(Long), 7.25);
    std::string Digits = "0." + std::string(5000, '0') + "1e5001";
    EXPECT_EQ(Real(Digits), 1.0);
    std::string Huge = "1" + std::string(400, '0');
    EXPECT_EQ(Real(Huge), std::nullopt);
}

TEST(DecimalCommaToPoint, TurnsCommasIntoPointsOnlyWhereTheWholeCellBecomesANumber) {
    EXPECT_EQ(DecimalCommaToPoint("2,5"), "2.5");
    EXPECT_EQ(DecimalCommaToPoint("  -1,5E3"), "  -1.5E3");
    EXPECT_EQ(DecimalCommaToPoint(",5"), ".5");
    for (const char* Unchanged :
         {"2.5", "12", "", ",", "1.234,5", "1,2,3", "x,5", "2,5 ", "2,5\t", "1,5e"})
        EXPECT_EQ(DecimalCommaToPoint(Unchanged), Unchanged);
}

} // namespace

namespace {

struct TFormatCase {
    double Value;
    const char* Text;
};

class AmountTextCases : public testing::TestWithParam<TFormatCase> {};

TEST_P(AmountTextCases, Formats) {
    EXPECT_EQ(AmountText(GetParam().Value), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(Table, AmountTextCases,
                         testing::Values(TFormatCase{5, " 5.0"}, TFormatCase{7, " 7.0"},
                                         TFormatCase{12.25, "12.3"}, TFormatCase{150, "150.0"},
                                         TFormatCase{1234.56, "1234.6"}, TFormatCase{0.05, " 0.1"},
                                         TFormatCase{0.15, " 0.2"}, TFormatCase{0.04951, " 0.0"},
                                         TFormatCase{0.0001, " 0.0"}, TFormatCase{9.95, "10.0"},
                                         TFormatCase{99.96, "100.0"},
                                         TFormatCase{999999.95, "1000000.0"},
                                         TFormatCase{2.675, " 2.7"},
                                         TFormatCase{1e20, "100000000000000000000.0"},
                                         TFormatCase{-2.25, "-2.3"}, TFormatCase{0, " 0.0"}));

class CostTextCases : public testing::TestWithParam<TFormatCase> {};

TEST_P(CostTextCases, Formats) {
    EXPECT_EQ(CostText(GetParam().Value, "."), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CostTextCases,
    testing::Values(TFormatCase{0, "0"}, TFormatCase{1250, "1250"}, TFormatCase{1250.5, "1250.5"},
                    TFormatCase{0.1, "0.1"}, TFormatCase{0.0001, "0.0001"},
                    TFormatCase{0.00009, "9E-5"}, TFormatCase{1.5e20, "1.5E20"},
                    TFormatCase{123456789012345, "123456789012345"},
                    TFormatCase{1234567890123456, "1.23456789012346E15"},
                    TFormatCase{1.0 / 3, "0.333333333333333"}, TFormatCase{-42.5, "-42.5"},
                    TFormatCase{2.0 / 3 * 1e6, "666666.666666667"},
                    TFormatCase{999999999999999.9, "1E15"}, TFormatCase{1e-300, "1E-300"}));

TEST(CostText, UsesTheRegionalSeparator) {
    EXPECT_EQ(CostText(1250.5, ","), "1250,5");
    EXPECT_EQ(CostText(1.5e20, ","), "1,5E20");
    EXPECT_EQ(CostText(1250, ","), "1250");
}

} // namespace
