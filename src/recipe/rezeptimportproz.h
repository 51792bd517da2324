#pragma once

#include "recipe/recipefile.h"
#include "recipe/records.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Recipe files REZ*.DAT and how they are read (docs/recipe-files.md): fixed columns, CP850
// (OEM) text, CR LF lines. A file holds one recipe (a single-recipe file) or an index of
// recipes followed by their blocks (a list file). Nothing here writes a recipe file.
namespace kovanta {

// One item of the recipe list that ReadRecipeIndex fills: the display text
// (short name + "/ " + group, blank runs reduced to one, ANSI) and the entry. The entry is
// handed on to whoever takes the item (the recipe list grid owns it then).
struct RecipeListItem {
    std::string Text;
    std::unique_ptr<TImpListInfo> Entry;
};
using RecipeList = std::vector<RecipeListItem>;

// Lines read by the detail readers are extended with this many blanks. The index reader cuts
// its fields from the lines as read: a field beyond a line's end reads as blanks.
inline constexpr std::size_t kDetailPadding = 81;
// The longest line ReadRawLine returns; longer lines are split.
inline constexpr std::size_t kMaxRawLine = 127;
// Length of an index entry line with its CR LF.
inline constexpr std::uint64_t kIndexEntrySize = 80;
// Line 1 of a block begins this many bytes after the offset its index entry names.
inline constexpr std::uint64_t kBlockSkip = 9;
// A list file yields at most this many entries: EntryIndex is 16-bit, and more would repeat
// identities.
inline constexpr std::size_t kMaxIndexEntries = 65535;
// The most the index reader reads of one file: a full index (kMaxIndexEntries entry lines and
// the line after them), every line at the longest that counts (255 characters and CR LF),
// about 16 MiB. Real entry lines have 80 bytes, which leaves room for comment lines. A file whose
// index runs on beyond this is no recipe file; a single-recipe file needs only its first 15
// lines, which RecipeTextReader::kMaxLineBytes bounds.
inline constexpr std::uint64_t kMaxIndexBytes =
    (kMaxIndexEntries + 1) * (RecipeTextReader::kMaxLine + 2);

// How reading a file's index ended.
enum class IndexRead {
    Complete,    // every entry (or none: a missing or unreadable file)
    Cut,         // the index went on beyond kMaxIndexEntries entries, which were left out
    LineTooLong, // a line ran on beyond RecipeTextReader::kMaxLineBytes: no entries
    TooLarge,    // the index ran on beyond kMaxIndexBytes: no entries
};

// Characters 5 to 8 of the file name (directory part ignored) through ParseIntField, as 16 bits:
// "REZ00042.DAT" -> 42, "REZEPT.DAT" -> 0.
std::uint16_t FileNumberOf(std::string_view path);

// The compact article line: when column 1 is "*" and column 11 holds a digit, seven blanks are
// inserted before column 11, so that the fields are cut as in the full layout (divisor 18-21,
// unit 46-53, article 79-108). Any other line is returned unchanged; applying it twice does
// nothing more.
std::string ExpandCompactArticleLine(std::string_view line);

// Columns first..last (1-based, inclusive) of line; the part beyond the line's end is cut off
// (callers pad lines with blanks first, so fields beyond the end read as blanks).
std::string_view Columns(std::string_view line, std::size_t first, std::size_t last);
// Text with leading/trailing blanks (and control characters below 0x20) removed, or only
// trailing ones.
std::string_view Trim(std::string_view text);
std::string_view TrimRight(std::string_view text);

// Why OpenRecipe gave nothing.
enum class RecipeOpenError {
    None,
    CannotOpen,   // missing, not a regular file, or unreadable
    EntryNotHeld, // entry 0 of a list file, n > 0 of a single-recipe file, n beyond the index
    BadOffset,    // the index holds the entry, but its offset lies outside the file
};

// The recipe operations. Holds no state; the main window keeps one instance. The recipe text
// producers and the requirements reader are built on the operations below.
class TRezeptImportProz {
public:
    // Appends one item per recipe of the file at fileName (the path is stored in the entries
    // exactly as given). A missing or unreadable file adds nothing, silently. Never throws for
    // file content; any bytes give entries or none. The read is bounded: a file that needs
    // more than kMaxIndexBytes, or a line longer than RecipeTextReader::kMaxLineBytes, adds
    // nothing, as an unreadable file.
    IndexRead ReadRecipeIndex(const std::string& fileName, RecipeList& target) const;

    // Opens the entry's file and positions it at line 1 of the entry's block: byte 0 for entry
    // index 0, else the offset of index entry EntryIndex + 9. Nothing when the file is missing
    // or unreadable, or when the file does not hold that entry (error tells which). The file
    // closes when the returned object is destroyed.
    //
    // An entry is held when entry index 0 names a single-recipe file, or entry index n names a
    // list file whose n-th index line, counted in 80-byte steps from the first, is an index
    // entry line (a line of its own, "^" but not "^^" in front, 78 characters and CR LF) whose
    // offset lies inside the file. Without this check an index too short for n, or entry 0 of
    // a list file, would read the index lines or another recipe's lines as the recipe.
    std::optional<RecipeFile> OpenRecipe(const TImpListInfo& entry) const;
    std::optional<RecipeFile> OpenRecipe(const TImpListInfo& entry, RecipeOpenError& error) const;

    // The next line: the bytes up to a CR (the CR and the byte after it are skipped) or a lone
    // LF; at most 127 characters; a longer line is split and its rest returned by the next
    // call. Empty at the end of the file.
    std::string ReadRawLine(RecipeFile& file) const;

    // Reads n lines with ReadRawLine and returns the last one, extended with 81 blanks. Without
    // keepDotLines, lines beginning with "." are skipped. At the end of the file the result is
    // the padding alone.
    std::string ReadRecipeLines(int n, RecipeFile& file, bool keepDotLines) const;
};

// Why the recipe of entry cannot be read after OpenRecipe gave error, as the end of a German
// sentence that begins with the file's name (UTF-8), for messages: "nicht gefunden", "ist keine
// normale Datei", "hat keinen Eintrag 9 (eine Rezeptliste mit den Einträgen 1 bis 3)", "hat
// keinen Eintrag 1 (ein einzelnes Rezept: Eintrag 0)". Empty for RecipeOpenError::None.
std::string DescribeRecipeOpenError(const TRezeptImportProz& proz, const TImpListInfo& entry,
                                    RecipeOpenError error);

} // namespace kovanta
