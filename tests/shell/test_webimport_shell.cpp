// The web import as a user works it: "Web-Rezepte...", a menu plan link dropped from a browser,
// "Übernehmen", and the imported recipes in the recipe list.
#include "shell/quitsignals.h"
#include "app/searchpaths.h"
#include "shell/startpage.h"
#include "shell/tsdiappform.h"
#include "support/testdir.h"
#include "views/recipelistmodel.h"
#include "webimport/importtestsupport.h"
#include "webimport/pyhttpserver.h"
#include "net/scriptedserver.h"
#include "webimport/window/internetrezeptimport.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>

using namespace kovanta;
using importtest::planPage;
using importtest::recipePage;

namespace {

class WebImportShell : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(server.port(), 0) << "python3 http.server did not start";
        server.put("kw50/r1.htm", recipePage("Gulasch vom Rind"));
        server.put("kw50/r2.htm", recipePage("Rotkohl"));
        server.put("kw50/plan.htm", planPage({"r1.htm Gulasch vom Rind", "r2.htm Rotkohl"}));
        // Any message box would stop the test: it is noted and closed.
        QObject::connect(&boxWatch, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxes << box->text();
                box->done(0);
            }
        });
        boxWatch.start(50);
    }

    void open(const std::string& ini)
    {
        const std::string program = dir.dir() + "programm/";
        if (!ini.empty())
            dir.write("programm/kovanta.INI", ini);
        std::filesystem::create_directories(program);
        ShellOptions options;
        options.programDirectory = QString::fromStdString(program);
        options.startDelayMs = 0;
        options.importDefaultDirectory = QString::fromStdString(dir.dir() + "temp/kovanta/");
        main = std::make_unique<TSDIAppForm>(options);
        main->show();
        auto* start = main->findChild<QAbstractButton*>(QStringLiteral("HemisphereButton16"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return start->isEnabled(); }));
        QTest::mouseClick(start, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return main->tabs()->isVisible(); }));
        // The read runs on a worker thread; its list arrives later on this one.
        ASSERT_TRUE(QTest::qWaitFor([&] { return !main->readingRecipes(); }));
    }

    TInternetRezeptImport* importWindow() const
    {
        return main->findChild<TInternetRezeptImport*>(QStringLiteral("InternetRezeptImport"));
    }

    void dropPlan()
    {
        QMimeData mime;
        const QString url = QString::fromStdString(server.url("/kw50/plan.htm"));
        mime.setData(QStringLiteral("_NETSCAPE_URL"), (url + QStringLiteral("\nSpeiseplan KW 50")).toUtf8());
        mime.setData(QStringLiteral("text/uri-list"), (url + QStringLiteral("\r\n")).toUtf8());
        const Qt::DropActions actions = Qt::CopyAction | Qt::LinkAction;
        QDragEnterEvent enter(QPoint(50, 80), actions, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(importWindow(), &enter);
        QDropEvent drop(QPointF(50, 80), actions, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(importWindow(), &drop);
        ImportCore& core = importWindow()->core();
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return core.lineCount() == 2 && !core.busy() && !core.hasPendingImportFiles();
        }));
    }

    QStringList recipeNames() const
    {
        QStringList names;
        RecipeListModel* list = main->recipeList();
        for (int row = 0; row < list->entryCount(); ++row)
            names << QString::fromStdString(list->entry(row)->ShortName);
        names.sort();
        return names;
    }

    SearchPath webDirectoryEntry() const
    {
        const std::string web = main->webRecipeDirectory().toStdString();
        const int index = main->searchPaths().indexOf(web);
        return index < 0 ? SearchPath{} : main->searchPaths().entries()[static_cast<std::size_t>(index)];
    }

    PyHttpServer server;
    TestDir dir;
    QTimer boxWatch;
    QStringList boxes;
    std::unique_ptr<TSDIAppForm> main;
};

} // namespace

TEST_F(WebImportShell, DroppedMenuPlanReachesTheRecipeList)
{
    open("[SuchPfade]\r\n1=0" + dir.dir() + "programm/internet/\r\n");
    ASSERT_FALSE(webDirectoryEntry().active);
    const int samples = main->recipeList()->entryCount();

    main->findChild<QAction*>(QStringLiteral("WebRezepte1"))->trigger();
    TInternetRezeptImport* window = importWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(main->isVisible());
    EXPECT_FALSE(window->findChild<QLabel*>(QStringLiteral("mUrlLabel1"))->isVisible());
    EXPECT_EQ(window->importDir(), main->webRecipeDirectory());
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "temp/kovanta"));

    dropPlan();
    EXPECT_EQ(window->listBox()->count(), 2);
    EXPECT_EQ(window->listBox()->item(0)->text(), QStringLiteral("Gulasch vom Rind"));

    window->findChild<QAction*>(QStringLiteral("Uebernehmen1"))->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return main->isVisible() && !window->isVisible(); }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return main->recipeList()->entryCount() == samples + 2; }));
    EXPECT_TRUE(recipeNames().contains(QStringLiteral("Gulasch vom Rind")));
    EXPECT_TRUE(recipeNames().contains(QStringLiteral("Rotkohl")));
    EXPECT_TRUE(webDirectoryEntry().active);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(u'|').toStdString();

    // The tool button opens the same window again, with its list.
    QTest::mouseClick(main->findChild<QAbstractButton*>(QStringLiteral("HemisphereButton6")),
                      Qt::LeftButton);
    EXPECT_EQ(importWindow(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->listBox()->count(), 2);
    EXPECT_EQ(window->statusText(), QStringLiteral("Drag&Drop Internetrezepten"));
}

TEST_F(WebImportShell, UnlistedWebDirectoryIsAddedActiveOnImport)
{
    open("");
    ASSERT_EQ(main->searchPaths().indexOf(main->webRecipeDirectory().toStdString()), -1);
    main->findChild<QAction*>(QStringLiteral("WebRezepte1"))->trigger();
    dropPlan();
    importWindow()->acceptSelected();
    ASSERT_TRUE(QTest::qWaitFor([&] { return recipeNames().contains(QStringLiteral("Rotkohl")); }));
    EXPECT_TRUE(webDirectoryEntry().active);
    const std::string web = main->webRecipeDirectory().toStdString();
    main->close();
    std::ifstream in(dir.dir() + "programm/kovanta.INI", std::ios::binary);
    const std::string saved{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_NE(saved.find("=1" + web), std::string::npos) << "saved on close, so it stays listed";
}

TEST_F(WebImportShell, TerminationSignalWhileTheImportWindowFetchesEndsTheProgram)
{
    open("");
    ScriptedServer silent({[](ScriptedServer& s, int fd, const std::string&) { s.stayQuiet(fd); }});
    main->findChild<QAction*>(QStringLiteral("WebRezepte1"))->trigger();
    closeOnTerminationSignals(main.get());
    ImportCore& core = importWindow()->core();
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [] { ::raise(SIGTERM); }); // comes while the fetch waits
        core.drop("http://127.0.0.1:" + std::to_string(silent.port()) + "/r.htm", "Still");
    });
    QTimer::singleShot(30000, [] { QCoreApplication::exit(1); }); // the loop did not end
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(main->isVisible() || importWindow()->isVisible());
    // The cancelled fetch answers at once; the import ends with it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !core.busy(); }));
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(u'|').toStdString();
}
