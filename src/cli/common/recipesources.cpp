#include "recipesources.h"

#include "platform/filesearch.h"
#include "platform/regularfile.h"

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

bool ReadRecipeSource(const TRezeptImportProz& proz, const std::string& path, RecipeList& list,
                      RecipeSourceReport& report)
{
    report = {};
    const auto read = [&](const std::string& file) {
        bool cut = false;
        proz.ReadRecipeIndex(file, list, cut);
        if (cut)
            report.cutIndexes.push_back(file);
    };
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        const std::string dir = path.ends_with('/') ? path : path + "/";
        for (const std::string& file : findFiles(dir, "REZ*.DAT"))
            read(file);
        return true;
    }
    // A file named explicitly must be readable: say why it is not.
    FileReadResult why;
    std::FILE* f = openRegularFile(path, why);
    if (f == nullptr) {
        report.error = describeReadError(why, 0);
        return false;
    }
    std::fclose(f);
    read(path);
    return true;
}

} // namespace kovanta::cli
