#include "jsonld/scriptscan.h"

#include <algorithm>
#include <string>

namespace kovanta::jsonld {
namespace {

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool StartsWithNoCase(std::string_view text, std::size_t pos, std::string_view word)
{
    if (pos + word.size() > text.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (Lower(text[pos + i]) != word[i])
            return false;
    return true;
}

// Position of the next "</script" (any case) from pos, or npos.
std::size_t FindScriptEnd(std::string_view page, std::size_t pos)
{
    while ((pos = page.find("</", pos)) != std::string_view::npos) {
        if (StartsWithNoCase(page, pos + 2, "script"))
            return pos;
        pos += 2;
    }
    return std::string_view::npos;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (IsSpace(text.front()) || text.front() == '\v'))
        text.remove_prefix(1);
    while (!text.empty() && (IsSpace(text.back()) || text.back() == '\v'))
        text.remove_suffix(1);
    return text;
}

// The JSON inside a block, without a wrapper that hides it from old browsers.
std::string_view Unwrap(std::string_view block)
{
    block = Trim(block);
    for (std::string_view open : {std::string_view("<!--"), std::string_view("//<![CDATA["),
                                  std::string_view("<![CDATA[")})
        if (block.substr(0, open.size()) == open)
            block = Trim(block.substr(open.size()));
    for (std::string_view close : {std::string_view("-->"), std::string_view("//]]>"),
                                   std::string_view("]]>")})
        if (block.size() >= close.size() && block.substr(block.size() - close.size()) == close)
            block = Trim(block.substr(0, block.size() - close.size()));
    return block;
}

// Reads the attributes of a start tag from pos (just after "<script") to its ">"; tells
// whether its type is JSON-LD and sets pos after the ">" (the page end when there is none).
// A quoted value runs to its closing quote, so a ">" inside it ends nothing.
bool ReadScriptTag(std::string_view page, std::size_t& pos)
{
    bool jsonLd = false;
    while (pos < page.size()) {
        while (pos < page.size() && (IsSpace(page[pos]) || page[pos] == '/'))
            ++pos;
        if (pos >= page.size())
            break;
        if (page[pos] == '>') {
            ++pos;
            return jsonLd;
        }
        const std::size_t nameStart = pos;
        while (pos < page.size() && !IsSpace(page[pos]) && page[pos] != '=' && page[pos] != '>' &&
               page[pos] != '/')
            ++pos;
        std::string name(page.substr(nameStart, pos - nameStart));
        std::transform(name.begin(), name.end(), name.begin(), Lower);
        while (pos < page.size() && IsSpace(page[pos]))
            ++pos;
        if (pos >= page.size() || page[pos] != '=')
            continue; // an attribute without a value
        ++pos;
        while (pos < page.size() && IsSpace(page[pos]))
            ++pos;
        std::string_view value;
        if (pos < page.size() && (page[pos] == '"' || page[pos] == '\'')) {
            const char quote = page[pos];
            const std::size_t close = page.find(quote, pos + 1);
            const std::size_t end = close == std::string_view::npos ? page.size() : close;
            value = page.substr(pos + 1, end - pos - 1);
            pos = std::min(end + 1, page.size());
        } else {
            const std::size_t start = pos;
            while (pos < page.size() && !IsSpace(page[pos]) && page[pos] != '>')
                ++pos;
            value = page.substr(start, pos - start);
        }
        if (name == "type") {
            value = Trim(value);
            value = value.substr(0, std::min(value.find(';'), value.size()));
            jsonLd = Trim(value).size() == 19 && StartsWithNoCase(Trim(value), 0, "application/ld+json");
        }
    }
    pos = page.size();
    return false; // a start tag cut off by the end of the page holds no content
}

} // namespace

std::vector<std::string_view> FindJsonLdScripts(std::string_view page)
{
    std::vector<std::string_view> blocks;
    std::size_t pos = 0;
    while (blocks.size() < kMaxScriptBlocks && (pos = page.find('<', pos)) != std::string_view::npos) {
        if (page.substr(pos, 4) == "<!--") {
            const std::size_t end = page.find("-->", pos + 4);
            if (end == std::string_view::npos)
                break;
            pos = end + 3;
            continue;
        }
        if (!StartsWithNoCase(page, pos + 1, "script") ||
            (pos + 7 < page.size() && !IsSpace(page[pos + 7]) && page[pos + 7] != '>' &&
             page[pos + 7] != '/')) {
            ++pos;
            continue;
        }
        pos += 7;
        const bool jsonLd = ReadScriptTag(page, pos);
        const std::size_t end = std::min(FindScriptEnd(page, pos), page.size());
        if (jsonLd)
            blocks.push_back(Unwrap(page.substr(pos, end - pos)));
        pos = end;
    }
    return blocks;
}

} // namespace kovanta::jsonld
