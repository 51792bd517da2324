// The print primitives and the page frame on the recording canvas: unit conversion, the page
// rectangle, table rows with their rules, the footer and the document loop.
#include "print/document.h"
#include "print/primitives.h"
#include "print/recordingcanvas.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace kovanta::print;

namespace {

RecordingMetrics At600Dpi()
{
    RecordingMetrics m;
    m.dpiX = m.dpiY = 600;
    m.physicalPage = {4960, 7016};
    m.printable = {4960, 7016};
    return m;
}

std::vector<RecordedOp> Lines(const RecordingCanvas& c)
{
    return c.OpsOf(RecordedOp::Line);
}

} // namespace

TEST(PrintUnits, RoundHalvesToEven)
{
    EXPECT_EQ(DivideRoundHalfEven(5, 2), 2);
    EXPECT_EQ(DivideRoundHalfEven(7, 2), 4);
    EXPECT_EQ(DivideRoundHalfEven(1, 2), 0);
    EXPECT_EQ(DivideRoundHalfEven(-5, 2), -2);
    EXPECT_EQ(DivideRoundHalfEven(-7, 2), -4);
    EXPECT_EQ(DivideRoundHalfEven(10, 3), 3);
    EXPECT_EQ(DivideRoundHalfEven(11, 3), 4);
    // 127 tenths at 1 dpi are half a pixel, 381 one and a half.
    EXPECT_EQ(TenthsToPixels(127, 1), 0);
    EXPECT_EQ(TenthsToPixels(381, 1), 2);
    EXPECT_EQ(TenthsToPixels(5, 600), 12);     // 11.81
    EXPECT_EQ(TenthsToPixels(150, 600), 354);  // 354.33
    EXPECT_EQ(MillimetresToPixels(20, 600), 472); // 472.44
    EXPECT_EQ(MillimetresToPixels(3, 254), 30);
}

TEST(PrintFonts, TableOfTheEightNumbersAndEightPointForAnyOther)
{
    EXPECT_EQ(PrintFontOf(1), (PrintFont{"Liberation Sans", 12, true, true}));
    EXPECT_EQ(PrintFontOf(3), (PrintFont{"Liberation Sans", 8, false, true}));
    EXPECT_EQ(PrintFontOf(5), (PrintFont{"Liberation Sans", 6, false, false}));
    EXPECT_EQ(PrintFontOf(6), (PrintFont{"Liberation Sans", 10, false, false}));
    EXPECT_EQ(PrintFontOf(7), (PrintFont{"Liberation Sans", 8, true, false}));
    for (int plain : {0, 2, 4, 8, -1, 1000})
        EXPECT_EQ(PrintFontOf(plain), (PrintFont{"Liberation Sans", 8, false, false})) << plain;
}

TEST(PageRectangle, MarginFromThePaperEdgesInPrintableCoordinates)
{
    RecordingMetrics m; // 254 dpi: one pixel per tenth of a millimetre
    EXPECT_EQ(PageRectangle(RecordingCanvas(m), 20), (PrintRect{200, 200, 1900, 2770}));

    m.printable = {2000, 2870};
    m.offset = {50, 60};
    EXPECT_EQ(PageRectangle(RecordingCanvas(m), 20), (PrintRect{150, 140, 1850, 2710}));

    // Offsets larger than the margin: never below 0. A narrow printable area clips.
    m.offset = {250, 230};
    m.printable = {1500, 2500};
    EXPECT_EQ(PageRectangle(RecordingCanvas(m), 20), (PrintRect{0, 0, 1500, 2500}));
}

TEST(PrintLines, TopAndBottomMoveByTheTextHeightAndTheGaps)
{
    RecordingCanvas c;
    SetPrintFont(c, 4); // 40 pixels high
    PrintRect r{100, 100, 900, 2000};
    PrintTextLine(c, "oben", r, Align::Centre);
    EXPECT_EQ(r.top, 140);
    PrintBottomLine(c, "unten", r, Align::Right);
    EXPECT_EQ(r.bottom, 1960);
    PrintRule(c, r, 10);
    EXPECT_EQ(r.top, 160);
    PrintBottomRule(c, r, 10);
    EXPECT_EQ(r.bottom, 1940);
    AdvanceMillimetres(c, r, 3);
    EXPECT_EQ(r.top, 190);

    const auto texts = c.OpsOf(RecordedOp::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].box, (PrintRect{100, 100, 900, 2000}));
    EXPECT_EQ(texts[0].align, Align::Centre);
    EXPECT_EQ(texts[1].box, (PrintRect{100, 1960, 900, 2000}));
    const auto lines = Lines(c);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].box, (PrintRect{100, 150, 900, 150}));
    EXPECT_EQ(lines[1].box, (PrintRect{100, 1950, 900, 1950}));
}

TEST(PageFull, LessThanOneAndAHalfLinesLeft)
{
    RecordingCanvas c;
    SetPrintFont(c, 4); // 40 pixels: 60 needed
    EXPECT_FALSE(PageFull(c, PrintRect{0, 0, 100, 60}));
    EXPECT_TRUE(PageFull(c, PrintRect{0, 0, 100, 59}));
    SetPrintFont(c, 5); // 30 pixels: 45 needed
    EXPECT_FALSE(PageFull(c, PrintRect{0, 100, 100, 145}));
    EXPECT_TRUE(PageFull(c, PrintRect{0, 100, 100, 144}));
}

TEST(PrintTableRow, CellsTextBoxesAndRulesAt600Dpi)
{
    RecordingCanvas c(At600Dpi());
    SetPrintFont(c, 4);
    const int h = c.TextHeight();
    TableRow row;
    row.cells = {{"a", 150}, {"b", 150}, {"c", 320}};
    row.alignment = "rc"; // the third cell has no character: left
    row.marginTenths = 5; // 12 pixels
    row.boundaries = "|| |xx";
    row.ruleAbove = true;
    row.ruleBelow = true;
    PrintRect r{1000, 500, 4000, 6000};
    PrintTableRow(c, row, r);

    // Cell edges at the converted running sums: 150 -> 354, 300 -> 709, 620 -> 1465; texts
    // 0.2 mm (5 pixels) below the rule above.
    const auto texts = c.OpsOf(RecordedOp::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].box, (PrintRect{1012, 506, 1342, 6000}));
    EXPECT_EQ(texts[0].align, Align::Right);
    EXPECT_EQ(texts[1].box, (PrintRect{1366, 506, 1697, 6000}));
    EXPECT_EQ(texts[1].align, Align::Centre);
    EXPECT_EQ(texts[2].box, (PrintRect{1721, 506, 2453, 6000}));
    EXPECT_EQ(texts[2].align, Align::Left);

    const auto lines = Lines(c);
    ASSERT_EQ(lines.size(), 5u);
    const int bottom = 506 + h + 5; // the gap below the text, too
    EXPECT_EQ(lines[0].box, (PrintRect{1000, 500, 2465, 500})); // above, over all widths
    // Boundaries 0, 1 and 3 on the cell edges, the margin away from the texts.
    EXPECT_EQ(lines[1].box, (PrintRect{1000, 501, 1000, bottom}));
    EXPECT_EQ(lines[2].box, (PrintRect{1354, 501, 1354, bottom}));
    EXPECT_EQ(lines[3].box, (PrintRect{2465, 501, 2465, bottom}));
    EXPECT_EQ(lines[4].box, (PrintRect{1000, bottom, 2465, bottom})); // below
    EXPECT_EQ(r.top, bottom + 1);
}

TEST(PrintTableRow, RowIsAsHighAsItsTallestCellAndNoRulesWhenOff)
{
    RecordingCanvas c;
    SetPrintFont(c, 6); // 50 pixels
    TableRow row;
    row.cells = {{"x", 100}, {"", 100}};
    PrintRect r{0, 10, 1000, 2000};
    PrintTableRow(c, row, r);
    EXPECT_EQ(r.top, 60);
    EXPECT_TRUE(Lines(c).empty());
    // No cells at all: nothing moves, no rules even when asked for boundaries.
    TableRow empty;
    empty.boundaries = "||";
    PrintTableRow(c, empty, r);
    EXPECT_EQ(r.top, 60);
    EXPECT_TRUE(Lines(c).empty());
}

// 16 pixels per character in 8 pt; the ellipsis is one character.
TEST(FitTextAtWord, EndsAtTheLastWholeWordWithAnEllipsis)
{
    RecordingCanvas c;
    SetPrintFont(c, 4);
    EXPECT_EQ(FitTextAtWord(c, "mit allen Zutaten", 17 * 16), "mit allen Zutaten");
    EXPECT_EQ(FitTextAtWord(c, "mit allen   Zutaten", 16 * 16), "mit allen\x85");
    EXPECT_EQ(FitTextAtWord(c, "mit allen Zutaten", 9 * 16), "mit\x85");
    // A first word longer than the room is cut between letters.
    EXPECT_EQ(FitTextAtWord(c, "Rindergulasch mit", 5 * 16), "Rind\x85");
}

TEST(PageFooter, AddressDateAndPageOnOneLineThenTheRuleAbove)
{
    RecordingCanvas c;
    SetPrintFont(c, 2);
    PrintRect r{200, 200, 1900, 2770};
    PageFooter(c, r, 7, "06.12.2026");
    const auto texts = c.OpsOf(RecordedOp::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "www.vemosoft.example");
    EXPECT_EQ(texts[0].align, Align::Left);
    EXPECT_EQ(texts[1].text, "06.12.2026");
    EXPECT_EQ(texts[1].align, Align::Right);
    EXPECT_EQ(texts[2].text, "Seite 7");
    EXPECT_EQ(texts[2].align, Align::Centre);
    for (const RecordedOp& t : texts)
        EXPECT_EQ(t.box, (PrintRect{200, 2730, 1900, 2770}));
    ASSERT_EQ(Lines(c).size(), 1u);
    EXPECT_EQ(Lines(c)[0].box, (PrintRect{200, 2720, 1900, 2720}));
    EXPECT_EQ(r.bottom, 2710);
    EXPECT_EQ(r.top, 200);
}

TEST(PageFrame, TitleMarkRuleFooterAndSpace)
{
    RecordingCanvas c;
    const PrintRect r = PageFrame(c, "Speiseplan", 2, PrintDate{6, 12, 2026});
    EXPECT_EQ(r, (PrintRect{200, 310, 1900, 2710}));
    const auto texts = c.OpsOf(RecordedOp::Text);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0].text, "Speiseplan");
    EXPECT_EQ(texts[0].align, Align::Left);
    EXPECT_EQ(texts[1].text, "VEMO-KOVANTA");
    EXPECT_EQ(texts[1].align, Align::Right);
    EXPECT_EQ(texts[0].box.top, texts[1].box.top);
    EXPECT_EQ(texts[0].font, PrintFontOf(1));
    EXPECT_EQ(texts[4].text, "Seite 2");
    EXPECT_EQ(texts[4].font, PrintFontOf(2));
}

TEST(FooterDate, DayAndMonthFilledWithZeros)
{
    EXPECT_EQ(FooterDateText({6, 12, 2026}), "06.12.2026");
    EXPECT_EQ(FooterDateText({31, 1, 1999}), "31.01.1999");
}

namespace {

class PagesPrintout : public Printout {
public:
    explicit PagesPrintout(int pages, int throwOnPage = 0) : pages_(pages), throw_(throwOnPage) {}
    void PrintCopy(PrintCanvas& canvas, const PrintDate& date) const override
    {
        for (int page = 1; page <= pages_; ++page) {
            if (page > 1)
                canvas.NewPage();
            if (page == throw_)
                throw std::runtime_error("Papierstau");
            PageFrame(canvas, "Test", page, date);
        }
    }
    std::string Title() const override { return "Probe"; }

private:
    int pages_;
    int throw_;
};

} // namespace

TEST(PrintDocument, EachCopyIsAJobWithPagesFromOne)
{
    RecordingCanvas c;
    PrintDocument(c, PagesPrintout(2), 2, PrintDate{});
    ASSERT_EQ(c.Jobs(), 2);
    for (int job = 1; job <= 2; ++job) {
        EXPECT_EQ(c.PagesOf(job), 2);
        const auto begin = c.OpsOf(RecordedOp::BeginJob, job);
        ASSERT_EQ(begin.size(), 1u);
        EXPECT_EQ(begin[0].text, "Probe"); // the printout's own title
        EXPECT_EQ(c.OpsOf(RecordedOp::EndJob, job).size(), 1u);
        EXPECT_EQ(c.TextsOn(job, 1).back(), "Seite 1");
        EXPECT_EQ(c.TextsOn(job, 2).back(), "Seite 2");
    }
    EXPECT_FALSE(c.InJob());
    // Fewer than one copy prints one.
    RecordingCanvas one;
    PrintDocument(one, PagesPrintout(1), 0, PrintDate{});
    EXPECT_EQ(one.Jobs(), 1);
}

TEST(PrintDocument, AnErrorEndsTheJobUnderWayAndTheDocument)
{
    RecordingCanvas c;
    EXPECT_THROW(PrintDocument(c, PagesPrintout(3, 2), 2, PrintDate{}), std::runtime_error);
    EXPECT_EQ(c.Jobs(), 1);
    EXPECT_EQ(c.OpsOf(RecordedOp::EndJob).size(), 1u);
    EXPECT_FALSE(c.InJob());

    RecordingCanvas failing;
    failing.FailJob(2);
    EXPECT_THROW(PrintDocument(failing, PagesPrintout(1), 3, PrintDate{}), PrintError);
    EXPECT_EQ(failing.Jobs(), 1);
    EXPECT_FALSE(failing.InJob());
}
