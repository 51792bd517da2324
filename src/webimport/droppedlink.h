#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The link a drop brings, and the rules that find it in what a drag holds. The Qt side
// (webimport/qt/linkdrop.h) only reads the drag into DropContents; every decision is taken here,
// without Qt, so that it can be tested with tables and fuzzed.
namespace kovanta {

// What the import takes from a drop, ANSI. The title is the URL itself when the drop brought no
// title of its own; the import window ignores such a drop.
struct DroppedLink {
    std::string url;
    std::string title;
    bool operator==(const DroppedLink&) const = default;
};

// What a drag holds, as Linux browsers and file managers deliver it; text is UTF-8, a format
// that is missing is empty.
struct DropContents {
    std::vector<std::string> links; // text/uri-list: the URLs that are not local files, in order
    std::vector<std::string> files; // text/uri-list: the local files (paths), in order
    std::string mozUrl;             // text/x-moz-url: URL, line end, title
    std::string netscapeUrl;        // _NETSCAPE_URL: the same
    std::string mozUrlDesc;         // text/x-moz-url-desc: the title
    std::string html;               // text/html
    std::string text;               // text/plain
    std::string shortcut;           // the content of files.front() if IsShortcutFileName(it)
};

// No shortcut file is larger; a bigger file named like one is not read.
inline constexpr std::size_t kMaxShortcutSize = 64 * 1024;

// A file whose content is read as a link: named *.url (Internet shortcut) or *.desktop (desktop
// entry), the extension in any case.
bool IsShortcutFileName(std::string_view path);

// The link of a drop, or nothing when the drop holds none (it is refused). The first of:
//  1. the first URL of the URI list;
//  2. line 1 of text/x-moz-url, else line 1 of _NETSCAPE_URL;
//  3. the one link of the HTML (anchors with an absolute href, all to the same address);
//  4. the plain text, unless the drag holds local files only (Qt offers their URLs as text);
//  5. the first local file when it is a shortcut: an Internet shortcut's URL= line in its
//     [InternetShortcut] section (the section name in any case, not the last line; "URL="
//     exactly), or a [Desktop Entry] of Type=Link with a URL= (keys exact).
// The title is the first of: line 2 of _NETSCAPE_URL, line 2 of text/x-moz-url,
// text/x-moz-url-desc, the text of an anchor to the URL, the shortcut's name (an Internet
// shortcut's file name less ".url"; a desktop entry's Name=, else its file name less
// ".desktop"); else the URL. Mozilla data loses trailing NULs and line ends first; every value
// ends at a NUL and becomes ANSI (an Internet shortcut's bytes already are).
std::optional<DroppedLink> LinkOfDrop(const DropContents& drop);

} // namespace kovanta
