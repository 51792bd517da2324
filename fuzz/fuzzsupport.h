#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <system_error>
#include <unistd.h>

// Pieces the fuzz targets share. Every target is a harness function `int name(data, size)` in
// namespace fuzz; under libFuzzer (the fuzz preset) KOVANTA_FUZZ_ENTRY makes it the entry point,
// in the normal build (KOVANTA_FUZZ_REPLAY) the corpus replay test calls it directly, so each
// input found by fuzzing stays a regression test.
namespace fuzz {

#ifdef KOVANTA_FUZZ_REPLAY
// A broken invariant during a replay: the test names the input that broke it.
class BrokenInvariant : public std::logic_error {
public:
    using std::logic_error::logic_error;
};
#endif

// A broken invariant is a finding: under libFuzzer stop as a crash so that the input is kept.
inline void Check(bool ok)
{
    if (ok)
        return;
#ifdef KOVANTA_FUZZ_REPLAY
    throw BrokenInvariant("fuzz invariant broken");
#else
    __builtin_trap();
#endif
}

// How often each milestone of a harness was passed (counted during replays only). The replay
// test checks that the seeds pass every milestone a harness names, so a harness that stops
// early on every input (as one once did, at its first receive) cannot go unnoticed.
inline std::map<std::string, long>& Milestones()
{
    static std::map<std::string, long> counts;
    return counts;
}

inline void Reached([[maybe_unused]] const char* milestone)
{
#ifdef KOVANTA_FUZZ_REPLAY
    ++Milestones()[milestone];
#endif
}

// Where the harnesses put the files they write. Under libFuzzer a directory of this process's
// own below the system's temporary directory, removed at exit; the replay test sets its own.
class Scratch {
public:
    static Scratch& instance()
    {
        static Scratch scratch;
        return scratch;
    }
    void setDirectory(std::filesystem::path dir) { dir_ = std::move(dir); }
    const std::filesystem::path& directory()
    {
        if (dir_.empty()) {
            dir_ = std::filesystem::temp_directory_path() /
                   ("kovanta-fuzz-" + std::to_string(::getpid()));
            std::filesystem::create_directories(dir_);
            owned_ = true;
        }
        return dir_;
    }
    ~Scratch()
    {
        std::error_code ec;
        if (owned_)
            std::filesystem::remove_all(dir_, ec);
    }

private:
    Scratch() = default;
    std::filesystem::path dir_;
    bool owned_ = false;
};

inline std::string ScratchFile(const std::string& name)
{
    return (Scratch::instance().directory() / name).string();
}

// REZ00001.DAT in the scratch directory; the targets rewrite it for every input.
inline std::string FilePath()
{
    return ScratchFile("REZ00001.DAT");
}

inline void WriteFile(const std::string& path, const void* data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// The harnesses.
int jsonldPage(const std::uint8_t* data, std::size_t size);
int numberEntry(const std::uint8_t* data, std::size_t size);
int reader(const std::uint8_t* data, std::size_t size);
int recipeText(const std::uint8_t* data, std::size_t size);
int requirements(const std::uint8_t* data, std::size_t size);
int webAnswer(const std::uint8_t* data, std::size_t size);
int webDrop(const std::uint8_t* data, std::size_t size);
int webPage(const std::uint8_t* data, std::size_t size);

} // namespace fuzz

#ifdef KOVANTA_FUZZ_REPLAY
#define KOVANTA_FUZZ_ENTRY(harness)
#else
#define KOVANTA_FUZZ_ENTRY(harness)                                                             \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)           \
    {                                                                                          \
        return harness(data, size);                                                            \
    }
#endif
