#include "recipesources.h"

#include "platform/filesearch.h"

#include <filesystem>

namespace kovanta::cli {

bool ReadRecipeSource(const TRezeptImportProz& proz, const std::string& path, RecipeList& list)
{
    std::error_code ec;
    const auto kind = std::filesystem::status(path, ec).type();
    if (kind == std::filesystem::file_type::directory) {
        // Like an active search directory: every REZ*.DAT in listing order, not sorted.
        const std::string dir = path.ends_with('/') ? path : path + "/";
        for (const std::string& file : findFiles(dir, "REZ*.DAT"))
            proz.ReadRecipeIndex(file, list);
        return true;
    }
    if (kind == std::filesystem::file_type::not_found || kind == std::filesystem::file_type::none)
        return false;
    proz.ReadRecipeIndex(path, list);
    return true;
}

} // namespace kovanta::cli
