#pragma once

#include <QString>

namespace kovanta {

// The QString twin of withTrailingSlash (platform/strings.h): path with a "/" at the end, added
// when missing. An empty path becomes "/".
QString withTrailingSlash(QString path);

} // namespace kovanta
