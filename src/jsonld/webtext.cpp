#include "jsonld/webtext.h"

#include "platform/codepage.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace kovanta::jsonld {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The next code point of text at i (advanced past it); malformed sequences, overlong forms and
// surrogates give U+FFFD and consume one byte.
char32_t NextCodePoint(std::string_view text, std::size_t& i)
{
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
        ++i;
        return b;
    }
    int extra = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((b & 0xE0) == 0xC0) {
        extra = 1, cp = b & 0x1F, min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        extra = 2, cp = b & 0x0F, min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        extra = 3, cp = b & 0x07, min = 0x10000;
    } else {
        ++i;
        return kReplacement;
    }
    if (i + static_cast<std::size_t>(extra) >= text.size()) {
        ++i;
        return kReplacement;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto c = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
        if ((c & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return kReplacement;
    }
    i += static_cast<std::size_t>(extra) + 1;
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp)
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

struct Entity {
    std::string_view name;
    char32_t cp;
};

// The named entities recipe sites use: markup characters, Latin letters of European
// languages, fractions, typography. Others stay as written, so they show instead of vanishing.
constexpr Entity kEntities[] = {
    {"amp", '&'},      {"lt", '<'},        {"gt", '>'},        {"quot", '"'},
    {"apos", '\''},    {"nbsp", 0xA0},     {"shy", 0xAD},      {"auml", 0xE4},
    {"Auml", 0xC4},    {"ouml", 0xF6},     {"Ouml", 0xD6},     {"uuml", 0xFC},
    {"Uuml", 0xDC},    {"szlig", 0xDF},    {"euml", 0xEB},     {"iuml", 0xEF},
    {"eacute", 0xE9},  {"Eacute", 0xC9},   {"egrave", 0xE8},   {"ecirc", 0xEA},
    {"aacute", 0xE1},  {"agrave", 0xE0},   {"acirc", 0xE2},    {"iacute", 0xED},
    {"icirc", 0xEE},   {"oacute", 0xF3},   {"ocirc", 0xF4},    {"uacute", 0xFA},
    {"ugrave", 0xF9},  {"ucirc", 0xFB},    {"ccedil", 0xE7},   {"Ccedil", 0xC7},
    {"ntilde", 0xF1},  {"oslash", 0xF8},   {"aring", 0xE5},    {"aelig", 0xE6},
    {"oelig", 0x153},  {"frac12", 0xBD},   {"frac14", 0xBC},   {"frac34", 0xBE},
    {"frac13", 0x2153}, {"frac23", 0x2154}, {"frac18", 0x215B}, {"deg", 0xB0},
    {"times", 0xD7},   {"middot", 0xB7},   {"ndash", 0x2013},  {"mdash", 0x2014},
    {"hellip", 0x2026}, {"lsquo", 0x2018}, {"rsquo", 0x2019},  {"sbquo", 0x201A},
    {"ldquo", 0x201C}, {"rdquo", 0x201D},  {"bdquo", 0x201E},  {"laquo", 0xAB},
    {"raquo", 0xBB},   {"copy", 0xA9},     {"reg", 0xAE},      {"trade", 0x2122},
    {"euro", 0x20AC},  {"bull", 0x2022},   {"sup2", 0xB2},     {"micro", 0xB5},
};

// The code point of the entity whose name (without "&" and ";") is given, if known.
std::optional<char32_t> EntityValue(std::string_view name)
{
    if (name.size() >= 2 && name[0] == '#') {
        const bool hex = name[1] == 'x' || name[1] == 'X';
        const std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty() || digits.size() > 7)
            return std::nullopt;
        std::uint32_t value = 0;
        for (char c : digits) {
            int d = -1;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            if (d < 0)
                return std::nullopt;
            value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
        }
        if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return kReplacement;
        return value;
    }
    for (const Entity& e : kEntities)
        if (e.name == name)
            return e.cp;
    return std::nullopt;
}

std::string DecodeHtmlEntities(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t amp = text.find('&', i);
        if (amp == std::string_view::npos) {
            out.append(text.substr(i));
            break;
        }
        out.append(text.substr(i, amp - i));
        // Entity names are short; a ";" far away belongs to something else.
        const std::size_t semi = text.substr(amp, 12).find(';');
        const std::optional<char32_t> cp =
            semi == std::string_view::npos ? std::nullopt
                                           : EntityValue(text.substr(amp + 1, semi - 1));
        if (cp) {
            AppendUtf8(out, *cp);
            i = amp + semi + 1;
        } else {
            out += '&';
            i = amp + 1;
        }
    }
    return out;
}

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether the tag (text between "<" and ">") ends a paragraph.
bool BreaksParagraph(std::string_view tag)
{
    if (!tag.empty() && tag[0] == '/')
        tag.remove_prefix(1);
    std::string name;
    for (char c : tag) {
        if (!IsAsciiLetter(c) && !(c >= '0' && c <= '9'))
            break;
        name += AsciiLower(c);
    }
    static constexpr std::string_view kBreaking[] = {"br", "p",  "li", "div", "h1", "h2",
                                                     "h3", "h4", "h5", "h6",  "tr", "ol", "ul"};
    return std::find(std::begin(kBreaking), std::end(kBreaking), name) != std::end(kBreaking);
}

// Entities decoded, tags replaced by a blank or (ending a paragraph) a line end. A "<" that
// starts no tag ("< 80 °C") stays.
std::string WithoutMarkup(std::string_view utf8)
{
    const std::string decoded = DecodeHtmlEntities(utf8);
    std::string out;
    out.reserve(decoded.size());
    std::size_t i = 0;
    while (i < decoded.size()) {
        const char c = decoded[i];
        if (c == '<' && i + 1 < decoded.size() &&
            (IsAsciiLetter(decoded[i + 1]) || decoded[i + 1] == '/' || decoded[i + 1] == '!')) {
            const std::size_t close = decoded.find('>', i);
            if (close != std::string::npos) {
                const std::string_view tag(decoded.data() + i + 1, close - i - 1);
                out += BreaksParagraph(tag) ? '\n' : ' ';
                i = close + 1;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

enum class Space { None, Blank, LineEnd, Dropped };

Space SpaceKind(char32_t cp)
{
    if (cp == '\n' || cp == '\r' || cp == 0x2028 || cp == 0x2029)
        return Space::LineEnd;
    if (cp < 0x20 || cp == 0x7F || cp == ' ' || cp == 0xA0 || cp == 0x1680 ||
        (cp >= 0x2000 && cp <= 0x200A) || cp == 0x202F || cp == 0x205F || cp == 0x3000 ||
        (cp >= 0x80 && cp < 0xA0))
        return Space::Blank;
    if (cp == 0xAD || (cp >= 0x200B && cp <= 0x200D) || cp == 0x2060 || cp == 0xFEFF)
        return Space::Dropped;
    return Space::None;
}

// Splits markup-free text into paragraphs with single blanks; with keepLineEnds false, all of
// it is one paragraph.
std::vector<std::string> Paragraphs(std::string_view text, bool keepLineEnds)
{
    std::vector<std::string> out;
    std::string current;
    bool pendingBlank = false;
    const auto finish = [&] {
        if (!current.empty())
            out.push_back(std::move(current));
        current.clear();
        pendingBlank = false;
    };
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = i;
        const char32_t cp = NextCodePoint(text, i);
        switch (SpaceKind(cp)) {
        case Space::LineEnd:
            if (keepLineEnds) {
                finish();
                break;
            }
            [[fallthrough]];
        case Space::Blank:
            pendingBlank = !current.empty();
            break;
        case Space::Dropped:
            break;
        case Space::None:
            if (pendingBlank)
                current += ' ';
            pendingBlank = false;
            if (cp == kReplacement)
                AppendUtf8(current, cp);
            else
                current.append(text.substr(start, i - start));
            break;
        }
    }
    finish();
    return out;
}

// Characters CP1252 lacks that recipe texts use, by their written form.
struct BestFit {
    char32_t cp;
    std::string_view text;
};
constexpr BestFit kBestFits[] = {
    {0x2150, "1/7"}, {0x2151, "1/9"}, {0x2152, "1/10"}, {0x2153, "1/3"}, {0x2154, "2/3"},
    {0x2155, "1/5"}, {0x2156, "2/5"}, {0x2157, "3/5"},  {0x2158, "4/5"}, {0x2159, "1/6"},
    {0x215A, "5/6"}, {0x215B, "1/8"}, {0x215C, "3/8"},  {0x215D, "5/8"}, {0x215E, "7/8"},
    {0x2044, "/"},   {0x2212, "-"},   {0x2010, "-"},    {0x2011, "-"},   {0x2012, "-"},
    {0x2015, "-"},   {0x2032, "'"},   {0x2033, "\""},   {0x2103, "\xF8" "C"}, // OEM °C
    {0x2109, "\xF8" "F"}, {0x2113, "l"}, {0x2248, "~"}, {0x2264, "<="}, {0x2265, ">="},
};

// Code point -> ANSI byte for the characters CP1252 has beyond ASCII (0 where it has none):
// the table of the code pages turned round once.
char AnsiOf(char32_t cp)
{
    static const auto table = [] {
        std::array<char, 0x2200> t{};
        for (int b = 0x80; b < 0x100; ++b) {
            const char16_t u = codepage::ansiToUnicode(static_cast<char>(b));
            if (u >= 0xA0 && u < t.size()) // not the C1 controls of the undefined bytes
                t[u] = static_cast<char>(b);
        }
        return t;
    }();
    return cp < table.size() ? table[cp] : '\0';
}

bool IsFraction(char32_t cp)
{
    return cp == 0xBC || cp == 0xBD || cp == 0xBE || (cp >= 0x2150 && cp <= 0x215E);
}

} // namespace

bool IsValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = i;
        if (NextCodePoint(text, i) == kReplacement && text.substr(start, 3) != "\xEF\xBF\xBD")
            return false;
    }
    return true;
}

std::string PlainText(std::string_view utf8)
{
    std::vector<std::string> p = Paragraphs(WithoutMarkup(utf8), false);
    return p.empty() ? std::string() : std::move(p.front());
}

std::vector<std::string> PlainParagraphs(std::string_view utf8)
{
    return Paragraphs(WithoutMarkup(utf8), true);
}

std::string ToOem(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const char32_t cp = NextCodePoint(utf8, i);
        if (cp < 0x80) {
            out += cp < 0x20 || cp == 0x7F || cp == '^' ? ' ' : static_cast<char>(cp);
            continue;
        }
        // "1⅓" is one and a third: a blank keeps it from reading 11/3.
        if (IsFraction(cp) && !out.empty() && out.back() >= '0' && out.back() <= '9')
            out += ' ';
        const auto fit = std::find_if(std::begin(kBestFits), std::end(kBestFits),
                                      [cp](const BestFit& f) { return f.cp == cp; });
        if (fit != std::end(kBestFits)) {
            out += fit->text;
            continue;
        }
        const char ansi = AnsiOf(cp);
        out += ansi == '\0' ? '?' : codepage::ansiToOem(ansi);
    }
    return out;
}

std::vector<std::string> Wrap(std::string_view text, std::size_t width, LineCheck check)
{
    const auto fits = [&](std::string_view line) {
        return line.size() <= width && (check == nullptr || check(line));
    };
    // The longest prefix of word that fits behind head ("" or a line and a blank).
    const auto longestPrefix = [&](const std::string& head, std::string_view word) {
        std::size_t n = std::min(word.size(), width > head.size() ? width - head.size() : 0);
        while (n > 0 && !fits(head + std::string(word.substr(0, n))))
            --n;
        return n;
    };
    std::vector<std::string> lines;
    std::string current;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find(' ', pos), text.size());
        std::string_view word = text.substr(pos, end - pos);
        pos = end + 1;
        while (!word.empty()) {
            const std::string candidate =
                current.empty() ? std::string(word) : current + ' ' + std::string(word);
            if (fits(candidate)) {
                current = candidate;
                break;
            }
            if (current.empty() || word.size() > width) {
                const std::string head = current.empty() ? std::string() : current + ' ';
                const std::size_t n = longestPrefix(head, word);
                if (n == 0 && current.empty())
                    return lines; // only when check refuses even one byte: nothing sensible
                lines.push_back(n == 0 ? current : head + std::string(word.substr(0, n)));
                word.remove_prefix(n);
            } else {
                lines.push_back(current);
            }
            current.clear();
        }
    }
    if (!current.empty())
        lines.push_back(current);
    return lines;
}

} // namespace kovanta::jsonld
