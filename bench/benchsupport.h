#pragma once

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

extern char** environ;

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

// `rezeptur list DIR...`, output thrown away: its peak resident memory in MiB, or -1 when it
// did not end with status 0.
inline double RezepturListPeakMb(const std::vector<std::string>& dirs)
{
    const char* binDir = std::getenv("KOVANTA_BIN_DIR");
    const std::string program = std::string(binDir ? binDir : "bin") + "/rezeptur";
    std::vector<std::string> args = {program, "list"};
    args.insert(args.end(), dirs.begin(), dirs.end());
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return -1;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace bench
