#include "webimport/importcore.h"

#include "jsonld/recipepage.h"
#include "platform/atomicfile.h"
#include "platform/codepage.h"
#include "platform/regularfile.h"
#include "webformat/webrecipe.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace kovanta {

// The link being fetched, and what its page is for.
struct ImportCore::Download {
    std::string title;
    std::shared_ptr<DropContext> context;
    std::optional<LinkDownload> fetch;
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
        removeImportFile(p.entry->FileName);
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


std::optional<std::string> ImportCore::newImportFile()
{
    int error = 0;
    std::optional<std::string> file = createImportFile(ImportDir, error);
    if (!file)
        view_.showMessage("Datei kann nicht angelegt werden: " + systemErrorAnsi(error) + "\n" +
                          codepage::utf8ToAnsi(ImportDir));
    return file;
}

namespace {

// Why a recipe file was not written: the file and the reason (UTF-8, after the name), as ANSI.
std::string writeFailureCause(const std::string& path, const std::string& reason)
{
    return codepage::utf8ToAnsi(path + " " + reason);
}

} // namespace

bool ImportCore::writeRecipeFile(const std::string& url, const std::string& path,
                                 std::string_view bytes)
{
    std::string reason;
    if (writeFileAtomically(path, bytes, reason))
        return true;
    view_.showMessage(importFailureText(kMsgCannotWrite, url, writeFailureCause(path, reason)));
    return false;
}

bool ImportCore::admit(DropContext& context, const std::string& url)
{
    if (context.generation() != cancelGeneration_)
        context.cancel();
    const TFileInfo* listed = listedLine(url);
    switch (context.admit(url, listed ? &listed->Title : nullptr)) {
    case DropContext::Admission::Fetch:
        return true;
    case DropContext::Admission::FirstOverLimit:
        view_.showMessage(kMsgDropLimit);
        return false;
    default:
        return false;
    }
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
    tasks_.push_back({Task::Drop, url, title, std::make_shared<DropContext>(cancelGeneration_)});
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
    setStatus(context->endStatus());
    taskEnded();
}

// ---- Fetching one link ----------------------------------------------------------------------

void ImportCore::DownloadRecipe(const std::string& url, const std::string& title,
                                const std::shared_ptr<DropContext>& context)
{
    LinkDownload::Hooks hooks;
    hooks.progress = [this](std::size_t bytes) { showProgress(bytes); };
    hooks.attemptEnded = [this] { view_.setStatusText(status_); };
    hooks.done = [this](FetchOutcome outcome) { downloadEnded(std::move(outcome)); };
    download_.reset(new Download{title, context, std::nullopt});
    download_->fetch.emplace(runner_, url, configureClient, retryDelayMs, std::move(hooks));
}

void ImportCore::downloadEnded(FetchOutcome outcome)
{
    const Download& download = *download_;
    if (outcome.kind == FetchOutcome::Cancelled)
        download.context->cancel(); // Esc: no message, and nothing more of this drop
    else if (outcome.succeeded())
        storeDownload(outcome);
    else
        view_.showMessage(importFailureText(kMsgRequestFailed, download.fetch->url(),
                                            outcome.cause));
    linkEnded();
}

void ImportCore::storeDownload(const FetchOutcome& outcome)
{
    const Download& download = *download_;
    const std::optional<std::string> file = newImportFile();
    if (!file)
        return;
    int error = 0;
    const WriteResult written = writeWholeFile(*file, outcome.body, error);
    if (written == WriteResult::Ok) {
        addFetched(download.fetch->url(), download.title, *file, download.context);
        return;
    }
    // The incomplete file holds nothing usable and would lie in the directory for ever.
    removeImportFile(*file);
    const std::string cause =
        codepage::utf8ToAnsi(ImportDir) + (error != 0 ? ": " + systemErrorAnsi(error) : std::string());
    view_.showMessage(importFailureText(written == WriteResult::Short ? kMsgLength : kMsgCannotWrite,
                                     download.fetch->url(), cause));
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
        removeImportFile(*file);
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
    const std::string dat = ChangeFileExt(entry->FileName, ".dat");
    WebRecipeResult page;
    bool written = false;
    // A raw file that is no longer a regular file of ours gives nothing, without a word.
    std::string bytes;
    if (readRegularFile(entry->FileName, kMaxWebPageSize, bytes).ok()) {
        page = ConvertWebRecipeBytes(bytes, dat);
        written = page.recipeWritten;
        if (page.hasDataLines && !written)
            view_.showMessage(importFailureText(kMsgCannotWrite, entry->Url,
                                                writeFailureCause(dat, page.outputError)));
        else if (!page.hasDataLines && page.links.empty())
            written = storeRecipeData(*entry, bytes, dat);
    }
    bytes = std::string(); // a page can be large, and its links may take a while
    processing_.reset(new Processing{entry, entry->FileName, next.context, written,
                                     ResolveLinks(page.links, entry->Url)});
    if (!processing_->links.empty())
        setStatus(kStatusResolve);
    resolveNextLinks();
}

bool ImportCore::storeRecipeData(TFileInfo& entry, std::string_view page, const std::string& dat)
{
    const jsonld::PageRecipes found = jsonld::ConvertRecipePage(page, entry.Url);
    if (found.recipes.empty()) {
        // Neither format: the link brought nothing, and the user learns which link it was.
        view_.showMessage(importFailureText(found.message.c_str(), entry.Url, {}));
        return false;
    }
    if (!writeRecipeFile(entry.Url, dat, found.recipes.front().file))
        return false;
    // Deleting lines is refused while a processing runs, so the line is there; should it have
    // gone all the same, nothing is listed for it.
    const std::ptrdiff_t index = indexOf(&entry);
    if (index < 0)
        return true;
    const auto line = static_cast<std::size_t>(index);
    // The link's title is often the page's; the recipe's own name tells the recipes apart.
    entry.Title = found.recipes.front().name;
    view_.lineChanged(line);
    // Every further recipe of the page: a file and a line of its own, below the first, from the
    // same link (so that the link is not fetched again while one of them is listed). The raw
    // file only reserves a name whose .dat is free.
    for (std::size_t i = 1; i < found.recipes.size(); ++i) {
        const std::optional<std::string> raw = newImportFile();
        if (!raw)
            break;
        const std::string file = ChangeFileExt(*raw, ".dat");
        const bool stored = writeRecipeFile(entry.Url, file, found.recipes[i].file);
        removeImportFile(*raw);
        if (!stored)
            break;
        lines_.insert(
            lines_.begin() + static_cast<std::ptrdiff_t>(line + i),
            std::make_unique<TFileInfo>(TFileInfo{entry.Url, found.recipes[i].name, file}));
        view_.lineAdded(line + i);
    }
    return true;
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
    setStatus(processing->context->endStatus());
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
