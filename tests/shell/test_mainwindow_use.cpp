// The main window used as a cook would in the first minutes: keys after tab changes, the
// current row after a read, the start page's links, the dialogs' borders, the layout's sizes.
#include "grid/astringgrid.h"
#include "platform/gui/uifont.h"
#include "recipefixtures.h"
#include "shell/guidetexts.h"
#include "shell/hemispherebutton.h"
#include "shell/startpage.h"
#include "shell/tsdiappform.h"
#include "support/testdir.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace kovanta;

namespace {

constexpr int kNever = 24 * 60 * 60 * 1000;

class MainWindowUse : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.write("REZ00001.DAT", shelltest::singleRecipeFile({"Gulasch", "Fleisch", 10, 512, 7}));
        dir.write("REZ00002.DAT", shelltest::singleRecipeFile({"Linsensuppe", "Suppen", 20, 230}));
        dir.write("REZ00003.DAT", shelltest::singleRecipeFile({"Apfelkuchen", "Backwaren", 12}));
    }

    void open(int startDelayMs)
    {
        ShellOptions options;
        options.programDirectory = QString::fromStdString(dir.dir());
        options.startDelayMs = startDelayMs;
        window = std::make_unique<TSDIAppForm>(options);
        window->resize(1000, 650);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // "Programmstart" clicked with the mouse, the tabs shown.
    void start()
    {
        auto* button = child<QAbstractButton>("HemisphereButton16");
        ASSERT_TRUE(QTest::qWaitFor([&] { return button->isEnabled(); }));
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->tabs()->isVisible(); }));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->readingRecipes(); }));
        QCoreApplication::processEvents();
    }

    // "Rezepte neu einlesen": the read runs on a worker thread; its list arrives later.
    void reread()
    {
        window->reloadRecipes();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->readingRecipes(); }));
    }

    template <typename T> T* child(const char* name) const
    {
        return window->findChild<T*>(QString::fromUtf8(name));
    }
    TAStringGrid* list() const { return child<TAStringGrid>("StringGrid1"); }
    TAStringGrid* plan() const { return child<TAStringGrid>("StringGrid2"); }
    QTextEdit* preview() const { return child<QTextEdit>("RichEdit1"); }

    // A tab chosen with the mouse on the tab bar.
    void clickTab(int tab)
    {
        QTabBar* bar = window->tabs()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
        QCoreApplication::processEvents();
    }

    // A key as the keyboard delivers it: to the widget holding the focus.
    void press(Qt::Key key)
    {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, key);
        QCoreApplication::processEvents();
    }

    int rowOf(const std::string& name) const
    {
        for (int row = 1; row < list()->RowCount(); ++row)
            if (list()->GetCell(2, row) == name)
                return row;
        return -1;
    }

    TestDir dir;
    std::unique_ptr<TSDIAppForm> window;
};

} // namespace

TEST_F(MainWindowUse, SpaceAfterATabChangeNeverQuits)
{
    open(0);
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
    QTest::mouseClick(plan()->viewport(), Qt::LeftButton, {},
                      plan()->viewport()->mapFrom(plan(), plan()->CellRect(1, 2).center()));
    QCoreApplication::processEvents();
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

TEST_F(MainWindowUse, RoundAndStartPageButtonsNeverTakeTheFocus)
{
    open(kNever);
    const QList<HemisphereButton*> buttons = window->findChildren<HemisphereButton*>();
    EXPECT_EQ(buttons.size(), 6 + 8);
    for (const HemisphereButton* b : buttons)
        EXPECT_EQ(b->focusPolicy(), Qt::NoFocus) << b->objectName().toStdString();
}

TEST_F(MainWindowUse, EveryReadLeavesACurrentRowForThePreview)
{
    open(0);
    start();
    EXPECT_TRUE(list()->currentIndex().isValid());
    EXPECT_EQ(list()->Row(), 1);
    clickTab(TabPreview);
    const QString first = QString::fromStdString(list()->GetCell(2, 1));
    EXPECT_TRUE(preview()->toPlainText().contains(first)) << first.toStdString();

    // A re-read that still holds the current recipe keeps it current, wherever it now lies.
    const int soup = rowOf("Linsensuppe");
    list()->SetCurrentCell(2, soup);
    dir.write("REZ00000.DAT", shelltest::singleRecipeFile({"Brot", "Backwaren", 8}));
    reread();
    EXPECT_EQ(list()->GetCell(2, list()->Row()), "Linsensuppe");
    EXPECT_TRUE(preview()->toPlainText().contains(QStringLiteral("Linsensuppe")));

    // One that lost it starts again at row 1, and the preview follows.
    std::filesystem::remove(dir.path() / "REZ00002.DAT");
    reread();
    EXPECT_EQ(list()->Row(), 1);
    EXPECT_NE(rowOf("Linsensuppe"), 1);
    const QString now = QString::fromStdString(list()->GetCell(2, 1));
    EXPECT_TRUE(preview()->toPlainText().contains(now)) << now.toStdString();

    // An empty read leaves no row to make current.
    for (const char* f : {"REZ00000.DAT", "REZ00001.DAT", "REZ00003.DAT"})
        std::filesystem::remove(dir.path() / f);
    reread();
    EXPECT_EQ(list()->Objects(0, 1), nullptr);
    EXPECT_TRUE(preview()->toPlainText().isEmpty());
}

TEST_F(MainWindowUse, ALinkWithoutABrowserSaysSoInTheStatusBar)
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

TEST_F(MainWindowUse, AboutBoxHasADialogBorder)
{
    open(kNever);
    child<QAction>("Info1")->trigger();
    auto* box = child<QDialog>("InfoDlg1");
    ASSERT_NE(box, nullptr);
    const Qt::WindowFlags flags = box->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    box->close();
}

TEST_F(MainWindowUse, DesignedSizesGrowWithTheApplicationFont)
{
    open(kNever);
    const UiScale scale = applicationUiScale();
    EXPECT_EQ(child<QWidget>("Panel2")->width(), scale.px(36));
    EXPECT_EQ(child<QWidget>("HemisphereButton1")->size(), QSize(scale.px(32), scale.px(32)));
    EXPECT_EQ(child<QWidget>("HemisphereButton16")->size(), QSize(scale.px(150), scale.px(35)));
    EXPECT_EQ(child<QLabel>("Panel7")->height(), scale.px(30));
    EXPECT_EQ(child<QLabel>("Panel7")->font().pixelSize(), scale.px(21));
    // The designed widths are the least a column gets; captions and texts may ask for more.
    EXPECT_GE(list()->ColWidths(4), scale.px(50)) << "Portionen";
    EXPECT_EQ(list()->RowHeights(1), scale.px(18));
    EXPECT_GE(plan()->ColWidths(2), scale.px(80));
}

TEST_F(MainWindowUse, TheKeyboardDoesWhatTheMouseDoes)
{
    open(0);
    const auto key = [](int k, Qt::KeyboardModifiers mods = Qt::ControlModifier) {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(k), mods);
        QCoreApplication::processEvents();
    };
    QAction* startAction = child<QAction>("Programmstart1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return startAction->isEnabled(); }));
    key(Qt::Key_Return);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return window->tabs()->isVisible() && !window->readingRecipes(); }));
    EXPECT_FALSE(startAction->isEnabled()) << "only while the start page shows";

    // Round the four work tabs and back; the focus always lands in the tab's list.
    for (const int tab : {TabPreview, TabMenuPlan, TabRequirements, TabRecipeList}) {
        key(Qt::Key_Tab);
        EXPECT_EQ(window->tabs()->currentIndex(), tab);
    }
    key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window->tabs()->currentIndex(), TabRequirements);
    key(Qt::Key_PageUp);
    EXPECT_EQ(window->tabs()->currentIndex(), TabMenuPlan);
    key(Qt::Key_PageDown);
    EXPECT_EQ(window->tabs()->currentIndex(), TabRequirements);

    // F5 reads again.
    QSignalSpy read(window.get(), &TSDIAppForm::recipesRead);
    key(Qt::Key_F5, Qt::NoModifier);
    ASSERT_TRUE(read.count() > 0 || read.wait());

    // Ctrl+F goes to the search field wherever the list shows, also from the side panel.
    for (const int tab : {TabRecipeList, TabPreview, TabMenuPlan}) {
        clickTab(tab);
        if (tab == TabPreview)
            preview()->setFocus();
        else if (tab == TabMenuPlan)
            plan()->setFocus();
        key(Qt::Key_F);
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
