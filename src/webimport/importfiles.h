#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The files of the web import: the raw file a fetch is stored in, a local link's file, the
// title of a recipe file found in the import directory. Paths are the file system's bytes,
// directories end in "/"; titles and links are ANSI.
namespace kovanta {

// One line of the import list. FileName names the raw fetched file (".tmp") until it has been
// processed, the recipe file (".dat") afterwards; Url is empty for files found in a directory.
struct TFileInfo {
    std::string Url;
    std::string Title;
    std::string FileName;
};

// Characters 1-20 of line 4 of a recipe file, trailing blanks and NULs removed, as ANSI;
// "unbekanntes Format" when the file cannot be opened as a regular file or has fewer lines.
std::string ReadRecipeTitle(const std::string& path);
// The local path of a file:// link: the text after "file://" with every "%20" made a blank
// (no other escape is decoded) and the ANSI text turned into the file system's UTF-8.
std::string localPathOfFileUrl(std::string_view url);
// A unique temporary file this program makes: "rez" + 1 to 4 lower-case hex digits + ".tmp".
bool isImportTempFileName(std::string_view name);

// Makes the raw file for one fetch: a unique "rez….tmp" in `dir` (by `create`, which has the
// contract of platform::CreateUniqueTempFile) whose ".dat" sibling does not exist yet, so that
// processing it never overwrites an earlier import. Names whose ".dat" is taken are released
// again. Nothing, with `error` set (an errno value), when no such name can be made.
using CreateTempFile =
    std::function<std::optional<std::string>(const std::string& dir, const std::string& prefix,
                                             int& error)>;
std::optional<std::string> createImportFile(const std::string& dir, int& error,
                                            const CreateTempFile& create = {});

// Writes `bytes` into `path` (our own fresh raw file). Short also when the data could not be
// flushed to the file on close; `error` is the errno of the failure.
enum class WriteResult { Ok, OpenFailed, Short };
WriteResult writeWholeFile(const std::string& path, std::string_view bytes, int& error);
// Copies the regular file `source` into `target`; false on any read or write failure and for a
// source beyond `limit` bytes.
bool copyRegularFile(const std::string& source, const std::string& target, std::size_t limit);
// Removes `path`, whatever it is; for the import's own files only.
void removeImportFile(const std::string& path);
// Removes a processed raw file when it is still our download: whatever else stands under that
// name by then is not ours.
void removeRawFile(const std::string& path);

} // namespace kovanta
