#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace kovanta::codepage;

namespace {
unsigned char u(char c)
{
    return static_cast<unsigned char>(c);
}
} // namespace

TEST(CodePage, OemToAnsiCoversEveryByte)
{
    // Spot checks across the table: ASCII unchanged, umlauts, the best-fit graphics.
    struct Row {
        unsigned char oem, ansi;
    };
    const Row rows[] = {
        {0x00, 0x00},
        {0x0D, 0x0D},
        {0x1A, 0x1A},
        {'A', 'A'},
        {0x7F, 0x7F},
        {0x81, 0xFC /* ü */},
        {0x84, 0xE4 /* ä */},
        {0x94, 0xF6 /* ö */},
        {0x8E, 0xC4 /* Ä */},
        {0x99, 0xD6 /* Ö */},
        {0x9A, 0xDC /* Ü */},
        {0xE1, 0xDF /* ß */},
        {0x9F, 0x83 /* ƒ */},
        {0xF8, 0xB0 /* ° */},
        {0xFD, 0xB2 /* ² */},
        {0xAB, 0xBD /* ½ */},
        {0xFF, 0xA0 /* nbsp */},
        {0xD5, 'i'},
        {0xDC, '_'},
        {0xDF, 0xAF},
        {0xF2, '='},
    };
    for (const Row& r : rows)
        EXPECT_EQ(u(oemToAnsi(static_cast<char>(r.oem))), r.ansi) << std::hex << int(r.oem);

    const std::set<int> brokenBar = {0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB9, 0xBA, 0xCC, 0xDB, 0xFE};
    const std::set<int> plus = {0xBB, 0xBC, 0xBF, 0xC0, 0xC3, 0xC5, 0xC8, 0xC9, 0xCE, 0xD9, 0xDA};
    const std::set<int> minus = {0xC1, 0xC2, 0xC4, 0xCA, 0xCB, 0xCD};
    for (int b = 0; b < 256; ++b) {
        const unsigned char a = u(oemToAnsi(static_cast<char>(b)));
        if (b < 0x80) {
            EXPECT_EQ(a, b);
        } else if (brokenBar.count(b)) {
            EXPECT_EQ(a, 0xA6) << b;
        } else if (plus.count(b)) {
            EXPECT_EQ(a, '+') << b;
        } else if (minus.count(b)) {
            EXPECT_EQ(a, '-') << b;
        }
    }
}

TEST(CodePage, AnsiToOemRoundTripsEveryCharacterBothHave)
{
    // Every OEM byte that has an exact ANSI equivalent comes back unchanged.
    int exact = 0;
    for (int b = 0; b < 256; ++b) {
        const char oem = static_cast<char>(b);
        const char ansi = oemToAnsi(oem);
        if (ansiToOem(ansi) == oem) {
            ++exact;
            continue;
        }
        // Only the 31 best-fit bytes may fail to round-trip.
        EXPECT_GE(b, 0xB0) << b;
    }
    EXPECT_EQ(exact, 256 - 31);
}

TEST(CodePage, AnsiToOemNeverCreatesLineStructure)
{
    for (int b = 0; b < 256; ++b) {
        const unsigned char o = u(ansiToOem(static_cast<char>(b)));
        if (b == '\r' || b == '\n' || b == 0x1A) {
            EXPECT_EQ(o, b);
        } else {
            EXPECT_TRUE(o != '\r' && o != '\n' && o != 0x1A) << b;
        }
        // Typographic characters must not turn into the recipe format's markers.
        if (b >= 0x80 && b <= 0x9F) {
            EXPECT_TRUE(o != '^' && o != '*' && o != '.') << b;
        }
    }
    EXPECT_EQ(ansiToOem("\x84"
                        "Gr\xFC\xDF"
                        "e\x93 \x80"),
              std::string("\"Gr\x81\xE1"
                          "e\" E"));
}

TEST(CodePage, AnsiToUnicodeMatchesWindows1252)
{
    EXPECT_EQ(ansiToUnicode('\x80'), u'\u20AC');
    EXPECT_EQ(ansiToUnicode('\x84'), u'\u201E');
    EXPECT_EQ(ansiToUnicode('\x9F'), u'\u0178');
    for (unsigned char undefinedByte : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(ansiToUnicode(static_cast<char>(undefinedByte)), char16_t(undefinedByte));
    for (int b = 0xA0; b < 256; ++b)
        EXPECT_EQ(ansiToUnicode(static_cast<char>(b)), char16_t(b));
}

TEST(CodePage, Utf8RoundTripAndBadInput)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(utf8ToAnsi(ansiToUtf8(all)), all);
    EXPECT_EQ(ansiToUtf8("K\xE4se \x80"), "K\xC3\xA4se \xE2\x82\xAC");
    EXPECT_EQ(utf8ToAnsi("\xE2\x82"), "??"); // truncated sequence
    EXPECT_EQ(utf8ToAnsi("a\xFF"
                         "b"),
              "a?b");                           // invalid lead byte
    EXPECT_EQ(utf8ToAnsi("\xE6\x97\xA5"), "?"); // no ANSI byte for it
}
