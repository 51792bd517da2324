#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kovanta {

// A Windows-style profile (INI) file, edited without disturbing what it does not touch.
//
// The file is kept as its lines, each with its own line ending, in file order. Sections
// ("[Name]") and keys ("Key=Value") are looked up ignoring ASCII case; blanks and tabs around
// section names, keys and values are not part of them. Lines starting with ';' or '#' are
// comments. Values are bytes as they stand: no escaping, no quotes removed, no code page.
// When a section name occurs more than once, the first occurrence is the section.
//
// Writing changes only the lines of the section written; every other line stays byte for
// byte. save() writes a temporary file next to the target and renames it over the target
// (AtomicFile), so an interrupted save leaves either the old or the new file, never a
// half-written one; a symbolic link is written through to its target and stays a link, and the
// file keeps its permissions.
class ProfileFile {
public:
    using Entry = std::pair<std::string, std::string>; // key, value

    // Binds the object to fileName; nothing is read yet (see load()).
    explicit ProfileFile(std::string fileName);

    // A profile is a few lines; a larger file is no profile of ours.
    static constexpr std::size_t kMaxSize = 1024 * 1024;

    // Reads the file. A missing file gives an empty profile and true; false when the file
    // exists but cannot be used: unreadable, not a regular file (a directory, a FIFO, which is
    // never waited for) or larger than kMaxSize. The profile is then empty as well, and
    // loadError() says why.
    bool load();
    // Why the last load() failed (German, UTF-8, after the file name); empty after success.
    const std::string& loadError() const { return loadError_; }

    // Writes the whole profile through a temporary file and a rename; false on any failure,
    // in which case the file on disk is unchanged and saveError() says why. Also false after a
    // failed load(): the lines that could not be read would be lost. A successful save also
    // removes the temporary files an earlier save left when it was killed before its rename
    // (removeStaleTempFiles, atomicfile.h).
    bool save();
    // Why the last save() failed (German, UTF-8, after the file name); empty after success.
    const std::string& saveError() const { return saveError_; }

    const std::string& fileName() const { return fileName_; }

    bool hasSection(std::string_view section) const;

    // All key=value lines of the section, in file order, duplicates included; lines without
    // '=' and comments are skipped. Empty when the section does not exist.
    std::vector<Entry> readSection(std::string_view section) const;

    // The value of the first line with this key in the section, or def.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view def = {}) const;

    // Makes the section hold exactly these entries, in this order. The key lines of an
    // existing section are replaced in place (where its first key line stood); its comments
    // and other lines stay. A missing section is appended at the end of the file.
    // Throws std::invalid_argument when a key or value holds a line break or a key holds '='
    // or is empty: such a line could not be read back as written.
    void writeSection(std::string_view section, const std::vector<Entry>& entries);

    // The lines as they will be written (each with its line ending), for tests and tools.
    std::string contents() const;

private:
    struct Line {
        std::string text; // without line ending
        std::string eol;  // "\r\n", "\n", "\r" or "" (last line without ending)
    };
    // [first, last) line indexes of the section's body; first == npos when missing.
    std::pair<std::size_t, std::size_t> findSection(std::string_view section) const;
    std::string newLineEnding() const;
    void appendSectionHeader(std::string_view section);

    std::string fileName_;
    std::vector<Line> lines_;
    std::string loadError_;
    std::string saveError_;
    bool loadFailed_ = false;
};

} // namespace kovanta
