#pragma once

#include <QString>

#include <string>
#include <string_view>

// The user-interface boundary: ANSI (CP1252) byte strings of the core become QStrings here
// and nowhere else.
namespace kovanta {

QString ansiToQString(std::string_view ansi);
std::string qstringToAnsi(const QString& text);

// Text from outside (a server's reason text, a file name, a recipe text) for a message the user
// reads: every control character (U+0000-U+001F, U+007F, U+0080-U+009F) becomes a visible
// escape "\x1b" (lower-case hex), so nothing in it can hide or rearrange the message. With
// keepLineBreaks a LF stays (for messages whose lines the program itself breaks).
QString visibleControls(const QString& text, bool keepLineBreaks = false);

} // namespace kovanta
