#include "recipegen/recipegen.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace kovanta::recipegen {

namespace {

// SplitMix64: tiny, fast and the same everywhere (the standard distributions are not).
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Uniform in [lo, hi].
    std::uint64_t Between(std::uint64_t lo, std::uint64_t hi)
    {
        return lo + Next() % (hi - lo + 1);
    }
    bool Chance(unsigned percent) { return Next() % 100 < percent; }
    template <typename T, std::size_t N> const T& Pick(const std::array<T, N>& items)
    {
        return items[Next() % N];
    }

private:
    std::uint64_t state_;
};

// Words in CP850: \x81 ü, \x84 ä, \x94 ö, \x8E Ä, \x99 Ö, \x9A Ü, \xE1 ß.
constexpr std::array<std::string_view, 16> kDishes = {"Gulasch",
                                                      "Eintopf",
                                                      "Braten",
                                                      "Auflauf",
                                                      "Suppe",
                                                      "Ragout",
                                                      "Frikassee",
                                                      "Pfanne",
                                                      "Geschnetz.",
                                                      "Rouladen",
                                                      "Salat",
                                                      "Sp\x84tzle",
                                                      "Kn\x94"
                                                      "del",
                                                      "Strudel",
                                                      "Pudding",
                                                      "Gratin"};
constexpr std::array<std::string_view, 16> kKinds = {
    "Rinder",  "Schweine", "H\x84hnchen", "Gem\x81se", "Kartoffel", "Linsen", "Fisch", "Pilz",
    "K\x84se", "Apfel",    "Kohl",        "Erbsen",    "Tomaten",   "Spinat", "Reis",  "Nudel"};
constexpr std::array<std::string_view, 10> kGroups = {
    "Fleischgerichte", "Gefl\x81gel", "Suppen",    "Eint\x94pfe",   "Desserts",
    "Salate",          "Beilagen",    "Teigwaren", "Fischgerichte", "Vegetarisch"};
constexpr std::array<std::string_view, 24> kArticles = {"Zwiebeln",
                                                        "Karotten",
                                                        "Kartoffeln festkochend",
                                                        "Rindfleisch aus der Keule",
                                                        "Schweinenacken",
                                                        "H\x84hnchenbrust",
                                                        "Weizenmehl Type 405",
                                                        "Butter",
                                                        "Margarine",
                                                        "Vollmilch",
                                                        "Sahne",
                                                        "Eier",
                                                        "Bergk\x84se gerieben",
                                                        "Tomatenmark",
                                                        "Gem\x81sebr\x81he",
                                                        "Raps\x94l",
                                                        "Zucker",
                                                        "Speisest\x84rke",
                                                        "Lauch",
                                                        "Sellerie",
                                                        "Champignons",
                                                        "Paprika rot",
                                                        "Knoblauch",
                                                        "Wei\xE1wein"};
constexpr std::array<std::string_view, 7> kUnits = {"kg",
                                                    "g",
                                                    "l",
                                                    "ml",
                                                    "St\x81"
                                                    "ck",
                                                    "Pck.",
                                                    "Bund"};
constexpr std::array<std::string_view, 6> kLabels = {"F\x81r den Teig:",
                                                     "F\x81r die F\x81llung:",
                                                     "F\x81r die So\xE1"
                                                     "e:",
                                                     "Zutaten:",
                                                     "Zubereitung:",
                                                     "Zum Anrichten:"};
constexpr std::array<std::string_view, 8> kSpices = {"Salz", "Pfeffer", "Muskat", "Majoran",
                                                     "Zimt", "Lorbeer", "Dill",   "Petersilie"};
constexpr std::array<std::string_view, 8> kSteps = {
    "Alles gut waschen und putzen.",
    "Zwiebeln w\x81rfeln und glasig d\x81nsten.",
    "Fleisch portionieren und kr\x84"
    "ftig anbraten.",
    "Mit Br\x81he abl\x94schen und zugedeckt garen.",
    "Abschmecken und warm halten.",
    "In Schalen f\x81llen und kalt stellen.",
    "Im Ofen bei 180 Grad goldbraun backen.",
    "Vor dem Servieren nochmals kurz aufkochen."};

std::string Left(std::string_view text, std::size_t width)
{
    std::string out(text.substr(0, width));
    out.resize(width, ' ');
    return out;
}

std::string Right(std::string_view text, std::size_t width)
{
    if (text.size() >= width)
        return std::string(text.substr(text.size() - width));
    return std::string(width - text.size(), ' ') + std::string(text);
}

std::string Num(std::uint64_t n)
{
    return std::to_string(n);
}

struct Head {
    std::string shortName, group;
    std::uint64_t nameNumber, portions, az, wz, kcal;
};

Head MakeHead(Rng& rng, std::uint64_t index)
{
    Head h;
    h.shortName = std::string(rng.Pick(kKinds)) + std::string(rng.Pick(kDishes));
    h.group = std::string(rng.Pick(kGroups));
    h.nameNumber = index % 100000;
    h.portions = rng.Between(1, 60);
    h.az = rng.Between(5, 120);
    h.wz = rng.Between(0, 240);
    h.kcal = rng.Between(80, 1200);
    return h;
}

void Line(std::string& out, std::string_view line)
{
    out.append(line);
    out.append("\r\n");
}

std::string Block(std::uint64_t seed, std::uint64_t index, Head* headOut)
{
    Rng rng(seed * 0x100000001B3ULL + index);
    const Head h = MakeHead(rng, index);
    if (headOut)
        *headOut = h;
    std::string out;
    out.reserve(2048);
    const std::uint64_t day = rng.Between(1, 28), month = rng.Between(1, 12);
    Line(out, (day < 10 ? "0" : "") + Num(day) + (month < 10 ? ".0" : ".") + Num(month) + ".1998");
    Line(out, "Kantine " + Num(rng.Between(1, 40)));
    Line(out, "Rezeptur " + h.group);
    Line(out, Left(h.shortName, 20) + Right(Num(h.nameNumber), 5));
    Line(out, Left(h.group, 20));
    Line(out, h.shortName + (rng.Chance(20) ? " (!)" : ""));
    Line(out, rng.Chance(50) ? std::string("nach Hausart") : std::string());
    Line(out, Num(h.portions));
    Line(out, "0");
    Line(out, Num(h.az));
    Line(out, Num(h.wz));
    Line(out, Num(h.kcal));
    Line(out, Num(h.kcal * 4186 / 1000));
    Line(out, Num(rng.Between(0, 9)));
    Line(out, Num(rng.Between(0, 300)));

    const std::uint64_t articles = rng.Between(6, 16);
    for (std::uint64_t i = 0; i < articles; ++i) {
        if (rng.Chance(15))
            Line(out, ":    " + std::string(rng.Pick(kLabels)) + "^");
        const std::uint64_t divisor = rng.Chance(10) ? rng.Between(2, 8) : 1;
        const std::uint64_t amount = rng.Between(1, 500000);
        const std::string unit = Left(rng.Pick(kUnits), 8);
        const std::string article = Left(rng.Pick(kArticles), 30);
        if (rng.Chance(25)) {
            std::string d = Num(divisor);
            d.insert(0, 4 - d.size(), '0'); // compact layout: column 11 is a digit
            Line(out, "*" + Right(Num(amount), 9) + d + std::string(24, ' ') + unit +
                          std::string(25, ' ') + article);
        } else {
            Line(out, "*" + Right(Num(amount), 9) + std::string(7, ' ') + Right(Num(divisor), 4) +
                          std::string(24, ' ') + unit + std::string(25, ' ') + article);
        }
        if (rng.Chance(8))
            Line(out, ":    oder^");
    }
    if (rng.Chance(60))
        Line(out,
             ":    " + std::string(rng.Pick(kSpices)) + "^" + std::string(rng.Pick(kSpices)) + "^");
    const std::uint64_t steps = rng.Between(2, 6);
    for (std::uint64_t i = 0; i < steps; ++i) {
        const std::string value = Right(Num(rng.Between(1, 60)), 4);
        std::string text(rng.Pick(kSteps));
        if (rng.Chance(15))
            text = Left(text, 63) + "ca"; // the value is an estimate
        Line(out, ":" + value + text);
    }
    if (rng.Chance(10))
        Line(out, ".Hinweis: Punktzeilen geh\x94ren im Block zum Text");
    Line(out, "^^");
    return out;
}

std::string FileName(std::size_t number)
{
    std::string digits = Num(number);
    if (digits.size() < 5)
        digits.insert(0, 5 - digits.size(), '0');
    return "REZ" + digits + ".DAT";
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

} // namespace

std::string RecipeBlock(std::uint64_t seed, std::uint64_t index)
{
    return Block(seed, index, nullptr);
}

std::string ListFile(std::uint64_t seed, std::uint64_t firstIndex, std::size_t entries)
{
    const std::vector<std::string> comments = {".Rezeptliste " + Num(firstIndex),
                                               ".synthetisch, Startwert " + Num(seed)};
    std::uint64_t indexSize = 4; // "^^" CR LF
    for (const std::string& c : comments)
        indexSize += c.size() + 2;
    indexSize += 80 * entries;

    std::string head, body;
    for (const std::string& c : comments)
        Line(head, c);
    for (std::size_t i = 0; i < entries; ++i) {
        Head h;
        std::string block = Block(seed, firstIndex + i, &h);
        block.resize(block.size() - 4); // the next separator ends the block
        const std::uint64_t offset = indexSize + body.size();
        std::string separator = Num(i + 1);
        separator.insert(0, separator.size() < 5 ? 5 - separator.size() : 0, '0');
        Line(body, "^^" + separator.substr(separator.size() - 5));
        body += block;
        Line(head, "^" + Left(h.shortName, 20) + Right(Num(h.nameNumber), 5) + " " +
                       Left(h.group, 20) + " " + Right(Num(h.portions), 5) + Right(Num(h.az), 4) +
                       Right(Num(h.wz), 4) + Right(Num(h.kcal), 4) + std::string(5, ' ') +
                       Right(Num(offset), 8));
    }
    Line(head, "^^");
    Line(body, "^^");
    return head + body;
}

CollectionSummary WriteCollection(const std::string& directory, const CollectionShape& shape)
{
    const std::filesystem::path dir(directory);
    std::filesystem::create_directories(dir);
    CollectionSummary summary;
    std::size_t number = shape.firstNumber;
    std::uint64_t recipe = 0;
    for (std::size_t i = 0; i < shape.singleFiles; ++i) {
        const std::string bytes = RecipeBlock(shape.seed, recipe++);
        WriteFile(dir / FileName(number++), bytes);
        ++summary.files;
        ++summary.recipes;
        summary.bytes += bytes.size();
    }
    for (std::size_t i = 0; i < shape.listFiles; ++i) {
        const std::string bytes = ListFile(shape.seed, recipe, shape.entriesPerList);
        recipe += shape.entriesPerList;
        WriteFile(dir / FileName(number++), bytes);
        ++summary.files;
        summary.recipes += shape.entriesPerList;
        summary.bytes += bytes.size();
    }
    return summary;
}

} // namespace kovanta::recipegen
