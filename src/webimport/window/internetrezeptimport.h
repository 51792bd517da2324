#pragma once

#include "webimport/droppedlink.h"
#include "webimport/importcore.h"

#include <QEvent>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QStatusBar;
class QUrl;

namespace kovanta {

class QtFetchRunner;

// Posted by the import window to itself once per fetched file: process it after the current
// event (the entry is the oldest one waiting in the import core). Registered with Qt, so that no
// other message of the program has the same type.
inline const QEvent::Type MSG_IMPORT_FILE = QEvent::Type(QEvent::registerEventType());

// The import window "Internet ": a small drop window for links dragged from a web browser. It
// is a thin Qt face of ImportCore: the hint panel Panel1 while the list is empty, the import
// list ListBox1 otherwise, the link labels "Übernehmen" and "Schließen", the picture, the
// status bar and the pop-up menu. Dropped links are handled after the drop event has returned
// (the browser gets its answer first); a drop activates the window. Fetches run on a worker
// thread while the event loop goes on: the status bar shows the bytes received, the window's
// own controls take no input, Esc and the status bar's "Abbrechen" cancel the fetch, and a link
// dropped meanwhile waits its turn.
//
// Ownership: the owner (the main window) owns the window; the window owns its core, whose list
// lines own their entries. It never closes itself: "Schließen" asks NotifyWindow (kind 9), and
// closing it from the desktop does the same. Closed by the program, it ends the running fetch
// and the drops in progress without a message. On destruction the recipe files in ImportDir
// remain, raw files still waiting for their processing go.
class TInternetRezeptImport : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kOnlineRecipeUrl = "http://www.vemosoft.example/rezepte/";

    // Creation: placed at 10, 15 with 200 x 200, registered as the drop area, ImportDir set to
    // `defaultImportDir` (empty: <temp>/kovanta/), which is loaded when it exists and created
    // otherwise.
    explicit TInternetRezeptImport(QWidget* owner = nullptr, const QString& defaultImportDir = {});
    ~TInternetRezeptImport() override;

    // The directory fetched files go to, as the file system spells it, ending in "/".
    QString importDir() const;
    void setImportDir(const QString& dir);

    // NotifyWindow: receives MSG_IMPORT_NOTIFY kinds (0, 1, 9); `waitHandled` asks for delivery
    // before the call returns (accept), otherwise it is posted. Unset: nothing is notified.
    using NotifyWindow = std::function<void(int kind, bool waitHandled)>;
    void setNotifyWindow(NotifyWindow notify);

    // mUrlLabel1 ("Übernehmen"); the main window hides it.
    void setAcceptLinkVisible(bool visible);

    // A link dropped on the window, with its title (ANSI): handled once the drop event has
    // returned (the drag source is answered first), after what the import is still doing; the
    // window is activated for it.
    void acceptDrop(const DroppedLink& link);

    ImportCore& core() { return core_; }
    QListWidget* listBox() const { return listBox_; }
    QString statusText() const;

    // Commands of the pop-up menu and the link labels.
    void acceptSelected();     // "Übernehmen"
    void selectAllLines();     // "Alles auswählen"
    void deleteSelected();     // "Löschen"
    void deleteAll();          // "Alles löschen..."
    void requestClose();       // "Schließen"
    void openOnlineRecipes();  // mUrlLabel3, Image2
    // Ends the running fetch as a failed one (what Esc does); nothing without one.
    void cancelFetch();

protected:
    // The message box (OK) and the Yes/No question; tests replace them.
    virtual void showMessageBox(const QString& text);
    virtual bool askQuestion(const QString& text, const QString& title);
    // Hands a web address to the desktop; tests replace it.
    virtual void openUrl(const QUrl& url);

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class View;

    void buildControls();
    void fetchRunningChanged(bool running);
    bool swallowedWhileFetching(QEvent* event);
    void showContextMenu(QWidget* from, const QPoint& at);
    std::vector<std::size_t> selectedRows() const;

    QLabel* acceptLabel_ = nullptr;
    QWidget* hintPanel_ = nullptr;
    QListWidget* listBox_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QMenu* popupMenu_ = nullptr;
    bool stopped_ = false;
    NotifyWindow notify_;

    std::unique_ptr<View> view_;
    QtFetchRunner* runner_; // a child, so it goes after the core
    ImportCore core_;
};

} // namespace kovanta
