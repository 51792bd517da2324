#include "recipe/recipefile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kovanta {

namespace {
// The first read covers a recipe file's head and a short list index; a long index is read on
// in larger blocks. Per file the scan then costs open, fstat, one read and close.
constexpr std::size_t kFirstBlock = 2048;
constexpr std::size_t kBlockSize = 8192;
} // namespace

RecipeFile::Descriptor& RecipeFile::Descriptor::operator=(Descriptor&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

RecipeFile::Descriptor::~Descriptor()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::optional<RecipeFile> RecipeFile::Open(const std::string& path)
{
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait for one; regular files
    // ignore the flag, so it need not be cleared again.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    // Only regular files: a FIFO would block the scan, a directory cannot be read. Checked on
    // the opened file, so the name is looked up once.
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    return RecipeFile(fd, static_cast<std::uint64_t>(st.st_size));
}

RecipeFile::RecipeFile(int fd, std::uint64_t size)
    : fd_(fd), size_(size), block_(std::make_unique_for_overwrite<char[]>(kBlockSize))
{}

RecipeFile::RecipeFile(RecipeFile&&) noexcept = default;
RecipeFile& RecipeFile::operator=(RecipeFile&&) noexcept = default;
RecipeFile::~RecipeFile() = default;

std::uint64_t RecipeFile::Size()
{
    return size_;
}

bool RecipeFile::AtEnd()
{
    return !InBlock() && pos_ >= size_;
}

void RecipeFile::Seek(std::uint64_t pos)
{
    pos_ = std::min(pos, size_);
}

bool RecipeFile::Fill(std::uint64_t pos)
{
    blockStart_ = pos;
    blockLen_ = 0;
    if (fd_.get() < 0 || pos >= size_)
        return false;
    const std::size_t want = static_cast<std::size_t>(
        std::min<std::uint64_t>(filledOnce_ ? kBlockSize : kFirstBlock, size_ - pos));
    filledOnce_ = true;
    ssize_t got;
    do {
        got = ::pread(fd_.get(), block_.get(), want, static_cast<off_t>(pos));
    } while (got < 0 && errno == EINTR);
    if (got <= 0) {
        // End of file or a read error, which ends the file just the same.
        size_ = pos;
        return false;
    }
    blockLen_ = static_cast<std::size_t>(got);
    if (blockLen_ < want)
        size_ = pos + blockLen_; // the file shrank since it was opened
    return true;
}

std::size_t RecipeFile::Read(char* dst, std::size_t n)
{
    std::size_t done = 0;
    while (done < n) {
        const std::string_view window = Peek();
        if (window.empty())
            break;
        const std::size_t take = std::min(n - done, window.size());
        std::memcpy(dst + done, window.data(), take);
        done += take;
        pos_ += take;
    }
    return done;
}

std::string_view RecipeFile::Peek()
{
    if (!InBlock() && !Fill(pos_))
        return {};
    const auto offset = static_cast<std::size_t>(pos_ - blockStart_);
    return std::string_view(block_.get() + offset, blockLen_ - offset);
}

bool RecipeTextReader::GiveUp(Stop why, std::string& line)
{
    stop_ = why;
    line.clear();
    return false;
}

bool RecipeTextReader::ReadLine(std::string& line)
{
    line.clear();
    if (eof_ || stop_ != Stop::None)
        return false;
    bool consumed = false;
    std::size_t lineBytes = 0;
    for (;;) {
        std::string_view window = file_.Peek();
        if (window.empty())
            return consumed;
        // The limit is checked before the bytes are looked at: what lies beyond it is not read.
        const std::uint64_t used = file_.Position() - start_;
        if (used >= byteLimit_)
            return GiveUp(Stop::LimitReached, line);
        window = window.substr(
            0, static_cast<std::size_t>(std::min<std::uint64_t>(window.size(), byteLimit_ - used)));
        std::size_t k = 0;
        while (k < window.size() && window[k] != '\n' && window[k] != '\r' && window[k] != '\x1A')
            ++k;
        lineBytes += k;
        if (lineBytes > kMaxLineBytes)
            return GiveUp(Stop::LineTooLong, line);
        if (line.size() < kMaxLine)
            line.append(window.substr(0, std::min(k, kMaxLine - line.size())));
        consumed = consumed || k > 0;
        file_.Skip(k);
        if (k == window.size())
            continue;
        const char end = window[k];
        if (end == '\x1A') {
            // Ctrl-Z ends the file; a line already begun is still a line.
            eof_ = true;
            return consumed;
        }
        file_.Skip(1);
        if (end == '\r') {
            const std::string_view next = file_.Peek();
            if (!next.empty() && next[0] == '\n')
                file_.Skip(1);
        }
        return true;
    }
}

} // namespace kovanta
