#include "grid/stringgridmodel.h"

#include "platform/qt/ansiqstring.h"

#include <algorithm>

namespace kovanta {

namespace {
const std::string kEmpty;
}

StringGridModel::StringGridModel(QObject* parent) : QAbstractTableModel(parent)
{
    cells_.assign(rows_, std::vector<Cell>(cols_));
}

void StringGridModel::setColCount(int cols)
{
    cols = std::max(1, cols);
    if (cols == cols_)
        return;
    if (cols > cols_) {
        beginInsertColumns({}, cols_ - 1, cols - 2);
        for (auto& row : cells_)
            row.resize(cols);
        cols_ = cols;
        endInsertColumns();
    } else {
        beginRemoveColumns({}, cols - 1, cols_ - 2);
        for (auto& row : cells_)
            row.resize(cols);
        cols_ = cols;
        endRemoveColumns();
    }
    emit headerDataChanged(Qt::Horizontal, 0, std::max(0, cols_ - 2));
}

void StringGridModel::setGridRowCount(int rows)
{
    rows = std::max(1, rows);
    if (rows == rows_)
        return;
    if (rows > rows_) {
        beginInsertRows({}, rows_ - 1, rows - 2);
        cells_.resize(rows, std::vector<Cell>(cols_));
        rows_ = rows;
        endInsertRows();
    } else {
        beginRemoveRows({}, rows - 1, rows_ - 2);
        cells_.resize(rows);
        rows_ = rows;
        endRemoveRows();
    }
}

const std::string& StringGridModel::cell(int col, int row) const
{
    return valid(col, row) ? cells_[row][col].text : kEmpty;
}

bool StringGridModel::setCell(int col, int row, std::string_view text)
{
    if (!valid(col, row) || cells_[row][col].text == text)
        return false;
    cells_[row][col].text = std::string(text);
    if (batchDepth_ > 0)
        return true;
    if (row == 0 && col > 0)
        emit headerDataChanged(Qt::Horizontal, col - 1, col - 1);
    else if (col == 0 && row > 0)
        emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
    else if (row > 0 && col > 0)
        emit dataChanged(index(row - 1, col - 1), index(row - 1, col - 1));
    return true;
}

TGridInfo* StringGridModel::object(int col, int row) const
{
    return valid(col, row) ? cells_[row][col].object : nullptr;
}

void StringGridModel::setObject(int col, int row, TGridInfo* object)
{
    if (!valid(col, row) || cells_[row][col].object == object)
        return;
    cells_[row][col].object = object;
    // The row object decides the colours of the whole row.
    if (col == 0 && row > 0)
        refreshRow(row);
}

void StringGridModel::setColumns(grid::ColumnDefs columns)
{
    columns_ = std::move(columns);
}

void StringGridModel::setSortTyp(int col, char sortTyp)
{
    if (col >= 0 && col < static_cast<int>(columns_.sortTyp.size()))
        columns_.sortTyp[col] = sortTyp;
}

void StringGridModel::moveGridRow(int from, int to)
{
    if (from < 1 || to < 1 || from >= rows_ || to >= rows_ || from == to)
        return;
    // Qt names the destination in the coordinates before the move.
    const int a = from - 1, b = to - 1;
    beginMoveRows({}, a, a, {}, b > a ? b + 1 : b);
    auto row = std::move(cells_[from]);
    cells_.erase(cells_.begin() + from);
    cells_.insert(cells_.begin() + to, std::move(row));
    endMoveRows();
}

void StringGridModel::rearrangeRows(const std::vector<int>& rows, const std::vector<int>& order)
{
    if (rows.size() != order.size() || rows.empty())
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<std::vector<Cell>> taken;
    taken.reserve(rows.size());
    for (int r : rows)
        taken.push_back(std::move(cells_[r]));
    for (std::size_t i = 0; i < rows.size(); ++i)
        cells_[rows[i]] = std::move(taken[order[i]]);
    // Persistent indexes follow their rows.
    std::vector<int> newPlace(rows_, -1);
    for (std::size_t i = 0; i < rows.size(); ++i)
        newPlace[rows[order[i]]] = rows[i];
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& idx : from) {
        const int gridRow = idx.row() + 1;
        const int target = newPlace[gridRow] >= 0 ? newPlace[gridRow] : gridRow;
        to.push_back(index(target - 1, idx.column()));
    }
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

std::vector<int> StringGridModel::sortRows(const std::vector<int>& rows, int col,
                                           const grid::SortSettings& settings,
                                           const grid::SortCompareHook& hook)
{
    std::vector<grid::SortEntry> entries;
    entries.reserve(rows.size());
    for (int r : rows)
        entries.push_back({cell(col, r), object(0, r)});
    std::vector<int> order = grid::sortOrder(entries, settings, hook);
    rearrangeRows(rows, order);
    return order;
}

void StringGridModel::refreshRow(int row)
{
    if (batchDepth_ > 0 || row < 1 || row >= rows_ || cols_ < 2)
        return;
    emit dataChanged(index(row - 1, 0), index(row - 1, cols_ - 2));
}

void StringGridModel::endBatch()
{
    if (batchDepth_ == 0 || --batchDepth_ > 0)
        return;
    if (cols_ > 1)
        emit headerDataChanged(Qt::Horizontal, 0, cols_ - 2);
    if (rows_ > 1)
        emit headerDataChanged(Qt::Vertical, 0, rows_ - 2);
    refreshAll();
}

void StringGridModel::refreshAll()
{
    if (rows_ < 2 || cols_ < 2)
        return;
    emit dataChanged(index(0, 0), index(rows_ - 2, cols_ - 2));
}

int StringGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_ - 1;
}

int StringGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : cols_ - 1;
}

QVariant StringGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const std::string& text = cell(index.column() + 1, index.row() + 1);
    switch (role) {
    case Qt::DisplayRole:
        return ansiToQString(text);
    case AnsiTextRole:
        return QByteArray::fromStdString(text);
    default:
        return {};
    }
}

QVariant StringGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const int col = orientation == Qt::Horizontal ? section + 1 : 0;
    const int row = orientation == Qt::Horizontal ? 0 : section + 1;
    if (role == Qt::ToolTipRole && headerHint_) {
        const QString hint = headerHint_(col, row);
        return hint.isEmpty() ? QVariant() : QVariant(hint);
    }
    if (role != Qt::DisplayRole)
        return {};
    return ansiToQString(headerText_ ? headerText_(col, row) : cell(col, row));
}

Qt::ItemFlags StringGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace kovanta
