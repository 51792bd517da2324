// The preview and the row finder inside the main window, driven as a user would: tabs, rows of
// the recipe list, the "Zeilenfinder" menu item, keys.
#include "grid/astringgrid.h"
#include "recipe/recipe_fixture.h"
#include "shell/messages.h"
#include "shell/recipelistmodel.h"
#include "shell/tsdiappform.h"
#include "support/testdir.h"
#include "views/previewcontroller.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <QWindow>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace kovanta;

namespace {

constexpr int kNever = 24 * 60 * 60 * 1000;

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

class PreviewWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"Gulasch", "Erbsensuppe"}) {
            fixture::Head h;
            h.shortName = name;
            h.portions = 10;
            const std::string file = std::string("REZ0000") + (name[0] == 'G' ? "1" : "2") + ".DAT";
            dir.write(file, fixture::Join(
                                fixture::Block(h, {fixture::Article("125", "1", "kg", "Mehl"),
                                                   fixture::Text("0005", "F\x81r den Teig:^")})));
        }
        ShellOptions options;
        options.programDirectory = QString::fromStdString(dir.dir());
        options.startDelayMs = kNever;
        window = std::make_unique<TSDIAppForm>(options);
        window->show();
        // The first show posted the restoring of the side panels; it runs now.
        QCoreApplication::sendPostedEvents(window.get());
        // As "Programmstart" leaves it: recipes read, tabs shown, start page hidden.
        window->reloadRecipes();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->readingRecipes(); }));
        child<QWidget>("Panel11")->hide();
        window->tabs()->show();
        ASSERT_EQ(window->recipeList()->entryCount(), 2);
    }

    template <typename T> T* child(const char* name) const
    {
        return window->findChild<T*>(QString::fromUtf8(name));
    }
    QTableView* list() const { return child<QTableView>("StringGrid1"); }
    QTextEdit* preview() const { return child<QTextEdit>("RichEdit1"); }
    QString previewText() const { return preview()->toPlainText(); }
    // The window's preview state, made on the first preview request.
    PreviewController* previewer() const
    {
        auto* p = window->findChild<PreviewController*>();
        EXPECT_NE(p, nullptr);
        return p;
    }
    void chooseTab(int tab) { window->tabs()->tabBar()->setCurrentIndex(tab); }

    // The recipe list row showing the recipe name.
    int rowOf(const char* name) const
    {
        RecipeListModel* m = window->recipeList();
        for (int r = 0; r < m->entryCount(); ++r) {
            if (m->entry(r)->ShortName == name)
                return r;
        }
        return -1;
    }
    void selectRow(int row) { list()->setCurrentIndex(list()->model()->index(row, 2)); }
    static TAStringGrid* grid(QTableView* view) { return qobject_cast<TAStringGrid*>(view); }

    TestDir dir;
    std::unique_ptr<TSDIAppForm> window;
};

} // namespace

TEST_F(PreviewWindowTest, SelectingARowOnVorschauShowsItsRecipeAtOnce)
{
    const int gulasch = rowOf("Gulasch"), suppe = rowOf("Erbsensuppe");
    selectRow(gulasch);
    EXPECT_EQ(previewText(), QString()); // not on "Vorschau": nothing built
    chooseTab(TabPreview);
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
    selectRow(rowOf("Gulasch"));
    chooseTab(TabPreview);
    // Stand-in text: a rebuild would replace it.
    preview()->setPlainText(QStringLiteral("Merker"));
    chooseTab(TabRecipeList);
    chooseTab(TabPreview);
    EXPECT_EQ(previewText(), QStringLiteral("Merker"));

    previewer()->MarkPortionsChanged();
    chooseTab(TabRecipeList);
    chooseTab(TabPreview);
    EXPECT_TRUE(previewText().contains(QStringLiteral("Rezept: Gulasch,")));
    EXPECT_FALSE(previewer()->RefreshPending());
}

TEST_F(PreviewWindowTest, AnotherCellOfTheShownRowRebuildsOnlyAfterAPortionChange)
{
    const int gulasch = rowOf("Gulasch");
    chooseTab(TabPreview);
    selectRow(gulasch);
    preview()->setPlainText(QStringLiteral("Merker"));
    list()->setCurrentIndex(list()->model()->index(gulasch, 3));
    EXPECT_EQ(previewText(), QStringLiteral("Merker"));

    // The plan's portions changed meanwhile (a re-read on this tab may drop the recipe from the
    // plan): picking the shown row again must show the recipe anew.
    previewer()->MarkPortionsChanged();
    list()->setCurrentIndex(list()->model()->index(gulasch, 4));
    EXPECT_TRUE(previewText().contains(QStringLiteral("Rezept: Gulasch,")));
    EXPECT_FALSE(previewer()->RefreshPending());
    EXPECT_EQ(previewer()->PreviewedRow(), gulasch);
}

TEST_F(PreviewWindowTest, PlannedRecipeIsPreviewedWithThePlanPortions)
{
    // A menu plan with the soup in its second row, 40 portions.
    TAStringGrid* plan = grid(child<QTableView>("StringGrid2"));
    TImpListInfo soup;
    soup.CopyFrom(window->recipeList()->entry(rowOf("Erbsensuppe")));
    plan->SetObjects(0, 2, &soup);
    plan->SetCell(1, 2, "40");

    chooseTab(TabPreview);
    selectRow(rowOf("Erbsensuppe"));
    EXPECT_TRUE(previewText().contains(QStringLiteral("\n40 Portionen\n")));
    EXPECT_TRUE(previewText().contains(QStringLiteral("\t\t5 kg Mehl")));
    selectRow(rowOf("Gulasch")); // not in the plan: as stored
    EXPECT_TRUE(previewText().contains(QStringLiteral("\n10 Portionen\n")));
    plan->SetObjects(0, 2, nullptr);
}

TEST_F(PreviewWindowTest, VanishedRecipeFileLeavesThePreviousText)
{
    chooseTab(TabPreview);
    selectRow(rowOf("Gulasch"));
    std::filesystem::remove(dir.path() / "REZ00002.DAT");
    selectRow(rowOf("Erbsensuppe"));
    EXPECT_TRUE(previewText().contains(QStringLiteral("Rezept: Gulasch,")));
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(preview()->updatesEnabled());
    // The old text stays, but the status bar tells why it did not change.
    EXPECT_EQ(window->statusBar()->currentMessage(),
              QStringLiteral("Rezeptdatei nicht lesbar: ") +
                  QString::fromStdString((dir.path() / "REZ00002.DAT").string()));
    // A readable recipe afterwards takes the message away.
    selectRow(rowOf("Gulasch"));
    EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());
    // Picking the vanished recipe again tries again and says so again.
    selectRow(rowOf("Erbsensuppe"));
    EXPECT_TRUE(window->statusBar()->currentMessage().startsWith(
        QStringLiteral("Rezeptdatei nicht lesbar: ")));
}

TEST_F(PreviewWindowTest, ZeilenfinderSwitchesRecipeListAndPlanButNotRequirements)
{
    TAStringGrid* plan = grid(child<QTableView>("StringGrid2"));
    TAStringGrid* requirements = grid(child<QTableView>("StringGrid3"));
    ASSERT_TRUE(grid(list())->MitZeilenFinder());
    ASSERT_TRUE(plan->MitZeilenFinder());
    EXPECT_EQ(grid(list())->ZeilFindColor(), 230 | (230 << 8) | (230 << 16));
    requirements->SetMitZeilenFinder(true);
    QCoreApplication::processEvents();
    EventCounter paints(list()->viewport(), QEvent::Paint);

    child<QAction>("Zeilenfinder1")->trigger();
    // Applied by the posted message, not at once.
    EXPECT_TRUE(grid(list())->MitZeilenFinder());
    QCoreApplication::processEvents();
    EXPECT_FALSE(grid(list())->MitZeilenFinder());
    EXPECT_FALSE(plan->MitZeilenFinder());
    EXPECT_TRUE(requirements->MitZeilenFinder());
    EXPECT_TRUE(QTest::qWaitFor([&] { return paints.count > 0; }));

    child<QAction>("Zeilenfinder1")->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(grid(list())->MitZeilenFinder());
    EXPECT_TRUE(plan->MitZeilenFinder());
}

TEST_F(PreviewWindowTest, SpaceKeyAndDoubleClickPostTheTogglePlanMessage)
{
    EventCounter toggles(window.get(), MSG_TOGGLE_PLAN);
    const int row = rowOf("Gulasch");
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
