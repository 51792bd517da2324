#include "jsonld/ingredient.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace kovanta::jsonld {
namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A byte of a word: an ASCII letter or any byte of a non-ASCII UTF-8 character.
bool IsWordByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           static_cast<unsigned char>(c) >= 0x80;
}

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::size_t CodePoints(std::string_view utf8)
{
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

std::size_t SkipBlanks(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    return pos;
}

// The units of German and English recipe sites that fit the unit field, in lower case and
// without a closing ".". A word not listed here is the start of the article.
constexpr std::string_view kUnits[] = {
    // German
    "g", "gr", "kg", "mg", "l", "ml", "cl", "dl", "el", "tl", "msp", "prise", "prisen", "pck",
    "pkg", "pk", "päckchen", "packung", "stk", "st", "stück", "bund", "bd", "zehe", "zehen",
    "dose", "dosen", "becher", "tasse", "tassen", "glas", "gläser", "scheibe", "scheiben",
    "blatt", "blätter", "zweig", "zweige", "stange", "stangen", "knolle", "knollen", "kopf",
    "köpfe", "beutel", "würfel", "tropfen", "schuss", "spritzer", "handvoll", "liter", "gramm",
    "kilo", "pfund", "tube", "tuben", "flasche", "schale", "schalen", "kugel", "kugeln",
    "rolle", "rollen", "stiel", "stiele", "portion", "ring", "ringe", "stängel", "büschel",
    "tafel", "tafeln", "riegel", "rispe", "rispen", "messersp", "pkt", "btl", "fl", "ltr",
    // English
    "cup", "cups", "tbsp", "tbs", "tsp", "teaspoon", "oz", "ounce", "ounces", "lb", "lbs",
    "pound", "pounds", "pinch", "pinches", "dash", "dashes", "clove", "cloves", "can", "cans",
    "slice", "slices", "stick", "sticks", "bunch", "sprig", "sprigs", "piece", "pieces", "pint",
    "pints", "quart", "quarts", "gallon", "gallons", "package", "packages", "packet", "packets",
    "jar", "jars", "handful", "head", "heads", "bottle", "bottles", "leaf", "leaves", "litre",
    "litres", "liters", "gram", "grams", "kilogram", "bag", "bags", "box", "boxes", "drop",
    "drops", "stalk", "stalks", "sheet", "sheets", "scoop", "scoops", "knob", "fillet",
};

bool IsUnit(std::string_view word)
{
    const std::string lower = Lower(word);
    return std::find(std::begin(kUnits), std::end(kUnits), lower) != std::end(kUnits);
}

// The words a quantity may be preceded by when it is an estimate.
constexpr std::string_view kEstimates[] = {"ca.", "ca", "etwa", "circa", "ungef\xC3\xA4hr",
                                           "approx.", "approximately", "about", "~"};

// Range words between two numbers.
constexpr std::string_view kRangeWords[] = {"-", "bis", "to", "or", "oder"};

// The number fractions as ASCII: "½" -> "1/2" (with a blank before it after a digit, and after
// it before a letter or digit), "⁄" -> "/", dashes -> "-".
std::string NormalizeNumbers(std::string_view text)
{
    struct Fraction {
        std::string_view utf8;
        std::string_view ascii;
    };
    static constexpr Fraction kFractions[] = {
        {"\xC2\xBD", "1/2"},     {"\xC2\xBC", "1/4"},     {"\xC2\xBE", "3/4"},
        {"\xE2\x85\x93", "1/3"}, {"\xE2\x85\x94", "2/3"}, {"\xE2\x85\x95", "1/5"},
        {"\xE2\x85\x96", "2/5"}, {"\xE2\x85\x97", "3/5"}, {"\xE2\x85\x98", "4/5"},
        {"\xE2\x85\x99", "1/6"}, {"\xE2\x85\x9A", "5/6"}, {"\xE2\x85\x9B", "1/8"},
        {"\xE2\x85\x9C", "3/8"}, {"\xE2\x85\x9D", "5/8"}, {"\xE2\x85\x9E", "7/8"},
        {"\xE2\x85\x90", "1/7"}, {"\xE2\x85\x91", "1/9"}, {"\xE2\x85\x92", "1/10"},
    };
    static constexpr Fraction kSigns[] = {
        {"\xE2\x81\x84", "/"}, // fraction slash
        {"\xE2\x80\x93", "-"}, // en dash
        {"\xE2\x80\x94", "-"}, // em dash
        {"\xE2\x88\x92", "-"}, // minus sign
        {"\xE2\x80\x90", "-"}, // hyphen
    };
    std::string out;
    out.reserve(text.size() + 8);
    std::size_t i = 0;
    while (i < text.size()) {
        bool replaced = false;
        if (static_cast<unsigned char>(text[i]) >= 0xC2) {
            for (const Fraction& f : kFractions) {
                if (text.substr(i, f.utf8.size()) != f.utf8)
                    continue;
                if (!out.empty() && IsDigit(out.back()))
                    out += ' ';
                out += f.ascii;
                i += f.utf8.size();
                if (i < text.size() && (IsDigit(text[i]) || IsWordByte(text[i])))
                    out += ' ';
                replaced = true;
                break;
            }
            for (const Fraction& s : kSigns) {
                if (replaced || text.substr(i, s.utf8.size()) != s.utf8)
                    continue;
                out += s.ascii;
                i += s.utf8.size();
                replaced = true;
            }
        }
        if (!replaced)
            out += text[i++];
    }
    return out;
}

// A run of at most 9 digits at pos (so that it fits a 32-bit value); its length, 0 for none
// or a longer run.
std::size_t DigitRun(std::string_view text, std::size_t pos)
{
    std::size_t n = 0;
    while (pos + n < text.size() && IsDigit(text[pos + n]))
        ++n;
    return n <= 9 ? n : 0;
}

double DigitsValue(std::string_view digits)
{
    double v = 0;
    for (char c : digits)
        v = v * 10 + (c - '0');
    return v;
}

// The word at pos with its closing "." (if any): the unit candidate.
std::string_view WordAt(std::string_view text, std::size_t pos)
{
    std::size_t end = pos;
    while (end < text.size() && IsWordByte(text[end]))
        ++end;
    if (end > pos && end < text.size() && text[end] == '.')
        ++end;
    return text.substr(pos, end - pos);
}

// Whether text continues at pos with word (ignoring ASCII case) and then a blank (or, for
// words ending in ".", "~" or "-", anything).
bool WordFollows(std::string_view text, std::size_t pos, std::string_view word)
{
    if (Lower(text.substr(pos, word.size())) != word)
        return false;
    const std::size_t after = pos + word.size();
    const char last = word.back();
    return after >= text.size() || text[after] == ' ' || last == '.' || last == '~' ||
           last == '-';
}

} // namespace

std::optional<double> LeadingNumber(std::string_view text, std::size_t* length)
{
    const std::size_t start = SkipBlanks(text, 0);
    std::size_t p = start;
    const std::size_t n1 = DigitRun(text, p);
    if (n1 == 0)
        return std::nullopt;
    const std::string_view d1 = text.substr(p, n1);
    double value = DigitsValue(d1);
    p += n1;
    if (p + 1 < text.size() && (text[p] == ',' || text[p] == '.') && IsDigit(text[p + 1])) {
        const std::size_t n2 = DigitRun(text, p + 1);
        if (n2 == 0)
            return std::nullopt;
        const std::string_view d2 = text.substr(p + 1, n2);
        if (n2 == 3 && n1 <= 3 && d1[0] != '0')
            value = value * 1000 + DigitsValue(d2); // "1.000 g"
        else
            value += DigitsValue(d2) / std::pow(10.0, static_cast<double>(n2));
        p += 1 + n2;
    } else if (p + 1 < text.size() && text[p] == '/' && IsDigit(text[p + 1])) {
        const std::size_t n3 = DigitRun(text, p + 1);
        const double denominator = DigitsValue(text.substr(p + 1, n3));
        if (n3 > 0 && denominator > 0) {
            value /= denominator;
            p += 1 + n3;
        }
    } else {
        // A whole number followed by a fraction: "1 1/2".
        const std::size_t q = SkipBlanks(text, p);
        const std::size_t na = q > p ? DigitRun(text, q) : 0;
        if (na > 0 && q + na + 1 < text.size() && text[q + na] == '/') {
            const std::size_t nb = DigitRun(text, q + na + 1);
            const double b = DigitsValue(text.substr(q + na + 1, nb));
            if (nb > 0 && b > 0) {
                value += DigitsValue(text.substr(q, na)) / b;
                p = q + na + 1 + nb;
            }
        }
    }
    if (length)
        *length = p;
    return value;
}

std::optional<double> FirstNumber(std::string_view text)
{
    const std::string normal = NormalizeNumbers(text);
    const auto digit = std::find_if(normal.begin(), normal.end(), IsDigit);
    if (digit == normal.end())
        return std::nullopt;
    return LeadingNumber(std::string_view(normal).substr(
        static_cast<std::size_t>(digit - normal.begin())));
}

Ingredient ParseIngredient(std::string_view plainUtf8)
{
    const std::string s = NormalizeNumbers(TrimBlanks(plainUtf8));
    const std::string_view text(s);
    std::size_t pos = 0;
    bool estimate = false;
    for (std::string_view word : kEstimates) {
        if (WordFollows(text, pos, word)) {
            estimate = true;
            pos = SkipBlanks(text, pos + word.size());
            break;
        }
    }
    std::size_t length = 0;
    const std::optional<double> quantity = LeadingNumber(text.substr(pos), &length);
    if (!quantity)
        return {std::nullopt, {}, std::string(TrimBlanks(plainUtf8))};
    const std::size_t numberStart = pos;
    pos += length;

    // The first number of a range is the quantity; the range is noted with the article.
    std::string range;
    const std::size_t afterFirst = SkipBlanks(text, pos);
    for (std::string_view word : kRangeWords) {
        if (!WordFollows(text, afterFirst, word) &&
            !(word == "-" && text.substr(afterFirst, 1) == "-"))
            continue;
        const std::size_t second = SkipBlanks(text, afterFirst + word.size());
        std::size_t secondLength = 0;
        if (LeadingNumber(text.substr(second), &secondLength)) {
            pos = second + secondLength;
            range = std::string(text.substr(numberStart, pos - numberStart));
        }
        break;
    }

    Ingredient result;
    result.quantity = quantity;
    const std::size_t unitStart = SkipBlanks(text, pos);
    const std::string_view word = WordAt(text, unitStart);
    const std::string_view bare = !word.empty() && word.back() == '.' ? word.substr(0, word.size() - 1) : word;
    const std::size_t afterWord = unitStart + word.size();
    const bool wordEnds = afterWord >= text.size() || !IsDigit(text[afterWord]);
    if (!bare.empty() && wordEnds && IsUnit(bare) && CodePoints(word) <= 8) {
        result.unit = std::string(word);
        pos = afterWord;
        const std::size_t next = SkipBlanks(text, pos);
        if (WordFollows(text, next, "of"))
            pos = next + 2; // "2 cups of flour"
    }
    std::string article(TrimBlanks(text.substr(pos)));

    std::string note = estimate ? "ca." : "";
    if (!range.empty()) {
        note += (note.empty() ? "" : " ") + range;
        if (!result.unit.empty())
            note += ' ' + result.unit;
    }
    if (!note.empty())
        article += (article.empty() ? "(" : " (") + note + ")";
    result.article = std::move(article);
    return result;
}

std::optional<long long> DurationMinutes(std::string_view text)
{
    text = TrimBlanks(text);
    if (text.empty())
        return std::nullopt;
    if (std::all_of(text.begin(), text.end(), IsDigit))
        return text.size() <= 9 ? std::optional<long long>(static_cast<long long>(DigitsValue(text)))
                                : std::nullopt;
    if (text[0] != 'P' && text[0] != 'p')
        return std::nullopt;
    double seconds = 0;
    bool inTime = false;
    bool any = false;
    std::size_t p = 1;
    while (p < text.size()) {
        const char c = text[p];
        if (c == 'T' || c == 't') {
            if (inTime)
                return std::nullopt;
            inTime = true;
            ++p;
            continue;
        }
        // A decimal with "." or "," (ISO 8601 allows both), read without the locale.
        std::size_t n = DigitRun(text, p);
        double value = DigitsValue(text.substr(p, n));
        if (n > 0 && p + n + 1 < text.size() && (text[p + n] == '.' || text[p + n] == ',')) {
            const std::size_t f = DigitRun(text, p + n + 1);
            value += DigitsValue(text.substr(p + n + 1, f)) / std::pow(10.0, static_cast<double>(f));
            n += f > 0 ? 1 + f : 0;
        }
        if (n == 0 || p + n >= text.size())
            return std::nullopt;
        double unitSeconds = 0;
        switch (text[p + n]) {
        case 'Y': case 'y': unitSeconds = inTime ? 0 : 365.0 * 86400; break;
        case 'W': case 'w': unitSeconds = inTime ? 0 : 7.0 * 86400; break;
        case 'D': case 'd': unitSeconds = inTime ? 0 : 86400; break;
        case 'H': case 'h': unitSeconds = inTime ? 3600 : 0; break;
        case 'M': case 'm': unitSeconds = inTime ? 60 : 30.0 * 86400; break;
        case 'S': case 's': unitSeconds = inTime ? 1 : 0; break;
        default: break;
        }
        if (unitSeconds == 0)
            return std::nullopt;
        seconds += value * unitSeconds;
        any = true;
        p += n + 1;
    }
    if (!any || seconds > 1e12)
        return std::nullopt;
    return std::llround(seconds / 60);
}

} // namespace kovanta::jsonld
