#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/digits.h"
#include "engine/format.h"
#include "engine/numeric.h"

namespace slabrating {
namespace {

TEST(NumericTest, WhichTextsAreNumbers) {
    struct Row {
        const char* text;
        bool numeric;
    };
    const Row rows[] = {
        {"12", true},    {"  12.5 ", true}, {"-3", true},     {"+3", true},     {".5", true},
        {"5.", true},    {"1e3", true},     {"1E+3", true},   {"2.5e-2", true}, {"007", true},
        {"1e39", true},  {"", false},       {"   ", false},   {".", false},     {"-", false},
        {"e5", false},   {"1e", false},     {"1e+", false},   {"1,000", false}, {"1,5", false},
        {"$12", false},  {"0x1A", false},   {"inf", false},   {"nan", false},   {"\t12", false},
        {"12\t", false}, {"1 2", false},    {"--1", false},   {"1.2.3", false}, {"abc", false},
        {"1d3", false},  {"- 1", false},    {"1e5.0", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("text \"") + row.text + "\"");
        EXPECT_EQ(isNumeric(row.text), row.numeric);
        EXPECT_EQ(numericValue(row.text).has_value(), row.numeric);
    }
}

TEST(NumericTest, ValuesAreCorrectlyRoundedDoubles) {
    struct Row {
        const char* text;
        double value;
    };
    const Row rows[] = {
        {" 12.5 ", 12.5}, {"-0.62", -0.62}, {"+1e3", 1000.0},
        {".1", 0.1},      {"1.275", 1.275}, {"123456789012", 123456789012.0},
        {"1e-400", 0.0},  {"00000", 0.0},   {"2.5E-2", 0.025},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(*numericValue(row.text), row.value);
    }
    EXPECT_TRUE(std::signbit(*numericValue("-0")));
    EXPECT_EQ(*numericValue("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(*numericValue("-1e99999999999999999999"), -std::numeric_limits<double>::infinity());
}

TEST(NumericTest, DecimalTextIsExact) {
    struct Row {
        const char* text;
        bool negative;
        const char* digits;
        long exponent;
    };
    const Row rows[] = {
        {"00508", false, "508", 0}, {"24000", false, "24", 3},  {"-1.50e2", true, "15", 1},
        {"0.000", false, "", 0},    {" .25 ", false, "25", -2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        std::string storage;
        const auto d = decimalText(row.text, storage);
        ASSERT_TRUE(d.has_value());
        EXPECT_EQ(d->negative, row.negative);
        EXPECT_EQ(d->digits, row.digits);
        EXPECT_EQ(d->exponent, row.exponent);
    }
}

TEST(FormatTest, SinglePrecisionMasks) {
    struct Row {
        float value;
        int decimals;
        const char* expected;
    };
    const Row rows[] = {
        {2.0f, 3, "2.000"},
        {20.0f, 3, "20.000"},
        {0.62f, 2, "0.62"},
        {4000.0f, 0, "4000"},
        {0.5f, 0, "1"},
        {2.5f, 0, "3"},
        {-2.5f, 0, "-3"},
        {2.675f, 2, "2.68"},
        {1.005f, 2, "1.01"},
        {-0.001f, 2, "0.00"},
        {-0.004999f, 2, "0.00"},
        {-0.005f, 2, "-0.01"},
        {999.995f, 2, "1000.00"},
        {123456.7f, 2, "123456.70"},
        {0.0f, 2, "0.00"},
        {-0.0f, 0, "0"},
        {1e-9f, 3, "0.000"},
        {1e20f, 0, "100000000000000000000"},
        {0.0005f, 3, "0.001"},
        {9.9995f, 3, "10.000"},
        {14895.1455078125f, 2, "14895.15"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.value << " with " << row.decimals << " decimals");
        EXPECT_EQ(formatMask(row.value, row.decimals), row.expected);
    }
}

TEST(FormatTest, DoublePrecisionMasks) {
    struct Row {
        double value;
        int decimals;
        const char* expected;
    };
    const Row rows[] = {
        {5.87829, 2, "5.88"},    {40.3222, 2, "40.32"},
        {2.675, 2, "2.68"},      {0.125, 2, "0.13"},
        {35.995, 2, "36.00"},    {-12.345, 2, "-12.35"},
        {1300.0, 0, "1300"},     {1.0 / 3.0, 2, "0.33"},
        {-0.0049999, 2, "0.00"}, {0.0049999999999999999, 2, "0.01"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.value << " with " << row.decimals << " decimals");
        EXPECT_EQ(formatMask(row.value, row.decimals), row.expected);
    }
}

TEST(FormatTest, FixedLength) {
    EXPECT_EQ(fixedLength("ABCDEFGHIJ", 7), "ABCDEFG");
    EXPECT_EQ(fixedLength("J", 3), "J  ");
    EXPECT_EQ(fixedLength("", 7), "       ");
}

}  // namespace
}  // namespace slabrating

namespace slabrating {
namespace {

// The fast digit path must give the standard library's digits for every value it takes.
TEST(FormatTest, FastDigitsAgreeWithTheLibrary) {
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    const auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    int checked = 0;
    for (int i = 0; i < 300000; ++i) {
        const std::uint64_t r = next();
        double value;
        int significant;
        if (i % 2 == 0) {
            value = std::bit_cast<float>(static_cast<std::uint32_t>(r));
            significant = kSingleDigits;
        } else {
            value = std::bit_cast<double>(r);
            significant = kDoubleDigits;
        }
        if (i % 3 == 0) {  // values of the size a report holds, with round decimals
            value = static_cast<double>(static_cast<std::int64_t>(r % 20000000) - 10000000) /
                    static_cast<double>(1ull << (r >> 60));
            if (significant == kSingleDigits) {
                value = static_cast<float>(value);
            }
        }
        if (!std::isfinite(value) || value == 0) {
            continue;
        }
        std::uint64_t fast = 0, library = 0;
        int fastExponent = 0, libraryExponent = 0;
        digitsFromLibrary(value, significant, library, libraryExponent);
        if (exactDigits(value, significant, fast, fastExponent)) {
            ++checked;
            ASSERT_EQ(fast, library) << std::hexfloat << value;
            ASSERT_EQ(fastExponent, libraryExponent) << std::hexfloat << value;
        }
    }
    EXPECT_GT(checked, 100000);
}

}  // namespace
}  // namespace slabrating
