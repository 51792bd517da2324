#include "recipe/quantities.h"
#include "recipe/rezeptimportproz.h"

#include <gtest/gtest.h>

#include <string>

using namespace kovanta;

namespace {

// An article line in the full layout: amount in columns 2-10, divisor in 18-21.
std::string ArticleLine(const std::string& amount, const std::string& divisor)
{
    std::string line = "*" + std::string(9 - amount.size(), ' ') + amount + std::string(7, ' ') +
                       std::string(4 - divisor.size(), ' ') + divisor;
    line.resize(108, ' ');
    return line;
}

} // namespace

TEST(ParseIntField, ReadsRecipeFileIntegers)
{
    struct Row {
        std::string text;
        std::int32_t expected;
    };
    const Row rows[] = {
        {"1.234", 1234},
        {"1,5", 15},
        {"", 0},
        {"     ", 0},
        {"  -12", -12},
        {"+7", 7},
        {"  0042   ", 42},
        {std::string("12\0\0 ", 5), 12},
        {"1 2", 0},
        {"12a", 0},
        {"abc", 0},
        {"-", 0},
        {"\t5", 0},
        {"- 5", 0},
        {"2147483647", 2147483647},
        {"-2.147.483.648", -2147483647 - 1},
        {"2147483648", 0},
        {"99999999999999999999999", 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ParseIntField(row.text), row.expected) << '"' << row.text << '"';
}

TEST(FormatMask, WritesFixedWidthWithDecimalComma)
{
    struct Row {
        const char* mask;
        double value;
        const char* expected;
    };
    const Row rows[] = {
        {"######.###", 2.5, "     2,500"},
        {"###.##", 0.01, "  0,01"},
        {"#######.###", 12.34567, "     12,346"},
        // Too long: the whole number, wider than the mask, sign included.
        {"######.###", 1234567.5, "1234567,500"},
        {"#######.###", 18000000.0, "18000000,000"},
        {"#######.###", -1234567.25, "-1234567,250"},
        {"###.##", -999.995, "-1000,00"},
        // Exactly the width: unchanged.
        {"#######.###", 9999999.999, "9999999,999"},
        {"#######.###", -999999.5, "-999999,500"},
        {"###.##", -1.5, " -1,50"},
        // Decimal ties round away from zero, as the number was written, not its binary image.
        {"###.##", 0.125, "  0,13"},
        {"###.##", 2.675, "  2,68"},
        {"###.##", -0.125, " -0,13"},
        {"###.##", 9.995, " 10,00"},
        {"###.##", -0.001, "  0,00"},
        {"####", 5.0, "   5"},
        {"####", 2.5, "   3"},
        {"#######.###", 0.0, "      0,000"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(FormatMask(row.mask, row.value), row.expected) << row.mask << ' ' << row.value;
}

TEST(StripTrailingZeros, OnlyTouchesDecimals)
{
    EXPECT_EQ(StripTrailingZeros("2,500"), "2,5");
    EXPECT_EQ(StripTrailingZeros("3,000"), "3");
    EXPECT_EQ(StripTrailingZeros("120"), "120");
    EXPECT_EQ(StripTrailingZeros("100.0"), "100");
    EXPECT_EQ(StripTrailingZeros("     0,000"), "     0");
    EXPECT_EQ(StripTrailingZeros(""), "");
}

TEST(LineQuantity, AmountOverDivisorInHundredths)
{
    EXPECT_DOUBLE_EQ(LineQuantity(ArticleLine("250", "1")), 2.5);
    EXPECT_DOUBLE_EQ(LineQuantity(ArticleLine("250", "1000")), 0.0);
    EXPECT_DOUBLE_EQ(LineQuantity(ArticleLine("123456", "1")), 1234.56);
    EXPECT_EQ(QuantityText(LineQuantity(ArticleLine("123456", "1")), 1.0), "1234,56");
    EXPECT_EQ(QuantityText(LineQuantity(ArticleLine("250", "1000")), 1.0), "0");
    // Half a hundredth rounds up.
    EXPECT_DOUBLE_EQ(LineQuantity(ArticleLine("5", "2")), 0.03);
    EXPECT_DOUBLE_EQ(LineQuantity(ArticleLine("-5", "2")), -0.03);
    EXPECT_DOUBLE_EQ(LineQuantity(ArticleLine("1.000", "4")), 2.5);
}

TEST(LineQuantity, MissingDivisorGivesOneHundredth)
{
    EXPECT_DOUBLE_EQ(LineQuantity(ArticleLine("99999", "")), 0.01);
    EXPECT_DOUBLE_EQ(LineQuantity(ArticleLine("99999", "0")), 0.01);
    EXPECT_DOUBLE_EQ(LineQuantity(ArticleLine("99999", "-3")), 0.01);
    EXPECT_DOUBLE_EQ(LineQuantity("*    500"), 0.01); // line ends before the divisor
    EXPECT_DOUBLE_EQ(LineQuantity(""), 0.01);
}

TEST(LineQuantity, CompactLayoutReadsLikeFullLayout)
{
    // Compact: amount 2-10, divisor 11-14 (column 11 a digit).
    EXPECT_DOUBLE_EQ(LineQuantity("*     15000002"), 7.5);
    EXPECT_DOUBLE_EQ(LineQuantity("*     15001000"), 0.02);
    // A blank in column 11 is the full layout: the divisor is in 18-21, here blank.
    EXPECT_DOUBLE_EQ(LineQuantity("*     1500 002"), 0.01);
}

TEST(ScaleFactor, BothVariants)
{
    EXPECT_DOUBLE_EQ(ScaleFactor(10, 25), 2.5);
    EXPECT_DOUBLE_EQ(ScaleFactor(10, 0), 1.0);
    EXPECT_DOUBLE_EQ(ScaleFactor(0, 25), 1.0);
    EXPECT_EQ(RequirementsScaleFactor(10, 25), 2.5);
    EXPECT_FALSE(RequirementsScaleFactor(10, 0).has_value());
    EXPECT_FALSE(RequirementsScaleFactor(0, 25).has_value());
}

// Scaling as the preview shows it: RecipeTextFile.PortionsScaleQuantitiesAndThePortionsLine.
TEST(QuantityText, ExactPortionsAndLargeQuantities)
{
    // A factor that is not exact in binary still gives the requested count.
    EXPECT_EQ(PortionsLine(3, ScaleFactor(3, 7)), "7 Portionen");
    // Quantities of a million and more keep their leading digits in the preview.
    EXPECT_EQ(QuantityText(1234567.5, 1.0), "1234567,5");
    EXPECT_EQ(QuantityText(999999.999, 1.0), "999999,999");
    EXPECT_EQ(QuantityText(1000000.0, 1.0), "1000000");
    EXPECT_EQ(QuantityText(25000.0, 1000.0), "25000000");
}
