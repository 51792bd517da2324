#include "webimport/importcore.h"

#include "platform/codepage.h"
#include "platform/regularfile.h"
#include "platform/syserror.h"
#include "platform/tempfile.h"
#include "webformat/webrecipe.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <set>
#include <system_error>

namespace kovanta {
namespace {

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

// A system error as the ANSI text the import's messages are made of.
std::string errorText(int error)
{
    return codepage::utf8ToAnsi(systemErrorText(error));
}

// Why a fetch brought no page: the client's German cause; its own message or the answer's
// status only when it gave none.
std::string failureCause(const FetchOutcome& outcome)
{
    if (!outcome.cause.empty())
        return outcome.cause;
    if (!outcome.error.empty())
        return outcome.error;
    return UnsuccessfulAnswerText(outcome.statusCode, outcome.statusText);
}

// A failure as the user reads it: the old text first, then the link and the cause, each on a
// line of its own. A cause that names the link already is not preceded by it again.
std::string failureMessage(const char* text, const std::string& url, const std::string& cause)
{
    std::string message = text;
    if (cause.find(url) == std::string::npos)
        message += "\n" + url;
    if (!cause.empty())
        message += "\n" + cause;
    return message;
}

enum class WriteResult { Ok, OpenFailed, Short };

// Writes `bytes` into `path` (our own fresh temporary file). Short also when the data could not
// be flushed to the file on close. `error` is the errno of the failure.
WriteResult writeWhole(const std::string& path, std::string_view bytes, int& error)
{
    errno = 0;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        error = errno;
        return WriteResult::OpenFailed;
    }
    const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), out);
    error = written == bytes.size() ? 0 : errno;
    const bool closed = std::fclose(out) == 0;
    if (!closed && error == 0)
        error = errno;
    return written == bytes.size() && closed ? WriteResult::Ok : WriteResult::Short;
}

// Copies the regular file `source` into `target`; false on any read or write failure and for a
// source beyond `limit` bytes.
bool copyRegularFile(const std::string& source, const std::string& target, std::size_t limit)
{
    std::FILE* in = openRegularFile(source);
    if (!in)
        return false;
    std::FILE* out = std::fopen(target.c_str(), "wb");
    if (!out) {
        std::fclose(in);
        return false;
    }
    bool ok = true;
    std::size_t total = 0;
    char buffer[64 * 1024];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, in);
        total += n;
        if (total > limit || std::fwrite(buffer, 1, n, out) != n) {
            ok = false;
            break;
        }
        if (n < sizeof buffer) {
            ok = !std::ferror(in);
            break;
        }
    }
    std::fclose(in);
    return std::fclose(out) == 0 && ok;
}

void removeFile(const std::string& path)
{
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

// The raw file of a processed entry, when it is still our download: whatever else may stand
// under that name now is not ours.
void removeRawFile(const std::string& path)
{
    std::error_code ec;
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(path, ec)))
        std::filesystem::remove(path, ec);
}

} // namespace

bool isImportTempFileName(std::string_view name)
{
    if (name.size() < 8 || name.size() > 11 || name.substr(0, 3) != "rez" ||
        name.substr(name.size() - 4) != ".tmp")
        return false;
    const std::string_view digits = name.substr(3, name.size() - 7);
    return std::all_of(digits.begin(), digits.end(), isHexDigit);
}

std::optional<std::string> createImportFile(const std::string& dir, int& error,
                                            const CreateTempFile& create)
{
    // The numbers start at a time-dependent place; a recipe imported earlier may hold any of
    // them. Rejected names stay reserved until a free one is found, so none comes back.
    constexpr int kTries = 64;
    std::vector<std::string> rejected;
    std::optional<std::string> result;
    error = 0;
    for (int i = 0; i < kTries; ++i) {
        std::optional<std::string> file =
            create ? create(dir, "rez", error) : platform::CreateUniqueTempFile(dir, "rez", error);
        if (!file)
            break;
        std::error_code ec;
        if (!std::filesystem::exists(ChangeFileExt(*file, ".dat"), ec) && !ec) {
            result = std::move(file);
            break;
        }
        rejected.push_back(std::move(*file));
    }
    for (const std::string& name : rejected)
        removeFile(name);
    if (!result && error == 0)
        error = EEXIST;
    return result;
}

std::string ReadRecipeTitle(const std::string& path)
{
    // Lines end at CR, LF or CR LF, as a text file is read. Only the first four lines matter;
    // the read is bounded so that a huge file without line ends cannot hold the window.
    constexpr std::size_t kMaxRead = 1024 * 1024;
    std::FILE* in = openRegularFile(path);
    if (!in)
        return kUnknownFormat;
    std::string line;
    int lineNumber = 1;
    bool lastWasCR = false;
    bool fourthLineRead = false;
    std::size_t read = 0;
    for (int c; read < kMaxRead && (c = std::fgetc(in)) != EOF; ++read) {
        const char ch = static_cast<char>(c);
        if (ch == '\n' && lastWasCR) {
            lastWasCR = false;
            continue;
        }
        lastWasCR = ch == '\r';
        if (lineNumber == 4)
            fourthLineRead = true;
        if (ch == '\r' || ch == '\n') {
            if (lineNumber == 4)
                break;
            line.clear();
            ++lineNumber;
            continue;
        }
        if (lineNumber == 4 && line.size() < 20)
            line += ch;
    }
    std::fclose(in);
    if (!fourthLineRead)
        return kUnknownFormat;
    while (!line.empty() && (line.back() == ' ' || line.back() == '\0'))
        line.pop_back();
    return codepage::oemToAnsi(line);
}

std::string localPathOfFileUrl(std::string_view url)
{
    std::string_view rest = url.size() >= 7 ? url.substr(7) : std::string_view();
    // "file://localhost/x" names the same file as "file:///x".
    if (rest.starts_with("localhost/"))
        rest.remove_prefix(9);
    if (!rest.starts_with('/'))
        return {}; // another host's file, or no path at all
    std::string path;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest.substr(i, 3) == "%20") {
            path += ' ';
            i += 2;
        } else {
            path += rest[i];
        }
    }
    return codepage::ansiToUtf8(path);
}

std::string linkProgressText(std::size_t number, std::size_t count)
{
    return "Link " + std::to_string(number) + " von " + std::to_string(count);
}

// What one drop has fetched so far, shared by the processing of everything it brought in: a
// menu plan that links to itself, or plans linking to each other, end here.
struct ImportCore::DropContext {
    std::set<std::string> urls;
    int files = 0;
    bool limitReported = false;
    bool cancelled = false;
    unsigned generation = 0;
    // Links not fetched because a line of the list came from them, in the order met, each as
    // that line's title and the link.
    std::vector<std::string> alreadyListed;
};

// The link being fetched: its attempts share one budget.
struct ImportCore::Download {
    std::string url;
    std::string title;
    std::shared_ptr<DropContext> context;
    AttemptBudget budget;
    int attempt = 0;
};

// The fetched file being processed: the recipe file made of it, and how far its links have got.
struct ImportCore::Processing {
    TFileInfo* entry;
    std::string rawFile;
    std::shared_ptr<DropContext> context;
    bool recipeWritten = false;
    std::vector<ResolvedLink> links;
    std::size_t next = 0;
};

ImportCore::ImportCore(ImportView& view, FetchRunner& runner) : view_(view), runner_(runner) {}

ImportCore::~ImportCore()
{
    // Raw files still waiting for their processing (the program ends during an import) are our
    // temporary files and of no use to anybody.
    for (const Pending& p : pending_)
        removeFile(p.entry->FileName);
    if (processing_)
        removeRawFile(processing_->rawFile);
}

void ImportCore::setStatus(const std::string& text)
{
    status_ = text;
    view_.setStatusText(text);
}

void ImportCore::showProgress(std::size_t bytes)
{
    view_.setStatusText(status_ + " " + std::to_string(bytes) + " Bytes");
}

void ImportCore::postNotify(int kind)
{
    if (view_.hasNotifyWindow())
        view_.notify(kind, false);
}

std::ptrdiff_t ImportCore::indexOf(const TFileInfo* entry) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].get() == entry)
            return static_cast<std::ptrdiff_t>(i);
    return -1;
}

void ImportCore::removeLine(std::size_t index)
{
    const TFileInfo* entry = lines_[index].get();
    std::erase_if(pending_, [entry](const Pending& p) { return p.entry == entry; });
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
    view_.lineRemoved(index);
}

const TFileInfo* ImportCore::listedLine(const std::string& url) const
{
    const auto it = std::find_if(lines_.begin(), lines_.end(), [&url](const auto& line) {
        return line->Url == url;
    });
    return it == lines_.end() ? nullptr : it->get();
}

void ImportCore::cancelImports()
{
    ++cancelGeneration_;
}

std::shared_ptr<ImportCore::DropContext> ImportCore::newContext()
{
    auto context = std::make_shared<DropContext>();
    context->generation = cancelGeneration_;
    return context;
}

void ImportCore::setEndStatus(const DropContext& context)
{
    const std::vector<std::string>& listed = context.alreadyListed;
    if (listed.empty()) {
        setStatus(kStatusIdle);
        return;
    }
    std::string text = kStatusAlreadyListed + listed.front();
    if (listed.size() == 2)
        text += " und 1 weiterer Verweis";
    else if (listed.size() > 2)
        text += " und " + std::to_string(listed.size() - 1) + " weitere Verweise";
    setStatus(text);
}

void ImportCore::LoadImportDirectory(const std::string& dir)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.empty() || name.front() == '.')
            continue;
        std::error_code typeEc;
        if (it->is_directory(typeEc))
            continue;
        const std::string path = dir + name;
        if (IsRecipeFileName(name)) {
            lines_.push_back(std::make_unique<TFileInfo>(TFileInfo{"", ReadRecipeTitle(path), path}));
            view_.lineAdded(lines_.size() - 1);
            view_.setListShown(true);
        } else if (isImportTempFileName(name)) {
            // A raw fetched file an earlier run left behind: ours, and of no use any more.
            removeFile(path);
        }
    }
}

bool ImportCore::admit(DropContext& context, const std::string& url)
{
    if (context.generation != cancelGeneration_)
        context.cancelled = true;
    if (context.cancelled || context.urls.count(url) != 0)
        return false;
    if (const TFileInfo* line = listedLine(url)) {
        // Fetching it again would store and list the same recipe once more.
        context.alreadyListed.push_back(line->Title.empty() ? url : line->Title + " (" + url + ")");
        return false;
    }
    if (context.files >= kMaxFilesPerDrop) {
        if (!context.limitReported) {
            context.limitReported = true;
            view_.showMessage(kMsgDropLimit);
        }
        return false;
    }
    context.urls.insert(url);
    ++context.files;
    return true;
}

// ---- Tasks: drops and processings, one after the other ------------------------------------

ImportCore::DropResult ImportCore::drop(const std::string& url, const std::string& title)
{
    if (title == url)
        return DropResult::Ignored;
    if (SchemeOf(url) == LinkScheme::Other) {
        // Nothing to fetch: the status line comes to rest, unless an import is using it.
        if (!busy())
            setStatus(kStatusIdle);
        return DropResult::Other;
    }
    tasks_.push_back({Task::Drop, url, title, newContext()});
    startWaitingTasks();
    return DropResult::Accepted;
}

void ImportCore::processImportFile()
{
    tasks_.push_back({Task::Process, {}, {}, {}});
    startWaitingTasks();
}

void ImportCore::startWaitingTasks()
{
    // A task that needs no fetch ends inside this loop; one that fetches ends later, in the
    // runner's answer, and starts the next from there.
    if (startingTasks_)
        return;
    startingTasks_ = true;
    while (!running_ && !tasks_.empty()) {
        const Task task = std::move(tasks_.front());
        tasks_.pop_front();
        running_ = true;
        if (task.kind == Task::Drop) {
            runDrop(task);
        } else if (!pending_.empty()) {
            const Pending next = pending_.front();
            pending_.pop_front();
            ResolveImportFile(next);
        } else {
            running_ = false; // its line was deleted before
        }
    }
    startingTasks_ = false;
}

void ImportCore::taskEnded()
{
    running_ = false;
    startWaitingTasks();
}

void ImportCore::runDrop(const Task& task)
{
    runningDrop_ = task.context;
    const bool http = SchemeOf(task.url) == LinkScheme::Http;
    setStatus(http ? kStatusDownload : kStatusLocalCopy);
    if (admit(*task.context, task.url)) {
        if (http) {
            DownloadRecipe(task.url, task.title, task.context);
            return; // goes on in linkEnded()
        }
        CopyLocalRecipe(task.url, task.title, task.context);
    }
    dropEnded();
}

void ImportCore::dropEnded()
{
    const std::shared_ptr<DropContext> context = std::move(runningDrop_);
    setEndStatus(*context);
    taskEnded();
}

// ---- Fetching one link ----------------------------------------------------------------------

void ImportCore::DownloadRecipe(const std::string& url, const std::string& title,
                                const std::shared_ptr<DropContext>& context)
{
    download_.reset(new Download{url, title, context, AttemptBudget(configureClient)});
    startAttempt();
}

void ImportCore::startAttempt()
{
    Download& download = *download_;
    ++download.attempt;
    runner_.fetch(
        download.url, download.budget.configure(),
        [this](std::size_t bytes) { showProgress(bytes); },
        [this](FetchOutcome outcome) { attemptEnded(std::move(outcome)); });
}

void ImportCore::attemptEnded(FetchOutcome outcome)
{
    Download& download = *download_;
    view_.setStatusText(status_);
    if (outcome.kind == FetchOutcome::Cancelled) {
        // Esc: a failed fetch the user asked for; no message, and nothing more of this drop.
        download.context->cancelled = true;
        linkEnded();
        return;
    }
    // A body shorter than its announced length is a broken transfer, not a page.
    if (outcome.kind == FetchOutcome::Answer && outcome.contentSize > 0 &&
        outcome.body.size() < static_cast<std::size_t>(outcome.contentSize)) {
        outcome.kind = FetchOutcome::Failed;
        outcome.cause = "Verbindung vor Ende der Daten abgebrochen (" +
                        std::to_string(outcome.body.size()) + " von " +
                        std::to_string(outcome.contentSize) + " Bytes)";
    }
    // An error status is the server's answer; asking again would bring the same. A spent
    // budget could not even look the host up again.
    const bool again = !outcome.succeeded() && outcome.kind != FetchOutcome::ErrorStatus &&
                       download.attempt < kMaxAttempts && !download.budget.spent();
    if (again) {
        runner_.pause(retryDelayMs, [this](bool completed) {
            if (completed) {
                startAttempt();
                return;
            }
            download_->context->cancelled = true;
            linkEnded();
        });
        return;
    }
    if (outcome.succeeded())
        storeDownload(outcome);
    else
        view_.showMessage(failureMessage(kMsgRequestFailed, download.url, failureCause(outcome)));
    linkEnded();
}

void ImportCore::storeDownload(const FetchOutcome& outcome)
{
    const Download& download = *download_;
    int error = 0;
    const std::optional<std::string> file = createImportFile(ImportDir, error);
    if (!file) {
        view_.showMessage("Datei kann nicht angelegt werden: " + errorText(error) + "\n" +
                          codepage::utf8ToAnsi(ImportDir));
        return;
    }
    const WriteResult written = writeWhole(*file, outcome.body, error);
    if (written == WriteResult::Ok) {
        addFetched(download.url, download.title, *file, download.context);
        return;
    }
    // The incomplete file holds nothing usable and would lie in the directory for ever.
    removeFile(*file);
    const std::string cause =
        codepage::utf8ToAnsi(ImportDir) + (error != 0 ? ": " + errorText(error) : std::string());
    view_.showMessage(failureMessage(written == WriteResult::Short ? kMsgLength : kMsgCannotWrite,
                                     download.url, cause));
}

void ImportCore::linkEnded()
{
    download_.reset();
    if (processing_)
        resolveNextLinks();
    else
        dropEnded();
}

void ImportCore::CopyLocalRecipe(const std::string& url, const std::string& title,
                                 const std::shared_ptr<DropContext>& context)
{
    const std::string source = localPathOfFileUrl(url);
    // Checked before a name is made, so that a missing source leaves no empty file behind.
    std::error_code ec;
    const char* missing = nullptr;
    if (source.empty())
        missing = "keine lokale Datei";
    else if (!std::filesystem::exists(source, ec))
        missing = "Datei nicht gefunden";
    else if (std::filesystem::is_directory(source, ec))
        missing = "ein Verzeichnis, keine Datei";
    if (missing) {
        view_.localFileMissing(std::string(kMsgCopyFailed) + url + "\n" + missing);
        return;
    }
    int error = 0;
    const std::optional<std::string> file = createImportFile(ImportDir, error);
    if (!file)
        return;
    if (!copyRegularFile(source, *file, kMaxLocalFileSize)) {
        removeFile(*file);
        view_.showMessage(std::string(kMsgCopyFailed) + url);
        return;
    }
    addFetched(url, title, *file, context);
}

void ImportCore::addFetched(const std::string& url, const std::string& title,
                            const std::string& file, const std::shared_ptr<DropContext>& context)
{
    lines_.push_back(std::make_unique<TFileInfo>(TFileInfo{url, title, file}));
    view_.lineAdded(lines_.size() - 1);
    view_.setListShown(true);
    pending_.push_back({lines_.back().get(), context});
    view_.postImportFile();
}

// ---- Processing one fetched file ------------------------------------------------------------

void ImportCore::ResolveImportFile(const Pending& next)
{
    TFileInfo* entry = next.entry;
    const WebRecipeResult page =
        ConvertWebRecipe(entry->FileName, ChangeFileExt(entry->FileName, ".dat"));
    processing_.reset(new Processing{entry, entry->FileName, next.context, page.recipeWritten,
                                     ResolveLinks(page.links, entry->Url)});
    if (!processing_->links.empty())
        setStatus(kStatusResolve);
    resolveNextLinks();
}

void ImportCore::resolveNextLinks()
{
    Processing& processing = *processing_;
    while (processing.next < processing.links.size()) {
        const ResolvedLink& link = processing.links[processing.next++];
        // The links are counted, so that a long plan shows how far it has come.
        setStatus(linkProgressText(link.number, link.count) + ": " + link.url);
        view_.repaint();
        if (link.scheme == LinkScheme::Other || !admit(*processing.context, link.url))
            continue;
        view_.linkStarted(link.number, link.count, link.url);
        if (link.scheme == LinkScheme::Http) {
            DownloadRecipe(link.url, link.title, processing.context);
            return; // goes on in linkEnded()
        }
        CopyLocalRecipe(link.url, link.title, processing.context);
    }
    processingEnded();
}

void ImportCore::processingEnded()
{
    const std::unique_ptr<Processing> processing = std::move(processing_);
    removeRawFile(processing->rawFile);
    postNotify(kNotifyDirectoryChanged);
    setEndStatus(*processing->context);
    // The line cannot go while this runs (deleting is refused meanwhile); should it have gone
    // all the same, its entry went with it and must not be touched.
    const std::ptrdiff_t index = indexOf(processing->entry);
    if (index >= 0) {
        if (processing->recipeWritten)
            processing->entry->FileName = ChangeFileExt(processing->rawFile, ".dat");
        else
            removeLine(static_cast<std::size_t>(index));
    }
    taskEnded();
}

// ---- Commands of the list ---------------------------------------------------------------------

void ImportCore::accept(std::vector<std::size_t> selected)
{
    if (busy())
        return;
    if (selected.empty()) {
        view_.selectAllLines();
        for (std::size_t i = 0; i < lines_.size(); ++i)
            selected.push_back(i);
    }
    if (!view_.hasNotifyWindow())
        return;
    std::sort(selected.begin(), selected.end());
    view_.notify(kNotifyDirectoryChanged, true);
    for (const std::size_t index : selected)
        if (index < lines_.size())
            view_.notify(kNotifyAccepted, true);
    view_.notify(kNotifyClose, false);
}

bool ImportCore::DeleteEntry(std::size_t index)
{
    if (busy() || index >= lines_.size())
        return false;
    const std::string file = lines_[index]->FileName;
    removeLine(index);
    removeFile(file);
    return true;
}

void ImportCore::deleteSelected(std::vector<std::size_t> selected)
{
    if (busy())
        return;
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        DeleteEntry(*it);
    postNotify(kNotifyDirectoryChanged);
    if (lines_.empty())
        view_.setListShown(false);
}

void ImportCore::deleteAll()
{
    if (busy())
        return;
    if (view_.askYesNo(kQuestionDeleteAll, kQuestionDeleteAllTitle)) {
        while (!lines_.empty())
            DeleteEntry(lines_.size() - 1);
        view_.setListShown(false);
    }
    postNotify(kNotifyDirectoryChanged);
}

void runImportToEnd(ImportCore& core, BlockingFetchRunner& runner, int& posted)
{
    for (;;) {
        if (runner.runNext())
            continue;
        if (posted == 0)
            break;
        --posted;
        core.processImportFile();
    }
}

} // namespace kovanta
