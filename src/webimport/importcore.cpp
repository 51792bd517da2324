#include "importcore.h"

#include "platform/codepage.h"
#include "platform/regularfile.h"
#include "platform/syserror.h"
#include "platform/tempfile.h"
#include "tcpip.h"
#include "webrecipe.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <set>
#include <system_error>

namespace kovanta {
namespace {

constexpr const char* kMsgDropLimit =
    "Es wurden bereits 500 Dateien eingelesen; die \xFC"
    "brigen Verweise wurden \xFC"
    "bersprungen";

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

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
    T_HTTP answer;
    answer.StatusCode = outcome.statusCode;
    answer.StatusText = outcome.statusText;
    return UnsuccessfulAnswerText(answer);
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

} // namespace

bool IsRecipeFileName(std::string_view name)
{
    return name.size() >= 4 && equalsNoCase(name.substr(0, 3), "rez") &&
           equalsNoCase(name.substr(name.size() - 4), ".dat");
}

bool IsImportTempFileName(std::string_view name)
{
    if (name.size() < 8 || name.size() > 11 || name.substr(0, 3) != "rez" ||
        name.substr(name.size() - 4) != ".tmp")
        return false;
    const std::string_view digits = name.substr(3, name.size() - 7);
    return std::all_of(digits.begin(), digits.end(), isHexDigit);
}

std::optional<std::string> CreateImportFile(const std::string& dir, int& error,
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

std::string LocalPathOfFileUrl(std::string_view url)
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

std::string LinkProgressText(std::size_t number, std::size_t count)
{
    return "Link " + std::to_string(number) + " von " + std::to_string(count);
}

// ---- ImportCore -------------------------------------------------------------------------

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

class ImportCore::BusyScope {
public:
    explicit BusyScope(ImportCore& core) : core_(core) { ++core_.busy_; }
    ~BusyScope()
    {
        if (--core_.busy_ > 0)
            return;
        // MSG_IMPORT_FILE that came while busy (a window repaints while it fetches) are asked
        // for again, one each, now that nothing runs.
        for (; core_.missedImportFiles_ > 0; --core_.missedImportFiles_)
            core_.view_.postImportFile();
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    ImportCore& core_;
};

ImportCore::ImportCore(ImportView& view, FetchRunner& runner) : view_(view), runner_(runner) {}

ImportCore::~ImportCore()
{
    // Raw files still waiting for their processing (the program ends during an import) are our
    // temporary files and of no use to anybody.
    for (const Pending& p : pending_)
        removeFile(p.entry->FileName);
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
        } else if (IsImportTempFileName(name)) {
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

ImportCore::DropResult ImportCore::drop(const std::string& url, const std::string& title)
{
    if (busy() || title == url)
        return DropResult::Ignored;
    BusyScope busy(*this);
    auto context = newContext();
    DropResult result = DropResult::Other;
    switch (SchemeOf(url)) {
    case LinkScheme::Http:
        setStatus(kStatusDownload);
        if (admit(*context, url))
            DownloadRecipe(url, title, context);
        result = DropResult::Fetched;
        break;
    case LinkScheme::File:
        setStatus(kStatusLocalCopy);
        if (admit(*context, url))
            CopyLocalRecipe(url, title, context);
        result = DropResult::Fetched;
        break;
    case LinkScheme::Other:
        break;
    }
    setEndStatus(*context);
    return result;
}

void ImportCore::DownloadRecipe(const std::string& url, const std::string& title,
                                const std::shared_ptr<DropContext>& context)
{
    FetchOutcome outcome;
    AttemptBudget budget(configureClient);
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        // The link's time is used up: another attempt could not even look the host up.
        if (attempt > 1 && budget.spent())
            break;
        if (attempt > 1 && !runner_.pause(retryDelayMs)) {
            context->cancelled = true;
            return;
        }
        outcome = runner_.fetch(url, budget.configure(),
                                [this](std::size_t bytes) { showProgress(bytes); });
        view_.setStatusText(status_);
        if (outcome.kind == FetchOutcome::Cancelled) {
            // Esc: a failed fetch the user asked for; no message, and nothing more of this drop.
            context->cancelled = true;
            return;
        }
        if (outcome.kind == FetchOutcome::ErrorStatus)
            break; // the server's answer; asking again would bring the same
        // A body shorter than its announced length is a broken transfer, not a page.
        if (outcome.kind == FetchOutcome::Answer && outcome.contentSize > 0 &&
            outcome.body.size() < static_cast<std::size_t>(outcome.contentSize)) {
            outcome.kind = FetchOutcome::Failed;
            outcome.cause = "Verbindung vor Ende der Daten abgebrochen (" +
                            std::to_string(outcome.body.size()) + " von " +
                            std::to_string(outcome.contentSize) + " Bytes)";
        }
        if (outcome.kind == FetchOutcome::Answer && outcome.statusCode == 200)
            break;
    }
    if (outcome.kind != FetchOutcome::Answer || outcome.statusCode != 200) {
        view_.showMessage(failureMessage(kMsgRequestFailed, url, failureCause(outcome)));
        return;
    }

    int error = 0;
    const std::optional<std::string> file = CreateImportFile(ImportDir, error);
    if (!file) {
        view_.showMessage("Datei kann nicht angelegt werden: " + errorText(error) + "\n" +
                          codepage::utf8ToAnsi(ImportDir));
        return;
    }
    const WriteResult written = writeWhole(*file, outcome.body, error);
    if (written == WriteResult::Ok) {
        addFetched(url, title, *file, context);
        return;
    }
    // The incomplete file holds nothing usable and would lie in the directory for ever.
    removeFile(*file);
    const std::string cause =
        codepage::utf8ToAnsi(ImportDir) + (error != 0 ? ": " + errorText(error) : std::string());
    view_.showMessage(
        failureMessage(written == WriteResult::Short ? kMsgLength : kMsgCannotWrite, url, cause));
}

void ImportCore::CopyLocalRecipe(const std::string& url, const std::string& title,
                                 const std::shared_ptr<DropContext>& context)
{
    const std::string source = LocalPathOfFileUrl(url);
    // Checked before a name is made, so that a missing source leaves no empty file behind.
    std::error_code ec;
    if (source.empty() || !std::filesystem::exists(source, ec) ||
        std::filesystem::is_directory(source, ec))
        return;
    int error = 0;
    const std::optional<std::string> file = CreateImportFile(ImportDir, error);
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

void ImportCore::processImportFile()
{
    if (busy()) {
        ++missedImportFiles_;
        return;
    }
    if (pending_.empty())
        return;
    const Pending next = pending_.front();
    pending_.pop_front();
    process(next.entry, next.context);
}

void ImportCore::process(TFileInfo* entry, const std::shared_ptr<DropContext>& context)
{
    BusyScope busy(*this);
    // The links of a plan are counted, so that a long plan shows how far it has come.
    std::size_t links = 0;
    std::size_t done = 0;
    const auto linkStatus = [&](const std::string& url) {
        return LinkProgressText(done + 1, links) + ": " + url;
    };
    ResolveHooks hooks;
    hooks.linksBegin = [this, &links](std::size_t count) {
        links = count;
        setStatus(kStatusResolve);
    };
    hooks.fetchLink = [&](const ResolvedLink& link) {
        setStatus(linkStatus(link.url));
        view_.repaint();
        if (!admit(*context, link.url))
            return;
        view_.linkStarted(link.number, link.count, link.url);
        if (link.scheme == LinkScheme::Http)
            DownloadRecipe(link.url, link.title, context);
        else
            CopyLocalRecipe(link.url, link.title, context);
    };
    hooks.linkDone = [&](const std::string& url) {
        setStatus(linkStatus(url));
        ++done;
    };
    const bool ok = ResolveImportFile(entry->FileName, entry->Url, hooks);
    postNotify(kNotifyDirectoryChanged);
    setEndStatus(*context);

    // The line cannot go while this runs (deleting is refused meanwhile); should it have gone
    // all the same, its entry went with it and must not be touched.
    const std::ptrdiff_t index = indexOf(entry);
    if (index < 0)
        return;
    if (ok)
        entry->FileName = ChangeFileExt(entry->FileName, ".dat");
    else
        removeLine(static_cast<std::size_t>(index));
}

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

} // namespace kovanta
