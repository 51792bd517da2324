#include "platform/qt/settingsstore.h"
#include "support/testdir.h"

#include <QFile>

#include <gtest/gtest.h>

using kovanta::SettingsStore;

TEST(SettingsStore, ValuesSurviveReopeningAndBadValuesGiveDefaults)
{
    TestDir dir;
    const QString file = QString::fromStdString(dir.dir() + "registry.conf");
    {
        SettingsStore s(file);
        s.writeBool(QStringLiteral("Software\\Kovanta\\Settings"), QStringLiteral("Zeilenfinder"),
                    false);
        s.writeInteger(QStringLiteral("Software/kovanta/SDIAppForm"), QStringLiteral("Width"), 812);
        s.writeString(QStringLiteral("Software/kovanta/SDIAppForm"), QStringLiteral("Left"),
                      QStringLiteral("abc"));
        s.writeString(QStringLiteral("Software/Kovanta/Settings"), QStringLiteral("MaxWindow"),
                      QStringLiteral("7"));
        ASSERT_TRUE(s.sync());
    }
    SettingsStore s(file);
    const QString settings = QStringLiteral("Software/Kovanta/Settings");
    const QString form = QStringLiteral("Software\\kovanta\\SDIAppForm");
    EXPECT_FALSE(s.readBool(settings, QStringLiteral("Zeilenfinder"), true));
    EXPECT_EQ(s.readString(settings, QStringLiteral("Zeilenfinder")), QStringLiteral("0"));
    EXPECT_TRUE(s.readBool(settings, QStringLiteral("MaxWindow"), false)); // any non-zero number
    EXPECT_TRUE(s.readBool(settings, QStringLiteral("Autosave"), true));   // missing
    EXPECT_EQ(s.readInteger(form, QStringLiteral("Width"), 0), 812);
    EXPECT_EQ(s.readInteger(form, QStringLiteral("Left"), -5), -5); // not a number
    EXPECT_FALSE(s.readBool(form, QStringLiteral("Left"), false));
    EXPECT_FALSE(s.hasValue(form, QStringLiteral("Top")));
}

TEST(SettingsStore, DefaultFileCanBeRedirected)
{
    TestDir dir;
    const QString file = QString::fromStdString(dir.dir() + "elsewhere.conf");
    SettingsStore::setDefaultFileName(file);
    {
        SettingsStore s;
        s.writeInteger(QStringLiteral("K"), QStringLiteral("V"), 3);
    }
    EXPECT_TRUE(QFile::exists(file));
    SettingsStore::setDefaultFileName({});
    EXPECT_NE(SettingsStore::defaultFileName(), file);
}

// Key names ignore case as in the registry: one group in the file for both spellings (the
// program's own, whichever comes first), and a file that already holds both (written before)
// keeps giving each its own values.
TEST(SettingsStore, KeyNamesIgnoreCaseAndKeepTheSpellingOnFile)
{
    TestDir dir;
    const QString file = QString::fromStdString(dir.dir() + "registry.conf");
    {
        SettingsStore s(file);
        s.writeInteger(QStringLiteral("Software\\kovanta\\SDIAppForm"), QStringLiteral("Width"), 700);
        s.writeBool(QStringLiteral("Software\\Kovanta\\Settings"), QStringLiteral("Autosave"), true);
        ASSERT_TRUE(s.sync());
    }
    QFile raw(file);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray text = raw.readAll();
    raw.close();
    EXPECT_TRUE(text.contains("Kovanta\\SDIAppForm\\Width=700")) << text.constData();
    EXPECT_FALSE(text.contains("kovanta\\")) << text.constData();
    EXPECT_EQ(SettingsStore(file).readInteger(QStringLiteral("software/KOVANTA/sdiappform"),
                                              QStringLiteral("Width"), 0),
              700);

    dir.write("old.conf", "[Software]\nKovanta\\Settings\\Autosave=0\nkovanta\\SDIAppForm\\Top=9\n"
                          "Kovanta\\SDIAppForm\\Top=5\n");
    SettingsStore old(QString::fromStdString(dir.dir() + "old.conf"));
    EXPECT_EQ(old.readInteger(QStringLiteral("Software\\kovanta\\SDIAppForm"), QStringLiteral("Top"), 0), 9);
    EXPECT_EQ(old.readInteger(QStringLiteral("Software\\Kovanta\\SDIAppForm"), QStringLiteral("Top"), 0), 5);
    EXPECT_FALSE(old.readBool(QStringLiteral("Software\\kovanta\\Settings"), QStringLiteral("Autosave"), true));
}
