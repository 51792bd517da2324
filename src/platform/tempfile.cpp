#include "tempfile.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace kovanta::platform {

std::optional<std::string> CreateUniqueTempFile(const std::string& dir, const std::string& prefix,
                                                int& error)
{
    // Start somewhere time-dependent, so that names freed by deleted files are not handed out
    // again at once to the next call; 0 is never used, as on the system this mirrors.
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    unsigned start = static_cast<unsigned>(ticks) & 0xFFFFu;
    if (start == 0)
        start = 1;
    error = 0;
    for (unsigned i = 0; i < 0xFFFFu; ++i) {
        const unsigned number = (start - 1 + i) % 0xFFFFu + 1;
        char hex[8];
        std::snprintf(hex, sizeof hex, "%x", number);
        std::string path = dir + prefix + hex + ".tmp";
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST) {
            error = errno;
            return std::nullopt;
        }
    }
    error = EEXIST;
    return std::nullopt;
}

} // namespace kovanta::platform
