#include "grid/core/numberentry.h"

#include <gtest/gtest.h>

using kovanta::grid::NumberEntry;

namespace {

// Runs a key script on an entry. '<' is Backspace, '>' the Delete key, '.' the separator key
// going down and then pressed (what the ',' key does), '~' numpad minus, '+' numpad plus;
// every other character is a key press.
void run(NumberEntry& e, std::string_view keys)
{
    for (char k : keys) {
        switch (k) {
        case '<':
            e.keyPress('\b');
            break;
        case '>':
            e.deleteKey();
            break;
        case '.':
            e.separatorKeyDown();
            e.keyPress(',');
            break;
        case '~':
            if (e.numpadMinus())
                e.keyPress('-');
            break;
        case '+':
            e.numpadPlus();
            break;
        default:
            e.keyPress(k);
        }
    }
}

struct Case {
    const char* name;
    int decimals;
    const char* start; // text; '|' marks the caret, [..] a selection
    const char* keys;
    const char* text;
    int caret;
};

void setUp(NumberEntry& e, std::string_view start)
{
    std::string text;
    int selStart = 0, selLength = 0;
    for (char c : start) {
        if (c == '|' || c == '[')
            selStart = static_cast<int>(text.size());
        else if (c == ']')
            selLength = static_cast<int>(text.size()) - selStart;
        else
            text.push_back(c);
    }
    e.setState(text, selStart, selLength);
}

} // namespace

TEST(NumberEntry, FixedPointEntry)
{
    const Case cases[] = {
        {"comma before separator steps over it", 3, "12|,500", ".", "12,500", 3},
        {"digit after separator overwrites", 3, "12|,500", ".9", "12,900", 4},
        {"typing at the end does nothing", 3, "12,900|", "7", "12,900", 6},
        {"minus toggles on", 3, "12,9|00", "-", "-12,900", 5},
        {"second minus toggles off", 3, "12,9|00", "--", "12,900", 4},
        {"comma at the start deletes forward first", 3, "|12,500", ".", "2,500", 2},
        {"fresh cell: 7 replaces 12,500", 3, "[12,50]0", "7", "7,000", 1},
        {"integer 0, 4, 2", 0, "[]0", "42", "42", 2},
        {"integer backspace twice", 0, "42|", "<<", "0", 1},
        {"separator dropped in integer column", 0, "4|2", ",", "42", 1},
        {"letters dropped", 2, "1|,00", "a", "1,00", 1},
        {"blank, letter and control key leave a selected count", 0, "[25]", " x\x01", "25", 0},
        {"letter leaves a selected digit", 2, "[1,2]5", "R", "1,25", 0},
        {"separator in integer column leaves a selection", 0, "[2]5", ".", "25", 0},
        {"digit before separator lengthens integer part", 2, "1|,00", "2", "12,00", 2},
        {"digit inside integer part overwrites", 2, "|12,00", "3", "32,00", 1},
        {"leading zero is replaced", 2, "|0,00", "5", "5,00", 1},
        {"negative leading zero is replaced", 2, "-|0,00", "5", "-5,00", 2},
        {"caret after minus sign", 2, "|-0,00", "5", "-5,00", 2},
        {"backspace in decimals keeps their count", 2, "1,25|", "<", "1,20", 3},
        {"backspace on separator steps before it", 2, "1,|25", "<", "1,25", 1},
        {"backspace on last integer digit leaves 0", 2, "7|,25", "<", "0,25", 1},
        {"backspace of negative last digit leaves -0", 2, "-7|,25", "<", "-0,25", 1},
        {"forward delete on separator steps behind it", 2, "1|,25", ">", "1,25", 2},
        {"delete a selection numerically", 2, "[1,2]5", ">", "0,50", 1},
        {"backspace removes only the selection", 2, "1,[25]", "<", "1,00", 2},
        {"integer negative single digit", 0, "-5|", "<", "-0", 1},
        {"numpad minus passes on", 2, "1|,00", "~", "-1,00", 2},
        {"numpad minus on negative goes home", 2, "-1,0|0", "~", "-1,00", 0},
        {"numpad plus removes the sign", 2, "-1,0|0", "+", "1,00", 0},
        {"maximum length", 0, "123456789012345|6", "7", "1234567890123456", 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        NumberEntry e(c.decimals);
        setUp(e, c.start);
        run(e, c.keys);
        EXPECT_EQ(e.text(), c.text);
        EXPECT_EQ(e.selStart(), c.caret);
    }
}

TEST(NumberEntry, LoadingFormatsAndSelectsAllButTheLastCharacter)
{
    NumberEntry e(3);
    e.load("12,5");
    EXPECT_EQ(e.text(), "12,500");
    EXPECT_EQ(e.selStart(), 0);
    EXPECT_EQ(e.selLength(), 5);
    e.load("");
    EXPECT_EQ(e.text(), "0,000");
    e.load("Salz");
    EXPECT_EQ(e.text(), "0,000");
    e.load(" -1,2345 ");
    EXPECT_EQ(e.text(), "-1,235"); // half away from zero
    e.load("-0,0001");
    EXPECT_EQ(e.text(), "0,000");
    e.load("99,9999");
    EXPECT_EQ(e.text(), "100,000");
    EXPECT_EQ(e.units(), 100000);
    NumberEntry i(0);
    i.load("0");
    EXPECT_EQ(i.text(), "0");
    EXPECT_EQ(i.selLength(), 0);
    i.load("12,7");
    EXPECT_EQ(i.text(), "13");
}

TEST(NumberEntry, PasteAndMinusIgnore)
{
    NumberEntry e(2);
    e.load("0");
    e.paste("12x,5");
    // The leading 0 is replaced, '1' then '2' go before the separator, x is dropped,
    // ',' jumps to the decimals and 5 overwrites the first decimal.
    EXPECT_EQ(e.text(), "12,50");
    e.selectAll();
    e.paste("Salz");
    EXPECT_EQ(e.text(), "12,50");
    e.setMinusIgnore(true);
    e.setState("-3,00", 2);
    run(e, "~");
    EXPECT_EQ(e.text(), "3,00");
    run(e, "-");
    EXPECT_EQ(e.text(), "3,00");
}

TEST(NumberEntry, KeyCalculationsOnlyWithTheirSwitch)
{
    using namespace kovanta::grid;
    NumberEntry e(2);
    e.load("100");
    EXPECT_FALSE(applyKeyCalc(e, 'A', {}));
    EXPECT_EQ(e.text(), "100,00");
    KeyCalcSwitches sw;
    sw.mwst = true;
    EXPECT_TRUE(applyKeyCalc(e, 'A', sw));
    EXPECT_EQ(e.text(), "120,00");
    EXPECT_EQ(e.selLength(), 6);
    EXPECT_TRUE(applyKeyCalc(e, 'B', sw));
    EXPECT_EQ(e.text(), "100,00");
    sw.eur = true;
    e.load("1");
    EXPECT_TRUE(applyKeyCalc(e, 'E', sw));
    EXPECT_EQ(e.text(), "13,76");
    e.load("-1");
    applyKeyCalc(e, 'E', sw);
    EXPECT_EQ(e.text(), "-13,76");
}

TEST(NumberEntry, LimitsRefuseKeysThatLeaveTheRange)
{
    // The menu plan's portions: whole numbers up to five digits, either sign.
    NumberEntry e(0);
    e.setLimits(-99999, 99999);
    e.load("0");
    run(e, "123456");
    EXPECT_EQ(e.text(), "12345");
    EXPECT_TRUE(e.refusedAtLimit());
    run(e, "<");
    EXPECT_FALSE(e.refusedAtLimit());
    run(e, "9");
    EXPECT_EQ(e.text(), "12349");
    // The sign keeps the value inside; a refused key leaves text and caret as they were.
    run(e, "-");
    EXPECT_EQ(e.text(), "-12349");
    const int caret = e.selStart();
    run(e, "7");
    EXPECT_EQ(e.text(), "-12349");
    EXPECT_EQ(e.selStart(), caret);
    EXPECT_TRUE(e.refusedAtLimit());
    // A digit that overwrites a selection is checked like any other.
    e.setState("99999", 0, 1);
    run(e, "1");
    EXPECT_EQ(e.text(), "19999");
    e.setState("19999", 0, 0);
    run(e, "2");
    EXPECT_EQ(e.text(), "19999") << "inserting in front makes six digits";

    // A value already beyond the limits (stored before) can still be edited towards them.
    e.setState("250000", 6);
    run(e, "<");
    EXPECT_EQ(e.text(), "25000");
    e.setState("250000", 0, 1);
    run(e, "1");
    EXPECT_EQ(e.text(), "150000");
    e.setState("150000", 0, 1);
    run(e, "9");
    EXPECT_EQ(e.text(), "150000") << "farther out is refused";

    // Limits in a column with decimals count in its last decimal place; pasting goes key by
    // key, so it stops where the limit is reached.
    NumberEntry d(2);
    d.setLimits(0, 1000);
    d.load("0");
    d.paste("123");
    EXPECT_EQ(d.text(), "1,00") << "12,00 would be 1200 units";
    d.clearLimits();
    d.load("0");
    d.paste("123");
    EXPECT_EQ(d.text(), "123,00");
    // Without limits a key dropped for an unknown character is no limit refusal; the length
    // limit is one.
    d.setState("1,00", 1);
    run(d, "x");
    EXPECT_FALSE(d.refusedAtLimit());
    NumberEntry l(0);
    l.setState("1234567890123456", 16);
    run(l, "7");
    EXPECT_TRUE(l.refusedAtLimit());
}
