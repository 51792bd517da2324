#include "dialogs/pfaddatendefinition.h"
#include "support/testdir.h"

#include <QAction>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

using kovanta::TPfaddatendefinition;
using Entries = std::vector<TPfaddatendefinition::Entry>;

namespace {

struct Dialog {
    TPfaddatendefinition dlg;
    std::vector<std::optional<QString>> answers; // what the browser returns, in turn
    std::vector<QString> starts;                 // where each browse started

    explicit Dialog(const Entries& entries)
    {
        dlg.setEntries(entries);
        dlg.browse = [this](QWidget*, const QString& initial) {
            starts.push_back(initial);
            std::optional<QString> a = answers.front();
            answers.erase(answers.begin());
            return a;
        };
        dlg.show();
    }
    QListWidget* list() { return dlg.findChild<QListWidget*>(QStringLiteral("ListBox1")); }
    QPushButton* button(const char* name)
    {
        return dlg.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    void clickLine(int row)
    {
        QListWidget* l = list();
        const QRect r = l->visualItemRect(l->item(row));
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, r.center() + QPoint(40, 0));
    }
    void insert(std::optional<QString> answer)
    {
        answers.push_back(std::move(answer));
        QTest::mouseClick(button("Button1"), Qt::LeftButton);
    }
};

const Entries kStart{{"/srv/rezepte/", true}, {"/srv/Alt/", false}};

} // namespace

TEST(Pfaddatendefinition, ShowsCaptionsAndFlags)
{
    Dialog d(kStart);
    EXPECT_EQ(d.dlg.windowTitle(), QStringLiteral("Suchpfade festlegen"));
    EXPECT_EQ(d.button("Button1")->text(), QStringLiteral("Laufwerkspfad einf\u00fcgen..."));
    EXPECT_EQ(d.button("BitBtn3")->text(), QStringLiteral("Entfernen"));
    ASSERT_EQ(d.list()->count(), 2);
    EXPECT_EQ(d.list()->item(0)->text(), QStringLiteral("/srv/rezepte/"));
    EXPECT_EQ(d.list()->item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(d.list()->item(1)->checkState(), Qt::Unchecked);
    EXPECT_FALSE(d.button("BitBtn3")->isEnabled()) << "disabled until a line is clicked";
    EXPECT_EQ(d.dlg.entries(), kStart);
}

TEST(Pfaddatendefinition, AddingAppendsUncheckedOrSelectsTheListedLine)
{
    Dialog d(kStart);
    d.insert(QStringLiteral("/media/usb/Rezepte")); // "/" added
    d.insert(std::nullopt);                         // browser cancelled
    d.insert(QStringLiteral("?"));                  // OK without a selection
    d.insert(QStringLiteral("/srv/rezepte/"));      // listed: its line is selected
    d.insert(QStringLiteral("/srv/alt/"));          // case differs: another directory
    EXPECT_EQ(d.starts, (std::vector<QString>{QString(), QStringLiteral("/media/usb/Rezepte/"),
                                              QStringLiteral("/media/usb/Rezepte/"),
                                              QStringLiteral("/media/usb/Rezepte/"),
                                              QStringLiteral("/srv/rezepte/")}))
        << "each browse starts where the last one ended";
    EXPECT_EQ(d.dlg.entries(), (Entries{{"/srv/rezepte/", true},
                                        {"/srv/Alt/", false},
                                        {"/media/usb/Rezepte/", false},
                                        {"/srv/alt/", false}}));

    // Removing a directory and browsing to it again brings it back.
    d.insert(QStringLiteral("/srv/rezepte/"));
    EXPECT_EQ(d.list()->currentRow(), 0);
    QTest::mouseClick(d.button("BitBtn3"), Qt::LeftButton);
    d.insert(QStringLiteral("/srv/rezepte/"));
    EXPECT_EQ(d.dlg.entries().back(), (TPfaddatendefinition::Entry{"/srv/rezepte/", false}));
}

TEST(Pfaddatendefinition, RemovingNeedsASelectedLine)
{
    Dialog d(kStart);
    QAction* del = d.dlg.findChild<QAction*>(QStringLiteral("DeleteItem"));
    ASSERT_NE(del, nullptr);
    EXPECT_FALSE(del->isEnabled());
    d.dlg.removeSelected();
    EXPECT_EQ(d.list()->count(), 2) << "nothing selected, nothing removed";

    d.clickLine(1);
    EXPECT_TRUE(d.button("BitBtn3")->isEnabled());
    EXPECT_TRUE(del->isEnabled());
    QTest::mouseClick(d.button("BitBtn3"), Qt::LeftButton);
    EXPECT_EQ(d.dlg.entries(), (Entries{{"/srv/rezepte/", true}}));

    d.clickLine(0);
    ASSERT_EQ(d.list()->selectedItems().size(), 1);
    QTest::keyClick(d.list(), Qt::Key_Delete);
    EXPECT_TRUE(d.dlg.entries().empty()) << "Delete key removes the line";
}

TEST(Pfaddatendefinition, OkReturnsCheckMarksCancelDiscards)
{
    for (const bool accept : {true, false}) {
        Dialog d(kStart);
        d.clickLine(1);
        QTest::keyClick(d.list(), Qt::Key_Space); // tick "/srv/Alt/"
        d.insert(QStringLiteral("/neu/"));
        QTest::mouseClick(d.button(accept ? "BitBtn1" : "BitBtn2"), Qt::LeftButton);
        EXPECT_EQ(d.dlg.result(), accept ? QDialog::Accepted : QDialog::Rejected);
        if (accept) {
            EXPECT_EQ(d.dlg.entries(),
                      (Entries{{"/srv/rezepte/", true}, {"/srv/Alt/", true}, {"/neu/", false}}));
        }
    }
}

TEST(Pfaddatendefinition, KeepsPathBytesThatAreNotUtf8)
{
    const Entries odd{{"/srv/Rezepte-\xE4/", true}}; // Latin-1 name on a UTF-8 system
    Dialog d(odd);
    EXPECT_EQ(d.dlg.entries(), odd);
}

TEST(Pfaddatendefinition, NoBorderIconsAndMissingDirectoriesInGray)
{
    TestDir d;
    const std::string there = d.dir() + "rezepte/";
    std::filesystem::create_directories(there);
    Dialog dlg(Entries{{there, true}, {d.dir() + "weg/", true}});
    const Qt::WindowFlags flags = dlg.dlg.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));

    QListWidgetItem* found = dlg.list()->item(0);
    QListWidgetItem* missing = dlg.list()->item(1);
    EXPECT_TRUE(found->toolTip().isEmpty());
    EXPECT_EQ(missing->toolTip(), QStringLiteral("Verzeichnis nicht gefunden"));
    EXPECT_EQ(missing->foreground().color(),
              QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text));
    EXPECT_NE(found->foreground().color(), missing->foreground().color());
    // Nothing else changes: the line keeps its mark and comes back as it went in.
    EXPECT_EQ(missing->checkState(), Qt::Checked);
    EXPECT_EQ(dlg.dlg.entries()[1], (TPfaddatendefinition::Entry{d.dir() + "weg/", true}));

    // A directory added by browsing that exists is shown normally.
    std::filesystem::create_directories(d.path() / "neu");
    dlg.insert(QString::fromStdString(d.dir() + "neu/"));
    ASSERT_EQ(dlg.list()->count(), 3);
    EXPECT_TRUE(dlg.list()->item(2)->toolTip().isEmpty());
}
