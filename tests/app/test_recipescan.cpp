#include "recipe/rezeptimportproz.h"
#include "app/recipescan.h"
#include "support/testdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>

using namespace kovanta;

namespace {

// A single-recipe file: an eight-line head and one article line.
std::string recipe(const std::string& name)
{
    return "01.02.2024\r\nKantine\r\nMittag\r\n" + name + std::string(20 - name.size(), ' ') +
           "  123\r\nSuppen\r\n\r\n\r\n10\r\n\r\n";
}

std::vector<std::string> fileNames(const RecipeScan::Entries& entries)
{
    std::vector<std::string> names;
    for (const auto& e : entries)
        names.push_back(e->FileName);
    return names;
}

struct Dirs {
    TestDir root;
    std::string program = root.dir() + "prog/";
    std::string a = root.dir() + "a/";
    std::string b = root.dir() + "b/";
    Dirs()
    {
        root.write("prog/REZ00001.DAT", recipe("Programm"));
        root.write("a/REZ00002.DAT", recipe("Linsen"));
        root.write("b/rez0003.dat", recipe("Erbsen")); // as the web import names its files
    }
};

} // namespace

TEST(RecipeScan, ProgramDirectoryFirstOnlyWhileNotListed)
{
    Dirs d;
    TRezeptImportProz proz;
    RecipeScan scan(proz, d.program.substr(0, d.program.size() - 1)); // "/" added

    struct Case {
        const char* name;
        std::vector<SearchPath> paths;
        std::vector<std::string> expected;
    };
    const std::string p = d.program + "REZ00001.DAT", a = d.a + "REZ00002.DAT",
                      b = d.b + "rez0003.dat";
    const Case cases[] = {
        {"first start: nothing listed", {}, {p}},
        {"inactive entries are not scanned", {{d.a, false}, {d.b, true}}, {p, b}},
        {"list order", {{d.b, true}, {d.a, true}}, {p, b, a}},
        {"listed program directory at its place", {{d.a, true}, {d.program, true}}, {a, p}},
        {"listed inactive program directory not scanned", {{d.program, false}, {d.a, true}}, {a}},
        {"missing directory contributes nothing", {{d.root.dir() + "gone/", true}}, {p}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fileNames(scan.readAll(SearchPathList(c.paths))), c.expected) << c.name;
}

TEST(RecipeScan, SameFileThroughTwoSpellingsIsListedTwice)
{
    Dirs d;
    std::filesystem::create_directory_symlink(d.a, d.root.path() / "link");
    TRezeptImportProz proz;
    RecipeScan scan(proz, d.program);
    const auto entries =
        scan.readAll(SearchPathList({{d.a, true}, {d.root.dir() + "link/", true}}));
    EXPECT_EQ(fileNames(entries),
              (std::vector<std::string>{d.program + "REZ00001.DAT", d.a + "REZ00002.DAT",
                                        d.root.dir() + "link/REZ00002.DAT"}));
}

TEST(RecipeScan, ReportsProgressAfterEachFile)
{
    TestDir dir;
    for (int i = 0; i < 5; ++i)
        dir.write("REZ" + std::to_string(10000 + i) + ".DAT", recipe("R" + std::to_string(i)));
    dir.write("REZ2.DAT", "not a recipe\r\n"); // read, gives one entry of blanks or none
    TRezeptImportProz proz;
    RecipeScan scan(proz, dir.dir());
    std::vector<std::size_t> counts;
    const auto entries = scan.readAll({}, [&](std::size_t n) { counts.push_back(n); });
    ASSERT_EQ(counts.size(), 6u) << "one report per file";
    EXPECT_TRUE(std::is_sorted(counts.begin(), counts.end()));
    EXPECT_EQ(counts.back(), entries.size());

    // Nothing found: no report at all, the list keeps only its header.
    TestDir empty;
    RecipeScan none(proz, empty.dir());
    counts.clear();
    EXPECT_TRUE(none.readAll({}, [&](std::size_t n) { counts.push_back(n); }).empty());
    EXPECT_TRUE(counts.empty());
}

TEST(RecipeScan, StopFlagEndsTheReadBeforeTheNextFile)
{
    TestDir dir;
    for (int i = 0; i < 10; ++i)
        dir.write("REZ" + std::to_string(10000 + i) + ".DAT", recipe("R" + std::to_string(i)));
    TRezeptImportProz proz;
    RecipeScan scan(proz, dir.dir());
    std::atomic<bool> stop{false};
    scan.setStopFlag(&stop);
    const auto entries = scan.readAll({}, [&](std::size_t n) {
        if (n == 3)
            stop = true;
    });
    EXPECT_EQ(entries.size(), 3u);

    stop = false; // a new read starts afresh
    EXPECT_EQ(scan.readAll({}).size(), 10u);
}

TEST(RecipeScan, ProgressTextGroupsThousandsTheGermanWay)
{
    EXPECT_EQ(scanProgressText(0), "0 Rezepte gelesen...");
    EXPECT_EQ(scanProgressText(999), "999 Rezepte gelesen...");
    EXPECT_EQ(scanProgressText(1000), "1.000 Rezepte gelesen...");
    EXPECT_EQ(scanProgressText(12345), "12.345 Rezepte gelesen...");
    EXPECT_EQ(scanProgressText(1234567), "1.234.567 Rezepte gelesen...");
}

TEST(RecipeScan, ReadsOnACopyOfThePaths)
{
    Dirs d;
    TRezeptImportProz proz;
    RecipeScan scan(proz, d.program);
    SearchPathList paths({{d.a, true}});
    const auto entries = scan.readAll(paths, [&](std::size_t) { paths.clear(); });
    EXPECT_EQ(fileNames(entries),
              (std::vector<std::string>{d.program + "REZ00001.DAT", d.a + "REZ00002.DAT"}));
}

TEST(RecipeScan, EntryNamedLikeARecipeFileButUnreadableGivesNothing)
{
    TestDir dir;
    dir.write("REZ1.DAT", recipe("Eins"));
    std::filesystem::create_directory(dir.path() / "REZSUB.DAT");
    TRezeptImportProz proz;
    RecipeScan scan(proz, dir.dir());
    EXPECT_EQ(fileNames(scan.readAll({})), std::vector<std::string>{dir.dir() + "REZ1.DAT"});
}
