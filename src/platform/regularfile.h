#pragma once

#include <cstdio>
#include <string>

namespace kovanta {

// Opens path for reading in binary mode when it names a regular file (symbolic links are
// followed); nullptr for anything else (missing, unreadable, directory, FIFO, device). The check
// is made on the opened file itself, so a FIFO never blocks the caller and no second look-up
// of the name is needed. The caller closes the file with fclose.
std::FILE* openRegularFile(const std::string& path);

} // namespace kovanta
