// The recipe printout on the recording canvas (254 dpi; 8 pt = 40 pixels, 10 pt = 50): the
// head block, the figures line, the body rows of every kind, page breaks and the continuation
// line. Grids come from real recipe files through FillPrintGrid, or are written by hand where
// a row kind is checked on its own.
#include "print/recipeprintout.h"
#include "print/recordingcanvas.h"
#include "recipe/recipe_fixture.h"
#include "recipe/rezeptimportproz.h"
#include "support/testdir.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kovanta;
using namespace kovanta::print;

namespace {

const PrintDate kDate{1, 2, 2027};

// A grid as FillPrintGrid leaves it: head rows 1-4, rows 5-11 from file lines 9-15, then body.
PrintGrid Grid(const std::vector<PrintGrid::Row>& body, const std::string& desc1 = "Eintopf",
               const std::string& desc2 = "")
{
    PrintGrid g;
    g.rows = {{},
              {"", "12.03.1998", "Kantine Nord", "Rezeptur"},
              {"", "Gulasch", "Fleisch", ""},
              {"", desc1, desc2, ""},
              {"", "10", "", ""},
              {"0", "0", "", ""},
              {"3", "30", "", ""},
              {"9", "90", "", ""},
              {"5", "512", "", ""},
              {"2", "2143", "", ""},
              {"3", "3", "", ""},
              {"8", "80", "", ""}};
    g.rows.insert(g.rows.end(), body.begin(), body.end());
    return g;
}

std::vector<PrintGrid::Row> Articles(int n)
{
    std::vector<PrintGrid::Row> rows;
    for (int i = 1; i <= n; ++i)
        rows.push_back({"*", "1,5", "kg", "Artikel " + std::to_string(i)});
    return rows;
}

RecordingCanvas Print(const PrintGrid& grid, int copies = 1)
{
    RecordingCanvas c;
    PrintDocument(c, RecipePrintout(grid), copies, kDate);
    return c;
}

// The non-empty texts a page shows between the frame's title lines and its footer.
std::vector<RecordedOp> Body(const RecordingCanvas& c, int page, int job = 1)
{
    std::vector<RecordedOp> out;
    for (const RecordedOp& op : c.OpsOf(RecordedOp::Text, job, page)) {
        const bool frame = op.text == "Rezeptausdruck" || op.text == "VEMO-KOVANTA" ||
                           op.text == "www.vemosoft.example" || op.text == "01.02.2027" ||
                           op.text.starts_with("Seite ");
        if (!frame && !op.text.empty())
            out.push_back(op);
    }
    return out;
}

std::vector<std::string> Texts(const std::vector<RecordedOp>& ops)
{
    std::vector<std::string> out;
    for (const RecordedOp& op : ops)
        out.push_back(op.text);
    return out;
}

} // namespace

TEST(RecipePrintout, HeadBlockAndFiguresFromARecipeFileFor40Portions)
{
    TestDir dir;
    fixture::Head head;
    std::vector<std::string> lines =
        fixture::Block(head, {fixture::Article("150", "1", "kg", "Rindfleisch"),
                              fixture::Article("2500", "100", "g", "Paprikapulver")});
    lines.push_back("^^");
    TImpListInfo entry;
    entry.FileName = dir.write("REZ00001.DAT", fixture::Join(lines));
    entry.FileNumber = 1;
    PrintGrid grid;
    ASSERT_TRUE(FillPrintGrid(TRezeptImportProz(), entry, grid, 40));

    const RecordingCanvas c = Print(grid);
    EXPECT_EQ(c.PagesOf(1), 1);
    EXPECT_EQ(c.OpsOf(RecordedOp::BeginJob)[0].text, "Rezeptausdruck: Gulasch");
    const auto body = Body(c, 1);
    const std::vector<std::string> expected = {
        "Rezeptur (Kantine Nord) 12.03.1998",
        // Name and group as the file's fixed columns hold them.
        "Rezept: Gulasch" + std::string(13, ' ') + ",  Gruppe:Fleisch" + std::string(13, ' '),
        "Rindergulasch" + std::string(27, ' '),
        "mit Paprika" + std::string(29, ' '),
        "40 Portionen",
        "AZ=30 WZ=90 Kcal=512 KJ=2143 BE=3 Chol=80",
        "6 kg Rindfleisch",
        "1 g Paprikapulver"};
    EXPECT_EQ(Texts(body), expected);
    // Layout: name lines 40 high, the description in 10 pt between two rules, then the
    // portions and figures 1 mm apart, all in one cell of 90 mm.
    EXPECT_EQ(body[0].box, (PrintRect{205, 310, 1095, 2710}));
    EXPECT_EQ(body[2].box.top, 420);
    EXPECT_EQ(body[2].font, PrintFontOf(6));
    EXPECT_EQ(body[4].box.top, 550);
    EXPECT_EQ(body[4].font, PrintFontOf(4));
    EXPECT_EQ(body[5].box.top, 600);
    EXPECT_EQ(body[6].box, (PrintRect{305, 640, 1195, 2710})); // after 10 mm
    EXPECT_EQ(body[7].box.top, 680);
    const auto rules = c.OpsOf(RecordedOp::Line);
    EXPECT_TRUE(std::any_of(rules.begin(), rules.end(),
                            [](const RecordedOp& l) { return l.box.top == 410; }));
    EXPECT_TRUE(std::any_of(rules.begin(), rules.end(),
                            [](const RecordedOp& l) { return l.box.top == 530; }));
}

// Page 1 holds 52 body rows after a head block with one description line, later pages 57
// after the continuation line.
TEST(RecipePrintout, PagesEndWithTheLastBodyRow)
{
    const RecordingCanvas two = Print(Grid(Articles(109)));
    EXPECT_EQ(two.PagesOf(1), 2);
    EXPECT_EQ(Body(two, 2).back().text, "1,5 kg Artikel 109");

    const RecordingCanvas three = Print(Grid(Articles(110)));
    ASSERT_EQ(three.PagesOf(1), 3);
    EXPECT_EQ(Texts(Body(three, 3)),
              (std::vector<std::string>{"Fortsetzung: Eintopf", "1,5 kg Artikel 110"}));
    EXPECT_EQ(Body(three, 1).back().text, "1,5 kg Artikel 52");
}

TEST(RecipePrintout, ContinuationLineNamesTheRecipeOnLaterPagesOnly)
{
    const RecordingCanvas c = Print(Grid(Articles(60), "  Gulasch  ", " nach Art des Hauses "));
    ASSERT_EQ(c.PagesOf(1), 2);
    const auto page2 = Body(c, 2);
    ASSERT_FALSE(page2.empty());
    EXPECT_EQ(page2[0].text, "Fortsetzung: Gulasch nach Art des Hauses");
    EXPECT_EQ(page2[0].font, PrintFontOf(6));
    EXPECT_EQ(page2[0].box, (PrintRect{205, 330, 1095, 2710}));
    EXPECT_EQ(page2[1].box.top, 400);
    EXPECT_EQ(page2[1].font, PrintFontOf(4));
    for (const RecordedOp& op : Body(c, 1))
        EXPECT_FALSE(op.text.starts_with("Fortsetzung")) << op.text;

    // Without a first description line there is none, even with a second one.
    const RecordingCanvas none = Print(Grid(Articles(60), "   ", "zweite Zeile"));
    ASSERT_EQ(none.PagesOf(1), 2);
    const auto bare = Body(none, 2);
    EXPECT_EQ(bare[0].text, "1,5 kg Artikel 52");
    EXPECT_EQ(bare[0].box.top, 310);

    // Longer than its 89 mm (44 characters in 10 pt): it ends at a word, with an ellipsis.
    const RecordingCanvas cut =
        Print(Grid(Articles(60), "Rindergulasch nach Art des Hauses mit", "allen Zutaten"));
    ASSERT_EQ(cut.PagesOf(1), 2);
    EXPECT_EQ(Body(cut, 2)[0].text, "Fortsetzung: Rindergulasch nach Art des\x85");
}

// 51 articles leave room for one more line on page 1: a heading there would head nothing.
TEST(RecipePrintout, SectionHeadingIsNeverTheLastLineOfAPage)
{
    std::vector<PrintGrid::Row> body = Articles(51);
    body.push_back({":", "Zubereitung:^", "", ""});
    body.push_back({":", "Schmoren", "0090", ""});
    const RecordingCanvas c = Print(Grid(body));
    ASSERT_EQ(c.PagesOf(1), 2);
    EXPECT_EQ(Body(c, 1).back().text, "1,5 kg Artikel 51");
    EXPECT_EQ(Texts(Body(c, 2)), (std::vector<std::string>{"Fortsetzung: Eintopf", "Zubereitung:",
                                                            "Schmoren", "0090"}));
}

TEST(RecipePrintout, TextRowsLabelsValuesSegmentsAndTheRest)
{
    const std::string circa = std::string(63, 'x') + "ca";
    const RecordingCanvas c =
        Print(Grid({{":", "F\xFCr den Teig:^", "0005", ""},
                    {":", "Salz^Pfeffer^Muskat^", "    ", ""},
                    {":", "oder^", "0007", ""},
                    {":", "Butter^oder^Margarine^", "", ""},
                    {":", "Zugedeckt schmoren", "0090", ""},
                    {":", circa, "0090", ""},
                    {"#", "#Hinweis", "", ""}}));
    const auto body = Body(c, 1);
    std::vector<RecordedOp> rows(body.begin() + 5, body.end());
    EXPECT_EQ(Texts(rows), (std::vector<std::string>{"F\xFCr den Teig:", "0005",
                                                      "Salz, Pfeffer, Muskat", "oder", "0007",
                                                      "Butter", "Margarine^",
                                                      "Zugedeckt schmoren", "0090",
                                                      std::string(63, 'x'), "ca. 0090", "#",
                                                      "#Hinweis"}));
    // A label is bold; its value sits right-aligned in 10 mm after the 5 mm and 90 mm cells.
    EXPECT_EQ(rows[0].font, PrintFontOf(7));
    EXPECT_EQ(rows[0].box.left, 255);
    EXPECT_EQ(rows[1].box, (PrintRect{1155, rows[0].box.top, 1245, 2710}));
    EXPECT_EQ(rows[1].align, Align::Right);
    EXPECT_EQ(rows[1].font, PrintFontOf(7));
    // Segments: 10 mm indent, normal font; the rest after "oder" on a row of its own.
    EXPECT_EQ(rows[2].box.left, 305);
    EXPECT_EQ(rows[2].font, PrintFontOf(4));
    EXPECT_EQ(rows[6].box.top, rows[5].box.top + 40);
    EXPECT_EQ(rows[6].box.left, 305);
    // "ca. 0090" needs 12.8 mm with its margins: its cell grows to the left, the text cell
    // gives that room up, the right edge stays.
    EXPECT_EQ(rows[10].box, (PrintRect{1116, rows[9].box.top, 1245, 2710}));
    EXPECT_EQ(rows[9].box, (PrintRect{255, rows[9].box.top, 1106, 2710}));
    EXPECT_EQ(rows[7].box.right, 1145); // a value that fits keeps 10 mm
    // Another kind: its character in 5 mm, its text in 90 mm.
    EXPECT_EQ(rows[11].box.left, 205);
    EXPECT_EQ(rows[12].box.left, 255);
}

TEST(RecipePrintout, RowWithoutKindUsesTheCellsAsTheRowsBeforeLeftThem)
{
    const RecordingCanvas c =
        Print(Grid({{":", "Teig kneten", "0010", ""}, {"", "frei", "", "x"}}));
    const auto ops = c.OpsOf(RecordedOp::Text);
    const auto free = std::find_if(ops.begin(), ops.end(),
                                   [](const RecordedOp& op) { return op.text == "frei"; });
    ASSERT_NE(free, ops.end());
    // Cells 5 mm, 90 mm, 10 mm from the text row before; its alignment "llr" too.
    EXPECT_EQ(free->box.left, 255);
    EXPECT_EQ(free->align, Align::Left);
    const auto after = std::next(free);
    ASSERT_NE(after, ops.end());
    EXPECT_EQ(after->box, (PrintRect{1155, free->box.top, 1245, 2710}));
    EXPECT_EQ(after->align, Align::Right);
    EXPECT_TRUE(after->text.empty()); // column 2; column 3 is not printed
}

TEST(RecipePrintout, CopiesRestartAtPageOneAndAnEmptyGridPrintsTheFrame)
{
    const RecordingCanvas c = Print(Grid(Articles(60)), 2);
    ASSERT_EQ(c.Jobs(), 2);
    EXPECT_EQ(c.PagesOf(2), 2);
    EXPECT_EQ(Texts(Body(c, 1, 2)), Texts(Body(c, 1, 1)));

    const RecordingCanvas empty = Print(PrintGrid{});
    EXPECT_EQ(empty.PagesOf(1), 1);
    EXPECT_EQ(empty.OpsOf(RecordedOp::BeginJob)[0].text, "Rezeptausdruck");
    EXPECT_TRUE(Body(empty, 1).empty());
}
