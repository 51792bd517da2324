// Menu plan files: what the reader accepts, what the writer produces, and that each reads what
// the other writes; the atomic replacement on disk.
#include "recipe/planfile.h"
#include "support/testdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

using namespace kovanta;

namespace {

PlanFileRow Row(std::string portions, std::string file, std::uint16_t index = 0,
                std::optional<std::string> name = std::nullopt)
{
    PlanFileRow row;
    row.free = false;
    row.portions = std::move(portions);
    row.file = std::move(file);
    row.entryIndex = index;
    row.name = std::move(name);
    return row;
}

std::string Slurp(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> DirectoryEntries(const std::filesystem::path& dir)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(PlanFileParse, ReadsRowsFreeRowsAndLineEnds)
{
    std::vector<PlanFileRow> rows;
    int line = -1;
    // A byte order mark in front (an editor's) is no part of the first row's portions.
    ASSERT_TRUE(ParsePlanText("\xEF\xBB\xBF" "20\tREZ00001.DAT\t0\r\n\n  \t \n8\tsub/REZ00002.DAT\n"
                              "-5\t/abs/REZ00003.DAT\t12\n\tREZ00004.DAT\t65535\n"
                              "1\tREZ5.DAT\t2\t K\xC3\xA4se\r\n1\tREZ6.DAT\t0\t",
                              "/plans", rows, line));
    EXPECT_EQ(line, 0);
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0], Row("20", "/plans/REZ00001.DAT"));
    EXPECT_TRUE(rows[1].free);
    EXPECT_TRUE(rows[2].free); // blanks and TABs only
    EXPECT_EQ(rows[3], Row("8", "/plans/sub/REZ00002.DAT"));
    EXPECT_EQ(rows[4], Row("-5", "/abs/REZ00003.DAT", 12));
    EXPECT_EQ(rows[5], Row("", "/plans/REZ00004.DAT", 65535)); // empty portions: counts 0
    EXPECT_EQ(rows[6], Row("1", "/plans/REZ5.DAT", 2, " K\xC3\xA4se")); // the recipe's name
    EXPECT_EQ(rows[7], Row("1", "/plans/REZ6.DAT", 0, "")); // a recipe without name

    // Without a directory the names stay as written; an empty text is an empty plan.
    ASSERT_TRUE(ParsePlanText("1\tREZ00001.DAT\n", {}, rows, line));
    EXPECT_EQ(rows[0].file, "REZ00001.DAT");
    ASSERT_TRUE(ParsePlanText("", "/plans", rows, line));
    EXPECT_TRUE(rows.empty());
}

TEST(PlanFileParse, NamesTheFirstLineOfAnotherForm)
{
    const struct {
        const char* text;
        int line;
    } cases[] = {
        {"20\n", 1},                            // no file name
        {"20\t\n", 1},                          // empty file name
        {"1\ta\t0\n20\ta\tzwei\n", 2},          // index not a number
        {"1\ta\n\n20\ta\t65536\n", 3},          // beyond 16 bits
        {"20\ta\t1\tx\ty\n", 1},                // five fields
        {"20\ta\t\tName\n", 1},                // a name without entry index
        {"20\ta\t\n", 1},                       // empty index
        {"20\ta\t-1\n", 1},                     // signed index
        {"1\ta\t000001\n", 1},                  // more than five digits
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<PlanFileRow> rows;
        int line = 0;
        EXPECT_FALSE(ParsePlanText(c.text, "/p", rows, line));
        EXPECT_EQ(line, c.line);
    }
}

TEST(PlanFileFormat, RelativeBelowThePlanDirectoryAbsoluteElsewhere)
{
    EXPECT_EQ(PlanFileRecipeName("/k/plans/REZ00001.DAT", "/k/plans"), "REZ00001.DAT");
    EXPECT_EQ(PlanFileRecipeName("/k/plans/sub/../a/REZ1.DAT", "/k/plans/"), "a/REZ1.DAT");
    EXPECT_EQ(PlanFileRecipeName("/k/rezepte/REZ1.DAT", "/k/plans"), "/k/rezepte/REZ1.DAT");
    // A sibling whose name starts like the plan directory is not below it.
    EXPECT_EQ(PlanFileRecipeName("/k/plans2/REZ1.DAT", "/k/plans"), "/k/plans2/REZ1.DAT");
    EXPECT_EQ(PlanFileRecipeName("/k/REZ1.DAT", "/k/plans"), "/k/REZ1.DAT");
}

TEST(PlanFileFormat, WritesLinesUpToTheLastRecipe)
{
    const std::vector<PlanFileRow> rows = {
        PlanFileRow{}, Row("20", "/k/p/REZ00001.DAT"), PlanFileRow{},
        Row("8\t9\r\n", "/x/REZ2.DAT", 3, "Tab\tCR\r"), PlanFileRow{}, PlanFileRow{}};
    std::string text;
    std::size_t bad = 99;
    ASSERT_TRUE(FormatPlanText(rows, "/k/p", text, bad));
    EXPECT_EQ(text, "\n20\tREZ00001.DAT\t0\n\n8 9  \t/x/REZ2.DAT\t3\tTab CR \n");
    // The name field of an ANSI short name.
    EXPECT_EQ(PlanRecipeName("K\xE4se\x09\x7F" "Br\xF6tchen"), "K\xC3\xA4se  Br\xC3\xB6tchen");

    ASSERT_TRUE(FormatPlanText({PlanFileRow{}, PlanFileRow{}}, "/k/p", text, bad));
    EXPECT_EQ(text, "");

    // A name the format cannot carry is refused, not written broken.
    EXPECT_FALSE(FormatPlanText({Row("1", "/k/a"), Row("1", "/k/p/REZ\t1.DAT")}, "/k/p", text, bad));
    EXPECT_EQ(bad, 1u);
    EXPECT_FALSE(FormatPlanText({Row("1", "/k/p/REZ\n1.DAT")}, "/k/p", text, bad));
}

TEST(PlanFileFormat, ReaderReadsWhatTheWriterWrites)
{
    const std::vector<PlanFileRow> rows = {
        Row("20", "/k/plan/REZ00001.DAT"),
        PlanFileRow{},
        Row("", "/k/plan/Unterordner mit Blanks/Käse & Co/REZ00002.DAT", 7, " Käse & Co "),
        Row(" 12 ", "/k/andere/REZ00003.DAT", 65535),
        Row("abc", "/k/plan/name endet mit Blank /REZ4.DAT "),
        Row("1", "/k/plan/cr\r/REZ5.DAT"),
    };
    std::string text;
    std::size_t bad = 0;
    ASSERT_TRUE(FormatPlanText(rows, "/k/plan", text, bad));
    std::vector<PlanFileRow> back;
    int line = 0;
    ASSERT_TRUE(ParsePlanText(text, "/k/plan", back, line)) << line;
    EXPECT_EQ(back, rows);
    // Read from elsewhere (the companion run in another directory) the absolute names agree.
    ASSERT_TRUE(ParsePlanText(text, "/k/plan/", back, line));
    EXPECT_EQ(back[3].file, "/k/andere/REZ00003.DAT");
}

class PlanFileDisk : public ::testing::Test {
protected:
    TestDir tmp;
};

TEST_F(PlanFileDisk, WriteThenReadAndReplaceWholly)
{
    const std::string plan = (tmp.path() / "woche.plan").string();
    std::string reason;
    const std::vector<PlanFileRow> first = {Row("20", tmp.dir() + "REZ00001.DAT"),
                                            Row("5", "/anderswo/REZ00009.DAT", 2)};
    ASSERT_TRUE(WritePlanFile(plan, first, reason)) << reason;
    EXPECT_EQ(Slurp(plan), "20\tREZ00001.DAT\t0\n5\t/anderswo/REZ00009.DAT\t2\n");
    PlanReadResult read = ReadPlanFile(plan);
    ASSERT_EQ(read.status, PlanReadStatus::Ok);
    EXPECT_EQ(read.rows, first);

    ASSERT_TRUE(WritePlanFile(plan, {Row("3", tmp.dir() + "x/REZ00002.DAT")}, reason));
    EXPECT_EQ(Slurp(plan), "3\tx/REZ00002.DAT\t0\n");
    // No temporary file stays behind.
    EXPECT_EQ(DirectoryEntries(tmp.path()), std::vector<std::string>{"woche.plan"});
}

// Permissions, links and the other refusals: AtomicFile (tests/platform/test_atomicfile.cpp).
TEST_F(PlanFileDisk, WritesThroughALinkRelativeToTheNameItIsOpenedBy)
{
    const std::string real = tmp.write("echt/plan.plan", "alt\n");
    const auto link = tmp.path() / "verweis.plan";
    std::filesystem::create_symlink(real, link);
    std::string reason;
    ASSERT_TRUE(WritePlanFile(link.string(), {Row("1", tmp.dir() + "REZ00001.DAT")}, reason))
        << reason;
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    // Relative to the directory of the name the plan is opened by.
    EXPECT_EQ(Slurp(real), "1\tREZ00001.DAT\t0\n");
}

TEST_F(PlanFileDisk, RefusesADirectoryAndANameTheFormatCannotCarry)
{
    std::string reason;
    std::filesystem::create_directories(tmp.path() / "ordner.plan");
    EXPECT_FALSE(WritePlanFile((tmp.path() / "ordner.plan").string(), {}, reason));
    EXPECT_EQ(reason, "ist ein Verzeichnis");
    const std::string plan = tmp.write("gut.plan", "1\tREZ00001.DAT\t0\n");
    EXPECT_FALSE(WritePlanFile(plan, {Row("1", tmp.dir() + "a\tb")}, reason));
    EXPECT_EQ(Slurp(plan), "1\tREZ00001.DAT\t0\n");
}

// Missing files, directories and FIFOs as plans, and rows checked against their recipe files:
// tests/cli/test_requirements_cli.cpp (the golden plans).
TEST_F(PlanFileDisk, ReadRefusesHugeAndMalformedFiles)
{
    const std::string big = tmp.write("gross.plan", std::string(kMaxPlanFileBytes + 1, '\n'));
    EXPECT_EQ(ReadPlanFile(big).status, PlanReadStatus::TooLarge);
    const std::string limit = tmp.write("grenze.plan", std::string(kMaxPlanFileBytes, '\n'));
    const PlanReadResult atLimit = ReadPlanFile(limit);
    EXPECT_EQ(atLimit.status, PlanReadStatus::Ok);
    EXPECT_EQ(atLimit.rows.size(), kMaxPlanFileBytes);

    const PlanReadResult bad = ReadPlanFile(tmp.write("kaputt.plan", "1\ta\n2\n"));
    EXPECT_EQ(bad.status, PlanReadStatus::Malformed);
    EXPECT_EQ(bad.line, 2);
    EXPECT_TRUE(bad.rows.empty());
}

} // namespace
