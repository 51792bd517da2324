#pragma once

#include <string>

namespace kovanta {

// path with a trailing "/" (unchanged when it has one or is empty). Directories are kept so
// throughout the program: the scan joins a directory and a file name without a separator.
std::string withTrailingSlash(std::string path);

} // namespace kovanta
