#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The tagged web recipe format: a published page is ANSI text in which lines that begin with a
// <LIVE-...> tag carry recipe-file lines and links to further pages; everything else is markup
// for the browser and ignored here.
namespace kovanta {

// Tag codes, in the order the tags are tried.
enum TLiveTag {
    ltNone = 0,
    ltInfo = 1,
    ltVersion = 2,
    ltDatum = 3,
    ltFile = 4,
    ltLink = 5,
    ltRezept = 6, // value: link "name title" to a further page
    ltDaten = 7,  // value: one line of the recipe file
    ltBild = 8,
};

// Classifies one line. A tag is recognised only at the very start of the line, ignoring the
// case of ASCII letters. When a tag matches, `line` is replaced by the rest of the line with its
// entities decoded (DecodeEntities) and the tag's code is returned; otherwise `line` is left
// untouched and ltNone is returned. Never fails; any byte values are accepted.
TLiveTag ClassifyLiveLine(std::string& line);

// Replaces the entities the publishing program writes (&auml; &Auml; &ouml; &Ouml; &uuml;
// &Uuml; &szlig; &nbsp;, names case-sensitive) by their ANSI characters. Every other "&",
// bare or starting an unknown entity, is dropped together with the text up to and including
// the next ";", or with the rest of the text when no ";" follows.
std::string DecodeEntities(std::string_view text);

// Splits the bytes of a fetched page into lines as the import reads them: a line ends with CR
// or CR LF; a lone LF stays inside the line; Ctrl-Z (26) ends the file, a partial line before
// it still counts. A final line without CR counts; an empty file has no lines.
class LiveLineReader {
public:
    explicit LiveLineReader(std::string_view bytes) : data_(bytes) {}
    // Next line into `line` (without its ending); false when the file has ended.
    bool Next(std::string& line);

private:
    std::string_view data_;
    std::size_t pos_ = 0;
    bool ended_ = false;
};

} // namespace kovanta
