// Real PDF files through the QPainter canvas, as `rezeptur print` and "Print to File" write
// them, read back with poppler's pdfinfo, pdftotext and pdffonts.
#include "print/listprintouts.h"
#include "print/qt/paintercanvas.h"
#include "support/pdftext.h"
#include "support/testdir.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>

using namespace kovanta;
using namespace kovanta::print;

namespace {

using pdf_test::Capture;

const PrintDate kDate{6, 12, 2026};

class PdfPrintTest : public ::testing::Test {
protected:
    std::string Write(const Printout& printout, int copies = 1, int dpi = 600)
    {
        const std::string path = dir.dir() + "out" + std::to_string(++count) + ".pdf";
        QPdfWriter writer(QString::fromStdString(path));
        writer.setResolution(dpi);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0)));
        PainterCanvas::Options options;
        options.oneDocumentForAllJobs = true;
        options.setTitle = [&writer](const QString& title) { writer.setTitle(title); };
        PrintOnDevice(writer, printout, copies, kDate, options);
        return path;
    }

    static int Pages(const std::string& pdf) { return pdf_test::Pages(pdf); }
    static std::string Page(const std::string& pdf, int page) { return pdf_test::Text(pdf, page); }

    TestDir dir;
    int count = 0;
};

// The words of a line of pdftotext -layout output, blanks collapsed.
bool HasLine(const std::string& text, const std::string& pattern)
{
    return std::regex_search(text, std::regex(pattern));
}

} // namespace

TEST_F(PdfPrintTest, RecipeListPageWithFrameHeaderAndRows)
{
    ListTable t;
    t.header = RecipeListPrintHeader();
    t.rows = {ListRow{{"Gulasch", "Fleisch", "10", "512", "2143", "3", "0", "30", "90"}},
              ListRow{{"K\xE4sesp\xE4tzle", "Teigwaren", "4", "0", "0", "0", "0", "0", "0"}}};
    const std::string pdf = Write(ListPrintout::RecipeList(std::move(t)));
    EXPECT_EQ(Pages(pdf), 1);
    const std::string page = Page(pdf, 1);
    EXPECT_TRUE(HasLine(page, "Rezeptliste +VEMO-KOVANTA")) << page;
    EXPECT_TRUE(HasLine(page, "Rezept +Rezeptgruppe +Portionen +kcal +kJ +BE +Chol +AZ +WZ"))
        << page;
    EXPECT_TRUE(HasLine(page, "Gulasch +Fleisch +10 +512 +2143 +3 +30 +90")) << page;
    EXPECT_TRUE(HasLine(page, "Käsespätzle +Teigwaren +4\\s*\n")) << page;
    EXPECT_TRUE(HasLine(page, "www\\.vemosoft\\.example +Seite 1 +06\\.12\\.2026")) << page;
    EXPECT_NE(Capture("pdffonts '" + pdf + "'").find("LiberationSans"), std::string::npos);
    EXPECT_TRUE(HasLine(Capture("pdfinfo '" + pdf + "'"), "Title: +Rezeptliste\n"));
}

TEST_F(PdfPrintTest, LowResolutionGivesTheSamePages)
{
    ListTable t;
    t.header = MenuPlanPrintHeader();
    for (int i = 1; i <= 100; ++i)
        t.rows.push_back(ListRow{{std::to_string(i), "Rezept " + std::to_string(i), "Gruppe"}});
    const ListPrintout plan = ListPrintout::MenuPlan(std::move(t));
    const std::string fine = Write(plan, 1, 600);
    const std::string coarse = Write(plan, 1, 300);
    EXPECT_EQ(Pages(fine), 2);
    EXPECT_EQ(Pages(coarse), 2);
    EXPECT_TRUE(HasLine(Page(fine, 2), "Portionen +Rezept +Gruppe"));
    EXPECT_TRUE(HasLine(Page(coarse, 2), "100 +Rezept 100 +Gruppe"));
}

TEST(MergeAxisLines, TouchingRulesOnOneAxisBecomeOne)
{
    std::vector<QLine> lines = {
        {100, 50, 100, 60}, {100, 61, 100, 70}, {100, 69, 100, 65}, // touching, overlapping
        {100, 72, 100, 80},                                          // a gap of one pixel
        {200, 50, 200, 60},                                          // another x
        {10, 5, 20, 5},     {30, 5, 21, 5},                          // level, reversed
        {10, 6, 20, 6},                                              // another y
        {0, 0, 5, 5},                                                // slanted: kept
    };
    MergeAxisLines(lines);
    const std::vector<QLine> expected = {{100, 50, 100, 70}, {100, 72, 100, 80},
                                         {200, 50, 200, 60}, {10, 5, 30, 5},
                                         {10, 6, 20, 6},     {0, 0, 5, 5}};
    EXPECT_EQ(lines, expected);
    std::vector<QLine> none;
    MergeAxisLines(none);
    EXPECT_TRUE(none.empty());
}
