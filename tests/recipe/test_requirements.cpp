// The requirements computation: aggregation by (article, unit), text-line articles, the
// alternative flag, the plan's portions, and recipes that cannot contribute.
#include "recipe/quantities.h"
#include "recipe/recipe_fixture.h"
#include "recipe/requirements.h"
#include "support/testdir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace kovanta;
using fixture::Article;
using fixture::Text;

struct Row {
    std::string quantity, unit, article;
    bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Row& r)
{
    return os << "[" << r.quantity << "|" << r.unit << "|" << r.article << "]";
}

std::vector<Row> Rows(const RequirementsList& list)
{
    std::vector<Row> rows;
    for (std::size_t i = 0; i < list.size(); ++i)
        rows.push_back(
            {RequirementQuantityText(list[i].Quantity), list[i].UnitName, list[i].Article});
    return rows;
}

class Requirements : public ::testing::Test {
protected:
    // A single-recipe file with the given stored portions and body; returns its entry.
    const TImpListInfo& Recipe(const std::string& name, int portions,
                               const std::vector<std::string>& body)
    {
        fixture::Head head;
        head.portions = portions;
        std::vector<std::string> lines = fixture::Block(head, body);
        lines.push_back("^^");
        auto entry = std::make_unique<TImpListInfo>();
        entry->FileName = dir_.write(name, fixture::Join(lines));
        entries_.push_back(std::move(entry));
        return *entries_.back();
    }

    bool Compute(const std::vector<std::pair<const TImpListInfo*, std::string>>& plan)
    {
        std::vector<PlanRow> rows;
        for (const auto& [entry, portions] : plan)
            rows.push_back(PlanRow{entry, portions});
        return ComputeRequirements(proz_, rows, list_);
    }

    TestDir dir_;
    TRezeptImportProz proz_;
    RequirementsList list_;
    std::vector<std::unique_ptr<TImpListInfo>> entries_;
};

// The value a "Portionen" text counts with, and whether the plan's cell could hold it (what a
// plan file row may carry).
TEST(RequirementsPortions, PlanCellTextAsInteger)
{
    const struct {
        const char* text;
        std::int32_t value;
        bool accepted;
    } cases[] = {
        {"20", 20, true},
        {" 20 ", 20, true},
        {"-5", -5, true},
        {"+3", 3, true},
        {"+-3", 0, false},
        {"0", 0, true},
        {"-0", 0, true},
        {"", 0, true},
        {"  ", 0, true},
        {"-", 0, false},
        {"abc", 0, false},
        {"2O", 0, false},
        {"1,5", 0, false},
        {"1.000", 0, false},
        {"1 2", 0, false},
        {"\xEF\xBB\xBF" "20", 0, false}, // a byte order mark the plan reader did not skip
        {"99999", 99999, true},
        {"-99999", -99999, true},
        {"100000", 100000, false},
        {"-100000", -100000, false},
        {"2147483647", 2147483647, false},
        {"2147483648", 0, false},
        {"-2147483648", -2147483647 - 1, false},
        {"99999999999999999999", 0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PortionsTextValue(c.text), c.value) << '"' << c.text << '"';
        EXPECT_EQ(PortionsTextAccepted(c.text), c.accepted) << '"' << c.text << '"';
    }
}

TEST(RequirementsList, SumsByExactKeyInOrderOfFirstAppearance)
{
    RequirementsList list;
    list.AddRequirement("kg", "Mehl", 1.5);
    list.AddRequirement("g", "Mehl", 200);
    list.AddRequirement("kg", "mehl", 1);
    list.AddRequirement("kg", "Mehl", 2.25);
    list.AddRequirement("", "Salz", 0);
    list.AddRequirement("", "Salz", 0);
    list.AddRequirement("kg ", "Mehl", 1); // blanks count: the reader trims before
    EXPECT_EQ(Rows(list), (std::vector<Row>{{"      3,750", "kg", "Mehl"},
                                            {"    200,000", "g", "Mehl"},
                                            {"      1,000", "kg", "mehl"},
                                            {"      0,000", "", "Salz"},
                                            {"      1,000", "kg ", "Mehl"}}));

    // Handing the rows over empties the list, index included.
    auto rows = list.TakeRows();
    EXPECT_EQ(rows.size(), 5u);
    EXPECT_TRUE(list.empty());
    list.AddRequirement("kg", "Mehl", 1);
    EXPECT_EQ(Rows(list), (std::vector<Row>{{"      1,000", "kg", "Mehl"}}));
}

TEST(RequirementsList, ManyDistinctArticlesKeepTheirOrderAndSums)
{
    // Enough keys for the index to rehash many times; every key is met three times, in an
    // order that interleaves old and new ones.
    RequirementsList list;
    constexpr int kKeys = 6000;
    for (int pass = 0; pass < 3; ++pass) {
        for (int i = 0; i < kKeys; ++i) {
            const int k = pass == 1 ? kKeys - 1 - i : i;
            list.AddRequirement(k % 2 ? "kg" : "l", "Artikel " + std::to_string(k / 2), 0.5);
        }
    }
    ASSERT_EQ(list.size(), static_cast<std::size_t>(kKeys));
    for (int k = 0; k < kKeys; ++k) {
        ASSERT_EQ(list[static_cast<std::size_t>(k)].Article, "Artikel " + std::to_string(k / 2));
        ASSERT_EQ(list[static_cast<std::size_t>(k)].UnitName, k % 2 ? "kg" : "l");
        ASSERT_DOUBLE_EQ(list[static_cast<std::size_t>(k)].Quantity, 1.5);
    }
}

TEST_F(Requirements, SameArticleFromTwoRecipesScaledAndSummed)
{
    // 1,5 kg for 10 portions, asked for 20 and for 30: 3 + 4,5.
    const auto& a = Recipe("REZ00001.DAT", 10, {Article("150", "1", "kg", "Mehl")});
    const auto& b = Recipe("REZ00002.DAT", 10, {Article("150", "1", "kg", "Mehl")});
    EXPECT_FALSE(Compute({{&a, "20"}, {&b, "30"}}));
    EXPECT_EQ(Rows(list_), (std::vector<Row>{{"      7,500", "kg", "Mehl"}}));
}

TEST_F(Requirements, TextLineArticlesAndTheAlternativeFlag)
{
    const struct {
        const char* name;
        std::vector<std::string> body;
        std::vector<Row> rows;
        bool alternative;
    } cases[] = {
        {"butter, oder, margarine: both articles, with the warning",
         {Article("25", "1", "kg", "Butter"), Text("", "oder^"),
          Article("25", "1", "kg", "Margarine")},
         {{"      0,250", "kg", "Butter"}, {"      0,250", "kg", "Margarine"}},
         true},
        {"the keyword in any case", {Text("", "ODER^")}, {}, true},
        {"only the first segment of a text line counts",
         {Text("0005", "Salz^Pfeffer^")},
         {{"      0,000", "", "Salz"}},
         false},
        {"an alternative behind an article segment is not seen",
         {Text("", "Butter^oder^Margarine^")},
         {{"      0,000", "", "Butter"}},
         false},
        {"text articles once per name, apart from the same article with a unit",
         {Text("", "Salz^"), Article("1", "1", "kg", "Salz"), Text("0003", "  Salz  ^")},
         {{"      0,000", "", "Salz"}, {"      0,010", "kg", "Salz"}},
         false},
        {"labels, text without caret and other lines add nothing",
         {Text("0005", "F\x81r den Teig:^"), Text("", "Alles gut verr\x81hren."), "Zubereitung",
          Text("", "^")},
         {},
         false},
        {"OEM text converted to ANSI, compact article lines",
         {Article("50", "1", "kg", "K\x84se"), Article("300", "0002", "l", "Milch", true),
          Text("", "Petersilie gehackt^")},
         {{"      0,500", "kg", "K\xE4se"},
          {"      1,500", "l", "Milch"},
          {"      0,000", "", "Petersilie gehackt"}},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto& r = Recipe("REZ00010.DAT", 10, c.body);
        EXPECT_EQ(Compute({{&r, "10"}}), c.alternative);
        EXPECT_EQ(Rows(list_), c.rows);
    }
}

TEST_F(Requirements, PlanRowsThatContributeNothing)
{
    const auto& good = Recipe("REZ00001.DAT", 10, {Article("100", "1", "kg", "Reis")});
    const auto& noStored = Recipe("REZ00002.DAT", 0, {Article("100", "1", "kg", "Linsen")});
    TImpListInfo missing;
    missing.FileName = dir_.dir() + "REZ09999.DAT";

    // Free rows, a missing file, stored portions 0, portions 0, empty and non-numeric portions.
    EXPECT_FALSE(Compute({{nullptr, "20"},
                          {&missing, "10"},
                          {&noStored, "10"},
                          {&good, "0"},
                          {&good, ""},
                          {&good, "zehn"},
                          {&good, "5"}}));
    EXPECT_EQ(Rows(list_), (std::vector<Row>{{"      0,500", "kg", "Reis"}}));

    EXPECT_FALSE(Compute({}));
    EXPECT_TRUE(list_.empty());
}

} // namespace
