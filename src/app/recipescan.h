#pragma once

#include "app/searchpaths.h"
#include "recipe/records.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kovanta {

class TRezeptImportProz;

// Reads all recipes of the recipe directories into a list of entries. Standard C++ only: the
// main window runs it on a worker thread and takes the entries over on the user-interface
// thread when the read is done; `rezeptur list` runs it directly.
//
// Order: the program directory first, but only while it is not in the search path list
// (active or not); then every active entry of the list, in list order. Within a directory the
// recipe files (REZ*.DAT, ASCII case ignored, every kind of entry) come in directory-listing
// order, within a file the recipes in file order. There is no duplicate check: a file reached
// through two spellings of one directory is listed twice. Missing directories and unreadable
// files contribute nothing, silently.
//
// Threads: one object serves one read at a time. Reading touches nothing but the files, the
// object and the processor's const operations, so a read may run on any thread while other
// objects read elsewhere.
class RecipeScan {
public:
    using Entries = std::vector<std::unique_ptr<TImpListInfo>>;
    // Called after each recipe file with the number of entries read so far, on the thread
    // that reads. It must not touch the entries being read.
    using Progress = std::function<void(std::size_t entries)>;

    // programDir is the directory of the program file, "/"-terminated or not (empty: none).
    // proz must outlive the object.
    RecipeScan(const TRezeptImportProz& proz, std::string programDir);

    // Reads every recipe as described above. paths is copied first, so the caller may change
    // its list while the read runs.
    Entries readAll(SearchPathList paths, const Progress& progress = {});

    // The recipe files of one directory, in listing order.
    static std::vector<std::string> recipeFiles(const std::string& directory);

    // Appends the recipes of every recipe file of directory.
    void scanDirectory(const std::string& directory, Entries& entries,
                       const Progress& progress = {});

    // Appends the recipes of one file, in file order.
    void readFile(const std::string& fileName, Entries& entries, const Progress& progress = {});

    // A flag another thread may set to end a read early: readAll() then returns what it has
    // read before the next file. The read of one file is bounded (ReadRecipeIndex reads at most
    // kMaxIndexBytes of it), so a stop takes effect within a fraction of a second even in a
    // directory of huge files. nullptr (the default): never stopped. Must outlive the reads.
    void setStopFlag(const std::atomic<bool>* stop) { stop_ = stop; }

private:
    const TRezeptImportProz& proz_;
    std::string programDir_;
    const std::atomic<bool>* stop_ = nullptr;
};

// The status bar text while a read runs: "12.345 Rezepte gelesen..." (UTF-8; thousands
// grouped with ".", as German writes them).
std::string scanProgressText(std::size_t entries);

} // namespace kovanta
