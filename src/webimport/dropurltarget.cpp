#include "dropurltarget.h"

#include "platform/codepage.h"
#include "platform/regularfile.h"

#include <algorithm>

namespace kovanta {
namespace {

constexpr std::size_t kDropFilesHeader = 20;
constexpr std::size_t kDescriptorFixed = 72;
constexpr std::size_t kDescriptorName = 260;

std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) {
                   return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
               };
               return lower(x) == lower(y);
           });
}

std::string_view upToNul(std::string_view s)
{
    return s.substr(0, std::min(s.find('\0'), s.size()));
}

std::uint32_t readLE32(std::string_view b, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

void appendLE32(std::string& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string fileNameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string lowerAscii(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// A dropped name may be anything: a FIFO must not block the drop, and no shortcut is large.
std::optional<std::string> readSmallFile(const std::string& path, std::size_t limit)
{
    std::string content;
    if (!readRegularFile(path, limit, content).ok())
        return std::nullopt;
    return content;
}

bool looksLikeShortcut(std::string_view text)
{
    for (const std::string_view line : splitLines(text))
        if (equalsNoCase(line, "[InternetShortcut]") || line == "[Desktop Entry]")
            return true;
    return false;
}

std::string dropLast4(std::string s)
{
    s.resize(s.size() > 4 ? s.size() - 4 : 0);
    return s;
}

} // namespace

std::optional<std::string> InternetShortcutURL(std::string_view content)
{
    const std::vector<std::string_view> lines = splitLines(content);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (!equalsNoCase(lines[i], "[InternetShortcut]"))
            continue;
        for (std::size_t j = i + 1; j < lines.size() && !lines[j].starts_with("["); ++j)
            if (lines[j].starts_with("URL="))
                return std::string(lines[j].substr(4));
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<TShortcut> DesktopLinkShortcut(std::string_view content)
{
    const std::vector<std::string_view> lines = splitLines(content);
    const auto section = std::find(lines.begin(), lines.end(), std::string_view("[Desktop Entry]"));
    if (section == lines.end())
        return std::nullopt;
    std::optional<std::string_view> type, url, name;
    for (auto it = section + 1; it != lines.end() && !it->starts_with("["); ++it) {
        if (!type && it->starts_with("Type="))
            type = it->substr(5);
        else if (!url && it->starts_with("URL="))
            url = it->substr(4);
        else if (!name && it->starts_with("Name="))
            name = it->substr(5);
    }
    if (!type || *type != "Link" || !url || url->empty())
        return std::nullopt;
    TShortcut s;
    s.url = codepage::utf8ToAnsi(*url);
    s.name = name ? codepage::utf8ToAnsi(*name) : std::string();
    s.desktop = true;
    return s;
}

std::optional<TShortcut> ParseShortcut(std::string_view content)
{
    if (auto url = InternetShortcutURL(content))
        return TShortcut{*url, std::string(), false};
    return DesktopLinkShortcut(content);
}

std::string MakeFileDropList(const std::vector<std::u16string>& names)
{
    std::string out;
    appendLE32(out, kDropFilesHeader);
    appendLE32(out, 0); // point x
    appendLE32(out, 0); // point y
    appendLE32(out, 0); // non-client flag
    appendLE32(out, 1); // wide names
    for (const std::u16string& name : names) {
        for (const char16_t c : name) {
            out += static_cast<char>(c & 0xFF);
            out += static_cast<char>(c >> 8);
        }
        out.append(2, '\0');
    }
    out.append(2, '\0');
    return out;
}

std::string MakeFileDropListAnsi(const std::vector<std::string>& names)
{
    std::string out;
    appendLE32(out, kDropFilesHeader);
    appendLE32(out, 0);
    appendLE32(out, 0);
    appendLE32(out, 0);
    appendLE32(out, 0);
    for (const std::string& name : names) {
        out += name;
        out += '\0';
    }
    out += '\0';
    return out;
}

std::optional<std::vector<std::string>> ReadFileDropList(std::string_view bytes)
{
    if (bytes.size() < kDropFilesHeader)
        return std::nullopt;
    const std::uint32_t offset = readLE32(bytes, 0);
    const bool wide = readLE32(bytes, 16) != 0;
    if (offset > bytes.size())
        return std::nullopt;
    std::vector<std::string> names;
    std::size_t pos = offset;
    for (;;) {
        std::string name;
        if (wide) {
            std::u16string units;
            while (pos + 1 < bytes.size()) {
                const char16_t u =
                    static_cast<char16_t>(static_cast<unsigned char>(bytes[pos]) |
                                          (static_cast<unsigned char>(bytes[pos + 1]) << 8));
                pos += 2;
                if (u == 0)
                    break;
                units += u;
            }
            for (std::size_t i = 0; i < units.size(); ++i) {
                char32_t cp = units[i];
                if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
                    units[i + 1] < 0xE000)
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (units[++i] - 0xDC00);
                appendUtf8(name, cp);
            }
        } else {
            const std::size_t end = std::min(bytes.find('\0', pos), bytes.size());
            name = codepage::ansiToUtf8(bytes.substr(pos, end - pos));
            pos = end + 1;
        }
        if (name.empty())
            break;
        names.push_back(std::move(name));
        if (pos >= bytes.size())
            break;
    }
    return names;
}

std::string MakeFileGroupDescriptor(std::string_view ansiFileName)
{
    std::string out;
    appendLE32(out, 1);
    out.append(kDescriptorFixed, '\0');
    std::string name(ansiFileName.substr(0, kDescriptorName - 1));
    name.resize(kDescriptorName, '\0');
    return out + name;
}

std::optional<std::string> ReadFileGroupDescriptor(std::string_view bytes)
{
    if (bytes.size() < 4 + kDescriptorFixed || readLE32(bytes, 0) == 0)
        return std::nullopt;
    const std::string_view field = bytes.substr(4 + kDescriptorFixed, kDescriptorName);
    return std::string(upToNul(field));
}

bool TDropURLTarget::HasValidFormats()
{
    const IDropDataObject* data = DataObject();
    if (!data)
        return false;
    for (const TFormatEntry& e : data->EnumFormats()) {
        if (e.hasTargetDevice || e.aspect != DVASPECT_CONTENT || !(e.media & TYMED_HGLOBAL))
            continue;
        if (e.format == kFormatURL || e.format == kFormatFileContents ||
            e.format == kFormatFileDrop || e.format == kFormatText)
            return true;
    }
    return false;
}

bool TDropURLTarget::DoGetData()
{
    URL.clear();
    Title.clear();
    const IDropDataObject* data = DataObject();
    if (!data)
        return false;
    // A delivery in another medium ends the search with what has been found so far.
    bool otherMedium = false;
    const auto get = [&](const char* format) -> std::optional<std::string> {
        auto d = data->GetData(format);
        if (!d)
            return std::nullopt;
        if (d->medium != TYMED_HGLOBAL) {
            otherMedium = true;
            return std::nullopt;
        }
        return std::move(d->bytes);
    };

    if (auto link = get(kFormatURL)) {
        URL = std::string(upToNul(*link));
    } else if (otherMedium) {
        return !URL.empty();
    } else if (auto text = get(kFormatText)) {
        URL = std::string(upToNul(*text));
    } else if (otherMedium) {
        return !URL.empty();
    } else if (auto contents = get(kFormatFileContents)) {
        URL = urlFromFileContents(upToNul(*contents));
    } else if (otherMedium) {
        return !URL.empty();
    } else if (auto drop = get(kFormatFileDrop)) {
        readDroppedShortcut(*drop);
    }
    if (otherMedium)
        return !URL.empty();

    if (auto descriptor = get(kFormatDescriptor)) {
        if (auto name = ReadFileGroupDescriptor(*descriptor))
            Title = dropLast4(*name);
        else if (Title.empty())
            Title = URL;
    } else if (!otherMedium && Title.empty()) {
        Title = URL;
    }
    return !URL.empty();
}

std::string TDropURLTarget::urlFromFileContents(std::string_view contents)
{
    // The contents of a shortcut are read as a shortcut: the fixed offset below would hit the
    // "=" of "URL=" or a line of a desktop entry instead of the address.
    if (looksLikeShortcut(contents)) {
        const auto s = ParseShortcut(contents);
        return s ? s->url : std::string();
    }
    return contents.size() >= 24 ? std::string(contents.substr(23, 250)) : std::string();
}

void TDropURLTarget::readDroppedShortcut(std::string_view dropList)
{
    const auto names = ReadFileDropList(dropList);
    if (!names || names->empty())
        return;
    const std::string& path = names->front();
    const std::string fileName = fileNameOf(path);
    const std::string lower = lowerAscii(fileName);
    const bool url = lower.ends_with(".url");
    const bool desktop = lower.ends_with(".desktop");
    if (!url && !desktop)
        return;
    const auto content = readSmallFile(path, kMaxShortcutSize);
    if (!content)
        return;
    if (url) {
        if (auto link = InternetShortcutURL(*content)) {
            URL = *link;
            Title = dropLast4(codepage::utf8ToAnsi(fileName));
        }
    } else if (auto s = DesktopLinkShortcut(*content)) {
        URL = s->url;
        Title = !s->name.empty() ? s->name
                                 : codepage::utf8ToAnsi(fileName.substr(0, fileName.size() - 8));
    }
}

} // namespace kovanta
