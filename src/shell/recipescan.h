#pragma once

#include "recipe/records.h"
#include "searchpaths.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kovanta {

class TRezeptImportProz;

// Reads all recipes of the recipe directories into a list of entries. No widgets: the window
// hands in a growth callback in which it serves its event queue and takes the entries over
// when the read is done.
//
// Order: the program directory first, but only while it is not in the search path list
// (active or not); then every active entry of the list, in list order. Within a directory the
// recipe files (REZ*.DAT, ASCII case ignored, every kind of entry) come in directory-listing
// order, within a file the recipes in file order. There is no duplicate check: a file reached
// through two spellings of one directory is listed twice. Missing directories and unreadable
// files contribute nothing, silently.
class RecipeScan {
public:
    using Entries = std::vector<std::unique_ptr<TImpListInfo>>;
    // Called with the new row capacity each time the list grows (by kGrowStep rows at a time).
    // The callback may run the event loop; it must not start another read on the same object
    // (isRunning() tells) nor touch the entries being read.
    using GrowthCallback = std::function<void(std::size_t capacity)>;
    static constexpr std::size_t kGrowStep = 30;

    // programDir is the directory of the program file, "/"-terminated or not. proz must
    // outlive the object.
    RecipeScan(const TRezeptImportProz& proz, std::string programDir);

    // Reads every recipe as described above. The previous result must already have been
    // freed by the caller (entries of two reads never live side by side).
    Entries readAll(const SearchPathList& paths, const GrowthCallback& grew = {});

    // The recipe files of one directory, in listing order.
    static std::vector<std::string> recipeFiles(const std::string& directory);

    // Appends the recipes of every recipe file of directory.
    void scanDirectory(const std::string& directory, Entries& entries,
                       const GrowthCallback& grew = {});

    // Appends the recipes of one file, in file order.
    void readFile(const std::string& fileName, Entries& entries, const GrowthCallback& grew = {});

    const std::string& programDir() const { return programDir_; }
    // True while readAll() runs (also inside the growth callback).
    bool isRunning() const { return running_; }

private:
    void grow(std::size_t count, const GrowthCallback& grew);

    const TRezeptImportProz& proz_;
    std::string programDir_;
    // Rows the list would have now: header + entries, grown in steps of kGrowStep.
    std::size_t capacity_ = 1;
    bool running_ = false;
};

} // namespace kovanta
