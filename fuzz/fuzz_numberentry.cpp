// Random key sequences on the fixed-point entry of the grid's cell editor, plus the parsers of
// column definitions and stored widths. Checks the entry's promises: the number of decimals and
// a non-empty integer part survive every key, and the text never outgrows the editor.
#include "fuzzsupport.h"
#include "grid/core/cellrules.h"
#include "grid/core/colnames.h"
#include "grid/core/gridwidths.h"
#include "grid/core/numberentry.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using fuzz::Check;

// A text as the entry keeps it: [-] digits [, N digits].
void checkShape(const kovanta::grid::NumberEntry& e, std::size_t loadedLength)
{
    const std::string& t = e.text();
    const int n = e.decimals();
    Check(!t.empty());
    // Typing never lengthens the text beyond the editor's limit (a sign may come on top).
    Check(t.size() <=
          std::max<std::size_t>(loadedLength, kovanta::grid::NumberEntry::kMaxLength + 1));
    const std::size_t start = t.front() == '-' ? 1 : 0;
    const std::size_t comma = t.find(',');
    if (n == 0) {
        Check(comma == std::string::npos);
    } else {
        Check(comma != std::string::npos);
        Check(t.size() - comma - 1 == static_cast<std::size_t>(n));
        Check(comma > start); // the integer part never becomes empty
    }
    Check(e.selStart() >= 0 && e.selStart() <= static_cast<int>(t.size()));
    Check(e.selLength() >= 0 && e.selStart() + e.selLength() <= static_cast<int>(t.size()));
}

} // namespace

int fuzz::numberEntry(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    kovanta::grid::parseColEntry(input);
    kovanta::grid::parseSizes(input);
    kovanta::grid::digitValue(input);

    kovanta::grid::NumberEntry e(data[0] % 10);
    e.setMinusIgnore(data[1] & 1);
    e.load(input.substr(2, 12));
    const std::size_t loaded = e.text().size() + 1;
    checkShape(e, loaded);
    for (std::size_t i = 2; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        switch (static_cast<unsigned char>(c) % 8) {
        case 0:
            e.deleteKey();
            break;
        case 1:
            e.numpadPlus();
            break;
        case 2:
            if (e.numpadMinus())
                e.keyPress('-');
            break;
        case 3:
            // Caret and selection somewhere in the text, as a mouse would leave them.
            e.setState(e.text(), static_cast<unsigned char>(c) % (e.text().size() + 1),
                       (static_cast<unsigned char>(c) / 8) % 3);
            break;
        case 4:
            fuzz::Reached("numberentry: decimal separator typed");
            e.separatorKeyDown();
            e.keyPress(',');
            break;
        case 5:
            e.keyPress('\b');
            break;
        default:
            e.keyPress(c % 2 ? static_cast<char>('0' + static_cast<unsigned char>(c) % 10) : c);
            break;
        }
        checkShape(e, loaded);
    }
    e.paste(input);
    checkShape(e, loaded);
    return 0;
}

KOVANTA_FUZZ_ENTRY(fuzz::numberEntry)
