#include "grid/astringgrid.h"
#include "recipefixtures.h"
#include "shell/guidetexts.h"
#include "shell/hemispherebutton.h"
#include "shell/mainactions.h"
#include "shell/messages.h"
#include "shell/recipelistmodel.h"
#include "shell/startpage.h"
#include "shell/toolcolumn.h"
#include "shell/tsdiappform.h"
#include "support/testdir.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace kovanta;
using shelltest::Recipe;

namespace {

constexpr int kNever = 24 * 60 * 60 * 1000;

// One main window on a temporary program directory holding a few recipe files.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.write("REZ00001.DAT", shelltest::singleRecipeFile({"Gulasch", "Fleisch", 10, 512, 7}));
        dir.write("rez00002.dat", shelltest::singleRecipeFile({"Linsensuppe", "Suppen", 20, 230}));
        dir.write("notes.txt", "keine Rezeptdatei");
    }

    void open(int startDelayMs)
    {
        ShellOptions options;
        options.programDirectory = QString::fromStdString(dir.dir());
        options.startDelayMs = startDelayMs;
        window = std::make_unique<TSDIAppForm>(options);
        window->show();
        QCoreApplication::processEvents();
    }

    template <typename T> T* child(const char* name) const
    {
        return window->findChild<T*>(QString::fromUtf8(name));
    }
    HemisphereButton* startButton() const { return child<HemisphereButton>("HemisphereButton16"); }
    QWidget* tabControl() const { return child<QWidget>("TabControl1"); }
    QWidget* startPage() const { return child<QWidget>("Panel11"); }
    QTabBar* tabBar() const { return window->tabs()->tabBar(); }
    bool shown(const char* name) const { return child<QWidget>(name)->isVisibleTo(window.get()); }

    // Waits for the start timer, clicks "Programmstart" and waits for the tabs.
    void start()
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return startButton()->isEnabled(); }));
        QTest::mouseClick(startButton(), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return tabControl()->isVisible(); }));
        waitForRead();
    }
    // The read runs on a worker thread; its list arrives later on this one.
    void waitForRead()
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->readingRecipes(); }));
    }

    void chooseTab(int tab) { tabBar()->setCurrentIndex(tab); }

    TestDir dir;
    std::unique_ptr<TSDIAppForm> window;
};

TEST_F(MainWindowTest, OpensOnStartPageWithGuideTextAndNothingRead)
{
    open(kNever);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("VEMO-KOVANTA  Rezepturendisplay"));
    EXPECT_TRUE(startPage()->isVisible());
    EXPECT_FALSE(tabControl()->isVisible());
    EXPECT_TRUE(child<QAbstractButton>("HemisphereButton12")->isChecked());
    const QString guide = child<QTextEdit>("RichEdit3")->toPlainText();
    EXPECT_TRUE(guide.contains(QStringLiteral(
        "[S] - Wenn angekreuzt, dann wird das Rezept im aktuellen Speiseplan verwendet.")));
    EXPECT_TRUE(child<QTextEdit>("RichEdit2")->toPlainText().contains(QStringLiteral("VEMOSOFT")));
    EXPECT_EQ(window->recipeList()->entryCount(), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "internet"));
    EXPECT_EQ(window->webRecipeDirectory(), QString::fromStdString(dir.dir() + "internet/"));
}

TEST_F(MainWindowTest, ProgrammstartCannotBeClickedBeforeTheTimer)
{
    open(kNever);
    EXPECT_FALSE(startButton()->isEnabled());
    QTest::mouseClick(startButton(), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_TRUE(startPage()->isVisible());
    EXPECT_FALSE(tabControl()->isVisible());
    EXPECT_EQ(window->recipeList()->entryCount(), 0);
}

TEST_F(MainWindowTest, ProgrammstartListsTheRecipesAndStaysEnabled)
{
    open(0);
    start();
    EXPECT_FALSE(startPage()->isVisible());
    EXPECT_EQ(tabBar()->currentIndex(), TabRecipeList);
    RecipeListModel* list = window->recipeList();
    ASSERT_EQ(list->entryCount(), 2);
    // Both spellings of the mask are found; the order is the directory listing's.
    QStringList names;
    for (int row = 0; row < 2; ++row)
        names << QString::fromStdString(list->entry(row)->ShortName);
    names.sort();
    EXPECT_EQ(names, (QStringList{QStringLiteral("Gulasch"), QStringLiteral("Linsensuppe")}));
    // The list grid holds the entries as row objects and shows their names.
    auto* grid = child<TAStringGrid>("StringGrid1");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->Objects(0, 1), list->entry(0));
    EXPECT_EQ(grid->GetCell(2, 1), list->entry(0)->ShortName);

    // Back on the start page "Programmstart" is still enabled and reads again.
    chooseTab(TabInformation);
    EXPECT_TRUE(startButton()->isEnabled());
    dir.write("REZ00003.DAT", shelltest::singleRecipeFile({"Apfelkuchen", "Backwaren", 12, 300}));
    QTest::mouseClick(startButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return tabControl()->isVisible(); }));
    waitForRead();
    EXPECT_EQ(list->entryCount(), 3);
}

TEST_F(MainWindowTest, InformationShowsStartPageAndKeepsTheTab)
{
    open(0);
    start();
    for (int tab : {TabRecipeList, TabPreview, TabMenuPlan, TabRequirements}) {
        SCOPED_TRACE(tab);
        chooseTab(tab);
        chooseTab(TabInformation);
        EXPECT_TRUE(startPage()->isVisible());
        EXPECT_FALSE(tabControl()->isVisible());
        EXPECT_EQ(tabBar()->currentIndex(), tab);
        QTest::mouseClick(startButton(), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return tabControl()->isVisible(); }));
        EXPECT_EQ(tabBar()->currentIndex(), tab);
    }
}

TEST_F(MainWindowTest, TabsArrangeSidePanelsAndToolButtons)
{
    open(0);
    start();
    struct Row {
        int tab;
        bool list, preview, plan, requirements, copy;
    };
    const Row rows[] = {
        {TabPreview, true, true, false, false, true},
        {TabMenuPlan, true, false, true, false, false},
        {TabRequirements, false, false, true, true, false},
        {TabRecipeList, true, false, false, false, false},
        {TabPreview, true, true, false, false, true},
        {TabRequirements, false, false, true, true, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.tab);
        chooseTab(r.tab);
        EXPECT_EQ(shown("Panel5"), r.list);
        EXPECT_EQ(shown("Panel3"), r.preview);
        EXPECT_EQ(shown("Panel4"), r.plan);
        EXPECT_EQ(shown("Panel9"), r.requirements);
        EXPECT_EQ(shown("HemisphereButton5"), r.copy);
    }
    // Information leaves the copy button as the tab had it.
    chooseTab(TabPreview);
    chooseTab(TabInformation);
    EXPECT_TRUE(child<QWidget>("HemisphereButton5")->isVisibleTo(tabControl()));
}

TEST_F(MainWindowTest, SidePanelTakesItsOwnWidthAtTheRight)
{
    open(0);
    window->resize(900, 600);
    start();
    window->tabs()->setSidePanelWidth(SidePanel::Preview, 260);
    chooseTab(TabPreview);
    QCoreApplication::processEvents();
    QWidget* preview = child<QWidget>("Panel3");
    QWidget* list = child<QWidget>("Panel5");
    // 260 designed pixels, shown grown with the UI font.
    EXPECT_EQ(preview->width(), window->tabs()->uiScale().px(260));
    EXPECT_GT(preview->x(), list->x() + list->width());
}

TEST_F(MainWindowTest, PrintButtonNeedsAPlannedRecipeOnPlanAndRequirements)
{
    open(0);
    start();
    auto* print = child<QWidget>("HemisphereButton4");
    struct Row {
        int tab;
        bool planned;
        bool enabled;
    };
    const Row rows[] = {
        {TabRecipeList, false, true},    {TabPreview, false, true}, {TabMenuPlan, false, false},
        {TabRequirements, false, false}, {TabMenuPlan, true, true}, {TabRequirements, true, true},
        {TabRecipeList, true, true},     {TabPreview, true, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.tab << " planned " << r.planned);
        window->recipeList()->entry(1)->InPlan = r.planned ? 1 : 0;
        chooseTab(TabRecipeList == r.tab ? TabPreview : TabRecipeList);
        chooseTab(r.tab);
        EXPECT_EQ(print->isEnabled(), r.enabled);
    }
    // A plan change while the tab stays is picked up: the recipe list's current recipe put
    // into the plan (as a double-click does) while "Speiseplan" is shown.
    window->recipeList()->entry(0)->InPlan = 0;
    window->recipeList()->entry(1)->InPlan = 0;
    chooseTab(TabRecipeList);
    chooseTab(TabMenuPlan);
    EXPECT_FALSE(print->isEnabled());
    postWindowMessage(window.get(), MSG_TOGGLE_PLAN);
    QCoreApplication::processEvents();
    EXPECT_TRUE(print->isEnabled());
}

TEST_F(MainWindowTest, CannotBeMadeSmallerThan600x400)
{
    open(kNever);
    EXPECT_EQ(window->minimumSize(), QSize(600, 400));
    window->resize(320, 200);
    QCoreApplication::processEvents();
    EXPECT_GE(window->width(), 600);
    EXPECT_GE(window->height(), 400);
}

TEST_F(MainWindowTest, SecondShowRepeatsNothing)
{
    open(0);
    start();
    chooseTab(TabMenuPlan);
    std::filesystem::remove_all(dir.path() / "internet");
    window->hide();
    window->show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(startPage()->isVisible());
    EXPECT_TRUE(tabControl()->isVisible());
    EXPECT_EQ(tabBar()->currentIndex(), TabMenuPlan);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "internet"));
}

TEST_F(MainWindowTest, GuideButtonsShowOneTextWithOneButtonDown)
{
    open(kNever);
    QTest::mouseClick(child<QAbstractButton>("HemisphereButton8"), Qt::LeftButton);
    EXPECT_TRUE(child<QTextEdit>("RichEdit3")
                    ->toPlainText()
                    .startsWith(QStringLiteral("Um eine Struktur in die Rezepte zu bekommen")));
    EXPECT_EQ(child<QTextEdit>("RichEdit3")->textCursor().position(), 0);
    int down = 0;
    for (const char* name : {"HemisphereButton12", "HemisphereButton13", "HemisphereButton14",
                             "HemisphereButton15", "HemisphereButton7", "HemisphereButton8"})
        down += child<QAbstractButton>(name)->isChecked() ? 1 : 0;
    EXPECT_EQ(down, 1);
    EXPECT_TRUE(child<QAbstractButton>("HemisphereButton8")->isChecked());
}

TEST_F(MainWindowTest, ImportNotificationsReloadOrBringTheWindowBack)
{
    open(0);
    start();
    dir.write("REZ00004.DAT", shelltest::singleRecipeFile({"Milchreis", "Desserts", 8, 180}));
    postWindowMessage(window.get(), MSG_IMPORT_NOTIFY, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->recipeList()->entryCount() == 3; }));

    window->hide();
    postWindowMessage(window.get(), MSG_IMPORT_NOTIFY, IMPORT_WINDOW_CLOSES);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }));
    EXPECT_EQ(window->recipeList()->entryCount(), 3);
    EXPECT_TRUE(tabControl()->isVisible());
}

TEST_F(MainWindowTest, ToolColumnRereadsAtOnce)
{
    open(0);
    start();
    dir.write("REZ00005.DAT", shelltest::singleRecipeFile({"Kartoffelsalat", "Salate", 25, 150}));
    QTest::mouseClick(child<QAbstractButton>("HemisphereButton3"), Qt::LeftButton);
    waitForRead();
    EXPECT_EQ(window->recipeList()->entryCount(), 3);
    dir.write("REZ00006.DAT", shelltest::singleRecipeFile({"Rote Grütze", "Desserts", 30, 120}));
    QWidget* column = child<QWidget>("Panel2");
    QTest::mouseDClick(column, Qt::LeftButton, {}, QPoint(18, column->height() - 4));
    waitForRead();
    EXPECT_EQ(window->recipeList()->entryCount(), 4);
}

TEST_F(MainWindowTest, MenusCarryShortcutsAndSplitHints)
{
    open(kNever);
    auto* quit = child<QAction>("Beenden1");
    ASSERT_NE(quit, nullptr);
    EXPECT_EQ(quit->shortcut(), QKeySequence(Qt::ALT | Qt::Key_X));
    EXPECT_EQ(quit->statusTip(), QStringLiteral("Anwendung beenden"));
    EXPECT_EQ(child<QAction>("Oeffnen1")->text(), QStringLiteral("Ö&ffnen..."));
    EXPECT_TRUE(child<QAction>("Zeilenfinder1")->isChecked());

    // The title panel's hint has an empty long part: tooltip only, blank status bar.
    auto* title = child<QLabel>("Panel6");
    EXPECT_EQ(title->toolTip(),
              QStringLiteral("Übersicht aller in den aktiven Suchpfaden \ngefundenen Rezepte"));
    EXPECT_TRUE(title->statusTip().isEmpty());
    EXPECT_EQ(child<QWidget>("HemisphereButton16")->toolTip(),
              QStringLiteral("Starten Sie VEMO-KOVANTA"));
}

TEST_F(MainWindowTest, AboutBoxNamesMakerAndVersion)
{
    open(kNever);
    child<QAction>("Info1")->trigger();
    auto* box = child<QDialog>("InfoDlg1");
    ASSERT_NE(box, nullptr);
    QStringList texts;
    for (QLabel* label : box->findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("Vemo-Software")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Version 1.3")));
    // The maker of the start page's product text.
    EXPECT_TRUE(texts.contains(QStringLiteral("© ") + makerName()));
    EXPECT_TRUE(child<QTextEdit>("RichEdit2")->toPlainText().contains(makerName()));
    box->close();
}

TEST_F(MainWindowTest, OptionsToggleTheirMarks)
{
    ShellOptions options;
    options.programDirectory = QString::fromStdString(dir.dir());
    options.startDelayMs = kNever;
    window = std::make_unique<TSDIAppForm>(options);
    auto* actions = window->findChild<MainActions*>();
    ASSERT_NE(actions, nullptr);
    // Before the first show the grids are still being set up: the mark alone changes.
    child<QAction>("Zeilenfinder1")->trigger();
    EXPECT_FALSE(actions->rowFinder());
    window->show();
    QCoreApplication::sendPostedEvents(window.get()); // the side panels are restored
    child<QAction>("Zeilenfinder1")->trigger();
    EXPECT_TRUE(actions->rowFinder());

    auto* maxWindow = child<QAction>("MaximaleFenstergroesse1");
    EXPECT_TRUE(maxWindow->isChecked());
    maxWindow->trigger(); // cleared: takes effect at the next start
    EXPECT_FALSE(actions->maxWindow());
    EXPECT_FALSE(window->isMaximized());
    maxWindow->trigger(); // set again: maximised at once
    EXPECT_TRUE(actions->maxWindow());
    EXPECT_TRUE(window->windowState().testFlag(Qt::WindowMaximized));
}

TEST_F(MainWindowTest, ClosingIsNeverRefused)
{
    open(kNever);
    // A cancelled "Verzeichnisse" lists the web recipe directory: the settings are saved.
    QTimer::singleShot(0, [] {
        QTimer::singleShot(0, [] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("BitBtn2")),
                              Qt::LeftButton);
        });
    });
    child<QAction>("Verzeichnisse1")->trigger();
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "kovanta.INI"));
    EXPECT_FALSE(window->isVisible());
}

} // namespace
