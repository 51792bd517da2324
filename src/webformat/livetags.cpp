#include "webformat/livetags.h"

#include "platform/strings.h"

#include <array>

namespace kovanta {
namespace {

struct TagDef {
    std::string_view tag;
    TLiveTag code;
};

constexpr std::array<TagDef, 8> kTags{{
    {"<LIVE-INFO>", ltInfo},
    {"<LIVE-VERSION>", ltVersion},
    {"<LIVE-DATUM>", ltDatum},
    {"<LIVE-FILE>", ltFile},
    {"<LIVE-LINK>", ltLink},
    {"<LIVE-REZEPT>", ltRezept},
    {"<LIVE-DATEN>", ltDaten},
    {"<LIVE-BILD>", ltBild},
}};

struct EntityDef {
    std::string_view name; // text after "&", including ";"
    char ansi;
};

constexpr std::array<EntityDef, 8> kEntities{{
    {"auml;", '\xE4'},
    {"Auml;", '\xC4'},
    {"ouml;", '\xF6'},
    {"Ouml;", '\xD6'},
    {"uuml;", '\xFC'},
    {"Uuml;", '\xDC'},
    {"nbsp;", ' '},
    {"szlig;", '\xDF'},
}};

} // namespace

TLiveTag ClassifyLiveLine(std::string& line)
{
    for (const TagDef& def : kTags) {
        // Only ASCII letters fold: an ANSI umlaut must not turn a foreign line into a tag.
        if (startsWithIgnoringAsciiCase(line, def.tag)) {
            line = DecodeEntities(std::string_view(line).substr(def.tag.size()));
            return def.code;
        }
    }
    return ltNone;
}

std::string DecodeEntities(std::string_view text)
{
    if (text.find('&') == std::string_view::npos)
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const std::size_t amp = text.find('&');
        if (amp == std::string_view::npos) {
            out += text;
            break;
        }
        out += text.substr(0, amp);
        text.remove_prefix(amp + 1);
        for (const EntityDef& e : kEntities) {
            if (text.starts_with(e.name)) {
                out += e.ansi;
                break;
            }
        }
        // Known or not, the entity ends at the next ";"; without one the rest is lost.
        const std::size_t semi = text.find(';');
        text.remove_prefix(semi == std::string_view::npos ? text.size() : semi + 1);
    }
    return out;
}

bool LiveLineReader::Next(std::string& line)
{
    line.clear();
    if (ended_ || pos_ >= data_.size())
        return false;
    while (pos_ < data_.size()) {
        const char c = data_[pos_];
        if (c == '\x1A') {
            ended_ = true;
            // Text before the end mark on the same line is still a line.
            return !line.empty();
        }
        ++pos_;
        if (c == '\r') {
            if (pos_ < data_.size() && data_[pos_] == '\n')
                ++pos_;
            return true;
        }
        line += c;
    }
    return true;
}

} // namespace kovanta
