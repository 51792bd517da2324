#pragma once

#include <QString>

namespace kovanta {

class TAStringGrid;

// The registry persistence of a grid (published as TAStringGrid::SaveSettings).
struct TAGridSaveSettings {
    bool AutoSave = true;        // load when the grid is loaded, save widths when destroyed
    bool SaveHeight = false;     // also keep the grid height
    bool SaveWidth = false;      // also keep the grid width
    QString RegistryKey;         // empty: "Software\<program>\<owner form>"
    bool SaveColumnSizes = true; // keep the column widths

    // Filled when the grid has been loaded.
    QString EffectiveKey;
    QString Section;
};

// The default key path: "Software\" + program file name up to its first "." + "\" + owner form
// name up to its first "_", plus "\" + tag when tag is not 0.
QString defaultGridRegistryKey(const QString& programFileName, const QString& ownerFormName,
                               int ownerTag);

// Reads what SaveSettings asks for from the settings store: the grid's size, and its column
// widths from "Sizes" (in designed pixels). Fills the effective key and the section. Returns
// true when column widths were applied.
bool restoreGridSizes(TAStringGrid& grid);
// Writes "Sizes" (with AutoSave and SaveColumnSizes, when columnWidths is set) and the grid's
// height and width when SaveHeight and SaveWidth ask for them.
void storeGridSizes(TAStringGrid& grid, bool columnWidths);

} // namespace kovanta
