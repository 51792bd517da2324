#pragma once

#include "recipe/records.h"
#include "recipe/requirements.h"
#include "recipe/rezeptimportproz.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The menu plan ("Speiseplan") and the requirements list ("Bedarfsliste") of the main window
// (docs/menu-plan.md): recipes enter and leave the plan from the recipe list, portion counts
// are typed into the plan, and the requirements are recomputed from it. The plan's grids are
// reached through GridAccess, so this logic needs no particular grid class (menuplangrids.h
// adapts the list grid) and tests can drive it without a window.
namespace kovanta {

class RecipeListModel;

// What the menu plan needs of a list grid. Rows and columns count as in the grid: row 0 is the
// header, data rows start at 1; the row object of a row sits in column 0.
class GridAccess {
public:
    virtual ~GridAccess() = default;
    virtual int RowCount() const = 0;
    virtual void SetRowCount(int rows) = 0;
    // The current row (the selected row of the grid).
    virtual int Row() const = 0;
    virtual std::string GetCell(int col, int row) const = 0;
    // Writes only when the text differs.
    virtual void SetCell(int col, int row, std::string_view text) = 0;
    virtual TGridInfo* Objects(int col, int row) const = 0;
    // Stores object without freeing the previous one.
    virtual void SetObjects(int col, int row, TGridInfo* object) = 0;
    // Repaints the grid at once.
    virtual void Repaint() = 0;
};

// Column layout of the three grids.
namespace plancols {
inline constexpr int kListMark = 1;     // recipe list " S": "1" in the plan, "0" not
inline constexpr int kPlanPortions = 1; // menu plan "Portionen" (editable)
inline constexpr int kPlanName = 2;     // menu plan "Rezept"
inline constexpr int kPlanGroup = 3;    // menu plan "Gruppe"
inline constexpr int kPlanColumns = 5;
inline constexpr int kQuantity = 1; // requirements "Menge" (editable)
inline constexpr int kUnit = 2;     // requirements "Einheit"
inline constexpr int kArticle = 3;  // requirements "Artikel"
inline constexpr int kRequirementColumns = 5;
} // namespace plancols

// The plan has rows 1 to 50; row 0 is the header.
inline constexpr int kPlanRows = 51;
inline constexpr int kFirstPlanRow = 1;

// Message when no plan row is free from the plan's current row downwards.
inline constexpr std::string_view kNoFreePlanRow =
    "Keine Freie Zeile ab der selektierten Zeile mehr gefunden";

// The menu plan with its requirements list.
//
// The plan is the plan grid: its rows in grid order are the plan's order (the cook moves them),
// and a row's "Portionen" cell is the portion count that counts. plannedRows() and
// requirementRows() read the grids for everyone else (printing, plan files, the preview).
//
// Ownership: the plan entries (TGridInfo1) and the requirements entries (TBedarfsGridinfo) are
// owned by this object (unique_ptr); column 0 of the plan grid and of the requirements grid
// holds non-owning pointers to them, cleared before an entry is freed. The recipe list's
// entries belong to the recipe list; this object only sets their plan marks through it.
class MenuPlan {
public:
    struct Hooks {
        // True while "Speiseplan" is the current tab: toggling acts only then.
        std::function<bool()> planTabCurrent;
        // The index of the recipe list's current recipe (RecipeListModel), -1 for none.
        std::function<int()> currentRecipe;
        // The plan marks changed: re-evaluate the print button.
        std::function<void()> planMarksChanged;
        // A portion count or the plan's recipes changed: the preview must be rebuilt.
        std::function<void()> previewRefreshNeeded;
        // Post MSG_FILL_REQUIREMENT_ROW for row; its handler calls FillRequirementRow(row).
        std::function<void(int row)> postFillRequirementRow;
        // A plain message box with an OK button.
        std::function<void(const QString& text)> showMessage;
    };

    // All references must outlive this object; no hook is called from the destructor. The
    // grids are expected to be configured
    // (columns, kPlanRows rows for the plan); alternativePanel is the red warning strip and may
    // be null.
    MenuPlan(const TRezeptImportProz& proz, RecipeListModel& recipes, GridAccess& plan,
             GridAccess& requirements, QWidget* alternativePanel, Hooks hooks);
    ~MenuPlan();
    MenuPlan(const MenuPlan&) = delete;
    MenuPlan& operator=(const MenuPlan&) = delete;

    // Double-click on the recipe list, or MSG_TOGGLE_PLAN: on "Speiseplan" only, the list's
    // current recipe goes into the plan (at the first free row from the plan's current
    // row on) or, when it is marked, out of it (every plan row that holds it). When no plan row
    // is free the message box appears and the recipe stays unmarked.
    void TogglePlan();

    // Puts a copy of recipe into plan row row (1 .. RowCount-1; others are ignored), replacing
    // the entry there, fills the row and marks nothing: the plan may hold a recipe twice, as a
    // plan read from an older program can.
    void PutRecipe(int row, const TImpListInfo& recipe);

    // Fills plan row: portions the recipe was stored with, short name, group; a row without
    // entry is emptied.
    void FillPlanRow(int row);

    // The plan grid's OnExitEdit: a changed portion text in column 1 of the current row of an
    // occupied row is remembered, the requirements are recomputed and the preview marked for
    // rebuilding.
    void OnExitEdit(int col, int row, const std::string& text);
    // The plan grid's OnLeaveRowInput: recompute when the row was changed.
    void OnLeaveRowInput(int row, bool changed);

    // After every read of the recipes: plan entries whose recipe was found again keep their
    // row, name and typed portions and mark the recipe in the new list; the others leave the
    // plan. When one left, the requirements are recomputed.
    void Reconcile();

    // Rebuilds the requirements list from the plan, shows or hides the warning strip, and posts
    // one fill message per requirements row.
    void Recompute();
    // MSG_FILL_REQUIREMENT_ROW: quantity ("#######.###"), unit and article of row; a row
    // without entry (or outside the grid) is emptied.
    void FillRequirementRow(int row);

    // One row of a plan to load: a recipe of the list (nullptr: a free row) and the portion
    // text (ANSI) its "Portionen" cell is to show.
    struct LoadRow {
        const TImpListInfo* Recipe = nullptr;
        std::string PortionText;
    };
    // Replaces the whole plan (an opened plan file): every plan row is emptied and the marks of
    // the list cleared, then plan row i + 1 takes rows[i] as a copy of its recipe with the
    // portion text as typed; rows beyond the plan's last row are ignored. Afterwards every list
    // row holding a planned recipe is marked, the requirements are recomputed and the preview
    // marked for rebuilding.
    void LoadPlan(const std::vector<LoadRow>& rows);

    // The plan entry of plan row row, or nullptr.
    TGridInfo1* PlanEntry(int row) const;

    // The occupied plan rows in plan order: the row, its entry and its "Portionen" text (ANSI).
    struct PlannedRow {
        int row = 0;
        const TGridInfo1* entry = nullptr;
        std::string portions;
    };
    std::vector<PlannedRow> plannedRows() const;
    // The portions the plan asks for recipe: the "Portionen" value of the first plan row
    // holding the same recipe (PlanPortions), 0 when none does.
    std::int32_t plannedPortions(const TImpListInfo& recipe) const;

    // Every data row of the requirements list as it shows: the entry (nullptr while a row is
    // not computed or not filled yet) and the texts of "Menge" (as the cook may have adjusted
    // it), "Einheit" and "Artikel".
    struct RequirementRow {
        const TBedarfsGridinfo* entry = nullptr;
        std::string quantity;
        std::string unit;
        std::string article;
    };
    std::vector<RequirementRow> requirementRows() const;

    // The last requirements computation met alternative articles ("oder").
    bool alternativesFound() const { return alternativesFound_; }

private:
    bool AddRecipe(const TImpListInfo& recipe);
    void RemoveRecipe(const TImpListInfo& recipe);
    void FreePlanRow(int row);
    void ClearRequirements();

    const TRezeptImportProz& proz_;
    RecipeListModel& recipes_;
    GridAccess& plan_;
    GridAccess& requirements_;
    QPointer<QWidget> alternativePanel_;
    bool alternativesFound_ = false;
    Hooks hooks_;
    // The entries the grids point at.
    std::vector<std::unique_ptr<TGridInfo1>> planEntries_;
    std::vector<std::unique_ptr<TBedarfsGridinfo>> requirementRows_;
};

} // namespace kovanta
