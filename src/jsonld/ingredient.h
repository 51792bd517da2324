#pragma once

#include <optional>
#include <string>
#include <string_view>

// Numbers as recipe sites write them: ingredient lines ("1 1/2 Tassen Milch"), yields
// ("4 Portionen"), durations ("PT1H30M") and nutrition values ("450 kcal").
namespace kovanta::jsonld {

// One ingredient line taken apart. All texts are plain UTF-8.
struct Ingredient {
    std::optional<double> quantity; // the first number; none for "Salz und Pfeffer"
    std::string unit;               // as written ("EL", "Tassen", "g"); empty when none
    std::string article;            // the rest; "(2-3)" or "(ca.)" added for a range or an
                                    // estimate, whose first number is the quantity
    bool operator==(const Ingredient&) const = default;
};

// Takes a plain ingredient line apart. A quantity is the number the line begins with (after
// "ca.", "etwa", "about" ...): an integer, a decimal with comma or point, a fraction ("1/2",
// "½"), a whole number and a fraction ("1 1/2", "1½"), or the first number of a range ("2-3",
// "2 bis 3", "2 to 3"). A separator followed by exactly three digits after 1 to 3 nonzero
// leading digits is a thousands separator ("1.000 g"). The unit is the word after the number
// when it is one of the units German and English recipe sites use and fits the unit field
// (8 characters); a longer unit word ("Esslöffel") stays at the front of the article.
Ingredient ParseIngredient(std::string_view plainUtf8);

// The number at the start of text (after blanks), by the rules of ParseIngredient without
// range and unit; length receives how many bytes it took.
std::optional<double> LeadingNumber(std::string_view text, std::size_t* length = nullptr);

// The first number anywhere in text ("Für 4 Personen" -> 4).
std::optional<double> FirstNumber(std::string_view text);

// An ISO 8601 duration ("PT1H30M", "P1DT2H", "PT0.5H", "PT90S") in whole minutes, rounded;
// a bare number counts as minutes. Nothing for anything else.
std::optional<long long> DurationMinutes(std::string_view text);

} // namespace kovanta::jsonld
