#pragma once

// Pixel sizes of the window layout. The layout was designed in pixels for an 8-point system
// font 13 pixels high whose letters average 6 pixels; today's user-interface fonts are larger,
// so every designed size is multiplied by how much larger the font is, and the layout keeps
// its proportions with any font. Sizes are logical pixels: a screen scale factor (HiDPI) is
// applied by the toolkit on top of them.
namespace kovanta {

class UiScale {
public:
    static constexpr int kDesignFontHeight = 13;
    static constexpr int kDesignLetterWidth = 6;

    // The identity: designed sizes are used as they stand.
    UiScale() = default;
    // From the user-interface font: its height in pixels and the width of the 52 letters
    // "A".."Z", "a".."z" together. The factor is the larger of the height ratio and the letter
    // width ratio, so that neither a taller nor a wider font cuts the designed texts; a font
    // smaller than the design font shrinks the layout in proportion. Values below 1 pixel are
    // taken as the design font's.
    static UiScale fromFont(int fontHeight, int alphabetWidth);
    // From the font height alone (letters as wide as the design font's, in proportion).
    static UiScale fromFontHeight(int fontHeight);

    double factor() const { return factor_; }
    // A designed size in pixels, rounded to the nearest pixel (at least 1 for a positive size).
    int px(int designed) const;
    // The designed size of a pixel size, rounded: what is stored, so that stored sizes mean
    // the same on every screen.
    int designed(int pixels) const;
    // A designed size in fractional pixels (tab stops, fonts given in pixels).
    double pxF(double designed) const { return designed * factor_; }

    bool operator==(const UiScale&) const = default;

private:
    explicit UiScale(double factor) : factor_(factor) {}
    double factor_ = 1.0;
};

} // namespace kovanta
