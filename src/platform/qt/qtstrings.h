#pragma once

#include <QString>

#include <string>

namespace kovanta {

// The QString twin of withTrailingSlash (platform/strings.h): path with a "/" at the end, added
// when missing. An empty path becomes "/".
QString withTrailingSlash(QString path);

// Paths are kept as the file system's bytes in the core and shown as QStrings: the two
// directions of that one conversion (QFile's encoding of file names).
std::string fsPath(const QString& path);
QString displayPath(const std::string& path);

} // namespace kovanta
