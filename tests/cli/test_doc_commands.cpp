// The `rezeptur` command lines that README.md and docs/*.md show with the bundled samples run as
// written, in a directory of their own holding a copy of samples/, and end with the status the
// text gives: 0 unless the line ends in a comment "# Status N".
#include "support/rezeptur.h"
#include "support/testdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct DocCommand {
    std::string where; // file:line
    std::string line;  // without its comment
    int status = 0;
};

// Command lines in code blocks (indented or fenced) and in `...` spans that start with
// "rezeptur ".
std::vector<DocCommand> CommandsIn(const fs::path& file)
{
    std::vector<DocCommand> out;
    std::istringstream text(rezeptur_test::ReadAll(file));
    static const std::regex span("`(rezeptur [^`]*)`");
    static const std::regex status("#\\s*Status\\s+([0-9]+)");
    bool fenced = false;
    int number = 0;
    for (std::string line; std::getline(text, line);) {
        ++number;
        std::vector<std::string> found;
        if (line.starts_with("```")) {
            fenced = !fenced;
            continue;
        }
        const std::size_t start = line.find_first_not_of(' ');
        if ((fenced || line.starts_with("    ")) && start != std::string::npos &&
            line.compare(start, 9, "rezeptur ") == 0) {
            found.push_back(line.substr(start));
        } else {
            for (std::sregex_iterator it(line.begin(), line.end(), span), end; it != end; ++it)
                found.push_back((*it)[1]);
        }
        for (std::string command : found) {
            DocCommand c;
            c.where = file.filename().string() + ":" + std::to_string(number);
            std::smatch m;
            if (std::regex_search(command, m, status))
                c.status = std::stoi(m[1]);
            command = command.substr(0, command.find('#'));
            c.line = command.substr(0, command.find_last_not_of(' ') + 1);
            out.push_back(c);
        }
    }
    return out;
}

// True when an argument of the line names a file or directory that exists in dir.
bool NamesARealFile(const std::string& line, const fs::path& dir)
{
    std::istringstream words(line);
    std::string word;
    words >> word; // the program
    while (words >> word) {
        if (!word.starts_with("-") && fs::exists(dir / word))
            return true;
    }
    return false;
}

} // namespace

TEST(DocCommands, RunWithTheSamplesAsDocumented)
{
    const fs::path source = rezeptur_test::Env("KOVANTA_SOURCE_DIR");
    std::vector<fs::path> docs{source / "README.md"};
    for (const auto& entry : fs::directory_iterator(source / "docs"))
        if (entry.path().extension() == ".md")
            docs.push_back(entry.path());

    TestDir work, scratch;
    fs::copy(source / "samples", work.path() / "samples");
    int run = 0;
    for (const fs::path& doc : docs) {
        for (const DocCommand& c : CommandsIn(doc)) {
            if (!NamesARealFile(c.line, work.path()))
                continue;
            ++run;
            const rezeptur_test::RunResult result = rezeptur_test::RunCommand(
                "cd '" + work.dir() + "' && PATH='" + rezeptur_test::Env("KOVANTA_BIN_DIR") +
                    "':\"$PATH\" " + c.line,
                scratch);
            EXPECT_EQ(result.status, c.status) << c.where << ": " << c.line << "\n" << result.err;
        }
    }
    // The docs show the companion with the samples; a rule that finds none is broken.
    EXPECT_GE(run, 8);
}
