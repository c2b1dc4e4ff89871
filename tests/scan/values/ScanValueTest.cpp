#include "scan/values/ScanValue.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quorvin;

namespace {

struct NumberCase {
    double value;
    const char* dot;
    const char* comma;
};

class NumberTextTest : public testing::TestWithParam<NumberCase> {};

TEST_P(NumberTextTest, WritesAtMostFifteenDigitsWithTheUsersSeparator) {
    const auto& c = GetParam();
    EXPECT_EQ(numberText(c.value, NumberFormat{"."}), c.dot);
    EXPECT_EQ(numberText(c.value, NumberFormat{","}), c.comma);
}

INSTANTIATE_TEST_SUITE_P(
    Values, NumberTextTest,
    testing::Values(NumberCase{8192.0, "8192", "8192"}, NumberCase{15.92, "15.92", "15,92"},
                    NumberCase{0.5, "0.5", "0,5"}, NumberCase{0.98 * 1024.0, "1003.52", "1003,52"},
                    NumberCase{0.99 * 1024.0, "1013.76", "1013,76"}, NumberCase{0.0, "0", "0"},
                    NumberCase{-0.0, "0", "0"},
                    NumberCase{1.0 / 3.0, "0.333333333333333", "0,333333333333333"},
                    NumberCase{123456789012.5, "123456789012.5", "123456789012,5"},
                    NumberCase{1e15, "1E+15", "1E+15"}, NumberCase{-2.25, "-2.25", "-2,25"},
                    NumberCase{8191.5 / 1.0, "8191.5", "8191,5"}));

TEST(NumberText, MultiByteSeparatorIsUsedWhole) {
    EXPECT_EQ(numberText(3.99, NumberFormat{"\xD9\xAB"}), "3\xD9\xAB"
                                                          "99"); // Arabic decimal
}

struct RoundCase {
    double value;
    double expected;
};

class RoundTest : public testing::TestWithParam<RoundCase> {};

TEST_P(RoundTest, RoundsTiesToEvenOnTheExactValue) {
    EXPECT_EQ(roundToHundredths(GetParam().value), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, RoundTest,
    testing::Values(RoundCase{0.125, 0.12}, RoundCase{0.375, 0.38},
                    RoundCase{2.675, 2.67}, // binary 2.67499999..., below the tie
                    RoundCase{1.005, 1.0}, RoundCase{1.015, 1.01},
                    RoundCase{17098874880.0 / 1073741824.0, 15.92},
                    RoundCase{134217728.0 / 1073741824.0, 0.12}, RoundCase{8.0, 8.0},
                    RoundCase{2097151.0 / 1048576.0, 2.0}, RoundCase{0.004, 0.0},
                    RoundCase{0.005, 0.01} /* binary 0.00500000...01 */, RoundCase{0.0051, 0.01},
                    RoundCase{0.015, 0.01}, RoundCase{9.995, 9.99}, RoundCase{99.999, 100.0},
                    RoundCase{-0.125, -0.12}, RoundCase{0.0, 0.0}, RoundCase{1e20, 1e20},
                    RoundCase{5e-324, 0.0},
                    // A hair off the tie, past what 15 digits show
                    RoundCase{10737595407401.0 / 1073741824.0, 10000.17},
                    RoundCase{10737777943511.0 / 1073741824.0, 10000.33}));

TEST(Round, LeavesNonFiniteValuesAlone) {
    EXPECT_TRUE(std::isinf(roundToHundredths(INFINITY)));
    EXPECT_TRUE(std::isnan(roundToHundredths(NAN)));
}

TEST(JoinText, EachKindJoinsAsItsText) {
    const NumberFormat comma{","};
    EXPECT_EQ(joinText(ScanValue(), comma), "");
    EXPECT_EQ(joinText(ScanValue::null(), comma), "");
    EXPECT_EQ(joinText(ScanValue::text(" DIMM 0 "), comma), " DIMM 0 ");
    EXPECT_EQ(joinText(ScanValue::integer(-42), comma), "-42");
    EXPECT_EQ(joinText(ScanValue::integer(2400), comma), "2400");
    EXPECT_EQ(joinText(ScanValue::real(3.99), comma), "3,99");
}

TEST(ScanValue, KindsAreDistinctAndTypedAccessIsChecked) {
    EXPECT_TRUE(ScanValue().isEmpty());
    EXPECT_TRUE(ScanValue::null().isNull());
    EXPECT_NE(ScanValue(), ScanValue::null());
    EXPECT_NE(ScanValue::text(""), ScanValue());
    EXPECT_NE(ScanValue::integer(1), ScanValue::real(1.0));
    EXPECT_EQ(ScanValue::text("8"), ScanValue::text("8"));
    EXPECT_THROW(ScanValue::text("8").asInteger(), std::logic_error);
    EXPECT_THROW(ScanValue::null().asText(), std::logic_error);
    EXPECT_EQ(ScanValue::integer(7).asInteger(), 7);
}

struct ParseCase {
    const char* text;
    std::optional<double> expected;
};

TEST(ParseDecimal, AcceptsOnlyPlainDecimalNumbers) {
    const ParseCase cases[] = {{"8589934592", 8589934592.0},
                               {"18446744073709551615", 18446744073709551615.0},
                               {"0", 0.0},
                               {"+5", 5.0},
                               {"1.5", 1.5},
                               {"", std::nullopt},
                               {"12 ", std::nullopt},
                               {"abc", std::nullopt},
                               {"1e5", std::nullopt},
                               {"0x10", std::nullopt},
                               {"nan", std::nullopt},
                               {"-inf", std::nullopt},
                               {"infinity", std::nullopt},
                               {"+-5", std::nullopt},
                               {"-1.5", -1.5}};
    for (const auto& c : cases)
        EXPECT_EQ(parseDecimal(c.text), c.expected) << '"' << c.text << '"';
}

} // namespace
