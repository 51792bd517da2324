// Reading all recipes in the main window: the scan runs on a worker thread, the window keeps
// serving events, the finished list arrives in one batch, and reloads asked for meanwhile run
// once after it.
#include "app/recipescan.h"
#include "platform/qt/settingsstore.h"
#include "recipe/rezeptimportproz.h"
#include "recipegen/recipegen.h"
#include "support/mainwindowdriver.h"
#include "views/recipelistmodel.h"

#include <QStatusBar>
#include <QTableView>
#include <QTimer>

#include <string>
#include <vector>

using namespace kovanta;

namespace {

// 20,000 recipes: 100 single-recipe files and 199 list files of 100 recipes (with a few more
// in the program directory, which is searched first).
class RecipeReading : public window_test::MainWindowDriver {
protected:
    static void SetUpTestSuite()
    {
        collection_ = new TestDir;
        recipegen::CollectionShape shape;
        shape.seed = 7;
        shape.singleFiles = 100;
        shape.listFiles = 199;
        shape.entriesPerList = 100;
        const auto summary = recipegen::WriteCollection(collection_->dir() + "kantine/", shape);
        ASSERT_EQ(summary.recipes, 20000u);
    }
    static void TearDownTestSuite()
    {
        delete collection_;
        collection_ = nullptr;
    }

    void SetUp() override
    {
        SettingsStore::setDefaultFileName(QString::fromStdString(dir.dir() + "registry.conf"));
        open(window_test::kNever);
        window->searchPaths().add(collection_->dir() + "kantine/", true);
        QObject::connect(window.get(), &TSDIAppForm::recipesRead, [this] { ++reads; });
    }
    void TearDown() override
    {
        window.reset();
        SettingsStore::setDefaultFileName(QString());
    }

    bool waitForReads(int count)
    {
        return QTest::qWaitFor([&] { return reads >= count && !window->readingRecipes(); },
                               120000);
    }
    static std::vector<std::string> names(const RecipeScan::Entries& entries)
    {
        std::vector<std::string> out;
        for (const auto& e : entries)
            out.push_back(e->FileName + "#" + std::to_string(e->EntryIndex));
        return out;
    }

    static TestDir* collection_;
    int reads = 0;
};

TestDir* RecipeReading::collection_ = nullptr;

} // namespace

TEST_F(RecipeReading, WindowServesEventsWhileTheWorkerReadsAndGetsTheSameList)
{
    // Ticks of a zero timer counted while the read runs: each one is the event loop at work.
    int ticksWhileReading = 0;
    QTimer ticker;
    ticker.setInterval(0);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (window->readingRecipes())
            ++ticksWhileReading;
    });
    bool progressShown = false;
    QObject::connect(window->statusBar(), &QStatusBar::messageChanged, [&](const QString& text) {
        progressShown = progressShown || text.endsWith(QStringLiteral(" Rezepte gelesen..."));
    });
    ticker.start();

    window->reloadRecipes();
    EXPECT_TRUE(window->readingRecipes());
    EXPECT_EQ(window->recipeList()->entryCount(), 0) << "the old list goes before the read";
    ASSERT_TRUE(waitForReads(1));
    ticker.stop();

    EXPECT_GT(ticksWhileReading, 0) << "no event was served during the read";
    EXPECT_TRUE(progressShown);
    EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());
    EXPECT_EQ(reads, 1);
    EXPECT_FALSE(window->tabs()->recipeGrid()->isHidden()) << "the list is shown again";

    // The same entries in the same order as the scan gives on this thread.
    const TRezeptImportProz proz;
    RecipeScan scan(proz, dir.dir());
    const std::vector<std::string> expected = names(scan.readAll(window->searchPaths()));
    ASSERT_EQ(expected.size(), 20000u);
    EXPECT_EQ(names(window->recipeList()->entries()), expected);
}

TEST_F(RecipeReading, ReloadsAskedForDuringAReadRunOnceAfterIt)
{
    window->reloadRecipes();
    ASSERT_TRUE(window->readingRecipes());
    // Three more requests in the meantime, by the tool button and by the message.
    window->reloadRecipes();
    postWindowMessage(window.get(), MSG_RELOAD_RECIPES);
    window->reloadRecipes();
    // The search paths change meanwhile: the queued read sees the change, the running one not.
    const std::string more = dir.dir() + "mehr/";
    dir.write("mehr/REZ99999.DAT", recipegen::RecipeBlock(3, 1));
    window->searchPaths().add(more, true);

    ASSERT_TRUE(waitForReads(2));
    EXPECT_EQ(reads, 2) << "the queued reload ran once";
    EXPECT_EQ(window->recipeList()->entryCount(), 20001);
    // Nothing else follows.
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->readingRecipes());
    EXPECT_EQ(reads, 2);
}

TEST_F(RecipeReading, ClosingDuringAReadStopsTheWorker)
{
    window->reloadRecipes();
    ASSERT_TRUE(window->readingRecipes());
    window->close();
    window.reset(); // waits for the worker; the processor must not go before it
    EXPECT_EQ(reads, 0);
}
