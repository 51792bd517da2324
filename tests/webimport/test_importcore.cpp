// The import core against a real web server on 127.0.0.1 and against local files.
#include "importtestsupport.h"
#include "jsonld/recipepage.h"
#include "net/scriptedserver.h"
#include "pyhttpserver.h"
#include "support/testdir.h"
#include "webformat/webrecipe.h"
#include "webimport/importcore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

using namespace kovanta;
using namespace importtest;
namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> filesIn(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ImportCoreTest : public testing::Test {
protected:
    static void SetUpTestSuite() { server_ = new PyHttpServer; }
    static void TearDownTestSuite()
    {
        delete server_;
        server_ = nullptr;
    }
    void SetUp() override
    {
        ASSERT_NE(server_->port(), 0) << "python3 http.server did not start";
        view.core = &core;
        view.runner = &runner;
        importDir = dir.dir() + "import/";
        fs::create_directories(importDir);
        core.ImportDir = importDir;
        core.retryDelayMs = 0;
        core.configureClient = [](T_HTTP& http) {
            http.ConnectTimeoutMs = 5000;
            http.ReceiveTimeoutMs = 5000;
        };
    }
    std::string url(const std::string& path) const { return server_->url(path); }
    std::string fileUrl(const std::string& name) const { return "file://" + dir.dir() + name; }

    static PyHttpServer* server_;
    TestDir dir;
    std::string importDir;
    RecordingView view;
    BlockingFetchRunner runner;
    ImportCore core{view, runner};
};
PyHttpServer* ImportCoreTest::server_ = nullptr;

} // namespace

TEST_F(ImportCoreTest, DroppedRecipePageBecomesRecipeFileAfterTheDrop)
{
    const std::string page = recipePage("Gulasch vom Rind");
    server_->put("r1.htm", page);
    EXPECT_EQ(core.drop(url("/r1.htm"), "Gulasch vom Rind"), ImportCore::DropResult::Accepted);
    EXPECT_TRUE(core.busy());
    EXPECT_TRUE(runner.runNext()); // the fetch
    // Processing waits for the queued MSG_IMPORT_FILE: the line holds the raw file meanwhile.
    ASSERT_EQ(core.lineCount(), 1u);
    EXPECT_TRUE(core.line(0).FileName.ends_with(".tmp"));
    EXPECT_EQ(view.posted, 1);
    EXPECT_TRUE(view.listShown);
    EXPECT_EQ(view.statuses, (std::vector<std::string>{kStatusDownload, kStatusIdle}));

    view.drain();
    ASSERT_EQ(core.lineCount(), 1u);
    const TFileInfo& entry = core.line(0);
    EXPECT_EQ(entry.Url, url("/r1.htm"));
    EXPECT_EQ(view.titles, std::vector<std::string>{"Gulasch vom Rind"});
    EXPECT_TRUE(entry.FileName.starts_with(importDir) && entry.FileName.ends_with(".dat"));
    EXPECT_EQ(readAll(entry.FileName), recipeFileOf(page));
    EXPECT_EQ(filesIn(importDir).size(), 1u) << "the raw .tmp file is removed";
    EXPECT_EQ(view.notifications, (std::vector<std::pair<int, bool>>{{0, false}}));
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(server_->count("HEAD /r1.htm"), 1);
    EXPECT_EQ(server_->count("GET /r1.htm"), 1);

    // A recipe file that cannot be written is named with the reason, and its line goes.
    core.drop(url("/r1.htm?2"), "Gulasch");
    runner.runNext();
    const std::string dat = ChangeFileExt(core.line(1).FileName, ".dat");
    fs::create_directory(dat);
    view.drain();
    EXPECT_EQ(view.messages.at(0), std::string(kMsgCannotWrite) + "\n" + url("/r1.htm?2") + "\n" +
                                       dat + " ist ein Verzeichnis");
}

// Pages of other recipe sites beside pages of the program's own format (data and a link).
TEST_F(ImportCoreTest, PagesOfEitherFormat)
{
    const fs::path data = fs::path(std::getenv("KOVANTA_SOURCE_DIR")) / "tests/data/jsonld";
    server_->put("seiten/zwei.htm", readAll(data / "zwei-rezepte.htm"));
    server_->put("seiten/ohne.htm", readAll(data / "ohne-rezept.htm"));
    server_->put("seiten/salat.htm", recipePage("Salat"));
    server_->put("seiten/menue.htm", "<LIVE-DATEN>Zeile 1\r\n<LIVE-REZEPT>salat.htm Salat\r\n"
                                     "<LIVE-DATEN>Zeile 2\r\n");
    view.onRepaint = [this] { EXPECT_FALSE(core.DeleteEntry(0)); }; // a processing holds it
    core.drop(url("/seiten/zwei.htm"), "Zwei Rezepte - Kochen im Tal");
    core.drop(url("/seiten/menue.htm"), "Men\xFC");
    core.drop(url("/seiten/ohne.htm"), "Impressum");
    view.drain();

    EXPECT_EQ(view.titles,
              (std::vector<std::string>{"Kartoffelsuppe", "Apfelkompott", "Men\xFC", "Salat"}));
    const jsonld::PageRecipes expected =
        jsonld::ConvertRecipePage(readAll(data / "zwei-rezepte.htm"), url("/seiten/zwei.htm"));
    EXPECT_EQ(readAll(core.line(0).FileName), expected.recipes.at(0).file);
    EXPECT_EQ(readAll(core.line(1).FileName), expected.recipes.at(1).file);
    EXPECT_EQ(readAll(core.line(2).FileName), "Zeile 1\r\nZeile 2\r\n");
    EXPECT_EQ(filesIn(importDir).size(), 4u);
    EXPECT_EQ(view.messages,
              std::vector<std::string>{"Keine Rezeptdaten gefunden\n" + url("/seiten/ohne.htm")});
    core.drop(url("/seiten/zwei.htm"), "Zwei Rezepte"); // listed: not fetched again
    view.drain();
    EXPECT_EQ(server_->count("GET /seiten/zwei.htm"), 1);
}

TEST_F(ImportCoreTest, MenuPlanInASubdirectoryIsReplacedByItsRecipes)
{
    server_->put("plan/gulasch.htm", recipePage("Gulasch"));
    server_->put("plan/ohne.htm", recipePage("Ohne Titel"));
    server_->put("plan/rotkohl.htm", recipePage("Rotkohl"));
    server_->put("plan/kw50.htm", planPage({"gulasch.htm Gulasch vom Rind", "ohne.htm",
                                            "rotkohl.htm  Rotkohl mit &Auml;pfeln",
                                            "fehlt.htm Fehlt"}));
    core.drop(url("/plan/kw50.htm"), "Speiseplan KW 50");
    view.drain();

    EXPECT_EQ(view.titles, (std::vector<std::string>{"Gulasch vom Rind", "",
                                                     " Rotkohl mit \xC4pfeln"}));
    ASSERT_EQ(core.lineCount(), 3u);
    EXPECT_EQ(core.line(1).Url, url("/plan/ohne.htm"));
    EXPECT_EQ(filesIn(importDir).size(), 3u);
    EXPECT_EQ(view.messages, std::vector<std::string>{std::string(kMsgRequestFailed) + "\n" +
                                                      url("/plan/fehlt.htm") +
                                                      "\nHTTP-Status 404 (Seite nicht gefunden)"});
    // An error status ends the fetch at the HEAD: no repetition, no GET.
    EXPECT_EQ(server_->count("HEAD /plan/fehlt.htm"), 1);
    EXPECT_EQ(server_->count("GET /plan/fehlt.htm"), 0);
    const std::vector<std::string>& s = view.statuses;
    const auto resolving = std::find(s.begin(), s.end(), kStatusResolve);
    ASSERT_NE(resolving, s.end());
    EXPECT_EQ(std::vector<std::string>(resolving + 1, resolving + 5),
              (std::vector<std::string>{"Link 1 von 4: " + url("/plan/gulasch.htm"),
                                        "Link 2 von 4: " + url("/plan/ohne.htm"),
                                        "Link 3 von 4: " + url("/plan/rotkohl.htm"),
                                        "Link 4 von 4: " + url("/plan/fehlt.htm")}));
    EXPECT_EQ(s.back(), kStatusIdle);

    // The plan again: what is listed is not fetched again, and the status says so.
    core.drop(url("/plan/kw50.htm"), "Speiseplan KW 50");
    view.drain();
    EXPECT_EQ(server_->count("GET /plan/rotkohl.htm"), 1);
    EXPECT_EQ(s.back(), std::string(kStatusAlreadyListed) + "Gulasch vom Rind (" + url("/plan/gulasch.htm") +
                            ") und 2 weitere Verweise");
}

TEST_F(ImportCoreTest, PlansLinkingInCirclesFetchEveryUrlOnce)
{
    server_->put("kreis/selbst.htm", planPage({"selbst.htm Ich"}));
    server_->put("kreis/a.htm", planPage({"b.htm B", "a.htm A", "r1.htm Rezept"}));
    server_->put("kreis/b.htm", planPage({"a.htm A", "b.htm B", "r1.htm Rezept"}));
    server_->put("kreis/r1.htm", recipePage("Rezept"));

    core.drop(url("/kreis/selbst.htm"), "Selbst");
    view.drain();
    EXPECT_EQ(server_->count("GET /kreis/selbst.htm"), 1);
    EXPECT_EQ(core.lineCount(), 0u);

    core.drop(url("/kreis/a.htm"), "A");
    view.drain();
    EXPECT_EQ(server_->count("GET /kreis/a.htm"), 1);
    EXPECT_EQ(server_->count("GET /kreis/b.htm"), 1);
    EXPECT_EQ(server_->count("GET /kreis/r1.htm"), 1);
    EXPECT_EQ(view.titles, std::vector<std::string>{"Rezept"});
    EXPECT_TRUE(view.messages.empty());

    // A listed recipe is not fetched again; once its line is deleted, it is.
    core.drop(url("/kreis/r1.htm"), "Rezept");
    view.drain();
    EXPECT_EQ(view.statuses.back(), std::string(kStatusAlreadyListed) + "Rezept (" + url("/kreis/r1.htm") + ")");
    core.deleteSelected({0});
    core.drop(url("/kreis/r1.htm"), "Rezept");
    view.drain();
    EXPECT_EQ(core.lineCount(), 1u);
    EXPECT_EQ(server_->count("GET /kreis/r1.htm"), 2);
}

TEST_F(ImportCoreTest, FailedFetchesNameTheLinkAndTheCause)
{
    server_->put("abbruch.htm", recipePage("Abgebrochen"));
    std::string port;
    {
        ScriptedServer closed({}); // takes a free port and gives it back
        port = std::to_string(closed.port());
    }
    const struct {
        std::string link;
        int attempts;
        std::string cause;
    } cases[] = {
        {url("/kurz/abbruch.htm"), ImportCore::kMaxAttempts, "(419 von 519 Bytes)"},
        {url("/leer/abbruch.htm"), ImportCore::kMaxAttempts, "204 No Content"},
        {url("/ohnegrund/r1.htm"), 1, "HTTP-Status 404 (Seite nicht gefunden)"},
        {url("/ausweg/r1.htm"), 1, "nur http://- und https://-Links werden geholt"},
        {"http://127.0.0.1:" + port + "/r.htm", 0, "abgelehnt (127.0.0.1:" + port + ")"},
    };
    for (const auto& c : cases) {
        view.messages.clear();
        core.drop(c.link, "Abgebrochen");
        view.drain();
        const std::string path = c.link.substr(c.link.find('/', 7));
        EXPECT_EQ(server_->count("HEAD " + path), c.attempts) << path;
        ASSERT_EQ(view.messages.size(), 1u) << path;
        const std::string& m = view.messages[0];
        EXPECT_TRUE(m.starts_with(std::string(kMsgRequestFailed) + "\n") && m.ends_with(c.cause) &&
                    m.find(c.link) != std::string::npos)
            << m;
        EXPECT_EQ(core.lineCount(), 0u);
        EXPECT_TRUE(filesIn(importDir).empty()) << path;
    }
}

TEST_F(ImportCoreTest, DropDecisions)
{
    server_->put("entscheid.htm", recipePage("Gulasch"));
    // A drop without a title of its own (plain text) is ignored.
    EXPECT_EQ(core.drop(url("/entscheid.htm"), url("/entscheid.htm")), ImportCore::DropResult::Ignored);
    EXPECT_TRUE(view.statuses.empty());
    // Any other scheme only resets the status text.
    EXPECT_EQ(core.drop("ftp://127.0.0.1/entscheid.htm", "Anders"), ImportCore::DropResult::Other);
    EXPECT_EQ(view.statuses, std::vector<std::string>{kStatusIdle});
    EXPECT_EQ(server_->count("HEAD /entscheid.htm"), 0);
    // The scheme is recognised in any case.
    std::string upper = url("/entscheid.htm");
    upper.replace(0, 4, "HTTP");
    EXPECT_EQ(core.drop(upper, "Gulasch"), ImportCore::DropResult::Accepted);
    view.drain();
    EXPECT_EQ(core.lineCount(), 1u);
}

TEST_F(ImportCoreTest, LocalLinksDecodeOnlyTheEscapedBlank)
{
    EXPECT_EQ(localPathOfFileUrl("file:///rezepte/a%20b/K%C3%A4se%20%2520.htm"),
              "/rezepte/a b/K%C3%A4se %2520.htm");
    EXPECT_EQ(localPathOfFileUrl("FILE://localhost/rezepte/x.htm"), "/rezepte/x.htm");
    EXPECT_EQ(localPathOfFileUrl("file://server/share/x.htm"), "");
    EXPECT_EQ(localPathOfFileUrl("file:///rezepte/K\xE4se.htm"), "/rezepte/K\xC3\xA4se.htm");

    const std::string page = recipePage("Kaese");
    dir.write("K%C3%A4se Rezept.htm", page);
    core.drop(fileUrl("K%C3%A4se%20Rezept.htm"), "K\xE4se");
    EXPECT_EQ(view.statuses, (std::vector<std::string>{kStatusLocalCopy, kStatusIdle}));
    view.drain();
    ASSERT_EQ(core.lineCount(), 1u);
    EXPECT_EQ(readAll(core.line(0).FileName), recipeFileOf(page));

    // A missing file, a directory: nothing happens, no message, no file made.
    core.drop(fileUrl("fehlt.htm"), "Fehlt");
    core.drop("file://" + dir.dir(), "Verzeichnis");
    view.drain();
    EXPECT_EQ(core.lineCount(), 1u);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(filesIn(importDir).size(), 1u);
}

TEST_F(ImportCoreTest, OneDropFetchesAtMost500Files)
{
    // Links to missing files count like the others; only the few at the bound are written.
    std::vector<std::string> links;
    for (int i = 0; i < 520; ++i) {
        const std::string n = std::to_string(i);
        if (i == 0 || i >= 497)
            dir.write("r" + n + ".htm", recipePage("R" + n));
        links.push_back("r" + n + ".htm R" + n);
    }
    dir.write("plan.htm", planPage(links));
    core.drop(fileUrl("plan.htm"), "Plan");
    view.drain();
    // The plan itself is the first of the 500.
    EXPECT_EQ(view.titles, (std::vector<std::string>{"R0", "R497", "R498"}));
    EXPECT_EQ(view.messages, std::vector<std::string>{kMsgDropLimit});
}

TEST_F(ImportCoreTest, DropsDuringAnImportWaitTheirTurn)
{
    server_->put("folge/r1.htm", recipePage("Eins"));
    server_->put("folge/r2.htm", recipePage("Zwei"));
    server_->put("folge/r3.htm", recipePage("Drei"));
    server_->put("folge/plan.htm", planPage({"r1.htm Eins", "r2.htm Zwei", "r3.htm Drei"}));
    core.drop(url("/folge/plan.htm"), "Plan");
    // Dropped while the plan is fetched: taken, and fetched once the plan's drop is done.
    EXPECT_EQ(core.drop(url("/folge/r3.htm"), "Drei zuerst"), ImportCore::DropResult::Accepted);
    // And one while the plan's links are worked off.
    view.onRepaint = [this] {
        view.onRepaint = nullptr;
        EXPECT_EQ(core.drop(url("/folge/r2.htm"), "Zwei"), ImportCore::DropResult::Accepted);
    };
    view.drain();
    EXPECT_EQ(view.titles, (std::vector<std::string>{"Drei zuerst", "Eins", "Zwei"}));
    for (std::size_t i = 0; i < core.lineCount(); ++i)
        EXPECT_TRUE(core.line(i).FileName.ends_with(".dat")) << i;
    EXPECT_FALSE(core.busy() || core.hasPendingImportFiles());
    EXPECT_EQ(server_->count("GET /folge/r2.htm"), 1);
    EXPECT_EQ(server_->count("GET /folge/r3.htm"), 1);
    // The plan's status names the link it did not fetch again.
    EXPECT_EQ(view.statuses.back(),
              std::string(kStatusAlreadyListed) + "Drei zuerst (" + url("/folge/r3.htm") + ")");
}

TEST_F(ImportCoreTest, LoadImportDirectoryListsRecipesAndRemovesOnlyOurLeftovers)
{
    const std::string dirPath = dir.dir() + "vorrat/";
    dir.write("vorrat/REZ0001.DAT", "1\r\n2\r\n3\r\nK\x84se mit Kr\x84utern   7\r\n5\r\n");
    dir.write("vorrat/rez0002.dat", "nur\r\ndrei\r\nZeilen\r\n");
    dir.write("vorrat/notiz.txt", "fremd");
    dir.write("vorrat/rez1a.tmp", "Rest eines Abbruchs");
    dir.write("vorrat/.rez0003.dat", "versteckt");
    fs::create_directories(dirPath + "rez0004.dat");
    core.LoadImportDirectory(dirPath);

    std::vector<std::string> titles = view.titles;
    std::sort(titles.begin(), titles.end());
    EXPECT_EQ(titles, (std::vector<std::string>{"K\xE4se mit Kr\xE4utern", kUnknownFormat}));
    EXPECT_TRUE(view.listShown);
    EXPECT_EQ(core.line(0).Url, "");
    EXPECT_EQ(filesIn(dirPath), (std::vector<std::string>{".rez0003.dat", "REZ0001.DAT",
                                                          "notiz.txt", "rez0002.dat",
                                                          "rez0004.dat"}));
}

TEST(ImportFiles, RecipeTitleAndNames)
{
    TestDir dir;
    // Line 4, columns 1-20, trailing blanks and NULs removed; any line ending counts.
    using namespace std::string_literals;
    EXPECT_EQ(ReadRecipeTitle(dir.write("a", "1\r2\n3\r\nLinsen suppe \0 \0       123\r\n"s)),
              "Linsen suppe");
    EXPECT_EQ(ReadRecipeTitle(dir.write("b", "1\n2\n3\nohne Zeilenende")), "ohne Zeilenende");
    EXPECT_EQ(ReadRecipeTitle(dir.write("c", "1\n2\n3\n")), kUnknownFormat);
    EXPECT_EQ(ReadRecipeTitle(dir.write("d", "1\n2\n3\n\n")), "");
    EXPECT_EQ(ReadRecipeTitle(dir.dir() + "fehlt"), kUnknownFormat);
    EXPECT_EQ(ReadRecipeTitle(dir.dir()), kUnknownFormat);

    EXPECT_TRUE(IsRecipeFileName("REZ0001.DAT"));
    EXPECT_TRUE(IsRecipeFileName("rez.dat"));
    EXPECT_FALSE(IsRecipeFileName("rez0001.tmp"));
    EXPECT_FALSE(IsRecipeFileName("xrez1.dat"));
    EXPECT_TRUE(isImportTempFileName("rez1.tmp"));
    EXPECT_TRUE(isImportTempFileName("rezffff.tmp"));
    EXPECT_FALSE(isImportTempFileName("rez10000.tmp"));
    EXPECT_FALSE(isImportTempFileName("REZ1.TMP"));
    EXPECT_FALSE(isImportTempFileName("rezg.tmp"));
}

TEST_F(ImportCoreTest, LineDeletedBeforeItsProcessingIsNotProcessed)
{
    dir.write("r1.htm", recipePage("Eins"));
    core.drop(fileUrl("r1.htm"), "Eins");
    const std::string raw = core.line(0).FileName;
    core.deleteSelected({0});
    EXPECT_FALSE(fs::exists(raw));
    view.drain();
    EXPECT_EQ(core.lineCount(), 0u);
    EXPECT_TRUE(filesIn(importDir).empty());

    // The program ends before a fetched file was processed: its raw file goes too.
    auto other = std::make_unique<ImportCore>(view, runner);
    view.core = other.get();
    other->ImportDir = importDir;
    other->drop(fileUrl("r1.htm"), "Eins");
    other.reset();
    EXPECT_TRUE(filesIn(importDir).empty());

    // Only our download is removed after processing: what stands under its name now stays.
    view.core = &core;
    core.drop(fileUrl("r1.htm"), "Eins");
    const std::string replaced = core.line(0).FileName;
    fs::remove(replaced);
    fs::create_directory(replaced);
    view.drain();
    EXPECT_TRUE(fs::is_directory(replaced));
    EXPECT_EQ(core.lineCount(), 0u);
}

// Without Esc, the attempts at a link share one fetch budget: a page that never answers is not
// asked three times for the whole time each.
TEST_F(ImportCoreTest, AttemptsShareOneBudget)
{
    const auto quiet = [](ScriptedServer& s, int fd, const std::string&) { s.stayQuiet(fd); };
    ScriptedServer silent({quiet, quiet, quiet});
    core.configureClient = [](T_HTTP& http) { http.FetchTimeoutMs = 300; };
    const std::string link = "http://127.0.0.1:" + std::to_string(silent.port()) + "/still.htm";
    core.drop(link, "Still");
    view.drain();
    EXPECT_EQ(silent.requests().size(), 1u);
    EXPECT_EQ(view.messages, std::vector<std::string>{std::string(kMsgRequestFailed) + "\n" + link +
                                                      "\nZeit\xFC" "berschreitung: Abruf nach 300 ms abgebrochen"});
}

TEST(ImportFiles, RawFileNeverSharesItsNameWithAnEarlierRecipe)
{
    TestDir dir;
    dir.write("rez1.dat", "frueher importiert");
    int calls = 0;
    const CreateTempFile numbered = [&](const std::string& d, const std::string& prefix,
                                        int& error) -> std::optional<std::string> {
        error = 0;
        const std::string path = d + prefix + std::to_string(++calls) + ".tmp";
        std::ofstream(path).close();
        return path;
    };
    int error = -1;
    EXPECT_EQ(createImportFile(dir.dir(), error, numbered), dir.dir() + "rez2.tmp");
    EXPECT_EQ(error, 0);
    EXPECT_FALSE(fs::exists(dir.path() / "rez1.tmp")) << "the rejected name is released";
    EXPECT_EQ(readAll(dir.path() / "rez1.dat"), "frueher importiert");

    // Every name offered is taken: nothing, and nothing left behind.
    const CreateTempFile alwaysOne = [&](const std::string& d, const std::string& prefix,
                                         int& e) -> std::optional<std::string> {
        e = 0;
        std::ofstream(d + prefix + "1.tmp").close();
        return d + prefix + "1.tmp";
    };
    EXPECT_FALSE(createImportFile(dir.dir(), error, alwaysOne));
    EXPECT_EQ(error, EEXIST);
    EXPECT_FALSE(fs::exists(dir.path() / "rez1.tmp"));

    const std::optional<std::string> real = createImportFile(dir.dir(), error);
    ASSERT_TRUE(real);
    EXPECT_TRUE(isImportTempFileName(fs::path(*real).filename().string()));
    EXPECT_FALSE(createImportFile(dir.dir() + "fehlt/", error));
    EXPECT_EQ(error, ENOENT);
}
