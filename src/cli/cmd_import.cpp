// rezeptur import: the web import of a dropped link without a window, for batch imports.
#include "command.h"
#include "cli/common/help.h"
#include "cli/common/output.h"
#include "platform/codepage.h"
#include "platform/strings.h"
#include "platform/syserror.h"
#include "webimport/importcore.h"

#include <filesystem>
#include <iostream>

namespace kovanta::cli {
namespace {

// The whole import's limit unless --timeout says otherwise: every link has its own budget
// (HTTP client), this one ends a long plan of slow links.
constexpr long long kDefaultTimeoutSeconds = 1800;

// Texts as one output line: UTF-8, with TAB, CR and LF made blanks (the copy failure message
// holds a CR; a title could hold anything), and every other control character escaped.
std::string oneLine(std::string_view ansi)
{
    std::string text(ansi);
    for (char& c : text)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    return ansiField(text);
}

// The window's side of the import on a terminal: messages go to standard error, the posted
// processing requests are counted for the loop that works them off, and there is no main
// window to notify.
class ConsoleView : public ImportView {
public:
    void lineAdded(std::size_t) override {}
    void lineRemoved(std::size_t) override {}
    void lineChanged(std::size_t) override {}
    void setListShown(bool) override {}
    void selectAllLines() override {}
    void setStatusText(const std::string&) override {}
    // Every message the window would show reports something that went wrong.
    void showMessage(const std::string& text) override
    {
        std::cerr << oneLine(text) << '\n';
        ++messages;
    }
    // The window passes over a local link without a file; here it is a link that failed.
    void localFileMissing(const std::string& text) override { showMessage(text); }
    bool askYesNo(const std::string&, const std::string&) override { return false; }
    void postImportFile() override { ++posted; }
    bool hasNotifyWindow() const override { return false; }
    void notify(int, bool) override {}
    void repaint() override {}
    // The status line's "Link 3 von 499", one line per link, so a long plan shows its progress.
    void linkStarted(std::size_t number, std::size_t count, const std::string& url) override
    {
        std::cerr << linkProgressText(number, count) << ": " << oneLine(url) << '\n';
    }

    int messages = 0;
    int posted = 0;
};

int runImport(const std::vector<std::string>& args)
{
    const auto parsed = parseCommandArguments("import", args);
    if (!parsed)
        return kExitUsage;
    const std::vector<std::string>& positional = parsed->positional;
    const std::string dir = withTrailingSlash(parsed->text("--dir"));
    const long long timeoutSeconds = parsed->number("--timeout", kDefaultTimeoutSeconds);
    std::error_code ec, typeEc;
    std::filesystem::create_directories(dir, ec);
    if (!std::filesystem::is_directory(dir, typeEc)) {
        std::cerr << "rezeptur import: " << quotedName(dir) << " kann nicht angelegt werden"
                  << (ec ? ": " + systemErrorText(ec.value()) : std::string()) << '\n';
        return kExitFailure;
    }

    ConsoleView view;
    BlockingFetchRunner runner;
    if (timeoutSeconds > 0)
        runner.setDeadline(FetchRunner::Clock::now() + std::chrono::seconds(timeoutSeconds));
    ImportCore core(view, runner);
    core.ImportDir = dir;
    const ImportCore::DropResult result =
        core.drop(codepage::utf8ToAnsi(positional[0]), codepage::utf8ToAnsi(positional[1]));
    if (result != ImportCore::DropResult::Accepted)
        return kExitFailure;
    // The drop and then one processing per fetched file, as the window's event loop runs them.
    runImportToEnd(core, runner, view.posted);

    for (std::size_t i = 0; i < core.lineCount(); ++i) {
        const TFileInfo& line = core.line(i);
        std::cout << oneLine(line.Title) << '\t'
                  << escaped(std::filesystem::path(line.FileName).lexically_relative(dir).string())
                  << '\n';
    }
    std::cout << std::flush;
    // A link that brought no page was named with its cause in the messages above.
    if (runner.limitReached())
        std::cerr << "rezeptur import: Zeitlimit von " << timeoutSeconds
                  << " s erreicht, Import abgebrochen\n";
    return view.messages == 0 && !runner.limitReached() ? kExitOk : kExitFailure;
}

const Registrar import{{"import",
                         "import URL TITEL --dir VERZEICHNIS [--timeout SEKUNDEN]   Link wie "
                         "beim Ablegen im Importfenster holen und umsetzen (Zeitlimit f\xC3\xBCr "
                         "alles zusammen, Vorgabe 1800, 0 = keins)",
                         runImport}};

} // namespace
} // namespace kovanta::cli
