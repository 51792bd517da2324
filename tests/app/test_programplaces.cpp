// Where the INI file and the web recipes live: next to a writable program, per user for an
// installed program or a program directory that cannot be written.
#include "app/programplaces.h"
#include "support/testdir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kovanta;

namespace {

bool alwaysWritable(const std::string&)
{
    return true;
}
bool neverWritable(const std::string&)
{
    return false;
}

} // namespace

TEST(ProgramPlaces, WritableProgramDirectoryKeepsBothNextToTheProgram)
{
    TestDir dir;
    const PlaceEnvironment env{dir.dir() + "home", "", ""};
    const ProgramPlaces p = programPlaces(dir.path().string(), env, alwaysWritable);
    EXPECT_FALSE(p.perUser);
    EXPECT_EQ(p.programDir, dir.dir());
    EXPECT_EQ(p.iniFile, dir.dir() + "kovanta.INI");
    EXPECT_EQ(p.webRecipeDir, dir.dir() + "internet/");
    EXPECT_EQ(p.samplesDir, "");
}

TEST(ProgramPlaces, ReadOnlyProgramDirectoryUsesTheHomeDefaults)
{
    TestDir dir;
    const PlaceEnvironment env{dir.dir() + "home/", "", ""};
    const ProgramPlaces p = programPlaces(dir.dir() + "bin/", env, neverWritable);
    EXPECT_TRUE(p.perUser);
    EXPECT_EQ(p.iniFile, dir.dir() + "home/.config/Kovanta/kovanta.INI");
    EXPECT_EQ(p.webRecipeDir, dir.dir() + "home/.local/share/Kovanta/internet/");
}

TEST(ProgramPlaces, XdgDirectoriesWinOverHomeButOnlyWhenAbsolute)
{
    TestDir dir;
    PlaceEnvironment env{dir.dir() + "home", dir.dir() + "cfg", dir.dir() + "data/"};
    ProgramPlaces p = programPlaces(dir.dir() + "bin", env, neverWritable);
    EXPECT_EQ(p.iniFile, dir.dir() + "cfg/Kovanta/kovanta.INI");
    EXPECT_EQ(p.webRecipeDir, dir.dir() + "data/Kovanta/internet/");

    // Relative values are to be ignored (XDG base directory rules).
    env.xdgConfigHome = "relative/cfg";
    env.xdgDataHome = "relative/data";
    p = programPlaces(dir.dir() + "bin", env, neverWritable);
    EXPECT_EQ(p.iniFile, dir.dir() + "home/.config/Kovanta/kovanta.INI");
    EXPECT_EQ(p.webRecipeDir, dir.dir() + "home/.local/share/Kovanta/internet/");
}

TEST(ProgramPlaces, WithoutAnyHomeTheProgramDirectoryStaysThePlace)
{
    // Nowhere else to go: saving may then fail, which closing reports.
    const ProgramPlaces p = programPlaces("/nonexistent/bin", PlaceEnvironment{}, neverWritable);
    EXPECT_FALSE(p.perUser);
    EXPECT_EQ(p.iniFile, "/nonexistent/bin/kovanta.INI");
}

TEST(ProgramPlaces, InstalledProgramIsPerUserEvenWhenItsDirectoryIsWritable)
{
    // As root everything below /usr is writable; the installation must still stay clean.
    TestDir dir;
    std::filesystem::create_directories(dir.path() / "usr/bin");
    std::filesystem::create_directories(dir.path() / "usr/share/kovanta/samples");
    const PlaceEnvironment env{dir.dir() + "home", "", ""};
    const ProgramPlaces p = programPlaces(dir.dir() + "usr/bin/", env, alwaysWritable);
    EXPECT_TRUE(p.perUser);
    EXPECT_EQ(p.samplesDir, dir.dir() + "usr/share/kovanta/samples/");
    EXPECT_EQ(p.iniFile, dir.dir() + "home/.config/Kovanta/kovanta.INI");
}

TEST(ProgramPlaces, DirectoryWritableNeedsAnExistingDirectory)
{
    TestDir dir;
    EXPECT_TRUE(directoryWritable(dir.dir()));
    EXPECT_FALSE(directoryWritable(dir.dir() + "missing/"));
    EXPECT_FALSE(directoryWritable(dir.write("file.txt", "x")));
    EXPECT_FALSE(directoryWritable(""));
}
