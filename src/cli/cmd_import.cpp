// rezeptur import: the web import of a dropped link without a window, for batch imports.
#include "command.h"
#include "cli/common/help.h"
#include "cli/common/output.h"
#include "platform/codepage.h"
#include "platform/syserror.h"
#include "webimport/importcore.h"

#include <filesystem>
#include <iostream>

namespace kovanta::cli {
namespace {

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
// processing requests are worked off by the caller, and there is no main window to notify.
class ConsoleView : public ImportView {
public:
    void lineAdded(std::size_t) override {}
    void lineRemoved(std::size_t) override {}
    void setListShown(bool) override {}
    void selectAllLines() override {}
    void setStatusText(const std::string&) override {}
    void showMessage(const std::string& text) override { std::cerr << oneLine(text) << '\n'; }
    bool askYesNo(const std::string&, const std::string&) override { return false; }
    void postImportFile() override {}
    bool hasNotifyWindow() const override { return false; }
    void notify(int, bool) override {}
    void repaint() override {}
};

int runImport(const std::vector<std::string>& args)
{
    const auto parsed = parseCommandArguments("import", args);
    if (!parsed)
        return kExitUsage;
    const std::vector<std::string>& positional = parsed->positional;
    std::string dir = parsed->text("--dir");
    if (dir.back() != '/')
        dir += '/';
    std::error_code ec, typeEc;
    std::filesystem::create_directories(dir, ec);
    if (!std::filesystem::is_directory(dir, typeEc)) {
        std::cerr << "rezeptur import: " << quotedName(dir) << " kann nicht angelegt werden"
                  << (ec ? ": " + systemErrorText(ec.value()) : std::string()) << '\n';
        return kExitFailure;
    }

    ConsoleView view;
    BlockingFetchRunner runner;
    ImportCore core(view, runner);
    core.ImportDir = dir;
    const ImportCore::DropResult result =
        core.drop(codepage::utf8ToAnsi(positional[0]), codepage::utf8ToAnsi(positional[1]));
    if (result != ImportCore::DropResult::Fetched)
        return kExitFailure;
    // The window handles one MSG_IMPORT_FILE per fetched file after the drop; so does this.
    while (core.hasPendingImportFiles())
        core.processImportFile();

    for (std::size_t i = 0; i < core.lineCount(); ++i) {
        const TFileInfo& line = core.line(i);
        std::cout << oneLine(line.Title) << '\t'
                  << escaped(std::filesystem::path(line.FileName).lexically_relative(dir).string())
                  << '\n';
    }
    return kExitOk;
}

const Registrar import{{"import",
                         "import URL TITEL --dir VERZEICHNIS   Link wie beim Ablegen im "
                         "Importfenster holen und umsetzen",
                         runImport}};

} // namespace
} // namespace kovanta::cli
