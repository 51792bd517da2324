#include "recipesources.h"

#include "platform/regularfile.h"

#include <filesystem>
#include <map>

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

bool ReadRecipeSource(const TRezeptImportProz& proz, const std::string& path,
                      RecipeScan::Entries& entries, RecipeSourceReport& report)
{
    report = {};
    std::error_code ec;
    if (!std::filesystem::is_directory(path, ec)) {
        // A file named explicitly must be readable and a recipe file: say why it is not.
        FileReadResult why;
        std::FILE* f = openRegularFile(path, why);
        if (f == nullptr) {
            report.error = describeReadError(why, 0);
            return false;
        }
        std::fclose(f);
        RecipeList items;
        switch (proz.ReadRecipeIndex(path, items)) {
        case IndexRead::LineTooLong:
            report.error = "ist keine Rezeptdatei (eine Zeile ist länger als " +
                           std::to_string(RecipeTextReader::kMaxLineBytes) + " Bytes)";
            return false;
        case IndexRead::TooLarge:
            report.error = "ist keine Rezeptdatei (Index länger als " +
                           std::to_string(kMaxIndexBytes / (1024 * 1024)) + " MiB)";
            return false;
        case IndexRead::Cut:
            report.cutIndexes.push_back(path);
            break;
        case IndexRead::Complete:
            break;
        }
        for (RecipeListItem& item : items)
            entries.push_back(std::move(item.Entry));
        return true;
    }
    const std::size_t first = entries.size();
    ReadRecipeSource(proz, path, entries);
    // Only a file that gave the most entries an index may have can have been cut; ask again
    // for those (rare) files only.
    std::map<std::string, std::size_t> counts;
    for (std::size_t i = first; i < entries.size(); ++i)
        ++counts[entries[i]->FileName];
    for (const auto& [file, count] : counts) {
        RecipeList again;
        if (count >= kMaxIndexEntries && proz.ReadRecipeIndex(file, again) == IndexRead::Cut)
            report.cutIndexes.push_back(file);
    }
    return true;
}

} // namespace kovanta::cli
