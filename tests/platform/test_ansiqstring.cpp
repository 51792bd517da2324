#include "platform/qt/ansiqstring.h"
#include "platform/qt/qtstrings.h"

#include <gtest/gtest.h>

using namespace kovanta;

TEST(AnsiQString, ConvertsBothWays)
{
    const std::string ansi = "K\xE4sesp\xE4tzle \x80 \x84"
                             "a\x93";
    const QString text = ansiToQString(ansi);
    EXPECT_EQ(text, QString::fromUtf8("Käsespätzle € „a“"));
    EXPECT_EQ(qstringToAnsi(text), ansi);
    EXPECT_EQ(qstringToAnsi(QString::fromUtf8("日本")), "??");
    EXPECT_TRUE(ansiToQString("").isEmpty());
}

// The directory browser and the main window join names onto directories with it.
TEST(QtStrings, TrailingSlashAddedOnce)
{
    const QString kantine = QStringLiteral("/rezepte/kantine/");
    EXPECT_EQ(withTrailingSlash(QStringLiteral("/rezepte/kantine")), kantine);
    EXPECT_EQ(withTrailingSlash(kantine), kantine);
    EXPECT_EQ(withTrailingSlash(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(withTrailingSlash(QString()), QStringLiteral("/")) << "an empty path is the root";
    EXPECT_EQ(withTrailingSlash(QStringLiteral("/Käse\\")), QStringLiteral("/Käse\\/"));
}
