#include "recipe/records.h"

#include <charconv>

namespace kovanta {

namespace {

// One colour field of a CellColors entry: decimal, 0 when empty or not a number.
TColor ParseColor(std::string_view field)
{
    TColor value = 0;
    const auto [ptr, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (ec != std::errc() || ptr != field.data() + field.size())
        return 0;
    return value;
}

} // namespace

void TGridInfo::SetCellColors(int col, TColor font, TColor selectedFont, TColor background,
                              TColor frame, CellPainter* painter)
{
    if (col < 0)
        return;
    const auto index = static_cast<std::size_t>(col);
    if (CellColors.size() <= index) {
        const std::string unset = std::to_string(clNone);
        CellColors.resize(index + 1,
                          CellColorEntry{unset + ':' + unset + ':' + unset + ':' + unset, nullptr});
    }
    CellColors[index].Colors = std::to_string(font) + ':' + std::to_string(selectedFont) + ':' +
                               std::to_string(background) + ':' + std::to_string(frame);
    CellColors[index].Painter = painter;
}

CellColorInfo TGridInfo::GetCellColors(int col, bool selected) const
{
    CellColorInfo info;
    if (col < 0 || static_cast<std::size_t>(col) >= CellColors.size())
        return info;
    const CellColorEntry& entry = CellColors[static_cast<std::size_t>(col)];
    TColor fields[4] = {0, 0, 0, 0};
    std::string_view rest = entry.Colors;
    for (TColor& field : fields) {
        const auto colon = rest.find(':');
        field = ParseColor(rest.substr(0, colon));
        if (colon == std::string_view::npos) {
            rest = {};
        } else {
            rest.remove_prefix(colon + 1);
        }
    }
    info.Found = true;
    info.Font = selected ? fields[1] : fields[0];
    info.Background = selected ? clNone : fields[2];
    info.Frame = fields[3];
    info.Painter = entry.Painter;
    return info;
}

void TImpListInfo::CopyFrom(const TImpListInfo* source)
{
    if (source == nullptr || source == this)
        return;
    FileNumber = source->FileNumber;
    EntryIndex = source->EntryIndex;
    NameNumber = source->NameNumber;
    Portions = source->Portions;
    WorkMinutes = source->WorkMinutes;
    WaitMinutes = source->WaitMinutes;
    Kcal = source->Kcal;
    KJ = source->KJ;
    BE = source->BE;
    Chol = source->Chol;
    DateText = source->DateText;
    FileName = source->FileName;
    InPlan = source->InPlan;
    ShortName = source->ShortName;
    GroupName = source->GroupName;
}

bool TImpListInfo::SameRecipe(const TImpListInfo& other) const
{
    return FileNumber == other.FileNumber && NameNumber == other.NameNumber &&
           EntryIndex == other.EntryIndex && FileName == other.FileName;
}

char AnsiToLower(char c)
{
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'A' && u <= 'Z')
        return static_cast<char>(u + 0x20);
    // Windows-1252 capitals: À..Þ except the multiplication sign, and Š Œ Ž Ÿ.
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7)
        return static_cast<char>(u + 0x20);
    switch (u) {
    case 0x8A:
    case 0x8C:
    case 0x8E:
        return static_cast<char>(u + 0x10);
    case 0x9F:
        return static_cast<char>(0xFF);
    default:
        return c;
    }
}

bool AnsiEqualsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AnsiToLower(a[i]) != AnsiToLower(b[i]))
            return false;
    }
    return true;
}

const std::vector<std::string>& AlternativeWords()
{
    static const std::vector<std::string> words{"oder"};
    return words;
}

bool IsAlternativeWord(std::string_view ansiWord)
{
    for (const std::string& word : AlternativeWords()) {
        if (AnsiEqualsIgnoreCase(word, ansiWord))
            return true;
    }
    return false;
}

std::vector<std::string> RecipeListTexts(const TImpListInfo& e)
{
    return {e.ShortName,
            e.GroupName,
            std::to_string(e.Portions),
            std::to_string(e.Kcal),
            std::to_string(e.KJ),
            std::to_string(e.BE),
            std::to_string(e.Chol),
            std::to_string(e.WorkMinutes),
            std::to_string(e.WaitMinutes)};
}

} // namespace kovanta
