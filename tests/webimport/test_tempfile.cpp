#include "platform/tempfile.h"

#include "support/testdir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <set>

using kovanta::platform::CreateUniqueTempFile;

TEST(UniqueTempFile, ReservesFreshNamesInTheDirectory)
{
    TestDir dir;
    std::set<std::string> names;
    for (int i = 0; i < 50; ++i) {
        int error = -1;
        const auto path = CreateUniqueTempFile(dir.dir(), "rez", error);
        ASSERT_TRUE(path);
        EXPECT_EQ(error, 0);
        const std::string name = std::filesystem::path(*path).filename().string();
        EXPECT_TRUE(std::regex_match(name, std::regex("rez[0-9a-f]{1,4}\\.tmp"))) << name;
        EXPECT_EQ(std::filesystem::path(*path).parent_path(), dir.path());
        EXPECT_TRUE(std::filesystem::exists(*path));
        EXPECT_EQ(std::filesystem::file_size(*path), 0u);
        EXPECT_TRUE(names.insert(name).second) << "handed out twice: " << name;
    }
}

TEST(UniqueTempFile, MissingDirectoryReportsTheSystemError)
{
    TestDir dir;
    int error = 0;
    EXPECT_FALSE(CreateUniqueTempFile(dir.dir() + "fehlt/", "rez", error));
    EXPECT_EQ(error, ENOENT);
}

TEST(UniqueTempFile, SkipsTakenNumbersAndGivesUpWhenAllAreTaken)
{
    TestDir dir;
    for (unsigned n = 1; n <= 0xFFFF; ++n) {
        if (n == 0x2a)
            continue;
        char name[16];
        std::snprintf(name, sizeof name, "rez%x.tmp", n);
        std::FILE* f = std::fopen((dir.dir() + name).c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    int error = 0;
    const auto last = CreateUniqueTempFile(dir.dir(), "rez", error);
    ASSERT_TRUE(last);
    EXPECT_EQ(*last, dir.dir() + "rez2a.tmp");
    EXPECT_FALSE(CreateUniqueTempFile(dir.dir(), "rez", error));
    EXPECT_EQ(error, EEXIST);
}
