// `rezeptur print` end to end: the built companion, which hands the command on to
// rezeptur-print, on recipe files and plans the tests write; the PDFs are read back with
// pdfinfo and pdftotext.
#include "recipe/recipe_fixture.h"
#include "support/pdftext.h"
#include "support/rezeptur.h"
#include "support/testdir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <sys/stat.h>
#include <utility>

namespace {

using fixture::Article;
using fixture::Text;
using pdf_test::Capture;
using pdf_test::Has;
using rezeptur_test::ReadAll;
using rezeptur_test::RunResult;

class RezepturPrint : public ::testing::Test {
protected:
    void SetUp() override
    {
        Recipe("REZ00001.DAT", "Gulasch", 10,
               {Article("150", "1", "kg", "Rindfleisch"), Text("", "Salz^Pfeffer^")});
        Recipe("REZ00002.DAT", "Kuchen", 4,
               {Article("25", "1", "kg", "Butter"), Text("", "oder^"),
                Article("25", "1", "kg", "Margarine")});
        pdf = data.dir() + "aus.pdf";
    }

    void Recipe(const std::string& file, const std::string& name, int portions,
                const std::vector<std::string>& body, const std::string& group = "Fleisch")
    {
        fixture::Head head;
        head.shortName = name;
        head.group = group;
        head.portions = portions;
        std::vector<std::string> lines = fixture::Block(head, body);
        lines.push_back("^^");
        data.write(file, fixture::Join(lines));
    }

    RunResult Print(const std::string& args)
    {
        return rezeptur_test::Run(data.dir(), "print " + args, scratch);
    }

    int Pages() const { return pdf_test::Pages(pdf); }
    std::string PdfText(int page = 0) const { return pdf_test::Text(pdf, page); }

    TestDir data, scratch;
    std::string pdf;
};

} // namespace

TEST_F(RezepturPrint, RecipeListInTheOrderOfRezepturList)
{
    Recipe("REZ00003.DAT", "Apfelstrudel", 12, {Article("100", "1", "kg", "\x8Apfel")},
           "Desserts");
    const RunResult run = Print("list . --pdf aus.pdf");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "");
    const RunResult listed = rezeptur_test::Run(data.dir(), "list .", scratch);
    std::vector<std::string> expected;
    for (std::size_t at = 0; at < listed.out.size();) {
        const std::size_t tab = listed.out.find('\t', at);
        expected.push_back(listed.out.substr(at, tab - at));
        at = listed.out.find('\n', at) + 1;
    }
    ASSERT_EQ(expected.size(), 3u);
    const std::string text = PdfText();
    std::size_t last = 0;
    for (const std::string& name : expected) {
        const std::size_t at = text.find("\n" + name + " ");
        ASSERT_NE(at, std::string::npos) << name << "\n" << text;
        EXPECT_GT(at, last) << name;
        last = at;
    }
    EXPECT_TRUE(Has(text, "Rezeptliste +VEMO-KOVANTA"));
    EXPECT_TRUE(Has(text, "Apfelstrudel +Desserts +12 +512 +2143 +3 +80 +30 +90"));
}

TEST_F(RezepturPrint, PlanWithFreeRowsAndAMissingRecipe)
{
    data.write("plan.txt", "40\tREZ00002.DAT\n\n\n20\tREZ00001.DAT\n5\tREZ09999.DAT\n");
    // The usable rows are printed; the other is named and the run fails.
    const RunResult run = Print("plan plan.txt --pdf aus.pdf");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "rezeptur print: \"plan.txt\", Zeile 5: \"REZ09999.DAT\" nicht gefunden\n");
    const std::string text = PdfText();
    EXPECT_TRUE(Has(text, "Speiseplan +VEMO-KOVANTA")) << text;
    EXPECT_TRUE(Has(text, "Portionen +Rezept +Gruppe\n *40 +Kuchen +Fleisch\n *20 +Gulasch +Fleisch\n"))
        << text;
}

TEST_F(RezepturPrint, RequirementsWithTheAlternativesWarning)
{
    data.write("plan.txt", "40\tREZ00002.DAT\n20\tREZ00001.DAT\n");
    ASSERT_EQ(Print("requirements plan.txt --pdf aus.pdf").status, 0);
    const std::string text = PdfText();
    EXPECT_TRUE(Has(text, "A C H T U N G: +Alternativartikel enthalten!")) << text;
    EXPECT_TRUE(Has(text, "Menge +Einheit +Artikel\n *2,5 +kg +Butter\n *2,5 +kg +Margarine\n"
                          " *3 +kg +Rindfleisch\n +Salz\n")) << text;
}

TEST_F(RezepturPrint, RecipeForPlannedPortionsInTwoCopies)
{
    const RunResult run = Print("recipe REZ00001.DAT --portions 40 --pdf aus.pdf --copies 2");
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(Pages(), 2);
    for (int page = 1; page <= 2; ++page) {
        const std::string text = PdfText(page);
        EXPECT_TRUE(Has(text, "Rezeptausdruck +VEMO-KOVANTA")) << text;
        EXPECT_TRUE(Has(text, "40 Portionen")) << text;
        EXPECT_TRUE(Has(text, "6 kg Rindfleisch")) << text;
        EXPECT_TRUE(Has(text, "Salz, Pfeffer")) << text;
        EXPECT_TRUE(Has(text, "Seite 1")) << text;
    }
}

TEST_F(RezepturPrint, FailuresLeaveAnEarlierOutputAlone)
{
    data.write("aus.pdf", "alt");
    RunResult run = Print("recipe REZ00077.DAT --pdf aus.pdf");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "rezeptur print: \"REZ00077.DAT\" nicht gefunden\n");
    run = Print("recipe REZ00001.DAT --entry 3 --pdf aus.pdf");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "rezeptur print: \"REZ00001.DAT\" hat keinen Eintrag 3 (ein einzelnes "
                       "Rezept: Eintrag 0)\n");
    run = Print("plan fehlt.txt --pdf aus.pdf");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(ReadAll(pdf), "alt");

    // An output that cannot be written is named with the reason (which outputs are refused:
    // AtomicFile, tests/platform/test_atomicfile.cpp).
    run = Print("list . --pdf fehlt/aus.pdf");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "rezeptur print: \"fehlt/aus.pdf\" kann nicht geschrieben werden (nicht "
                       "gefunden)\n");
    EXPECT_FALSE(std::filesystem::exists(data.path() / "fehlt"));

    // A PATH that `rezeptur list` refuses is refused with the same words, and no PDF is made:
    // an empty or partial list would look like the whole one.
    ASSERT_EQ(::mkfifo((scratch.dir() + "rohr.dat").c_str(), 0600), 0);
    std::filesystem::create_symlink("kreis", scratch.path() / "kreis");
    for (const std::string path : {"rohr.dat", "kreis", "fehlt"}) {
        const RunResult listed = rezeptur_test::Run(scratch.dir(), "list " + path, scratch);
        run = Print("list REZ00001.DAT '" + scratch.dir() + path + "' --pdf aus.pdf");
        EXPECT_EQ(std::pair(listed.status, run.status), std::pair(1, 1)) << path;
        EXPECT_EQ(run.err, std::regex_replace(listed.err, std::regex("list: \""),
                                              "print: \"" + scratch.dir()));
    }
    EXPECT_EQ(ReadAll(pdf), "alt");

    // Nothing but the output itself is left behind.
    ASSERT_EQ(Print("list . --pdf aus.pdf").status, 0);
    EXPECT_EQ(Pages(), 1);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(data.path()))
        ++files;
    EXPECT_EQ(files, 3u); // two recipes and the PDF
}

TEST_F(RezepturPrint, OnlyThePrintProgramLinksQtAndNoWidgets)
{
    const std::string bin = rezeptur_test::Env("KOVANTA_BIN_DIR");
    const std::string companion = Capture("ldd '" + bin + "/rezeptur'");
    const std::string printer = Capture("ldd '" + bin + "/rezeptur-print'");
    ASSERT_FALSE(companion.empty());
    EXPECT_EQ(companion.find("libQt"), std::string::npos) << companion;
    EXPECT_NE(printer.find("libQt6Gui"), std::string::npos) << printer;
    EXPECT_EQ(printer.find("libQt6Widgets"), std::string::npos) << printer;
    EXPECT_EQ(printer.find("libQt6PrintSupport"), std::string::npos) << printer;
}
