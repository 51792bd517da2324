#include "recipe/rezeptimportproz.h"
#include "shell/recipescan.h"
#include "support/testdir.h"

#include <gtest/gtest.h>

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

TEST(RecipeScan, GrowsInStepsOfThirtyAndReportsRunning)
{
    TestDir dir;
    for (int i = 0; i < 65; ++i)
        dir.write("REZ" + std::to_string(10000 + i) + ".DAT", recipe("R" + std::to_string(i)));
    TRezeptImportProz proz;
    RecipeScan scan(proz, dir.dir());
    std::vector<std::size_t> capacities;
    bool runningInside = false;
    const auto entries = scan.readAll({}, [&](std::size_t capacity) {
        capacities.push_back(capacity);
        runningInside = scan.isRunning();
    });
    EXPECT_EQ(entries.size(), 65u);
    EXPECT_EQ(capacities, (std::vector<std::size_t>{31, 60, 89}));
    EXPECT_TRUE(runningInside);
    EXPECT_FALSE(scan.isRunning());

    // Nothing found: no growth at all, the list keeps only its header.
    TestDir empty;
    RecipeScan none(proz, empty.dir());
    capacities.clear();
    EXPECT_TRUE(none.readAll({}, [&](std::size_t c) { capacities.push_back(c); }).empty());
    EXPECT_TRUE(capacities.empty());
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
