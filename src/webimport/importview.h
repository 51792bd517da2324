#pragma once

#include <cstddef>
#include <string>

// The import window as the import core sees it, and the texts it shows. Strings are ANSI
// (CP1252) bytes.
namespace kovanta {

// The window as the import sees it. Calls come on the import's own thread.
class ImportView {
public:
    virtual ~ImportView() = default;
    // The core's list changed: a line was appended at `index` / the line at `index` removed.
    virtual void lineAdded(std::size_t index) = 0;
    virtual void lineRemoved(std::size_t index) = 0;
    // The title of the line at `index` changed (a recipe page named its recipe).
    virtual void lineChanged(std::size_t index) = 0;
    // true: the list is shown and the hint panel hidden; false: the other way round.
    virtual void setListShown(bool shown) = 0;
    virtual void selectAllLines() = 0;
    virtual void setStatusText(const std::string& text) = 0;
    // A message box with an OK button; returns when it was closed.
    virtual void showMessage(const std::string& text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool askYesNo(const std::string& text, const std::string& title) = 0;
    // Queue one MSG_IMPORT_FILE: ImportCore::processImportFile() must be called for it after
    // the current event (never from inside this call).
    virtual void postImportFile() = 0;
    // NotifyWindow: whether one is set, and MSG_IMPORT_NOTIFY of `kind` to it, posted or (with
    // `waitHandled`) delivered before the call returns.
    virtual bool hasNotifyWindow() const = 0;
    virtual void notify(int kind, bool waitHandled) = 0;
    // Let the window repaint now, between two links of a plan (no events are handled).
    virtual void repaint() = 0;
    // Link `number` of the `count` links of a menu plan is fetched next, beside the status
    // text ("Link 3 von 499"), for a progress display of its own.
    virtual void linkStarted(std::size_t /*number*/, std::size_t /*count*/,
                             const std::string& /*url*/)
    {}
    // A local link that names no file (missing, a directory, another host's): the window passes
    // over it without a word; a console reports `message` as a failure.
    virtual void localFileMissing(const std::string& /*message*/) {}
};

// "Link 3 von 499": how far the links of a menu plan have got.
std::string linkProgressText(std::size_t number, std::size_t count);

// Texts of the import window.
inline constexpr const char* kStatusIdle = "Drag&Drop Internetrezepten";
inline constexpr const char* kStatusDownload = "Daten einlesen...";
inline constexpr const char* kStatusLocalCopy = "Daten lokal einlesen...";
inline constexpr const char* kStatusResolve = "Speiseplan aufl\xF6sen...";
inline constexpr const char* kMsgRequestFailed = "Es konnten die Daten nicht angefordert werden";
inline constexpr const char* kMsgLength = "Fehler bei der L\xE4nge";
inline constexpr const char* kMsgCannotWrite = "Datei kann nicht geschrieben werden";
inline constexpr const char* kMsgCopyFailed = "Fehler beim Kopieren eines Rezeptes\r";
inline constexpr const char* kMsgDropLimit = "Es wurden bereits 500 Dateien eingelesen; die "
                                             "\xFC""brigen Verweise wurden \xFC""bersprungen";
inline constexpr const char* kQuestionDeleteAll =
    "M\xF6""chten Sie alle Importdaten aus der Zwischenablage l\xF6schen";
inline constexpr const char* kQuestionDeleteAllTitle = "Importzwischenablage";
inline constexpr const char* kUnknownFormat = "unbekanntes Format";
// Status after a drop whose link (or some of whose plan's links) was already listed.
inline constexpr const char* kStatusAlreadyListed = "Bereits in der Liste: ";

// MSG_IMPORT_NOTIFY kinds.
inline constexpr int kNotifyDirectoryChanged = 0;
inline constexpr int kNotifyAccepted = 1;
inline constexpr int kNotifyClose = 9;

// A failure as the user reads it: `text` first, then the link and the cause, each on a line
// of its own. A cause that names the link already is not preceded by it again.
std::string importFailureText(const char* text, const std::string& url, const std::string& cause);
// A system error (errno) in words, ANSI like the import's messages.
std::string systemErrorAnsi(int error);

} // namespace kovanta
