// The recipe list's rows on the real list grid.
#include "grid/astringgrid.h"
#include "views/menuplangrids.h"
#include "views/recipelistview.h"

#include <QTableView>

#include <gtest/gtest.h>

#include <memory>

using namespace kovanta;

namespace {

std::unique_ptr<TImpListInfo> Entry()
{
    auto e = std::make_unique<TImpListInfo>();
    e->FileName = "/rezepte/K\xC3\xBC"
                  "che/REZ00042.DAT"; // UTF-8 "Küche"
    e->FileNumber = 42;
    e->EntryIndex = 3;
    e->NameNumber = 101;
    e->ShortName = "K\xE4sesp\xE4tzle"; // ANSI
    e->GroupName = "Teigwaren";
    e->Portions = 8;
    e->Kcal = 690;
    e->KJ = 0; // not in the file
    e->BE = 5;
    e->Chol = -3;
    e->WorkMinutes = 35;
    e->WaitMinutes = 30;
    return e;
}

} // namespace

TEST(RecipeListGrid, FillOneRowFromItsEntryOrEmptyWithout)
{
    TAStringGrid grid;
    grid.SetColNames(TColNames(RecipeListColNames()));
    grid.SetRowCount(3);
    auto e = Entry();
    grid.SetObjects(0, 1, e.get());
    ListGridRef list(&grid);

    FillRecipeListRow(list, 1);
    const char* expected[] = {"",
                              "0",
                              "K\xE4sesp\xE4tzle",
                              "Teigwaren",
                              "8",
                              "690",
                              "0",
                              "5",
                              "-3",
                              "35",
                              "30",
                              "/rezepte/K\xFC"
                              "che/REZ00042.DAT",
                              "3"};
    for (int c = 0; c < kRecipeListColumns; ++c)
        EXPECT_EQ(grid.GetCell(c, 1), expected[c]) << c;

    e->InPlan = 1;
    FillRecipeListRow(list, 1);
    EXPECT_EQ(grid.GetCell(1, 1), "1");

    // A row whose entry was taken away is emptied, column 0 included.
    grid.SetCell(0, 1, "x");
    grid.SetObjects(0, 1, nullptr);
    FillRecipeListRow(list, 1);
    for (int c = 0; c < kRecipeListColumns; ++c)
        EXPECT_EQ(grid.GetCell(c, 1), "") << c;
}
