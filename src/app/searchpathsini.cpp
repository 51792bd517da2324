#include "app/searchpathsini.h"

#include "platform/profilefile.h"

namespace kovanta::settings {
namespace {

// Appends the entries of section "SuchPfade" to list, in file order.
void readSection(const ProfileFile& profile, SearchPathList& list)
{
    for (const auto& [key, value] : profile.readSection(kSection)) {
        bool active = false;
        std::string path = value;
        if (!path.empty() && (path.front() == '0' || path.front() == '1')) {
            active = path.front() == '1';
            path.erase(0, 1);
        }
        list.add(path, active);
    }
}

} // namespace

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
    readSection(profile, list);
    return {};
}

std::string saveSearchPaths(const std::string& profileFile, const SearchPathList& list,
                            const SearchPathList& asRead)
{
    ProfileFile profile(profileFile);
    if (!profile.load())
        return profile.loadError();
    // Every save writes the section, so one that is missing was not written by another
    // instance (the file was removed or replaced by hand): nothing of it is taken as removed.
    SearchPathList onDisk = asRead;
    if (profile.hasSection(kSection)) {
        onDisk.clear();
        readSection(profile, onDisk);
    }
    const SearchPathList merged = mergeSearchPaths(asRead, list, onDisk);
    std::vector<ProfileFile::Entry> entries;
    for (const SearchPath& e : merged.entries()) {
        if (e.path.find_first_of("\r\n") != std::string::npos)
            continue;
        entries.emplace_back(std::to_string(entries.size() + 1), (e.active ? "1" : "0") + e.path);
    }
    profile.writeSection(kSection, entries);
    if (!profile.save())
        return profile.saveError();
    return {};
}

} // namespace kovanta::settings
