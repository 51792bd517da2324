#include "atomicfile.h"
#include "syserror.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace kovanta {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr int kMaxLinks = 40; // as the system's own limit on link chains

std::string directoryOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The random part of a temporary name: exactly what open() writes ("%08x").
bool isTempHex(std::string_view s)
{
    if (s.size() != 8)
        return false;
    for (const char c : s) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

} // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {}

AtomicFile::~AtomicFile()
{
    discard();
}

void AtomicFile::fail(int error)
{
    if (error_ == 0)
        error_ = error ? error : EIO;
}

bool AtomicFile::resolveTarget()
{
    std::string p = path_;
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0) {
            if (errno != ENOENT) {
                fail(errno);
                return false;
            }
            targetExists_ = false;
            break;
        }
        if (S_ISLNK(st.st_mode)) {
            if (hops >= kMaxLinks) {
                fail(ELOOP);
                return false;
            }
            char buf[PATH_MAX];
            const ssize_t n = ::readlink(p.c_str(), buf, sizeof buf - 1);
            if (n < 0) {
                fail(errno);
                return false;
            }
            const std::string link(buf, static_cast<std::size_t>(n));
            p = (!link.empty() && link.front() == '/') ? link : directoryOf(p) + "/" + link;
            continue;
        }
        if (!S_ISREG(st.st_mode)) {
            notRegular_ = true;
            targetIsDirectory_ = S_ISDIR(st.st_mode);
            fail(EINVAL);
            return false;
        }
        targetExists_ = true;
        targetMode_ = st.st_mode & 07777;
        targetUid_ = st.st_uid;
        targetGid_ = st.st_gid;
        break;
    }
    target_ = p;
    return true;
}

bool AtomicFile::open()
{
    if (isOpen())
        return true;
    error_ = 0;
    notRegular_ = false;
    targetIsDirectory_ = false;
    buffer_.clear();
    if (!resolveTarget())
        return false;
    std::random_device rd;
    const std::string stem = directoryOf(target_) + "/." + nameOf(target_) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(rd()));
        const std::string temp = stem + hex + ".tmp";
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fd_ = fd;
            temp_ = temp;
            return true;
        }
        if (errno != EEXIST) {
            fail(errno);
            return false;
        }
    }
    fail(EEXIST);
    return false;
}

bool AtomicFile::flushBuffer()
{
    std::size_t done = 0;
    while (done < buffer_.size()) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            fail(n < 0 ? errno : EIO);
            buffer_.clear();
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    buffer_.clear();
    return true;
}

bool AtomicFile::write(std::string_view bytes)
{
    if (!isOpen()) {
        fail(EBADF);
        return false;
    }
    if (error_ != 0)
        return false;
    buffer_.append(bytes);
    if (buffer_.size() >= kBufferSize)
        return flushBuffer();
    return true;
}

bool AtomicFile::commit()
{
    if (!isOpen()) {
        fail(EBADF);
        return false;
    }
    bool ok = error_ == 0 && flushBuffer();
    if (ok && targetExists_) {
        // The replacement keeps what the user set on the file it replaces.
        if (::geteuid() == 0)
            (void)::fchown(fd_, targetUid_, targetGid_);
        if (::fchmod(fd_, targetMode_) != 0) {
            fail(errno);
            ok = false;
        }
    }
    // Without it a power loss right after the rename can leave an empty file on some file
    // systems, which is exactly what the temporary file is there to prevent.
    if (ok && ::fsync(fd_) != 0) {
        fail(errno);
        ok = false;
    }
    if (::close(fd_) != 0 && ok) {
        fail(errno);
        ok = false;
    }
    fd_ = -1;
    if (ok && ::rename(temp_.c_str(), target_.c_str()) != 0) {
        fail(errno);
        ok = false;
    }
    if (!ok) {
        ::unlink(temp_.c_str());
        temp_.clear();
        return false;
    }
    temp_.clear();
    // The rename itself reaches the disk with the directory.
    const int dir = ::open(directoryOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return true;
}

void AtomicFile::discard()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
    buffer_.clear();
}

std::string AtomicFile::errorText() const
{
    if (error_ == 0)
        return {};
    if (notRegular_)
        return targetIsDirectory_ ? "ist ein Verzeichnis" : "ist keine normale Datei";
    if (error_ == ELOOP)
        return "ist eine Schleife symbolischer Verknüpfungen";
    return "kann nicht geschrieben werden (" + systemErrorText(error_) + ")";
}

int removeStaleTempFiles(const std::string& target, std::chrono::seconds minAge)
{
    const std::string dirName = directoryOf(target);
    const std::string prefix = "." + nameOf(target) + ".";
    const std::string suffix = ".tmp";
    DIR* dir = ::opendir(dirName.c_str());
    if (!dir)
        return 0;
    const std::time_t now = std::time(nullptr);
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name.size() != prefix.size() + 8 + suffix.size() ||
            name.substr(0, prefix.size()) != prefix ||
            name.substr(name.size() - suffix.size()) != suffix ||
            !isTempHex(name.substr(prefix.size(), 8)))
            continue;
        const std::string path = dirName + "/" + std::string(name);
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
            now - st.st_mtime < minAge.count())
            continue;
        if (::unlink(path.c_str()) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& message)
{
    AtomicFile file(path);
    if (file.open() && file.write(bytes) && file.commit()) {
        message.clear();
        return true;
    }
    message = file.errorText();
    return false;
}

} // namespace kovanta
