// The quick filter's matching: folding, words, name and group, and the count text.
#include "recipe/recipefilter.h"

#include <gtest/gtest.h>

using namespace kovanta;

namespace {

TEST(RecipeFilterFold, CaseUmlautsAndAccents)
{
    // ANSI bytes: Ä C4, Ö D6, Ü DC, ä E4, ö F6, ü FC, ß DF, é E9, Ñ D1, Œ 8C, Š 8A.
    EXPECT_EQ(FoldForSearch("M\xFCsli"), "muesli");
    EXPECT_EQ(FoldForSearch("MUESLI"), "muesli");
    EXPECT_EQ(FoldForSearch("\xC4pfel \xD6l \xDC" "ber Gr\xFC\xDF" "e"), "aepfel oel ueber gruesse");
    EXPECT_EQ(FoldForSearch("Cr\xE8me br\xFBl\xE9" "e"), "creme brulee");
    EXPECT_EQ(FoldForSearch("\xD1" "OQUI \x8C" "UF \x8A"), "noqui oeuf s");
    EXPECT_EQ(FoldForSearch("a\tb\x01" "c"), "a b c");
    EXPECT_EQ(FoldForSearch("1/2 \xD7 3"), "1/2 \xD7 3"); // signs stay
}

TEST(RecipeFilterFold, WordsOncePerQuery)
{
    EXPECT_EQ(SearchWords("  Sahne   Torte sahne "), (std::vector<std::string>{"sahne", "torte"}));
    EXPECT_TRUE(SearchWords("   ").empty());
    EXPECT_EQ(SearchWords("Gr\xFC\xDF"), std::vector<std::string>{"gruess"});
}

class RecipeFilterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        filter.Add("Gulasch", "Fleisch");
        filter.Add("M\xFCsli", "Fr\xFChst\xFC" "ck");
        filter.Add("Sahnetorte", "Kuchen");
        filter.Add("Kuchen", "");
        filter.Add("", "");
    }
    std::vector<std::size_t> Shown(const char* query)
    {
        filter.SetQuery(query);
        std::vector<std::uint8_t> shown;
        const std::size_t count = filter.Apply(shown);
        std::vector<std::size_t> rows;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            if (shown[i])
                rows.push_back(i);
            EXPECT_EQ(shown[i] != 0, filter.Matches(i));
        }
        EXPECT_EQ(count, rows.size());
        return rows;
    }
    RecipeFilter filter;
};

TEST_F(RecipeFilterTest, EveryWordInNameOrGroup)
{
    EXPECT_EQ(Shown(""), (std::vector<std::size_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(Shown("kuchen"), (std::vector<std::size_t>{2, 3}));       // group or name
    EXPECT_EQ(Shown("torte KUCHEN"), (std::vector<std::size_t>{2}));    // one in each
    EXPECT_EQ(Shown("muesli fruehst"), (std::vector<std::size_t>{1}));  // typed without umlauts
    EXPECT_EQ(Shown("M\xFCsli Fr\xFC"), (std::vector<std::size_t>{1})); // typed with them
    EXPECT_EQ(Shown("ulas"), (std::vector<std::size_t>{0}));
    EXPECT_EQ(Shown("gulasch x"), (std::vector<std::size_t>{}));
}

TEST_F(RecipeFilterTest, NoMatchAcrossNameAndGroup)
{
    // "Gulasch" + "Fleisch": the end of the name and the start of the group are no word.
    EXPECT_TRUE(Shown("schfl").empty());
    EXPECT_TRUE(Shown("sch fl").size() == 1);
}

TEST_F(RecipeFilterTest, EmptyFilterAndOutOfRange)
{
    EXPECT_FALSE(filter.Matches(99));
    filter.Clear();
    std::vector<std::uint8_t> shown{1, 1};
    EXPECT_EQ(filter.Apply(shown), 0u);
    EXPECT_TRUE(shown.empty());
}

TEST(RecipeFilterCount, GermanThousands)
{
    EXPECT_EQ(FilterCountText(312, 20000), "312 von 20.000");
    EXPECT_EQ(FilterCountText(0, 0), "0 von 0");
    EXPECT_EQ(GroupedNumber(999), "999");
    EXPECT_EQ(GroupedNumber(1000), "1.000");
    EXPECT_EQ(GroupedNumber(1234567), "1.234.567");
}

} // namespace
