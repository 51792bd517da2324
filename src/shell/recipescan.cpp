#include "recipescan.h"

#include "platform/filesearch.h"
#include "recipe/rezeptimportproz.h"

namespace kovanta {

RecipeScan::RecipeScan(const TRezeptImportProz& proz, std::string programDir)
    : proz_(proz), programDir_(withTrailingSlash(std::move(programDir)))
{}

std::vector<std::string> RecipeScan::recipeFiles(const std::string& directory)
{
    return findFiles(withTrailingSlash(directory), "REZ*.DAT");
}

RecipeScan::Entries RecipeScan::readAll(const SearchPathList& paths, const GrowthCallback& grew)
{
    struct Running {
        bool& flag;
        explicit Running(bool& f) : flag(f) { flag = true; }
        ~Running() { flag = false; }
    } running(running_);

    // The paths are copied first: the callback may run the event loop, and nothing that
    // happens there may change what this read walks through.
    const std::vector<SearchPath> dirs = paths.entries();
    const bool programDirListed = paths.contains(programDir_);

    Entries entries;
    capacity_ = 1;
    if (!programDirListed)
        scanDirectory(programDir_, entries, grew);
    for (const SearchPath& dir : dirs) {
        if (dir.active)
            scanDirectory(dir.path, entries, grew);
    }
    return entries;
}

void RecipeScan::scanDirectory(const std::string& directory, Entries& entries,
                               const GrowthCallback& grew)
{
    // All names first, then the reading: the listing must not see files written meanwhile.
    for (const std::string& file : recipeFiles(directory))
        readFile(file, entries, grew);
}

void RecipeScan::readFile(const std::string& fileName, Entries& entries, const GrowthCallback& grew)
{
    RecipeList items;
    proz_.ReadRecipeIndex(fileName, items);
    for (RecipeListItem& item : items) {
        if (!item.Entry)
            continue;
        entries.push_back(std::move(item.Entry));
        grow(entries.size(), grew);
    }
}

void RecipeScan::grow(std::size_t count, const GrowthCallback& grew)
{
    // Row count + 1 header row; one spare row is kept so growth happens before the list is
    // full, as the window's grid expects.
    if (capacity_ >= count + 2)
        return;
    capacity_ = count + kGrowStep;
    if (grew)
        grew(capacity_);
}

} // namespace kovanta
