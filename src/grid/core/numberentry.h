#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kovanta::grid {

// The fixed-point number entry of the grid's cell editor, as a value type: the editor widget
// forwards keys to it and shows text, caret and selection. The text always keeps its number of
// decimals and a non-empty integer part; the decimal separator is the comma.
//
// Positions are 0-based caret positions (between characters). Keys are ANSI characters; the
// widget maps Backspace to '\b'. Nothing here throws; unparsable texts read as 0.
class NumberEntry {
public:
    static constexpr int kMaxLength = 16;

    explicit NumberEntry(int decimals = 2) { setDecimals(decimals); }

    // 0..9, clamped.
    void setDecimals(int decimals);
    int decimals() const { return decimals_; }
    void setMinusIgnore(bool on) { minusIgnore_ = on; }
    // Limits what can be typed to values from minUnits to maxUnits (in units of the last
    // decimal place, see units()): a key that would take the value outside is refused. A value
    // already outside (a longer stored number) may still be edited towards the range.
    void setLimits(std::int64_t minUnits, std::int64_t maxUnits);
    void clearLimits() { limited_ = false; }
    bool limited() const { return limited_; }

    // Loads a cell text: the value is reformatted with the decimals ("0" or "0,000"), the caret
    // goes to 0 and every character but the last is selected.
    void load(std::string_view cellText);

    // Sets text and selection as the edit control holds them (after a cut, for instance).
    void setState(std::string text, int selStart, int selLength = 0);

    const std::string& text() const { return text_; }
    int selStart() const { return selStart_; }
    int selLength() const { return selLength_; }

    // One key press of the fixed-point entry: '0'..'9', '-', ',' and '\b'; every other key
    // (and ',' without decimals) is dropped without touching text or selection. Returns false
    // when the key was dropped; refusedAtLimit() then tells whether it was refused because the
    // number would have grown beyond its length or its limits (the editor beeps for those).
    bool keyPress(char key);
    bool refusedAtLimit() const { return refusedAtLimit_; }

    // One numeric backspace / forward deletion at the caret.
    void backspace();
    void forwardDelete();
    // Removes the selection by numeric deletion (no-op without one).
    void deleteSelection();
    // Delete key: the selection, else one forward deletion.
    void deleteKey();

    // The ',' or numpad decimal key going down: the selection by numeric deletion, else one
    // forward deletion. The ',' key press follows separately. Without decimals nothing happens
    // and the result is false.
    bool separatorKeyDown();
    // Numpad '+': removes a minus sign and puts the caret at 0. Then select everything.
    void numpadPlus();
    // Numpad '-': returns true when the key should still pass on as a '-' key press.
    bool numpadMinus();
    // Caret to the start with the whole text selected.
    void selectAll();

    // Delivers each character as a key press after removing the selection; refused characters
    // are dropped one by one. A text holding no character of a number changes nothing.
    void paste(std::string_view clipboard);

    // The value in units of the last decimal place ("12,500" with 3 decimals: 12500); 0 when
    // the text is not a number.
    std::int64_t units() const;
    bool isZero() const { return units() == 0; }
    // Writes units back, formatted with the decimals, whole text selected.
    void setUnits(std::int64_t units);

    // Formats a value text with the given decimals: "12,5" with 3 gives "12,500", "7" with 0
    // gives "7", "abc" gives "0,000". Rounds half away from zero.
    static std::string format(std::string_view text, int decimals);

private:
    bool keyPressUnlimited(char key);
    bool outsideLimits(std::int64_t value) const;
    void numericDelete(int p, bool forward);
    bool negative() const { return text_.find('-') != std::string::npos; }
    int length() const { return static_cast<int>(text_.size()); }

    std::string text_ = "0,00";
    int selStart_ = 0;
    int selLength_ = 0;
    int decimals_ = 2;
    bool minusIgnore_ = false;
    bool limited_ = false;
    std::int64_t minUnits_ = 0;
    std::int64_t maxUnits_ = 0;
    bool refusedAtLimit_ = false;
};

// The letter-key calculations of the number editor. Each is enabled by its switch; all are
// off in this program. Returns true when the letter was a calculation that ran.
struct KeyCalcSwitches {
    bool mwst = false;
    bool skonto = false;
    bool eur = false;
    bool ats = false;
};
bool applyKeyCalc(NumberEntry& entry, char letter, const KeyCalcSwitches& switches);

} // namespace kovanta::grid
