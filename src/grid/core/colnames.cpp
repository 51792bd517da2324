#include "grid/core/colnames.h"

#include "grid/core/cellrules.h"

namespace kovanta::grid {

namespace {

bool isFieldEnd(char c)
{
    return c == '|' || c == ',' || c == ';';
}

} // namespace

ColEntry parseColEntry(std::string_view entry)
{
    ColEntry result;
    std::size_t pos = 0;
    int field = 0;
    // An entry ends at its last field present: fields after the end keep their defaults.
    while (pos <= entry.size() && field < 6) {
        std::size_t end = pos;
        while (end < entry.size() && !isFieldEnd(entry[end]))
            ++end;
        const std::string_view value = entry.substr(pos, end - pos);
        switch (field) {
        case 0:
            result.name = std::string(value);
            break;
        case 1:
            result.width = parseInt(value).value_or(0);
            break;
        case 2:
            if (!value.empty())
                result.datenTyp = value.front();
            break;
        case 3:
            if (!value.empty())
                result.readOnly = value.front();
            break;
        case 4:
            if (!value.empty())
                result.colSizing = value.front();
            break;
        case 5:
            result.hint = std::string(value);
            break;
        }
        ++field;
        if (end >= entry.size())
            break;
        pos = end + 1;
    }
    return result;
}

ColumnDefs buildColumnDefs(const std::vector<std::string>& entries)
{
    ColumnDefs defs;
    const std::size_t n = entries.size();
    defs.sortTyp.assign(n, '0');
    defs.datenTyp.assign(n, 'L');
    defs.readOnly.assign(n, '0');
    defs.colSizing.assign(n, '0');
    defs.designedWidths.assign(n, 0);
    defs.hints.assign(n, std::string());
    for (std::size_t i = 0; i < n; ++i) {
        const ColEntry e = parseColEntry(entries[i]);
        defs.datenTyp[i] = e.datenTyp;
        defs.readOnly[i] = e.readOnly;
        defs.colSizing[i] = e.colSizing;
        defs.designedWidths[i] = e.width;
        defs.hints[i] = e.hint;
    }
    return defs;
}

} // namespace kovanta::grid
