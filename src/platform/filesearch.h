#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kovanta {

// File search by mask, as the recipe scan and the directory browser need it.
//
// Masks use '*' (any run of characters, also none) and '?' (exactly one character) and are
// matched against the whole entry name ignoring ASCII case, so "REZ*.DAT" finds "rez0001.dat"
// as well. Paths are bytes as the file system spells them; nothing is lower-cased.

// True when name matches mask (ASCII case ignored).
bool matchesMask(std::string_view name, std::string_view mask);

// The full names (directory + entry name) of every entry of directory whose name matches
// mask, in the order the directory listing returns them: no sorting, and every kind of entry
// (hidden files, subdirectories, links) is taken. "." and ".." are never returned. A
// directory without a trailing "/" gets one before the name is joined. A directory that does
// not exist or cannot be read, and an empty directory name, give an empty list.
std::vector<std::string> findFiles(const std::string& directory, std::string_view mask);

// True when directory holds at least one entry matching mask (any kind of entry).
bool containsMatch(const std::string& directory, std::string_view mask);

} // namespace kovanta
