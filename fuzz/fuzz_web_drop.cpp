// A drag as a browser or file manager offers it, read and judged as a drop on the import window.
// The input holds the formats separated by 0x1E, in this order: text/uri-list, text/x-moz-url,
// _NETSCAPE_URL, text/x-moz-url-desc, text/html, text/plain, then the name and the content of a
// file that is dropped first (written to the scratch directory; none when the name is empty).
#include "fuzzsupport.h"
#include "webimport/qt/linkdrop.h"

#include <QMimeData>
#include <QUrl>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

int fuzz::webDrop(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string_view> fields;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (std::size_t i = 0; i < 8; ++i) {
        const std::size_t end = i < 7 ? rest.find('\x1E') : std::string_view::npos;
        fields.push_back(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    const auto bytes = [](std::string_view s) {
        return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
    };

    QByteArray uriList = bytes(fields[0]);
    std::string name;
    for (const char c : fields[6].substr(0, 64))
        if (c != '/' && c != '\0')
            name += c;
    if (!name.empty() && name != "." && name != "..") {
        const std::string path = fuzz::ScratchFile(name);
        fuzz::WriteFile(path, fields[7].data(), fields[7].size());
        uriList.prepend(QUrl::fromLocalFile(QString::fromStdString(path)).toEncoded() + "\r\n");
    }
    QMimeData mime;
    const char* formats[] = {"text/x-moz-url", "_NETSCAPE_URL", "text/x-moz-url-desc", "text/html",
                             "text/plain"};
    mime.setData(QStringLiteral("text/uri-list"), uriList);
    for (std::size_t i = 0; i < 5; ++i)
        if (!fields[i + 1].empty())
            mime.setData(QString::fromLatin1(formats[i]), bytes(fields[i + 1]));

    const kovanta::DropContents contents = kovanta::ReadDropContents(mime);
    const auto link = kovanta::LinkOfDrop(contents);
    if (!link) {
        fuzz::Reached("web drop: refused");
        return 0;
    }
    // A link always has an address and a title, and neither hides a NUL.
    fuzz::Check(!link->url.empty() && !link->title.empty());
    fuzz::Check(link->url.find('\0') == std::string::npos &&
                link->title.find('\0') == std::string::npos);
    fuzz::Reached("web drop: link");
    if (!contents.shortcut.empty() && contents.links.empty() && contents.mozUrl.empty() &&
        contents.netscapeUrl.empty())
        fuzz::Reached("web drop: shortcut");
    return 0;
}

KOVANTA_FUZZ_ENTRY(fuzz::webDrop)
