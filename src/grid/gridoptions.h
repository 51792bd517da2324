#pragma once

#include "recipe/records.h"

class QLineEdit;

namespace kovanta {

// The grid options of the list grid (the subset of the classic string grid's options that this
// program uses; the others are the view's own behaviour).
enum GridOption : unsigned {
    goFixedVertLine = 1u << 0,
    goFixedHorzLine = 1u << 1,
    goVertLine = 1u << 2,
    goHorzLine = 1u << 3,
    goRangeSelect = 1u << 4,
    goDrawFocusSelected = 1u << 5,
    goRowSizing = 1u << 6,
    goColSizing = 1u << 7,
    goRowMoving = 1u << 8,
    goColMoving = 1u << 9,
    goEditing = 1u << 10,
    goTabs = 1u << 11,
    goRowSelect = 1u << 12,
    goAlwaysShowEditor = 1u << 13,
    goThumbTracking = 1u << 14,
};
using GridOptions = unsigned;

// System colours as the grid's colour properties may name them (the high bit marks them).
inline constexpr TColor clHighlight = static_cast<TColor>(0x8000000Du);
inline constexpr TColor clHighlightText = static_cast<TColor>(0x8000000Eu);
inline constexpr TColor clWindow = static_cast<TColor>(0x80000005u);

// A calculator the number editor opens with the R key. This program assigns none.
class TVemoCalc {
public:
    virtual ~TVemoCalc() = default;
    virtual void Open(QLineEdit* editor, int decimals) = 0;
};

} // namespace kovanta
