#pragma once

#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;
class QTextEdit;
class QWidget;

namespace kovanta {

class PlanFileActions;
class PrintActions;
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
// and hints, and what the actions and the tool column's buttons do. The plan file items
// (planfileactions.h) and the print items (printactions.h) live in objects of their own,
// reached through planFiles() and printActions(); both sit in "&Datei" before "&Beenden" (the
// plan file items put there by addPlanFiles(), the print items by PrintActions itself).
//
// Ownership: a child of its parent (the main window); the menus belong to bar, the actions to
// their menus (found by object name below the menu bar). The port and the menu bar must
// outlive the handler; the plan file and print objects are owned by the window.
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

    // Takes in the plan file items (before "&Beenden") and the print object, both owned
    // elsewhere; null leaves the respective feature out.
    void addPlanFiles(PlanFileActions* planFiles);
    void setPrintActions(PrintActions* print) { print_ = print; }
    PlanFileActions* planFiles() const { return planFiles_; }
    PrintActions* printActions() const { return print_; }

    QMenu* fileMenu() const { return fileMenu_; }
    QAction* quitAction() const { return quit_; }

public slots:
    void openDirectory();   // "Öffnen...": add a recipe directory by browsing
    void openWebImport();   // "Web-Rezepte...", HemisphereButton6
    void editSearchPaths(); // "Verzeichnisse", HemisphereButton2
    void toggleRowFinder();
    void toggleMaxWindow();
    void printCurrentTab();  // HemisphereButton4
    void copyWholePreview(); // HemisphereButton5
    void showAbout();        // "Info..."

private:
    void createMenus(QMenuBar* bar);

    MainWindowPort& port_;
    QMenu* fileMenu_ = nullptr;
    QAction* quit_ = nullptr;
    QAction* rowFinder_ = nullptr;
    QAction* maxWindow_ = nullptr;
    PlanFileActions* planFiles_ = nullptr;
    PrintActions* print_ = nullptr;
    QString lastAddedDirectory_;
};

} // namespace kovanta
