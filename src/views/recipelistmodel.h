#pragma once

#include "recipe/records.h"

#include <QObject>

#include <memory>
#include <utility>
#include <vector>

namespace kovanta {

// The recipes of the last read: the one owner of the recipe list entries, and the one place
// their plan marks change. Everything that reads the recipe list (the grid, the quick filter,
// printing, plan files, the menu plan) reads these entries; the recipe list grid shows them
// (RecipeListView), holding non-owning pointers in its row objects.
//
// A read replaces all entries: pointers and indexes are valid only until the next
// setEntries()/clear(), and aboutToReset() is the last moment to use them.
class RecipeListModel : public QObject {
    Q_OBJECT
public:
    using Entries = std::vector<std::unique_ptr<TImpListInfo>>;

    explicit RecipeListModel(QObject* parent = nullptr);
    ~RecipeListModel() override;

    // Replaces every entry (the old ones are freed after aboutToReset() and before reset()).
    void setEntries(Entries entries);
    void clear();

    int entryCount() const { return static_cast<int>(entries_.size()); }
    // The entry at index (0-based, read order), or nullptr when index is out of range.
    TImpListInfo* entry(int index);
    const TImpListInfo* entry(int index) const;
    const Entries& entries() const { return entries_; }
    // The index of an entry of this list given as a row object, -1 for any other object
    // (a binary search over the entries' addresses).
    int indexOf(const TGridInfo* object) const;

    // Sets the plan mark of entry index (InPlan 1 or 0); markChanged() tells when it changed.
    // Out of range: ignored.
    void setMark(int index, bool inPlan);
    // True when any entry is marked for the menu plan.
    bool anyInPlan() const;

signals:
    // The entries are about to be freed: drop every pointer to them.
    void aboutToReset();
    // The new entries are in place.
    void reset();
    // The plan mark of entry index changed.
    void markChanged(int index);

private:
    Entries entries_;
    // The entries' addresses in ascending order, each with its index.
    std::vector<std::pair<const TGridInfo*, int>> byAddress_;
};

} // namespace kovanta
