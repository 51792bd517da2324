#include "views/recipelistmodel.h"

#include <algorithm>
#include <functional>

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
    byAddress_.clear();
    byAddress_.reserve(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i)
        byAddress_.emplace_back(entries_[i].get(), static_cast<int>(i));
    std::sort(byAddress_.begin(), byAddress_.end(), [](const auto& a, const auto& b) {
        return std::less<const TGridInfo*>()(a.first, b.first);
    });
    emit reset();
}

void RecipeListModel::clear()
{
    setEntries({});
}

TImpListInfo* RecipeListModel::entry(int index)
{
    if (index < 0 || index >= entryCount())
        return nullptr;
    return entries_[static_cast<std::size_t>(index)].get();
}

const TImpListInfo* RecipeListModel::entry(int index) const
{
    if (index < 0 || index >= entryCount())
        return nullptr;
    return entries_[static_cast<std::size_t>(index)].get();
}

int RecipeListModel::indexOf(const TGridInfo* object) const
{
    const auto at = std::lower_bound(byAddress_.begin(), byAddress_.end(), object,
                                     [](const auto& a, const TGridInfo* b) {
                                         return std::less<const TGridInfo*>()(a.first, b);
                                     });
    return at != byAddress_.end() && at->first == object ? at->second : -1;
}

void RecipeListModel::setMark(int index, bool inPlan)
{
    TImpListInfo* e = entry(index);
    const int mark = inPlan ? 1 : 0;
    if (!e || e->InPlan == mark)
        return;
    e->InPlan = mark;
    emit markChanged(index);
}

bool RecipeListModel::anyInPlan() const
{
    return std::any_of(entries_.begin(), entries_.end(),
                       [](const auto& e) { return e->InPlan != 0; });
}

} // namespace kovanta
