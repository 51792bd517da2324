#pragma once

#include "recipe/rezeptimportproz.h"

#include <string>

// Where the command-line companion finds recipes: a path names a recipe file or a directory,
// which is read like an active search directory (every REZ*.DAT in listing order).
namespace kovanta::cli {

// Appends the recipes of path to list. False when path does not exist.
bool ReadRecipeSource(const TRezeptImportProz& proz, const std::string& path, RecipeList& list);

} // namespace kovanta::cli
