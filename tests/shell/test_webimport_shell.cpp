// The web import as a user works it: "Web-Rezepte...", a menu plan link dropped from a browser,
// "Übernehmen", and the imported recipes in the recipe list.
#include "shell/quitsignals.h"
#include "app/searchpaths.h"
#include "support/mainwindowdriver.h"
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

class WebImportShell : public window_test::MainWindowDriver {
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

    // The program directory with ini as its kovanta.INI (none when empty), started.
    void launch(const std::string& ini)
    {
        if (!ini.empty())
            dir.write("kovanta.INI", ini);
        ShellOptions o = options(0);
        o.importDefaultDirectory = QString::fromStdString(dir.dir() + "temp/kovanta/");
        open(o);
        start();
    }

    TInternetRezeptImport* importWindow() const
    {
        return child<TInternetRezeptImport>("InternetRezeptImport");
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
        RecipeListModel* list = window->recipeList();
        for (int row = 0; row < list->entryCount(); ++row)
            names << QString::fromStdString(list->entry(row)->ShortName);
        names.sort();
        return names;
    }

    SearchPath webDirectoryEntry() const
    {
        const std::string web = window->webRecipeDirectory().toStdString();
        const int index = window->searchPaths().indexOf(web);
        return index < 0 ? SearchPath{} : window->searchPaths().entries()[static_cast<std::size_t>(index)];
    }

    PyHttpServer server;
    QTimer boxWatch;
    QStringList boxes;
};

} // namespace

TEST_F(WebImportShell, DroppedMenuPlanReachesTheRecipeList)
{
    launch("[SuchPfade]\r\n1=0" + dir.dir() + "internet/\r\n");
    ASSERT_FALSE(webDirectoryEntry().active);
    const int samples = window->recipeList()->entryCount();

    child<QAction>("WebRezepte1")->trigger();
    TInternetRezeptImport* importer = importWindow();
    ASSERT_NE(importer, nullptr);
    EXPECT_TRUE(importer->isVisible());
    EXPECT_TRUE(importer->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(importer->findChild<QLabel*>(QStringLiteral("mUrlLabel1"))->isVisible());
    EXPECT_EQ(importer->importDir(), window->webRecipeDirectory());
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "temp/kovanta"));

    dropPlan();
    EXPECT_EQ(importer->listBox()->count(), 2);
    EXPECT_EQ(importer->listBox()->item(0)->text(), QStringLiteral("Gulasch vom Rind"));

    importer->findChild<QAction*>(QStringLiteral("Uebernehmen1"))->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isVisible() && !importer->isVisible(); }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->recipeList()->entryCount() == samples + 2; }));
    EXPECT_TRUE(recipeNames().contains(QStringLiteral("Gulasch vom Rind")));
    EXPECT_TRUE(recipeNames().contains(QStringLiteral("Rotkohl")));
    EXPECT_TRUE(webDirectoryEntry().active);
    EXPECT_FALSE(importer->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(u'|').toStdString();

    // The tool button opens the same importer again, with its list.
    QTest::mouseClick(child<QAbstractButton>("HemisphereButton6"),
                      Qt::LeftButton);
    EXPECT_EQ(importWindow(), importer);
    EXPECT_TRUE(importer->isVisible());
    EXPECT_EQ(importer->listBox()->count(), 2);
    EXPECT_EQ(importer->statusText(), QStringLiteral("Drag&Drop Internetrezepten"));
}

TEST_F(WebImportShell, UnlistedWebDirectoryIsAddedActiveOnImport)
{
    launch("");
    ASSERT_EQ(window->searchPaths().indexOf(window->webRecipeDirectory().toStdString()), -1);
    child<QAction>("WebRezepte1")->trigger();
    dropPlan();
    importWindow()->acceptSelected();
    ASSERT_TRUE(QTest::qWaitFor([&] { return recipeNames().contains(QStringLiteral("Rotkohl")); }));
    EXPECT_TRUE(webDirectoryEntry().active);
    const std::string web = window->webRecipeDirectory().toStdString();
    window->close();
    std::ifstream in(dir.dir() + "kovanta.INI", std::ios::binary);
    const std::string saved{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_NE(saved.find("=1" + web), std::string::npos) << "saved on close, so it stays listed";
}

TEST_F(WebImportShell, TerminationSignalWhileTheImportWindowFetchesEndsTheProgram)
{
    launch("");
    ScriptedServer silent({[](ScriptedServer& s, int fd, const std::string&) { s.stayQuiet(fd); }});
    child<QAction>("WebRezepte1")->trigger();
    closeOnTerminationSignals(window.get());
    ImportCore& core = importWindow()->core();
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [] { ::raise(SIGTERM); }); // comes while the fetch waits
        core.drop("http://127.0.0.1:" + std::to_string(silent.port()) + "/r.htm", "Still");
    });
    QTimer::singleShot(30000, [] { QCoreApplication::exit(1); }); // the loop did not end
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(window->isVisible() || importWindow()->isVisible());
    // The cancelled fetch answers at once; the import ends with it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !core.busy(); }));
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(u'|').toStdString();
}
