#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

class QLabel;
class QMenu;
class QPushButton;

namespace kovanta {

class TDirTree;

// The directory browser "Pfadangabe einstellen": a directory tree, the selected path below
// it, "OK" and "Abbruch". The tree is filled in a queued step after the dialog has appeared
// (the label reads "Verzeichnisstruktur lesen..." until then) and opens at the initial path.
// With a file mask, "OK" is enabled only while the selected directory holds an entry matching
// the mask (ASCII case ignored). The tree's context menu offers "Verzeichnis erstellen...".
class TDurchSuchen : public QDialog {
    Q_OBJECT
public:
    // withCreateMenu false leaves out the tree's context menu.
    explicit TDurchSuchen(QWidget* parent = nullptr, bool withCreateMenu = true);

    // The directory the tree opens at; empty means the program's own directory.
    void setInitialPath(const QString& path) { initialPath_ = path; }
    QString initialPath() const { return initialPath_; }
    // Mask such as "REZ0*.DAT"; empty for none.
    void setFileMask(const QString& mask) { fileMask_ = mask; }
    QString fileMask() const { return fileMask_; }

    // The tree's selected path ("/"-terminated), "?" when none.
    QString selectedPath() const;
    TDirTree* tree() const { return DirTree1; }

    // How "Verzeichnis erstellen..." asks for the name (title = selected path); nothing when
    // cancelled. Replaced by tests; the default is an input box with "Unterverzeichnis:".
    std::function<std::optional<QString>(QWidget* parent, const QString& title)> askName;

    // "Verzeichnis erstellen...": creates selected path + name (one level; names holding "/"
    // or being "." or ".." are refused) and selects it. Failures change nothing, silently.
    void createDirectory();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void fillTree();
    void selectionChanged();

    TDirTree* DirTree1;
    QLabel* Label1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QMenu* PopupMenu1 = nullptr;
    QString initialPath_;
    QString fileMask_;
    bool filled_ = false;
};

// Runs the browser modally. Nothing when cancelled or when no directory was selected;
// otherwise the selected path ending in "/".
std::optional<QString> BrowseDirectory(const QString& initialPath, const QString& caption,
                                       const QString& fileMask, bool withCreateMenu,
                                       QWidget* parent = nullptr);

} // namespace kovanta
