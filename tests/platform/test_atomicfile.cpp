// Reading only regular files, capped; writing through a temporary file and a rename.
#include "platform/atomicfile.h"
#include "platform/regularfile.h"
#include "support/fslimit.h"
#include "support/testdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kovanta;
namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Names in the directory, so a test sees every file left behind.
std::vector<std::string> listing(const TestDir& dir)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A file of `size` bytes that takes no disk space.
std::string sparseFile(const TestDir& dir, const std::string& name, off_t size)
{
    const std::string path = dir.write(name, "");
    EXPECT_EQ(::truncate(path.c_str(), size), 0);
    return path;
}

std::string fifo(const TestDir& dir, const std::string& name)
{
    const std::string path = dir.dir() + name;
    EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
    return path;
}

} // namespace

TEST(ReadRegularFile, ReadsRegularFilesUpToTheCapAndRefusesEverythingElse)
{
    TestDir dir;
    std::string content = "alt";
    const std::string ok = dir.write("seite.htm", std::string(1000, 'x'));
    EXPECT_TRUE(readRegularFile(ok, 1000, content).ok());
    EXPECT_EQ(content, std::string(1000, 'x'));
    EXPECT_TRUE(readRegularFile(dir.write("leer.htm", ""), 10, content).ok());
    EXPECT_EQ(content, "");

    fs::create_symlink("kreis.htm", dir.path() / "kreis.htm");
    struct {
        std::string path;
        std::size_t cap;
        FileReadError error;
        const char* text;
    } const cases[] = {
        {ok, 999, FileReadError::TooLarge, "ist gr\u00f6\u00dfer als 999 Bytes"},
        {sparseFile(dir, "riesig.htm", 17 << 20), 16 << 20, FileReadError::TooLarge,
         "ist gr\u00f6\u00dfer als 16 MiB"},
        {dir.dir() + "fehlt.htm", 10, FileReadError::Missing, "nicht gefunden"},
        {ok + "/darunter", 10, FileReadError::Missing, "nicht gefunden"},
        {dir.dir(), 10, FileReadError::Directory, "ist ein Verzeichnis"},
        // Opened without a writer: this must neither block nor read.
        {fifo(dir, "rohr.htm"), 10, FileReadError::NotRegular, "ist keine normale Datei"},
        {dir.dir() + "kreis.htm", 10, FileReadError::Unreadable,
         "ist eine Schleife symbolischer Verknüpfungen"},
    };
    for (const auto& c : cases) {
        content = "alt";
        const FileReadResult r = readRegularFile(c.path, c.cap, content);
        EXPECT_EQ(r.error, c.error) << c.path;
        EXPECT_EQ(describeReadError(r, c.cap), c.text) << c.path;
        EXPECT_EQ(content, "") << c.path;
    }
}

TEST(AtomicFile, ReplacesOnlyOnCommitAndKeepsThePermissions)
{
    TestDir dir;
    const std::string target = dir.write("rez1.dat", "alte Fassung\r\n");
    ::chmod(target.c_str(), 0640);
    {
        AtomicFile file(target);
        ASSERT_TRUE(file.open());
        EXPECT_TRUE(file.write("neue "));
        EXPECT_TRUE(file.write("Fassung\r\n"));
        // Until the commit the old file is what everybody reads.
        EXPECT_EQ(readAll(target), "alte Fassung\r\n");
        EXPECT_EQ(listing(dir).size(), 2u);
        EXPECT_TRUE(file.commit());
    }
    EXPECT_EQ(readAll(target), "neue Fassung\r\n");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(listing(dir), std::vector<std::string>{"rez1.dat"});

    // Dropped without a commit: nothing changes, nothing is left behind.
    {
        AtomicFile file(target);
        ASSERT_TRUE(file.open());
        file.write("verworfen");
    }
    EXPECT_EQ(readAll(target), "neue Fassung\r\n");
    EXPECT_EQ(listing(dir), std::vector<std::string>{"rez1.dat"});

    // A new file, large enough to pass through the buffer several times.
    std::string message;
    const std::string big(300 * 1024, 'b');
    EXPECT_TRUE(writeFileAtomically(dir.dir() + "neu.htm", big, message)) << message;
    EXPECT_EQ(readAll(dir.path() / "neu.htm"), big);
}

TEST(AtomicFile, WritesThroughSymbolicLinks)
{
    TestDir dir;
    fs::create_directories(dir.path() / "echt");
    const std::string real = dir.write("echt/kovanta.INI", "[SuchPfade]\n");
    ::chmod(real.c_str(), 0600);
    // A relative link to a relative link.
    fs::create_symlink("echt/kovanta.INI", dir.path() / "zwischen.INI");
    fs::create_symlink("zwischen.INI", dir.path() / "kovanta.INI");
    std::string message;
    ASSERT_TRUE(writeFileAtomically(dir.dir() + "kovanta.INI", "[SuchPfade]\n1=1/srv/\n", message));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "kovanta.INI"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "zwischen.INI"));
    EXPECT_EQ(readAll(real), "[SuchPfade]\n1=1/srv/\n");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    // The temporary file was made beside the target, in the target's directory.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "echt"), fs::directory_iterator()),
              1);

    // A dangling link gets its target created.
    fs::create_symlink("echt/neu.INI", dir.path() / "lose.INI");
    ASSERT_TRUE(writeFileAtomically(dir.dir() + "lose.INI", "x", message));
    EXPECT_EQ(readAll(dir.path() / "echt" / "neu.INI"), "x");
    EXPECT_TRUE(fs::is_symlink(dir.path() / "lose.INI"));

    // A loop of links is refused.
    fs::create_symlink("schleife2", dir.path() / "schleife1");
    fs::create_symlink("schleife1", dir.path() / "schleife2");
    EXPECT_FALSE(writeFileAtomically(dir.dir() + "schleife1", "x", message));
}

TEST(AtomicFile, NeverReplacesWhatIsNoRegularFile)
{
    TestDir dir;
    const std::string pipe = fifo(dir, "rohr.dat");
    fs::create_directory(dir.path() / "verzeichnis.dat");
    fs::create_symlink("rohr.dat", dir.path() / "verweis.dat");
    for (const std::string name : {"rohr.dat", "verzeichnis.dat", "verweis.dat"}) {
        AtomicFile file(dir.dir() + name);
        EXPECT_FALSE(file.open()) << name;
        EXPECT_EQ(file.errorText(), name == "verzeichnis.dat" ? "ist ein Verzeichnis"
                                                              : "ist keine normale Datei");
        EXPECT_FALSE(file.write("x"));
        EXPECT_FALSE(file.commit());
    }
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_TRUE(fs::is_directory(dir.path() / "verzeichnis.dat"));
    EXPECT_EQ(listing(dir),
              (std::vector<std::string>{"rohr.dat", "verweis.dat", "verzeichnis.dat"}));

    std::string message;
    EXPECT_FALSE(writeFileAtomically(dir.dir() + "fehlt/rez.dat", "x", message));
    EXPECT_EQ(message, "kann nicht geschrieben werden (nicht gefunden)");
}

TEST(AtomicFile, FullDiskKeepsTheOldFileAndLeavesNothingBehind)
{
    TestDir dir;
    const std::string target = dir.write("rez1.dat", "bisheriges Rezept\r\n");
    const std::optional<bool> committed = inChildWithFileSizeLimit(4096, [&] {
        AtomicFile file(target);
        if (!file.open())
            return true; // would be a failure of the test setup, reported below as "committed"
        for (int i = 0; i < 1000; ++i)
            file.write("Zeile, die nicht mehr auf den Datentr\xE4ger passt\r\n");
        const bool ok = file.commit();
        // The child reports a wrong outcome as success, so the parent sees it.
        return ok || file.error() != EFBIG;
    });
    ASSERT_TRUE(committed.has_value());
    EXPECT_FALSE(*committed);
    EXPECT_EQ(readAll(target), "bisheriges Rezept\r\n");
    EXPECT_EQ(listing(dir), std::vector<std::string>{"rez1.dat"});
}

// A save killed between creating and renaming its temporary file leaves it behind; a later
// save removes exactly such files of its own target, and only when they are old.
TEST(AtomicFile, StaleTemporaryFilesOfTheTargetAreRemovedAndNothingElse)
{
    TestDir dir;
    const std::string target = dir.write("kovanta.INI", "[SuchPfade]\n");
    fs::create_directory(dir.path() / ".kovanta.INI.11111111.tmp");
    fs::create_symlink("kovanta.INI", dir.path() / ".kovanta.INI.22222222.tmp");
    dir.write(".kovanta.INI.0a1b2c3e.tmp", "x"); // fresh: a save may be writing it now
    const timespec year2001[2] = {{1000000000, 0}, {1000000000, 0}};
    for (const char* name :
         {".kovanta.INI.0a1b2c3d.tmp", ".kovanta.INI.0A1B2C3D.tmp", ".kovanta.INI.0a1b2c3.tmp",
          ".kovanta.INI.0a1b2c3d0.tmp", "kovanta.INI.0a1b2c3d.tmp", ".kovanta.INI.0a1b2c3d.tmp.bak",
          ".kovanta.ini.0a1b2c3d.tmp", ".plan.txt.0a1b2c3d.tmp", ".kovanta.INI.11111111.tmp",
          ".kovanta.INI.22222222.tmp"}) {
        if (!fs::exists(fs::symlink_status(dir.path() / name)))
            dir.write(name, "x");
        ::utimensat(AT_FDCWD, (dir.dir() + name).c_str(), year2001, AT_SYMLINK_NOFOLLOW);
    }
    EXPECT_EQ(removeStaleTempFiles(target), 1);
    EXPECT_FALSE(fs::exists(dir.path() / ".kovanta.INI.0a1b2c3d.tmp"));
    EXPECT_EQ(listing(dir).size(), 11u) << "everything else is kept";
}
