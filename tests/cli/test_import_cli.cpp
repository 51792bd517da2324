// `rezeptur import` end to end: the built program against a web server on 127.0.0.1 started
// by the test, and on local files.
#include "support/rezeptur.h"
#include "support/testdir.h"
#include "webimport/importtestsupport.h"
#include "webimport/pyhttpserver.h"
#include "net/scriptedserver.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using importtest::planPage;
using importtest::recipeFileOf;
using importtest::recipePage;
using rezeptur_test::RunResult;
namespace fs = std::filesystem;

// Runs rezeptur with the arguments (quoted for the shell); `prefix` is shell text run first.
RunResult rezeptur(const TestDir& dir, const std::vector<std::string>& args,
                   const std::string& prefix = "")
{
    std::string quoted;
    for (const std::string& a : args)
        quoted += " '" + a + "'";
    if (prefix.empty())
        return rezeptur_test::Run(dir.dir(), quoted, dir);
    const std::string out = dir.dir() + "rezeptur.out", err = dir.dir() + "rezeptur.err";
    const std::string command = "cd '" + dir.dir() + "' && " + prefix + " exec '" +
                                rezeptur_test::Program() + "'" + quoted + " >'" + out + "' 2>'" +
                                err + "'";
    const int raw = std::system(("sh -c \"" + command + "\"").c_str());
    RunResult run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = rezeptur_test::ReadAll(out);
    run.err = rezeptur_test::ReadAll(err);
    return run;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        out.push_back(l);
    return out;
}

class RezepturImport : public testing::Test {
protected:
    static void SetUpTestSuite() { server_ = new PyHttpServer; }
    static void TearDownTestSuite()
    {
        delete server_;
        server_ = nullptr;
    }
    void SetUp() override { ASSERT_NE(server_->port(), 0) << "python3 http.server did not start"; }

    static PyHttpServer* server_;
    TestDir dir;
};
PyHttpServer* RezepturImport::server_ = nullptr;

} // namespace

TEST_F(RezepturImport, MenuPlanPrintsItsRecipesInListOrder)
{
    server_->put("kw50/gulasch.htm", recipePage("Gulasch"));
    server_->put("kw50/rotkohl.htm", recipePage("Rotkohl"));
    // Titles come from pages: a control character in one must not reach the terminal.
    server_->put("kw50/plan.htm", planPage({"gulasch.htm Gulasch \x1b]0;x\x07vom Rind",
                                            "rotkohl.htm Rotkohl mit &Auml;pfeln",
                                            "fehlt.htm Fehlt"}));
    const std::string target = dir.dir() + "neu/import";
    const RunResult r =
        rezeptur(dir, {"import", server_->url("/kw50/plan.htm"), "Speiseplan", "--dir", target});
    // The link that failed is named with its cause, and the status says so.
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.err, "Link 1 von 3: " + server_->url("/kw50/gulasch.htm") + "\nLink 2 von 3: " +
                         server_->url("/kw50/rotkohl.htm") + "\nLink 3 von 3: " +
                         server_->url("/kw50/fehlt.htm") +
                         "\nEs konnten die Daten nicht angefordert werden " +
                         server_->url("/kw50/fehlt.htm") + " HTTP-Status 404 (Seite nicht gefunden)\n");
    const std::vector<std::string> out = lines(r.out);
    ASSERT_EQ(out.size(), 2u) << r.out;
    EXPECT_TRUE(out[0].starts_with("Gulasch \\x1b]0;x\\x07vom Rind\trez")) << out[0];
    EXPECT_TRUE(out[1].starts_with("Rotkohl mit \xC3\x84pfeln\trez")) << out[1];
    const std::string file = out[0].substr(out[0].find('\t') + 1);
    EXPECT_TRUE(file.ends_with(".dat"));
    EXPECT_EQ(rezeptur_test::ReadAll(fs::path(target) / file), recipeFileOf(recipePage("Gulasch")));
    EXPECT_EQ(std::distance(fs::directory_iterator(target), fs::directory_iterator()), 2);
}

TEST_F(RezepturImport, LocalLinksAndExitStatuses)
{
    // A local link without a file is passed over silently by the window; here it failed.
    dir.write("seiten/Kartoffel salat.htm", recipePage("Kartoffelsalat"));
    dir.write("seiten/plan.htm", planPage({"Kartoffel%20salat.htm Kartoffelsalat", "fehlt.htm Fehlt"}));
    const std::string target = dir.dir() + "ziel";
    const std::string seiten = "file://" + dir.dir() + "seiten/";
    RunResult r = rezeptur(dir, {"import", seiten + "plan.htm", "Plan", "--dir", target});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_TRUE(r.out.starts_with("Kartoffelsalat\trez")) << r.out;
    EXPECT_EQ(r.err, "Link 1 von 2: " + seiten + "Kartoffel%20salat.htm\nLink 2 von 2: " + seiten +
                         "fehlt.htm\nFehler beim Kopieren eines Rezeptes " + seiten +
                         "fehlt.htm Datei nicht gefunden\n");

    const std::string ohne =
        "file://" + rezeptur_test::Env("KOVANTA_SOURCE_DIR") + "/tests/data/jsonld/ohne-rezept.htm";
    r = rezeptur(dir, {"import", ohne, "Ohne", "--dir", target});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Keine Rezeptdaten gefunden " + ohne + "\n");

    const std::string link = server_->url("/x.htm");
    EXPECT_EQ(rezeptur(dir, {"import", "ftp://127.0.0.1/x.htm", "X", "--dir", target}).status, 1);
    EXPECT_EQ(rezeptur(dir, {"import", link, link, "--dir", target}).status, 1);
    EXPECT_EQ(server_->count("HEAD /x.htm"), 0);
    EXPECT_EQ(rezeptur(dir, {"import", link, "X"}).status, 2);
    EXPECT_EQ(rezeptur(dir, {"import", link, "--dir", target}).status, 2);
    r = rezeptur(dir, {"import", link, "X", "--dir", target, "--timeout", "1s"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.starts_with("rezeptur import: --timeout: 1s ist keine Zahl\n")) << r.err;
}

// Every link that brought nothing is named with its cause, after all attempts, and so is a
// whole import that ran out of time; exit status 1.
TEST_F(RezepturImport, FailedLinksAreNamedWithTheirCause)
{
    const std::string head = "HTTP/1.0 200 OK\r\nContent-Length: 9000\r\n\r\n";
    std::vector<ScriptedServer::Script> cut;
    for (int i = 0; i < 3; ++i) {
        cut.push_back(ScriptedServer::answer(head));
        cut.push_back(ScriptedServer::answer(head + std::string(4000, 'x')));
    }
    ScriptedServer cutServer(cut);
    const std::string url = "http://127.0.0.1:" + std::to_string(cutServer.port()) + "/r.htm";
    RunResult r = rezeptur(dir, {"import", url, "Rezept", "--dir", dir.dir() + "ziel"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Es konnten die Daten nicht angefordert werden " + url +
                         " Verbindung vor Ende der Daten abgebrochen (4000 von 9000 Bytes)\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(cutServer.requests().size(), 6u) << "three attempts";

    // The whole import's limit ends a plan whose links never answer, and says so.
    const auto quiet = [](ScriptedServer& s, int fd, const std::string&) { s.stayQuiet(fd); };
    ScriptedServer server({ScriptedServer::answer(std::string("HTTP/1.0 200 OK\r\n\r\n")),
                           ScriptedServer::answer("HTTP/1.0 200 OK\r\n\r\n" +
                                                  planPage({"a.htm A", "b.htm B", "c.htm C"})),
                           quiet, quiet, quiet});
    const std::string base = "http://127.0.0.1:" + std::to_string(server.port()) + "/";
    r = rezeptur(
        dir, {"import", base + "plan.htm", "Plan", "--dir", dir.dir() + "ziel", "--timeout", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Link 1 von 3: " + base +
                         "a.htm\nrezeptur import: Zeitlimit von 1 s erreicht, Import abgebrochen\n");
    EXPECT_EQ(server.requests().size(), 3u) << "nothing after the limit";
}

TEST_F(RezepturImport, LengthErrorLeavesNoIncompleteFile)
{
    // The page is larger than the files the program may write (ulimit -f, in 512-byte blocks);
    // the signal for an oversized write is ignored, so the write comes back short.
    std::string page = recipePage("Grosse Seite");
    page += std::string(200 * 1024, ' ') + "\r\n";
    server_->put("gross.htm", page);
    const std::string target = dir.dir() + "begrenzt";
    fs::create_directories(target);
    const RunResult r = rezeptur(dir, {"import", server_->url("/gross.htm"), "Gross", "--dir", target},
                                 "trap '' XFSZ; ulimit -f 64;");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.err, "Fehler bei der L\xC3\xA4nge " + server_->url("/gross.htm") + " " + target +
                         "/: Datei zu gro\xC3\x9F\n");
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(fs::is_empty(target));
}
