#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Turning a fetched web recipe page into a recipe file of the program's own format, without
// any user interface: the import window calls ResolveImportFile, `rezeptur webrecipe` calls
// ConvertWebRecipe.
namespace kovanta {

// The recipe file the data lines of one page go to. The file is created by the first
// WriteDataLine (an existing file of that name is overwritten); when creation fails the line is
// dropped and the next line tries again. Every line is written followed by CR LF, bytes as
// given. Closes the file on destruction.
class TDataFileWriter {
public:
    explicit TDataFileWriter(std::string path) : path_(std::move(path)) {}
    ~TDataFileWriter();
    TDataFileWriter(const TDataFileWriter&) = delete;
    TDataFileWriter& operator=(const TDataFileWriter&) = delete;

    void WriteDataLine(std::string_view text);
    bool IsOpen() const { return file_ != nullptr; }
    // Closes the file. True when it was created and every line reached the disk; a file that
    // could not be written completely is removed, so no truncated recipe is left behind.
    bool Close();

private:
    std::string path_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

// What one fetched page held.
struct TWebRecipeResult {
    bool recipeWritten = false;     // a recipe file was produced
    std::vector<std::string> links; // values of the <LIVE-REZEPT> lines, entity-decoded, in order
    bool inputReadable = true;      // false when the page could not be opened
};

// Reads the page `inputPath` line by line; each <LIVE-DATEN> value is converted from ANSI to
// OEM and written to `outputPath` (created only when the first data line comes; a page
// without data lines leaves no file). Other tags and untagged lines are ignored.
TWebRecipeResult ConvertWebRecipe(const std::string& inputPath, const std::string& outputPath);

// The same over bytes already in memory.
TWebRecipeResult ConvertWebRecipeBytes(std::string_view page, const std::string& outputPath);

// `path` with its extension replaced by `ext` (which includes the dot); a name without an
// extension gets `ext` appended. Only the last path component is looked at.
std::string ChangeFileExt(const std::string& path, std::string_view ext);

// A link value split at its first blank: name before it, title after it (further blanks kept);
// without a blank the whole value is the name and the title is empty.
struct TLiveLink {
    std::string name;
    std::string title;
};
TLiveLink SplitLiveLink(std::string_view link);

// The directory part of a link: `url` cut back to (and including) its last "/"; empty when it
// has none.
std::string LinkBase(std::string_view url);

// How a linked page is fetched, decided by its base.
enum class TLinkScheme { Http, File, Other };
TLinkScheme SchemeOf(std::string_view url); // "http://" / "file://", ignoring case

// One link of a menu plan, ready to be fetched: url = base + name.
struct TResolvedLink {
    std::string url;
    std::string title;
    TLinkScheme scheme;
};

// What the import window does around the processing; every hook is optional.
struct TResolveHooks {
    std::function<void()> linksBegin;                     // before the first link
    std::function<void(const TResolvedLink&)> fetchLink;  // fetch one link (not for Other)
    std::function<void(const std::string& url)> linkDone; // after each link, also Other
};

// Processes the fetched file `fileName` that came from `url`: writes its data lines to
// `fileName` with the extension ".dat", hands every link (relative to `url`'s directory) to the
// hooks in file order, then deletes `fileName`. Returns whether a recipe file was produced.
// An unreadable `fileName` yields no recipe and no links.
bool ResolveImportFile(const std::string& fileName, const std::string& url,
                       const TResolveHooks& hooks);

} // namespace kovanta
