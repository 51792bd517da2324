#include "recipe/requirements.h"

#include "platform/codepage.h"
#include "platform/strings.h"
#include "recipe/quantities.h"
#include "recipe/recipetext.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace kovanta {

namespace {

// The eight head lines come first; only line 8 (stored portions) matters here.
std::int32_t ReadStoredPortions(const TRezeptImportProz& proz, RecipeFile& file)
{
    return ParseIntField(proz.ReadRecipeLines(8, file, true));
}

struct LineBuffers {
    std::string unit, article;
};

void AddArticleLine(const std::string& line, double factor, RequirementsList& target,
                    LineBuffers& buffers)
{
    // Only a compact line needs the copy with its columns moved into place.
    const bool compact = line.size() > 10 && line[10] >= '0' && line[10] <= '9';
    const std::string expandedCopy = compact ? ExpandCompactArticleLine(line) : std::string();
    const std::string_view expanded = compact ? std::string_view(expandedCopy) : line;
    const double quantity = ExpandedLineQuantity(expanded) * factor;
    codepage::oemToAnsi(Trim(Columns(expanded, 46, 53)), buffers.unit);
    codepage::oemToAnsi(Trim(Columns(expanded, 79, 108)), buffers.article);
    target.AddRequirement(buffers.unit, buffers.article, quantity);
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

std::int32_t PortionsTextValue(std::string_view cellText)
{
    cellText = trimBlanks(cellText);
    // from_chars takes a minus but no plus sign.
    if (!cellText.empty() && cellText.front() == '+') {
        cellText.remove_prefix(1);
        if (!cellText.empty() && cellText.front() == '-')
            return 0;
    }
    std::int32_t value = 0;
    const char* end = cellText.data() + cellText.size();
    const auto [stop, error] = std::from_chars(cellText.data(), end, value);
    return error == std::errc{} && stop == end ? value : 0;
}

bool PortionsTextAccepted(std::string_view cellText)
{
    std::string_view digits = trimBlanks(cellText);
    if (digits.empty())
        return true;
    if (digits.front() == '+' || digits.front() == '-')
        digits.remove_prefix(1);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    // PortionsTextValue also gives 0 for a number beyond 32 bits.
    const std::int32_t value = PortionsTextValue(cellText);
    if (value == 0)
        return digits.find_first_not_of('0') == std::string_view::npos;
    return value >= -kMaxPlanPortions && value <= kMaxPlanPortions;
}

namespace {

// A word-at-a-time hash of the unit and the article; each text's length goes in too, so that
// ("ab", "c") and ("a", "bc") differ.
std::uint64_t KeyHash(std::string_view unit, std::string_view article)
{
    constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ULL;
    std::uint64_t h = 0;
    const auto mix = [&h](std::string_view text) {
        h = (h ^ text.size()) * kMul;
        while (!text.empty()) {
            std::uint64_t word = 0;
            const std::size_t n = std::min<std::size_t>(text.size(), sizeof word);
            std::memcpy(&word, text.data(), n);
            text.remove_prefix(n);
            h = (h ^ word) * kMul;
            h ^= h >> 29;
        }
    };
    mix(unit);
    mix(article);
    return h ^ (h >> 32);
}

} // namespace

std::size_t RequirementsList::FindSlot(std::string_view unit, std::string_view article,
                                       std::uint64_t hash) const
{
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = static_cast<std::size_t>(hash) & mask;; i = (i + 1) & mask) {
        const std::uint32_t row = slots_[i];
        if (row == 0)
            return i;
        const TBedarfsGridinfo& r = *rows_[row - 1];
        if (hashes_[row - 1] == hash && r.Article == article && r.UnitName == unit)
            return i;
    }
}

void RequirementsList::Grow()
{
    std::vector<std::uint32_t> slots(slots_.empty() ? 64 : slots_.size() * 2, 0);
    const std::size_t mask = slots.size() - 1;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        std::size_t i = static_cast<std::size_t>(hashes_[row]) & mask;
        while (slots[i] != 0)
            i = (i + 1) & mask;
        slots[i] = static_cast<std::uint32_t>(row + 1);
    }
    slots_ = std::move(slots);
}

void RequirementsList::AddRequirement(std::string_view unit, std::string_view article,
                                      double quantity)
{
    // At most half full, so that probes stay short.
    if ((rows_.size() + 1) * 2 > slots_.size())
        Grow();
    const std::uint64_t hash = KeyHash(unit, article);
    const std::size_t slot = FindSlot(unit, article, hash);
    if (slots_[slot] != 0) {
        rows_[slots_[slot] - 1]->Quantity += quantity;
        return;
    }
    auto row = std::make_unique<TBedarfsGridinfo>();
    row->Quantity = quantity;
    row->Article.assign(article);
    row->UnitName.assign(unit);
    rows_.push_back(std::move(row));
    hashes_.push_back(hash);
    slots_[slot] = static_cast<std::uint32_t>(rows_.size());
}

std::vector<std::unique_ptr<TBedarfsGridinfo>> RequirementsList::TakeRows()
{
    std::vector<std::unique_ptr<TBedarfsGridinfo>> rows = std::move(rows_);
    Clear();
    return rows;
}

void RequirementsList::Clear()
{
    rows_.clear();
    hashes_.clear();
    // The table keeps its size: the next computation of the same plan needs it again.
    std::fill(slots_.begin(), slots_.end(), 0u);
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
    LineBuffers buffers;
    while (!file->AtEnd()) {
        const std::string line = proz.ReadRecipeLines(1, *file, true);
        if (line.compare(0, 2, "^^") == 0)
            break;
        if (line[0] == '*')
            AddArticleLine(line, *factor, target, buffers);
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
        const std::int32_t portions = PortionsTextValue(row.PortionText);
        if (portions != 0)
            AddRecipeRequirements(proz, *row.Entry, target, alternative, portions);
    }
    return alternative;
}

} // namespace kovanta
