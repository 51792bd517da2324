#pragma once

#include <string>
#include <string_view>

// Small text rules the whole program shares; each exists only here.
namespace kovanta {

// path with a trailing "/" (unchanged when it has one or is empty). Directories are kept so
// throughout the program: the scan joins a directory and a file name without a separator.
std::string withTrailingSlash(std::string path);

// text without the blanks and tabs around it (nothing else is removed; recipe fields, which
// also drop control characters, have their own Trim in recipe/rezeptimportproz.h).
std::string_view trimBlanks(std::string_view text);

} // namespace kovanta
