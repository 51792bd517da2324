#pragma once

#include "recipe/records.h"
#include "recipe/rezeptimportproz.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The requirements list ("Bedarfsliste"): every article the menu plan needs, with its summed
// quantity and unit (docs/menu-plan.md). The planned recipes are read again from their files;
// nothing here knows about widgets, so the window and the command-line companion share it.
namespace kovanta {

// The mask of the "Menge" column: 11 characters, right-aligned, three decimals, decimal comma
// (a larger quantity is written whole, wider).
inline constexpr std::string_view kRequirementsMask = "#######.###";
// Caption of the warning strip shown when a planned recipe offers alternative articles.
inline constexpr std::string_view kAlternativesCaption = "Alternativartikel enthalten!!!";
// Its hint.
inline constexpr std::string_view kAlternativesHint =
    "Im Speiseplan befinden sich Rezepte mit alternativen Artikeln, es sind zu viele Artikeln "
    "in der Liste!";

// The "Menge" cell text of a quantity: FormatMask("#######.###", quantity), untrimmed and with
// its trailing zeros ("     7,500", a zero quantity "      0,000").
std::string RequirementQuantityText(double quantity);

// The portions a menu plan row asks for, from the text of its "Portionen" cell: a decimal
// integer with an optional sign, blanks around it allowed ("20", " -5 "). Anything else, an
// empty text and a value outside 32 bits give 0, which means: the row contributes nothing.
std::int32_t PortionsTextValue(std::string_view cellText);

// The largest portion count the plan's "Portionen" cell takes at entry (as many digits as the
// cell is wide); its negative is the smallest.
inline constexpr int kMaxPlanPortions = 99999;

// Whether the plan's "Portionen" cell could hold text: blanks only (no count, 0) or a whole
// number (PortionsTextValue's form) from -kMaxPlanPortions to kMaxPlanPortions. A plan file row
// with any other text would count for nothing, or for more than the plan can be given.
bool PortionsTextAccepted(std::string_view cellText);

// The rows of a requirements list under construction, in order of first appearance. Owns its
// records until TakeRows hands them on (to the requirements grid).
//
// The key of a row is (Article, UnitName), compared exactly: case and inner blanks count. An
// index from key to row keeps AddRequirement at constant time however many distinct articles
// the plan holds.
class RequirementsList {
public:
    RequirementsList() = default;
    RequirementsList(const RequirementsList&) = delete;
    RequirementsList& operator=(const RequirementsList&) = delete;
    RequirementsList(RequirementsList&&) = default;
    RequirementsList& operator=(RequirementsList&&) = default;

    // Adds quantity to the row of (article, unit); a key not seen before becomes a new last
    // row with that quantity. Texts are ANSI and taken as they are.
    void AddRequirement(std::string_view unit, std::string_view article, double quantity);

    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    // Row i (0-based: the first requirements row). i must be below size().
    const TBedarfsGridinfo& operator[](std::size_t i) const { return *rows_[i]; }

    // Hands every record over, in row order, and leaves the list empty.
    std::vector<std::unique_ptr<TBedarfsGridinfo>> TakeRows();
    void Clear();

private:
    std::size_t FindSlot(std::string_view unit, std::string_view article, std::uint64_t hash) const;
    void Grow();

    std::vector<std::unique_ptr<TBedarfsGridinfo>> rows_;
    // The index: open addressing over a power-of-two table of row numbers + 1 (0 = empty),
    // with each row's key hash kept beside the rows. No allocation per key, so summing stays
    // cheap next to reading the recipe lines.
    std::vector<std::uint64_t> hashes_;
    std::vector<std::uint32_t> slots_;
};

// One menu plan row as the computation reads it.
struct PlanRow {
    const TImpListInfo* Entry = nullptr; // the plan entry; nullptr for a free row. Not owned.
    std::string PortionText;             // the text of the row's "Portionen" cell
};

// Adds one recipe's articles for requestedPortions to target, reading the recipe again from
// its file:
//  - article lines ("*"): quantity = base quantity x requested / stored, under (unit, article)
//    trimmed and converted to ANSI;
//  - text lines (":") with a "^": the first "^" segment of text + " " + value, when it is an
//    article name, with quantity 0 and an empty unit; when it is the alternative word "oder",
//    alternative becomes true. Further segments of the line are not looked at.
// Nothing is added when the file is missing or unreadable, or when the stored or the requested
// portions are 0. A negative request gives negative quantities.
void AddRecipeRequirements(const TRezeptImportProz& proz, const TImpListInfo& recipe,
                           RequirementsList& target, bool& alternative,
                           std::int32_t requestedPortions);

// Rebuilds target from the menu plan: clears it, then adds the recipe of every row that holds
// an entry and whose portions (PortionsTextValue) are not 0, in plan order. Returns true when a
// planned recipe offers alternative articles (the warning strip is to be shown).
bool ComputeRequirements(const TRezeptImportProz& proz, const std::vector<PlanRow>& plan,
                         RequirementsList& target);

} // namespace kovanta
