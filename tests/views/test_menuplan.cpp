// The menu plan on real list grids, without the main window: entering and leaving the plan,
// free rows, reconciling after a read, portion changes, moved rows, the requirements rows
// filled through posted messages and the warning strip.
#include "grid/astringgrid.h"
#include "grid/stringgridmodel.h"
#include "recipe/recipe_fixture.h"
#include "support/testdir.h"
#include "views/menuplan.h"
#include "views/menuplangrids.h"
#include "views/recipelistmodel.h"
#include "views/recipelistview.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace kovanta;
using fixture::Article;
using fixture::Text;

class MenuPlanTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        list_.SetColCount(kRecipeListColumns);
        // Editing is the editor's business; here the tests report its events themselves.
        const GridOptions plain = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine;
        plan_.SetOptions(plain);
        requirements_.SetOptions(plain);
        plan_.SetColCount(plancols::kPlanColumns);
        plan_.SetRowCount(kPlanRows);
        requirements_.SetColCount(plancols::kRequirementColumns);
        requirements_.SetRowCount(2);
        panel_.hide();

        MenuPlan::Hooks hooks;
        hooks.planTabCurrent = [this] { return onPlanTab_; };
        hooks.currentRecipe = [this] { return view_.currentIndex(); };
        hooks.planMarksChanged = [this] { ++markChanges_; };
        hooks.previewRefreshNeeded = [this] { ++previewRefreshes_; };
        hooks.postFillRequirementRow = [this](int row) { posted_.push_back(row); };
        hooks.showMessage = [this](const QString& text) { messages_.push_back(text); };
        menuPlan_ = std::make_unique<MenuPlan>(proz_, recipes_, planRef_, requirementsRef_,
                                               &panel_, hooks);
    }

    // A recipe file with the given stored portions and body; returns its path.
    std::string RecipeFile(const std::string& name, int portions,
                           const std::vector<std::string>& body, const std::string& shortName)
    {
        fixture::Head head;
        head.portions = portions;
        head.shortName = shortName;
        std::vector<std::string> lines = fixture::Block(head, body);
        lines.push_back("^^");
        return dir_.write(name, fixture::Join(lines));
    }

    // Replaces the recipe list by the recipes of the given files, as a new read does (a file
    // that cannot be read gives none).
    void ReadList(const std::vector<std::string>& files)
    {
        RecipeListModel::Entries entries;
        for (const std::string& file : files) {
            RecipeList read;
            proz_.ReadRecipeIndex(file, read);
            if (!read.empty())
                entries.push_back(std::move(read.front().Entry));
        }
        recipes_.setEntries(std::move(entries));
    }

    void Toggle(int listRow)
    {
        list_.SetRow(listRow);
        menuPlan_->TogglePlan();
    }

    // Runs the posted fill messages, as the window's event loop would.
    void RunPosted()
    {
        while (!posted_.empty()) {
            const int row = posted_.front();
            posted_.pop_front();
            menuPlan_->FillRequirementRow(row);
        }
    }

    // The requirements grid as the cook reads it: "Menge|Einheit|Artikel" per data row.
    std::vector<std::string> Requirements() const
    {
        std::vector<std::string> rows;
        for (int row = 1; row < requirements_.RowCount(); ++row)
            rows.push_back(requirements_.GetCell(1, row) + "|" + requirements_.GetCell(2, row) +
                           "|" + requirements_.GetCell(3, row));
        return rows;
    }

    std::vector<int> OccupiedPlanRows() const
    {
        std::vector<int> rows;
        for (int row = 1; row < plan_.RowCount(); ++row) {
            if (menuPlan_->PlanEntry(row))
                rows.push_back(row);
        }
        return rows;
    }

    // Types portions into plan row as the editor reports it: the cell text, then the exit.
    void TypePortions(int row, const std::string& text)
    {
        plan_.SetRow(row);
        plan_.SetCell(plancols::kPlanPortions, row, text);
        std::string t = text;
        menuPlan_->OnExitEdit(plancols::kPlanPortions, row, t);
        RunPosted();
    }

    TestDir dir_;
    TRezeptImportProz proz_;
    TAStringGrid list_, plan_, requirements_;
    ListGridRef planRef_{&plan_}, requirementsRef_{&requirements_};
    RecipeListModel recipes_;
    RecipeListView view_{&list_, recipes_};
    QLabel panel_{QStringLiteral("Alternativartikel enthalten!!!")};
    bool onPlanTab_ = true;
    int markChanges_ = 0;
    int previewRefreshes_ = 0;
    std::deque<int> posted_;
    std::vector<QString> messages_;
    std::unique_ptr<MenuPlan> menuPlan_;
};

TEST_F(MenuPlanTest, ToggleAddsAtFirstFreeRowAndRemovesEveryRowOfTheRecipe)
{
    const std::string a = RecipeFile("REZ00001.DAT", 10, {}, "Gulasch");
    const std::string b = RecipeFile("REZ00002.DAT", 4, {}, "Suppe");
    ReadList({a, b});

    plan_.SetRow(3);
    Toggle(1);
    EXPECT_EQ(OccupiedPlanRows(), (std::vector<int>{3}));
    EXPECT_EQ(plan_.GetCell(1, 3), "10");
    EXPECT_EQ(plan_.GetCell(2, 3), "Gulasch");
    EXPECT_EQ(plan_.GetCell(3, 3), "Fleisch");
    EXPECT_EQ(list_.GetCell(1, 1), "1");
    EXPECT_TRUE(recipes_.anyInPlan());

    // The next free row from the plan's current row on: 4, not 1.
    Toggle(2);
    EXPECT_EQ(OccupiedPlanRows(), (std::vector<int>{3, 4}));

    // A second copy of Gulasch further down (the plan may hold a recipe twice, e.g. after it
    // was added, removed and added again elsewhere in older plans): both rows leave.
    menuPlan_->PutRecipe(20, *recipes_.entry(0));
    plan_.SetCell(1, 3, "25"); // typed by the cook

    Toggle(1);
    EXPECT_EQ(OccupiedPlanRows(), (std::vector<int>{4}));
    for (int col = 0; col < plancols::kPlanColumns; ++col) {
        EXPECT_EQ(plan_.GetCell(col, 3), "");
        EXPECT_EQ(plan_.GetCell(col, 20), "");
    }
    EXPECT_EQ(list_.GetCell(1, 1), "0");
    EXPECT_EQ(markChanges_, 3);

    Toggle(2);
    EXPECT_FALSE(recipes_.anyInPlan());
    EXPECT_TRUE(messages_.empty());
}

TEST_F(MenuPlanTest, NoFreeRowFromTheSelectedRowOn)
{
    const std::string a = RecipeFile("REZ00001.DAT", 10, {}, "Gulasch");
    const std::string b = RecipeFile("REZ00002.DAT", 4, {}, "Suppe");
    ReadList({a, b});
    // Rows 10-50 occupied by copies of Suppe, rows 1-9 free, selection on row 10.
    for (int row = 10; row < kPlanRows; ++row)
        menuPlan_->PutRecipe(row, *recipes_.entry(1));
    plan_.SetRow(10);
    Toggle(1);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], QStringLiteral("Keine Freie Zeile ab der selektierten Zeile mehr "
                                           "gefunden"));
    // The recipe is not in the plan, and its mark says so.
    EXPECT_EQ(recipes_.entry(0)->InPlan, 0);
    EXPECT_EQ(list_.GetCell(1, 1), "0");
    EXPECT_EQ(OccupiedPlanRows().front(), 10);

    // From row 9 on there is room.
    plan_.SetRow(9);
    Toggle(1);
    EXPECT_EQ(OccupiedPlanRows().front(), 9);
    EXPECT_EQ(list_.GetCell(1, 1), "1");
}

TEST_F(MenuPlanTest, ToggleActsOnlyOnThePlanTabAndOnRowsWithEntry)
{
    ReadList({RecipeFile("REZ00001.DAT", 10, {}, "Gulasch")});
    onPlanTab_ = false;
    Toggle(1);
    EXPECT_TRUE(OccupiedPlanRows().empty());
    onPlanTab_ = true;
    ReadList({dir_.dir() + "REZ00404.DAT"}); // the list's one row has no entry
    Toggle(1);
    EXPECT_TRUE(OccupiedPlanRows().empty());
    EXPECT_EQ(markChanges_, 0);
}

TEST_F(MenuPlanTest, PortionsRecomputeTheRequirementsThroughPostedRows)
{
    const std::string a =
        RecipeFile("REZ00001.DAT", 10, {Article("150", "1", "kg", "Mehl")}, "Brot");
    const std::string b =
        RecipeFile("REZ00002.DAT", 10,
                   {Article("150", "1", "kg", "Mehl"), Article("5000", "1", "g", "Hefe")}, "Zopf");
    ReadList({a, b});
    plan_.SetRow(1);
    Toggle(1);
    Toggle(2);

    plan_.SetRow(1);
    std::string text = "20";
    plan_.SetCell(1, 1, text);
    menuPlan_->OnExitEdit(plancols::kPlanPortions, 1, text);
    // Rows exist with their entries, but their cells are filled only by the posted messages.
    EXPECT_EQ(posted_, (std::deque<int>{1, 2}));
    EXPECT_EQ(requirements_.RowCount(), 3);
    EXPECT_EQ(requirements_.GetCell(3, 2), "");
    RunPosted();
    EXPECT_EQ(Requirements(),
              (std::vector<std::string>{"      4,500|kg|Mehl", "     50,000|g|Hefe"}));
    EXPECT_EQ(dynamic_cast<TGridInfo1*>(plan_.Objects(0, 1))->PortionText, "20");
    EXPECT_EQ(previewRefreshes_, 3); // two additions, one portion change

    TypePortions(2, "30");
    EXPECT_EQ(Requirements(),
              (std::vector<std::string>{"      7,500|kg|Mehl", "    150,000|g|Hefe"}));

    // The same text again, another column, a row that is not current: nothing happens.
    const int before = previewRefreshes_;
    menuPlan_->OnExitEdit(plancols::kPlanPortions, 2, text = "30");
    menuPlan_->OnExitEdit(plancols::kPlanName, 2, text = "40");
    menuPlan_->OnExitEdit(plancols::kPlanPortions, 1, text = "40");
    menuPlan_->OnLeaveRowInput(2, false);
    EXPECT_TRUE(posted_.empty());
    EXPECT_EQ(previewRefreshes_, before);

    // Portions 0: the recipe's articles leave the list, the row stays in the plan. A negative
    // count is passed on.
    TypePortions(1, "0");
    EXPECT_EQ(Requirements(),
              (std::vector<std::string>{"      4,500|kg|Mehl", "    150,000|g|Hefe"}));
    EXPECT_EQ(OccupiedPlanRows(), (std::vector<int>{1, 2}));
    TypePortions(1, "-10");
    EXPECT_EQ(Requirements(),
              (std::vector<std::string>{"      3,000|kg|Mehl", "    150,000|g|Hefe"}));

    // Leaving a changed row recomputes whatever the cell-exit report said.
    plan_.SetCell(1, 1, "10");
    menuPlan_->OnLeaveRowInput(1, true);
    RunPosted();
    EXPECT_EQ(Requirements(),
              (std::vector<std::string>{"      6,000|kg|Mehl", "    150,000|g|Hefe"}));

    // An empty plan: one empty row; old texts are emptied by its fill message.
    Toggle(1);
    Toggle(2);
    menuPlan_->Recompute();
    RunPosted();
    EXPECT_EQ(Requirements(), (std::vector<std::string>{"||"}));
}

TEST_F(MenuPlanTest, MovedRowsChangeTheOrderOfTheRequirements)
{
    const std::string a = RecipeFile("REZ00001.DAT", 1, {Article("100", "1", "kg", "Reis")}, "A");
    const std::string b = RecipeFile("REZ00002.DAT", 1, {Article("100", "1", "kg", "Hirse")}, "B");
    ReadList({a, b});
    plan_.SetRow(1);
    Toggle(1);
    Toggle(2);
    menuPlan_->Recompute();
    RunPosted();
    EXPECT_EQ(Requirements(),
              (std::vector<std::string>{"      1,000|kg|Reis", "      1,000|kg|Hirse"}));
    plan_.GridModel()->moveGridRow(2, 1);
    EXPECT_EQ(plan_.GetCell(2, 1), "B");
    menuPlan_->Recompute();
    RunPosted();
    EXPECT_EQ(Requirements(),
              (std::vector<std::string>{"      1,000|kg|Hirse", "      1,000|kg|Reis"}));
}

TEST_F(MenuPlanTest, WarningStripFollowsEachComputation)
{
    const std::string plain =
        RecipeFile("REZ00001.DAT", 4, {Article("100", "1", "kg", "Reis")}, "Reis");
    const std::string alt = RecipeFile("REZ00002.DAT", 4,
                                       {Article("25", "1", "kg", "Butter"), Text("", "oder^"),
                                        Article("25", "1", "kg", "Margarine")},
                                       "Kuchen");
    ReadList({plain, alt});
    plan_.SetRow(1);
    Toggle(1);
    menuPlan_->Recompute();
    EXPECT_TRUE(panel_.isHidden());
    EXPECT_FALSE(menuPlan_->alternativesFound());

    Toggle(2);
    menuPlan_->Recompute();
    RunPosted();
    EXPECT_FALSE(panel_.isHidden());
    EXPECT_TRUE(menuPlan_->alternativesFound());
    EXPECT_EQ(Requirements(),
              (std::vector<std::string>{"      1,000|kg|Reis", "      0,250|kg|Butter",
                                        "      0,250|kg|Margarine"}));

    Toggle(2);
    menuPlan_->Recompute();
    EXPECT_TRUE(panel_.isHidden());
    EXPECT_FALSE(menuPlan_->alternativesFound());
}

TEST_F(MenuPlanTest, ReconcileKeepsRecipesFoundAgainAndDropsTheOthers)
{
    const std::string a = RecipeFile("REZ00001.DAT", 10, {Article("100", "1", "kg", "Reis")}, "A");
    const std::string b = RecipeFile("REZ00002.DAT", 10, {Article("100", "1", "kg", "Hirse")}, "B");
    ReadList({a, b});
    plan_.SetRow(1);
    Toggle(1);
    Toggle(2);
    TypePortions(2, "30");
    ASSERT_EQ(Requirements(),
              (std::vector<std::string>{"      1,000|kg|Reis", "      3,000|kg|Hirse"}));

    // A new read: A's file is gone, B is found again at another list row.
    std::filesystem::remove(a);
    const std::string c = RecipeFile("REZ00003.DAT", 10, {}, "C");
    const std::string d = RecipeFile("REZ00004.DAT", 10, {}, "D");
    ReadList({c, d, b});
    EXPECT_EQ(list_.GetCell(1, 3), "0");
    menuPlan_->Reconcile();

    EXPECT_EQ(OccupiedPlanRows(), (std::vector<int>{2}));
    EXPECT_EQ(plan_.GetCell(1, 1), "");
    EXPECT_EQ(plan_.GetCell(1, 2), "30"); // typed portions stay
    EXPECT_EQ(plan_.GetCell(2, 2), "B");
    EXPECT_EQ(list_.GetCell(1, 3), "1");
    EXPECT_EQ(recipes_.entry(2)->InPlan, 1);
    EXPECT_EQ(list_.GetCell(1, 1), "0");
    EXPECT_TRUE(recipes_.anyInPlan());
    // The requirements no longer hold the recipe that is gone.
    RunPosted();
    EXPECT_EQ(Requirements(), (std::vector<std::string>{"      3,000|kg|Hirse"}));

    // Toggling B now takes it out of the plan.
    Toggle(3);
    EXPECT_TRUE(OccupiedPlanRows().empty());
}

TEST_F(MenuPlanTest, DoubleClickOnRowsToggleButNotOnTheHeader)
{
    const std::string a = RecipeFile("REZ00001.DAT", 10, {}, "Gulasch");
    const std::string b = RecipeFile("REZ00002.DAT", 4, {}, "Suppe");
    ReadList({a, b});
    list_.SetColNames(
        TColNames{"|20|0|1|1|", " S|19|X|1|1|", "Rezept|100|L|1|0|", "Rezeptgruppe|100|L|1|0|"});
    list_.SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRowSelect);
    list_.SortAutomatik = false;
    int toggles = 0;
    InstallTogglePlanTriggers(list_, [&] {
        ++toggles;
        menuPlan_->TogglePlan();
    });
    list_.resize(400, 200);
    list_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list_));

    const QRect cell = list_.CellRect(2, 2);
    QTest::mouseDClick(list_.viewport(), Qt::LeftButton, {},
                       list_.viewport()->mapFrom(&list_, cell.center()));
    EXPECT_EQ(OccupiedPlanRows().size(), 1u);
    EXPECT_EQ(list_.GetCell(1, 2), "1");

    QWidget* header = list_.horizontalHeader()->viewport();
    QTest::mouseDClick(header, Qt::LeftButton, {},
                       header->mapFrom(&list_, list_.CellRect(2, 0).center()));
    EXPECT_EQ(OccupiedPlanRows().size(), 1u);

    QTest::keyClick(&list_, Qt::Key_Space);
    EXPECT_EQ(toggles, 2);
    EXPECT_TRUE(OccupiedPlanRows().empty());
    list_.hide();
}

} // namespace
