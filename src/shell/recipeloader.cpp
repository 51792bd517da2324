#include "recipeloader.h"

#include "platform/filesearch.h"
#include "recipe/rezeptimportproz.h"

namespace kovanta {

std::vector<std::string> RecipeLoader::recipeFiles(const std::string& dir)
{
    return findFiles(dir, "REZ*.DAT");
}

void RecipeLoader::readFile(const TRezeptImportProz& proz, const std::string& fileName,
                            Entries& entries, const GrowthCallback& grew)
{
    RecipeList items;
    proz.ReadRecipeIndex(fileName, items);
    for (RecipeListItem& item : items) {
        if (!item.Entry)
            continue;
        entries.push_back(std::move(item.Entry));
        if (grew && entries.size() % kGrowStep == 0)
            grew();
    }
}

RecipeLoader::Entries RecipeLoader::readAll(const TRezeptImportProz& proz,
                                            const std::string& programDir,
                                            const GrowthCallback& grew)
{
    Entries entries;
    for (const std::string& file : recipeFiles(programDir))
        readFile(proz, file, entries, grew);
    return entries;
}

} // namespace kovanta
