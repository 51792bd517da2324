#include "recipesources.h"

#include "platform/regularfile.h"
#include "platform/syserror.h"

#include <cerrno>
#include <dirent.h>
#include <filesystem>
#include <map>

namespace kovanta::cli {

namespace {

// Empty when directory can be listed, else why not. The scan itself passes over a directory it
// cannot list without a word, which for a directory named on the command line would look like
// one without recipes.
std::string ListingError(const std::string& directory)
{
    DIR* dir = ::opendir(directory.c_str());
    if (dir == nullptr)
        return "kann nicht gelesen werden (" + systemErrorText(errno) + ")";
    ::closedir(dir);
    return {};
}

// A file named explicitly must be readable and a recipe file: say why it is not.
bool ReadNamedFile(const TRezeptImportProz& proz, const std::string& path,
                   RecipeScan::Entries& entries, RecipeSourceReport& report)
{
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

} // namespace

bool ReadRecipeSource(const TRezeptImportProz& proz, const std::string& path,
                      RecipeScan::Entries& entries, RecipeSourceReport& report)
{
    report = {};
    std::error_code ec;
    if (!std::filesystem::is_directory(path, ec))
        return ReadNamedFile(proz, path, entries, report);
    report.error = ListingError(path);
    if (!report.error.empty())
        return false;
    const std::size_t first = entries.size();
    // No program directory: only what is named is read.
    RecipeScan scan(proz, std::string());
    scan.scanDirectory(path, entries);
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
