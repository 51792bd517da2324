#include "platform/qt/ansiqstring.h"

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
