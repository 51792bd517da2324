#include "recipe/recipefilter.h"

#include <algorithm>
#include <array>

namespace kovanta {
namespace {

// Between a recipe's name and group; folding turns every control character into a blank, so
// no word holds it and no match can span name and group.
constexpr char kSeparator = '\x01';

struct Folded {
    char text[3] = {};
    std::uint8_t size = 0;
};

constexpr Folded One(char c)
{
    Folded f;
    f.text[0] = c;
    f.size = 1;
    return f;
}

constexpr Folded Two(char a, char b)
{
    Folded f;
    f.text[0] = a;
    f.text[1] = b;
    f.size = 2;
    return f;
}

constexpr std::array<Folded, 256> MakeTable()
{
    std::array<Folded, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[static_cast<std::size_t>(c)] = One(static_cast<char>(c));
    for (int c = 0; c < 0x20; ++c)
        table[static_cast<std::size_t>(c)] = One(' ');
    table[0x7F] = One(' ');
    for (int c = 'A'; c <= 'Z'; ++c)
        table[static_cast<std::size_t>(c)] = One(static_cast<char>(c - 'A' + 'a'));
    // Windows-1252: both cases of every accented letter.
    const auto both = [&table](int upper, int lower, Folded f) {
        table[static_cast<std::size_t>(upper)] = f;
        table[static_cast<std::size_t>(lower)] = f;
    };
    for (int c = 0xC0; c <= 0xC5; ++c)
        both(c, c + 0x20, One('a'));
    both(0xC4, 0xE4, Two('a', 'e')); // Ä ä
    both(0xC6, 0xE6, Two('a', 'e')); // Æ æ
    both(0xC7, 0xE7, One('c'));
    for (int c = 0xC8; c <= 0xCB; ++c)
        both(c, c + 0x20, One('e'));
    for (int c = 0xCC; c <= 0xCF; ++c)
        both(c, c + 0x20, One('i'));
    both(0xD0, 0xF0, One('d'));
    both(0xD1, 0xF1, One('n'));
    for (int c = 0xD2; c <= 0xD5; ++c)
        both(c, c + 0x20, One('o'));
    both(0xD6, 0xF6, Two('o', 'e')); // Ö ö
    both(0xD8, 0xF8, One('o'));
    for (int c = 0xD9; c <= 0xDB; ++c)
        both(c, c + 0x20, One('u'));
    both(0xDC, 0xFC, Two('u', 'e')); // Ü ü
    both(0xDD, 0xFD, One('y'));
    both(0xDE, 0xFE, Two('t', 'h'));
    table[0xDF] = Two('s', 's'); // ß
    table[0xFF] = One('y');
    both(0x8A, 0x9A, One('s'));      // Š š
    both(0x8C, 0x9C, Two('o', 'e')); // Œ œ
    both(0x8E, 0x9E, One('z'));      // Ž ž
    table[0x9F] = One('y');          // Ÿ
    return table;
}

constexpr std::array<Folded, 256> kFold = MakeTable();

void AppendFolded(std::string& out, std::string_view ansi)
{
    for (const char c : ansi) {
        const Folded& f = kFold[static_cast<unsigned char>(c)];
        out.append(f.text, f.size);
    }
}

} // namespace

std::string FoldForSearch(std::string_view ansi)
{
    std::string out;
    out.reserve(ansi.size() + 4);
    AppendFolded(out, ansi);
    return out;
}

std::vector<std::string> SearchWords(std::string_view ansiQuery)
{
    const std::string folded = FoldForSearch(ansiQuery);
    std::vector<std::string> words;
    std::size_t pos = 0;
    while (pos < folded.size()) {
        const std::size_t start = folded.find_first_not_of(' ', pos);
        if (start == std::string::npos)
            break;
        std::size_t end = folded.find(' ', start);
        if (end == std::string::npos)
            end = folded.size();
        std::string word = folded.substr(start, end - start);
        if (std::find(words.begin(), words.end(), word) == words.end())
            words.push_back(std::move(word));
        pos = end;
    }
    return words;
}

void RecipeFilter::Clear()
{
    text_.clear();
    starts_.assign(1, 0);
}

void RecipeFilter::Reserve(std::size_t recipes, std::size_t textBytes)
{
    starts_.reserve(recipes + 1);
    text_.reserve(textBytes);
}

void RecipeFilter::Add(std::string_view ansiName, std::string_view ansiGroup)
{
    AppendFolded(text_, ansiName);
    text_ += kSeparator;
    AppendFolded(text_, ansiGroup);
    starts_.push_back(static_cast<std::uint32_t>(text_.size()));
}

void RecipeFilter::SetQuery(std::string_view ansiQuery)
{
    words_ = SearchWords(ansiQuery);
}

bool RecipeFilter::Matches(std::size_t i) const
{
    if (i >= size())
        return false;
    const std::string_view recipe(text_.data() + starts_[i], starts_[i + 1] - starts_[i]);
    for (const std::string& word : words_) {
        if (recipe.find(word) == std::string_view::npos)
            return false;
    }
    return true;
}

std::size_t RecipeFilter::Apply(std::vector<std::uint8_t>& shown) const
{
    const std::size_t n = size();
    shown.assign(n, 1);
    if (words_.empty())
        return n;
    std::size_t count = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const bool match = Matches(i);
        shown[i] = match ? 1 : 0;
        count += match ? 1 : 0;
    }
    return count;
}

std::string GroupedNumber(std::size_t value)
{
    std::string digits = std::to_string(value);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, 1, '.');
    return digits;
}

std::string FilterCountText(std::size_t shown, std::size_t total)
{
    return GroupedNumber(shown) + " von " + GroupedNumber(total);
}

} // namespace kovanta
