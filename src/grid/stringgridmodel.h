#pragma once

#include "grid/core/colnames.h"
#include "grid/core/gridsort.h"
#include "recipe/records.h"

#include <QAbstractTableModel>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kovanta {

// The cell store of TAStringGrid and the one thing its views read: a matrix of ANSI cell texts
// with an object pointer per cell, and the column definitions that say what each column holds.
// Addressed in grid coordinates (col, row) including the fixed row 0 and fixed column 0.
// Towards Qt it shows only the data part: model row r is grid row r + 1, model column c is grid
// column c + 1; row 0 and column 0 are the header data.
//
// The model never frees objects: every row object has one owner outside the grid (the recipe
// list, the menu plan), which clears the grid's pointers before it frees what they point at.
class StringGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The ANSI text of a cell, for the delegate (Qt::DisplayRole gives it as a QString).
    static constexpr int AnsiTextRole = Qt::UserRole + 1;

    explicit StringGridModel(QObject* parent = nullptr);

    int colCount() const { return cols_; }
    int gridRowCount() const { return rows_; }
    // Both keep the cells that remain; new cells are empty without object. Counts below 1 are
    // raised to 1 (the fixed row and column always exist).
    void setColCount(int cols);
    void setGridRowCount(int rows);

    // Out-of-range cells read as empty / nil; writes to them are ignored.
    const std::string& cell(int col, int row) const;
    // Returns true when the text differed and was written.
    bool setCell(int col, int row, std::string_view text);
    TGridInfo* object(int col, int row) const;
    void setObject(int col, int row, TGridInfo* object);

    // The per-column state of the column definitions (data type, read-only, sizing, sort state,
    // designed width, hint). The sort state is the only part that changes afterwards.
    const grid::ColumnDefs& columns() const { return columns_; }
    void setColumns(grid::ColumnDefs columns);
    void setSortTyp(int col, char sortTyp);

    // Moves grid row from to position to (both >= 1), shifting the rows in between.
    void moveGridRow(int from, int to);
    // rows[i] receives the complete row (texts and objects) that stood at rows[order[i]].
    void rearrangeRows(const std::vector<int>& rows, const std::vector<int>& order);
    // Sorts the given rows (top to bottom) by the texts of col and the row objects of column 0,
    // moving every row whole; returns the order applied (see rearrangeRows). The hook sees
    // each comparison with the work-list position of its upper entry.
    std::vector<int> sortRows(const std::vector<int>& rows, int col,
                              const grid::SortSettings& settings,
                              const grid::SortCompareHook& hook = {});

    // What a header cell (row 0 or column 0) shows; by default its text. The grid installs its
    // painting rules here.
    void setHeaderText(std::function<std::string(int col, int row)> fn)
    {
        headerText_ = std::move(fn);
    }
    // The tooltip of a header cell (the column hint); none by default.
    void setHeaderHint(std::function<QString(int col, int row)> fn) { headerHint_ = std::move(fn); }

    // Repaints every cell of one grid row.
    void refreshRow(int row);
    void refreshAll();

    // Filling many cells at once: between beginBatch and endBatch no per-cell change is
    // signalled (row insertions and removals still are); endBatch announces the whole grid as
    // changed once. Batches nest.
    void beginBatch() { ++batchDepth_; }
    void endBatch();

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::IgnoreAction; }

private:
    struct Cell {
        std::string text;
        TGridInfo* object = nullptr;
    };
    bool valid(int col, int row) const
    {
        return col >= 0 && row >= 0 && col < cols_ && row < rows_;
    }

    std::function<std::string(int col, int row)> headerText_;
    std::function<QString(int col, int row)> headerHint_;
    grid::ColumnDefs columns_;
    int cols_ = 5;
    int rows_ = 5;
    int batchDepth_ = 0;
    std::vector<std::vector<Cell>> cells_; // [row][col]
};

} // namespace kovanta
