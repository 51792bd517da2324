// libFuzzer target: any bytes as a recipe file REZ00001.DAT. The index is read, every entry
// (and a few entry indexes taken from the input) is opened and its block read to "^^" or the
// end, as the preview and the requirements list do. Besides the sanitizers' checks, the
// reader's own promises are checked: lines stay within their limits and every loop ends.
#include "fuzzsupport.h"
#include "recipe/quantities.h"
#include "recipe/rezeptimportproz.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using fuzz::Check;
using fuzz::FilePath;

void ReadBlock(const kovanta::TRezeptImportProz& proz, const kovanta::TImpListInfo& entry)
{
    auto file = proz.OpenRecipe(entry);
    if (!file)
        return;
    const std::uint64_t size = file->Size();
    Check(file->Position() <= size);
    // Every read consumes at least one byte until the end, so size + 1 reads must suffice.
    std::uint64_t reads = 0;
    while (!file->AtEnd()) {
        Check(++reads <= size + 1);
        const std::uint64_t before = file->Position();
        const std::string line = proz.ReadRecipeLines(1, *file, true);
        Check(line.size() >= kovanta::kDetailPadding);
        Check(line.size() <= kovanta::kMaxRawLine + kovanta::kDetailPadding);
        Check(file->Position() > before || file->AtEnd());
        Check(file->Position() <= size);
        if (line.starts_with("^^"))
            break;
        if (line[0] == '*') {
            const double q = kovanta::LineQuantity(line);
            const std::string text = kovanta::QuantityText(q, kovanta::ScaleFactor(7, 13));
            // Trimmed, and never cut: a long number is written whole.
            Check(!text.empty() && text.front() != ' ' && text.back() != ' ');
            const std::string masked = kovanta::FormatMask("#######.###", q);
            Check(masked.size() >= 11 && (masked.size() == 11 || masked[0] != ' '));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::WriteFile(FilePath(), data, size);
    const kovanta::TRezeptImportProz proz;
    kovanta::RecipeList list;
    proz.ReadRecipeIndex(FilePath(), list);
    Check(!list.empty() || size > 0);
    Check(list.size() <= kovanta::kMaxIndexEntries);
    std::size_t opened = 0;
    for (const kovanta::RecipeListItem& item : list) {
        Check(item.Entry != nullptr && item.Entry->FileName == FilePath());
        Check(item.Entry->ShortName.size() <= 20 && item.Entry->GroupName.size() <= 20);
        // Reading every block of an index of thousands of one-byte entries would be quadratic
        // and only slow the fuzzer down; the first entries cover the paths.
        if (++opened <= 16)
            ReadBlock(proz, *item.Entry);
    }
    // Entry indexes the index does not have: the offsets are whatever bytes stand there.
    kovanta::TImpListInfo stray;
    stray.FileName = FilePath();
    for (std::size_t i = 0; i + 1 < size && i < 8; i += 2) {
        stray.EntryIndex = static_cast<std::uint16_t>(data[i] | (data[i + 1] << 8));
        ReadBlock(proz, stray);
    }
    return 0;
}
