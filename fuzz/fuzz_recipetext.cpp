// libFuzzer target: any bytes as a recipe file, turned into the formatted preview and the print
// grid for a requested portion count taken from the input; the text-line rules also get the
// raw bytes directly. Besides the sanitizers' checks, the producers' promises are checked: a
// paragraph is one line (no control character but TAB), a grid cell one printed line (no
// control character at all), the grid has its head rows, and the "^" splitting ends.
#include "fuzzsupport.h"
#include "recipe/recipetext.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

using fuzz::Check;
using fuzz::FilePath;

bool IsControl(char c)
{
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

void CheckRules(const std::string& text)
{
    std::string rest = text;
    bool alternative = false;
    std::size_t calls = 0;
    // Each call consumes at least one caret or empties the text.
    while (!rest.empty()) {
        Check(++calls <= text.size() + 1);
        const std::size_t before = rest.size();
        kovanta::SplitCaretSegment(rest, alternative);
        Check(rest.size() < before);
    }
    std::string marked = text;
    const std::uint16_t word = kovanta::TextMarkers(marked);
    Check(word <= 7);
    Check(marked.size() <= text.size());
    std::string label = text;
    kovanta::IsLabelText(label);
    Check(label.size() <= text.size());
    Check(kovanta::StripExclMark(text).size() + 3 >= text.size());
}

} // namespace

int fuzz::recipeText(const std::uint8_t* data, std::size_t size)
{
    std::int32_t portions = 0;
    if (size >= 4) {
        std::memcpy(&portions, data, 4);
        data += 4;
        size -= 4;
    }
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckRules(bytes.substr(0, 200));
    fuzz::WriteFile(FilePath(), bytes.data(), bytes.size());
    const kovanta::TRezeptImportProz proz;
    kovanta::TImpListInfo entry;
    entry.FileName = FilePath();
    entry.EntryIndex = size > 0 ? static_cast<std::uint16_t>(data[0] % 4) : 0;
    if (bytes.empty() || (bytes[0] != '^' && bytes[0] != '.'))
        entry.EntryIndex = 0;

    kovanta::RecipeText text;
    if (kovanta::FillPreviewRich(proz, entry, text, portions)) {
        Check(text.paragraphs.size() >= 6);
        if (text.paragraphs.size() > 8)
            fuzz::Reached("recipetext: body lines in the preview");
        for (const auto& p : text.paragraphs) {
            for (const char c : p.text)
                Check(c == '\t' || !IsControl(c));
        }
        const std::string plain = kovanta::PlainText(text);
        std::size_t lines = 1;
        for (const char c : plain)
            lines += c == '\n';
        Check(lines == text.paragraphs.size());
    }
    kovanta::PrintGrid grid;
    if (kovanta::FillPrintGrid(proz, entry, grid, portions)) {
        Check(grid.RowCount() >= 5);
        if (grid.RowCount() > 6)
            fuzz::Reached("recipetext: body rows in the print grid");
        for (const auto& row : grid.rows) {
            for (const auto& cell : row) {
                for (const char c : cell)
                    Check(!IsControl(c));
            }
        }
    }
    return 0;
}

KOVANTA_FUZZ_ENTRY(fuzz::recipeText)
