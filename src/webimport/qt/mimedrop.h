#pragma once

#include "webimport/dropurltarget.h"

#include <QByteArray>
#include <QStringList>

#include <memory>

class QMimeData;

// The bridge from what Linux desktops put into a drag (QMimeData) to the formats the link drop
// target reads. Every format is asked for by name with data(), since the advertised format list
// differs between X11 and Wayland.
namespace kovanta {

// Maps `mime` to a data object with, where available:
//  "UniformResourceLocator": the first non-file URL of urls(); else line 1 of text/x-moz-url;
//      else line 1 of _NETSCAPE_URL;
//  plain text: text(), except in a drag of local files, where it is only the file list again;
//  "FileContents": the content of the first dropped .url or .desktop shortcut;
//  the file-drop list: the local files of urls();
//  "FileGroupDescriptor": the link title (line 2 of _NETSCAPE_URL, else line 2 of
//      text/x-moz-url, else text/x-moz-url-desc), or for a dropped shortcut its title (.url: the
//      file name less its extension; .desktop: its Name=), stored as a file name + ".url".
// Windows format names (application/x-qt-windows-mime;value="...") are taken as delivered and
// win over the Linux sources. Text becomes ANSI (CP1252).
std::shared_ptr<TDropDataMap> MapMimeData(const QMimeData& mime);

// Lines of Mozilla-style link data: UTF-16 when it starts with a byte-order mark or has a NUL in
// byte 0 or 1 (little-endian unless the mark is FE FF), else UTF-8; trailing NULs and line
// ends removed; split at "\n" (a CR before it is removed too).
QStringList DecodeMozUrlLines(const QByteArray& data);

} // namespace kovanta
