#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kovanta::grid {

// One column definition, parsed from an entry such as "Portionen|50|0|1|0|Portionsanzahl":
// name | width | data type | read-only | sizing | hint. '|', ',' and ';' all end a field, so no
// field can contain them. Fields that are absent or empty keep the defaults below; only the
// first character of fields 3 to 5 counts. A width that is not a decimal number reads as 0,
// which the grid replaces by its default column width.
struct ColEntry {
    std::string name;
    int width = 0;
    char datenTyp = 'L';
    char readOnly = '0';
    char colSizing = '0';
    std::string hint;
};

ColEntry parseColEntry(std::string_view entry);

// The per-column state derived from a column definition list: one character per column in
// each of the four strings, index = column number. Columns at or beyond the length of these
// strings (a column count raised by code afterwards) count as read-only.
struct ColumnDefs {
    std::string sortTyp;   // next header sort of the column: '0'..'3'
    std::string datenTyp;  // data type character
    std::string readOnly;  // '0' editable, anything else read-only
    std::string colSizing; // '0' the user may resize the column
    std::vector<int> designedWidths;
    std::vector<std::string> hints;

    int count() const { return static_cast<int>(datenTyp.size()); }
    bool covers(int col) const
    {
        return col >= 0 && col < static_cast<int>(datenTyp.size()) &&
               col < static_cast<int>(readOnly.size()) && col < static_cast<int>(sortTyp.size()) &&
               col < static_cast<int>(colSizing.size());
    }
    // 'L' for columns without a definition.
    char datenTypAt(int col) const { return covers(col) ? datenTyp[col] : 'L'; }
    bool editable(int col) const { return covers(col) && readOnly[col] == '0'; }
    bool resizable(int col) const { return covers(col) && colSizing[col] == '0'; }
    char sortTypAt(int col) const { return covers(col) ? sortTyp[col] : '0'; }
    int designedWidth(int col) const
    {
        return col >= 0 && col < static_cast<int>(designedWidths.size()) ? designedWidths[col] : 0;
    }
    std::string hintAt(int col) const
    {
        return col >= 0 && col < static_cast<int>(hints.size()) ? hints[col] : std::string();
    }
};

// Builds the per-column state of a list of entries (sort state reset to '0').
ColumnDefs buildColumnDefs(const std::vector<std::string>& entries);

// TColNames: the column definition list of a grid, one entry per column in column order.
class TColNames {
public:
    TColNames() = default;
    TColNames(std::initializer_list<std::string> entries) : entries_(entries) {}
    explicit TColNames(std::vector<std::string> entries) : entries_(std::move(entries)) {}

    const std::vector<std::string>& entries() const { return entries_; }
    int count() const { return static_cast<int>(entries_.size()); }
    bool empty() const { return entries_.empty(); }
    ColEntry entry(int index) const { return parseColEntry(entries_.at(index)); }
    bool operator==(const TColNames&) const = default;

private:
    std::vector<std::string> entries_;
};

} // namespace kovanta::grid
