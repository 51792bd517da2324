// --help and --version of the three programs, the help of every command, the manual page and
// the bash completion kept in step with it, and the messages for wrong arguments.
#include "support/rezeptur.h"
#include "support/testdir.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

using rezeptur_test::Env;
using rezeptur_test::ReadAll;
using rezeptur_test::RunCommand;
using rezeptur_test::RunResult;

RunResult RunProgram(const std::string& args, const TestDir& scratch)
{
    // No display: help and version must not need one.
    return RunCommand("cd '" + scratch.dir() + "' && env -u DISPLAY -u WAYLAND_DISPLAY -u "
                      "QT_QPA_PLATFORM '" + Env("KOVANTA_BIN_DIR") + "/" + args,
                      scratch);
}

std::set<std::string> OptionsIn(const std::string& text)
{
    std::set<std::string> out;
    static const std::regex option("--[a-z]+");
    for (std::sregex_iterator it(text.begin(), text.end(), option), end; it != end; ++it)
        out.insert(it->str());
    return out;
}

} // namespace

TEST(ProgramHelp, HelpAndVersionGoToStdoutWithStatusZero)
{
    TestDir scratch;
    for (const char* args :
         {"kovanta' --help", "kovanta' -h", "kovanta' --version", "rezeptur' --help",
          "rezeptur' --version", "rezeptur' help", "rezeptur-print' --help",
          "rezeptur-print' --version", "rezeptur' print --help", "rezeptur' list x --help"}) {
        const RunResult run = RunProgram(args, scratch);
        EXPECT_EQ(run.status, 0) << args << "\n" << run.err;
        EXPECT_EQ(run.err, "") << args;
        EXPECT_NE(run.out.find(std::string(args).find("version") != std::string::npos
                                   ? "1.3\n"
                                   : "Aufruf: "),
                  std::string::npos)
            << args << "\n" << run.out;
    }
}

// Every command of the overview has its help, both ways; the manual page has a section on it
// naming each of its options, and the completion offers the command and its options.
TEST(ProgramHelp, EveryCommandIsDocumentedInHelpManualPageAndCompletion)
{
    TestDir scratch;
    const std::string source = Env("KOVANTA_SOURCE_DIR");
    std::string man = ReadAll(source + "/packaging/man/rezeptur.1");
    man = std::regex_replace(man, std::regex("\\\\-"), "-");
    const std::string completion = ReadAll(source + "/packaging/completion/rezeptur");
    std::smatch offered;
    ASSERT_TRUE(std::regex_search(completion, offered, std::regex("commands=\"([^\"]*)\"")));
    const std::string commandWords = " " + offered[1].str() + " ";

    const std::string overview = RunProgram("rezeptur' --help", scratch).out;
    std::istringstream lines(overview.substr(overview.find("Befehle:\n") + 9));
    int commands = 0;
    for (std::string line; std::getline(lines, line) && line.starts_with("  ");) {
        const std::string name = line.substr(2, line.find(' ', 2) - 2);
        ++commands;
        const RunResult help = RunProgram("rezeptur' help " + name, scratch);
        EXPECT_EQ(help.status, 0) << name;
        EXPECT_EQ(RunProgram("rezeptur' " + name + " --help", scratch).out, help.out) << name;
        EXPECT_NE(man.find(".SS \"" + name), std::string::npos) << name << " fehlt in rezeptur.1";
        EXPECT_NE(commandWords.find(" " + name + " "), std::string::npos) << name;
        for (const std::string& option : OptionsIn(help.out)) {
            if (option == "--help")
                continue;
            EXPECT_NE(man.find(option), std::string::npos) << name << " " << option;
            EXPECT_NE(completion.find(option), std::string::npos) << name << " " << option;
        }
    }
    EXPECT_EQ(commands, 8);
}

TEST(ProgramHelp, WrongArgumentsSayWhichAndWhy)
{
    TestDir scratch;
    const struct {
        const char* args;
        const char* message;
        int status;
    } cases[] = {
        {"rezeptur' print list . --pdf a.pdf --copies 0",
         "rezeptur print: --copies: 0 ist keine gültige Anzahl (1 bis 999)\nAufruf: ", 2},
        {"rezeptur' preview x --entry 65536",
         "--entry: 65536 ist keine gültige Eintragsnummer (0 bis 65535)", 2},
        {"rezeptur' printgrid x --portions=99999999999999999999",
         "--portions: 99999999999999999999 ist keine gültige Portionenzahl", 2},
        {"rezeptur' preview x --portions zehn", "--portions: zehn ist keine Zahl", 2},
        {"rezeptur' preview a.dat --entry -1",
         "--entry: -1 ist keine gültige Eintragsnummer (0 bis 65535)", 2},
        {"rezeptur' printgrid --portions 5", "rezeptur printgrid: DATEI fehlt", 2},
        {"rezeptur' list", "rezeptur list: PFAD fehlt", 2},
        {"rezeptur' list --farbe rot", "rezeptur list: unbekannte Option --farbe", 2},
        {"rezeptur' requirements", "PLANDATEI fehlt", 2},
        {"rezeptur' requirements a b", "zu viele Argumente: b", 2},
        {"rezeptur' requirements --csv=ja a", "--csv: nimmt keinen Wert", 2},
        {"rezeptur' print recipe x --pdf", "--pdf: Wert fehlt", 2},
        {"rezeptur' print recipe x --pdf a.pdf --pdf=b.pdf", "--pdf: mehrfach angegeben", 2},
        {"rezeptur' print list . --pdf ''", "--pdf: leerer Wert", 2},
        {"rezeptur' print list .", "--pdf fehlt", 2},
        {"rezeptur' print list . --pdf a.pdf --entry 1", "unbekannte Option --entry", 2},
        {"rezeptur' print plan a.txt b.txt --pdf a.pdf", "zu viele Argumente: b.txt", 2},
        {"rezeptur' print poster x --pdf a.pdf", "unbekannte Art des Ausdrucks \"poster\"", 2},
        {"rezeptur' import http://127.0.0.1:1/ Titel", "--dir fehlt", 2},
        {"rezeptur' kochen", "unbekannter Befehl \"kochen\"", 2},
        {"rezeptur' help kochen", "unbekannter Befehl \"kochen\"", 2},
        {"kovanta' --farbe", "kovanta: unbekannte Option --farbe", 2},
        // After "--" a name beginning with "-" is a file, here a missing one.
        {"rezeptur' list -- -x", "\"-x\" nicht gefunden", 1},
    };
    for (const auto& c : cases) {
        const RunResult run = RunProgram(c.args, scratch);
        EXPECT_EQ(run.status, c.status) << c.args << "\n" << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << "\n" << run.err;
        EXPECT_EQ(run.out, "") << c.args;
    }
    EXPECT_FALSE(std::filesystem::exists(scratch.path() / "a.pdf"));
}
