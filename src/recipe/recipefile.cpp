#include "recipe/recipefile.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

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
    std::error_code ec;
    // Only regular files: opening a FIFO would block the scan, a directory cannot be read.
    if (!std::filesystem::is_regular_file(path, ec) || ec)
        return std::nullopt;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr)
        return std::nullopt;
    // Our own block cache does the buffering; a second one in stdio would only copy.
    std::setvbuf(f, nullptr, _IONBF, 0);
    if (std::fseek(f, 0, SEEK_END) != 0) {
        std::fclose(f);
        return std::nullopt;
    }
    const long end = std::ftell(f);
    if (end < 0) {
        std::fclose(f);
        return std::nullopt;
    }
    return RecipeFile(f, static_cast<std::uint64_t>(end));
}

RecipeFile::RecipeFile(std::FILE* f, std::uint64_t size)
    : file_(f), size_(size), block_(std::make_unique<char[]>(kBlockSize))
{}

RecipeFile::RecipeFile(RecipeFile&&) noexcept = default;
RecipeFile& RecipeFile::operator=(RecipeFile&&) noexcept = default;
RecipeFile::~RecipeFile() = default;

void RecipeFile::Seek(std::uint64_t pos)
{
    pos_ = std::min(pos, size_);
}

bool RecipeFile::Fill(std::uint64_t pos)
{
    blockStart_ = pos;
    blockLen_ = 0;
    if (!file_ || pos >= size_)
        return false;
    if (std::fseek(file_.get(), static_cast<long>(pos), SEEK_SET) != 0)
        return false;
    const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(kBlockSize, size_ - pos));
    blockLen_ = std::fread(block_.get(), 1, want, file_.get());
    return blockLen_ > 0;
}

std::size_t RecipeFile::Read(char* dst, std::size_t n)
{
    std::size_t done = 0;
    while (done < n && pos_ < size_) {
        if (pos_ < blockStart_ || pos_ >= blockStart_ + blockLen_) {
            // A file that shrank since it was opened ends where the data ends.
            if (!Fill(pos_)) {
                size_ = pos_;
                break;
            }
        }
        const auto offset = static_cast<std::size_t>(pos_ - blockStart_);
        const std::size_t take = std::min(n - done, blockLen_ - offset);
        std::memcpy(dst + done, block_.get() + offset, take);
        done += take;
        pos_ += take;
    }
    return done;
}

bool RecipeTextReader::ReadLine(std::string& line)
{
    line.clear();
    if (eof_)
        return false;
    bool consumed = false;
    char c = 0;
    while (file_.Read(&c, 1) == 1) {
        if (c == '\x1A') {
            // Ctrl-Z ends the file; a line already begun is still a line.
            eof_ = true;
            return consumed;
        }
        consumed = true;
        if (c == '\n')
            return true;
        if (c == '\r') {
            const std::uint64_t after = file_.Position();
            char next = 0;
            if (file_.Read(&next, 1) == 1 && next != '\n')
                file_.Seek(after);
            return true;
        }
        if (line.size() < kMaxLine)
            line.push_back(c);
    }
    return consumed;
}

} // namespace kovanta
