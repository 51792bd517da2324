#pragma once

#include "recipe/records.h"

#include <QObject>

#include <memory>
#include <vector>

namespace kovanta {

// The recipes of the last read: the one owner of the recipe list entries. The recipe list grid
// (StringGrid1) shows them, holding non-owning pointers in its row objects (gridsetup.h binds
// it), so a grid row leads to its entry at once. A read replaces all entries at once: pointers
// taken from entry() are valid only until the next setEntries()/clear(), and aboutToReset() is
// the last moment at which they may be used.
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
    TImpListInfo* entry(int index) const;
    const Entries& entries() const { return entries_; }

    // Tells the views that the fields of the entry at index changed (e.g. its InPlan mark);
    // out of range: ignored.
    void refreshRow(int index);

    // True when any entry is marked for the menu plan.
    bool anyInPlan() const;

signals:
    // The entries are about to be freed: drop every pointer to them.
    void aboutToReset();
    // The new entries are in place.
    void reset();
    // The fields of entry changed.
    void entryChanged(const TImpListInfo* entry);

private:
    Entries entries_;
};

} // namespace kovanta
