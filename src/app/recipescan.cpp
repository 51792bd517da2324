#include "app/recipescan.h"

#include "platform/filesearch.h"
#include "recipe/recipefilename.h"
#include "recipe/rezeptimportproz.h"

namespace kovanta {

RecipeScan::RecipeScan(const TRezeptImportProz& proz, std::string programDir)
    : proz_(proz), programDir_(withTrailingSlash(std::move(programDir)))
{}

std::vector<std::string> RecipeScan::recipeFiles(const std::string& directory)
{
    return findFiles(withTrailingSlash(directory), kRecipeFileMask);
}

RecipeScan::Entries RecipeScan::readAll(SearchPathList paths, const Progress& progress)
{
    Entries entries;
    if (!programDir_.empty() && !paths.contains(programDir_))
        scanDirectory(programDir_, entries, progress);
    for (const SearchPath& dir : paths.entries()) {
        if (dir.active)
            scanDirectory(dir.path, entries, progress);
    }
    return entries;
}

void RecipeScan::scanDirectory(const std::string& directory, Entries& entries,
                               const Progress& progress)
{
    // All names first, then the reading: the listing must not see files written meanwhile.
    for (const std::string& file : recipeFiles(directory)) {
        if (stop_ && stop_->load(std::memory_order_relaxed))
            return;
        readFile(file, entries, progress);
    }
}

void RecipeScan::readFile(const std::string& fileName, Entries& entries, const Progress& progress)
{
    RecipeList items;
    proz_.ReadRecipeIndex(fileName, items);
    for (RecipeListItem& item : items) {
        if (item.Entry)
            entries.push_back(std::move(item.Entry));
    }
    if (progress)
        progress(entries.size());
}

std::string scanProgressText(std::size_t entries)
{
    std::string digits = std::to_string(entries);
    for (std::size_t i = digits.size(); i > 3; i -= 3)
        digits.insert(i - 3, 1, '.');
    return digits + " Rezepte gelesen...";
}

} // namespace kovanta
