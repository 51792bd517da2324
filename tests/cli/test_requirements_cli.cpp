// `rezeptur requirements` end to end: the built program on the golden directories and on plan
// files the tests write.
#include "recipe/recipe_fixture.h"
#include "support/rezeptur.h"
#include "support/testdir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using rezeptur_test::Env;
using rezeptur_test::ReadAll;
using rezeptur_test::RunResult;

class RezepturRequirements : public ::testing::Test {
protected:
    void SetUp() override
    {
        program_ = rezeptur_test::Program();
        ASSERT_TRUE(std::filesystem::exists(program_)) << program_;
    }

    // Runs `rezeptur requirements args` in directory cwd.
    RunResult Run(const std::string& cwd, const std::string& args)
    {
        return rezeptur_test::Run(cwd, "requirements " + args, tmp_);
    }

    std::string program_;
    TestDir tmp_;
};

TEST_F(RezepturRequirements, GoldenDirectories)
{
    const std::filesystem::path root =
        std::filesystem::path(Env("KOVANTA_SOURCE_DIR")) / "tests/data/requirements";
    int cases = 0;
    for (const auto& dir : std::filesystem::directory_iterator(root)) {
        if (!dir.is_directory())
            continue;
        ++cases;
        SCOPED_TRACE(dir.path().filename().string());
        // Run from elsewhere: file names in the plan are relative to the plan file.
        const RunResult run = Run(tmp_.dir(), "'" + (dir.path() / "plan.txt").string() + "'");
        // Rows that cannot be used are named; the others are computed all the same.
        const auto errFile = dir.path() / "expected_err.txt";
        std::string err = std::filesystem::exists(errFile) ? ReadAll(errFile) : "";
        for (std::size_t at = 0; (at = err.find("@DIR@", at)) != std::string::npos;)
            err.replace(at, 5, dir.path().string());
        EXPECT_EQ(run.status, err.empty() ? 0 : 1);
        EXPECT_EQ(run.err, err);
        EXPECT_EQ(run.out, ReadAll(dir.path() / "expected.txt"));
    }
    EXPECT_GE(cases, 4);
}

TEST_F(RezepturRequirements, PlanFileForms)
{
    using fixture::Article;
    fixture::Head head;
    head.portions = 10;
    std::vector<std::string> lines = fixture::Block(head, {Article("100", "1", "kg", "Reis")});
    lines.push_back("^^");
    const std::string recipe = tmp_.write("rezepte/REZ00001.DAT", fixture::Join(lines));

    const struct {
        const char* name;
        std::string plan;
        std::string out;
    } cases[] = {
        {"CR LF lines and an absolute path", "20\t" + recipe + "\r\n", "      2,000\tkg\tReis\n"},
        {"explicit entry index 0, last line without line end", "5\tREZ00001.DAT\t0",
         "      0,500\tkg\tReis\n"},
        {"free rows only", "\n\n  \n", ""},
        {"with a byte order mark, as some editors save", "\xEF\xBB\xBF" "5\tREZ00001.DAT\n",
         "      0,500\tkg\tReis\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tmp_.write("rezepte/plan.txt", c.plan);
        const RunResult run = Run(tmp_.dir(), "rezepte/plan.txt");
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out, c.out);
    }
}

// A plan that is no plan file ends with a message: no wait on a FIFO, no reading of a huge file,
// no rows from a file of another form.
TEST_F(RezepturRequirements, PlanThatIsNoPlanFileGivesAMessage)
{
    ASSERT_EQ(::mkfifo((tmp_.dir() + "rohr.txt").c_str(), 0600), 0);
    const std::string huge = tmp_.write("riesig.txt", "20\tREZ00001.DAT\n");
    ASSERT_EQ(::truncate(huge.c_str(), (1 << 20) + 1), 0);
    std::filesystem::create_directory(tmp_.path() / "plaene");
    tmp_.write("anders.txt", "20\tREZ00001.DAT\tzwei\n");
    const struct {
        const char* plan;
        const char* err;
    } cases[] = {
        {"rohr.txt", "rezeptur requirements: \"rohr.txt\" ist keine normale Datei\n"},
        {"riesig.txt", "rezeptur requirements: \"riesig.txt\" ist gr\xC3\xB6\xC3\x9F"
                       "er als 1 MiB\n"},
        {"plaene", "rezeptur requirements: \"plaene\" ist ein Verzeichnis\n"},
        {"fehlt.txt", "rezeptur requirements: \"fehlt.txt\" nicht gefunden\n"},
        // The lines the reader refuses: tests/recipe/test_planfile.cpp.
        {"anders.txt", "rezeptur requirements: \"anders.txt\", Zeile 1: erwartet "
                       "PORTIONEN<TAB>DATEI[<TAB>EINTRAG[<TAB>NAME]]\n"},
    };
    for (const auto& c : cases) {
        const RunResult run = Run(tmp_.dir(), c.plan);
        EXPECT_EQ(run.status, 1) << c.plan;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, c.err);
    }
}

// The plan a recipe file "Käse" (article names that need CSV quoting) and its requirements.
class RezepturRequirementsCsv : public RezepturRequirements {
protected:
    void SetUp() override
    {
        RezepturRequirements::SetUp();
        using fixture::Article;
        using fixture::Text;
        fixture::Head head;
        head.portions = 10;
        // OEM bytes: ä 0x84, ü 0x81.
        std::vector<std::string> lines = fixture::Block(
            head, {Article("150", "1", "kg", "K\x84se \"Gouda\"; jung"),
                   Article("1234567", "1", "g", "Mehl"), Text("", "oder^"),
                   Article("25", "1", "St\x81" "ck", "=1+1"), Text("", "Salz^")});
        lines.push_back("^^");
        tmp_.write("rezepte/REZ00001.DAT", fixture::Join(lines));
    }
};

TEST_F(RezepturRequirementsCsv, SpreadsheetFileFieldByField)
{
    tmp_.write("rezepte/woche.plan", "20\tREZ00001.DAT\t0\n");
    const RunResult run = Run(tmp_.dir(), "rezepte/woche.plan --csv");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "\xEF\xBB\xBFMenge;Einheit;Artikel\r\n"
                       "3,000;kg;\"Käse \"\"Gouda\"\"; jung\"\r\n"
                       "24691,340;g;Mehl\r\n"
                       "0,500;Stück;'=1+1\r\n"
                       "0,000;;Salz\r\n"
                       "Alternativartikel enthalten\r\n");

    // What a spreadsheet sees: Python's csv module with ";" on the file as written.
    const std::string csv = tmp_.write("bedarf.csv", run.out);
    const std::string script = tmp_.write("lies.py", R"PY(
import csv, json, re, sys
raw = open(sys.argv[1], 'rb').read()
assert raw.startswith(b'\xef\xbb\xbf'), 'no byte order mark'
assert b'\n' not in raw.replace(b'\r\n', b''), 'a line end without CR'
with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:
    rows = list(csv.reader(f, delimiter=';'))
for row in rows[1:-1]:
    assert re.fullmatch(r'-?[0-9]+,[0-9]{3}', row[0]), row[0]
    float(row[0].replace(',', '.'))
print(json.dumps(rows))
)PY");
    const RunResult py = rezeptur_test::RunCommand(
        "python3 '" + script + "' '" + csv + "'", tmp_);
    ASSERT_EQ(py.status, 0) << py.err;
    EXPECT_EQ(py.out,
              R"([["Menge", "Einheit", "Artikel"], )"
              R"(["3,000", "kg", "K\u00e4se \"Gouda\"; jung"], ["24691,340", "g", "Mehl"], )"
              R"(["0,500", "St\u00fcck", "'=1+1"], ["0,000", "", "Salz"], )"
              R"(["Alternativartikel enthalten"]])"
              "\n");
}

} // namespace
