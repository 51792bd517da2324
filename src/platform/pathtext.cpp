#include "platform/pathtext.h"

namespace kovanta {

std::string withTrailingSlash(std::string path)
{
    if (!path.empty() && path.back() != '/')
        path += '/';
    return path;
}

} // namespace kovanta
