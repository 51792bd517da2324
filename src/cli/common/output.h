#pragma once

#include <string>
#include <string_view>

// What `rezeptur` prints passes through here: texts from recipe files, web pages, servers and
// file names must not drive the terminal (ESC, OSC, NUL ...) nor break the line and field
// structure of the output.
namespace kovanta::cli {

// UTF-8 text made safe for the terminal: every control character (U+0000-U+001F, U+007F and
// the C1 range U+0080-U+009F) becomes a visible escape: "\t", "\n", "\r", else "\x1b" (two
// lower-case hex digits per byte); a byte that is not part of valid UTF-8 becomes "\xff" the
// same way, and a backslash "\\", so every escape reads back unambiguously. With keepLayout
// TAB and LF pass unchanged (for output whose lines and columns they are).
std::string escaped(std::string_view utf8, bool keepLayout = false);

// ANSI text (CP1252, as files and servers deliver it) as one escaped output field.
std::string ansiField(std::string_view ansi);

// A file name as the system spells it (bytes, usually UTF-8), escaped and in quotes, for
// messages: "\"" + escaped(name) + "\"".
std::string quotedName(std::string_view name);

} // namespace kovanta::cli
