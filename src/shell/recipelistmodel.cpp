#include "recipelistmodel.h"

#include "platform/qt/ansiqstring.h"

#include <algorithm>

namespace kovanta {

RecipeListModel::RecipeListModel(QObject* parent) : QAbstractTableModel(parent) {}

RecipeListModel::~RecipeListModel() = default;

int RecipeListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : entryCount();
}

int RecipeListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString RecipeListModel::cellText(const TImpListInfo& e, int column)
{
    switch (column) {
    case ColInPlan:
        return QString::number(e.InPlan);
    case ColShortName:
        return ansiToQString(e.ShortName);
    case ColGroup:
        return ansiToQString(e.GroupName);
    case ColPortions:
        return QString::number(e.Portions);
    case ColKcal:
        return QString::number(e.Kcal);
    case ColKJ:
        return QString::number(e.KJ);
    case ColBE:
        return QString::number(e.BE);
    case ColChol:
        return QString::number(e.Chol);
    case ColWork:
        return QString::number(e.WorkMinutes);
    case ColWait:
        return QString::number(e.WaitMinutes);
    case ColFileName:
        // A path, not ANSI text: the file system spells it in UTF-8.
        return QString::fromStdString(e.FileName);
    case ColEntryIndex:
        return QString::number(e.EntryIndex);
    default:
        return {};
    }
}

QVariant RecipeListModel::data(const QModelIndex& index, int role) const
{
    const TImpListInfo* e = index.isValid() ? entry(index.row()) : nullptr;
    if (!e)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return cellText(*e, index.column());
    case Qt::TextAlignmentRole: {
        const int c = index.column();
        const bool text = c == ColShortName || c == ColGroup || c == ColFileName;
        return QVariant::fromValue(Qt::AlignVCenter | (text ? Qt::AlignLeft : Qt::AlignRight));
    }
    case EntryRole:
        return QVariant::fromValue(static_cast<void*>(const_cast<TImpListInfo*>(e)));
    default:
        return {};
    }
}

QVariant RecipeListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case ColInPlan:
        return QStringLiteral(" S");
    case ColShortName:
        return QStringLiteral("Rezept");
    case ColGroup:
        return QStringLiteral("Rezeptgruppe");
    case ColPortions:
        return QStringLiteral("Portionen");
    case ColKcal:
        return QStringLiteral("kcal");
    case ColKJ:
        return QStringLiteral("kJ");
    case ColBE:
        return QStringLiteral("BE");
    case ColChol:
        return QStringLiteral("Chol");
    case ColWork:
        return QStringLiteral("AZ");
    case ColWait:
        return QStringLiteral("WZ");
    case ColFileName:
        return QStringLiteral("Filename");
    default:
        return QString();
    }
}

void RecipeListModel::setEntries(Entries entries)
{
    beginResetModel();
    entries_.swap(entries);
    endResetModel();
    // The previous entries die here, after no view can reach them any more.
}

void RecipeListModel::clear()
{
    setEntries({});
}

TImpListInfo* RecipeListModel::entry(int row) const
{
    if (row < 0 || row >= entryCount())
        return nullptr;
    return entries_[static_cast<size_t>(row)].get();
}

void RecipeListModel::refreshRow(int row)
{
    if (row < 0 || row >= entryCount())
        return;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

bool RecipeListModel::anyInPlan() const
{
    return std::any_of(entries_.begin(), entries_.end(),
                       [](const auto& e) { return e->InPlan != 0; });
}

} // namespace kovanta
