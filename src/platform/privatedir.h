#pragma once

#include <string>

namespace kovanta::platform {

// True when `path` is a directory itself (not a symbolic link to one) that belongs to the user
// running the program and that no other user may write. The import window's default directory
// lies in the shared temporary directory, where anybody could have made that name first; the
// window lists and removes files there only when this holds.
bool isOwnPrivateDirectory(const std::string& path);

// Creates `path` (parents included) with mode 0700 when it is missing. Returns
// isOwnPrivateDirectory(path) afterwards, so a name taken by somebody else reads as failure.
bool makeOwnPrivateDirectory(const std::string& path);

} // namespace kovanta::platform
