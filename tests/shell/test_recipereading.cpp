// Reading all recipes (RecipeReader): the scan runs on a worker thread while this one keeps
// serving events, the finished list arrives in one batch, and reloads asked for meanwhile run
// once after it.
#include "app/recipescan.h"
#include "platform/qt/settingsstore.h"
#include "recipe/rezeptimportproz.h"
#include "recipegen/recipegen.h"
#include "shell/recipereader.h"
#include "support/mainwindowdriver.h"
#include "views/recipelistmodel.h"

#include <QStatusBar>
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
        paths.add(collection_->dir() + "kantine/", true);
        QObject::connect(&reader, &RecipeReader::finished, [this] { ++reads; });
    }

    bool waitForReads(int count)
    {
        return QTest::qWaitFor([&] { return reads >= count && !reader.reading(); }, 120000);
    }
    static std::vector<std::string> names(const RecipeScan::Entries& entries)
    {
        std::vector<std::string> out;
        for (const auto& e : entries)
            out.push_back(e->FileName + "#" + std::to_string(e->EntryIndex));
        return out;
    }

    static TestDir* collection_;
    const TRezeptImportProz proz{};
    SearchPathList paths;
    RecipeListModel list;
    RecipeReader reader{proz, dir.dir(), paths, list};
    int reads = 0;
};

TestDir* RecipeReading::collection_ = nullptr;

} // namespace

TEST_F(RecipeReading, ThisThreadServesEventsWhileTheWorkerReadsAndGetsTheSameList)
{
    // Ticks of a zero timer counted while the read runs: each one is the event loop at work.
    int ticksWhileReading = 0;
    QTimer ticker;
    ticker.setInterval(0);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (reader.reading())
            ++ticksWhileReading;
    });
    std::vector<std::size_t> progress;
    QObject::connect(&reader, &RecipeReader::progress,
                     [&](std::size_t entries) { progress.push_back(entries); });
    ticker.start();

    reader.reload();
    EXPECT_TRUE(reader.reading());
    EXPECT_EQ(list.entryCount(), 0) << "the old list goes before the read";
    ASSERT_TRUE(waitForReads(1));
    ticker.stop();

    EXPECT_GT(ticksWhileReading, 0) << "no event was served during the read";
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front(), 0u);
    EXPECT_EQ(reads, 1);

    // The same entries in the same order as the scan gives on this thread.
    RecipeScan scan(proz, dir.dir());
    const std::vector<std::string> expected = names(scan.readAll(paths));
    ASSERT_EQ(expected.size(), 20000u);
    EXPECT_EQ(names(list.entries()), expected);
}

TEST_F(RecipeReading, ReloadsAskedForDuringAReadRunOnceAfterIt)
{
    reader.reload();
    ASSERT_TRUE(reader.reading());
    reader.reload();
    reader.reload();
    // The search paths change meanwhile: the queued read sees the change, the running one not.
    dir.write("mehr/REZ99999.DAT", recipegen::RecipeBlock(3, 1));
    paths.add(dir.dir() + "mehr/", true);

    ASSERT_TRUE(waitForReads(2));
    EXPECT_EQ(reads, 2) << "the queued reload ran once";
    EXPECT_EQ(list.entryCount(), 20001);
    // Nothing else follows.
    QCoreApplication::processEvents();
    EXPECT_FALSE(reader.reading());
    EXPECT_EQ(reads, 2);
}

// The window shows the progress in the status bar while it reads; its reader goes before the
// processor and the list it reads with.
TEST_F(RecipeReading, TheWindowShowsTheProgressAndClosingDuringAReadStopsTheWorker)
{
    SettingsStore::setDefaultFileName(QString::fromStdString(dir.dir() + "registry.conf"));
    open(window_test::kNever);
    window->searchPaths().add(collection_->dir() + "kantine/", true);
    postWindowMessage(window.get(), MSG_RELOAD_RECIPES);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->readingRecipes(); }));
    EXPECT_TRUE(
        window->statusBar()->currentMessage().endsWith(QStringLiteral(" Rezepte gelesen...")));
    waitForRead();
    EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());

    window->reloadRecipes();
    ASSERT_TRUE(window->readingRecipes());
    window->close();
    window.reset(); // waits for the worker
    SettingsStore::setDefaultFileName(QString());
}
