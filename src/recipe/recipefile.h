#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// Read-only byte access to a recipe file. The program never writes recipe files, so there is
// no way to open one for writing here.
namespace kovanta {

class RecipeFile {
public:
    // Opens a regular file for reading. Nothing when the path does not exist, is not a regular
    // file (a directory, a FIFO that would block) or cannot be opened.
    static std::optional<RecipeFile> Open(const std::string& path);

    RecipeFile(RecipeFile&&) noexcept;
    RecipeFile& operator=(RecipeFile&&) noexcept;
    RecipeFile(const RecipeFile&) = delete;
    RecipeFile& operator=(const RecipeFile&) = delete;
    ~RecipeFile(); // closes the file

    // Size in bytes, as the file had it when opened; a file that turns out shorter while it is
    // read ends where its data ends (data appended after opening is not read).
    std::uint64_t Size();
    // Current byte position, 0 = first byte.
    std::uint64_t Position() const { return pos_; }
    bool AtEnd();
    // Moves to pos; a position beyond the end is taken as the end.
    void Seek(std::uint64_t pos);
    // Reads up to n bytes at the current position into dst and advances past them; returns the
    // number read (0 at the end or on a read error).
    std::size_t Read(char* dst, std::size_t n);
    // The bytes from the current position that are at hand without another read: at least one
    // unless at the end (or on a read error). Valid until the next Peek or Read; consume them
    // with Skip.
    std::string_view Peek();
    void Skip(std::size_t n) { Seek(pos_ + n); }

private:
    // The file descriptor, closed with the object.
    class Descriptor {
    public:
        explicit Descriptor(int fd = -1) : fd_(fd) {}
        Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
        Descriptor& operator=(Descriptor&& other) noexcept;
        ~Descriptor();
        int get() const { return fd_; }

    private:
        int fd_;
    };
    RecipeFile(int fd, std::uint64_t size);
    bool InBlock() const { return pos_ >= blockStart_ && pos_ < blockStart_ + blockLen_; }
    bool Fill(std::uint64_t pos);

    Descriptor fd_;
    // The size the file had when opened; lowered when a read finds the data ending earlier.
    std::uint64_t size_ = 0;
    std::uint64_t pos_ = 0;
    bool filledOnce_ = false;
    // One cached block, so that the many short reads and seeks of line reading cost no
    // system call each. The first read is small (what a recipe head or a short index needs),
    // later ones larger.
    std::unique_ptr<char[]> block_;
    std::uint64_t blockStart_ = 0;
    std::size_t blockLen_ = 0;
};

// Line reading as the index reader does it, on a RecipeFile from its current position.
// A line ends at CR LF, a lone CR or a lone LF; a Ctrl-Z byte (0x1A) ends the file. Only the
// first 255 characters of a line are kept; the rest of that line is skipped, but not without
// end: the reader gives up on a line that runs on beyond kMaxLineBytes, and on reading beyond
// the byte limit it was given, and then reads no further (Stopped()). So a damaged or foreign
// file of any size (a sparse file of 40 GB is made in an instant) costs a bounded read.
class RecipeTextReader {
public:
    static constexpr std::size_t kMaxLine = 255;
    // Recipe file lines have at most 255 characters that count, and real ones far fewer (an
    // article line has 108 columns); a line longer than 16 times that is no recipe file line.
    static constexpr std::size_t kMaxLineBytes = 4096;
    static constexpr std::uint64_t kNoLimit = UINT64_MAX;

    enum class Stop {
        None,
        LineTooLong,  // a line ran on beyond kMaxLineBytes
        LimitReached, // more than byteLimit bytes would have been read
    };

    // byteLimit: how many bytes from the current position the reader may consume in all.
    explicit RecipeTextReader(RecipeFile& file, std::uint64_t byteLimit = kNoLimit)
        : file_(file), start_(file.Position()), byteLimit_(byteLimit)
    {}

    // The next line without its line end. False (and line empty) when no line was left, or
    // when the reader stopped at a bound.
    bool ReadLine(std::string& line);
    bool AtEnd() const { return eof_ || stop_ != Stop::None || file_.AtEnd(); }
    Stop Stopped() const { return stop_; }

private:
    bool GiveUp(Stop why, std::string& line);

    RecipeFile& file_; // not owned
    std::uint64_t start_;
    std::uint64_t byteLimit_;
    bool eof_ = false; // Ctrl-Z seen
    Stop stop_ = Stop::None;
};

} // namespace kovanta
