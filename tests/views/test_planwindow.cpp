// The menu plan and the requirements list in the main window, driven as a cook would:
// "Programmstart", "Speiseplan", double-clicks on recipes, portions typed into the plan's
// editor, "Bedarfsliste", then reading what the requirements grid and the warning strip show.
#include "grid/ainplaceedit.h"
#include "platform/qt/ansiqstring.h"
#include "support/mainwindowdriver.h"

#include <QHeaderView>
#include <QLabel>

#include <filesystem>
#include <string>
#include <vector>

using namespace kovanta;
using fixture::Article;
using fixture::Text;

namespace {

class PlanWindowTest : public window_test::MainWindowDriver {
protected:
    void SetUp() override
    {
        writeRecipe("REZ00001.DAT", "Gulasch", 10,
                    {Article("150", "1", "kg", "Rindfleisch"), Article("50", "1", "kg", "Zwiebeln"),
                     Text("", "Salz^Pfeffer^")});
        writeRecipe("REZ00002.DAT", "Kuchen", 4,
                    {Article("25", "1", "kg", "Butter"), Text("", "oder^"),
                     Article("25", "1", "kg", "Margarine"), Article("50", "1", "kg", "Zwiebeln")});
        writeRecipe("REZ00003.DAT", "Suppe", 20, {Article("400", "1", "l", "Wasser")});
        // No side-panel or column width is stored: every panel fits its grid.
        open(50, QSize(1100, 700));
    }

    QLabel* panel() const { return child<QLabel>("AlternativPanel"); }
    QWidget* printButton() const { return child<QWidget>("HemisphereButton4"); }

    // Clicks the portions cell of a plan row and types text into the editor, then Enter.
    void TypePortions(int row, const char* text)
    {
        TAStringGrid* g = plan();
        // The editor comes on its own: no events are served between the click and the wait.
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                          g->viewport()->mapFrom(g, g->CellRect(1, row).center()));
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return g->InplaceEditor() && g->InplaceEditor()->isVisible() &&
                   g->InplaceEditor()->Row() == row && g->InplaceEditor()->Col() == 1;
        }));
        TAInplaceEdit* editor = g->InplaceEditor();
        editor->setFocus();
        editor->selectAll();
        QTest::keyClicks(editor, QString::fromUtf8(text));
        QTest::keyClick(editor, Qt::Key_Return);
        // The editor's exit and row-leave notices are posted: let them run.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    std::vector<std::string> RequirementRows() const
    {
        std::vector<std::string> rows;
        for (int row = 1; row < requirements()->RowCount(); ++row)
            rows.push_back(requirements()->GetCell(1, row) + "|" + requirements()->GetCell(2, row) +
                           "|" + requirements()->GetCell(3, row));
        return rows;
    }
};

} // namespace

TEST_F(PlanWindowTest, CookPlansTwoRecipesAndReadsTheRequirements)
{
    start();
    const int gulasch = rowOf("Gulasch"), kuchen = rowOf("Kuchen");
    ASSERT_GT(gulasch, 0);
    ASSERT_GT(kuchen, 0);
    // A look at the cake first: as stored.
    chooseTab(TabPreview);
    clickCell(list(), 2, kuchen);
    ASSERT_TRUE(QTest::qWaitFor([&] { return previewText().contains(QStringLiteral("Kuchen")); }));
    EXPECT_TRUE(previewText().contains(QStringLiteral("4 Portionen")));

    chooseTab(TabMenuPlan);
    EXPECT_TRUE(plan()->isVisible());
    EXPECT_FALSE(printButton()->isEnabled());
    clickCell(list(), 2, gulasch, true);
    clickCell(list(), 2, kuchen, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return plan()->GetCell(2, 2) == "Kuchen"; }));
    EXPECT_EQ(plan()->GetCell(2, 1), "Gulasch");
    EXPECT_EQ(plan()->GetCell(1, 1), "10"); // the stored portions, until the cook types
    EXPECT_EQ(plan()->GetCell(1, 2), "4");
    EXPECT_EQ(list()->GetCell(1, gulasch), "1");
    EXPECT_EQ(list()->GetCell(1, kuchen), "1");
    EXPECT_EQ(list()->GetCell(1, rowOf("Suppe")), "0");
    EXPECT_TRUE(printButton()->isEnabled());

    TypePortions(1, "20");
    TypePortions(2, "8");
    EXPECT_EQ(plan()->GetCell(1, 1), "20");
    EXPECT_EQ(plan()->GetCell(1, 2), "8");

    // The preview of the same row follows the typed count.
    chooseTab(TabPreview);
    EXPECT_TRUE(previewText().contains(QStringLiteral("8 Portionen")));
    EXPECT_TRUE(previewText().contains(QStringLiteral("0,5 kg Butter")));

    chooseTab(TabRequirements);
    ASSERT_TRUE(QTest::qWaitFor([&] { return requirements()->GetCell(3, 1) == "Rindfleisch"; }));
    // Gulasch x 2, Kuchen x 2; the onions of both in one row.
    EXPECT_EQ(RequirementRows(), (std::vector<std::string>{
                                     "      3,000|kg|Rindfleisch",
                                     "      2,000|kg|Zwiebeln",
                                     "      0,000||Salz",
                                     "      0,500|kg|Butter",
                                     "      0,500|kg|Margarine",
                                 }));
    EXPECT_TRUE(panel()->isVisible());
    EXPECT_EQ(panel()->text(), QStringLiteral("Alternativartikel enthalten!!!"));
    EXPECT_TRUE(plan()->isVisible()); // the plan fills the area at the left
    EXPECT_FALSE(list()->isVisible());

    // Kuchen leaves the plan: its articles and the warning go with the next computation.
    chooseTab(TabMenuPlan);
    clickCell(list(), 2, kuchen, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return plan()->GetCell(2, 2).empty(); }));
    EXPECT_EQ(list()->GetCell(1, kuchen), "0");
    chooseTab(TabRequirements);
    ASSERT_TRUE(QTest::qWaitFor([&] { return requirements()->RowCount() == 4; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(RequirementRows(),
              (std::vector<std::string>{"      3,000|kg|Rindfleisch", "      1,000|kg|Zwiebeln",
                                        "      0,000||Salz"}));
    EXPECT_FALSE(panel()->isVisible());
}

// Without stored widths, on the screens of a kitchen office: every caption whole, every text
// shown, the side panels as wide as their grids, the rest of the width to the text columns.
TEST_F(PlanWindowTest, ListsAreReadableAtTheDefaultLayout)
{
    writeRecipe("REZ00004.DAT", "Schokoladenpudding", 8,
          {Article("10", "1", "Packung", "Weizenmehl Type 405 aus Bayern")});
    start();
    chooseTab(TabMenuPlan);
    for (const char* name : {"Gulasch", "Kuchen", "Schokoladenpudding"})
        clickCell(list(), 2, rowOf(name), true);
    chooseTab(TabRequirements);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !requirements()->GetCell(3, 6).empty(); }));
    for (const QSize screen : {QSize(1366, 768), QSize(1920, 1080)}) {
        SCOPED_TRACE(screen.width());
        window->resize(screen);
        for (const int tab : {TabRecipeList, TabMenuPlan, TabRequirements}) {
            chooseTab(tab);
            QCoreApplication::processEvents();
            for (TAStringGrid* g : {list(), plan(), requirements()}) {
                if (!g->isVisible())
                    continue;
                SCOPED_TRACE(g->objectName().toStdString());
                int total = 0;
                for (int c = 1; c < g->ColCount(); ++c) {
                    total += g->ColWidths(c);
                    if (g->GetCell(c, 0).find_first_not_of(' ') == std::string::npos)
                        continue;
                    EXPECT_GE(g->ColWidths(c), g->horizontalHeader()->sectionSizeHint(c - 1)) << c;
                    for (int r = 1; r < g->RowCount(); ++r)
                        EXPECT_GE(
                            g->ColWidths(c),
                            g->fontMetrics().horizontalAdvance(ansiToQString(g->GetCell(c, r))) + 6)
                            << c << "," << r;
                }
                EXPECT_GE(total, g->viewport()->width()) << "no room left over";
                EXPECT_EQ(g->ColWidths(g->ColCount() - 1), g == list() ? g->ColWidths(12) : 0);
            }
            if (tab != TabRecipeList) {
                TAStringGrid* side = tab == TabMenuPlan ? plan() : requirements();
                EXPECT_GE(side->width(), side->NaturalWidth()) << "the panel fits its grid";
            }
        }
    }
}

TEST_F(PlanWindowTest, ReReadKeepsThePlanAndDropsADeletedRecipe)
{
    start();
    chooseTab(TabMenuPlan);
    clickCell(list(), 2, rowOf("Gulasch"), true);
    clickCell(list(), 2, rowOf("Suppe"), true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return plan()->GetCell(2, 2) == "Suppe"; }));
    TypePortions(2, "40");

    std::filesystem::remove(dir.path() / "REZ00001.DAT");
    QTest::mouseClick(child<QAbstractButton>("HemisphereButton3"), Qt::LeftButton); // re-read
    ASSERT_TRUE(QTest::qWaitFor([&] { return plan()->GetCell(2, 1).empty(); }));
    EXPECT_EQ(plan()->GetCell(2, 2), "Suppe");
    EXPECT_EQ(plan()->GetCell(1, 2), "40");
    EXPECT_EQ(list()->GetCell(1, rowOf("Suppe")), "1");
    EXPECT_EQ(rowOf("Gulasch"), -1);

    chooseTab(TabRequirements);
    ASSERT_TRUE(QTest::qWaitFor([&] { return requirements()->GetCell(3, 1) == "Wasser"; }));
    EXPECT_EQ(RequirementRows(), (std::vector<std::string>{"      8,000|l|Wasser"}));
}

TEST_F(PlanWindowTest, DraggedPlanRowsReorderTheRequirements)
{
    start();
    chooseTab(TabMenuPlan);
    clickCell(list(), 2, rowOf("Gulasch"), true);
    clickCell(list(), 2, rowOf("Suppe"), true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return plan()->GetCell(2, 2) == "Suppe"; }));

    // What a drag of Suppe's row header onto the first row leaves behind.
    plan()->verticalHeader()->moveSection(1, 0);
    EXPECT_EQ(plan()->GetCell(2, 1), "Suppe");
    EXPECT_EQ(plan()->GetCell(2, 2), "Gulasch");

    chooseTab(TabRequirements);
    ASSERT_TRUE(QTest::qWaitFor([&] { return requirements()->GetCell(3, 1) == "Wasser"; }));
    EXPECT_EQ(requirements()->GetCell(3, 2), "Rindfleisch");
}

TEST_F(PlanWindowTest, LargeQuantitiesKeepEveryDigitAndPortionsStopAtTheCellWidth)
{
    // 1.800.000 kg of flour for one portion (amount 180000000 hundredths).
    writeRecipe("REZ00004.DAT", "Grossbaeckerei", 1, {Article("180000000", "1", "kg", "Mehl")});
    start();
    const int bakery = rowOf("Grossbaeckerei");
    ASSERT_GT(bakery, 0);
    chooseTab(TabMenuPlan);
    clickCell(list(), 2, bakery, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return plan()->GetCell(2, 1) == list()->GetCell(2, bakery); }));

    // A sixth digit is refused: the cell shows five, and so does the computation.
    TypePortions(1, "123456");
    EXPECT_EQ(plan()->GetCell(1, 1), "12345");
    TypePortions(1, "10");
    EXPECT_EQ(plan()->GetCell(1, 1), "10");

    chooseTab(TabRequirements);
    ASSERT_TRUE(QTest::qWaitFor([&] { return requirements()->GetCell(3, 1) == "Mehl"; }));
    EXPECT_EQ(requirements()->GetCell(1, 1), "18000000,000");
    // The grid shows the whole number: its column is as wide as the text needs.
    const int needed = requirements()->fontMetrics().horizontalAdvance(QStringLiteral("18000000,000"));
    EXPECT_GE(requirements()->ColWidths(1), needed + 5);

    // The preview of the same recipe writes the whole quantity too.
    chooseTab(TabPreview);
    clickCell(list(), 2, bakery);
    ASSERT_TRUE(QTest::qWaitFor([&] { return previewText().contains(QStringLiteral("10 Portionen")); }));
    EXPECT_TRUE(previewText().contains(QStringLiteral("18000000 kg Mehl"))) << previewText().toStdString();
}
