// Recipe pages of other sites: pages we made after what recipe sites publish, converted, and
// every recipe file read back through the program's own reader, preview and requirements list.
#include "jsonld/ingredient.h"
#include "jsonld/recipepage.h"
#include "jsonld/scriptscan.h"
#include "platform/codepage.h"
#include "recipe/recipetext.h"
#include "recipe/requirements.h"
#include "support/testdir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

using namespace kovanta;

std::string Page(const std::string& name)
{
    const char* source = std::getenv("KOVANTA_SOURCE_DIR");
    std::ifstream in(std::string(source ? source : ".") + "/tests/data/jsonld/" + name,
                     std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Expected {
    std::string list;                  // "Rezept|Gruppe|Portionen|AZ|WZ|kcal|kJ|BE|Chol"
    std::string requirements;          // for twice the stored portions: "Menge Einheit Artikel;"...
    std::vector<std::string> preview;  // texts the preview holds
};

struct PageCase {
    std::string file;
    std::string url;
    std::vector<Expected> recipes;
};

// The recipe file as the program reads it: list entry, preview, requirements (UTF-8).
void ExpectReadsBack(const TestDir& dir, const std::string& file, const Expected& expected)
{
    const std::string path = dir.write("REZ00001.DAT", file);
    const TRezeptImportProz proz;
    RecipeList list;
    proz.ReadRecipeIndex(path, list);
    ASSERT_EQ(list.size(), 1u);
    const TImpListInfo& e = *list[0].Entry;
    std::ostringstream fields;
    fields << e.ShortName << '|' << e.GroupName << '|' << e.Portions << '|' << e.WorkMinutes << '|'
           << e.WaitMinutes << '|' << e.Kcal << '|' << e.KJ << '|' << e.BE << '|' << e.Chol;
    EXPECT_EQ(codepage::ansiToUtf8(fields.str()), expected.list);

    RecipeText preview;
    ASSERT_TRUE(FillPreviewRich(proz, e, preview, 0));
    const std::string text = codepage::ansiToUtf8(PlainText(preview));
    for (const std::string& part : expected.preview)
        EXPECT_NE(text.find(part), std::string::npos) << part << "\nin:\n" << text;

    RequirementsList rows;
    bool alternative = false;
    AddRecipeRequirements(proz, e, rows, alternative, e.Portions * 2);
    std::string sums;
    for (std::size_t i = 0; i < rows.size(); ++i)
        sums += std::string(Trim(RequirementQuantityText(rows[i].Quantity))) + ' ' +
                rows[i].UnitName + ' ' + rows[i].Article + ';';
    EXPECT_EQ(codepage::ansiToUtf8(sums), expected.requirements);
}

TEST(RecipePage, EveryRecipeOfAPageReadsBackWithTheSameValues)
{
    const PageCase cases[] = {
        {"gulasch-graph.htm",
         "https://www.kochen-im-tal.example/rezepte/rindergulasch/",
         {{"Rindergulasch mit|Hauptgericht|4|20|110|450|1883|3|95",
           "1600,000 g Rindergulasch;4,000 EL Öl;1,000 TL Salz;3,000 Tassen Rinderbrühe;"
           "4,000  Zwiebeln (2-3);2,000 Prise Zucker;0,000  Salz und Pfeffer;0,500 l Rotwein;"
           "3,000 kg Kartoffeln, festkochend,;4,000  Esslöffel Paprika & Chili;"
           "2000,000 g Paprikaschoten (ca.);",
           {"Rindergulasch mit Paprika nach Omas Art (www.kochen-im-tal.example) vom 09.03.2024",
            "Quelle: https://www.kochen-im-tal.example/rezepte/rindergulasch/",
            "Autor: Anna Köhler", "\t\t800 g Rindergulasch", "\t\t0,5 TL Salz",
            "\t\t1,5 Tassen Rinderbrühe", "\t\t2  Zwiebeln (2-3)", "\t\tSalz und Pfeffer",
            "\tgeschält und in grobe Würfel geschnitten", "\tFür das Gulasch:\t",
            "\t1. Das Fleisch in 3 cm große Würfel", "\tca. 90 Minuten.\t"}}}},
        {"pancakes.htm",
         "",
         {{"Fluffy Pancakes|Breakfast|8|30|0|250|1046|0|50",
           "3,000 cups all-purpose flour;7,000  teaspoons baking powder;2,000 tbsp. white sugar;"
           "2,500 cups milk;2,000  egg;0,000  a pinch of salt;"
           "4,000 tbsp butter, melted (2 to 3 tbsp);2,000  (8 ounce) container sour cream;"
           "0,660 cup blueberries;",
           {"(www.breakfast-corner.example) vom",
            "\tQuelle:\t\n\thttps://www.breakfast-corner.example/recipes/fluffy-pancakes\t",
            "Autor: Sam Baker, Jo Cook", "salt &\t\n\tsugar.", "1/4 cup for each", "enjoy ?!"}}}},
        {"zwei-rezepte.htm",
         "http://kantine.example/rezepte.htm",
         {{"Kartoffelsuppe|Suppen|6|0|45|300|1255|0|0",
           "2,000 kg Kartoffeln;2,000 Bund Suppengrün;3,000 l Gemüsebrühe;400,000 ml Sahne;",
           {"\t3. Pürieren, Sahne unterziehen."}},
          {"Apfelkompott|Dessert|6|15|45|0|0|0|0",
           "2,000 kg Äpfel;200,000 g Zucker;2,000 Stange Zimt;1,000  Zitrone (Saft);",
           {"\tÄpfel schälen, vierteln"}}}},
        {"kaputt.htm",
         "",
         {{"Grießbrei||2|0|0|0|0|0|0", "1000,000 ml Milch;120,000 g Weichweizengrieß;",
           {"Grießbrei () vom ", "\tMilch aufkochen, Grieß einrühren.\t"}}}},
        {"ohne-rezept.htm", "", {}},
    };
    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.file);
        const jsonld::PageRecipes result = jsonld::ConvertRecipePage(Page(c.file), c.url);
        ASSERT_EQ(result.recipes.size(), c.recipes.size());
        EXPECT_EQ(result.message, c.recipes.empty() ? "Keine Rezeptdaten gefunden" : "");
        TestDir dir;
        for (std::size_t i = 0; i < c.recipes.size(); ++i)
            ExpectReadsBack(dir, result.recipes[i].file, c.recipes[i]);
    }
}

// Pages of 16 MiB: a recipe behind 16 MiB of markup is found; one JSON block of that size,
// JSON nested a million deep and a page of nothing but script tags are no recipe data.
TEST(RecipePage, PagesOfSixteenMebibytesStayWithinTheBounds)
{
    const std::string recipe = R"(<script type="application/ld+json">{"@type":"Recipe",)"
                               R"("name":"Hinten","recipeIngredient":["1 Ei"]}</script>)";
    const std::size_t size = jsonld::kMaxPageBytes;
    std::string behindMarkup(size - recipe.size(), 'x');
    for (std::size_t i = 0; i + 6 < behindMarkup.size(); i += 997)
        behindMarkup.replace(i, 6, "<p><b>");
    behindMarkup += recipe;
    const jsonld::PageRecipes found = jsonld::ConvertRecipePage(behindMarkup, "");
    ASSERT_EQ(found.recipes.size(), 1u);
    EXPECT_EQ(found.recipes[0].name, "Hinten");

    const std::string open = R"(<script type="application/ld+json">)";
    std::string oneBlock = open + R"({"@type":"Recipe","name":")" +
                           std::string(size - 60, 'a') + R"("}</script>)";
    std::string deep = open + std::string(size - open.size(), '[');
    std::string tags;
    while (tags.size() + open.size() < size)
        tags += open;
    for (const std::string* page : {&oneBlock, &deep, &tags})
        EXPECT_EQ(jsonld::ConvertRecipePage(*page, "").message, jsonld::kNoRecipeData);
}

// The ingredient forms of German and English sites beyond those of the pages above.
TEST(RecipePage, IngredientLinesAreTakenApartAsWritten)
{
    const struct {
        const char* line;
        std::optional<double> quantity;
        const char* unit;
        const char* article;
    } rows[] = {
        {"1½ Tassen Milch", 1.5, "Tassen", "Milch"},
        {"2 bis 3 Eier", 2, "", "Eier (2 bis 3)"},
        {"1,000 g Zucker", 1000, "g", "Zucker"},
        {"0,125 l Sahne", 0.125, "l", "Sahne"},
        {"400g Tomaten", 400, "g", "Tomaten"},
        {"2 cups of flour", 2, "cups", "flour"},
        {"3 Eier", 3, "", "Eier"},
        {"1 Msp. Muskat", 1, "Msp.", "Muskat"},
        {"etwa 2–3 EL Öl", 2, "EL", "Öl (ca. 2-3 EL)"},
        {"½", 0.5, "", ""},
        {"Eier", std::nullopt, "", "Eier"},
        {"1/0 Ei", 1, "", "/0 Ei"},
    };
    for (const auto& r : rows) {
        const jsonld::Ingredient got = jsonld::ParseIngredient(r.line);
        EXPECT_EQ(got, (jsonld::Ingredient{r.quantity, r.unit, r.article})) << r.line;
    }
    const struct {
        const char* text;
        std::optional<long long> minutes;
    } durations[] = {{"PT1H30M", 90}, {"P1DT2H", 1560}, {"PT0.5H", 30}, {"pt90s", 2},
                     {"45", 45},      {"PT", std::nullopt}, {"1 Stunde", std::nullopt}};
    for (const auto& d : durations)
        EXPECT_EQ(jsonld::DurationMinutes(d.text), d.minutes) << d.text;
}

// The scanner on broken and unusual markup: what it takes as the JSON of each block.
TEST(RecipePage, ScannerFindsTheBlocksOfBrokenPages)
{
    const struct {
        std::string page;
        std::vector<std::string_view> blocks;
    } rows[] = {
        {"<script src=x type=\"application/ld+json\" async>{1}</script>", {"{1}"}},
        {"<SCRIPT TYPE='APPLICATION/LD+JSON'>{1}</ScRiPt><script type=text/json>{2}</script>",
         {"{1}"}},
        {"<script type=\"application/ld+jsonx\">{1}</script><scripts type=application/ld+json>",
         {}},
        {"<script>var s='<script type=application/ld+json>{1}';</script>", {}},
        {"<!-- <script type=application/ld+json>{1}</script> --><script "
         "type=application/ld+json><![CDATA[{2}]]></script>",
         {"{2}"}},
        {"<script type=application/ld+json>\n{3}\n<p>abgebrochen", {"{3}\n<p>abgebrochen"}},
        {"<script type=\"application/ld+json", {}},
        {"<!-- offen <script type=application/ld+json>{1}</script>", {}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(jsonld::FindJsonLdScripts(r.page), r.blocks) << r.page;
}

} // namespace
