#include "dialogs/dirtree.h"
#include "dialogs/durchsuchen.h"
#include "support/testdir.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

using kovanta::TDirTree;
using kovanta::TDurchSuchen;

namespace {

QString qdir(const TestDir& d, const std::string& sub = {})
{
    return QString::fromStdString(d.dir() + sub);
}

void mkdirs(const TestDir& d, std::initializer_list<const char*> dirs)
{
    for (const char* p : dirs)
        std::filesystem::create_directories(d.path() / p);
}

} // namespace

TEST(DirTree, ListsSubdirectoriesSortedAndFiltered)
{
    TestDir d;
    mkdirs(d, {"beta", "Alpha", "alpha", ".hidden", "gamma"});
    d.write("file.txt", "x");
    TDirTree tree;
    EXPECT_EQ(
        tree.childNames(qdir(d)),
        (QStringList{QStringLiteral(".hidden"), QStringLiteral("Alpha"), QStringLiteral("alpha"),
                     QStringLiteral("beta"), QStringLiteral("gamma")}))
        << "dtAll lists hidden directories, no files";

    tree.setDirTypes(TDirTree::dtNormal);
    EXPECT_FALSE(tree.childNames(qdir(d)).contains(QStringLiteral(".hidden")));
    tree.setDirTypes(TDirTree::dtHidden);
    EXPECT_EQ(tree.childNames(qdir(d)), QStringList{QStringLiteral(".hidden")});

    tree.setDirTypes(TDirTree::DirTypes(TDirTree::dtNormal) | TDirTree::dtAll);
    tree.OnAddDir = [](TDirTree*, const QString& path, bool& add) {
        add = !path.endsWith(QLatin1String("/beta/"));
    };
    EXPECT_FALSE(tree.childNames(qdir(d)).contains(QStringLiteral("beta")));
    EXPECT_TRUE(tree.childNames(qdir(d, "missing")).isEmpty());
}

TEST(DirTree, NothingBelowARecycleBinUnlessAllowed)
{
    struct Case {
        const char* path;
        bool below;
    };
    const Case cases[] = {
        {"/data/RECYCLED/", false},
        {"/data/Recycled/x/", true},
        {"/data/recycler/a/b/", true},
        {"/home/u/.Trash-1000/files/", true},
        {"/media/usb/.Trash/x/", true},
        {"/home/u/.local/share/Trash/files/", true},
        {"/home/u/.local/share/Trash/", false},
        {"/data/Trash/x/", false},
        {"/data/.Trash-abc/x/", false},
        {"/data/recycledstuff/x/", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TDirTree::isBelowRecycleBin(QString::fromLatin1(c.path)), c.below) << c.path;

    TestDir d;
    mkdirs(d, {".Trash-1000/files/old", "keep"});
    TDirTree tree;
    EXPECT_TRUE(tree.childNames(qdir(d)).contains(QStringLiteral(".Trash-1000")));
    EXPECT_TRUE(tree.childNames(qdir(d, ".Trash-1000/")).isEmpty());
    tree.setGoBelowRecycleBin(true);
    EXPECT_EQ(tree.childNames(qdir(d, ".Trash-1000/")), QStringList{QStringLiteral("files")});
}

TEST(DirTree, SelectPathReachesDeepPathsAndIgnoresMissingOnes)
{
    TestDir d;
    mkdirs(d, {"rezepte/Kantine/Suppen/2024", "rezepte/other"});
    TDirTree tree;
    tree.Rebuild();
    ASSERT_GE(tree.topLevelItemCount(), 1);
    EXPECT_EQ(tree.topLevelItem(0)->text(0), QStringLiteral("Dateisystem"));
    EXPECT_FALSE(tree.topLevelItem(0)->data(0, TDirTree::ReadRole).toBool())
        << "children listed only on first expansion";
    EXPECT_EQ(tree.SelectedPath(), QStringLiteral("?"));

    const QString deep = qdir(d, "rezepte/Kantine/Suppen/2024/");
    tree.SelectPath(deep.chopped(1)); // a trailing "/" is added
    EXPECT_EQ(tree.SelectedPath(), deep);
    EXPECT_TRUE(tree.currentItem()->parent()->isExpanded());

    tree.SelectPath(qdir(d, "rezepte/Kantine/Gone/"));
    EXPECT_EQ(tree.SelectedPath(), deep) << "missing path: selection unchanged";
    tree.SelectPath(QStringLiteral("?"));
    EXPECT_EQ(tree.SelectedPath(), deep);
    EXPECT_THROW(tree.SelectPath(QString()), std::invalid_argument);

    // Names are matched ignoring case when no exact name exists.
    tree.SelectPath(qdir(d, "REZEPTE/OTHER"));
    EXPECT_EQ(tree.SelectedPath(), qdir(d, "rezepte/other/"));
    tree.SelectPath(qdir(d, "rezepte/x/../Kantine"));
    EXPECT_EQ(tree.SelectedPath(), qdir(d, "rezepte/Kantine/"));
}

class BrowseDialog : public ::testing::Test {
protected:
    // Shows the dialog and lets the queued tree fill run.
    void open(TDurchSuchen& dlg)
    {
        dlg.show();
        EXPECT_EQ(dlg.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                  QStringLiteral("Verzeichnisstruktur lesen..."));
        QCoreApplication::processEvents();
    }
    QPushButton* ok(TDurchSuchen& dlg)
    {
        return dlg.findChild<QPushButton*>(QStringLiteral("BitBtn1"));
    }
    TestDir d;
};

TEST_F(BrowseDialog, OkFollowsTheMask)
{
    mkdirs(d, {"empty", "withfile", "wrongfile"});
    d.write("withfile/rez0001.dat", "x");
    d.write("wrongfile/REZ1001.DAT", "x");
    TDurchSuchen dlg;
    dlg.setFileMask(QStringLiteral("REZ0*.DAT"));
    dlg.setInitialPath(qdir(d, "empty/"));
    open(dlg);
    EXPECT_EQ(dlg.findChild<QLabel*>(QStringLiteral("Label1"))->text(), qdir(d, "empty/"));
    EXPECT_FALSE(ok(dlg)->isEnabled());
    dlg.tree()->SelectPath(qdir(d, "withfile/"));
    EXPECT_TRUE(ok(dlg)->isEnabled());
    dlg.tree()->SelectPath(qdir(d, "wrongfile/"));
    EXPECT_FALSE(ok(dlg)->isEnabled());

    dlg.tree()->SelectPath(qdir(d, "withfile/"));
    QTest::mouseClick(ok(dlg), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.selectedPath(), qdir(d, "withfile/"));
}

TEST_F(BrowseDialog, WithoutMaskOkIsEnabledAndAMissingStartSelectsNothing)
{
    TDurchSuchen dlg(nullptr, false);
    dlg.setInitialPath(qdir(d, "gone/"));
    open(dlg);
    EXPECT_TRUE(ok(dlg)->isEnabled());
    EXPECT_EQ(dlg.selectedPath(), QStringLiteral("?"));
    EXPECT_EQ(dlg.findChild<QMenu*>(QStringLiteral("PopupMenu1")), nullptr);
}

TEST_F(BrowseDialog, CreatesASubdirectoryAndSelectsIt)
{
    mkdirs(d, {"base"});
    TDurchSuchen dlg;
    dlg.setInitialPath(qdir(d, "base/"));
    open(dlg);
    QString askedTitle;
    QString answer = QStringLiteral("Neu");
    dlg.askName = [&](QWidget*, const QString& title) -> std::optional<QString> {
        askedTitle = title;
        return answer;
    };
    dlg.createDirectory();
    EXPECT_EQ(askedTitle, qdir(d, "base/"));
    EXPECT_TRUE(QDir(qdir(d, "base/Neu")).exists());
    EXPECT_EQ(dlg.selectedPath(), qdir(d, "base/Neu/"));

    for (const char* bad : {"", "a/b", "..", "Neu"}) { // "Neu" exists now: mkdir fails
        dlg.tree()->SelectPath(qdir(d, "base/"));
        answer = QString::fromLatin1(bad);
        dlg.createDirectory();
        EXPECT_EQ(dlg.selectedPath(), qdir(d, "base/")) << bad;
    }
    EXPECT_FALSE(QDir(qdir(d, "base/a")).exists());
}

TEST(DirTree, PlacesStartWithRootAndHome)
{
    const QList<TDirTree::Place> places = TDirTree::places();
    ASSERT_GE(places.size(), 1);
    EXPECT_EQ(places[0].path, QStringLiteral("/"));
    EXPECT_EQ(places[0].name, QStringLiteral("Dateisystem"));
    if (QDir::homePath() != QLatin1String("/")) {
        ASSERT_GE(places.size(), 2);
        EXPECT_EQ(places[1].path, QDir::homePath() + QLatin1Char('/'));
        EXPECT_EQ(places[1].name, QStringLiteral("Pers\u00f6nlicher Ordner"));
    }
    for (const TDirTree::Place& p : places)
        EXPECT_TRUE(p.path.endsWith(QLatin1Char('/'))) << p.path.toStdString();
}

TEST_F(BrowseDialog, BrowseDirectoryReturnsTheChoiceOrNothingWhenCancelled)
{
    mkdirs(d, {"a/b"});
    d.write("a/REZ00001.DAT", "x");
    const QString start = qdir(d, "a/");
    auto answer = [](bool accept) {
        // Queued twice, so the answer comes after the dialog's own queued tree fill.
        QTimer::singleShot(0, [accept] {
            QTimer::singleShot(0, [accept] {
                auto* dlg = qobject_cast<TDurchSuchen*>(QApplication::activeModalWidget());
                ASSERT_NE(dlg, nullptr);
                EXPECT_EQ(dlg->selectedPath(), dlg->initialPath());
                dlg->findChild<QPushButton*>(QLatin1String(accept ? "BitBtn1" : "BitBtn2"))
                    ->click();
            });
        });
    };
    answer(true);
    EXPECT_EQ(kovanta::BrowseDirectory(start, QStringLiteral("Titel"), QStringLiteral("REZ0*.DAT"),
                                       true),
              start);
    answer(false);
    EXPECT_EQ(kovanta::BrowseDirectory(start, {}, {}, false), std::nullopt);
}

TEST(DirTree, ExpandArrowOnlyWhereASubfolderWouldBeListed)
{
    TestDir d;
    mkdirs(d, {"empty", "files", "nested/child", "onlyhidden/.cache", "deep/a/b/c"});
    d.write("files/REZ00001.DAT", "x");
    TDirTree tree;
    tree.setDirTypes(TDirTree::dtNormal);
    tree.Rebuild();
    tree.SelectPath(qdir(d, "empty"));
    ASSERT_EQ(tree.SelectedPath(), qdir(d, "empty/"));
    QTreeWidgetItem* parent = tree.currentItem()->parent();
    ASSERT_NE(parent, nullptr);
    auto policyOf = [&](const char* name) {
        for (int i = 0; i < parent->childCount(); ++i)
            if (parent->child(i)->text(0) == QLatin1String(name))
                return parent->child(i)->childIndicatorPolicy();
        ADD_FAILURE() << name;
        return QTreeWidgetItem::DontShowIndicatorWhenChildless;
    };
    EXPECT_EQ(policyOf("empty"), QTreeWidgetItem::DontShowIndicator);
    EXPECT_EQ(policyOf("files"), QTreeWidgetItem::DontShowIndicator) << "files are no subfolders";
    EXPECT_EQ(policyOf("onlyhidden"), QTreeWidgetItem::DontShowIndicator)
        << "a hidden folder this tree does not list";
    EXPECT_EQ(policyOf("nested"), QTreeWidgetItem::ShowIndicator);
    EXPECT_EQ(policyOf("deep"), QTreeWidgetItem::ShowIndicator);
    // Looking one level down lists nothing: the children come at the first expansion.
    for (int i = 0; i < parent->childCount(); ++i)
        EXPECT_EQ(parent->child(i)->childCount(), 0);

    // With hidden folders listed, the folder holding one gets its arrow.
    tree.setDirTypes(TDirTree::DirTypes(TDirTree::dtNormal) | TDirTree::dtAll);
    EXPECT_TRUE(tree.hasChildDirectory(qdir(d, "onlyhidden")));
    EXPECT_FALSE(tree.hasChildDirectory(qdir(d, "files")));
    EXPECT_FALSE(tree.hasChildDirectory(qdir(d, "missing")));
    tree.OnAddDir = [](TDirTree*, const QString& path, bool& add) {
        add = !path.endsWith(QLatin1String("/child/"));
    };
    EXPECT_FALSE(tree.hasChildDirectory(qdir(d, "nested"))) << "OnAddDir's veto counts";
}

TEST_F(BrowseDialog, HasADialogBorder)
{
    TDurchSuchen dlg;
    const Qt::WindowFlags flags = dlg.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
}
