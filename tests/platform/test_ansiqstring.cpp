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

TEST(AnsiQString, ControlCharactersBecomeVisibleEscapes)
{
    // ESC starting a colour sequence, an OSC title sequence ended by BEL, a C1 OSC and a NUL.
    const QString hostile = QStringLiteral("Not\u001b[31mFound\u001b]0;x\u0007 \u009d") +
                            QChar(u'\0') + QStringLiteral("Ende\r\n");
    EXPECT_EQ(visibleControls(hostile).toStdString(),
              "Not\\x1b[31mFound\\x1b]0;x\\x07 \\x9d\\x00Ende\\x0d\\x0a");
    // Ordinary German text, the euro sign and non-breaking spaces stay as they are.
    const QString plain = QStringLiteral("K\u00e4se \u20ac 3,50\u00a0St\u00fcck");
    EXPECT_EQ(visibleControls(plain), plain);
    EXPECT_EQ(visibleControls(QStringLiteral("Zeile 1\nZeile\t2"), true).toStdString(),
              "Zeile 1\nZeile\\x092");
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
