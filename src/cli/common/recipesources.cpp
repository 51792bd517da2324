#include "recipesources.h"

#include <filesystem>

namespace kovanta::cli {

bool ReadRecipeSource(const TRezeptImportProz& proz, const std::string& path,
                      RecipeScan::Entries& entries)
{
    // No program directory: only what is named is read.
    RecipeScan scan(proz, std::string());
    std::error_code ec;
    const auto kind = std::filesystem::status(path, ec).type();
    if (kind == std::filesystem::file_type::directory) {
        scan.scanDirectory(path, entries);
        return true;
    }
    if (kind == std::filesystem::file_type::not_found || kind == std::filesystem::file_type::none)
        return false;
    scan.readFile(path, entries);
    return true;
}

} // namespace kovanta::cli
