#include "platform/profilefile.h"
#include "support/testdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using kovanta::ProfileFile;
using Entries = std::vector<ProfileFile::Entry>;

namespace {

std::string readAll(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ProfileFile loaded(const TestDir& dir, const std::string& bytes)
{
    ProfileFile p(dir.write("kovanta.INI", bytes));
    EXPECT_TRUE(p.load());
    return p;
}

} // namespace

TEST(ProfileFile, ReadsSectionInFileOrderWithDuplicatesAndComments)
{
    TestDir dir;
    const ProfileFile p = loaded(dir, "[Other]\n1=x\n"
                                      "[suchpfade]\r\n"
                                      "; comment line\r\n"
                                      "2=1/srv/b/\r\n"
                                      "  1 = 0/srv/a/  \r\n"
                                      "no key line\r\n"
                                      "2=1/srv/B/\r\n"
                                      "3=1/x=y/\r\n"
                                      "[Next]\r\n4=z\r\n");
    const Entries expected{
        {"2", "1/srv/b/"}, {"1", "0/srv/a/"}, {"2", "1/srv/B/"}, {"3", "1/x=y/"}};
    EXPECT_EQ(p.readSection("SuchPfade"), expected);
    EXPECT_EQ(p.readString("SUCHPFADE", "2"), "1/srv/b/") << "first of duplicate keys";
    EXPECT_EQ(p.readString("SuchPfade", "9", "def"), "def");
    EXPECT_TRUE(p.readSection("Missing").empty());
}

TEST(ProfileFile, FirstOfTwoEqualSectionsCounts)
{
    TestDir dir;
    const ProfileFile p = loaded(dir, "[A]\nk=1\n[a]\nk=2\n");
    EXPECT_EQ(p.readSection("A"), (Entries{{"k", "1"}}));
}

TEST(ProfileFile, MissingFileIsEmptyAndWritable)
{
    TestDir dir;
    ProfileFile p(dir.dir() + "new.INI");
    ASSERT_TRUE(p.load());
    EXPECT_FALSE(p.hasSection("SuchPfade"));
    p.writeSection("SuchPfade", {{"1", "1/a/"}, {"2", "0/b/"}});
    ASSERT_TRUE(p.save());
    EXPECT_EQ(readAll(p.fileName()), "[SuchPfade]\n1=1/a/\n2=0/b/\n");

    // Where nothing can be written the save says why (the reasons: AtomicFile).
    ProfileFile noDir(dir.dir() + "fehlt/new.INI");
    EXPECT_FALSE(noDir.save());
    EXPECT_EQ(noDir.saveError(), "kann nicht geschrieben werden (nicht gefunden)");
}

TEST(ProfileFile, WriteSectionLeavesEveryOtherLineByteForByte)
{
    struct Case {
        const char* name;
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        {"replaced in place, CR LF kept, other sections untouched",
         "; top\r\n[Net]\r\nHost = a \t\r\n\r\n[SUCHPFADE]\r\n1=1/old/\r\n2=0/old2/\r\n\r\n"
         "[Tail]\r\nx=\xE4\r\n",
         "; top\r\n[Net]\r\nHost = a \t\r\n\r\n[SUCHPFADE]\r\n1=0/new/\r\n\r\n"
         "[Tail]\r\nx=\xE4\r\n"},
        {"comment in the section stays, keys go where the first key stood",
         "[SuchPfade]\n;keep\n7=1/a/\n;also\n3=1/b/\n", "[SuchPfade]\n;keep\n1=0/new/\n;also\n"},
        {"empty section gets its keys before the separating blank line",
         "[SuchPfade]\n\n[X]\ny=1\n", "[SuchPfade]\n1=0/new/\n\n[X]\ny=1\n"},
        {"missing section appended after a blank line, no final line ending before", "[X]\ny=1",
         "[X]\ny=1\n\n[SuchPfade]\n1=0/new/\n"},
        {"section at the end without final line ending", "[SuchPfade]", "[SuchPfade]\n1=0/new/\n"},
        {"last key line without line ending, next section follows", "[SuchPfade]\n1=a\n[Y]",
         "[SuchPfade]\n1=0/new/\n[Y]"},
    };
    for (const Case& c : cases) {
        TestDir dir;
        ProfileFile p = loaded(dir, c.before);
        p.writeSection("SuchPfade", {{"1", "0/new/"}});
        ASSERT_TRUE(p.save()) << c.name;
        EXPECT_EQ(readAll(p.fileName()), c.after) << c.name;
        ProfileFile again(p.fileName());
        ASSERT_TRUE(again.load());
        EXPECT_EQ(again.readSection("SuchPfade"), (Entries{{"1", "0/new/"}})) << c.name;
    }
}

TEST(ProfileFile, WritingAnEmptyListClearsTheSection)
{
    TestDir dir;
    ProfileFile p = loaded(dir, "[SuchPfade]\n1=1/a/\n2=1/b/\n[Z]\nq=1\n");
    p.writeSection("SuchPfade", {});
    EXPECT_EQ(p.contents(), "[SuchPfade]\n[Z]\nq=1\n");
}

TEST(ProfileFile, RefusesEntriesThatCannotBeReadBack)
{
    TestDir dir;
    ProfileFile p = loaded(dir, "[S]\n1=a\n");
    EXPECT_THROW(p.writeSection("S", {{"1", "/a\n2=1/evil/"}}), std::invalid_argument);
    EXPECT_THROW(p.writeSection("S", {{"k=", "v"}}), std::invalid_argument);
    EXPECT_THROW(p.writeSection("S", {{"", "v"}}), std::invalid_argument);
    EXPECT_THROW(p.writeSection("S", {{"k", "a\rb"}}), std::invalid_argument);
    EXPECT_EQ(p.contents(), "[S]\n1=a\n") << "a refused write changes nothing";
}

TEST(ProfileFile, SymlinkedFileIsWrittenThroughAndStaysALink)
{
    TestDir dir;
    namespace fs = std::filesystem;
    fs::create_directories(dir.path() / "config");
    const std::string real = dir.write("config/kovanta.INI", "; gemeinsam\n[SuchPfade]\n1=0/alt/\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("config/kovanta.INI", dir.path() / "kovanta.INI");
    // Left beside the file by an earlier save killed before its rename, long ago.
    const std::string stale = dir.write("config/.kovanta.INI.5eed0b0e.tmp", "1=1/halb");
    const timespec year2001[2] = {{1000000000, 0}, {1000000000, 0}};
    ::utimensat(AT_FDCWD, stale.c_str(), year2001, 0);

    ProfileFile p(dir.dir() + "kovanta.INI");
    ASSERT_TRUE(p.load());
    p.writeSection("SuchPfade", {{"1", "1/neu/"}});
    ASSERT_TRUE(p.save());
    EXPECT_FALSE(fs::exists(stale)) << "a successful save clears what a killed one left";
    EXPECT_TRUE(fs::is_symlink(dir.path() / "kovanta.INI"));
    EXPECT_EQ(readAll(real), "; gemeinsam\n[SuchPfade]\n1=1/neu/\n");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(ProfileFile, UnusableFilesLoadEmptyWithAReasonAndAreNotOverwritten)
{
    TestDir dir;
    namespace fs = std::filesystem;
    fs::create_directories(dir.path() / "verzeichnis.INI");
    const std::string pipe = dir.dir() + "rohr.INI";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string big = dir.write("gross.INI", "[SuchPfade]\n1=1/srv/\n");
    ASSERT_EQ(::truncate(big.c_str(), ProfileFile::kMaxSize + 1), 0);

    struct {
        std::string path;
        const char* reason;
    } const cases[] = {
        {dir.dir() + "verzeichnis.INI", "ist ein Verzeichnis"},
        {pipe, "ist keine normale Datei"}, // must not wait for a writer
        {big, "ist gr\u00f6\u00dfer als 1 MiB"},
    };
    for (const auto& c : cases) {
        ProfileFile p(c.path);
        EXPECT_FALSE(p.load()) << c.path;
        EXPECT_EQ(p.loadError(), c.reason);
        EXPECT_TRUE(p.readSection("SuchPfade").empty());
        p.writeSection("SuchPfade", {{"1", "1/neu/"}});
        EXPECT_FALSE(p.save()) << c.path;
        EXPECT_EQ(p.saveError(), c.reason);
    }
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(fs::file_size(big), ProfileFile::kMaxSize + 1);

    ProfileFile missing(dir.dir() + "fehlt.INI");
    EXPECT_TRUE(missing.load());
    EXPECT_EQ(missing.loadError(), "");
}
