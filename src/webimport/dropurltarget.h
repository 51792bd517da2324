#pragma once

#include "droptarget.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A drop target for links dragged from a web browser or the desktop: delivers a URL and a title
// (ANSI) to its OnDrop event.
namespace kovanta {

// Format names and their byte layouts:
//  kFormatURL          "UniformResourceLocator": ANSI text, up to the first NUL.
//  kFormatText         plain text: ANSI text, up to the first NUL.
//  kFormatFileContents "FileContents" of the first item: the text of a shortcut file.
//  kFormatFileDrop     the file-drop list: a 20-byte header (offset of the list as 32-bit
//                      little-endian, point, two flags; the second flag set = UTF-16LE names),
//                      then the names, each NUL-terminated, ended by an empty name.
//  kFormatDescriptor   "FileGroupDescriptor": 32-bit item count, then per item 72 bytes of fixed
//                      fields and a 260-byte NUL-terminated ANSI file name.
inline constexpr const char* kFormatURL = "UniformResourceLocator";
inline constexpr const char* kFormatText = "CF_TEXT";
inline constexpr const char* kFormatFileContents = "FileContents";
inline constexpr const char* kFormatFileDrop = "CF_HDROP";
inline constexpr const char* kFormatDescriptor = "FileGroupDescriptor";

// A link shortcut: a Windows Internet shortcut ("[InternetShortcut]" with "URL=") or a desktop
// link entry ("[Desktop Entry]" with "Type=Link", "URL=" and "Name=", UTF-8).
struct TShortcut {
    std::string url;  // ANSI
    std::string name; // ANSI; the desktop entry's Name=, empty for Internet shortcuts
    bool desktop = false;
};

// The URL of an Internet shortcut: the first line equal to "[InternetShortcut]" (ignoring case;
// not the last line), then, before the next line beginning with "[", the first line beginning
// with "URL=" (case-sensitive). Lines end with CR LF, CR or LF.
std::optional<std::string> InternetShortcutURL(std::string_view content);
// A desktop link entry; nothing unless it is of Type=Link and names a URL.
std::optional<TShortcut> DesktopLinkShortcut(std::string_view content);
// Either kind, by content; nothing when the content is neither.
std::optional<TShortcut> ParseShortcut(std::string_view content);

// Building and reading the binary layouts above (the adapter and tests build, the target reads).
std::string MakeFileDropList(const std::vector<std::u16string>& names);
std::string MakeFileDropListAnsi(const std::vector<std::string>& names);
// Names as UTF-8 (for opening) in list order; nothing for a malformed list.
std::optional<std::vector<std::string>> ReadFileDropList(std::string_view bytes);
std::string MakeFileGroupDescriptor(std::string_view ansiFileName);
// The first item's file name; nothing when there is no item or the data is too short.
std::optional<std::string> ReadFileGroupDescriptor(std::string_view bytes);

class TDropURLTarget : public TDropTarget {
public:
    static constexpr std::size_t kMaxShortcutSize = 64 * 1024;

    // Valid inside OnDrop (ANSI).
    std::string URL;
    std::string Title;

    bool HasValidFormats() override;
    bool DoGetData() override;
    void ClearData() override { URL.clear(); }

private:
    static std::string urlFromFileContents(std::string_view contents);
    void readDroppedShortcut(std::string_view dropList);
};

} // namespace kovanta
