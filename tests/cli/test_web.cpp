// `rezeptur webrecipe` and `rezeptur fetch` end to end: the built program on our own web pages
// and against a server on 127.0.0.1 started by the test.
#include "support/rezeptur.h"
#include "support/testdir.h"
#include "webimport/scriptedserver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

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
                     "r9.htm gulasch.htm\tGulasch\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "plan.dat"));
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
    EXPECT_EQ(r.err, "EProtocolError: Not Found\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "b.htm"));

    r = rezeptur(dir, {"fetch", "http:///ohne-host.htm", dir.dir() + "c.htm"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ETcpIpError: Couldn't resolve hostname \n");

    EXPECT_EQ(rezeptur(dir, {"fetch", "http://127.0.0.1/"}).status, 2);
}
