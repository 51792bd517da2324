// libFuzzer target for the requirements list. The input is
//  - a sequence of additions (unit, article, quantity) summed once through RequirementsList
//    and once through a plain search of the rows: order, keys and sums must agree exactly, so
//    the index can never lose, merge or reorder a row (short keys make collisions likely);
//  - then, as a recipe file, computed for a few portion counts: every key appears once, and a
//    recipe asked for 0 portions adds nothing.
#include "fuzzsupport.h"
#include "recipe/requirements.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using fuzz::Check;
using fuzz::FilePath;

struct Plain {
    std::string unit, article;
    double quantity;
};

void CheckAgainstPlainSearch(std::string_view data)
{
    kovanta::RequirementsList list;
    std::vector<Plain> plain;
    // Each addition: one length byte per key text (0-7), the texts, one quantity byte.
    while (data.size() >= 2) {
        const std::size_t unitLen = static_cast<unsigned char>(data[0]) & 7;
        const std::size_t articleLen = (static_cast<unsigned char>(data[0]) >> 3) & 7;
        data.remove_prefix(1);
        if (data.size() < unitLen + articleLen + 1)
            break;
        const std::string_view unit = data.substr(0, unitLen);
        const std::string_view article = data.substr(unitLen, articleLen);
        const double quantity = static_cast<signed char>(data[unitLen + articleLen]) / 4.0;
        data.remove_prefix(unitLen + articleLen + 1);

        list.AddRequirement(unit, article, quantity);
        bool found = false;
        for (Plain& row : plain) {
            if (row.unit == unit && row.article == article) {
                row.quantity += quantity;
                found = true;
                break;
            }
        }
        if (!found)
            plain.push_back({std::string(unit), std::string(article), quantity});
    }
    Check(list.size() == plain.size());
    for (std::size_t i = 0; i < plain.size(); ++i) {
        Check(list[i].UnitName == plain[i].unit);
        Check(list[i].Article == plain[i].article);
        Check(list[i].Quantity == plain[i].quantity);
    }
}

void ComputeFromFile(std::string_view data)
{
    fuzz::WriteFile(FilePath(), data.data(), data.size());
    const kovanta::TRezeptImportProz proz;
    kovanta::TImpListInfo entry;
    entry.FileName = FilePath();
    for (const char* portions : {"0", "1", "-3", "1000"}) {
        kovanta::RequirementsList list;
        kovanta::ComputeRequirements(proz, {kovanta::PlanRow{&entry, portions}}, list);
        if (portions[0] == '0')
            Check(list.empty());
        kovanta::RequirementsList again;
        for (std::size_t i = 0; i < list.size(); ++i)
            again.AddRequirement(list[i].UnitName, list[i].Article, 0);
        Check(again.size() == list.size()); // no key twice
        // At least the mask's width; a wider text is the whole number, without padding.
        const std::string quantity =
            kovanta::RequirementQuantityText(list.empty() ? 0 : list[0].Quantity);
        Check(quantity.size() >= 11 && (quantity.size() == 11 || quantity[0] != ' '));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const std::string_view data(reinterpret_cast<const char*>(bytes), size);
    CheckAgainstPlainSearch(data);
    ComputeFromFile(data);
    return 0;
}
