#pragma once

#include "recipe/planfile.h"
#include "recipe/requirementscsv.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QAction;
class QWidget;

namespace kovanta {

class MenuPlan;
class RecipeListModel;

// What the plan file actions need of the main window, and nothing more. The main window
// implements it.
class PlanFilePort {
public:
    virtual ~PlanFilePort() = default;
    // Parent of the dialogs and messages.
    virtual QWidget* planFileWindow() = 0;
    // The menu plan with its requirements list.
    virtual MenuPlan& planOfWindow() = 0;
    // The recipes of the last read, which a plan file's rows are looked up in.
    virtual const RecipeListModel& listedRecipes() const = 0;
    // The recipes were read at least once: before that no recipe could be planned.
    virtual bool recipesReadOnce() const = 0;
    // "Bedarfsliste" is the current tab: only there can its list be exported.
    virtual bool requirementsTabCurrent() const = 0;
    // After a plan was opened: show it (the "Speiseplan" tab when neither it nor
    // "Bedarfsliste" is current).
    virtual void showPlan() = 0;
};

// What the plan file actions ask of the user. The program uses the desktop's file dialogs and
// message boxes (makeDesktopPlanFileUi); tests put answers of their own.
class PlanFileUi {
public:
    enum class Answer { Save, Discard, Cancel };
    virtual ~PlanFileUi() = default;
    // The plan file to open, or an empty text when the user cancelled. start: the file or
    // directory the dialog starts with.
    virtual QString openPlanName(QWidget* parent, const QString& start) = 0;
    // The file to save the plan to (the dialog confirms replacing a file and adds ".plan" to a
    // name without suffix), or empty.
    virtual QString savePlanName(QWidget* parent, const QString& start) = 0;
    // The CSV file for the requirements list (adds ".csv"), or empty.
    virtual QString exportName(QWidget* parent, const QString& start) = 0;
    // "Der Speiseplan wurde geändert. Änderungen speichern?" with Ja / Nein / Abbrechen.
    virtual Answer askSaveChanges(QWidget* parent) = 0;
    // A plain message box with an OK button.
    virtual void showMessage(QWidget* parent, const QString& text) = 0;
};

std::unique_ptr<PlanFileUi> makeDesktopPlanFileUi();

inline constexpr const char* kPlanChangedQuestion =
    "Der Speiseplan wurde geändert. Änderungen speichern?";

// "Speiseplan öffnen..." (Ctrl+O), "Speiseplan speichern..." (Ctrl+S) and "Bedarfsliste
// exportieren..." of the "Datei" menu (docs/plan-files.md), and the question whether to save a
// changed plan before it is replaced or the program ends.
//
// The plan counts as changed when the rows it would write (recipe file, entry index, portion
// text, in plan order) differ from those of the plan last opened or saved; an empty plan is
// never changed. Opening puts the rows of the file into the plan grid as typed (MenuPlan::
// LoadPlan); a row that cannot be planned is left out, and one message names them all with
// their line and reason: its recipe is not in the recipe list (also an entry the file does not
// hold), the entry is named otherwise now than when the plan was saved, its portions are no
// count the "Portionen" cell takes, its file name holds a NUL, or it lies beyond the plan's 50
// rows.
//
// Opening and saving are enabled once the recipes were read (recipesReadOnce()), exporting on
// "Bedarfsliste" while it has rows; the window calls updateActions() when that may change.
// The port must outlive this object.
class PlanFileActions : public QObject {
    Q_OBJECT
public:
    explicit PlanFileActions(PlanFilePort& port, QObject* parent = nullptr);
    ~PlanFileActions() override;

    // The three menu items, in menu order.
    QList<QAction*> actions() const { return {open_, save_, export_}; }
    QAction* openAction() const { return open_; }
    QAction* saveAction() const { return save_; }
    QAction* exportAction() const { return export_; }

    // Replaces the dialogs and questions (tests).
    void setUi(std::unique_ptr<PlanFileUi> ui);

    // The plan as a file would hold it, trailing free rows left out.
    std::vector<PlanFileRow> currentRows() const;
    bool planChanged() const;
    // The file the plan was last opened from or saved to (empty for none).
    QString planFileName() const { return planFile_; }

    // Before the plan is replaced or the program ends: asks whether to save a changed plan.
    // True when the caller may go on (nothing to ask, saved, or not to be saved).
    bool confirmDiscard();

    // The menu items: each asks for a file name first. True when done.
    bool openPlan();
    bool savePlan();
    bool exportRequirements();
    // The same without the file dialog.
    bool openPlanFile(const QString& fileName);
    bool savePlanFile(const QString& fileName);
    bool exportRequirementsFile(const QString& fileName);

    // The requirements list as the grid shows it (row order, the quantities as possibly
    // adjusted by the user), for the export.
    std::vector<RequirementsCsvRow> requirementRows() const;
    bool hasRequirementRows() const;

    // Enables the items for the present state (call after a read, when the tab changes and
    // before the menu opens).
    void updateActions();

private:
    QString startPath(const QString& fileName) const;

    PlanFilePort& port_;
    std::unique_ptr<PlanFileUi> ui_;
    QAction* open_ = nullptr;
    QAction* save_ = nullptr;
    QAction* export_ = nullptr;
    QString planFile_;
    QString lastDirectory_;
    std::vector<PlanFileRow> saved_; // the plan as last opened or saved, trimmed
};

} // namespace kovanta
