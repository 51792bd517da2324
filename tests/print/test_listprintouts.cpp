// The three list printouts on the recording canvas (254 dpi, 8 pt = 40 pixels): page breaks,
// the header row on every page, the cell rules, and what each list does to its texts.
#include "print/listprintouts.h"
#include "print/recordingcanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace kovanta::print;

namespace {

const PrintDate kDate{6, 12, 2026};

ListTable RecipeTable(int rows)
{
    ListTable t;
    t.header = RecipeListPrintHeader();
    for (int i = 1; i <= rows; ++i)
        t.rows.push_back(ListRow{{"Rezept " + std::to_string(i), "Gruppe", "10", "0", "2143", "3",
                                  "0", "30", "90"}});
    return t;
}

RecordingCanvas Print(const Printout& p, int copies = 1)
{
    RecordingCanvas c;
    PrintDocument(c, p, copies, kDate);
    return c;
}

bool Contains(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// The data-row texts of column 0 on one page (font 4, cells at the left edge of the table).
std::vector<std::string> FirstColumn(const RecordingCanvas& c, int job, int page)
{
    std::vector<std::string> out;
    for (const RecordedOp& op : c.OpsOf(RecordedOp::Text, job, page)) {
        if (op.font == PrintFontOf(4) && op.box.left == 205)
            out.push_back(op.text);
    }
    return out;
}

} // namespace

// Frame: content from 310 to 2710; header row 311-355 with its rules, its text 2 pixels off
// each; each data row 45 pixels with its rule below; full when less than 60 pixels are left:
// 51 rows fit on a page.
TEST(RecipeListPrintout, PageBreaksAndTheLastRowFillingThePageExactly)
{
    const RecordingCanvas exact = Print(ListPrintout::RecipeList(RecipeTable(51)));
    EXPECT_EQ(exact.PagesOf(1), 1);
    EXPECT_EQ(FirstColumn(exact, 1, 1).size(), 51u);

    const RecordingCanvas twoFull = Print(ListPrintout::RecipeList(RecipeTable(102)));
    EXPECT_EQ(twoFull.PagesOf(1), 2);
    EXPECT_TRUE(twoFull.OpsOf(RecordedOp::Text, 1, 3).empty());

    const RecordingCanvas c = Print(ListPrintout::RecipeList(RecipeTable(52)));
    ASSERT_EQ(c.PagesOf(1), 2);
    EXPECT_EQ(FirstColumn(c, 1, 2), std::vector<std::string>{"Rezept 52"});
    for (int page = 1; page <= 2; ++page) {
        const auto texts = c.TextsOn(1, page);
        EXPECT_EQ(texts[0], "Rezeptliste");
        EXPECT_TRUE(Contains(texts, "Seite " + std::to_string(page)));
        EXPECT_TRUE(Contains(texts, "06.12.2026"));
        EXPECT_TRUE(Contains(texts, "Rezeptgruppe")) << "header row on page " << page;
    }
}

TEST(RecipeListPrintout, EmptyListPrintsTheHeaderOnOnePage)
{
    const RecordingCanvas c = Print(ListPrintout::RecipeList(RecipeTable(0)));
    EXPECT_EQ(c.PagesOf(1), 1);
    EXPECT_TRUE(Contains(c.TextsOn(1, 1), "WZ"));
}

TEST(RecipeListPrintout, ColumnsAlignmentsRulesAndBlankZeros)
{
    const ListPrintout p = ListPrintout::RecipeList(RecipeTable(1));
    ASSERT_EQ(p.PrintedRows().size(), 1u);
    EXPECT_EQ(p.PrintedRows()[0],
              (std::vector<std::string>{"Rezept 1", "Gruppe", "10", "", "2143", "3", "", "30", "90"}));
    const RecordingCanvas c = Print(p);
    std::vector<RecordedOp> header, data;
    for (const RecordedOp& op : c.OpsOf(RecordedOp::Text)) {
        if (op.font == PrintFontOf(3))
            header.push_back(op);
        else if (op.font == PrintFontOf(4) && op.box.top > 311 && op.box.top < 2700)
            data.push_back(op); // not the footer, which uses the same font
    }
    ASSERT_EQ(header.size(), 9u);
    ASSERT_EQ(data.size(), 9u);
    EXPECT_EQ(header[0].text, "Rezept");
    EXPECT_EQ(header[0].align, Align::Centre);
    EXPECT_EQ(header[0].box, (PrintRect{205, 313, 515, 2710}));
    EXPECT_EQ(header[8].box, (PrintRect{1745, 313, 1885, 2710}));
    EXPECT_EQ(data[0].align, Align::Left);
    EXPECT_EQ(data[1].align, Align::Left);
    EXPECT_EQ(data[2].align, Align::Right);
    EXPECT_EQ(data[0].box.top, 358);
    // Header: rule above, ten boundaries, rule below; data row: ten boundaries and the rule
    // below, all over the 170 mm of the nine columns.
    const auto lines = c.OpsOf(RecordedOp::Line);
    const auto across = std::count_if(lines.begin(), lines.end(), [](const RecordedOp& l) {
        return l.box.top == l.box.bottom && l.box.left == 200 && l.box.right == 1890;
    });
    const auto upright = std::count_if(lines.begin(), lines.end(), [](const RecordedOp& l) {
        return l.box.left == l.box.right && l.box.top >= 311;
    });
    EXPECT_EQ(across, 3);
    EXPECT_EQ(upright, 20);
}

TEST(MenuPlanPrintout, RowsWithoutEntryAreLeftOut)
{
    ListTable t;
    t.header = MenuPlanPrintHeader();
    t.rows = {ListRow{{"40", "Gulasch", "Fleisch"}},
              ListRow{{"", "", ""}, false},
              ListRow{{}, false},
              ListRow{{"0", "Suppe", "Vorspeisen"}},
              ListRow{{"12", "Kuchen", ""}}};
    const ListPrintout p = ListPrintout::MenuPlan(std::move(t));
    EXPECT_EQ(p.Title(), "Speiseplan");
    ASSERT_EQ(p.PrintedRows().size(), 3u);
    EXPECT_EQ(p.PrintedRows()[1], (std::vector<std::string>{"", "Suppe", "Vorspeisen"}));
    const RecordingCanvas c = Print(p);
    std::vector<RecordedOp> data;
    for (const RecordedOp& op : c.OpsOf(RecordedOp::Text))
        if (op.font == PrintFontOf(4) && op.box.top > 311 && op.box.top < 2700)
            data.push_back(op);
    ASSERT_EQ(data.size(), 9u);
    // One row after the other, 45 pixels apart; portions right-aligned in 15 mm.
    EXPECT_EQ(data[0].box, (PrintRect{205, 358, 345, 2710}));
    EXPECT_EQ(data[0].align, Align::Right);
    EXPECT_EQ(data[3].box.top, 403);
    EXPECT_EQ(data[6].box.top, 448);
    EXPECT_EQ(data[7].text, "Kuchen");
    EXPECT_EQ(data[8].box, (PrintRect{675, 448, 1265, 2710}));
}

TEST(RequirementsPrintout, QuantitiesTrimmedOfTrailingZerosAndZeroEmpty)
{
    ListTable t;
    t.header = RequirementsPrintHeader();
    t.rows = {ListRow{{"     12,500", " kg ", " Rindfleisch "}},
              ListRow{{"      3,000", "l", "Milch"}},
              ListRow{{"      0,000", "", "Salz 0005"}},
              ListRow{{"    100", "g", "0"}},
              ListRow{{"     -0,250", "kg", "Butter"}},
              ListRow{{"2.50", "Stk", "Eier"}}};
    const ListPrintout p = ListPrintout::Requirements(std::move(t), false);
    const std::vector<std::vector<std::string>> expected = {
        {"12,5", "kg", "Rindfleisch"}, {"3", "l", "Milch"},   {"", "", "Salz 0005"},
        {"100", "g", ""},              {"-0,25", "kg", "Butter"}, {"2.5", "Stk", "Eier"}};
    EXPECT_EQ(p.PrintedRows(), expected);
    EXPECT_EQ(PrintedQuantity("   10,000 "), "10");
    EXPECT_EQ(PrintedQuantity("10"), "10");

    // Data rows have rules only at the left and the right edge of the table.
    const RecordingCanvas c = Print(ListPrintout::Requirements(
        ListTable{RequirementsPrintHeader(), {ListRow{{"1,5", "kg", "Mehl"}}}}, false));
    std::vector<int> upright;
    for (const RecordedOp& l : c.OpsOf(RecordedOp::Line))
        if (l.box.left == l.box.right && l.box.top >= 352)
            upright.push_back(l.box.left);
    EXPECT_EQ(upright, (std::vector<int>{200, 1140}));
    EXPECT_FALSE(Contains(c.TextsOn(1, 1), std::string(kAlternativesWarning)));
}

TEST(RequirementsPrintout, AlternativesWarningHeadsEveryPage)
{
    ListTable t;
    t.header = RequirementsPrintHeader();
    for (int i = 0; i < 60; ++i)
        t.rows.push_back(ListRow{{"1,000", "kg", "Artikel " + std::to_string(i)}});
    const RecordingCanvas c = Print(ListPrintout::Requirements(std::move(t), true));
    // The warning takes 60 + 30 pixels: 49 rows on the first page, 11 on the second.
    ASSERT_EQ(c.PagesOf(1), 2);
    for (int page = 1; page <= 2; ++page) {
        const auto ops = c.OpsOf(RecordedOp::Text, 1, page);
        const auto warning = std::find_if(ops.begin(), ops.end(), [](const RecordedOp& op) {
            return op.text == kAlternativesWarning;
        });
        ASSERT_NE(warning, ops.end()) << "page " << page;
        EXPECT_EQ(warning->align, Align::Centre);
        EXPECT_EQ(warning->font, PrintFontOf(1));
        EXPECT_EQ(warning->box.top, 310);
        const auto header = std::find_if(ops.begin(), ops.end(),
                                         [](const RecordedOp& op) { return op.text == "Menge"; });
        ASSERT_NE(header, ops.end());
        EXPECT_EQ(header->box.top, 403);
    }
    int rowsOnPage2 = 0;
    for (const RecordedOp& op : c.OpsOf(RecordedOp::Text, 1, 2))
        rowsOnPage2 += op.text.starts_with("Artikel ") ? 1 : 0;
    EXPECT_EQ(rowsOnPage2, 11);
}
