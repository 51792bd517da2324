// `rezeptur list` end to end: the built program on the bundled samples and on files the tests
// write.
#include "recipe/recipe_fixture.h"
#include "support/rezeptur.h"
#include "support/testdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

using rezeptur_test::Env;
using rezeptur_test::ReadAll;
using rezeptur_test::RunResult;

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class RezepturList : public ::testing::Test {
protected:
    void SetUp() override
    {
        program_ = rezeptur_test::Program();
        samples_ = Env("KOVANTA_SOURCE_DIR") + "/samples";
        ASSERT_TRUE(std::filesystem::exists(program_)) << program_;
    }

    // Runs `rezeptur list args` in directory cwd.
    RunResult List(const std::string& cwd, const std::string& args)
    {
        return rezeptur_test::Run(cwd, "list " + args, tmp_);
    }

    std::string program_, samples_;
    TestDir tmp_;
};

const char* const kSampleFiles =
    "REZ01001.DAT REZ01002.DAT REZ01003.DAT REZ01004.DAT REZ01005.DAT REZ01006.DAT "
    "REZ01007.DAT REZ01008.DAT REZ01009.DAT REZ09001.DAT REZ09002.DAT REZ09003.DAT";

} // namespace

TEST_F(RezepturList, ListsSampleFilesInArgumentOrder)
{
    const RunResult run = List(samples_, kSampleFiles);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    const std::string expected =
        ReadAll(Env("KOVANTA_SOURCE_DIR") + "/tests/cli/data/list_samples.txt");
    EXPECT_EQ(run.out, expected);
    // 9 single-recipe files and list files of 3, 3 and 4 entries.
    EXPECT_EQ(SplitLines(run.out).size(), 19u);
}

TEST_F(RezepturList, DirectoryGivesSameEntriesWithJoinedPaths)
{
    const std::vector<std::string> expected =
        SplitLines(ReadAll(Env("KOVANTA_SOURCE_DIR") + "/tests/cli/data/list_samples.txt"));
    for (const std::string arg : {"samples", "samples/"}) {
        const RunResult run = List(Env("KOVANTA_SOURCE_DIR"), arg);
        EXPECT_EQ(run.status, 0);
        std::vector<std::string> lines = SplitLines(run.out);
        ASSERT_EQ(lines.size(), expected.size()) << arg;
        for (std::string& line : lines) {
            // Field 10 is the file name: the directory as given, one "/", the entry name.
            const auto start = line.find("\tsamples/REZ");
            ASSERT_NE(start, std::string::npos) << line;
            line.erase(start + 1, 8);
        }
        std::vector<std::string> sortedExpected = expected;
        std::sort(lines.begin(), lines.end());
        std::sort(sortedExpected.begin(), sortedExpected.end());
        EXPECT_EQ(lines, sortedExpected) << arg;
    }
}

// A TAB inside a short name must not shift the fields, the date keeps its blanks. File names
// are bytes: a LF or TAB in one must not break the lines and fields, and a name that is not
// UTF-8 must not make the output invalid. They are escaped as documented.
TEST_F(RezepturList, FieldsAndFileNamesAreEscaped)
{
    TestDir dir;
    fixture::Head h;
    h.shortName = "Gul\tasch";
    h.date = "1.1.99";
    const std::string block = fixture::Join(fixture::Block(h, {}));
    dir.write("REZ\t0001.DAT", block);
    dir.write("REZ\n0002.DAT", block);
    dir.write("REZ\xff\\03.DAT", block);
    const RunResult run = List(dir.dir(), ".");
    EXPECT_EQ(run.status, 0);
    std::vector<std::string> lines = SplitLines(run.out);
    std::sort(lines.begin(), lines.end());
    const std::string fields = "Gul\\tasch\tFleisch\t10\t512\t2143\t3\t80\t30\t90\t./REZ";
    EXPECT_EQ(lines, (std::vector<std::string>{
                         fields + "\\n0002.DAT\t0\t2\t123\t1.1.99    ",
                         fields + "\\t0001.DAT\t0\t1\t123\t1.1.99    ",
                         fields + "\\xff\\\\03.DAT\t0\t0\t123\t1.1.99    "}));
}

TEST_F(RezepturList, FileNamedExplicitlyThatCannotBeReadFails)
{
    TestDir dir;
    ASSERT_EQ(::mkfifo((dir.dir() + "REZ00001.DAT").c_str(), 0600), 0);
    const RunResult run = List(dir.dir(), "REZ00001.DAT " + samples_ + "/REZ01001.DAT");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "rezeptur list: \"REZ00001.DAT\" ist keine normale Datei\n");
    EXPECT_EQ(SplitLines(run.out).size(), 1u) << "the other file is still listed";

    // In a directory the scan's rule holds: what cannot be read is skipped silently.
    const RunResult scan = List(dir.dir(), ".");
    EXPECT_EQ(scan.status, 0);
    EXPECT_EQ(scan.err, "");
    EXPECT_EQ(scan.out, "");
}

TEST_F(RezepturList, IndexCutAtItsLimitIsReported)
{
    TestDir dir;
    const std::string entry = "^" + std::string(77, ' ') + "\r\n";
    std::string full, over;
    for (int i = 0; i < 65535; ++i)
        full += entry;
    over = full + entry + "^^\r\n";
    full += "^^\r\n";
    dir.write("REZ00001.DAT", full);
    dir.write("REZ00002.DAT", over);

    RunResult run = List(dir.dir(), "REZ00001.DAT");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(SplitLines(run.out).size(), 65535u);

    run = List(dir.dir(), "REZ00002.DAT");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(SplitLines(run.out).size(), 65535u);
    EXPECT_EQ(run.err,
              "rezeptur list: \"REZ00002.DAT\": Index nach 65535 Eintr\xC3\xA4gen abgeschnitten\n");
}

// Output that cannot be written is a failure with a message, for every command that writes
// standard output: a file size limit (the program itself ignores SIGXFSZ; dash counts 512-byte
// blocks) and a closed standard output.
TEST_F(RezepturList, EveryCommandReportsOutputItCannotWrite)
{
    std::string plan;
    for (char n = '1'; n <= '9'; ++n)
        plan += "10\t" + samples_ + "/REZ0100" + n + ".DAT\n";
    tmp_.write("plan.txt", plan);
    const std::string planFile = "'" + tmp_.dir() + "plan.txt'";
    const std::string kWhy = ": Standardausgabe kann nicht geschrieben werden: ";
    const std::pair<std::string, std::string> calls[] = {
        {"list", "."},
        {"preview", "REZ01001.DAT"},
        {"printgrid", "REZ01001.DAT"},
        {"requirements", planFile},
        {"requirements", "--csv " + planFile},
    };
    for (const auto& [command, args] : calls) {
        SCOPED_TRACE(command + " " + args);
        const RunResult full =
            rezeptur_test::Run(samples_, command + " " + args, tmp_, "ulimit -f 1; ");
        EXPECT_EQ(full.status, 1);
        EXPECT_EQ(full.out.size(), 512u);
        EXPECT_EQ(full.err, "rezeptur " + command + kWhy + "Datei zu groß\n");
        const RunResult closed = rezeptur_test::RunCommand(
            "cd '" + samples_ + "' && { '" + program_ + "' " + command + " " + args + " >&-; }",
            tmp_);
        EXPECT_EQ(closed.status, 1);
        EXPECT_EQ(closed.err, "rezeptur " + command + kWhy + "nicht geöffnet\n");
    }
}
