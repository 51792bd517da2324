#pragma once

#include <optional>
#include <string>

// Unique temporary file names in the manner the import expects: `prefix` + 1 to 4 lower-case
// hexadecimal digits + ".tmp" inside `dir` (which ends with "/").
namespace kovanta::platform {

// Creates the empty file exclusively, so that the name is reserved for the caller, and returns
// its full path. Numbers already taken are skipped; after all 65,535 numbers have been tried, or
// when the directory cannot be written, returns nothing and `error` holds the errno value.
std::optional<std::string> CreateUniqueTempFile(const std::string& dir, const std::string& prefix,
                                                int& error);

} // namespace kovanta::platform
