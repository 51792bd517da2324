#pragma once

#include <QString>

#include <string>
#include <string_view>

// The user-interface boundary: ANSI (CP1252) byte strings of the core become QStrings here
// and nowhere else.
namespace kovanta {

QString ansiToQString(std::string_view ansi);
std::string qstringToAnsi(const QString& text);

} // namespace kovanta
