#include "regularfile.h"
#include "syserror.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kovanta {
namespace {

// An open descriptor of a regular file, or -1 with the reason.
int openRegular(const std::string& path, FileReadResult& result)
{
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait for one.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int e = errno;
        result.error = (e == ENOENT || e == ENOTDIR) ? FileReadError::Missing
                                                     : FileReadError::Unreadable;
        result.errorNumber = e;
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        result.error = FileReadError::Unreadable;
        result.errorNumber = errno;
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        result.error = S_ISDIR(st.st_mode) ? FileReadError::Directory : FileReadError::NotRegular;
        ::close(fd);
        return -1;
    }
    // Regular files ignore O_NONBLOCK, but reads should behave as with a plain open.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

} // namespace

std::FILE* openRegularFile(const std::string& path, FileReadResult& why)
{
    why = {};
    const int fd = openRegular(path, why);
    if (fd < 0)
        return nullptr;
    std::FILE* f = ::fdopen(fd, "rb");
    if (f == nullptr) {
        why.error = FileReadError::Unreadable;
        why.errorNumber = errno;
        ::close(fd);
    }
    return f;
}

std::FILE* openRegularFile(const std::string& path)
{
    FileReadResult ignored;
    return openRegularFile(path, ignored);
}

FileReadResult readRegularFile(const std::string& path, std::size_t maxBytes, std::string& content)
{
    content.clear();
    FileReadResult result;
    const int fd = openRegular(path, result);
    if (fd < 0)
        return result;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_size > 0 &&
        static_cast<unsigned long long>(st.st_size) > maxBytes) {
        ::close(fd);
        result.error = FileReadError::TooLarge;
        return result;
    }
    // The reported size is only a hint (it may change, or be 0 for generated files): read up to
    // one byte beyond the cap to tell a file that is too large.
    const std::size_t limit = maxBytes + 1;
    content.resize(st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1 : 4096);
    std::size_t total = 0;
    for (;;) {
        if (total == content.size())
            content.resize(std::min(limit, content.size() * 2));
        const ssize_t n = ::read(fd, content.data() + total, content.size() - total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result.error = FileReadError::Unreadable;
            result.errorNumber = errno;
            break;
        }
        if (n == 0)
            break;
        total += static_cast<std::size_t>(n);
        if (total > maxBytes) {
            result.error = FileReadError::TooLarge;
            break;
        }
    }
    ::close(fd);
    if (!result.ok()) {
        content.clear();
        content.shrink_to_fit();
        return result;
    }
    content.resize(total);
    return result;
}

std::string sizeText(std::size_t bytes)
{
    constexpr std::size_t kMiB = 1024 * 1024;
    if (bytes >= kMiB && bytes % kMiB == 0)
        return std::to_string(bytes / kMiB) + " MiB";
    return std::to_string(bytes) + " Bytes";
}

std::string describeReadError(const FileReadResult& result, std::size_t maxBytes)
{
    switch (result.error) {
    case FileReadError::None:
        return {};
    case FileReadError::Missing:
        return "nicht gefunden";
    case FileReadError::Directory:
        return "ist ein Verzeichnis";
    case FileReadError::NotRegular:
        return "ist keine normale Datei";
    case FileReadError::TooLarge:
        return "ist gr\u00f6\u00dfer als " + sizeText(maxBytes);
    case FileReadError::Unreadable:
        // A link that leads back to itself is a fault of the path, not of a file.
        if (result.errorNumber == ELOOP)
            return "ist eine Schleife symbolischer Verknüpfungen";
        break;
    }
    return "kann nicht gelesen werden (" + systemErrorText(result.errorNumber) + ")";
}

} // namespace kovanta
