#include "recipe/requirements.h"

#include "platform/codepage.h"
#include "recipe/quantities.h"
#include "recipe/recipetext.h"

#include <functional>
#include <limits>

namespace kovanta {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The eight head lines come first; only line 8 (stored portions) matters here.
std::int32_t ReadStoredPortions(const TRezeptImportProz& proz, RecipeFile& file)
{
    return ParseIntField(proz.ReadRecipeLines(8, file, true));
}

void AddArticleLine(const std::string& line, double factor, RequirementsList& target)
{
    const std::string expanded = ExpandCompactArticleLine(line);
    const double quantity = LineQuantity(expanded) * factor;
    target.AddRequirement(codepage::oemToAnsi(Trim(Columns(expanded, 46, 53))),
                          codepage::oemToAnsi(Trim(Columns(expanded, 79, 108))), quantity);
}

void AddTextLine(const std::string& line, RequirementsList& target, bool& alternative)
{
    std::string oem(Trim(Columns(line, 6, 71)));
    oem += ' ';
    oem += Columns(line, 2, 5);
    std::string text = codepage::oemToAnsi(oem);
    if (text.find('^') == std::string::npos)
        return;
    // Only the first segment counts: "Butter^oder^Margarine^" adds Butter and does not raise
    // the warning; "oder^" alone on a line does.
    const std::string segment = SplitCaretSegment(text, alternative);
    if (!segment.empty())
        target.AddRequirement({}, segment, 0.0);
}

} // namespace

std::string RequirementQuantityText(double quantity)
{
    return FormatMask(kRequirementsMask, quantity);
}

std::int32_t PlanPortions(std::string_view cellText)
{
    while (!cellText.empty() && IsBlank(cellText.front()))
        cellText.remove_prefix(1);
    while (!cellText.empty() && IsBlank(cellText.back()))
        cellText.remove_suffix(1);
    bool negative = false;
    if (!cellText.empty() && (cellText.front() == '-' || cellText.front() == '+')) {
        negative = cellText.front() == '-';
        cellText.remove_prefix(1);
    }
    if (cellText.empty())
        return 0;
    std::int64_t value = 0;
    for (const char c : cellText) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + (c - '0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
            return 0;
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        return 0;
    return static_cast<std::int32_t>(value);
}

std::size_t RequirementsList::KeyHash::operator()(const KeyView& key) const noexcept
{
    const std::size_t a = std::hash<std::string_view>{}(key.article);
    const std::size_t u = std::hash<std::string_view>{}(key.unit);
    return a ^ (u + 0x9e3779b97f4a7c15ULL + (a << 6) + (a >> 2));
}

void RequirementsList::AddRequirement(std::string_view unit, std::string_view article,
                                      double quantity)
{
    const auto found = index_.find(KeyView{unit, article});
    if (found != index_.end()) {
        rows_[found->second]->Quantity += quantity;
        return;
    }
    auto row = std::make_unique<TBedarfsGridinfo>();
    row->Quantity = quantity;
    row->Article = std::string(article);
    row->UnitName = std::string(unit);
    index_.emplace(KeyView{row->UnitName, row->Article}, rows_.size());
    rows_.push_back(std::move(row));
}

std::vector<std::unique_ptr<TBedarfsGridinfo>> RequirementsList::TakeRows()
{
    index_.clear();
    return std::move(rows_);
}

void RequirementsList::Clear()
{
    index_.clear();
    rows_.clear();
}

void AddRecipeRequirements(const TRezeptImportProz& proz, const TImpListInfo& recipe,
                           RequirementsList& target, bool& alternative,
                           std::int32_t requestedPortions)
{
    auto file = proz.OpenRecipe(recipe);
    if (!file)
        return;
    const auto factor = RequirementsScaleFactor(ReadStoredPortions(proz, *file), requestedPortions);
    if (!factor)
        return;
    while (!file->AtEnd()) {
        const std::string line = proz.ReadRecipeLines(1, *file, true);
        if (line.compare(0, 2, "^^") == 0)
            break;
        if (line[0] == '*')
            AddArticleLine(line, *factor, target);
        else if (line[0] == ':')
            AddTextLine(line, target, alternative);
    }
}

bool ComputeRequirements(const TRezeptImportProz& proz, const std::vector<PlanRow>& plan,
                         RequirementsList& target)
{
    target.Clear();
    bool alternative = false;
    for (const PlanRow& row : plan) {
        if (row.Entry == nullptr)
            continue;
        const std::int32_t portions = PlanPortions(row.PortionText);
        if (portions != 0)
            AddRecipeRequirements(proz, *row.Entry, target, alternative, portions);
    }
    return alternative;
}

} // namespace kovanta
