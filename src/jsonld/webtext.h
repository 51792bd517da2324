#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Text taken from the recipe data of other sites (UTF-8 with HTML entities and now and then
// markup) made plain, and laid out in the fixed columns of a recipe file in code page 850.
namespace kovanta::jsonld {

// The text as one plain UTF-8 line: HTML entities decoded, tags removed, every run of white
// space (line ends, tabs, no-break and other Unicode spaces) one blank, none at either end;
// zero-width characters and soft hyphens are dropped.
std::string PlainText(std::string_view utf8);

// The same, split into paragraphs at line ends and at the tags that end one (<br>, <p>, </p>,
// <li>, </li>, <div>, </div>, headings); empty paragraphs are left out.
std::vector<std::string> PlainParagraphs(std::string_view utf8);

// Plain UTF-8 text in the recipe files' code page, one byte per character. What CP1252 holds
// is converted as everywhere in the program (ANSI, then codepage::ansiToOem, typographic
// characters to their nearest ASCII), a few more characters by their usual written form
// ("⅓" -> "1/3", "−" -> "-"); any other character, and malformed UTF-8, becomes "?", so
// that nothing is dropped unseen. Control characters become blanks, and so does "^": in a
// text line it would mark an article or a label.
std::string ToOem(std::string_view utf8);

bool IsValidUtf8(std::string_view text);

// Whether a line may stand as it is (see Wrap).
using LineCheck = bool (*)(std::string_view line);

// Breaks single-byte text into lines of at most width bytes at blanks. A word longer than a
// line fills the line it starts on and goes on in the next one. With check, a line is taken
// only when check accepts it; a shorter one is taken otherwise (check must accept every line
// of up to 56 bytes).
std::vector<std::string> Wrap(std::string_view text, std::size_t width,
                              LineCheck check = nullptr);

} // namespace kovanta::jsonld
