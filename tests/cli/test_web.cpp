// `rezeptur webrecipe` and `rezeptur fetch` end to end: the built program on our own web pages
// and against a server on 127.0.0.1 started by the test.
#include "support/rezeptur.h"
#include "support/testdir.h"
#include "net/scriptedserver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using rezeptur_test::RunResult;
const auto env = rezeptur_test::Env;
const auto readAll = rezeptur_test::ReadAll;

// Runs rezeptur with the arguments (quoted for the shell), capturing both output streams.
RunResult rezeptur(const TestDir& dir, const std::vector<std::string>& args)
{
    std::string quoted;
    for (const std::string& a : args)
        quoted += " '" + a + "'";
    return rezeptur_test::Run(dir.dir(), quoted, dir);
}

std::string fixture(const std::string& name)
{
    return env("KOVANTA_SOURCE_DIR") + "/tests/data/webimport/" + name;
}

} // namespace

TEST(RezepturWebrecipe, WritesRecipeFileByteForByte)
{
    TestDir dir;
    const RunResult r =
        rezeptur(dir, {"webrecipe", fixture("kaesespaetzle.htm"), dir.dir() + "rez1.dat"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(readAll(dir.path() / "rez1.dat"), readAll(fixture("kaesespaetzle.dat")));
}

TEST(RezepturWebrecipe, MenuPlanPrintsLinksAndWritesNoFile)
{
    TestDir dir;
    const RunResult r =
        rezeptur(dir, {"webrecipe", fixture("speiseplan.htm"), dir.dir() + "plan.dat"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "kaesespaetzle.htm\tK\xC3\xA4sesp\xC3\xA4tzle\n"
                     "rotkohl.htm\t Rotkohl mit \xC3\x84pfeln\n"
                     "gulasch.htm\t\n"
                     "r9.htm\\ngulasch.htm\tGulasch\n"); // a lone LF in a name, escaped
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "plan.dat"));
}

// A page of another site: one recipe file per schema.org recipe; a page with no recipe data
// of either kind says so and writes nothing.
TEST(RezepturWebrecipe, RecipeDataOfOtherSitesGivesOneFilePerRecipe)
{
    TestDir dir;
    const std::string data = env("KOVANTA_SOURCE_DIR") + "/tests/data/jsonld/";
    RunResult r = rezeptur(dir, {"webrecipe", data + "zwei-rezepte.htm", dir.dir() + "rez7.dat"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readAll(dir.path() / "rez7.dat").substr(0, 34), "\r\n\r\nKartoffelsuppe\r\nKartoffelsuppe");
    EXPECT_NE(readAll(dir.path() / "rez7-2.dat").find("Apfelkompott"), std::string::npos);

    r = rezeptur(dir, {"webrecipe", data + "ohne-rezept.htm", dir.dir() + "rez8.dat"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "rezeptur webrecipe: \"" + data + "ohne-rezept.htm\" Keine Rezeptdaten gefunden\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "rez8.dat"));
}

TEST(RezepturWebrecipe, UsageAndMissingInput)
{
    TestDir dir;
    EXPECT_EQ(rezeptur(dir, {"webrecipe", fixture("speiseplan.htm")}).status, 2);
    const RunResult r = rezeptur(dir, {"webrecipe", dir.dir() + "fehlt.htm", dir.dir() + "x.dat"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("fehlt.htm"), std::string::npos);
}

TEST(RezepturFetch, StoresBodyOfSuccessfulFetch)
{
    TestDir dir;
    const std::string page = readAll(fixture("kaesespaetzle.htm"));
    const std::string head = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";
    ScriptedServer server({ScriptedServer::answer(head), ScriptedServer::answer(head + page)});
    const std::string url =
        "http://127.0.0.1:" + std::to_string(server.port()) + "/kaesespaetzle.htm";
    const RunResult r = rezeptur(dir, {"fetch", url, dir.dir() + "seite.htm"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "200 OK\n");
    EXPECT_EQ(readAll(dir.path() / "seite.htm"), page);
    ASSERT_EQ(server.requests().size(), 2u);
    EXPECT_TRUE(server.requests()[0].starts_with("HEAD /kaesespaetzle.htm HTTP/1.0\r\n"));
}

TEST(RezepturFetch, ThroughProxyAndFailures)
{
    TestDir dir;
    const std::string ok = "HTTP/1.0 200 OK\r\n\r\n";
    ScriptedServer proxy({ScriptedServer::answer(ok), ScriptedServer::answer(ok + "x"),
                          ScriptedServer::answer("HTTP/1.1 404 Not Found\r\n\r\n")});
    const std::string proxyArg = "127.0.0.1:" + std::to_string(proxy.port());
    RunResult r = rezeptur(
        dir, {"fetch", "kantine.example/r1.htm", dir.dir() + "a.htm", "--proxy", proxyArg});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(proxy.requests()[0].starts_with("HEAD http://kantine.example/r1.htm HTTP/1.0\r\n"));

    r = rezeptur(dir, {"fetch", "http://kantine.example/fehlt.htm", dir.dir() + "b.htm", "--proxy",
                       proxyArg});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "rezeptur fetch: http://kantine.example/fehlt.htm: HTTP-Status 404 (Seite "
                     "nicht gefunden)\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "b.htm"));

    EXPECT_EQ(rezeptur(dir, {"fetch", "http://127.0.0.1/"}).status, 2);
}

// What cannot be read or written is named with the reason; nothing hangs or aborts, and an
// output that is no file is left alone.
TEST(RezepturWebrecipe, FilesThatCannotBeUsedGiveMessages)
{
    TestDir dir;
    const std::string pipe = dir.dir() + "rohr.htm";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string huge = dir.write("riesig.htm", "");
    ASSERT_EQ(::truncate(huge.c_str(), (16 << 20) + 1), 0);
    std::filesystem::create_directory(dir.path() / "verzeichnis");
    const std::string out = dir.dir() + "rez.dat";
    struct {
        std::string input, output;
        std::string error; // after "rezeptur webrecipe: "
    } const cases[] = {
        {dir.dir() + "verzeichnis", out, "\"" + dir.dir() + "verzeichnis\" ist ein Verzeichnis"},
        {pipe, out, "\"" + pipe + "\" ist keine normale Datei"},
        {huge, out, "\"" + huge + "\" ist gr\xC3\xB6\xC3\x9F" "er als 16 MiB"},
        {dir.dir() + "fehlt.htm", out, "\"" + dir.dir() + "fehlt.htm\" nicht gefunden"},
        {fixture("kaesespaetzle.htm"), dir.dir() + "verzeichnis",
         "\"" + dir.dir() + "verzeichnis\" ist ein Verzeichnis"},
    };
    for (const auto& c : cases) {
        const RunResult r = rezeptur(dir, {"webrecipe", c.input, c.output});
        EXPECT_EQ(r.status, 1) << c.input;
        EXPECT_EQ(r.err, "rezeptur webrecipe: " + c.error + "\n");
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "verzeichnis"));
    EXPECT_EQ(rezeptur(dir, {"webrecipe", fixture("speiseplan.htm")}).status, 2);
}

// `fetch URL X` once removed X when writing to it failed, whatever X was.
TEST(RezepturFetch, OutputThatIsNoRegularFileIsRefusedAndLeftAlone)
{
    TestDir dir;
    const std::string pipe = dir.dir() + "rohr";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string ok = "HTTP/1.0 200 OK\r\n\r\n";
    ScriptedServer server({ScriptedServer::answer(ok), ScriptedServer::answer(ok + "Seite")});
    const RunResult r = rezeptur(
        dir, {"fetch", "http://127.0.0.1:" + std::to_string(server.port()) + "/r.htm", pipe});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "rezeptur fetch: \"" + pipe + "\" ist keine normale Datei\n");
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
}

// Each failure names the link and its cause in German; no class name, no English system text.
TEST(RezepturFetch, EveryUnsuccessfulOutcomeSaysWhy)
{
    TestDir dir;
    const std::string cutHead = "HTTP/1.0 200 OK\r\nContent-Length: 148000\r\n\r\n";
    const std::string moved = "HTTP/1.0 302 \x1b]0;gehackt\x07" "Found\r\nLocation: /w.htm\r\n\r\n";
    struct {
        std::vector<std::string> answers;
        std::string out;
        std::string err; // after "rezeptur fetch: " + the link + ": "
    } const cases[] = {
        // The reason text would set the terminal's title.
        {{moved, moved}, "302 \\x1b]0;gehackt\\x07Found\n",
         "Weiterleitung nicht verfolgt, zu viele Weiterleitungen (302 \\x1b]0;gehackt\\x07Found)"},
        {{"HTTP/1.1 403 Forbidden\r\n\r\n"}, "", "HTTP-Status 403 (Zugriff verweigert)"},
        // A broken download is no page: the previous output file stays.
        {{cutHead, cutHead + std::string(49333, 'x')}, "",
         "Verbindung vor Ende der Daten abgebrochen (49333 von 148000 Bytes)"},
    };
    for (const auto& c : cases) {
        std::vector<ScriptedServer::Script> scripts;
        for (const std::string& a : c.answers)
            scripts.push_back(ScriptedServer::answer(a));
        ScriptedServer server(scripts);
        const std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/r.htm";
        const std::string out = dir.write("a.htm", "vorige Seite");
        const RunResult r = rezeptur(dir, {"fetch", url, out});
        EXPECT_EQ(r.status, 1) << c.err;
        EXPECT_EQ(r.out, c.out) << c.err;
        EXPECT_EQ(r.err, "rezeptur fetch: " + url + ": " + c.err + "\n");
        EXPECT_EQ(readAll(out), "vorige Seite") << c.err;
    }
}
