#pragma once

#include "recipe/records.h"

#include <QAbstractTableModel>

#include <memory>
#include <vector>

namespace kovanta {

// The recipes of the last read, one row per entry, in the columns of the recipe list:
//   0 (none, empty), 1 " S" (InPlan), 2 "Rezept", 3 "Rezeptgruppe", 4 "Portionen", 5 "kcal",
//   6 "kJ", 7 "BE", 8 "Chol", 9 "AZ", 10 "WZ", 11 "Filename", 12 (none, EntryIndex).
// The model owns the entries; a read replaces all of them at once, so pointers taken from
// entry() are valid only until the next setEntries()/clear(). Numbers are shown as plain
// decimal integers (a figure the file does not give shows as "0"); texts are ANSI in the
// entries and become QStrings here.
class RecipeListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        ColFixed = 0,
        ColInPlan,
        ColShortName,
        ColGroup,
        ColPortions,
        ColKcal,
        ColKJ,
        ColBE,
        ColChol,
        ColWork,
        ColWait,
        ColFileName,
        ColEntryIndex,
        ColumnCount
    };
    // The entry of a row, for views that want the record rather than the texts.
    static constexpr int EntryRole = Qt::UserRole + 1;

    using Entries = std::vector<std::unique_ptr<TImpListInfo>>;

    explicit RecipeListModel(QObject* parent = nullptr);
    ~RecipeListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Replaces every entry (the old ones are freed) and resets the model.
    void setEntries(Entries entries);
    void clear();

    int entryCount() const { return static_cast<int>(entries_.size()); }
    // The entry of row (0-based), or nullptr when row is out of range. Owned by the model.
    TImpListInfo* entry(int row) const;
    const Entries& entries() const { return entries_; }

    // Tells views that the fields of row changed (e.g. its InPlan mark); out of range: ignored.
    void refreshRow(int row);

    // True when any entry is marked for the menu plan.
    bool anyInPlan() const;

    // The text a cell of an entry shows (column as above); empty for columns out of range.
    static QString cellText(const TImpListInfo& entry, int column);

private:
    Entries entries_;
};

} // namespace kovanta
