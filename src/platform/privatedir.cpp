#include "platform/privatedir.h"

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kovanta::platform {

bool isOwnPrivateDirectory(const std::string& path)
{
    std::string p = path;
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    struct stat st {};
    if (p.empty() || ::lstat(p.c_str(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool makeOwnPrivateDirectory(const std::string& path)
{
    std::string p = path;
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    std::error_code ec;
    const std::filesystem::path dir(p);
    if (dir.has_parent_path())
        std::filesystem::create_directories(dir.parent_path(), ec);
    if (::mkdir(p.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    return isOwnPrivateDirectory(p);
}

} // namespace kovanta::platform
