#pragma once

#include <string>
#include <string_view>

namespace kovanta::cli {

// An ANSI text (from a recipe file, a web page or a server) as one field of a TAB-separated
// output line: UTF-8, with every TAB, CR and LF turned into a blank, so that no text can break
// its line into extra fields or lines.
std::string outputField(std::string_view ansi);

} // namespace kovanta::cli
