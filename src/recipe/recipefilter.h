#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The quick filter of the recipe list: a recipe stays when every word of the query occurs in its
// name ("Rezept") or in its group ("Rezeptgruppe"), ignoring case and treating ä/ae, ö/oe,
// ü/ue and ß/ss alike. Standard C++ only; texts are ANSI (Windows-1252), as in the records.
namespace kovanta {

// The form in which texts are compared: lower case; ä, ö, ü, ß (and Æ, Œ) written out as ae,
// oe, ue, ss (ae, oe); other accented letters without their accent (é -> e, ñ -> n); control
// characters as blanks. "Müsli" and "MUESLI" both give "muesli".
std::string FoldForSearch(std::string_view ansi);

// The words of a query: split at blanks, folded, each word once, in the order typed.
std::vector<std::string> SearchWords(std::string_view ansiQuery);

// The folded names and groups of a recipe list, and the query that filters it.
//
// Each recipe's folded name and group are kept side by side in one buffer, split by a character
// no folded word can hold, so a keystroke costs one substring search per word and recipe and
// no folding. At 100,000 recipes that is a few milliseconds (bench_filter).
class RecipeFilter {
public:
    void Clear();
    void Reserve(std::size_t recipes, std::size_t textBytes = 0);
    // Appends a recipe; its number is size() before the call.
    void Add(std::string_view ansiName, std::string_view ansiGroup);
    std::size_t size() const { return starts_.empty() ? 0 : starts_.size() - 1; }

    // Sets the query (SearchWords).
    void SetQuery(std::string_view ansiQuery);
    // No words: every recipe matches.
    bool Empty() const { return words_.empty(); }

    // Whether recipe i matches the query; false for i beyond size().
    bool Matches(std::size_t i) const;
    // shown[i] = Matches(i) for every recipe (shown is resized to size()); returns how many
    // match.
    std::size_t Apply(std::vector<std::uint8_t>& shown) const;

private:
    std::string text_;                 // name + kSeparator + group, one recipe after the other
    std::vector<std::uint32_t> starts_{0}; // recipe i is text_[starts_[i], starts_[i + 1])
    std::vector<std::string> words_;
};

// "312 von 20.000": shown and total with a "." between thousands.
std::string FilterCountText(std::size_t shown, std::size_t total);
// 20000 -> "20.000".
std::string GroupedNumber(std::size_t value);

} // namespace kovanta
