// A fetched page of another site through the recipe-data conversion: script scanning, JSON,
// text cleaning, ingredient and number parsing, the file layout. Besides the sanitizers'
// checks, every recipe file must be one the program reads as it was meant: lines within the
// detail readers' limit, only article and text lines in the body, one recipe in the file, and
// an article quantity the file can hold.
#include "fuzzsupport.h"
#include "jsonld/recipepage.h"
#include "recipe/quantities.h"
#include "recipe/rezeptimportproz.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unistd.h>

using fuzz::Check;
using fuzz::Reached;

int fuzz::jsonldPage(const std::uint8_t* data, std::size_t size)
{
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    const kovanta::jsonld::PageRecipes result =
        kovanta::jsonld::ConvertRecipePage(page, "https://kantine.example/rezepte/1");
    Check(result.recipes.empty() == (result.message == kovanta::jsonld::kNoRecipeData));
    if (result.recipes.size() > 1)
        Reached("jsonld: several recipes");
    const std::string path = ScratchFile("REZ00001.DAT");
    for (const kovanta::jsonld::PageRecipe& recipe : result.recipes) {
        Reached("jsonld: recipe file written");
        const std::string& file = recipe.file;
        std::size_t start = 0;
        std::size_t number = 0;
        while (start < file.size()) {
            const std::size_t end = file.find("\r\n", start);
            Check(end != std::string::npos);
            const std::string_view line(file.data() + start, end - start);
            Check(line.size() <= kovanta::kMaxRawLine);
            Check(line.find_first_of(std::string_view("\r\n\x1A", 3)) == std::string_view::npos);
            ++number;
            if (number == 1)
                Check(line.empty() || (line[0] != '^' && line[0] != '.'));
            if (number > 15 && end + 2 < file.size())
                Check(line[0] == ':' || line[0] == '*');
            if (number > 15 && line[0] == '*') {
                Reached("jsonld: article line");
                Check(line.size() == 108 && line[10] == ' ');
                Check(kovanta::LineQuantity(line) >= 0);
            }
            start = end + 2;
        }
        Check(file.ends_with("\r\n^^\r\n"));
        WriteFile(path, file.data(), file.size());
        kovanta::RecipeList list;
        kovanta::TRezeptImportProz().ReadRecipeIndex(path, list);
        Check(list.size() == 1 && list[0].Entry->EntryIndex == 0);
    }
    ::unlink(path.c_str());
    return 0;
}

KOVANTA_FUZZ_ENTRY(fuzz::jsonldPage)
