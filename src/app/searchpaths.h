#pragma once

#include "platform/strings.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kovanta {

// One directory of the search path list: the path exactly as the file system spells it,
// ending in "/", and whether it is searched.
struct SearchPath {
    std::string path;
    bool active = false;

    bool operator==(const SearchPath&) const = default;
};

// The list of recipe directories: insertion order, no path twice. Paths are compared
// exactly (the file system is case-sensitive; "/Rezepte/" and "/rezepte/" are two places),
// after the trailing "/" has been added, so "/a" and "/a/" are the same entry. Nothing is
// lower-cased. The main window owns the program's one list and hands it to the search-path
// dialog, the settings and the scan.
class SearchPathList {
public:
    SearchPathList() = default;
    explicit SearchPathList(std::vector<SearchPath> entries);

    // The index of path (normalised as above), or -1.
    int indexOf(const std::string& path) const;
    bool contains(const std::string& path) const { return indexOf(path) >= 0; }

    // Appends path (normalised) with its flag when it is not in the list yet; true when added.
    // An empty path is never added.
    bool add(const std::string& path, bool active);

    // Out-of-range indexes are ignored.
    void setActive(std::size_t index, bool active);
    void remove(std::size_t index);
    void clear() { entries_.clear(); }

    // Replaces the whole list, dropping empty paths and later duplicates.
    void assign(const std::vector<SearchPath>& entries);

    const std::vector<SearchPath>& entries() const { return entries_; }
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }

    bool operator==(const SearchPathList&) const = default;

private:
    std::vector<SearchPath> entries_;
};

// Three-way merge of the search path list, for two instances of the program sharing one INI
// file: asRead is the list as this instance read it, mine what its user made of it, onDisk what
// the file holds now (another instance saved meanwhile). Each side's changes against asRead are
// applied, so neither is lost:
// - a path added on one side is kept with that side's flag (added on both: mine);
// - a path removed on one side is gone, unless the other side ticked or unticked it, which
//   keeps it with that flag (a directory someone still switched is never dropped unseen);
// - a flag changed on one side is taken from that side.
// Order: onDisk's, with the paths only mine holds inserted after the path that precedes them in
// mine (at the front when none does). When onDisk equals asRead the result is mine.
SearchPathList mergeSearchPaths(const SearchPathList& asRead, const SearchPathList& mine,
                                const SearchPathList& onDisk);

} // namespace kovanta
