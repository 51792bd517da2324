// The synthetic collections the benchmark reads must be what the reader expects: every index
// entry opens at the block of the same recipe.
#include "platform/codepage.h"
#include "recipe/quantities.h"
#include "recipe/rezeptimportproz.h"
#include "recipegen/recipegen.h"
#include "support/testdir.h"

#include <gtest/gtest.h>

#include <map>

using namespace kovanta;

TEST(RecipeGen, SameSeedSameBytes)
{
    EXPECT_EQ(recipegen::ListFile(7, 100, 5), recipegen::ListFile(7, 100, 5));
    EXPECT_NE(recipegen::RecipeBlock(7, 1), recipegen::RecipeBlock(8, 1));
    EXPECT_NE(recipegen::RecipeBlock(7, 1), recipegen::RecipeBlock(7, 2));
}

TEST(RecipeGen, EveryEntryOpensAtItsOwnBlock)
{
    TestDir dir;
    recipegen::CollectionShape shape;
    shape.seed = 42;
    shape.singleFiles = 20;
    shape.listFiles = 3;
    shape.entriesPerList = 30;
    const auto summary = recipegen::WriteCollection(dir.dir(), shape);
    EXPECT_EQ(summary.files, 23u);
    EXPECT_EQ(summary.recipes, 110u);

    const TRezeptImportProz proz;
    RecipeList list;
    for (const auto& file : std::filesystem::directory_iterator(dir.path()))
        proz.ReadRecipeIndex(file.path().string(), list);
    ASSERT_EQ(list.size(), 110u);

    std::map<std::uint16_t, int> perEntryIndex;
    for (const RecipeListItem& item : list) {
        const TImpListInfo& e = *item.Entry;
        ++perEntryIndex[e.EntryIndex];
        auto file = proz.OpenRecipe(e);
        ASSERT_TRUE(file.has_value()) << e.FileName << ' ' << e.EntryIndex;
        const std::string line4 = proz.ReadRecipeLines(4, *file, true);
        EXPECT_EQ(codepage::oemToAnsi(TrimRight(Columns(line4, 1, 20))), e.ShortName);
        EXPECT_EQ(ParseIntField(Columns(line4, 21, 25)), e.NameNumber);
        const std::string line5 = proz.ReadRecipeLines(1, *file, true);
        EXPECT_EQ(codepage::oemToAnsi(TrimRight(Columns(line5, 1, 20))), e.GroupName);
        EXPECT_EQ(ParseIntField(proz.ReadRecipeLines(3, *file, true)), e.Portions);

        // The body ends at "^^" within the file.
        int lines = 0;
        bool ended = false;
        while (!file->AtEnd() && lines < 200) {
            ++lines;
            if (proz.ReadRecipeLines(1, *file, true).starts_with("^^")) {
                ended = true;
                break;
            }
        }
        EXPECT_TRUE(ended) << e.FileName << ' ' << e.EntryIndex;
    }
    EXPECT_EQ(perEntryIndex[0], 20);
    EXPECT_EQ(perEntryIndex[1], 3);
    EXPECT_EQ(perEntryIndex[30], 3);
}
