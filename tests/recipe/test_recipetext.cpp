#include "recipe/recipe_fixture.h"
#include "recipe/recipetext.h"
#include "support/testdir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kovanta;
using fixture::Article;
using fixture::Text;

namespace {

TextParagraph Para(std::string text, int size = 8, bool bold = false, TextColor color = kTextBlack)
{
    return TextParagraph{std::move(text), size, bold, color};
}

TextParagraph Navy(std::string text)
{
    return Para(std::move(text), 8, false, kTextNavy);
}

TextParagraph Blue(std::string text)
{
    return Para(std::move(text), 8, false, kTextBlue);
}

std::string Describe(const TextParagraph& p)
{
    return "\"" + p.text + "\" size " + std::to_string(p.pointSize) + (p.bold ? " bold" : "") +
           " rgb(" + std::to_string(p.color.red) + "," + std::to_string(p.color.green) + "," +
           std::to_string(p.color.blue) + ")";
}

void ExpectParagraphs(const std::vector<TextParagraph>& actual,
                      const std::vector<TextParagraph>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(Describe(actual[i]), Describe(expected[i])) << "paragraph " << i;
}

// Text 57 characters long before the marker area, so markers can be placed by position.
std::string WithByteAt(std::size_t position, const std::string& bytes, std::size_t length)
{
    std::string text(length, 'x');
    text.replace(position - 1, bytes.size(), bytes);
    return text;
}

class RecipeTextFile : public ::testing::Test {
protected:
    TImpListInfo Write(const std::string& bytes, const std::string& name = "REZ00042.DAT")
    {
        TImpListInfo e;
        e.FileName = dir.write(name, bytes);
        e.FileNumber = FileNumberOf(e.FileName);
        return e;
    }
    RecipeText Preview(const TImpListInfo& e, int portions)
    {
        RecipeText t;
        EXPECT_TRUE(FillPreviewRich(proz, e, t, portions));
        return t;
    }
    // The body paragraphs only (after heading, names, descriptions and portions line).
    std::vector<TextParagraph> Body(const std::vector<std::string>& body, int portions = 0)
    {
        fixture::Head h;
        const RecipeText t = Preview(Write(fixture::Join(fixture::Block(h, body))), portions);
        const std::size_t headCount = 8; // heading, -, names, -, 2 descriptions, portions, -
        if (t.paragraphs.size() < headCount)
            return {};
        return {t.paragraphs.begin() + headCount, t.paragraphs.end()};
    }

    TestDir dir;
    TRezeptImportProz proz;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Text-line rules

TEST(TextRules, SplitCaretSegment)
{
    struct Row {
        std::string text;
        bool flagBefore;
        std::string segment;
        std::string rest;
        bool flagAfter;
    };
    const Row rows[] = {
        {"Salz^Pfeffer^", false, "Salz", "Pfeffer^", false},
        {"  Mehl  ^\t0005", false, "Mehl", "\t0005", false},
        {"ohne Segment\t0005", false, "", "", false},
        {"Für den Teig:^\t0005", false, "", "\t0005", false}, // a label
        {"  ^Zucker^", false, "", "Zucker^", false},          // empty segment
        {"oder^Margarine^", false, "", "Margarine^", true},
        {"ODER^", false, "", "", true},
        {"Oder^", true, "", "", true},
        {"oderr^", false, "oderr", "", false}, // whole words only
        {"^", false, "", "", false},
    };
    for (const Row& r : rows) {
        std::string text = r.text;
        bool flag = r.flagBefore;
        EXPECT_EQ(SplitCaretSegment(text, flag), r.segment) << r.text;
        EXPECT_EQ(text, r.rest) << r.text;
        EXPECT_EQ(flag, r.flagAfter) << r.text;
    }
}

TEST(TextRules, IsLabelText)
{
    struct Row {
        std::string text;
        bool label;
        std::string after;
    };
    const Row rows[] = {
        {"Für den Teig:^", true, "Für den Teig:"},
        {"  Teig : ^", true, "Teig :"},
        {"oder^", false, "oder"},                  // caret last: cut, but no label
        {"Teig:", false, "Teig:"},                 // no caret
        {"Teig:^mehr", false, "Teig:^mehr"},       // caret not last
        {"Salz^Pfeffer^", false, "Salz^Pfeffer^"}, // first caret is not the last
        {"^", false, ""},
    };
    for (const Row& r : rows) {
        std::string text = r.text;
        EXPECT_EQ(IsLabelText(text), r.label) << r.text;
        EXPECT_EQ(text, r.after) << r.text;
    }
}

TEST(TextRules, TextMarkers)
{
    struct Row {
        std::string name;
        std::string text;
        std::uint16_t word;
        std::string after;
    };
    const std::string base(56, 'x');
    const Row rows[] = {
        {"ca at 64-65", base + std::string(7, ' ') + "ca", 7, base},
        {"E0 at 57", base + "\xE0", 1, base},
        {"E0, E3, FE make 7", base + "\xE0" + " " + "\xE3" + " " + "\xFE", 7, base},
        {"marker one position off", base + " \xE0", 0, base + " \xE0"},
        {"ca in a short text", "ungefähr ca", 0, "ungefähr ca"},
        {"E0 in a 56-character text", WithByteAt(56, "\xE0", 56), 0, WithByteAt(56, "\xE0", 56)},
        {"text shorter than 57", "Zwiebeln \xE0", 0, "Zwiebeln \xE0"},
        {"ca followed by more text", base + std::string(7, ' ') + "ca!", 7, base + "         !"},
    };
    for (const Row& r : rows) {
        std::string text = r.text;
        EXPECT_EQ(TextMarkers(text), r.word) << r.name;
        EXPECT_EQ(text, r.after) << r.name;
    }
}

TEST(TextRules, StripExclMarkRemovesOnlyTheFirst)
{
    EXPECT_EQ(StripExclMark("scharf (!) (!)"), "scharf  (!)");
    EXPECT_EQ(StripExclMark("(!"), "(!");
}

// ---------------------------------------------------------------------------------------------
// Formatted preview

TEST_F(RecipeTextFile, PreviewShowsEveryLineKindWithItsAttributes)
{
    fixture::Head h;
    h.desc1 = "Rindergulasch (!)";
    h.desc2 = "kr\x84"
              "ftig";
    const std::string caLine = fixture::Text("0090", fixture::Left("Schmoren lassen", 63) + "ca");
    const TImpListInfo e = Write(
        fixture::Join(fixture::Block(h, {
                                            Article("125", "1", "kg", "Mehl"),
                                            Article("250", "0001", "g", "Zucker", /*compact*/ true),
                                            Text("0005", "F\x81r den Teig:^"),
                                            Text("0000", "Salz und Pfeffer^"),
                                            Text("0007", "oder^"),
                                            Text("0010", "Zwiebeln w\x81rfeln."),
                                            caLine,
                                            "#sonstige Zeile",
                                            "",
                                            Text(" 12", "Butter^Margarine^"),
                                            "^^",
                                            Text("0001", "nach dem Ende"),
                                        })));

    const RecipeText t = Preview(e, 25);
    EXPECT_EQ(t.tabStops,
              (std::vector<int>{10,   20,   30,   260,  400,  500,  600,  700,  800,  900, 1000,
                                1100, 1200, 1300, 1400, 1500, 1600, 1700, 1800, 1900, 2000}));
    ExpectParagraphs(t.paragraphs, {
                                       Para("Rezeptur (Kantine Nord) vom 12.03.1998"),
                                       Para(""),
                                       Para("Rezept: Gulasch,   Gruppe: Fleisch"),
                                       Para(""),
                                       Para("Rindergulasch ", 12, true),
                                       Para("kr\xE4"
                                            "ftig",
                                            12, true),
                                       Para("25 Portionen"),
                                       Para(""),
                                       Navy("\t\t3,125 kg Mehl"),
                                       Navy("\t\t6,25 g Zucker"),
                                       Para("\tF\xFCr den Teig:\t0005", 8, true),
                                       Blue("\t\tSalz und Pfeffer"),
                                       Para("\toder\t0007"),
                                       Para("\tZwiebeln w\xFCrfeln.\t0010"),
                                       Para("\tSchmoren lassen\tca.0090"),
                                       Blue("\t\tButter"),
                                       Blue("\t\tMargarine"),
                                   });
}

TEST_F(RecipeTextFile, EmptyAndExclMarkOnlyDescriptionsAreLeftOut)
{
    fixture::Head h;
    h.desc1 = "";
    h.desc2 = "  (!)  ";
    const RecipeText t = Preview(Write(fixture::Join(fixture::Block(h, {}))), 0);
    ExpectParagraphs(t.paragraphs, {
                                       Para("Rezeptur (Kantine Nord) vom 12.03.1998"),
                                       Para(""),
                                       Para("Rezept: Gulasch,   Gruppe: Fleisch"),
                                       Para(""),
                                       Para("10 Portionen"),
                                       Para(""),
                                   });
}

TEST_F(RecipeTextFile, PortionsScaleQuantitiesAndThePortionsLine)
{
    struct Row {
        int stored;
        int requested;
        std::string portionsLine;
        std::string article;
    };
    const Row rows[] = {
        {10, 0, "10 Portionen", "\t\t1,25 kg Mehl"}, // not in the plan: as stored
        {10, 25, "25 Portionen", "\t\t3,125 kg Mehl"},
        {10, 20, "20 Portionen", "\t\t2,5 kg Mehl"},
        {10, 8, "8 Portionen", "\t\t1 kg Mehl"},
        {0, 25, "0 Portionen", "\t\t1,25 kg Mehl"},     // nothing stored: unscaled
        {10, -20, "-20 Portionen", "\t\t-2,5 kg Mehl"}, // taken as given
    };
    for (const Row& r : rows) {
        fixture::Head h;
        h.portions = r.stored;
        const TImpListInfo e =
            Write(fixture::Join(fixture::Block(h, {Article("125", "1", "kg", "Mehl")})));
        const RecipeText t = Preview(e, r.requested);
        ASSERT_EQ(t.paragraphs.size(), 9u);
        EXPECT_EQ(t.paragraphs[6].text, r.portionsLine) << r.stored << "/" << r.requested;
        EXPECT_EQ(t.paragraphs[8].text, r.article) << r.stored << "/" << r.requested;
    }
}

TEST_F(RecipeTextFile, RestAfterArticleSegmentsFollowsAsPlainLine)
{
    ExpectParagraphs(
        Body({Text("0003", "Butter^oder^Margarine^"), Text("0004", "Salz^Zum Abschmecken:^"),
              Text("0005", "Quark^Zucker^oder^")}),
        {
            Blue("\t\tButter"),
            Para("\toder^Margarine^\t0003"),
            Blue("\t\tSalz"),
            Para("\tZum Abschmecken:\t0004", 8, true),
            Blue("\t\tQuark"),
            Blue("\t\tZucker"),
            Para("\toder\t0005"),
        });
}

TEST_F(RecipeTextFile, ControlBytesInFileTextDoNotBreakTheLine)
{
    const auto body = Body({Text("0001", "Teig\x0B kneten\x0C und ruhen"),
                            Article("100", "1", "kg", "Mehl\x01Typ 405")});
    ASSERT_EQ(body.size(), 2u);
    EXPECT_EQ(body[0].text, "\tTeig  kneten  und ruhen\t0001");
    EXPECT_EQ(body[1].text, "\t\t1 kg Mehl Typ 405");
}

TEST_F(RecipeTextFile, UnopenableRecipeLeavesTheTargetsAsTheyWere)
{
    TImpListInfo missing;
    missing.FileName = dir.dir() + "REZ09999.DAT";
    TImpListInfo badIndex =
        Write(fixture::ListFile({}, {{fixture::Head{}, {Text("0001", "x")}}}), "REZ00001.DAT");
    badIndex.EntryIndex = 7; // beyond the index

    for (const TImpListInfo& e : {missing, badIndex}) {
        RecipeText text;
        text.paragraphs = {Para("vorher")};
        EXPECT_FALSE(FillPreviewRich(proz, e, text, 10));
        ASSERT_EQ(text.paragraphs.size(), 1u);
        EXPECT_EQ(text.paragraphs[0].text, "vorher");

        PrintGrid grid;
        grid.rows.resize(3);
        grid.rows[2][1] = "vorher";
        EXPECT_FALSE(FillPrintGrid(proz, e, grid, 10));
        EXPECT_EQ(grid.RowCount(), 3);
        EXPECT_EQ(grid.Cell(1, 2), "vorher");
    }
}

// ---------------------------------------------------------------------------------------------
// Print grid

TEST_F(RecipeTextFile, PrintGridHoldsHeadAndOneRowPerBodyLine)
{
    fixture::Head h;
    h.desc2 = "";
    const TImpListInfo e = Write(fixture::Join(fixture::Block(
        h, {Article("125", "1", "kg", "Mehl"), Article("7", "0002", "St", "Eier", true),
            Text("05", "F\x81r den Teig:^"), "#M\x81ll", ".5 Liter", "^^", "#danach"})));

    PrintGrid grid;
    grid.rows.resize(200, PrintGrid::Row{"alt", "alt", "alt", "alt"});
    ASSERT_TRUE(FillPrintGrid(proz, e, grid, 20));

    const std::vector<PrintGrid::Row> expected = {
        {"", "", "", ""},
        {"", "12.03.1998", "Kantine Nord", "Rezeptur"},
        {"", "Gulasch             ", "Fleisch             ", ""},
        {"", "Rindergulasch" + std::string(27, ' '), std::string(40, ' '), ""},
        {"", "20", "", ""},
        {"0", "0", "", ""}, // file line 9
        {"3", "30", "", ""},
        {"9", "90", "", ""},
        {"5", "512", "", ""},
        {"2", "2143", "", ""},
        {"3", "3", "", ""},
        {"8", "80", "", ""},
        {"*", "2,5", "kg", "Mehl"},
        {"*", "0,08", "St", "Eier"},
        {":", "F\xFCr den Teig:^", "05  ", ""},
        {"#", "#M\xFCll", "", ""},
        {".", ".5 Liter", "", ""}, // "." lines inside a block are ordinary lines
    };
    ASSERT_EQ(grid.RowCount(), static_cast<int>(expected.size()));
    for (std::size_t r = 0; r < expected.size(); ++r) {
        for (int c = 0; c < PrintGrid::kColumns; ++c)
            EXPECT_EQ(grid.Cell(c, static_cast<int>(r)), expected[r][c]) << r << "," << c;
    }
}

TEST_F(RecipeTextFile, PrintGridWithoutEndMarkEndsWithTheLastBodyLine)
{
    fixture::Head h;
    std::string bytes = fixture::Join(fixture::Block(h, {Article("100", "1", "kg", "Mehl")}));
    bytes += "\r\n"; // an empty last line is still a body line
    PrintGrid grid;
    ASSERT_TRUE(FillPrintGrid(proz, Write(bytes), grid, 0));
    ASSERT_EQ(grid.RowCount(), 14);
    EXPECT_EQ(grid.Cell(3, 12), "Mehl");
    EXPECT_EQ(grid.Cell(0, 13), " ");
    EXPECT_EQ(grid.Cell(1, 13), "");
}

// A huge file read as a recipe (a damaged file, a foreign file of gigabytes) must not fill the
// memory: the body stops after kMaxBodyLines lines, and the last line says so. A body of
// exactly that many lines is complete and says nothing.
TEST_F(RecipeTextFile, BodyIsCutAfterItsLimitAndSaysSo)
{
    // Body lines 9 to 15 of the block count as body lines too.
    const std::size_t valueLines = 7;
    std::vector<std::string> body(kMaxBodyLines - valueLines, Text("0001", "Zeile"));
    fixture::Head h;
    const TImpListInfo exact = Write(fixture::Join(fixture::Block(h, body)) + "^^\r\n",
                                     "REZ00001.DAT");
    body.push_back(Text("0002", "zu viel"));
    body.push_back(Text("0003", "noch mehr"));
    const TImpListInfo over = Write(fixture::Join(fixture::Block(h, body)), "REZ00002.DAT");

    const std::size_t head = 8; // heading, -, names, -, 2 descriptions, portions, -
    RecipeText text = Preview(exact, 0);
    ASSERT_EQ(text.paragraphs.size(), head + kMaxBodyLines - valueLines);
    EXPECT_EQ(text.paragraphs.back(), Para("\tZeile\t0001"));

    text = Preview(over, 0);
    ASSERT_EQ(text.paragraphs.size(), head + kMaxBodyLines - valueLines + 1);
    EXPECT_EQ(text.paragraphs.back(), Para("... (Rezept gek\xFCrzt)"));
    EXPECT_EQ(text.paragraphs[text.paragraphs.size() - 2], Para("\tZeile\t0001"));

    PrintGrid grid;
    ASSERT_TRUE(FillPrintGrid(proz, exact, grid, 0));
    EXPECT_EQ(grid.RowCount(), static_cast<int>(5 + kMaxBodyLines));
    EXPECT_EQ(grid.Cell(1, grid.RowCount() - 1), "Zeile");
    ASSERT_TRUE(FillPrintGrid(proz, over, grid, 0));
    ASSERT_EQ(grid.RowCount(), static_cast<int>(5 + kMaxBodyLines + 1));
    EXPECT_EQ(grid.Cell(1, grid.RowCount() - 1), "... (Rezept gek\xFCrzt)");
    EXPECT_EQ(grid.Cell(1, grid.RowCount() - 2), "Zeile");
}
