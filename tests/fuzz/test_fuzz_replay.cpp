// The committed fuzz corpora (fuzz/corpus/<target>/) replayed through the harnesses: no input
// may break an invariant or throw, and the seeds together must pass every milestone of their
// harness, which is the plausibility check of what the fuzzer reaches.
#include "fuzzsupport.h"
#include "support/testdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <vector>

namespace {

struct Target {
    const char* name;
    int (*run)(const std::uint8_t*, std::size_t);
    std::vector<std::string> milestones;
};

void PrintTo(const Target& target, std::ostream* out)
{
    *out << target.name;
}

const std::vector<Target>& targets()
{
    static const std::vector<Target> all = {
        {"fuzz_jsonld",
         fuzz::jsonldPage,
         {"jsonld: recipe file written", "jsonld: article line", "jsonld: several recipes"}},
        {"fuzz_numberentry", fuzz::numberEntry, {"numberentry: decimal separator typed"}},
        {"fuzz_reader",
         fuzz::reader,
         {"reader: article line", "reader: list file with several entries",
          "reader: end of block"}},
        {"fuzz_recipetext",
         fuzz::recipeText,
         {"recipetext: body lines in the preview", "recipetext: body rows in the print grid"}},
        {"fuzz_requirements",
         fuzz::requirements,
         {"requirements: articles summed from the file", "requirements: several keys"}},
        {"fuzz_web_answer",
         fuzz::webAnswer,
         {"web answer: header parsed", "web answer: status line", "web answer: redirection",
          "web answer: body", "web answer: refused"}},
        {"fuzz_web_drop",
         fuzz::webDrop,
         {"web drop: link", "web drop: shortcut", "web drop: refused"}},
        {"fuzz_web_page", fuzz::webPage, {"web page: recipe file written", "web page: links"}},
    };
    return all;
}

std::filesystem::path corpusDir(const std::string& target)
{
    const char* source = std::getenv("KOVANTA_SOURCE_DIR");
    return std::filesystem::path(source ? source : ".") / "fuzz" / "corpus" / target;
}

std::string readAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class FuzzReplay : public testing::TestWithParam<Target> {};

TEST_P(FuzzReplay, EveryCorpusInputPassesAndTheSeedsReachEveryMilestone)
{
    const Target& target = GetParam();
    TestDir scratch;
    fuzz::Scratch::instance().setDirectory(scratch.path());
    fuzz::Milestones().clear();

    std::vector<std::filesystem::path> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(corpusDir(target.name)))
        if (entry.is_regular_file())
            inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
    ASSERT_GE(inputs.size(), 3u) << "corpus of " << target.name << " missing or nearly empty";

    for (const auto& input : inputs) {
        const std::string bytes = readAll(input);
        try {
            target.run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        } catch (const std::exception& e) {
            ADD_FAILURE() << input.filename() << ": " << e.what();
        }
    }
    for (const std::string& milestone : target.milestones)
        EXPECT_GT(fuzz::Milestones()[milestone], 0) << "no seed reaches \"" << milestone << "\"";

    // Removed with the test directory; the next target gets its own.
    fuzz::Scratch::instance().setDirectory({});
}

INSTANTIATE_TEST_SUITE_P(Corpus, FuzzReplay, testing::ValuesIn(targets()),
                         [](const testing::TestParamInfo<Target>& param) {
                             return std::string(param.param.name);
                         });

} // namespace
