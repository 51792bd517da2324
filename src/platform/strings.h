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

// Recipe text as the window shows it: every control character (below 0x20, and DEL) becomes a
// blank, so that a stray byte in a file can neither break a line nor hide in what is shown,
// printed or exported. With keepTabs a TAB stays (where it is how columns line up). Works on
// ANSI and on UTF-8 alike: these bytes are never part of a longer UTF-8 character.
void blankControls(std::string& text, bool keepTabs = false);

// ASCII case folding, the one rule for names that ignore case (INI keys, file masks, URL
// schemes, page tags, header names): only A-Z and a-z fold, so an ANSI or UTF-8 umlaut never
// equals another character.
char asciiLower(char c);
std::string asciiLower(std::string_view text);
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);
bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix);

} // namespace kovanta
