#include "droppedlink.h"

#include "platform/codepage.h"
#include "platform/strings.h"

#include <algorithm>

namespace kovanta {
namespace {

std::string_view upToNul(std::string_view s)
{
    return s.substr(0, std::min(s.find('\0'), s.size()));
}

std::string ansi(std::string_view utf8)
{
    return codepage::utf8ToAnsi(upToNul(utf8));
}

// Lines end with CR LF, CR or LF.
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

// Line `index` of Mozilla link data, whose trailing NULs and line ends do not count.
std::string_view mozLine(std::string_view data, std::size_t index)
{
    while (!data.empty() && (data.back() == '\0' || data.back() == '\r' || data.back() == '\n'))
        data.remove_suffix(1);
    const std::vector<std::string_view> lines = splitLines(data);
    return index < lines.size() ? lines[index] : std::string_view();
}

std::optional<std::string> internetShortcutUrl(std::string_view content)
{
    const std::vector<std::string_view> lines = splitLines(content);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (!equalsIgnoringAsciiCase(lines[i], "[InternetShortcut]"))
            continue;
        for (std::size_t j = i + 1; j < lines.size() && !lines[j].starts_with("["); ++j)
            if (lines[j].starts_with("URL="))
                return std::string(lines[j].substr(4));
        return std::nullopt;
    }
    return std::nullopt;
}

// A desktop entry of Type=Link: its URL and its Name= (empty without one), UTF-8.
std::optional<std::pair<std::string_view, std::string_view>> desktopLink(std::string_view content)
{
    const std::vector<std::string_view> lines = splitLines(content);
    auto it = std::find(lines.begin(), lines.end(), std::string_view("[Desktop Entry]"));
    if (it == lines.end())
        return std::nullopt;
    std::optional<std::string_view> type, url, name;
    for (++it; it != lines.end() && !it->starts_with("["); ++it) {
        if (!type && it->starts_with("Type="))
            type = it->substr(5);
        else if (!url && it->starts_with("URL="))
            url = it->substr(4);
        else if (!name && it->starts_with("Name="))
            name = it->substr(5);
    }
    if (type != "Link" || !url || url->empty())
        return std::nullopt;
    return std::pair{*url, name.value_or(std::string_view())};
}

std::optional<DroppedLink> shortcutLink(std::string_view path, std::string_view content)
{
    const std::string_view name = path.substr(path.find_last_of('/') + 1);
    const std::string lower = asciiLower(name);
    if (lower.ends_with(".url")) {
        if (auto url = internetShortcutUrl(content))
            return DroppedLink{std::string(upToNul(*url)), ansi(name.substr(0, name.size() - 4))};
    } else if (lower.ends_with(".desktop")) {
        if (auto link = desktopLink(content))
            return DroppedLink{
                ansi(link->first),
                ansi(!link->second.empty() ? link->second : name.substr(0, name.size() - 8))};
    }
    return std::nullopt;
}

// ---- Anchors of the HTML that browsers put into a drag ------------------------------------

struct Anchor {
    std::string href; // ANSI, entities decoded
    std::string text; // ANSI, tags left out, entities decoded, white space collapsed
};

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A numeric character reference's text ("#228", "#xE4") as ANSI; '?' for a character ANSI lacks
// and for U+0000; nothing when it is not a number.
std::optional<char> numericReference(std::string_view ref)
{
    const bool hex = ref.starts_with("#x") || ref.starts_with("#X");
    const std::string_view digits = ref.substr(hex ? 2 : 1);
    if (digits.empty())
        return std::nullopt;
    char32_t cp = 0;
    for (const char d : digits) {
        const char l = static_cast<char>(d | 0x20);
        const int v = (d >= '0' && d <= '9')          ? d - '0'
                      : (hex && l >= 'a' && l <= 'f') ? l - 'a' + 10
                                                      : -1;
        if (v < 0)
            return std::nullopt;
        cp = std::min<char32_t>(cp * (hex ? 16 : 10) + static_cast<char32_t>(v), 0x110000);
    }
    if (cp == 0xA0)
        return ' ';
    return cp == 0 ? '?' : codepage::unicodeToAnsi(cp);
}

// The character references browsers write (&amp; &lt; &gt; &quot; &apos; &nbsp; and numeric
// ones; a no-break space becomes a blank); others stay as they are. ANSI in and out.
std::string decodeReferences(std::string_view text)
{
    static const std::pair<std::string_view, char> named[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", ' '}};
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t semi = text[i] == '&' ? text.find(';', i) : std::string_view::npos;
        std::optional<char> c;
        if (semi != std::string_view::npos && semi - i <= 10) {
            const std::string_view ref = text.substr(i + 1, semi - i - 1);
            for (const auto& [name, ch] : named)
                if (ref == name)
                    c = ch;
            if (ref.starts_with("#"))
                c = numericReference(ref);
        }
        out += c.value_or(text[i]);
        if (c)
            i = semi;
    }
    return out;
}

std::string collapseSpaces(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (!isSpace(c))
            out += c;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    }
    if (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

struct Tag {
    bool anchor = false; // <a ...> or </a>
    bool closing = false;
    std::string_view href; // as written
    std::size_t end = 0;   // just after the tag's ">"
};

// The tag that starts at html[at] == '<': its name, its href attribute and where it ends
// (quoted attribute values may hold ">").
Tag readTag(std::string_view html, std::size_t at)
{
    Tag tag;
    std::size_t i = at + 1;
    tag.closing = i < html.size() && html[i] == '/';
    i += tag.closing ? 1 : 0;
    const std::size_t nameStart = i;
    while (i < html.size() && !isSpace(html[i]) && html[i] != '>' && html[i] != '/')
        ++i;
    tag.anchor = equalsIgnoringAsciiCase(html.substr(nameStart, i - nameStart), "a");
    while (i < html.size() && html[i] != '>') {
        if (isSpace(html[i]) || html[i] == '/') {
            ++i;
            continue;
        }
        const std::size_t nameAt = i;
        while (i < html.size() && !isSpace(html[i]) && html[i] != '=' && html[i] != '>')
            ++i;
        const std::string_view name = html.substr(nameAt, i - nameAt);
        while (i < html.size() && isSpace(html[i]))
            ++i;
        if (i >= html.size() || html[i] != '=')
            continue;
        ++i;
        while (i < html.size() && isSpace(html[i]))
            ++i;
        std::size_t valueAt = i;
        if (i < html.size() && (html[i] == '"' || html[i] == '\'')) {
            const std::size_t close = html.find(html[i], i + 1);
            valueAt = i + 1;
            i = close == std::string_view::npos ? html.size() : close;
        } else {
            while (i < html.size() && !isSpace(html[i]) && html[i] != '>')
                ++i;
        }
        if (equalsIgnoringAsciiCase(name, "href"))
            tag.href = html.substr(valueAt, i - valueAt);
        if (i < html.size() && html[i] != '>')
            ++i; // the closing quote
    }
    tag.end = std::min(i + 1, html.size());
    return tag;
}

std::vector<Anchor> anchorsOf(std::string_view html)
{
    std::vector<Anchor> anchors;
    std::optional<std::string> href; // of the open anchor
    std::string text;
    const auto close = [&] {
        if (href)
            anchors.push_back({*href, collapseSpaces(decodeReferences(text))});
        href.reset();
        text.clear();
    };
    std::size_t i = 0;
    while (i < html.size()) {
        if (html[i] != '<') {
            if (href)
                text += html[i];
            ++i;
        } else if (html.substr(i, 4) == "<!--") {
            const std::size_t end = html.find("-->", i + 4);
            i = end == std::string_view::npos ? html.size() : end + 3;
        } else if (i + 1 < html.size() && (isAlpha(html[i + 1]) || html[i + 1] == '/')) {
            const Tag tag = readTag(html, i);
            i = tag.end;
            if (!tag.anchor)
                continue;
            close(); // anchors do not nest: a new one ends the open one
            if (!tag.closing)
                href = collapseSpaces(decodeReferences(tag.href));
        } else {
            if (href)
                text += html[i];
            ++i;
        }
    }
    close();
    return anchors;
}

// scheme ":" ... ; a relative href names nothing the import could fetch.
bool isAbsolute(std::string_view url)
{
    const std::size_t colon = url.find(':');
    if (colon == std::string_view::npos || colon == 0 || !isAlpha(url[0]))
        return false;
    return std::all_of(url.begin(), url.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
        return isAlpha(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    });
}

// The address of the HTML's one link: every anchor with an absolute href points there. A
// selection of several links is not one link.
std::string onlyLink(const std::vector<Anchor>& anchors)
{
    std::string link;
    for (const Anchor& a : anchors) {
        if (!isAbsolute(a.href))
            continue;
        if (!link.empty() && a.href != link)
            return {};
        link = a.href;
    }
    return link;
}

std::string anchorText(const std::vector<Anchor>& anchors, const std::string& url)
{
    for (const Anchor& a : anchors)
        if (a.href == url && !a.text.empty())
            return a.text;
    return {};
}

} // namespace

bool IsShortcutFileName(std::string_view path)
{
    const std::string lower = asciiLower(path.substr(path.find_last_of('/') + 1));
    return lower.ends_with(".url") || lower.ends_with(".desktop");
}

std::optional<DroppedLink> LinkOfDrop(const DropContents& drop)
{
    const std::vector<Anchor> anchors = anchorsOf(ansi(drop.html));
    DroppedLink link;
    std::string shortcutTitle;
    for (const std::string& url : drop.links)
        if (link.url.empty())
            link.url = ansi(url);
    if (link.url.empty())
        link.url = ansi(mozLine(drop.mozUrl, 0));
    if (link.url.empty())
        link.url = ansi(mozLine(drop.netscapeUrl, 0));
    if (link.url.empty())
        link.url = onlyLink(anchors);
    if (link.url.empty() && !(drop.links.empty() && !drop.files.empty()))
        link.url = ansi(drop.text);
    if (link.url.empty() && !drop.files.empty()) {
        if (auto shortcut = shortcutLink(drop.files.front(), drop.shortcut)) {
            link.url = shortcut->url;
            shortcutTitle = shortcut->title;
        }
    }
    if (link.url.empty())
        return std::nullopt;

    for (std::string title : {ansi(mozLine(drop.netscapeUrl, 1)), ansi(mozLine(drop.mozUrl, 1)),
                              ansi(mozLine(drop.mozUrlDesc, 0)), anchorText(anchors, link.url),
                              shortcutTitle, link.url}) {
        if (!title.empty()) {
            link.title = std::move(title);
            break;
        }
    }
    return link;
}

} // namespace kovanta
