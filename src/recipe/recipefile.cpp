#include "recipe/recipefile.h"

#include "platform/regularfile.h"

#include <algorithm>
#include <cstring>

namespace kovanta {

namespace {
// A recipe file's head and a list file's index fit into one block in the usual case.
constexpr std::size_t kBlockSize = 4096;
} // namespace

void RecipeFile::Closer::operator()(std::FILE* f) const
{
    std::fclose(f);
}

std::optional<RecipeFile> RecipeFile::Open(const std::string& path)
{
    // Only regular files: opening a FIFO would block the scan, a directory cannot be read.
    std::FILE* f = openRegularFile(path);
    if (f == nullptr)
        return std::nullopt;
    // Our own block cache does the buffering; a second one in stdio would only copy.
    std::setvbuf(f, nullptr, _IONBF, 0);
    return RecipeFile(f);
}

RecipeFile::RecipeFile(std::FILE* f)
    : file_(f), block_(std::make_unique_for_overwrite<char[]>(kBlockSize))
{}

RecipeFile::RecipeFile(RecipeFile&&) noexcept = default;
RecipeFile& RecipeFile::operator=(RecipeFile&&) noexcept = default;
RecipeFile::~RecipeFile() = default;

std::uint64_t RecipeFile::Size()
{
    if (!sizeKnown_) {
        sizeKnown_ = true;
        size_ = blockStart_ + blockLen_;
        if (file_ && std::fseek(file_.get(), 0, SEEK_END) == 0) {
            const long end = std::ftell(file_.get());
            if (end >= 0)
                size_ = std::max<std::uint64_t>(size_, static_cast<std::uint64_t>(end));
            filePos_ = size_;
        }
    }
    return size_;
}

bool RecipeFile::AtEnd()
{
    return !InBlock() && pos_ >= Size();
}

void RecipeFile::Seek(std::uint64_t pos)
{
    // Within the cached block the size need not be known.
    if (pos >= blockStart_ && pos <= blockStart_ + blockLen_)
        pos_ = pos;
    else
        pos_ = std::min(pos, Size());
}

bool RecipeFile::Fill(std::uint64_t pos)
{
    blockStart_ = pos;
    blockLen_ = 0;
    if (!file_ || (sizeKnown_ && pos >= size_))
        return false;
    if (filePos_ != pos) {
        if (std::fseek(file_.get(), static_cast<long>(pos), SEEK_SET) != 0)
            return false;
        filePos_ = pos;
    }
    blockLen_ = std::fread(block_.get(), 1, kBlockSize, file_.get());
    filePos_ += blockLen_;
    if (blockLen_ < kBlockSize) {
        // End of file (or a read error, which ends the file just the same).
        size_ = pos + blockLen_;
        sizeKnown_ = true;
    }
    return blockLen_ > 0;
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

bool RecipeTextReader::ReadLine(std::string& line)
{
    line.clear();
    if (eof_)
        return false;
    bool consumed = false;
    for (;;) {
        const std::string_view window = file_.Peek();
        if (window.empty())
            return consumed;
        std::size_t k = 0;
        while (k < window.size() && window[k] != '\n' && window[k] != '\r' && window[k] != '\x1A')
            ++k;
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
