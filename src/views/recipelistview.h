#pragma once

#include "grid/astringgrid.h"
#include "recipe/records.h"
#include "views/menuplan.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The recipe list grid StringGrid1 as a view of the recipe list (RecipeListModel): its cells,
// its rows mapped to the entries, the row finder and the keys that toggle a recipe in the menu
// plan.
namespace kovanta {

class RecipeListModel;

// The row finder's shading, light gray, as a grid colour (0x00BBGGRR).
inline constexpr TColor kRowFinderTColor = 230 | (230 << 8) | (230 << 16);

// The column definitions of the recipe list grid StringGrid1, in the list grid's format:
// column 0 fixed, " S" (plan mark, drawn as a check box), "Rezept", "Rezeptgruppe",
// "Portionen", "kcal", "kJ", "BE", "Chol", "AZ", "WZ", "Filename", and the untitled entry index.
const std::vector<std::string>& RecipeListColNames();
inline constexpr int kRecipeListColumns = 13;

// The texts of recipe list row row (grid coordinates, row 1 = first recipe) from the entry in
// its column-0 object slot: " S" "1"/"0", names, the numbers as plain decimal integers (0
// included), the file name and the entry index. A row without an entry gets empty texts in
// every column, 0 included. Called after every read for every row, and for rows whose plan
// mark changed.
void FillRecipeListRow(GridAccess& list, int row);

// The row finder on a list grid: the switch and the colour, then a repaint.
void ApplyGridRowFinder(TAStringGrid& grid, bool on, TColor color = kRowFinderTColor);

// The space key (current column becomes the first) and a double-click on a row of a list grid (not
// on its column headers, whose double-click sorts) call onToggle, which posts the "toggle in plan"
// message. Through the grid's OnKeyDown and OnDblClick events, replacing what they held, so
// that a list never has two toggles (one double-click toggling twice would undo itself).
void InstallTogglePlanTriggers(TAStringGrid& grid, std::function<void()> onToggle);

// The recipe list grid showing the entries of a RecipeListModel: every read puts the entries
// as row objects into the grid (row n + 1 holds entry n until the list is sorted) and fills
// their rows; a changed plan mark is written into its row wherever sorting has put it. The
// grid row of an entry and the entry of a grid row are known at once, both ways.
//
// A read keeps the recipe that was current: when the new list holds it again its row becomes
// current, else the first row; a row the quick filter hides never does (the first shown row
// does, and with nothing shown there is no current row).
//
// The view takes the grid's OnSortBegin and OnSortEnde events and reports them as
// aboutToSort() and sorted(). The model must outlive the view; the grid may go first.
class RecipeListView : public QObject {
    Q_OBJECT
public:
    RecipeListView(TAStringGrid* grid, RecipeListModel& list);
    ~RecipeListView() override;

    TAStringGrid* grid() const { return grid_; }
    RecipeListModel& list() const { return list_; }

    // The entry index of grid row (1 = first recipe row), -1 for a row without entry.
    int indexOfRow(int gridRow) const;
    // The grid row of entry index, 0 for none.
    int rowOfIndex(int index) const;
    // The entry of the grid's current row (nullptr for none) and its index (-1).
    int currentIndex() const;
    const TImpListInfo* currentEntry() const;
    // The entries of the rows the grid shows (the quick filter hides others), top to bottom.
    std::vector<const TImpListInfo*> shownEntries() const;

signals:
    // The grid holds the rows of a new list (the current row is chosen after this).
    void rowsReset();
    // A sort is about to move the rows / has moved them.
    void aboutToSort();
    void sorted();

private:
    void load();
    void remap();
    void chooseCurrentRow();

    QPointer<TAStringGrid> grid_;
    RecipeListModel& list_;
    // Grid row -> entry index (-1: none), and entry index -> grid row (0: none).
    std::vector<int> indexOfRow_;
    std::vector<int> rowOfIndex_;
    // The recipe current before a read, kept over the empty list a read starts with.
    std::optional<TImpListInfo> previous_;
};

} // namespace kovanta
