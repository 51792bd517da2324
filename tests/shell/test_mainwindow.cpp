// The main window as a cook meets it in the first minutes: the start page, "Programmstart",
// the tabs and their panels, the tool column, keys after tab changes, the current row after a
// read, the start page's links, the about box and the layout's sizes.
#include "platform/gui/uifont.h"
#include "recipefixtures.h"
#include "shell/guidetexts.h"
#include "shell/hemispherebutton.h"
#include "shell/mainactions.h"
#include "shell/startpage.h"
#include "support/mainwindowdriver.h"
#include "views/recipelistmodel.h"

#include <QAction>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTextBlock>

#include <filesystem>

using namespace kovanta;
using window_test::kNever;

namespace {

class MainWindowTest : public window_test::MainWindowDriver {
protected:
    void SetUp() override
    {
        dir.write("REZ00001.DAT", shelltest::singleRecipeFile({"Gulasch", "Fleisch", 10, 512, 7}));
        dir.write("rez00002.dat", shelltest::singleRecipeFile({"Linsensuppe", "Suppen", 20, 230}));
        dir.write("notes.txt", "keine Rezeptdatei");
    }

    HemisphereButton* startButton() const { return child<HemisphereButton>("HemisphereButton16"); }
    QWidget* tabControl() const { return child<QWidget>("TabControl1"); }
    QWidget* startPage() const { return child<QWidget>("Panel11"); }
    bool shown(const char* name) const { return child<QWidget>(name)->isVisibleTo(window.get()); }
    QTabBar* tabBar() const { return window->tabs()->tabBar(); }
    // A tab chosen with the mouse on the tab bar.
    void clickTab(int tab)
    {
        QTest::mouseClick(tabBar(), Qt::LeftButton, {}, tabBar()->tabRect(tab).center());
        QCoreApplication::processEvents();
    }
    // A key as the keyboard delivers it: to the widget holding the focus.
    void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, key, mods);
        QCoreApplication::processEvents();
    }
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
    // "Programmstart" waits for its timer: a click reads nothing.
    QTest::mouseClick(startButton(), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_FALSE(tabControl()->isVisible());
    EXPECT_EQ(window->recipeList()->entryCount(), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "internet"));
    EXPECT_EQ(window->webRecipeDirectory(), QString::fromStdString(dir.dir() + "internet/"));
}

TEST_F(MainWindowTest, ProgrammstartListsTheRecipesAndStaysEnabled)
{
    open();
    start();
    EXPECT_FALSE(startPage()->isVisible());
    EXPECT_EQ(tabBar()->currentIndex(), TabRecipeList);
    RecipeListModel* recipes = window->recipeList();
    ASSERT_EQ(recipes->entryCount(), 2);
    // Both spellings of the mask are found; the order is the directory listing's.
    QStringList names;
    for (int i = 0; i < 2; ++i)
        names << QString::fromStdString(recipes->entry(i)->ShortName);
    names.sort();
    EXPECT_EQ(names, (QStringList{QStringLiteral("Gulasch"), QStringLiteral("Linsensuppe")}));
    // The list grid holds the entries as row objects and shows their names.
    EXPECT_EQ(list()->Objects(0, 1), recipes->entry(0));
    EXPECT_EQ(list()->GetCell(2, 1), recipes->entry(0)->ShortName);

    // Back on the start page "Programmstart" is still enabled and reads again.
    chooseTab(TabInformation);
    EXPECT_TRUE(startButton()->isEnabled());
    dir.write("REZ00003.DAT", shelltest::singleRecipeFile({"Apfelkuchen", "Backwaren", 12, 300}));
    start();
    EXPECT_EQ(recipes->entryCount(), 3);
}

TEST_F(MainWindowTest, InformationShowsStartPageAndKeepsTheTab)
{
    open();
    start();
    for (int tab : {TabRecipeList, TabPreview, TabMenuPlan, TabRequirements}) {
        SCOPED_TRACE(tab);
        chooseTab(tab);
        chooseTab(TabInformation);
        EXPECT_TRUE(startPage()->isVisible());
        EXPECT_FALSE(tabControl()->isVisible());
        EXPECT_EQ(tabBar()->currentIndex(), tab);
        start();
        EXPECT_EQ(tabBar()->currentIndex(), tab);
    }
}

TEST_F(MainWindowTest, TabsArrangeSidePanelsAndToolButtons)
{
    open();
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
    open();
    window->resize(900, 600);
    start();
    window->tabs()->setSidePanelWidth(SidePanel::Preview, 260);
    chooseTab(TabPreview);
    QWidget* side = child<QWidget>("Panel3");
    QWidget* left = child<QWidget>("Panel5");
    // 260 designed pixels, shown grown with the UI font.
    EXPECT_EQ(side->width(), window->tabs()->uiScale().px(260));
    EXPECT_GT(side->x(), left->x() + left->width());
}

TEST_F(MainWindowTest, PrintButtonNeedsAPlannedRecipeOnPlanAndRequirements)
{
    open();
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
        window->recipeList()->setMark(1, r.planned);
        chooseTab(TabRecipeList == r.tab ? TabPreview : TabRecipeList);
        chooseTab(r.tab);
        EXPECT_EQ(print->isEnabled(), r.enabled);
        EXPECT_EQ(window->printActions().printAction()->isEnabled(), r.enabled);
    }
    // A plan change while the tab stays is picked up: the recipe list's current recipe put
    // into the plan (as a double-click does) while "Speiseplan" is shown.
    window->recipeList()->setMark(1, false);
    chooseTab(TabRecipeList);
    chooseTab(TabMenuPlan);
    EXPECT_FALSE(print->isEnabled());
    postWindowMessage(window.get(), MSG_TOGGLE_PLAN);
    QCoreApplication::processEvents();
    EXPECT_TRUE(print->isEnabled());
    // The start page has nothing to print.
    chooseTab(TabInformation);
    EXPECT_FALSE(window->printActions().printAction()->isEnabled());
}

TEST_F(MainWindowTest, SecondShowRepeatsNothing)
{
    open();
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
    open();
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
    open();
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

TEST_F(MainWindowTest, TitlePanelAndStartButtonSplitTheirHints)
{
    open(kNever);
    // The title panel's hint has an empty long part: tooltip only, blank status bar.
    auto* title = child<QLabel>("Panel6");
    EXPECT_EQ(title->toolTip(),
              QStringLiteral("Übersicht aller in den aktiven Suchpfaden \ngefundenen Rezepte"));
    EXPECT_TRUE(title->statusTip().isEmpty());
    EXPECT_EQ(startButton()->toolTip(), QStringLiteral("Starten Sie VEMO-KOVANTA"));
}

TEST_F(MainWindowTest, AboutBoxNamesMakerAndVersionInADialogBorder)
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
    const Qt::WindowFlags flags = box->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    box->close();
}

TEST_F(MainWindowTest, OptionsToggleTheirMarks)
{
    window = std::make_unique<TSDIAppForm>(options(kNever));
    MainActions& actions = window->mainActions();
    // Before the first show the grids are still being set up: the mark alone changes.
    child<QAction>("Zeilenfinder1")->trigger();
    EXPECT_FALSE(actions.rowFinder());
    window->show();
    QCoreApplication::sendPostedEvents(window.get()); // the side panels are restored
    child<QAction>("Zeilenfinder1")->trigger();
    EXPECT_TRUE(actions.rowFinder());

    auto* maxWindow = child<QAction>("MaximaleFenstergroesse1");
    EXPECT_TRUE(maxWindow->isChecked());
    maxWindow->trigger(); // cleared: takes effect at the next start
    EXPECT_FALSE(actions.maxWindow());
    EXPECT_FALSE(window->isMaximized());
    maxWindow->trigger(); // set again: maximised at once
    EXPECT_TRUE(actions.maxWindow());
    EXPECT_TRUE(window->windowState().testFlag(Qt::WindowMaximized));
}

TEST_F(MainWindowTest, SpaceAfterATabChangeNeverQuits)
{
    dir.write("REZ00003.DAT", shelltest::singleRecipeFile({"Apfelkuchen", "Backwaren", 12}));
    open();
    start();
    // Into the preview, then "Speiseplan": the preview panel goes, the focus must not land on
    // a tool button.
    clickTab(TabPreview);
    QTest::mouseClick(preview()->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    ASSERT_TRUE(preview()->hasFocus());
    clickTab(TabMenuPlan);
    EXPECT_EQ(QApplication::focusWidget(), list());
    press(Qt::Key_Space);
    EXPECT_TRUE(window->isVisible());
    // On "Speiseplan" Space does its own job: the current recipe goes into the plan.
    EXPECT_EQ(plan()->GetCell(2, 1), list()->GetCell(2, list()->Row()));

    // Into a plan cell, then "Rezeptliste": the plan goes.
    clickCell(plan(), 1, 2);
    ASSERT_TRUE(plan()->isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == plan());
    clickTab(TabRecipeList);
    EXPECT_EQ(QApplication::focusWidget(), list());
    press(Qt::Key_Space);
    EXPECT_TRUE(window->isVisible());

    // "Bedarfsliste" gives the focus to the plan at the left (its portions editor).
    clickTab(TabRequirements);
    EXPECT_TRUE(QApplication::focusWidget() == plan() ||
                plan()->isAncestorOf(QApplication::focusWidget()));
    press(Qt::Key_Space);
    EXPECT_TRUE(window->isVisible());
    // And back: the plan's editor is hidden with the plan, the recipe list takes over.
    clickTab(TabPreview);
    EXPECT_EQ(QApplication::focusWidget(), list());
    press(Qt::Key_Space);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowTest, RoundAndStartPageButtonsNeverTakeTheFocus)
{
    open(kNever);
    const QList<HemisphereButton*> buttons = window->findChildren<HemisphereButton*>();
    EXPECT_EQ(buttons.size(), 6 + 8);
    for (const HemisphereButton* b : buttons)
        EXPECT_EQ(b->focusPolicy(), Qt::NoFocus) << b->objectName().toStdString();
}

TEST_F(MainWindowTest, EveryReadLeavesACurrentRowForThePreview)
{
    dir.write("REZ00003.DAT", shelltest::singleRecipeFile({"Apfelkuchen", "Backwaren", 12}));
    open();
    start();
    EXPECT_TRUE(list()->currentIndex().isValid());
    EXPECT_EQ(list()->Row(), 1);
    clickTab(TabPreview);
    const QString first = QString::fromStdString(list()->GetCell(2, 1));
    EXPECT_TRUE(previewText().contains(first)) << first.toStdString();

    // A re-read that still holds the current recipe keeps it current, wherever it now lies.
    list()->SetCurrentCell(2, rowOf("Linsensuppe"));
    dir.write("REZ00000.DAT", shelltest::singleRecipeFile({"Brot", "Backwaren", 8}));
    reread();
    EXPECT_EQ(list()->GetCell(2, list()->Row()), "Linsensuppe");
    EXPECT_TRUE(previewText().contains(QStringLiteral("Linsensuppe")));

    // One that lost it starts again at row 1, and the preview follows.
    std::filesystem::remove(dir.path() / "rez00002.dat");
    reread();
    EXPECT_EQ(list()->Row(), 1);
    const QString now = QString::fromStdString(list()->GetCell(2, 1));
    EXPECT_TRUE(previewText().contains(now)) << now.toStdString();

    // An empty read leaves no row to make current.
    for (const char* f : {"REZ00000.DAT", "REZ00001.DAT", "REZ00003.DAT"})
        std::filesystem::remove(dir.path() / f);
    reread();
    EXPECT_EQ(list()->Objects(0, 1), nullptr);
    EXPECT_TRUE(previewText().isEmpty());
}

TEST_F(MainWindowTest, ALinkWithoutABrowserSaysSoInTheStatusBar)
{
    open(kNever);
    auto* page = window->findChild<StartPage*>(QStringLiteral("Panel11"));
    ASSERT_NE(page, nullptr);
    QList<QUrl> opened;
    page->webLink()->opener = [&](const QUrl& url) {
        opened << url;
        return false;
    };
    page->mailLink()->opener = [&](const QUrl& url) {
        opened << url;
        return true;
    };
    // From the keyboard Enter opens a link; a blank does not.
    page->webLink()->setFocus();
    QTest::keyClick(page->webLink(), Qt::Key_Space);
    EXPECT_TRUE(opened.isEmpty());
    QTest::keyClick(page->webLink(), Qt::Key_Return);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(window->statusBar()->currentMessage(),
              QStringLiteral("Kein Web-Browser gefunden: ") + makerWebUrl());
    window->statusBar()->clearMessage();
    QTest::mouseClick(page->mailLink(), Qt::LeftButton);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened.back(), QUrl(QStringLiteral("mailto:") + makerEMail()));
    EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty()) << "opened: nothing to say";
    page->mailLink()->opener = [](const QUrl&) { return false; };
    QTest::mouseClick(page->mailLink(), Qt::LeftButton);
    EXPECT_EQ(window->statusBar()->currentMessage(),
              QStringLiteral("Kein E-Mail-Programm gefunden: ") + makerEMail());
}

TEST_F(MainWindowTest, DesignedSizesGrowWithTheApplicationFont)
{
    open(kNever);
    EXPECT_EQ(window->minimumSize(), QSize(600, 400));
    const UiScale scale = applicationUiScale();
    EXPECT_EQ(child<QWidget>("Panel2")->width(), scale.px(36));
    EXPECT_EQ(child<QWidget>("HemisphereButton1")->size(), QSize(scale.px(32), scale.px(32)));
    EXPECT_EQ(startButton()->size(), QSize(scale.px(150), scale.px(35)));
    EXPECT_EQ(child<QLabel>("Panel7")->height(), scale.px(30));
    EXPECT_EQ(child<QLabel>("Panel7")->font().pixelSize(), scale.px(21));
    // The designed widths are the least a column gets; captions and texts may ask for more.
    EXPECT_GE(list()->ColWidths(4), scale.px(50)) << "Portionen";
    EXPECT_EQ(list()->RowHeights(1), scale.px(18));
    EXPECT_GE(plan()->ColWidths(2), scale.px(80));
}

TEST_F(MainWindowTest, TheKeyboardDoesWhatTheMouseDoes)
{
    dir.write("REZ00003.DAT", shelltest::singleRecipeFile({"Apfelkuchen", "Backwaren", 12}));
    open();
    QAction* startAction = child<QAction>("Programmstart1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return startAction->isEnabled(); }));
    press(Qt::Key_Return, Qt::ControlModifier);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return window->tabs()->isVisible() && !window->readingRecipes(); }));
    EXPECT_FALSE(startAction->isEnabled()) << "only while the start page shows";

    // Round the four work tabs and back; the focus always lands in the tab's list.
    for (const int tab : {TabPreview, TabMenuPlan, TabRequirements, TabRecipeList}) {
        press(Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(window->tabs()->currentIndex(), tab);
    }
    press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window->tabs()->currentIndex(), TabRequirements);
    press(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(window->tabs()->currentIndex(), TabMenuPlan);
    press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(window->tabs()->currentIndex(), TabRequirements);

    // F5 reads again.
    QSignalSpy read(window.get(), &TSDIAppForm::recipesRead);
    press(Qt::Key_F5);
    ASSERT_TRUE(read.count() > 0 || read.wait());

    // Ctrl+F goes to the search field wherever the list shows, also from the side panel.
    for (const int tab : {TabRecipeList, TabPreview, TabMenuPlan}) {
        clickTab(tab);
        if (tab == TabPreview)
            preview()->setFocus();
        else if (tab == TabMenuPlan)
            plan()->setFocus();
        press(Qt::Key_F, Qt::ControlModifier);
        EXPECT_TRUE(child<QWidget>("SuchFeld")->hasFocus()) << tab;
    }

    // "Ansicht" / "Sortieren nach": the list last worked in, by a column; the direction shows.
    list()->setFocus();
    auto* sortMenu = child<QMenu>("SortierenNach1");
    const auto sortBy = [&](const QString& caption) {
        emit sortMenu->aboutToShow();
        for (QAction* a : sortMenu->actions())
            if (a->text().section(QStringLiteral(" ("), 0, 0) == caption)
                a->trigger();
    };
    sortBy(QStringLiteral("Rezept"));
    EXPECT_EQ(list()->GetCell(2, 1), "Apfelkuchen");
    EXPECT_EQ(list()->horizontalHeader()->sortIndicatorSection(), 1);
    sortBy(QStringLiteral("Rezept"));
    EXPECT_EQ(list()->GetCell(2, 1), "Linsensuppe");
    emit sortMenu->aboutToShow();
    EXPECT_TRUE(sortMenu->actions().at(1)->text().endsWith(QStringLiteral("(absteigend)")));
}

TEST(GuideText, FurtherLinesHangRightOfTheFirst)
{
    QTextEdit edit;
    writeGuideText(&edit, 1);
    const QTextBlockFormat f = edit.document()->firstBlock().blockFormat();
    const double pt = 96.0 / 72.0;
    // Further lines start at the left margin, the first line at margin + indent.
    EXPECT_NEAR(f.leftMargin(), 15 * pt, 1e-9);
    EXPECT_NEAR(f.leftMargin() + f.textIndent(), 5 * pt, 1e-9);
    EXPECT_NEAR(f.rightMargin(), 5 * pt, 1e-9);
    // Every paragraph, the last included, and the product text alike.
    EXPECT_EQ(edit.document()->lastBlock().blockFormat().textIndent(), f.textIndent());
    writeProductText(&edit);
    EXPECT_EQ(edit.document()->lastBlock().blockFormat().leftMargin(), f.leftMargin());
    EXPECT_EQ(edit.document()->lastBlock().blockFormat().textIndent(), f.textIndent());
}

} // namespace
