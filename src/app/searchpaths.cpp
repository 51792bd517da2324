#include "app/searchpaths.h"

#include <algorithm>
#include <optional>

namespace kovanta {

SearchPathList::SearchPathList(std::vector<SearchPath> entries)
{
    assign(entries);
}

int SearchPathList::indexOf(const std::string& path) const
{
    const std::string wanted = withTrailingSlash(path);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].path == wanted)
            return static_cast<int>(i);
    }
    return -1;
}

bool SearchPathList::add(const std::string& path, bool active)
{
    if (path.empty() || contains(path))
        return false;
    entries_.push_back({withTrailingSlash(path), active});
    return true;
}

void SearchPathList::setActive(std::size_t index, bool active)
{
    if (index < entries_.size())
        entries_[index].active = active;
}

void SearchPathList::remove(std::size_t index)
{
    if (index < entries_.size())
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

void SearchPathList::assign(const std::vector<SearchPath>& entries)
{
    entries_.clear();
    for (const SearchPath& e : entries)
        add(e.path, e.active);
}

namespace {

std::optional<bool> flagOf(const SearchPathList& list, const std::string& path)
{
    const int i = list.indexOf(path);
    if (i < 0)
        return std::nullopt;
    return list.entries()[static_cast<std::size_t>(i)].active;
}

// Whether path is in the merged list, and with which flag; see mergeSearchPaths.
std::optional<bool> mergedFlag(std::optional<bool> base, std::optional<bool> mine,
                               std::optional<bool> theirs)
{
    if (!base)
        return mine ? mine : theirs;
    if (mine && theirs)
        return *mine != *base ? mine : theirs;
    // Removed on one side: kept only when the other side switched it.
    if (mine && *mine != *base)
        return mine;
    if (theirs && *theirs != *base)
        return theirs;
    return std::nullopt;
}

} // namespace

SearchPathList mergeSearchPaths(const SearchPathList& asRead, const SearchPathList& mine,
                                const SearchPathList& onDisk)
{
    if (onDisk == asRead)
        return mine;
    std::vector<SearchPath> out;
    for (const SearchPath& t : onDisk.entries()) {
        if (const auto flag = mergedFlag(flagOf(asRead, t.path), flagOf(mine, t.path), t.active))
            out.push_back({t.path, *flag});
    }
    // Paths only mine holds go after their predecessor in mine.
    std::ptrdiff_t anchor = -1;
    for (const SearchPath& m : mine.entries()) {
        const auto at = std::find_if(out.begin(), out.end(),
                                     [&](const SearchPath& e) { return e.path == m.path; });
        if (at != out.end()) {
            anchor = at - out.begin();
            continue;
        }
        if (const auto flag = mergedFlag(flagOf(asRead, m.path), m.active, std::nullopt)) {
            ++anchor;
            out.insert(out.begin() + anchor, {m.path, *flag});
        }
    }
    return SearchPathList(std::move(out));
}

} // namespace kovanta
