#pragma once

#include "app/recipescan.h"
#include "recipe/rezeptimportproz.h"

#include <string>
#include <vector>

// Where the command-line companion finds recipes: a path names a recipe file or a directory,
// which is read like an active search directory (every REZ*.DAT in listing order), by the
// program's own scan (app/recipescan.h).
namespace kovanta::cli {

// What one path gave besides its recipes.
struct RecipeSourceReport {
    // Empty, or why path cannot be read: a file ("nicht gefunden", "ist keine normale Datei",
    // "ist eine Schleife symbolischer Verknüpfungen", ...) or a directory that cannot be listed
    // ("kann nicht gelesen werden (keine Berechtigung)"). Unreadable files in a directory are
    // skipped silently, as the scan does.
    std::string error;
    // Files whose index went on beyond kMaxIndexEntries entries (the rest was not read).
    std::vector<std::string> cutIndexes;
};

// Appends the recipes of path to entries; false with report.error set when path is missing, a
// file that cannot be read or a directory that cannot be listed.
bool ReadRecipeSource(const TRezeptImportProz& proz, const std::string& path,
                      RecipeScan::Entries& entries, RecipeSourceReport& report);

} // namespace kovanta::cli
