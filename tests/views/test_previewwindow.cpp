// The preview and the row finder inside the main window, driven as a user would: tabs, rows of
// the recipe list, the "Zeilenfinder" menu item, keys.
#include "support/mainwindowdriver.h"
#include "views/previewcontroller.h"
#include "views/recipelistmodel.h"

#include <QAction>
#include <QHeaderView>
#include <QStatusBar>
#include <QTableView>

#include <filesystem>

using namespace kovanta;

namespace {

// Counts the events of one type that reach an object.
class EventCounter : public QObject {
public:
    EventCounter(QObject* target, QEvent::Type type) : type_(type)
    {
        target->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == type_)
            ++count;
        return false;
    }

private:
    QEvent::Type type_;
};

class PreviewWindowTest : public window_test::MainWindowDriver {
protected:
    void SetUp() override
    {
        for (const char* name : {"Gulasch", "Erbsensuppe"}) {
            writeRecipe(std::string("REZ0000") + (name[0] == 'G' ? "1" : "2") + ".DAT", name, 10,
                        {fixture::Article("125", "1", "kg", "Mehl"),
                         fixture::Text("0005", "F\x81r den Teig:^")});
        }
        window = std::make_unique<TSDIAppForm>(options(window_test::kNever));
        window->show();
        // The first show posted the restoring of the side panels; it runs now.
        QCoreApplication::sendPostedEvents(window.get());
        // As "Programmstart" leaves it: recipes read, tabs shown, start page hidden.
        reread();
        child<QWidget>("Panel11")->hide();
        window->tabs()->show();
        ASSERT_EQ(window->recipeList()->entryCount(), 2);
    }

    PreviewController* previewer() const { return &window->previewer(); }
    // The view row (0-based) showing the recipe name.
    int viewRowOf(const char* name) const { return rowOf(name) - TAStringGrid::FixedRows; }
    void selectRow(int row) { list()->setCurrentIndex(list()->model()->index(row, 2)); }
    void chooseTabAtOnce(int tab) { window->tabs()->tabBar()->setCurrentIndex(tab); }
};

} // namespace

TEST_F(PreviewWindowTest, SelectingARowOnVorschauShowsItsRecipeAtOnce)
{
    const int gulasch = viewRowOf("Gulasch"), suppe = viewRowOf("Erbsensuppe");
    selectRow(gulasch);
    EXPECT_EQ(previewText(), QString()); // not on "Vorschau": nothing built
    chooseTabAtOnce(TabPreview);
    EXPECT_TRUE(previewText().contains(QStringLiteral("Rezept: Gulasch,   Gruppe: Fleisch")));
    EXPECT_TRUE(previewText().contains(QStringLiteral("\t\t1,25 kg Mehl")));
    EXPECT_TRUE(previewText().contains(QStringLiteral("\tFür den Teig:\t0005")));
    EXPECT_EQ(previewer()->PreviewedRow(), gulasch);

    selectRow(suppe);
    EXPECT_TRUE(previewText().contains(QStringLiteral("Rezept: Erbsensuppe,")));
    EXPECT_EQ(previewer()->PreviewedRow(), suppe);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(preview()->updatesEnabled());
}

TEST_F(PreviewWindowTest, TheShownRowIsBuiltAgainOnlyAfterAPortionChange)
{
    const int gulasch = viewRowOf("Gulasch");
    selectRow(gulasch);
    chooseTabAtOnce(TabPreview);
    // Stand-in text: a rebuild would replace it. Neither coming back to the tab nor another
    // cell of the shown row rebuilds.
    preview()->setPlainText(QStringLiteral("Merker"));
    chooseTabAtOnce(TabRecipeList);
    chooseTabAtOnce(TabPreview);
    list()->setCurrentIndex(list()->model()->index(gulasch, 3));
    EXPECT_EQ(previewText(), QStringLiteral("Merker"));

    // The plan's portions changed meanwhile (a re-read on this tab may drop the recipe from the
    // plan): coming back to the tab, or picking the shown row again, shows the recipe anew.
    for (const bool byTab : {true, false}) {
        preview()->setPlainText(QStringLiteral("Merker"));
        previewer()->MarkPortionsChanged();
        if (byTab) {
            chooseTabAtOnce(TabRecipeList);
            chooseTabAtOnce(TabPreview);
        } else {
            list()->setCurrentIndex(list()->model()->index(gulasch, 4));
        }
        EXPECT_TRUE(previewText().contains(QStringLiteral("Rezept: Gulasch,"))) << byTab;
        EXPECT_FALSE(previewer()->RefreshPending());
    }
    EXPECT_EQ(previewer()->PreviewedRow(), gulasch);
}

TEST_F(PreviewWindowTest, PlannedRecipeIsPreviewedWithThePlanPortions)
{
    // A menu plan with the soup in its second row, 40 portions.
    TGridInfo1 soup;
    soup.CopyFrom(window->recipeList()->entry(viewRowOf("Erbsensuppe")));
    plan()->SetObjects(0, 2, &soup);
    plan()->SetCell(1, 2, "40");

    chooseTabAtOnce(TabPreview);
    selectRow(viewRowOf("Erbsensuppe"));
    EXPECT_TRUE(previewText().contains(QStringLiteral("\n40 Portionen\n")));
    EXPECT_TRUE(previewText().contains(QStringLiteral("\t\t5 kg Mehl")));
    selectRow(viewRowOf("Gulasch")); // not in the plan: as stored
    EXPECT_TRUE(previewText().contains(QStringLiteral("\n10 Portionen\n")));
    plan()->SetObjects(0, 2, nullptr);
}

TEST_F(PreviewWindowTest, VanishedRecipeFileLeavesThePreviousText)
{
    chooseTabAtOnce(TabPreview);
    selectRow(viewRowOf("Gulasch"));
    std::filesystem::remove(dir.path() / "REZ00002.DAT");
    selectRow(viewRowOf("Erbsensuppe"));
    EXPECT_TRUE(previewText().contains(QStringLiteral("Rezept: Gulasch,")));
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(preview()->updatesEnabled());
    // The old text stays, but the status bar tells why it did not change.
    EXPECT_EQ(window->statusBar()->currentMessage(),
              QStringLiteral("Rezeptdatei nicht lesbar: ") +
                  QString::fromStdString((dir.path() / "REZ00002.DAT").string()));
    // A readable recipe afterwards takes the message away.
    selectRow(viewRowOf("Gulasch"));
    EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());
    // Picking the vanished recipe again tries again and says so again.
    selectRow(viewRowOf("Erbsensuppe"));
    EXPECT_TRUE(window->statusBar()->currentMessage().startsWith(
        QStringLiteral("Rezeptdatei nicht lesbar: ")));
}

TEST_F(PreviewWindowTest, ZeilenfinderSwitchesRecipeListAndPlanButNotRequirements)
{
    ASSERT_TRUE(list()->MitZeilenFinder());
    ASSERT_TRUE(plan()->MitZeilenFinder());
    EXPECT_EQ(list()->ZeilFindColor(), 230 | (230 << 8) | (230 << 16));
    requirements()->SetMitZeilenFinder(true);
    QCoreApplication::processEvents();
    EventCounter paints(list()->viewport(), QEvent::Paint);

    child<QAction>("Zeilenfinder1")->trigger();
    // Applied by the posted message, not at once.
    EXPECT_TRUE(list()->MitZeilenFinder());
    QCoreApplication::processEvents();
    EXPECT_FALSE(list()->MitZeilenFinder());
    EXPECT_FALSE(plan()->MitZeilenFinder());
    EXPECT_TRUE(requirements()->MitZeilenFinder());
    EXPECT_TRUE(QTest::qWaitFor([&] { return paints.count > 0; }));

    child<QAction>("Zeilenfinder1")->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(list()->MitZeilenFinder());
    EXPECT_TRUE(plan()->MitZeilenFinder());
}

TEST_F(PreviewWindowTest, SpaceKeyAndDoubleClickPostTheTogglePlanMessage)
{
    EventCounter toggles(window.get(), MSG_TOGGLE_PLAN);
    const int row = viewRowOf("Gulasch");
    selectRow(row);
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Space);
    EXPECT_EQ(toggles.count, 0); // posted, handled after the key event
    QCoreApplication::processEvents();
    EXPECT_EQ(toggles.count, 1);
    EXPECT_EQ(list()->currentIndex().column(), 0);
    EXPECT_EQ(list()->currentIndex().row(), row);

    const QRect cell = list()->visualRect(list()->model()->index(row, 2));
    // A double-click is a click followed by the double-click event.
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, cell.center());
    QCoreApplication::processEvents();
    EXPECT_EQ(toggles.count, 2);

    // A double-click on a column header sorts; it toggles nothing.
    QHeaderView* header = list()->horizontalHeader();
    const QPoint caption(header->sectionViewportPosition(2) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, caption);
    QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, caption);
    QCoreApplication::processEvents();
    EXPECT_EQ(toggles.count, 2);
}
