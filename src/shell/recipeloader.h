#pragma once

#include "recipe/records.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kovanta {

class TRezeptImportProz;

// Reading all recipes for the recipe list. For now the only place searched is the program
// directory; the search-path list takes over this step later.
class RecipeLoader {
public:
    using Entries = std::vector<std::unique_ptr<TImpListInfo>>;
    // Called each time the list has grown by another kGrowStep entries, so the caller can serve
    // its event queue while many files are read.
    using GrowthCallback = std::function<void()>;
    static constexpr int kGrowStep = 30;

    // The recipe files of one directory: every entry whose name matches REZ*.DAT ignoring case
    // (whatever its kind), as dir + name, in the order the directory listing returns them
    // (not sorted). A missing or unreadable directory gives none.
    static std::vector<std::string> recipeFiles(const std::string& dir);

    // Every recipe of every recipe file of programDir ("/"-terminated), in file order and within
    // a file in entry order. Unreadable files contribute nothing.
    static Entries readAll(const TRezeptImportProz& proz, const std::string& programDir,
                           const GrowthCallback& grew = {});

    // Appends the recipes of one file to entries, in file order.
    static void readFile(const TRezeptImportProz& proz, const std::string& fileName,
                         Entries& entries, const GrowthCallback& grew = {});
};

} // namespace kovanta
