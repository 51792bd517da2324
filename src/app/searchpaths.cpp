#include "app/searchpaths.h"

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

} // namespace kovanta
