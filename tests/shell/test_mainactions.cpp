// The main window's action handler on its own, over a fake window.

#include "app/searchpaths.h"
#include "shell/mainactions.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace kovanta;

namespace {

// Counts what the handler asks of the window.
class FakeWindow : public MainWindowPort {
public:
    QMainWindow window;
    QTextEdit* preview = new QTextEdit(&window);
    SearchPathList paths;
    QString webDirectory;
    int changes = 0;
    int reloads = 0;
    int rowFinderChanges = 0;
    int webImports = 0;

    QWidget* portWidget() override { return &window; }
    SearchPathList& portSearchPaths() override { return paths; }
    void markSearchPathsChanged() override { ++changes; }
    QString portWebRecipeDirectory() const override { return webDirectory; }
    void requestReload() override { ++reloads; }
    void rowFinderChanged() override { ++rowFinderChanges; }
    void showWebImport() override { ++webImports; }
    QTextEdit* previewText() override { return preview; }
};

// Runs f on the next modal dialog once it is up (queued twice: after the dialog's own steps).
void whenModal(std::function<void(QWidget*)> f)
{
    QTimer::singleShot(0, [f] {
        QTimer::singleShot(0, [f] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            f(modal);
        });
    });
}

void clickInModal(const char* button)
{
    whenModal([button](QWidget* modal) {
        auto* b = modal->findChild<QPushButton*>(QString::fromUtf8(button));
        ASSERT_NE(b, nullptr);
        QTest::mouseClick(b, Qt::LeftButton);
    });
}

QStringList actionTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* a : menu->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return texts;
}

class MainActionsTest : public testing::Test {
protected:
    FakeWindow fake;
    MainActions actions{fake, fake.window.menuBar(), &fake.window};

    QAction* action(const char* name) const
    {
        auto* a = fake.window.menuBar()->findChild<QAction*>(QString::fromUtf8(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
};

TEST_F(MainActionsTest, MenusWithTheirItemsShortcutsAndHints)
{
    const QList<QAction*> menus = fake.window.menuBar()->actions();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("&Datei"));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("&Optionen"));
    EXPECT_EQ(menus[2]->text(), QStringLiteral("&Hilfe"));
    EXPECT_EQ(actionTexts(menus[0]->menu()),
              (QStringList{QStringLiteral("Ö&ffnen..."), QStringLiteral("Web-Rezepte..."),
                           QStringLiteral("-"), QStringLiteral("&Beenden")}));
    EXPECT_EQ(actionTexts(menus[1]->menu()),
              (QStringList{QStringLiteral("&Zeilenfinder"), QStringLiteral("Maximale Fenstergröße"),
                           QStringLiteral("-"), QStringLiteral("&Verzeichnisse")}));
    EXPECT_EQ(actionTexts(menus[2]->menu()), QStringList{QStringLiteral("&Info...")});

    EXPECT_EQ(action("Beenden1")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_X));
    EXPECT_EQ(action("Verzeichnisse1")->statusTip(),
              QStringLiteral("Auswahl von Standardverzeichnissen"));
    EXPECT_EQ(action("WebRezepte1")->toolTip(), QStringLiteral("Rezepte aus dem Internet lesen"));
    EXPECT_TRUE(action("Info1")->statusTip().isEmpty());
    EXPECT_TRUE(action("Zeilenfinder1")->isCheckable());
    EXPECT_TRUE(action("MaximaleFenstergroesse1")->isCheckable());
}

TEST_F(MainActionsTest, StoredSwitchesAreSetWithoutActingOnThem)
{
    EXPECT_FALSE(actions.rowFinder());
    EXPECT_FALSE(actions.maxWindow());
    actions.setSwitches(true, true);
    EXPECT_TRUE(action("Zeilenfinder1")->isChecked());
    EXPECT_TRUE(actions.maxWindow());
    EXPECT_EQ(fake.rowFinderChanges, 0);
    EXPECT_FALSE(fake.window.isMaximized());

    action("Zeilenfinder1")->trigger();
    EXPECT_FALSE(actions.rowFinder());
    EXPECT_EQ(fake.rowFinderChanges, 1);
}

TEST_F(MainActionsTest, QuitClosesAndWebRecipesAsksTheWindow)
{
    fake.window.show();
    action("WebRezepte1")->trigger();
    EXPECT_EQ(fake.webImports, 1);
    action("Beenden1")->trigger();
    EXPECT_FALSE(fake.window.isVisible());
}

TEST_F(MainActionsTest, CopyPutsTheWholePreviewOnTheClipboard)
{
    fake.preview->setHtml(QStringLiteral("<b>Gulasch</b><br>1,25 kg Mehl"));
    actions.copyWholePreview();
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_EQ(mime->text(), QStringLiteral("Gulasch\n1,25 kg Mehl"));
    EXPECT_TRUE(mime->hasHtml());
    EXPECT_TRUE(mime->html().contains(QStringLiteral("font-weight")));
}

TEST_F(MainActionsTest, SearchPathDialogCancelledOrAccepted)
{
    fake.paths.add("/rezepte/kantine/", true);
    fake.webDirectory = QStringLiteral("/rezepte/internet/");

    // Cancelled: the list stays, the web directory is listed inactive, nothing is read again.
    clickInModal("BitBtn2");
    action("Verzeichnisse1")->trigger();
    EXPECT_EQ(fake.paths.entries(), (std::vector<SearchPath>{{"/rezepte/kantine/", true},
                                                             {"/rezepte/internet/", false}}));
    EXPECT_EQ(fake.changes, 1);
    EXPECT_EQ(fake.reloads, 0);

    // Cancelled again: the web directory is listed already, so this is no change.
    clickInModal("BitBtn2");
    actions.editSearchPaths();
    EXPECT_EQ(fake.changes, 1);

    // OK: the dialog's list replaces the program's and the recipes are read again.
    clickInModal("BitBtn1");
    action("Verzeichnisse1")->trigger();
    EXPECT_EQ(fake.paths.size(), 2u);
    EXPECT_EQ(fake.changes, 2);
    EXPECT_EQ(fake.reloads, 1);
}

TEST_F(MainActionsTest, WithoutAWebDirectoryNothingIsAppended)
{
    clickInModal("BitBtn2");
    action("Verzeichnisse1")->trigger();
    EXPECT_TRUE(fake.paths.empty());
    EXPECT_EQ(fake.changes, 0);
}

} // namespace
