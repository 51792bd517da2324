// `rezeptur preview` and `rezeptur printgrid` end to end: the built program on recipe files the
// tests write byte for byte.
#include "recipe/recipe_fixture.h"
#include "support/rezeptur.h"
#include "support/testdir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace {

using fixture::Article;
using fixture::Text;
using rezeptur_test::ReadAll;
using rezeptur_test::RunResult;

class RezepturText : public ::testing::Test {
protected:
    void SetUp() override
    {
        program_ = rezeptur_test::Program();
        ASSERT_TRUE(std::filesystem::exists(program_)) << program_;
    }

    RunResult Run(const std::string& args) { return rezeptur_test::Run(dir_.dir(), args, dir_); }

    std::string program_;
    TestDir dir_;
};

// Every line kind once; OEM umlauts (0x81 = ü, 0x84 = ä).
std::string SampleRecipe()
{
    fixture::Head h;
    h.desc2 = "kr\x84"
              "ftig (!)";
    return fixture::Join(
        fixture::Block(h, {
                              Article("125", "1", "kg", "Mehl"),
                              Text("0005", "F\x81r den Teig:^"),
                              Text("0000", "Salz und Pfeffer^"),
                              Text("0007", "oder^"),
                              Text("0090", fixture::Left("Schmoren lassen", 63) + "ca"),
                              "#Sonstiges",
                              "^^",
                          }));
}

} // namespace

TEST_F(RezepturText, PreviewPrintsOneLinePerParagraphInUtf8)
{
    dir_.write("REZ00042.DAT", SampleRecipe());
    const RunResult run = Run("preview REZ00042.DAT --portions 25");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "Rezeptur (Kantine Nord) vom 12.03.1998\n"
                       "\n"
                       "Rezept: Gulasch,   Gruppe: Fleisch\n"
                       "\n"
                       "Rindergulasch\n"
                       "kräftig \n"
                       "25 Portionen\n"
                       "\n"
                       "\t\t3,125 kg Mehl\n"
                       "\tFür den Teig:\t0005\n"
                       "\t\tSalz und Pfeffer\n"
                       "\toder\t0007\n"
                       "\tSchmoren lassen\tca.0090\n");
}

TEST_F(RezepturText, NegativePortionsAreTakenAsGiven)
{
    dir_.write("REZ00042.DAT", SampleRecipe());
    const RunResult run = Run("preview REZ00042.DAT --portions -4");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("\n-4 Portionen\n"), std::string::npos);
    EXPECT_NE(run.out.find("\n\t\t-0,5 kg Mehl\n"), std::string::npos);
}

TEST_F(RezepturText, PrintGridPrintsRowsOneToTheLastWithTrailingBlanksRemoved)
{
    dir_.write("REZ00042.DAT", SampleRecipe());
    const RunResult run = Run("printgrid --portions 20 REZ00042.DAT");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    // Rows 1-4 (head), 5-11 (file lines 9-15), then one per body line up to "^^".
    EXPECT_TRUE(run.out.starts_with("\t12.03.1998\tKantine Nord\tRezeptur\n"
                                    "\tGulasch\tFleisch\t\n"
                                    "\tRindergulasch\tkräftig (!)\t\n"
                                    "\t20\t\t\n"
                                    "0\t0\t\t\n"));
    EXPECT_TRUE(run.out.ends_with("8\t80\t\t\n"
                                  "*\t2,5\tkg\tMehl\n"
                                  ":\tFür den Teig:^\t0005\t\n"
                                  ":\tSalz und Pfeffer^\t0000\t\n"
                                  ":\toder^\t0007\t\n"
                                  ":\tSchmoren lassen" +
                                  std::string(48, ' ') +
                                  "ca\t0090\t\n"
                                  "#\t#Sonstiges\t\t\n"));
}

TEST_F(RezepturText, UnreadableFileFailsWithMessage)
{
    // One recipe, then enough bytes that entry 2 would land in them.
    dir_.write("REZ00007.DAT",
               fixture::ListFile({}, {{fixture::Head{}, {}}}) + std::string(400, 'x'));
    for (const std::string args : {"preview gibtsnicht.DAT", "printgrid gibtsnicht.DAT",
                                   "preview REZ00007.DAT --entry 2", "printgrid REZ00007.DAT",
                                   "printgrid .", "preview ."}) {
        const RunResult run = Run(args);
        EXPECT_EQ(run.status, 1) << args;
        EXPECT_EQ(run.out, "") << args;
        EXPECT_NE(run.err, "") << args;
    }
    EXPECT_EQ(Run("preview REZ00007.DAT --entry 2").err,
              "rezeptur preview: \"REZ00007.DAT\" hat keinen Eintrag 2 (eine Rezeptliste mit "
              "Eintrag 1)\n");
}

