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
