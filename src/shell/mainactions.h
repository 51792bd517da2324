#pragma once

#include <QObject>
#include <QString>

#include <QList>

class QAction;
class QMenu;
class QMenuBar;
class QTextEdit;
class QWidget;

namespace kovanta {

class SearchPathList;

// What the main window's actions need of the window, and nothing more. The main window
// implements it; tests put a small fake in its place.
class MainWindowPort {
public:
    virtual ~MainWindowPort() = default;
    // Parent of the dialogs; closed by "Beenden", maximised by "Maximale Fenstergröße".
    virtual QWidget* portWidget() = 0;
    // The program's search path list, edited in place by "Öffnen..." and "Verzeichnisse".
    virtual SearchPathList& portSearchPaths() = 0;
    // The search path list changed: it is saved when the program closes.
    virtual void markSearchPathsChanged() = 0;
    // The web recipe directory, "/"-terminated; empty before the window was first shown.
    virtual QString portWebRecipeDirectory() const = 0;
    // All recipes are to be read again, after the current event.
    virtual void requestReload() = 0;
    // The "Zeilenfinder" mark changed: the grids follow it once they are set up.
    virtual void rowFinderChanged() = 0;
    // "Web-Rezepte...": the import window in place of the main window.
    virtual void showWebImport() = 0;
    // The preview text ("Vorschau"), copied by the copy button.
    virtual QTextEdit* previewText() = 0;
};

// The main window's menus "&Datei", "&Optionen" and "&Hilfe" with their actions, shortcuts
// and hints, and what the actions and the tool column's buttons do. Groups of other objects'
// items (the plan files, printing) go into "&Datei" before "&Beenden" (insertFileGroup()).
//
// Ownership: the menus belong to bar, the actions to their menus (found by object name below
// the menu bar). The port and the menu bar must outlive the handler.
class MainActions : public QObject {
    Q_OBJECT
public:
    // Creates the menus on bar, the check marks off.
    MainActions(MainWindowPort& port, QMenuBar* bar, QObject* parent = nullptr);

    // The stored "Zeilenfinder" and "MaxWindow" marks, set without acting on them.
    void setSwitches(bool rowFinder, bool maxWindow);
    bool rowFinder() const;
    bool maxWindow() const;

    // The directory last added with "Öffnen..." (the browser starts there), "/"-terminated.
    QString lastAddedDirectory() const { return lastAddedDirectory_; }

    // Inserts actions (owned elsewhere) as a group, followed by a separator, into "&Datei"
    // before "&Beenden".
    void insertFileGroup(const QList<QAction*>& actions);

    QMenu* fileMenu() const { return fileMenu_; }
    QAction* quitAction() const { return quit_; }

public slots:
    void openDirectory();   // "Öffnen...": add a recipe directory by browsing
    void openWebImport();   // "Web-Rezepte...", HemisphereButton6
    void editSearchPaths(); // "Verzeichnisse", HemisphereButton2
    void toggleRowFinder();
    void toggleMaxWindow();
    void copyWholePreview(); // HemisphereButton5
    void showAbout();        // "Info..."

private:
    void createMenus(QMenuBar* bar);

    MainWindowPort& port_;
    QMenu* fileMenu_ = nullptr;
    QAction* quit_ = nullptr;
    QAction* rowFinder_ = nullptr;
    QAction* maxWindow_ = nullptr;
    QString lastAddedDirectory_;
};

} // namespace kovanta
