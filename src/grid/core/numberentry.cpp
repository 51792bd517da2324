#include "grid/core/numberentry.h"

#include "grid/core/cellrules.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace kovanta::grid {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

struct Decimal {
    bool negative = false;
    std::string intDigits;
    std::string fracDigits;
};

// [blanks] [sign] digits [, digits] [blanks]; at least one digit.
std::optional<Decimal> parseDecimal(std::string_view text)
{
    std::size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t'))
        ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t' || text[e - 1] == '\0'))
        --e;
    Decimal d;
    std::size_t i = b;
    if (i < e && (text[i] == '-' || text[i] == '+')) {
        d.negative = text[i] == '-';
        ++i;
    }
    while (i < e && isDigit(text[i]))
        d.intDigits.push_back(text[i++]);
    if (i < e && text[i] == kDecimalSeparator) {
        ++i;
        while (i < e && isDigit(text[i]))
            d.fracDigits.push_back(text[i++]);
    }
    if (i != e || (d.intDigits.empty() && d.fracDigits.empty()))
        return std::nullopt;
    return d;
}

// Adds one to a string of decimal digits.
void incrementDigits(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

} // namespace

void NumberEntry::setDecimals(int decimals)
{
    decimals_ = std::clamp(decimals, 0, 9);
}

std::string NumberEntry::format(std::string_view text, int decimals)
{
    decimals = std::clamp(decimals, 0, 9);
    Decimal d = parseDecimal(text).value_or(Decimal{});
    // Round half away from zero on the digits themselves: no binary floating point, so
    // "0,0005" with 3 decimals becomes "0,001" and large values keep every digit.
    std::string digits =
        d.intDigits + d.fracDigits.substr(0, std::min<std::size_t>(d.fracDigits.size(), decimals));
    digits.append(static_cast<std::size_t>(decimals) -
                      std::min<std::size_t>(d.fracDigits.size(), decimals),
                  '0');
    if (d.fracDigits.size() > static_cast<std::size_t>(decimals) && d.fracDigits[decimals] >= '5')
        incrementDigits(digits);
    while (digits.size() < static_cast<std::size_t>(decimals) + 1)
        digits.insert(digits.begin(), '0');
    std::size_t lead = 0;
    while (lead + decimals + 1 < digits.size() && digits[lead] == '0')
        ++lead;
    digits.erase(0, lead);
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    std::string out = (d.negative && !zero) ? "-" : "";
    out += digits.substr(0, digits.size() - decimals);
    if (decimals > 0) {
        out += kDecimalSeparator;
        out += digits.substr(digits.size() - decimals);
    }
    return out;
}

void NumberEntry::load(std::string_view cellText)
{
    text_ = format(cellText, decimals_);
    selStart_ = 0;
    selLength_ = std::max(0, length() - 1);
}

void NumberEntry::setState(std::string text, int selStart, int selLength)
{
    text_ = std::move(text);
    selStart_ = std::clamp(selStart, 0, length());
    selLength_ = std::clamp(selLength, 0, length() - selStart_);
}

void NumberEntry::selectAll()
{
    selStart_ = 0;
    selLength_ = length();
}

void NumberEntry::numericDelete(int p, bool forward)
{
    const int len = length();
    const int n = decimals_;
    if (p <= 0 || p > len)
        return;
    if (n == 0) {
        if (len == 2 && p == 2 && negative()) {
            text_ = "-0";
            selStart_ = 1;
        } else if (len == 1) {
            text_ = "0";
            selStart_ = 1;
        } else {
            text_.erase(p - 1, 1);
            selStart_ = p - 1;
        }
    } else if (p > len - n) {
        // A decimal digit: the decimals shift left and keep their count.
        text_.erase(p - 1, 1);
        text_.push_back('0');
        selStart_ = p - 1;
    } else if (p == len - n) {
        // The separator itself stays; the caret steps over it.
        selStart_ = forward ? p : p - 1;
    } else if (p == 2 && p == len - n - 1 && negative()) {
        text_ = "-0" + text_.substr(2);
        selStart_ = 1;
    } else if (p == 1 && p == len - n - 1) {
        text_ = "0" + text_.substr(1);
        selStart_ = 1;
    } else {
        text_.erase(p - 1, 1);
        selStart_ = p - 1;
    }
    selLength_ = 0;
}

void NumberEntry::backspace()
{
    if (selLength_ > 0)
        deleteSelection();
    else
        numericDelete(selStart_, false);
}

void NumberEntry::forwardDelete()
{
    numericDelete(selStart_ + 1, true);
}

void NumberEntry::deleteSelection()
{
    if (selLength_ <= 0)
        return;
    const int k = selLength_;
    selStart_ += selLength_;
    selLength_ = 0;
    for (int i = 0; i < k; ++i)
        numericDelete(selStart_, false);
}

void NumberEntry::deleteKey()
{
    if (selLength_ > 0)
        deleteSelection();
    else
        forwardDelete();
}

void NumberEntry::setLimits(std::int64_t minUnits, std::int64_t maxUnits)
{
    limited_ = true;
    minUnits_ = std::min(minUnits, maxUnits);
    maxUnits_ = std::max(minUnits, maxUnits);
}

bool NumberEntry::outsideLimits(std::int64_t value) const
{
    return limited_ && (value < minUnits_ || value > maxUnits_);
}

bool NumberEntry::keyPress(char key)
{
    refusedAtLimit_ = false;
    const std::string text = text_;
    const int start = selStart_;
    const int length = selLength_;
    const std::int64_t before = units();
    if (!keyPressUnlimited(key))
        return false;
    const std::int64_t after = units();
    const auto distance = [this](std::int64_t v) {
        return v < minUnits_ ? minUnits_ - v : v > maxUnits_ ? v - maxUnits_ : 0;
    };
    // A backspace only ever shortens the number; every other key must keep it in the range,
    // or at least not take it farther out than it already was.
    if (key != '\b' && outsideLimits(after) &&
        (!outsideLimits(before) || distance(after) > distance(before))) {
        text_ = text;
        selStart_ = start;
        selLength_ = length;
        refusedAtLimit_ = true;
        return false;
    }
    return true;
}

bool NumberEntry::keyPressUnlimited(char key)
{
    const int n = decimals_;
    const bool separator = key == kDecimalSeparator;
    // A key that is no part of a number is dropped before anything else: a stray blank or
    // letter must not wipe a selected value (the editor selects the count it opens on).
    if (key != '\b' && key != '-' && !isDigit(key) && !separator)
        return false;
    if (separator && n == 0)
        return false;
    if (separator) {
        selLength_ = 0;
    } else if (key == '\b' && selLength_ > 0) {
        // Backspace on a selection removes exactly the selection, not one character more.
        deleteSelection();
        return true;
    } else {
        deleteSelection();
    }
    if (key == '-') {
        if (minusIgnore_)
            return false;
        if (!negative()) {
            text_.insert(text_.begin(), '-');
            selStart_ = std::min(selStart_ + 1, length());
        } else {
            const std::size_t at = text_.front() == '-' ? 0 : text_.find('-');
            text_.erase(at, 1);
            selStart_ = std::max(0, selStart_ - 1);
        }
        return true;
    }
    int len = length();
    if (key != '\b' && !separator && n > 0 && selStart_ == len)
        return false;
    if (separator) {
        selStart_ = std::max(0, len - n);
        return true;
    }
    if (negative() && selStart_ == 0)
        selStart_ = 1;
    if (key == '\b') {
        backspace();
        return true;
    }
    // A digit: select what it overwrites, or insert it.
    const int caret = selStart_;
    if (caret <= 2 && len >= 2 && text_[1] == '0' && negative()) {
        selStart_ = 1;
        selLength_ = 1;
    } else if (caret <= 1 && len >= 1 && text_[0] == '0') {
        selStart_ = 0;
        selLength_ = 1;
    } else if (n > 0 && (caret >= len - n || caret < len - n - 1) && caret < len) {
        selLength_ = 1;
    }
    if (selLength_ == 0 && len >= kMaxLength) {
        refusedAtLimit_ = true;
        return false;
    }
    text_.replace(selStart_, selLength_, 1, key);
    ++selStart_;
    selLength_ = 0;
    return true;
}

void NumberEntry::numpadPlus()
{
    selLength_ = 0;
    if (const auto at = text_.find('-'); at != std::string::npos)
        text_.erase(at, 1);
    selStart_ = 0;
}

bool NumberEntry::numpadMinus()
{
    if (minusIgnore_) {
        std::erase(text_, '-');
        selStart_ = std::min(selStart_, length());
        selLength_ = std::min(selLength_, length() - selStart_);
        return false;
    }
    if (negative()) {
        selStart_ = 0;
        selLength_ = 0;
        return false;
    }
    selLength_ = 0;
    return true;
}

bool NumberEntry::separatorKeyDown()
{
    // Without decimals the separator is no part of the number and changes nothing.
    if (decimals_ == 0)
        return false;
    deleteKey();
    return true;
}

void NumberEntry::paste(std::string_view clipboard)
{
    // A text without any character of a number (a word copied by mistake) leaves the value.
    if (clipboard.find_first_of(decimals_ > 0 ? "0123456789-," : "0123456789-") ==
        std::string_view::npos)
        return;
    deleteSelection();
    for (char c : clipboard)
        keyPress(c);
}

std::int64_t NumberEntry::units() const
{
    const auto d = parseDecimal(text_);
    if (!d)
        return 0;
    std::string digits =
        d->intDigits +
        d->fracDigits.substr(0, std::min<std::size_t>(d->fracDigits.size(), decimals_));
    digits.append(static_cast<std::size_t>(decimals_) -
                      std::min<std::size_t>(d->fracDigits.size(), decimals_),
                  '0');
    std::int64_t v = 0;
    for (char c : digits) {
        if (v > (std::numeric_limits<std::int64_t>::max() - 9) / 10)
            return 0;
        v = v * 10 + (c - '0');
    }
    return d->negative ? -v : v;
}

void NumberEntry::setUnits(std::int64_t units)
{
    const bool neg = units < 0;
    std::string digits = std::to_string(neg ? -(units + 1) + 1 : units);
    if (decimals_ > 0) {
        while (digits.size() < static_cast<std::size_t>(decimals_) + 1)
            digits.insert(digits.begin(), '0');
        digits.insert(digits.end() - decimals_, kDecimalSeparator);
    }
    text_ = format((neg ? "-" : "") + digits, decimals_);
    selectAll();
}

bool applyKeyCalc(NumberEntry& entry, char letter, const KeyCalcSwitches& sw)
{
    double factor = 0;
    switch (letter) {
    case 'G':
        factor = sw.skonto ? 0.99 : 0;
        break;
    case 'Q':
        factor = sw.skonto ? 0.98 : 0;
        break;
    case 'W':
        factor = sw.skonto ? 0.97 : 0;
        break;
    case 'A':
        factor = sw.mwst ? 1.20 : 0;
        break;
    case 'B':
        factor = sw.mwst ? 1 / 1.20 : 0;
        break;
    case 'C':
        factor = sw.mwst ? 1.10 : 0;
        break;
    case 'D':
        factor = sw.mwst ? 1 / 1.10 : 0;
        break;
    case 'H':
        factor = sw.mwst ? 1.12 : 0;
        break;
    case 'I':
        factor = sw.mwst ? 1 / 1.12 : 0;
        break;
    case 'E':
        factor = sw.eur ? 13.7603 : 0;
        break;
    case 'S':
        factor = sw.ats ? 1 / 13.7603 : 0;
        break;
    default:
        break;
    }
    if (factor == 0)
        return false;
    const double result = std::round(static_cast<double>(entry.units()) * factor);
    // A result beyond what the entry can hold leaves the value alone.
    if (!(std::abs(result) < 1e15))
        return true;
    entry.setUnits(static_cast<std::int64_t>(result));
    return true;
}

} // namespace kovanta::grid
