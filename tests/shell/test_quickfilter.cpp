// The quick filter above the recipe list in the main window: typing, the count, Esc, Ctrl+F,
// and that sorting, a new read, the current row and the plan toggle work on the shown rows.
#include "recipefixtures.h"
#include "shell/gridsetup.h"
#include "shell/recipefilterbar.h"
#include "support/mainwindowdriver.h"
#include "views/recipelistmodel.h"
#include "views/recipelistview.h"

#include <QLabel>
#include <QLineEdit>

#include <algorithm>

using namespace kovanta;

namespace {

class QuickFilterTest : public window_test::MainWindowDriver {
protected:
    void SetUp() override
    {
        // Names in the recipe files' DOS code page: ü is 0x81.
        dir.write("REZ00001.DAT", shelltest::singleRecipeFile({"Gulasch", "Fleisch", 10, 512, 1}));
        dir.write("REZ00002.DAT",
                  shelltest::singleRecipeFile({"M\x81sli", "Fr\x81hst\x81" "ck", 4, 300, 2}));
        dir.write("REZ00003.DAT", shelltest::singleRecipeFile({"Sahnetorte", "Kuchen", 12, 420, 3}));
        dir.write("REZ00004.DAT", shelltest::singleRecipeFile({"Kuchen", "Backwaren", 8, 380, 4}));
        open();
        start();
    }

    RecipeFilterBar* bar() const { return window->tabs()->recipeFilter(); }
    QLineEdit* field() const { return bar()->field(); }
    QString count() const { return bar()->countLabel()->text(); }

    // Types into the field key by key (letters the test's key table lacks, such as umlauts,
    // arrive as typed text).
    void Type(const char* text)
    {
        field()->setFocus();
        for (const QChar c : QString::fromUtf8(text)) {
            if (c.unicode() < 0x80)
                QTest::keyClick(field(), c.toLatin1());
            else
                field()->insert(QString(c));
        }
        QCoreApplication::processEvents();
    }

    // The names of the shown rows, top to bottom (ANSI as the grid holds them).
    std::vector<std::string> Shown() const
    {
        std::vector<std::string> names;
        for (int row = 1; row < list()->RowCount(); ++row) {
            if (!list()->isRowHidden(row - 1))
                names.push_back(list()->GetCell(2, row));
        }
        return names;
    }
};

using Names = std::vector<std::string>;

TEST_F(QuickFilterTest, TypedWordsFilterNameAndGroupWithTheCount)
{
    EXPECT_EQ(field()->placeholderText(), QStringLiteral("Suchen"));
    EXPECT_EQ(count(), QStringLiteral("4 von 4"));
    Type("kuch");
    // In the group of one, the name of the other; the list's order is kept.
    Names shown = Shown();
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, (Names{"Kuchen", "Sahnetorte"}));
    EXPECT_EQ(count(), QStringLiteral("2 von 4"));

    Type(" TORTE");
    EXPECT_EQ(Shown(), Names{"Sahnetorte"});
    EXPECT_EQ(count(), QStringLiteral("1 von 4"));

    // Umlauts typed either way.
    field()->clear();
    Type("muesli");
    EXPECT_EQ(Shown(), Names{"M\xFCsli"});
    field()->clear();
    Type("frühst");
    EXPECT_EQ(Shown(), Names{"M\xFCsli"});

    Type(" x");
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(count(), QStringLiteral("0 von 4"));

    // Esc clears and shows everything again.
    QTest::keyClick(field(), Qt::Key_Escape);
    EXPECT_TRUE(field()->text().isEmpty());
    EXPECT_EQ(Shown().size(), 4u);
    EXPECT_EQ(count(), QStringLiteral("4 von 4"));
}

TEST_F(QuickFilterTest, CtrlFGoesToTheFieldAndEnterToTheList)
{
    list()->setFocus();
    QCoreApplication::processEvents();
    field()->setText(QStringLiteral("alt"));
    QTest::keyClick(list(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(field()->hasFocus());
    EXPECT_EQ(field()->selectedText(), QStringLiteral("alt")); // typing replaces it
    QTest::keyClicks(field(), QStringLiteral("gul"));
    EXPECT_EQ(Shown(), Names{"Gulasch"});
    QTest::keyClick(field(), Qt::Key_Return);
    EXPECT_TRUE(list()->hasFocus());
    EXPECT_EQ(list()->GetCell(2, list()->Row()), "Gulasch");
}

TEST_F(QuickFilterTest, SortingAndANewReadKeepTheFilter)
{
    Type("k"); // Kuchen, Sahnetorte (Kuchen), Müsli (Frühstück), not Gulasch (Fleisch)
    ASSERT_EQ(Shown().size(), 3u);
    list()->SortColumn(2); // "Rezept" ascending
    EXPECT_EQ(Shown(), (Names{"Kuchen", "M\xFCsli", "Sahnetorte"}));
    list()->SortColumn(2); // descending
    EXPECT_EQ(Shown(), (Names{"Sahnetorte", "M\xFCsli", "Kuchen"}));
    EXPECT_TRUE(list()->isRowHidden(rowOf("Gulasch") - 1));

    // The row finder shades every other shown row, whatever lies hidden between them.
    ASSERT_TRUE(list()->RowFinderPosition);
    std::vector<int> places;
    for (int row = 1; row < list()->RowCount(); ++row) {
        if (!list()->isRowHidden(row - 1))
            places.push_back(list()->RowFinderPosition(row));
    }
    EXPECT_EQ(places, (std::vector<int>{1, 2, 3}));

    // A new read with one more recipe: still filtered, and counted. The recipe that was
    // current is read again under a name the filter hides: a shown row becomes current.
    list()->SetRow(rowOf("Kuchen"));
    dir.write("REZ00004.DAT", shelltest::singleRecipeFile({"Brot", "Brote", 8, 380, 4}));
    dir.write("REZ00005.DAT", shelltest::singleRecipeFile({"Apfelkuchen", "Kuchen", 12, 400, 5}));
    reread();
    EXPECT_EQ(field()->text(), QStringLiteral("k"));
    EXPECT_EQ(Shown().size(), 3u);
    EXPECT_TRUE(list()->isRowHidden(rowOf("Gulasch") - 1));
    EXPECT_TRUE(list()->isRowHidden(rowOf("Brot") - 1));
    EXPECT_FALSE(list()->isRowHidden(rowOf("Apfelkuchen") - 1));
    EXPECT_EQ(count(), QStringLiteral("3 von 5"));
    ASSERT_TRUE(list()->currentIndex().isValid());
    EXPECT_FALSE(list()->isRowHidden(list()->currentIndex().row()));
}

TEST_F(QuickFilterTest, ThePlanTakesOnlyShownRecipes)
{
    chooseTab(TabMenuPlan);
    list()->SetRow(rowOf("Gulasch"));
    Type("torte");
    // The current row was hidden: the first shown row is current now.
    EXPECT_EQ(list()->GetCell(2, list()->Row()), "Sahnetorte");
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([&] { return plan()->GetCell(2, 1) == "Sahnetorte"; }));

    // Nothing shown: the space key plans nothing, though the grid still has a first row.
    field()->clear();
    Type("nichts dergleichen");
    EXPECT_TRUE(Shown().empty());
    EXPECT_FALSE(list()->currentIndex().isValid());
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Space);
    QTest::qWait(50);
    EXPECT_EQ(plan()->GetCell(2, 2), "");
    for (int row = 1; row < list()->RowCount(); ++row) {
        const std::string name = list()->GetCell(2, row);
        EXPECT_EQ(list()->GetCell(1, row), name == "Sahnetorte" ? "1" : "0") << name;
    }
}

// The list grid, its view and its model alone, the entries in a known order: the read that
// follows a filter leaves a shown row current at once (the preview follows the current row).
TEST(QuickFilterRead, ANewReadNeverMakesAHiddenRowCurrent)
{
    const auto entries = [](std::vector<std::pair<const char*, const char*>> recipes) {
        RecipeListModel::Entries out;
        for (const auto& [name, file] : recipes) {
            auto e = std::make_unique<TImpListInfo>();
            e->ShortName = name;
            e->FileName = file;
            out.push_back(std::move(e));
        }
        return out;
    };
    RecipeListModel model;
    QWidget window;
    window.setObjectName(QStringLiteral("SDIAppForm"));
    TAStringGrid* grid = CreateListGrid(QStringLiteral("StringGrid1"), &window);
    grid->SaveSettings.AutoSave = false;
    RecipeListView view(grid, model);
    RecipeFilterBar bar(&window);
    bar.setList(&view);
    model.setEntries(entries({{"Gulasch", "/r/REZ1.DAT"}, {"Kuchen", "/r/REZ2.DAT"}}));
    bar.field()->setText(QStringLiteral("kuchen"));
    ASSERT_EQ(grid->GetCell(2, grid->Row()), "Kuchen");

    // The current recipe comes back under a name the filter hides.
    model.setEntries(entries(
        {{"Gulasch", "/r/REZ1.DAT"}, {"Brot", "/r/REZ2.DAT"}, {"Apfelkuchen", "/r/REZ3.DAT"}}));
    ASSERT_TRUE(grid->currentIndex().isValid());
    EXPECT_EQ(grid->GetCell(2, grid->Row()), "Apfelkuchen");
    EXPECT_EQ(bar.countLabel()->text(), QStringLiteral("1 von 3"));

    // Nothing shown: no current row.
    bar.field()->setText(QStringLiteral("nichts"));
    model.setEntries(entries({{"Gulasch", "/r/REZ1.DAT"}}));
    EXPECT_FALSE(grid->currentIndex().isValid());
}

} // namespace
