#include "app/searchpathsini.h"

#include "platform/profilefile.h"

#include <stdexcept>

namespace kovanta::settings {

std::string profileFileName(const std::string& programDir)
{
    return withTrailingSlash(programDir) + kProfileName;
}

std::string loadSearchPaths(const std::string& profileFile, SearchPathList& list)
{
    list.clear();
    ProfileFile profile(profileFile);
    if (!profile.load()) {
        const std::size_t slash = profileFile.find_last_of('/');
        const std::string name =
            slash == std::string::npos ? profileFile : profileFile.substr(slash + 1);
        return name + " " + profile.loadError();
    }
    for (const auto& [key, value] : profile.readSection(kSection)) {
        bool active = false;
        std::string path = value;
        if (!path.empty() && (path.front() == '0' || path.front() == '1')) {
            active = path.front() == '1';
            path.erase(0, 1);
        }
        list.add(path, active);
    }
    return {};
}

void saveSearchPaths(const std::string& profileFile, const SearchPathList& list)
{
    ProfileFile profile(profileFile);
    if (!profile.load())
        throw std::runtime_error("cannot read " + profileFile);
    std::vector<ProfileFile::Entry> entries;
    for (const SearchPath& e : list.entries()) {
        if (e.path.find_first_of("\r\n") != std::string::npos)
            continue;
        entries.emplace_back(std::to_string(entries.size() + 1), (e.active ? "1" : "0") + e.path);
    }
    profile.writeSection(kSection, entries);
    if (!profile.save())
        throw std::runtime_error("cannot write " + profileFile);
}

} // namespace kovanta::settings
