#pragma once

#include <string_view>

// Which files are recipe files: the one rule the directory scan and the web import share.
namespace kovanta {

// The mask of recipe file names, matched ignoring ASCII case (platform/filesearch.h).
inline constexpr std::string_view kRecipeFileMask = "REZ*.DAT";

// True when a file name (without its directory) is a recipe file's: "rez" at the start and
// ".dat" at the end, both ignoring case.
bool IsRecipeFileName(std::string_view name);

} // namespace kovanta
