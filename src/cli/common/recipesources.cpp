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

} // namespace

bool ReadRecipeSource(const TRezeptImportProz& proz, const std::string& path,
                      RecipeScan::Entries& entries, RecipeSourceReport& report)
{
    report = {};
    const std::size_t first = entries.size();
    // No program directory: only what is named is read.
    RecipeScan scan(proz, std::string());
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        report.error = ListingError(path);
        if (!report.error.empty())
            return false;
        scan.scanDirectory(path, entries);
    } else {
        // A file named explicitly must be readable: say why it is not.
        FileReadResult why;
        std::FILE* f = openRegularFile(path, why);
        if (f == nullptr) {
            report.error = describeReadError(why, 0);
            return false;
        }
        std::fclose(f);
        scan.readFile(path, entries);
    }
    // Only a file that gave the most entries an index may have can have been cut; ask again
    // for those (rare) files only.
    std::map<std::string, std::size_t> counts;
    for (std::size_t i = first; i < entries.size(); ++i)
        ++counts[entries[i]->FileName];
    for (const auto& [file, count] : counts) {
        if (count < kMaxIndexEntries)
            continue;
        RecipeList again;
        bool cut = false;
        proz.ReadRecipeIndex(file, again, cut);
        if (cut)
            report.cutIndexes.push_back(file);
    }
    return true;
}

} // namespace kovanta::cli
