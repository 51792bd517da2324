#include "grid/astringgrid.h"
#include "platform/qt/settingsstore.h"
#include "shell/gridsetup.h"
#include "support/testdir.h"

#include <QHeaderView>
#include <QWidget>

#include <gtest/gtest.h>

using namespace kovanta;

// What the three lists of the main window rest on: the recipe list selects rows and has no
// editor (its S column is no check box the grid toggles), the plan edits whole portions, the
// requirements list quantities with three decimals.
TEST(GridSetup, ThreeListGridsAreConfiguredAsTheWindowNeedsThem)
{
    TestDir dir;
    SettingsStore::setDefaultFileName(QString::fromStdString(dir.dir() + "r.conf"));
    {
        QWidget window;
        window.setObjectName(QStringLiteral("SDIAppForm"));
        TAStringGrid* list = CreateListGrid(QStringLiteral("StringGrid1"), &window);
        TAStringGrid* plan = CreateListGrid(QStringLiteral("StringGrid2"), &window);
        TAStringGrid* req = CreateListGrid(QStringLiteral("StringGrid3"), &window);

        EXPECT_EQ(list->ColCount(), 13);
        EXPECT_EQ(list->GetCell(4, 0), "Portionen");
        EXPECT_EQ(list->DatenTyp(), "0XLL0000000L0");
        EXPECT_TRUE(list->hasOption(goRowSelect));
        EXPECT_FALSE(list->hasOption(goEditing));
        EXPECT_FALSE(list->AutoColResize);
        EXPECT_EQ(list->HideSelColor, clHighlight);

        EXPECT_EQ(plan->RowCount(), 51);
        EXPECT_EQ(plan->ReadOnly(), "10111");
        EXPECT_EQ(plan->DatenTyp()[1], '0');
        EXPECT_TRUE(plan->verticalHeader()->sectionsMovable());
        EXPECT_EQ(req->RowCount(), 51);
        EXPECT_EQ(req->DatenTyp()[1], '3');
        EXPECT_EQ(req->ReadOnly(), "10111");
        for (TAStringGrid* g : {list, plan, req}) {
            EXPECT_EQ(g->DefaultRowHeight(), 18);
            EXPECT_TRUE(g->MitZeilenFinder());
            EXPECT_EQ(g->ZeilFindColor(), 15132390);
            EXPECT_TRUE(g->AutoColumnWidths());
            EXPECT_FALSE(g->SaveSettings.SaveHeight || g->SaveSettings.SaveWidth);
            EXPECT_EQ(g->SaveSettings.EffectiveKey.section(QLatin1Char('\\'), 2),
                      QStringLiteral("SDIAppForm"));
        }
    }
    SettingsStore::setDefaultFileName({});
}
