// The requirements list as a CSV file: numbers, quoting, the header and the warning line. That
// spreadsheets (Python's csv module standing in) read it field for field is tested end to end
// in tests/cli/test_requirements_cli.cpp.
#include "recipe/requirementscsv.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kovanta;

namespace {

TEST(RequirementsCsv, QuantitiesAsSpreadsheetNumbers)
{
    EXPECT_EQ(CsvQuantityText(7.5), "7,500");
    EXPECT_EQ(CsvQuantityText(0), "0,000");
    EXPECT_EQ(CsvQuantityText(-2), "-2,000");
    EXPECT_EQ(CsvQuantityText(0.0005), "0,001"); // rounded as the "Menge" column rounds
    // Wider than the list's 11 characters: no digit is lost, no thousands separator appears.
    EXPECT_EQ(CsvQuantityText(123456789.125), "123456789,125");
    EXPECT_EQ(CsvQuantityText(std::nan("")), "0,000");
}

TEST(RequirementsCsv, TextFieldsQuotedAsRfc4180)
{
    EXPECT_EQ(CsvTextField("kg"), "kg");
    EXPECT_EQ(CsvTextField(""), "");
    EXPECT_EQ(CsvTextField("Käse; jung"), "\"Käse; jung\"");
    EXPECT_EQ(CsvTextField("Gouda \"alt\""), "\"Gouda \"\"alt\"\"\"");
    // Control characters become blanks, as in the window: no raw NUL, DEL or line break.
    EXPECT_EQ(CsvTextField("zwei\r\nZeilen"), "zwei  Zeilen");
    EXPECT_EQ(CsvTextField(std::string("K\0se\x7F;\t", 7)), "\"K se ; \"");
    // Never a formula.
    EXPECT_EQ(CsvTextField("=HYPERLINK(\"x\")"), "\"'=HYPERLINK(\"\"x\"\")\"");
    EXPECT_EQ(CsvTextField("-Salz"), "'-Salz");
    EXPECT_EQ(CsvTextField("@A1"), "'@A1");
    EXPECT_EQ(CsvTextField("Salz + Pfeffer"), "Salz + Pfeffer");
}

TEST(RequirementsCsv, WholeFileWithBomHeaderAndWarning)
{
    // ANSI in, UTF-8 out: "Käse" with ä as 0xE4.
    const std::vector<RequirementsCsvRow> rows = {{7.5, "kg", "K\xE4se"}, {0, "", "Salz"}};
    EXPECT_EQ(RequirementsCsv(rows, false),
              "\xEF\xBB\xBFMenge;Einheit;Artikel\r\n7,500;kg;Käse\r\n0,000;;Salz\r\n");
    EXPECT_EQ(RequirementsCsv({}, true),
              "\xEF\xBB\xBFMenge;Einheit;Artikel\r\nAlternativartikel enthalten\r\n");
}

TEST(RequirementsCsv, QuantityTextsAsTyped)
{
    EXPECT_EQ(ParseQuantityText("      7,500"), 7.5);
    EXPECT_EQ(ParseQuantityText("7,5"), 7.5);
    EXPECT_EQ(ParseQuantityText("-3"), -3.0);
    EXPECT_EQ(ParseQuantityText("+0,25"), 0.25);
    EXPECT_EQ(ParseQuantityText("1.234,5"), 1234.5);
    EXPECT_EQ(ParseQuantityText("12.345.678"), 12345678.0);
    EXPECT_EQ(ParseQuantityText(""), 0.0);
    EXPECT_EQ(ParseQuantityText("   "), 0.0);
    for (const char* bad : {"abc", "1,2,3", "1.23", "1..234", ".123", "1,", ",5", "1 2", "--1",
                            "12.34.567", "1e5"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(ParseQuantityText(bad).has_value());
    }
}

} // namespace
