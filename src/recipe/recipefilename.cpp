#include "recipe/recipefilename.h"

#include "platform/filesearch.h"

namespace kovanta {

bool IsRecipeFileName(std::string_view name)
{
    return matchesMask(name, kRecipeFileMask);
}

} // namespace kovanta
