#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Recipe pages of any site: the schema.org Recipe data a page carries as JSON-LD, turned into
// recipe files of the program's own format (single-recipe files, code page 850, CR LF), so
// that an imported recipe is listed, previewed, scaled, planned and printed like any other.
// docs/web-recipes-jsonld.md has the mapping and the decisions.
namespace kovanta::jsonld {

// What a page without recipe data gives.
inline constexpr std::string_view kNoRecipeData = "Keine Rezeptdaten gefunden";

// Bounds, so that any page (up to the 16 MiB the HTTP client accepts) is converted in bounded
// time and memory; real pages stay far below each of them.
inline constexpr std::size_t kMaxPageBytes = 16 * 1024 * 1024; // the rest of a page is not read
inline constexpr std::size_t kMaxBlockBytes = 2 * 1024 * 1024; // a larger JSON block is skipped
inline constexpr std::size_t kMaxParsedBytes = 8 * 1024 * 1024; // JSON parsed per page
inline constexpr std::size_t kMaxJsonDepth = 64;         // deeper JSON is no recipe data
inline constexpr std::size_t kMaxRecipesPerPage = 100;   // further recipes are left out
inline constexpr std::size_t kMaxIngredients = 300;      // per recipe
inline constexpr std::size_t kMaxRecipeBodyLines = 1000; // then "... (Rezept gekürzt)"
inline constexpr std::size_t kMaxTextBytes = 64 * 1024;  // of one text value of the data

// Field widths of the recipe file.
inline constexpr std::size_t kShortNameWidth = 20; // head line 4
inline constexpr std::size_t kGroupWidth = 20;     // head line 5
inline constexpr std::size_t kDescriptionWidth = 40; // head lines 6 and 7
inline constexpr std::size_t kUnitWidth = 8;       // article line, columns 46-53
inline constexpr std::size_t kArticleWidth = 30;   // article line, columns 79-108
inline constexpr std::size_t kTextWidth = 66;      // text line, columns 6-71

// One recipe of a page.
struct PageRecipe {
    std::string name; // the recipe's full name, ANSI (for lists and messages)
    std::string file; // the recipe file: CP850 bytes, lines ended by CR LF
};

struct PageRecipes {
    std::vector<PageRecipe> recipes; // in page order; a recipe given twice is taken once
    std::string message;             // kNoRecipeData when recipes is empty, else empty
};

// The recipes of page (the bytes as fetched) from pageUrl (ANSI; may be empty, the recipe's
// own "url" then stands in for it). Never throws for page content.
PageRecipes ConvertRecipePage(std::string_view page, std::string_view pageUrl);

} // namespace kovanta::jsonld
