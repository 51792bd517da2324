#pragma once

#include "recipe/recipefilter.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <vector>

class QLabel;
class QLineEdit;

namespace kovanta {

class RecipeListView;
class TAStringGrid;

// The quick filter above the recipe list: the search field "Suchen" and the count of shown and
// listed recipes ("312 von 20.000"). Typing filters at once: a recipe row stays when every word
// occurs in its "Rezept" or "Rezeptgruppe" (RecipeFilter); Ctrl+F (anywhere in the window
// while the list shows) goes to the field, Esc in the field clears it, Enter or Down goes to
// the list.
//
// The filter matches the entries of the recipe list (once per read, not per sort) and hides
// the grid rows of those that do not match; it changes nothing in the cells or row objects, so
// sorting, the preview, the plan toggle, the row finder and printing keep working on the grid
// as they are; they see the shown rows through the view (QTableView::isRowHidden). The row
// finder shades the shown rows alternately (TAStringGrid::RowFinderPosition). The filter stays
// when the list is filled again (a new read) or sorted. When the current row is hidden it
// moves to the first shown row; when no row is shown the list has no current row.
//
// The widget sets the grid's RowFinderPosition and takes it back when it goes first.
class RecipeFilterBar : public QWidget {
    Q_OBJECT
public:
    explicit RecipeFilterBar(QWidget* parent);
    ~RecipeFilterBar() override;

    // Filters the rows of list from now on; list may go first.
    void setList(RecipeListView* list);

    QLineEdit* field() const { return field_; }
    QLabel* countLabel() const { return count_; }

    // Recipes in the list (rows holding an entry) and how many of them are shown.
    int totalCount() const { return total_; }
    int shownCount() const { return shown_; }
    // Whether grid row (1 = first recipe row) is shown.
    bool rowShown(int gridRow) const;

    // Goes to the field with its text selected (Ctrl+F).
    void focusField();
    // Applies the query to the list now (otherwise this happens right after the list changed).
    void refilter();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rebuildIndex();
    void apply();
    void showAllRows();
    void keepCurrentRowShown();

    QPointer<RecipeListView> list_;
    QPointer<TAStringGrid> grid_;
    QLineEdit* field_ = nullptr;
    QLabel* count_ = nullptr;
    // The names and groups of the entries, in list order, and which of them match.
    RecipeFilter filter_;
    std::vector<std::uint8_t> matches_;
    // Per grid data row r (grid row r + 1): hidden, and its place among the shown rows.
    std::vector<std::uint8_t> hidden_;
    std::vector<int> position_;
    bool indexStale_ = true;
    bool sorting_ = false;
    int total_ = 0;
    int shown_ = 0;
};

} // namespace kovanta
