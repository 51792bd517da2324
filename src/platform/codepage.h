#pragma once

#include <string>
#include <string_view>

// Conversions between the code pages the program meets:
//  - OEM  = code page 850, the DOS code page of the recipe files;
//  - ANSI = Windows-1252, what is shown, printed, downloaded and kept in the recipe records.
// Core code works on ANSI byte strings; Unicode appears only at the user-interface boundary.
namespace kovanta::codepage {

// One OEM byte as ANSI, with Windows' best fit for the box-drawing characters CP1252 lacks.
char oemToAnsi(char oem);
std::string oemToAnsi(std::string_view oem);
// The same into ansi (replaced), so that a caller converting line after line reuses its buffer.
void oemToAnsi(std::string_view oem, std::string& ansi);

// One ANSI byte as OEM. Typographic characters CP850 lacks become their nearest ASCII
// character; no byte is ever mapped onto CR, LF or Ctrl-Z.
char ansiToOem(char ansi);
std::string ansiToOem(std::string_view ansi);

// The Unicode code point of an ANSI byte; the five bytes CP1252 leaves undefined map to
// U+0081, U+008D, U+008F, U+0090 and U+009D as on Windows.
char16_t ansiToUnicode(char ansi);

// ANSI text as UTF-8 (for the command-line companion and logs).
std::string ansiToUtf8(std::string_view ansi);

// UTF-8 text as ANSI; characters without an ANSI byte, and malformed UTF-8, become '?'.
std::string utf8ToAnsi(std::string_view utf8);

// A Unicode code point as ANSI byte, or '?' when CP1252 has none.
char unicodeToAnsi(char32_t codePoint);

} // namespace kovanta::codepage
