#include "grid/core/cellrules.h"
#include "grid/core/colnames.h"
#include "grid/core/datetimeentry.h"
#include "grid/core/gridsort.h"
#include "grid/core/gridwidths.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

using namespace kovanta::grid;

// ---- column definitions ---------------------------------------------------------------------

struct ColEntryCase {
    const char* entry;
    const char* name;
    int width;
    char datenTyp, readOnly, colSizing;
    const char* hint;
};

TEST(ColNames, ParsesEveryFieldAndKeepsDefaultsForMissingOnes)
{
    const ColEntryCase cases[] = {
        {"A|30", "A", 30, 'L', '0', '0', ""},
        {"B", "B", 0, 'L', '0', '0', ""},
        {"|20|0|1|1|", "", 20, '0', '1', '1', ""},
        {" S|19|X|1|1|Auswahl eines Rezeptes", " S", 19, 'X', '1', '1', "Auswahl eines Rezeptes"},
        {"Portionen|50|0|||Anzahl der Portionen", "Portionen", 50, '0', '0', '0',
         "Anzahl der Portionen"},
        {"kcal|45|0|1||kcal je Portion", "kcal", 45, '0', '1', '0', "kcal je Portion"},
        {"Breit|abc|Rxx|1", "Breit", 0, 'R', '1', '0', ""},
        // ',' and ';' end a field just like '|'.
        {"a,7;D|1", "a", 7, 'D', '1', '0', ""},
        {"", "", 0, 'L', '0', '0', ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        const ColEntry e = parseColEntry(c.entry);
        EXPECT_EQ(e.name, c.name);
        EXPECT_EQ(e.width, c.width);
        EXPECT_EQ(e.datenTyp, c.datenTyp);
        EXPECT_EQ(e.readOnly, c.readOnly);
        EXPECT_EQ(e.colSizing, c.colSizing);
        EXPECT_EQ(e.hint, c.hint);
    }
}

TEST(ColNames, BuildsPerColumnStateAndTreatsUncoveredColumnsAsReadOnly)
{
    const ColumnDefs defs = buildColumnDefs({"A|30", "B", "Menge|60|3|0|1|Benötigte Menge"});
    EXPECT_EQ(defs.sortTyp, "000");
    EXPECT_EQ(defs.datenTyp, "LL3");
    EXPECT_EQ(defs.readOnly, "000");
    EXPECT_EQ(defs.colSizing, "001");
    EXPECT_EQ(defs.designedWidths, (std::vector<int>{30, 0, 60}));
    EXPECT_TRUE(defs.editable(0) && defs.editable(1) && defs.editable(2));
    EXPECT_TRUE(defs.resizable(0) && defs.resizable(1));
    EXPECT_FALSE(defs.resizable(2));
    EXPECT_FALSE(defs.editable(3));
    EXPECT_FALSE(defs.editable(-1));
    EXPECT_EQ(defs.datenTypAt(7), 'L');
    EXPECT_TRUE(defs.hintAt(0).empty());
}

// ---- cell rules ----------------------------------------------------------------------------

TEST(CellRules, DigitValue)
{
    const std::pair<const char*, std::int64_t> cases[] = {
        {"0,000", 0},
        {"00.00.00", 0},
        {"", 0},
        {"12,500", 12500},
        {"24.12.99", 241299},
        {"-3", -3},
        {" 42", 42},
        {"42  ", 42},
        {"4 2", 0},
        {"abc", 0},
        {"1.234,5", 12345},
        {"99999999999", 99999999999},
        {"2147483,648", 2147483648}, // a large quantity with three decimals is no zero
        {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
        {"9223372036854775808", 0},
        {"99999999999999999999", 0},
        {"255", 255},
        {std::string_view("7\0", 2).data(), 7},
    };
    for (const auto& [text, value] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(digitValue(text), value);
    }
    EXPECT_EQ(digitValue(std::string_view("7\0\0", 3)), 7);
}

TEST(CellRules, BlankPainting)
{
    struct Case {
        char typ;
        const char* text;
        int row;
        bool blankNull;
        bool blank;
    };
    const Case cases[] = {
        {'3', "0,000", 1, true, true},
        {'3', "0,000", 1, false, false},
        {'3', "0,000", 0, true, false},
        {'3', "0,001", 1, true, false},
        {'0', "", 2, true, true},
        {'D', "00.00.00", 1, true, true},
        {'T', "00:00", 1, true, true},
        {'T', "00:30", 1, true, false},
        {'X', "255", 1, false, true},
        {'X', "255", 0, false, true},
        {'X', "1", 1, true, false},
        {'L', "0", 1, true, false},
        {'R', "0", 1, true, false},
        {'3', "2500000,000", 1, true, false},
        {'3', "4294967,296", 1, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(1, c.typ) + " '" + c.text + "' row " + std::to_string(c.row));
        EXPECT_EQ(paintsBlank(c.typ, c.text, c.row, 1, c.blankNull), c.blank);
    }
}

TEST(CellRules, KindsEditArtsAndSortTypes)
{
    EXPECT_EQ(cellKindFor('?'), CellKind::Left);
    EXPECT_EQ(alignmentFor(cellKindFor('3')), Align::Right);
    EXPECT_EQ(alignmentFor(cellKindFor('T')), Align::Left);
    EXPECT_EQ(alignmentFor(cellKindFor('D')), Align::Right);
    EXPECT_EQ(alignmentFor(cellKindFor('C')), Align::Centre);
    EXPECT_EQ(editArtFor('0'), 10);
    EXPECT_EQ(editArtFor('3'), 13);
    EXPECT_EQ(editArtFor('R'), 7);
    EXPECT_EQ(editArtFor('P'), 8);
    EXPECT_EQ(editArtFor('x'), 0);
    EXPECT_EQ(sortTypeFor('9'), SortType::Number);
    EXPECT_EQ(sortTypeFor('D'), SortType::Date);
    EXPECT_EQ(sortTypeFor('T'), SortType::Text);
}

TEST(CellRules, CheckBoxPicturesAndRowFinder)
{
    EXPECT_EQ(checkBoxPicture("1", false), 1);
    EXPECT_EQ(checkBoxPicture("0", false), 0);
    EXPECT_EQ(checkBoxPicture("10", true), 3);
    EXPECT_EQ(checkBoxPicture("x", true), 2);
    EXPECT_EQ(checkBoxPicture("", false), 0);
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(rowFinderShade(2, row, 1, 1, true), row % 2 == 1) << row;
        EXPECT_FALSE(rowFinderShade(2, row, 1, 1, false));
        EXPECT_FALSE(rowFinderShade(0, row, 1, 1, true)); // fixed column
    }
}

TEST(CellRules, SelectionColours)
{
    SelectionSettings s;
    s.gridHasFocus = true;
    s.editing = true;
    auto c = chooseCellColours({true, true, false}, s);
    EXPECT_EQ(c.background, Background::Highlight);
    EXPECT_EQ(c.foreground, Foreground::HighlightText);
    EXPECT_FALSE(c.checkBoxSelected); // the focused cell of an editing grid

    // Hidden selection in an editable column: normal colours without HideSelColor.
    s.hideSelektion = true;
    c = chooseCellColours({false, true, false}, s);
    EXPECT_EQ(c.background, Background::Normal);
    EXPECT_EQ(c.foreground, Foreground::Normal);
    s.columnReadOnly = true;
    EXPECT_EQ(chooseCellColours({false, true, false}, s).background, Background::Highlight);

    // A row-select grid without focus shows its selection in HideSelColor.
    SelectionSettings list;
    list.rowSelect = true;
    list.hasHideSelColor = true;
    list.gridHasFocus = false;
    EXPECT_EQ(chooseCellColours({true, true, false}, list).background, Background::HideSelColor);
    EXPECT_EQ(chooseCellColours({true, false, false}, list).background, Background::HideSelColor);
    EXPECT_EQ(chooseCellColours({true, false, false}, list).foreground, Foreground::HighlightText);
    list.gridHasFocus = true;
    EXPECT_EQ(chooseCellColours({true, false, false}, list).background, Background::Highlight);
    EXPECT_TRUE(chooseCellColours({true, true, false}, list).checkBoxSelected);
    // Fixed cells and unselected cells keep their colours.
    EXPECT_EQ(chooseCellColours({true, true, true}, list).background, Background::Normal);
    EXPECT_EQ(chooseCellColours({false, false, false}, list).background, Background::Normal);
}

TEST(CellRules, SplitLines)
{
    EXPECT_EQ(splitLines("a\r\nb\rc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(splitLines(""), (std::vector<std::string>{""}));
}

// ---- sorting -------------------------------------------------------------------------------

namespace {

const int kObj = 1;
const void* const obj = &kObj;

std::vector<std::string> sorted(const std::vector<std::pair<std::string, const void*>>& rows,
                                SortSettings s)
{
    std::vector<SortEntry> entries;
    for (const auto& [t, o] : rows)
        entries.push_back({t, o});
    std::vector<std::string> out;
    for (int i : sortOrder(entries, s))
        out.push_back(rows[i].first + (rows[i].second ? "" : "*"));
    return out;
}

// The reference: passes over neighbouring pairs until a pass makes no exchange.
std::vector<int> bubbleOrder(const std::vector<SortEntry>& e, const SortSettings& s)
{
    std::vector<int> work(e.size());
    for (std::size_t i = 0; i < work.size(); ++i)
        work[i] = static_cast<int>(i);
    bool exchanged = true;
    while (exchanged) {
        exchanged = false;
        for (std::size_t i = 0; i + 1 < work.size(); ++i) {
            const auto& a = e[work[i]];
            const auto& b = e[work[i + 1]];
            if (outOfOrder(a.text, b.text, a.object, b.object, s.type, s.sortArt, s.objectUsed)) {
                std::swap(work[i], work[i + 1]);
                exchanged = true;
            }
        }
    }
    return work;
}

} // namespace

TEST(GridSort, TextIsByteOrder)
{
    // "Äpfel" in ANSI: 0xC4 sorts after every ASCII letter.
    const std::string aepfel = "\xC4pfel";
    EXPECT_EQ(sorted({{aepfel, obj}, {"apfel", obj}, {"Zucker", obj}}, {}),
              (std::vector<std::string>{"Zucker", "apfel", aepfel}));
    EXPECT_EQ(sorted({{"apfel", obj}, {aepfel, obj}, {"Zucker", obj}}, {SortType::Text, 1, true}),
              (std::vector<std::string>{aepfel, "apfel", "Zucker"}));
}

TEST(GridSort, NumbersByDigitValueAndRowsWithoutObjectLast)
{
    const SortSettings asc{SortType::Number, 0, true};
    EXPECT_EQ(sorted({{"10", obj}, {"", nullptr}, {"9", obj}, {"100", obj}}, asc),
              (std::vector<std::string>{"9", "10", "100", "*"}));
    // Quantities beyond 32 bits keep their place instead of counting as 0.
    EXPECT_EQ(sorted({{"2500000,000", obj}, {"9,000", obj}, {"0,500", obj}}, asc),
              (std::vector<std::string>{"0,500", "9,000", "2500000,000"}));
    const SortSettings desc{SortType::Number, 1, true};
    EXPECT_EQ(sorted({{"10", obj}, {"", nullptr}, {"9", obj}, {"100", obj}}, desc),
              (std::vector<std::string>{"100", "10", "9", "*"}));
    // Without object use, empty texts go last instead, in either direction.
    const SortSettings noObj{SortType::Text, 1, false};
    EXPECT_EQ(sorted({{" ", obj}, {"b", nullptr}, {"a", obj}}, noObj),
              (std::vector<std::string>{"b*", "a", " "}));
}

TEST(GridSort, DateOrders)
{
    const std::vector<std::pair<std::string, const void*>> rows = {
        {"24.12.99", obj}, {"01.01.00", obj}, {"15.03.98", obj}, {"02.01.99", obj}};
    const SortSettings byDate{SortType::Date, 0, true};
    // The key is the text of the parts, so a two-digit 00 sorts before 99.
    EXPECT_EQ(sorted(rows, byDate),
              (std::vector<std::string>{"01.01.00", "15.03.98", "02.01.99", "24.12.99"}));
    EXPECT_EQ(sorted(rows, {SortType::Date, 1, true}),
              (std::vector<std::string>{"24.12.99", "02.01.99", "15.03.98", "01.01.00"}));
    EXPECT_EQ(sorted(rows, {SortType::Date, 2, true}),
              (std::vector<std::string>{"01.01.00", "02.01.99", "15.03.98", "24.12.99"}));
    EXPECT_EQ(sorted(rows, {SortType::Date, 3, true}),
              (std::vector<std::string>{"24.12.99", "15.03.98", "02.01.99", "01.01.00"}));
    EXPECT_EQ(sorted({{"01.01.2000", obj}, {"24.12.1999", obj}}, byDate),
              (std::vector<std::string>{"24.12.1999", "01.01.2000"}));
}

TEST(GridSort, SameOrderAsPassesOfNeighbourExchanges)
{
    std::mt19937 rng(4711);
    std::vector<std::string> texts;
    for (int round = 0; round < 60; ++round) {
        const int n = static_cast<int>(rng() % 300);
        texts.assign(n, {});
        std::vector<SortEntry> e(n);
        for (int i = 0; i < n; ++i) {
            texts[i] = std::to_string(rng() % 20) + (rng() % 2 ? "" : ",5");
            if (rng() % 7 == 0)
                texts[i] = " ";
        }
        for (int i = 0; i < n; ++i)
            e[i] = {texts[i], rng() % 9 == 0 ? nullptr : obj};
        for (SortType type : {SortType::Text, SortType::Number, SortType::Date})
            for (int art = 0; art < 4; ++art)
                for (bool objectUsed : {true, false}) {
                    const SortSettings s{type, art, objectUsed};
                    ASSERT_EQ(sortOrder(e, s), bubbleOrder(e, s))
                        << "n=" << n << " type=" << int(type) << " art=" << art;
                }
    }
}

TEST(GridSort, CompareHookSeesAndChangesTheValues)
{
    const std::vector<SortEntry> e = {{"b", obj}, {"a", obj}, {"c", obj}};
    int calls = 0;
    // The hook turns the sort around by swapping the texts it is given.
    const auto order = sortOrder(
        e, {},
        [&](int upper, std::string& t1, std::string& t2, const void*&, const void*&, int&, int&) {
            ++calls;
            EXPECT_GE(upper, 0);
            EXPECT_LT(upper, 2);
            std::swap(t1, t2);
        });
    EXPECT_GT(calls, 0);
    EXPECT_EQ(order, (std::vector<int>{2, 0, 1}));
    // Setting obj1 to nil on every comparison pushes every upper entry down: the list reverses.
    const auto reversed = sortOrder(e, {},
                                    [](int, std::string&, std::string&, const void*& o1,
                                       const void*&, int&, int&) { o1 = nullptr; });
    EXPECT_EQ(reversed, (std::vector<int>{2, 1, 0}));
}

TEST(GridSort, SortTypCycle)
{
    std::string seen;
    char t = '0';
    for (int i = 0; i < 5; ++i) {
        seen += t;
        t = nextSortTyp(t, 'D');
    }
    EXPECT_EQ(seen, "01230");
    EXPECT_EQ(nextSortTyp('0', '0'), '1');
    EXPECT_EQ(nextSortTyp('1', '0'), '0');
    EXPECT_EQ(nextSortTyp('1', 'L'), '0');
}

// ---- widths --------------------------------------------------------------------------------

TEST(GridWidths, StoredSizes)
{
    EXPECT_EQ(parseSizes("50,abc,2000"), (std::vector<int>{50, 0, 64}));
    EXPECT_EQ(parseSizes(""), (std::vector<int>{}));
    EXPECT_EQ(parseSizes("20,1024,1025,"), (std::vector<int>{20, 1024, 64, 0}));
    EXPECT_EQ(formatSizes({20, 19, 100}), "20,19,100");
    EXPECT_EQ(limitStoredWidth(0, 300), 10);
    EXPECT_EQ(limitStoredWidth(1000, 300), 285);
    EXPECT_EQ(limitStoredWidth(100, 300), 100);
    EXPECT_EQ(limitStoredWidth(100, 20), 10);
}

TEST(GridWidths, FitAndStretch)
{
    EXPECT_EQ(fittedWidth(80, 40, 600, 20), 80);
    EXPECT_EQ(fittedWidth(80, 120, 600, 20), 126);
    EXPECT_EQ(fittedWidth(80, 5000, 600, 20), 560);
    EXPECT_EQ(stretchedLastWidth({20, 50, 80, 200}, 200, 'L', true, 600), 600 - 173);
    EXPECT_EQ(stretchedLastWidth({20, 50, 80, 200}, 200, 'L', true, 373), std::nullopt);
    EXPECT_EQ(stretchedLastWidth({20, 50, 80, 200}, 200, '0', true, 600), std::nullopt);
    EXPECT_EQ(stretchedLastWidth({20, 50, 80, 200}, 200, 'L', false, 600), std::nullopt);
    EXPECT_EQ(stretchedLastWidth({200}, 200, 'L', true, 600), std::nullopt);
}

TEST(GridWidths, AutomaticWidths)
{
    //                           designed caption content fixed  text
    const AutoColumn check{19, 25, 15, true, false};
    const AutoColumn name{80, 50, 150, false, true};
    const AutoColumn number{45, 40, 30, false, false};
    const AutoColumn filler{200, 0, 0, false, true};     // "|200|L|1|0|": empty, no caption
    const AutoColumn position{200, 0, 12, false, false}; // no caption, short numbers
    const AutoColumn path{80, 70, 900, false, true};
    struct Case {
        const char* what;
        std::vector<AutoColumn> columns;
        int view;
        std::vector<int> widths;
    };
    const Case cases[] = {
        {"the rest goes to the text column, not to the unlabelled one",
         {check, name, number, filler},
         400,
         {25, 330, 45, 0}},
        {"two text columns share the rest, the first takes the odd pixel",
         {name, name, number},
         400,
         {178, 177, 45}},
        {"too narrow: nothing is cut, the view scrolls",
         {name, number, position},
         180,
         {150, 45, 12}},
        {"a text wider than the view is limited to it", {path, number}, 500, {500, 45}},
        {"no view: the natural widths", {path, filler}, 0, {900, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(autoColumnWidths(c.columns, c.view), c.widths);
    }
    std::array<double, 256> advances{};
    advances.fill(1.0);
    advances['W'] = 3.0;
    EXPECT_EQ(estimatedTextWidth("aW\r\nbbbb", advances), 4.0) << "the widest line, LF not drawn";
    EXPECT_EQ(estimatedTextWidth("", advances), 0.0);
}

TEST(GridWidths, HeaderHitTest)
{
    // Header row, 2 px left of the right border of column 3 (right edge at 200).
    auto hit = headerHitTest(198, 5, 3, 0, 200, 18, 1);
    EXPECT_EQ(hit.target, DblClickTarget::Column);
    EXPECT_EQ(hit.index, 3);
    EXPECT_EQ(headerHitTest(150, 5, 3, 0, 200, 18, 1).target, DblClickTarget::None);
    EXPECT_EQ(headerHitTest(3, 5, 0, 0, 20, 18, 1).target, DblClickTarget::AllColumns);
    EXPECT_EQ(headerHitTest(700, 5, -1, 0, 0, 18, 1).target, DblClickTarget::AllColumns);
    hit = headerHitTest(10, 52, 0, 2, 20, 54, 1);
    EXPECT_EQ(hit.target, DblClickTarget::Row);
    EXPECT_EQ(hit.index, 2);
    EXPECT_EQ(headerHitTest(10, 45, 0, 2, 20, 54, 1).target, DblClickTarget::None);
    EXPECT_EQ(headerHitTest(50, 52, 2, 2, 80, 54, 1).target, DblClickTarget::None);
}

// ---- date and time entry -------------------------------------------------------------------

TEST(DateTimeEntry, DatesAndTheirKeys)
{
    const int today = *parseDate("15.06.2026", 0);
    EXPECT_EQ(formatDate(today, TJahreszahl::zweistellig), "15.06.26");
    EXPECT_EQ(formatDate(today, TJahreszahl::vierstellig), "15.06.2026");
    EXPECT_EQ(parseDate("15.06.26", today), today);
    EXPECT_EQ(parseDate("1.1.99", today), parseDate("01.01.1999", today));
    EXPECT_FALSE(parseDate("31.02.26", today));
    EXPECT_FALSE(parseDate("__.__.__", today));
    EXPECT_FALSE(parseDate("1.2", today));
    // A birth date is never in the future.
    EXPECT_EQ(parseDate("01.01.30", today, true), parseDate("01.01.1930", today));
    const auto z = TJahreszahl::zweistellig;
    EXPECT_EQ(applyDateKey('H', "", today, z), "15.06.26");
    EXPECT_EQ(applyDateKey('M', "", today, z), "16.06.26");
    EXPECT_EQ(applyDateKey('G', "", today, z), "14.06.26");
    EXPECT_EQ(applyDateKey('+', "31.12.25", today, z), "01.01.26");
    EXPECT_EQ(applyDateKey('-', "01.03.24", today, z), "29.02.24");
    EXPECT_EQ(applyDateKey('+', "", today, z), "15.06.26");
    EXPECT_EQ(applyDateKey('\x7f', "01.03.24", today, z), "");
    EXPECT_EQ(applyDateKey('1', "01.03.24", today, z), std::nullopt);
}

TEST(DateTimeEntry, TimesAndTheirKeys)
{
    EXPECT_EQ(parseTime("12:30"), 750);
    EXPECT_FALSE(parseTime("24:00"));
    EXPECT_FALSE(parseTime("12:60"));
    EXPECT_EQ(parseTime(" 9:05"), 545);
    EXPECT_EQ(applyTimeKey('N', "23:30", 0), "00:30");
    EXPECT_EQ(applyTimeKey('V', "00:30", 0), "23:30");
    EXPECT_EQ(applyTimeKey('+', "12:59", 0), "13:00");
    EXPECT_EQ(applyTimeKey('-', "", 0), "23:59");
    EXPECT_EQ(applyTimeKey('A', "", 125), "02:05");
    EXPECT_EQ(applyTimeKey('\x7f', "12:00", 0), "00:00");
}
