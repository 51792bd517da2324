#pragma once

#include "recipe/recipefilename.h"
#include "webimport/dropcontext.h"
#include "webimport/fetchrunner.h"
#include "webimport/importfiles.h"
#include "webimport/importview.h"
#include "webimport/linkdownload.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The import clipboard ("Importzwischenablage") without a window: what happens when a link is
// dropped, fetched, processed into a recipe file and later accepted or deleted. The import
// window and `rezeptur import` drive it; it reaches its window only through ImportView and has
// its fetches run by a FetchRunner. It never waits inside a call: drops and the processing of
// fetched files are tasks worked off one after the other, each fetch continuing its task when
// its outcome comes.
//
// Strings: URLs, titles, status texts and messages are ANSI (CP1252) bytes; file names and
// directories are file-system paths ("/"-separated, directories ending in "/").
namespace kovanta {

class ImportCore {
public:
    // Repetitions of a fetch that ended without status 200 and without an error status.
    static constexpr int kMaxAttempts = LinkDownload::kMaxAttempts;
    // Files one drop may fetch, the dropped link and all links reached from it together.
    static constexpr int kMaxFilesPerDrop = DropContext::kMaxFiles;
    // Local copies larger than the HTTP client would accept as a body are refused.
    static constexpr std::size_t kMaxLocalFileSize = 16 * 1024 * 1024;

    ImportCore(ImportView& view, FetchRunner& runner);
    // Removes the raw files of fetched entries not processed yet.
    ~ImportCore();
    ImportCore(const ImportCore&) = delete;
    ImportCore& operator=(const ImportCore&) = delete;

    // Directory that receives fetched files; ends with "/".
    std::string ImportDir;
    // Pause between two attempts of a fetch.
    int retryDelayMs = 1000;
    // Applied to every HTTP client (timeouts, proxy); empty = the client's defaults.
    ConfigureClient configureClient;

    // The list, in display order.
    std::size_t lineCount() const { return lines_.size(); }
    const TFileInfo& line(std::size_t index) const { return *lines_.at(index); }

    // Lists every recipe file of `dir` (name passing IsRecipeFileName, entries beginning with
    // "." and directories skipped) in directory order, titled by ReadRecipeTitle. Leftover
    // temporary files of an earlier run (isImportTempFileName) are deleted; any other file is
    // left alone. A missing directory lists nothing.
    void LoadImportDirectory(const std::string& dir);

    enum class DropResult { Ignored, Accepted, Other };
    // The drop handler: Ignored when the title equals the URL, Other for a link that is
    // not http://, https:// or file:// (nothing fetched), Accepted otherwise. An accepted drop runs
    // at once, or after the drops and processings before it when an import is running. The
    // status text ends as "Drag&Drop Internetrezepten", or names the links that were already
    // listed.
    DropResult drop(const std::string& url, const std::string& title);
    // The line of the list fetched from `url` (exact comparison), or none.
    const TFileInfo* listedLine(const std::string& url) const;
    // Ends every drop in progress or waiting: nothing more is fetched or copied for it, also
    // for files of it still waiting to be processed. Ending the running fetch is the runner's
    // part (FetchRunner::cancel).
    void cancelImports();

    // MSG_IMPORT_FILE: processes the oldest fetched entry not processed yet, now or, while an
    // import is running, after it.
    void processImportFile();
    bool hasPendingImportFiles() const { return !pending_.empty(); }
    // True while a drop or a processing runs (with its fetches and message boxes) or waits.
    bool busy() const { return running_ || !tasks_.empty(); }

    // "Übernehmen": `selected` are line indexes in any order; none = all lines (they are
    // selected in the view). Without NotifyWindow nothing else happens.
    void accept(std::vector<std::size_t> selected);
    // "Löschen": deletes the selected lines and their files, without a question.
    void deleteSelected(std::vector<std::size_t> selected);
    // "Alles löschen...": after the question, every line and its file.
    void deleteAll();
    // Deletes line `index`, its file and its entry; false (nothing deleted) while an import
    // runs, since the processing may hold that entry.
    bool DeleteEntry(std::size_t index);

private:
    struct Pending {
        TFileInfo* entry;
        std::shared_ptr<DropContext> context;
    };
    // A drop or the processing of one fetched file, in the order they came.
    struct Task {
        enum Kind { Drop, Process } kind;
        std::string url, title;
        std::shared_ptr<DropContext> context;
    };
    struct Download;
    struct Processing;

    void startWaitingTasks();
    void taskEnded();
    void runDrop(const Task& task);
    void dropEnded();

    // Fetching one link (LinkDownload); at the end the running task goes on (linkEnded).
    void DownloadRecipe(const std::string& url, const std::string& title,
                        const std::shared_ptr<DropContext>& context);
    void downloadEnded(FetchOutcome outcome);
    void storeDownload(const FetchOutcome& outcome);
    void linkEnded();
    void CopyLocalRecipe(const std::string& url, const std::string& title,
                         const std::shared_ptr<DropContext>& context);

    // Processing one fetched file: its recipe file, then its links one after the other.
    void ResolveImportFile(const Pending& next);
    // A page of another recipe site: its schema.org recipes as recipe files, the first into
    // `dat`. False (with a message) when it holds none or the first cannot be stored.
    bool storeRecipeData(TFileInfo& entry, std::string_view page, const std::string& dat);
    void resolveNextLinks();
    void processingEnded();

    bool admit(DropContext& context, const std::string& url);
    // A new raw file in ImportDir; none, with a message, when no name can be made.
    std::optional<std::string> newImportFile();
    // Writes a recipe file (atomically); false, with a message naming `url`, on failure.
    bool writeRecipeFile(const std::string& url, const std::string& path, std::string_view bytes);
    void addFetched(const std::string& url, const std::string& title, const std::string& file,
                    const std::shared_ptr<DropContext>& context);
    void setStatus(const std::string& text);
    void showProgress(std::size_t bytes);
    void postNotify(int kind);
    std::ptrdiff_t indexOf(const TFileInfo* entry) const;
    void removeLine(std::size_t index);

    ImportView& view_;
    FetchRunner& runner_;
    std::vector<std::unique_ptr<TFileInfo>> lines_;
    std::deque<Pending> pending_;
    std::deque<Task> tasks_;
    bool running_ = false;
    bool startingTasks_ = false;
    std::shared_ptr<DropContext> runningDrop_; // the drop task running, if it is one
    std::unique_ptr<Processing> processing_;   // the processing running, if it is one
    std::unique_ptr<Download> download_;       // the link being fetched
    std::string status_;
    // Raised by cancelImports(); a drop accepted before the current value is cancelled.
    unsigned cancelGeneration_ = 0;
};

// Works an import off on the calling thread, for a caller without an event loop (the companion
// program, tests): each request of `runner` in turn and, when none waits, one
// processImportFile() for each MSG_IMPORT_FILE counted in `posted`, until nothing is left.
void runImportToEnd(ImportCore& core, BlockingFetchRunner& runner, int& posted);

} // namespace kovanta
