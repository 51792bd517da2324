#include "grid/ainplaceedit.h"
#include "platform/qt/settingsstore.h"
#include "shell/gridsetup.h"
#include "shell/hemispherebutton.h"
#include "shell/recipefixtures.h"
#include "shell/tablayout.h"
#include "shell/tsdiappform.h"
#include "support/screenshot.h"
#include "support/testdir.h"
#include "views/recipelistmodel.h"

#include <QApplication>
#include <QHeaderView>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using namespace kovanta;

namespace {

// The main window on a program directory with three recipes, after "Programmstart".
class GridSetupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SettingsStore::setDefaultFileName(QString::fromStdString(settingsDir.dir() + "r.conf"));
        dir.write("REZ00001.DAT", shelltest::singleRecipeFile({"Linsensuppe", "Suppen", 20, 230}));
        dir.write("REZ00002.DAT", shelltest::singleRecipeFile({"Gulasch", "Fleisch", 10, 512}));
        dir.write("REZ00003.DAT",
                  shelltest::singleRecipeFile({"Apfelkuchen", "Backwaren", 9, 300}));
    }
    void TearDown() override
    {
        window.reset();
        SettingsStore::setDefaultFileName({});
    }

    void open()
    {
        ShellOptions options;
        options.programDirectory = QString::fromStdString(dir.dir());
        options.startDelayMs = 0;
        window = std::make_unique<TSDIAppForm>(options);
        window->resize(1000, 600);
        window->show();
        auto* start = window->findChild<HemisphereButton*>(QStringLiteral("HemisphereButton16"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return start->isEnabled(); }));
        QTest::mouseClick(start, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->tabs()->isVisible(); }));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->readingRecipes(); }));
    }

    TAStringGrid* grid(const char* name) const
    {
        return window->findChild<TAStringGrid*>(QString::fromUtf8(name));
    }

    TestDir settingsDir;
    TestDir dir;
    std::unique_ptr<TSDIAppForm> window;
};

} // namespace

TEST_F(GridSetupTest, ThreeListGridsAreConfiguredAsTheWindowNeedsThem)
{
    open();
    TAStringGrid* list = grid("StringGrid1");
    TAStringGrid* plan = grid("StringGrid2");
    TAStringGrid* req = grid("StringGrid3");
    ASSERT_TRUE(list && plan && req);

    EXPECT_EQ(list->ColCount(), 13);
    EXPECT_EQ(list->GetCell(1, 0), " S");
    EXPECT_EQ(list->GetCell(4, 0), "Portionen");
    EXPECT_EQ(list->DatenTyp(), "0XLL0000000L0");
    EXPECT_EQ(list->DatenTyp()[1], 'X');
    EXPECT_TRUE(list->hasOption(goRowSelect));
    EXPECT_FALSE(list->hasOption(goEditing));
    EXPECT_FALSE(list->AutoColResize);
    EXPECT_EQ(list->HideSelColor, clHighlight);

    EXPECT_EQ(plan->RowCount(), 51);
    EXPECT_EQ(plan->ColCount(), 5);
    EXPECT_EQ(plan->ReadOnly(), "10111");
    EXPECT_TRUE(plan->hasOption(goRowMoving));
    EXPECT_TRUE(plan->verticalHeader()->sectionsMovable());
    EXPECT_EQ(req->RowCount(), 51);
    EXPECT_EQ(req->DatenTyp()[1], '3');
    EXPECT_EQ(req->ReadOnly(), "10111");
    for (TAStringGrid* g : {list, plan, req}) {
        EXPECT_EQ(g->DefaultRowHeight(), 18);
        EXPECT_EQ(g->ZeilFindColor(), 15132390);
        EXPECT_FALSE(g->SaveSettings.SaveHeight || g->SaveSettings.SaveWidth);
        EXPECT_EQ(g->SaveSettings.EffectiveKey.section(QLatin1Char('\\'), 2),
                  QStringLiteral("SDIAppForm"));
    }
    // Sorted by "Portionen" with a row selected, as in the picture kept in docs/.
    list->SortColumn(4, 0);
    list->SetCurrentCell(2, 2);
    EXPECT_EQ(list->GetCell(4, 2), "10");
    screenshot("grid-recipe-list");
}

TEST_F(GridSetupTest, RecipeListRowsCarryTheirEntriesThroughSorting)
{
    open();
    TAStringGrid* list = grid("StringGrid1");
    ASSERT_GE(list->RowCount(), 4);
    std::vector<std::string> names;
    for (int row = 1; row <= 3; ++row) {
        const auto* e = dynamic_cast<const TImpListInfo*>(list->Objects(0, row));
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(list->GetCell(2, row), e->ShortName);
        EXPECT_EQ(list->GetCell(4, row), std::to_string(e->Portions));
        EXPECT_EQ(list->GetCell(1, row), "0");
        names.push_back(e->ShortName);
    }
    list->SortColumn(4, 0); // "Portionen" ascending: 9, 10, 20
    EXPECT_EQ(list->GetCell(2, 1), "Apfelkuchen");
    EXPECT_EQ(list->GetCell(4, 1), "9");
    EXPECT_EQ(list->GetCell(4, 3), "20");
    EXPECT_EQ(dynamic_cast<const TImpListInfo*>(list->Objects(0, 3))->ShortName, "Linsensuppe");
    // The grid row leads to its entry, wherever sorting put it.
    int index = -1;
    for (int i = 0; i < window->recipeList()->entryCount(); ++i) {
        if (window->recipeList()->entry(i) == list->Objects(0, 1))
            index = i;
    }
    ASSERT_GE(index, 0);
    EXPECT_EQ(window->recipeList()->entry(index)->ShortName, "Apfelkuchen");

    // A changed plan mark is shown in the row where sorting put it.
    window->recipeList()->setMark(index, true);
    EXPECT_EQ(list->GetCell(1, 1), "1");
}

TEST_F(GridSetupTest, MenuPlanTakesPortionsAndMovesRows)
{
    open();
    window->tabs()->setCurrentIndex(TabMenuPlan);
    TAStringGrid* plan = grid("StringGrid2");
    plan->SetCell(2, 1, "Gulasch");
    plan->SetCell(1, 1, "10");
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    plan->setFocus();
    plan->SetCurrentCell(1, 1);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return plan->InplaceEditor() && plan->InplaceEditor()->hasFocus(); }));
    QTest::keyClicks(plan->InplaceEditor(), QStringLiteral("25"));
    EXPECT_EQ(plan->GetCell(1, 1), "25");
    plan->verticalHeader()->moveSection(0, 3);
    QCoreApplication::processEvents();
    EXPECT_EQ(plan->GetCell(2, 4), "Gulasch");
    EXPECT_EQ(plan->GetCell(1, 4), "25");
    // The current cell and its editor went with the row.
    EXPECT_EQ(plan->Row(), 4);
    EXPECT_EQ(plan->InplaceEditor()->Row(), 4);
    EXPECT_EQ(plan->InplaceEditor()->text(), QStringLiteral("25"));
    EXPECT_EQ(plan->GetCell(1, 1), "");
    screenshot("grid-menu-plan");
    window->tabs()->setCurrentIndex(TabRequirements);
    QCoreApplication::processEvents();
    screenshot("grid-requirements");
}
