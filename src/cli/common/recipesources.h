#pragma once

#include "app/recipescan.h"
#include "recipe/rezeptimportproz.h"

#include <string>
#include <vector>

// Where the command-line companion finds recipes: a path names a recipe file or a directory,
// which is read like an active search directory (every REZ*.DAT in listing order), by the
// program's own scan (app/recipescan.h).
namespace kovanta::cli {

// Appends the recipes of path to entries. False when path does not exist.
bool ReadRecipeSource(const TRezeptImportProz& proz, const std::string& path,
                      RecipeScan::Entries& entries);

// What one path gave besides its recipes.
struct RecipeSourceReport {
    // Empty, or why a file named as path cannot be read ("nicht gefunden", "ist keine normale
    // Datei", ...). Unreadable files in a directory are skipped silently, as the scan does.
    std::string error;
    // Files whose index went on beyond kMaxIndexEntries entries (the rest was not read).
    std::vector<std::string> cutIndexes;
};

// As above; false with report.error set when path is missing or a file that cannot be read.
bool ReadRecipeSource(const TRezeptImportProz& proz, const std::string& path,
                      RecipeScan::Entries& entries, RecipeSourceReport& report);

} // namespace kovanta::cli
