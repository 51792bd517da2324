#include "filesearch.h"

#include "platform/strings.h"

#include <dirent.h>

namespace kovanta {
namespace {

// Calls f(name) for each entry in listing order until f returns false.
template <typename F> void forEachEntry(const std::string& directory, F f)
{
    if (directory.empty())
        return;
    DIR* d = ::opendir(directory.c_str());
    if (!d)
        return;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view name(e->d_name);
        if (name == "." || name == "..")
            continue;
        if (!f(name))
            break;
    }
    ::closedir(d);
}

} // namespace

bool matchesMask(std::string_view name, std::string_view mask)
{
    // Iterative wildcard match with back-tracking to the last '*': linear in practice and
    // never recursive, whatever the mask.
    std::size_t n = 0, m = 0;
    std::size_t starMask = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || asciiLower(mask[m]) == asciiLower(name[n]))) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

std::vector<std::string> findFiles(const std::string& directory, std::string_view mask)
{
    std::string prefix = directory;
    if (!prefix.empty() && prefix.back() != '/')
        prefix += '/';
    std::vector<std::string> result;
    forEachEntry(directory, [&](std::string_view name) {
        if (matchesMask(name, mask))
            result.push_back(prefix + std::string(name));
        return true;
    });
    return result;
}

bool containsMatch(const std::string& directory, std::string_view mask)
{
    bool found = false;
    forEachEntry(directory, [&](std::string_view name) {
        found = matchesMask(name, mask);
        return !found;
    });
    return found;
}

} // namespace kovanta
