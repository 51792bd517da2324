#pragma once

#include "platform/atomicfile.h"

#include <cstddef>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

// Turning a fetched web recipe page into a recipe file of the program's own format and the
// links it holds, without any user interface: the web import processes every fetched page
// with it, `rezeptur webrecipe` converts a saved one.
namespace kovanta {

// A page is read whole, up to the size the HTTP client accepts as a body.
inline constexpr std::size_t kMaxWebPageSize = 16 * 1024 * 1024;

// The recipe file the data lines of one page go to. The first WriteDataLine opens it; when that
// fails the line is dropped and the next line tries again. Every line is written followed by
// CR LF, bytes as given. The lines go to a temporary file beside the target (AtomicFile), which
// Close puts in the target's place: an existing file of that name is replaced only by a
// complete new one, never truncated or lost, and a target that is no regular file (a device, a
// directory) is never touched. Destruction closes the file as Close does, unless an exception
// is unwinding the stack: a recipe cut short that way is discarded.
class DataFileWriter {
public:
    explicit DataFileWriter(std::string path)
        : file_(std::move(path)), exceptions_(std::uncaught_exceptions())
    {}
    ~DataFileWriter();
    DataFileWriter(const DataFileWriter&) = delete;
    DataFileWriter& operator=(const DataFileWriter&) = delete;

    void WriteDataLine(std::string_view text);
    bool IsOpen() const { return file_.isOpen(); }
    // Puts the file in place. True when it was opened and every line reached the disk; after a
    // failure the temporary file is removed and the target is as it was before.
    bool Close();
    // Why opening, writing or closing failed (German, UTF-8, without the file name); empty
    // when nothing failed.
    std::string ErrorText() const { return file_.errorText(); }

private:
    AtomicFile file_;
    int exceptions_; // uncaught exceptions at construction
};

// What one fetched page held.
struct WebRecipeResult {
    bool recipeWritten = false;     // a recipe file was produced
    std::vector<std::string> links; // values of the <LIVE-REZEPT> lines, entity-decoded, in order
    bool inputReadable = true;      // false when the page could not be read
    std::string inputError;         // why not (German, UTF-8, after the file name)
    bool hasDataLines = false;      // the page held <LIVE-DATEN> lines
    std::string outputError;        // why they could not be stored (German, UTF-8)
};

// Reads the page `inputPath` line by line; each <LIVE-DATEN> value is converted from ANSI to
// OEM and written to `outputPath` (created only when the first data line comes; a page
// without data lines leaves no file). Other tags and untagged lines are ignored. The page is
// read as a regular file of at most kMaxWebPageSize bytes: a FIFO, directory, device or larger
// file is not read (inputReadable false).
WebRecipeResult ConvertWebRecipe(const std::string& inputPath, const std::string& outputPath);

// The same over bytes already in memory.
WebRecipeResult ConvertWebRecipeBytes(std::string_view page, const std::string& outputPath);

// `path` with its extension replaced by `ext` (which includes the dot); a name without an
// extension gets `ext` appended. Only the last path component is looked at.
std::string ChangeFileExt(const std::string& path, std::string_view ext);

// A link value split at its first blank: name before it, title after it (further blanks kept);
// without a blank the whole value is the name and the title is empty.
struct LiveLink {
    std::string name;
    std::string title;
};
LiveLink SplitLiveLink(std::string_view link);

// The directory part of a link: `url` cut back to (and including) its last "/"; empty when it
// has none.
std::string LinkBase(std::string_view url);

// How a linked page is fetched, decided by its base: Http for "http://" and "https://" (the
// HTTP client), File for "file://", ignoring case.
enum class LinkScheme { Http, File, Other };
LinkScheme SchemeOf(std::string_view url);

// One link of a menu plan, ready to be fetched: url = base + name.
struct ResolvedLink {
    std::string url;
    std::string title;
    LinkScheme scheme;
    std::size_t number = 0; // 1 for the page's first link
    std::size_t count = 0;  // links on the page
};

// The links of a page fetched from `url` (values of its <LIVE-REZEPT> lines, in file order),
// ready to be fetched: each name appended to the page's directory (LinkBase of `url`), with its
// title; the scheme is that directory's, so a page from a link without a path turns its names
// into host names.
std::vector<ResolvedLink> ResolveLinks(const std::vector<std::string>& links, std::string_view url);

} // namespace kovanta
