#include "recipe/records.h"

#include <gtest/gtest.h>

using namespace kovanta;

namespace {

TImpListInfo SampleEntry()
{
    TImpListInfo e;
    e.FileNumber = 42;
    e.EntryIndex = 2;
    e.NameNumber = 123;
    e.Portions = 10;
    e.WorkMinutes = 30;
    e.WaitMinutes = 45;
    e.Kcal = 512;
    e.KJ = 2143;
    e.BE = 3;
    e.Chol = 80;
    e.DateText = "12.03.1998";
    e.FileName = "/rezepte/REZ00042.DAT";
    e.InPlan = 1;
    e.ShortName = "Gulasch";
    e.GroupName = "Fleisch";
    e.PortionText = "25";
    return e;
}

} // namespace

TEST(TImpListInfo, CopyFromCopiesAllButPortionText)
{
    const TImpListInfo source = SampleEntry();
    TGridInfo1 copy;
    copy.PortionText = "7";
    copy.CopyFrom(&source);
    EXPECT_TRUE(copy.SameRecipe(source));
    EXPECT_TRUE(source.SameRecipe(copy));
    EXPECT_EQ(copy.Portions, 10);
    EXPECT_EQ(copy.WorkMinutes, 30);
    EXPECT_EQ(copy.WaitMinutes, 45);
    EXPECT_EQ(copy.Kcal, 512);
    EXPECT_EQ(copy.KJ, 2143);
    EXPECT_EQ(copy.BE, 3);
    EXPECT_EQ(copy.Chol, 80);
    EXPECT_EQ(copy.DateText, "12.03.1998");
    EXPECT_EQ(copy.InPlan, 1);
    EXPECT_EQ(copy.ShortName, "Gulasch");
    EXPECT_EQ(copy.GroupName, "Fleisch");
    EXPECT_EQ(copy.PortionText, "7");

    copy.CopyFrom(nullptr);
    EXPECT_EQ(copy.ShortName, "Gulasch");
}

TEST(TImpListInfo, SameRecipeComparesIdentityFieldsOnly)
{
    const TImpListInfo a = SampleEntry();
    struct Row {
        const char* what;
        void (*change)(TImpListInfo&);
        bool same;
    };
    const Row rows[] = {
        {"entry index", [](TImpListInfo& e) { e.EntryIndex = 3; }, false},
        {"file number", [](TImpListInfo& e) { e.FileNumber = 43; }, false},
        {"name number", [](TImpListInfo& e) { e.NameNumber = 124; }, false},
        {"file name case", [](TImpListInfo& e) { e.FileName = "/rezepte/rez00042.dat"; }, false},
        {"short name", [](TImpListInfo& e) { e.ShortName = "Anders"; }, true},
        {"portions", [](TImpListInfo& e) { e.Portions = 99; }, true},
        {"in plan", [](TImpListInfo& e) { e.InPlan = 0; }, true},
    };
    for (const Row& row : rows) {
        TImpListInfo b = SampleEntry();
        row.change(b);
        EXPECT_EQ(a.SameRecipe(b), row.same) << row.what;
    }
}

TEST(TGridInfo, CellColorsPerSelectionState)
{
    struct Painter : CellPainter {};
    Painter painter;
    TGridInfo info;
    info.SetCellColors(2, 255, 65280, 16711680, clNone, &painter);
    ASSERT_EQ(info.CellColors.size(), 3u);

    const CellColorInfo normal = info.GetCellColors(2, false);
    EXPECT_TRUE(normal.Found);
    EXPECT_EQ(normal.Font, 255);
    EXPECT_EQ(normal.Background, 16711680);
    EXPECT_EQ(normal.Frame, clNone);
    EXPECT_EQ(normal.Painter, &painter);

    const CellColorInfo selected = info.GetCellColors(2, true);
    EXPECT_EQ(selected.Font, 65280);
    EXPECT_EQ(selected.Background, clNone); // selection keeps its own background

    // The entries added in front of column 2 set nothing; columns past the list have no entry.
    const CellColorInfo filler = info.GetCellColors(0, false);
    EXPECT_TRUE(filler.Found);
    EXPECT_EQ(filler.Font, clNone);
    EXPECT_EQ(filler.Background, clNone);
    EXPECT_FALSE(info.GetCellColors(3, false).Found);
    EXPECT_FALSE(info.GetCellColors(-1, false).Found);
}

TEST(TGridInfo, DamagedColorFieldsReadAsBlack)
{
    TGridInfo info;
    info.CellColors.push_back({"x::12", nullptr});
    const CellColorInfo c = info.GetCellColors(0, false);
    EXPECT_EQ(c.Font, clBlack);
    EXPECT_EQ(c.Background, 12);
    EXPECT_EQ(c.Frame, clBlack); // fourth field missing
}

TEST(AlternativeWords, FoundIgnoringCase)
{
    EXPECT_TRUE(IsAlternativeWord("oder"));
    EXPECT_TRUE(IsAlternativeWord("ODER"));
    EXPECT_TRUE(IsAlternativeWord("Oder"));
    EXPECT_FALSE(IsAlternativeWord("oder "));
    EXPECT_FALSE(IsAlternativeWord("order"));
    EXPECT_FALSE(IsAlternativeWord(""));
    EXPECT_FALSE(IsAlternativeWord("und"));
}

TEST(AlternativeWords, AnsiCaseFoldingCoversUmlauts)
{
    EXPECT_TRUE(AnsiEqualsIgnoreCase("\xC4\xD6\xDC", "\xE4\xF6\xFC")); // ÄÖÜ / äöü
    EXPECT_FALSE(AnsiEqualsIgnoreCase("\xD7", "\xF7")); // × and ÷ are not a case pair
    EXPECT_EQ(AnsiToLower('\x8A'), '\x9A');             // Š
    EXPECT_EQ(AnsiToLower('\xDF'), '\xDF');             // ß has no capital here
}
