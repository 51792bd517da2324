#include "recipelistmodel.h"

#include <algorithm>

namespace kovanta {

RecipeListModel::RecipeListModel(QObject* parent) : QObject(parent) {}

RecipeListModel::~RecipeListModel()
{
    // Views that outlive the list must not keep pointers to its entries.
    emit aboutToReset();
}

void RecipeListModel::setEntries(Entries entries)
{
    emit aboutToReset();
    entries_.swap(entries);
    entries.clear(); // the previous entries die here, after no view can reach them any more
    emit reset();
}

void RecipeListModel::clear()
{
    setEntries({});
}

TImpListInfo* RecipeListModel::entry(int index) const
{
    if (index < 0 || index >= entryCount())
        return nullptr;
    return entries_[static_cast<std::size_t>(index)].get();
}

void RecipeListModel::refreshRow(int index)
{
    if (const TImpListInfo* e = entry(index))
        emit entryChanged(e);
}

bool RecipeListModel::anyInPlan() const
{
    return std::any_of(entries_.begin(), entries_.end(),
                       [](const auto& e) { return e->InPlan != 0; });
}

} // namespace kovanta
