#pragma once

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

// Pieces the benchmarks share.
namespace bench {

// A new, empty directory below the system's temporary directory; the caller removes it.
inline std::filesystem::path MakeScratchDir(const std::string& prefix)
{
    std::random_device rd;
    const auto dir = std::filesystem::temp_directory_path() /
                     (prefix + "-" + std::to_string(rd()) + "-" + std::to_string(rd()));
    std::filesystem::create_directories(dir);
    return dir;
}

// The least any scan of recipe files must do, the baseline of the reading benchmarks: open each
// file, read its first 2 KiB, close it. Returns the bytes read.
inline std::size_t ReadFirst2KiBOfEach(const std::vector<std::string>& files)
{
    char buffer[2048];
    std::size_t bytes = 0;
    for (const std::string& name : files) {
        std::FILE* f = std::fopen(name.c_str(), "rb");
        if (f == nullptr)
            continue;
        bytes += std::fread(buffer, 1, sizeof buffer, f);
        std::fclose(f);
    }
    return bytes;
}

} // namespace bench
