#include "jsonld/recipepage.h"

#include "jsonld/ingredient.h"
#include "jsonld/jsondoc.h"
#include "jsonld/scriptscan.h"
#include "jsonld/webtext.h"
#include "platform/codepage.h"
#include "recipe/recipetext.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_set>

namespace kovanta::jsonld {
namespace {

constexpr std::size_t kMaxSectionDepth = 8;
constexpr double kKjPerKcal = 4.184;
constexpr double kCarbsPerBreadUnit = 12; // grams of carbohydrate in one BE

// ---------------------------------------------------------------------------------------------
// Values of the recipe

// Portions from recipeYield: a number, a text with a number ("4 Portionen", "Für 4
// Personen"), or a list of those (the first with a number counts).
long long Portions(const json* yield, const Graph& graph)
{
    if (!yield)
        return 0;
    const json& v = graph.Resolve(*yield);
    if (v.is_number())
        return Clamp(v.get<double>());
    if (v.is_array()) {
        for (const json& e : v)
            if (const long long p = Portions(&e, graph))
                return p;
        return 0;
    }
    if (v.is_object())
        return Portions(Member(v, "value"), graph);
    if (v.is_string()) {
        const std::optional<double> n = FirstNumber(PlainText(v.get_ref<const std::string&>()));
        // Half a portion is still one.
        return n && *n > 0 ? std::max(1LL, Clamp(*n)) : 0;
    }
    return 0;
}

struct Energy {
    long long kcal = 0;
    long long kj = 0;
};

// Each number of a nutrition text with the word after it, lower case.
std::vector<std::pair<double, std::string>> Amounts(std::string_view text)
{
    std::vector<std::pair<double, std::string>> out;
    std::size_t pos = 0;
    while (pos < text.size() && out.size() < 8) {
        if (text[pos] < '0' || text[pos] > '9' || (pos > 0 && text[pos - 1] >= '0' &&
                                                   text[pos - 1] <= '9')) {
            ++pos;
            continue;
        }
        std::size_t length = 0;
        const std::optional<double> n = LeadingNumber(text.substr(pos), &length);
        pos += std::max<std::size_t>(length, 1);
        while (pos < text.size() && text[pos] == ' ')
            ++pos;
        std::string word;
        while (pos < text.size() && ((text[pos] | 0x20) >= 'a' && (text[pos] | 0x20) <= 'z'))
            word += static_cast<char>(text[pos++] | 0x20);
        if (n)
            out.emplace_back(*n, word);
    }
    return out;
}

Energy EnergyOf(const json* calories, const Graph& graph)
{
    Energy e;
    if (!calories)
        return e;
    const json& v = graph.Resolve(*calories);
    if (v.is_number()) {
        e.kcal = Clamp(v.get<double>());
    } else {
        for (const auto& [value, word] : Amounts(PlainText(RawText(v, graph)))) {
            if (word.starts_with("kj") && e.kj == 0)
                e.kj = Clamp(value);
            else if (!word.starts_with("kj") && e.kcal == 0)
                e.kcal = Clamp(value); // "kcal", "cal", "calories", "Kalorien" or no unit
        }
    }
    if (e.kj == 0 && e.kcal > 0)
        e.kj = Clamp(static_cast<double>(e.kcal) * kKjPerKcal);
    if (e.kcal == 0 && e.kj > 0)
        e.kcal = Clamp(static_cast<double>(e.kj) / kKjPerKcal);
    return e;
}

// A mass in the given unit ("80 mg", "0,08 g", "45 g"); a bare number is in that unit.
double MassIn(const json* value, const Graph& graph, std::string_view unit)
{
    if (!value)
        return 0;
    const json& v = graph.Resolve(*value);
    if (v.is_number())
        return v.get<double>();
    const auto amounts = Amounts(PlainText(RawText(v, graph)));
    if (amounts.empty())
        return 0;
    const auto& [n, word] = amounts.front();
    const double grams = word == "mg" ? n / 1000 : word == "kg" ? n * 1000 : n;
    return word.empty() || word == unit ? n : unit == "mg" ? grams * 1000 : grams;
}

// "2023-04-12T10:00:00+02:00" -> "12.04.2023"; anything else gives nothing.
std::string DateText(const std::string& iso)
{
    if (iso.size() < 10 || iso[4] != '-' || iso[7] != '-')
        return {};
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (iso[i] < '0' || iso[i] > '9')
            return {};
    return iso.substr(8, 2) + '.' + iso.substr(5, 2) + '.' + iso.substr(0, 4);
}

// The host of a link, without user and port: "https://a@www.x.example:8080/r" -> "www.x.example".
std::string HostOf(std::string_view url)
{
    const std::size_t scheme = url.find("://");
    if (scheme == std::string_view::npos)
        return {};
    std::string_view rest = url.substr(scheme + 3);
    rest = rest.substr(0, std::min(rest.find_first_of("/?#"), rest.size()));
    if (const std::size_t at = rest.rfind('@'); at != std::string_view::npos)
        rest.remove_prefix(at + 1);
    if (const std::size_t colon = rest.rfind(':'); colon != std::string_view::npos)
        rest = rest.substr(0, colon);
    return std::string(rest);
}

struct Times {
    long long work = 0;
    long long wait = 0;
};

// Working time (AZ) is the preparation, waiting time (WZ) the cooking and any resting that the
// total holds beyond preparation and cooking. Where a time is missing it is what the total
// leaves; a total alone is working time.
Times TimesOf(const json& recipe, const Graph& graph)
{
    const auto minutes = [&](const char* name) -> std::optional<long long> {
        const std::string text = MemberText(recipe, name, graph);
        return text.empty() ? std::nullopt : DurationMinutes(text);
    };
    const auto prep = minutes("prepTime");
    const auto cook = minutes("cookTime");
    const auto total = minutes("totalTime");
    Times t;
    if (prep)
        t.work = *prep;
    else if (total)
        t.work = std::max(0LL, *total - cook.value_or(0));
    if (prep && total)
        t.wait = std::max(*total - *prep, cook.value_or(0));
    else if (cook)
        t.wait = *cook;
    t.work = Clamp(static_cast<double>(t.work));
    t.wait = Clamp(static_cast<double>(t.wait));
    return t;
}

std::string AuthorText(const json* author, const Graph& graph)
{
    if (!author)
        return {};
    const json& v = graph.Resolve(*author);
    if (!v.is_array())
        return PlainText(RawText(v, graph));
    std::string out;
    std::size_t count = 0;
    for (const json& e : v) {
        const std::string name = PlainText(RawText(e, graph));
        if (name.empty() || ++count > 5)
            continue;
        out += (out.empty() ? "" : ", ") + name;
    }
    return out;
}

// The group: the first category of a list, or the first of a text that lists several.
std::string GroupText(const json& recipe, const Graph& graph)
{
    std::string group = MemberText(recipe, "recipeCategory", graph);
    group = group.substr(0, std::min(group.find_first_of(",;|"), group.size()));
    while (!group.empty() && group.back() == ' ')
        group.pop_back();
    return group;
}

// A section of the preparation: its name (may be empty) and its steps, each a plain paragraph.
struct Section {
    std::string name;
    std::vector<std::string> steps;
};

// The sections of recipeInstructions; steps beyond what a recipe file takes are not kept.
class Instructions {
public:
    void Collect(const json& value, const Graph& graph, std::size_t depth)
    {
        const json& v = graph.Resolve(value);
        if (depth > kMaxSectionDepth || steps_ >= kMaxRecipeBodyLines)
            return;
        if (v.is_string()) {
            AddSteps(v.get_ref<const std::string&>());
        } else if (v.is_array()) {
            for (const json& e : v)
                Collect(e, graph, depth + 1);
        } else if (v.is_object()) {
            const json* items = Member(v, "itemListElement");
            if (!items)
                items = Member(v, "steps");
            const json* text = Member(v, "text");
            const std::string name = MemberText(v, "name", graph);
            if (TypeIs(v, "HowToSection") || (items && !text)) {
                if (TypeIs(v, "HowToSection") || !sections_.empty() || !name.empty())
                    sections_.push_back({name, {}});
                if (items)
                    Collect(*items, graph, depth + 1);
            } else if (text || !name.empty()) {
                AddSteps(text ? RawText(*text, graph) : name);
            }
        }
    }

    const std::vector<Section>& Sections() const { return sections_; }
    bool HasSteps() const { return steps_ > 0; }

private:
    void AddSteps(const std::string& raw)
    {
        if (sections_.empty())
            sections_.emplace_back();
        for (std::string& p : PlainParagraphs(Capped(raw))) {
            if (steps_++ >= kMaxRecipeBodyLines)
                return;
            sections_.back().steps.push_back(std::move(p));
        }
    }

    std::vector<Section> sections_;
    std::size_t steps_ = 0;
};

// ---------------------------------------------------------------------------------------------
// The recipe file

std::string Left(std::string_view text, std::size_t width)
{
    std::string out(text.substr(0, width));
    out.resize(width, ' ');
    return out;
}

std::string Right(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

// At most width bytes of text, cut at a blank when one lies in its second half.
std::string CutAtWord(std::string_view text, std::size_t width)
{
    if (text.size() <= width)
        return std::string(text);
    const std::size_t blank = text.substr(0, width + 1).rfind(' ');
    std::string out(text.substr(0, blank != std::string_view::npos && blank >= width / 2 ? blank
                                                                                           : width));
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

// A text line of the preparation must not put a marker byte or "ca" where the text-line rules
// look for them: they would be taken for markers and blanked.
bool KeepsAllCharacters(std::string_view line)
{
    std::string copy(line);
    return TextMarkers(copy) == 0;
}

class RecipeFileBuilder {
public:
    void HeadLine(std::string line) { head_.push_back(std::move(line)); }

    bool Full() const { return body_.size() >= kMaxRecipeBodyLines; }

    void BodyLine(std::string line)
    {
        if (Full())
            cut_ = true;
        else
            body_.push_back(std::move(line));
    }

    // Plain text over as many text lines as it needs.
    void Text(std::string_view oem)
    {
        for (std::string& line : Wrap(oem, kTextWidth, KeepsAllCharacters))
            BodyLine(":    " + line);
    }

    // A label line ("Zubereitung:^"), shown bold.
    void Label(std::string_view oem)
    {
        std::string name = CutAtWord(oem, 54);
        if (name.empty())
            return;
        if (name.back() != ':')
            name += ':';
        BodyLine(":    " + name + "^");
    }

    void AddIngredient(const std::string& plain)
    {
        const Ingredient parts = ParseIngredient(plain);
        const long long amount =
            parts.quantity ? std::llround(*parts.quantity * 100) : -1;
        // The file keeps hundredths in nine digits: a quantity that needs more, or that is
        // too small to show, stays text (an article without quantity).
        if (amount < 0 || amount > 999999999 || (amount == 0 && *parts.quantity > 0)) {
            const std::string text = ToOem(plain);
            if (!text.empty() && text.back() == ':') {
                Label(text);
                return;
            }
            const std::string first = CutAtWord(text, kTextWidth - 1);
            if (first.empty())
                return;
            BodyLine(":    " + first + "^");
            Text(std::string_view(text).substr(first.size()));
            return;
        }
        const std::string unit = ToOem(parts.unit).substr(0, kUnitWidth);
        const std::string article = ToOem(parts.article);
        const std::string first = CutAtWord(article, kArticleWidth);
        BodyLine("*" + Right(std::to_string(amount), 9) + std::string(7, ' ') + Right("1", 4) +
                 std::string(24, ' ') + Left(unit, kUnitWidth) + std::string(25, ' ') +
                 Left(first, kArticleWidth));
        // The rest of a long article text follows as text, so that nothing of it is lost.
        Text(std::string_view(article).substr(first.size()));
    }

    std::string File() const
    {
        std::string out;
        for (const std::string& line : head_)
            out += line + "\r\n";
        for (const std::string& line : body_)
            out += line + "\r\n";
        if (cut_)
            out += ":    ... (Rezept gek\x81rzt)\r\n"; // OEM ü
        out += "^^\r\n";
        return out;
    }

private:
    std::vector<std::string> head_;
    std::vector<std::string> body_;
    bool cut_ = false;
};

// Where the recipe comes from: the page's link, else the link the data gives for the recipe
// (a saved page): its url, the page it is the main entity of, or an @id that is a web link.
std::string LinkText(std::string_view pageUrl, const json& recipe)
{
    if (!pageUrl.empty())
        return PlainText(codepage::ansiToUtf8(pageUrl));
    for (const char* name : {"url", "mainEntityOfPage", "@id"}) {
        const json* m = Member(recipe, name);
        if (!m)
            continue;
        const json& v = m->is_object() && m->contains("@id") ? (*m)["@id"] : *m;
        std::string link = v.is_string() ? PlainText(Capped(v.get_ref<const std::string&>())) : "";
        link = link.substr(0, std::min(link.find('#'), link.size()));
        if (link.starts_with("http://") || link.starts_with("https://"))
            return link;
    }
    return {};
}

// A recipe without a name, ingredients and preparation is no recipe.
std::optional<PageRecipe> BuildRecipe(const json& recipe, const Graph& graph,
                                      std::string_view pageUrl)
{
    std::string name = MemberText(recipe, "name", graph);
    if (name.empty())
        name = MemberText(recipe, "headline", graph);
    const json* ingredientList = Member(recipe, "recipeIngredient");
    if (!ingredientList)
        ingredientList = Member(recipe, "ingredients");
    std::vector<std::string> ingredients;
    if (ingredientList) {
        const json& list = graph.Resolve(*ingredientList);
        const auto add = [&](const json& e) {
            for (std::string& p : PlainParagraphs(RawText(e, graph)))
                if (ingredients.size() < kMaxIngredients)
                    ingredients.push_back(std::move(p));
        };
        if (list.is_array())
            for (const json& e : list)
                add(e);
        else
            add(list);
    }
    Instructions instructions;
    if (const json* value = Member(recipe, "recipeInstructions"))
        instructions.Collect(*value, graph, 0);
    const bool hasSteps = instructions.HasSteps();
    if (name.empty() && ingredients.empty() && !hasSteps)
        return std::nullopt;

    const std::string oemName = name.empty() ? std::string("Webrezept") : ToOem(name);
    const std::string link = LinkText(pageUrl, recipe);
    const std::string published = MemberText(recipe, "datePublished", graph);
    const json* nutritionValue = Member(recipe, "nutrition");
    const json& nutrition = nutritionValue ? graph.Resolve(*nutritionValue) : recipe;
    const bool hasNutrition = nutritionValue && nutrition.is_object();
    const Energy energy = hasNutrition ? EnergyOf(Member(nutrition, "calories"), graph) : Energy{};
    const long long be =
        hasNutrition
            ? Clamp(MassIn(Member(nutrition, "carbohydrateContent"), graph, "g") /
                    kCarbsPerBreadUnit)
            : 0;
    const long long chol =
        hasNutrition ? Clamp(MassIn(Member(nutrition, "cholesterolContent"), graph, "mg")) : 0;
    const Times times = TimesOf(recipe, graph);

    RecipeFileBuilder file;
    file.HeadLine(DateText(published));
    file.HeadLine(ToOem(HostOf(link)).substr(0, 80));
    file.HeadLine(CutAtWord(oemName, 100));
    file.HeadLine(Left(CutAtWord(oemName, kShortNameWidth), kShortNameWidth) + "    0");
    file.HeadLine(CutAtWord(ToOem(GroupText(recipe, graph)), kGroupWidth));
    // The full name, when the name field cuts it, in the two description lines.
    std::vector<std::string> full;
    if (oemName.size() > kShortNameWidth)
        full = Wrap(oemName, kDescriptionWidth);
    if (full.size() > 2)
        full[1] = full[1].substr(0, kDescriptionWidth - 3) + "...";
    full.resize(2);
    file.HeadLine(full[0]);
    file.HeadLine(full[1]);
    file.HeadLine(std::to_string(Portions(Member(recipe, "recipeYield"), graph)));
    file.HeadLine("0");
    for (long long n : {times.work, times.wait, energy.kcal, energy.kj, be, chol})
        file.HeadLine(std::to_string(n));

    if (!link.empty())
        file.Text("Quelle: " + ToOem(link));
    if (const std::string author = AuthorText(Member(recipe, "author"), graph); !author.empty())
        file.Text("Autor: " + ToOem(author));
    if (!ingredients.empty()) {
        file.Label("Zutaten:");
        for (const std::string& ingredient : ingredients)
            file.AddIngredient(ingredient);
    }
    if (hasSteps) {
        file.Label("Zubereitung:");
        for (const Section& section : instructions.Sections()) {
            if (!section.name.empty() && !section.steps.empty())
                file.Label(ToOem(section.name));
            // Steps are numbered unless the site numbers them itself.
            const bool number =
                section.steps.size() > 1 &&
                std::none_of(section.steps.begin(), section.steps.end(),
                             [](const std::string& s) { return s[0] >= '0' && s[0] <= '9'; });
            for (std::size_t i = 0; i < section.steps.size() && !file.Full(); ++i)
                file.Text((number ? std::to_string(i + 1) + ". " : std::string()) +
                          ToOem(section.steps[i]));
        }
    }
    return PageRecipe{codepage::oemToAnsi(oemName), file.File()};
}

} // namespace

PageRecipes ConvertRecipePage(std::string_view page, std::string_view pageUrl)
{
    PageRecipes result;
    std::unordered_set<std::string> seen;
    std::size_t parsed = 0;
    for (std::string_view block : FindJsonLdScripts(page.substr(0, kMaxPageBytes))) {
        if (result.recipes.size() >= kMaxRecipesPerPage)
            break;
        if (block.empty() || block.size() > kMaxBlockBytes ||
            parsed + block.size() > kMaxParsedBytes)
            continue;
        parsed += block.size();
        const std::optional<std::string_view> value = FirstJsonValue(block, kMaxJsonDepth);
        if (!value)
            continue;
        block = *value;
        // A page in another code page than UTF-8 is taken for Windows-1252.
        std::string converted;
        if (!IsValidUtf8(block)) {
            converted = codepage::ansiToUtf8(block);
            block = converted;
        }
        const json doc = json::parse(block.begin(), block.end(), nullptr, false, true);
        if (doc.is_discarded())
            continue;
        const Graph graph(doc);
        std::vector<const json*> found;
        std::size_t budget = kMaxNodes;
        FindRecipes(doc, graph, 0, budget, found);
        for (const json* recipe : found) {
            if (result.recipes.size() >= kMaxRecipesPerPage)
                break;
            std::optional<PageRecipe> built = BuildRecipe(*recipe, graph, pageUrl);
            if (built && seen.insert(built->file).second)
                result.recipes.push_back(std::move(*built));
        }
    }
    if (result.recipes.empty())
        result.message = std::string(kNoRecipeData);
    return result;
}

} // namespace kovanta::jsonld
