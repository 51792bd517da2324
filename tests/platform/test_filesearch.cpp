#include "platform/filesearch.h"
#include "support/testdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <dirent.h>
#include <filesystem>

using kovanta::containsMatch;
using kovanta::findFiles;
using kovanta::matchesMask;

TEST(FileSearch, MaskMatching)
{
    struct Case {
        const char* name;
        const char* mask;
        bool match;
    };
    const Case cases[] = {
        {"REZ00042.DAT", "REZ*.DAT", true},
        {"rez0001.dat", "REZ*.DAT", true},
        {"Rez.Dat", "REZ*.DAT", true},
        {"REZ1.DAT.bak", "REZ*.DAT", false},
        {"XREZ1.DAT", "REZ*.DAT", false},
        {"REZ1.DA", "REZ*.DAT", false},
        {"REZ0001.DAT", "REZ0*.DAT", true},
        {"REZ1001.DAT", "REZ0*.DAT", false},
        {"REZ.DAT.DAT", "REZ*.DAT", true},
        {"REZA.DAT", "REZ?.DAT", true},
        {"REZ.DAT", "REZ?.DAT", false},
        {"", "*", true},
        {"a", "", false},
        {"\xC4REZ.DAT", "\xE4REZ.DAT", false}, // only ASCII letters fold
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*c", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(matchesMask(c.name, c.mask), c.match) << c.name << " / " << c.mask;
}

TEST(FileSearch, FindsEveryMatchingEntryInListingOrder)
{
    TestDir dir;
    for (const char* n : {"REZ0002.DAT", "rez0001.dat", "Rez9.Dat", "REZ1.TXT", "other.dat",
                          ".REZ5.DAT", "REZ3.DAT~"})
        dir.write(n, "x");
    std::filesystem::create_directories(dir.path() / "REZDIR.DAT"); // directories are taken too

    // The expected order is whatever readdir gives, filtered.
    std::vector<std::string> expected;
    DIR* d = opendir(dir.path().c_str());
    ASSERT_NE(d, nullptr);
    while (const dirent* e = readdir(d)) {
        const std::string n = e->d_name;
        if (n == "REZ0002.DAT" || n == "rez0001.dat" || n == "Rez9.Dat" || n == "REZDIR.DAT")
            expected.push_back(dir.dir() + n);
    }
    closedir(d);

    EXPECT_EQ(findFiles(dir.dir(), "REZ*.DAT"), expected);
    // Without the trailing separator the directory is still the directory.
    EXPECT_EQ(findFiles(dir.path().string(), "REZ*.DAT"), expected);
    EXPECT_TRUE(containsMatch(dir.dir(), "REZ0*.DAT"));
    EXPECT_FALSE(containsMatch(dir.dir(), "REZ7*.DAT"));
}

TEST(FileSearch, MissingOrEmptyDirectoryGivesNothing)
{
    TestDir dir;
    EXPECT_TRUE(findFiles(dir.dir() + "nope/", "*").empty());
    EXPECT_TRUE(findFiles("", "*").empty());
    EXPECT_TRUE(findFiles(dir.dir(), "*").empty());
    EXPECT_FALSE(containsMatch(dir.dir() + "nope/", "*"));
}
