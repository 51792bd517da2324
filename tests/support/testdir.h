#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

// A fresh temporary directory for one test, removed with everything in it afterwards.
class TestDir {
public:
    TestDir()
    {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("kovanta-test-" + std::to_string(rd()) + "-" + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TestDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TestDir(const TestDir&) = delete;
    TestDir& operator=(const TestDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Directory path as the program keeps it: with a trailing "/".
    std::string dir() const { return path_.string() + "/"; }

    // Writes bytes exactly as given (no newline translation) and returns the full path.
    std::string write(const std::string& name, std::string_view bytes) const
    {
        const auto p = path_ / name;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return p.string();
    }

private:
    std::filesystem::path path_;
};
