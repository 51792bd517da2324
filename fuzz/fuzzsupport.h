#pragma once

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

// Pieces the fuzz targets share.
namespace fuzz {

// A broken invariant is a finding: stop as a crash so that libFuzzer keeps the input.
inline void Check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

// REZ00001.DAT in a directory of this process's own; the targets rewrite it for every input.
inline const std::string& FilePath()
{
    static const std::string path = [] {
        const auto dir =
            std::filesystem::temp_directory_path() / ("kovanta-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        return (dir / "REZ00001.DAT").string();
    }();
    return path;
}

inline void WriteFile(const std::string& path, const void* data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

} // namespace fuzz
