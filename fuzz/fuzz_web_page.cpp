// A fetched page through the import's processing: line splitting, tag classification, entity
// decoding, ANSI to OEM conversion, the recipe file written and the links split.
#include "fuzzsupport.h"
#include "webformat/livetags.h"
#include "webformat/webrecipe.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unistd.h>

using fuzz::Reached;

int fuzz::webPage(const std::uint8_t* data, std::size_t size)
{
    const std::string output = ScratchFile("rez1.dat");
    const std::string_view page(reinterpret_cast<const char*>(data), size);

    // Every line through the classifier on its own, too: the processing only keeps two tags.
    kovanta::LiveLineReader reader(page);
    std::string line;
    while (reader.Next(line))
        kovanta::ClassifyLiveLine(line);

    const kovanta::WebRecipeResult result = kovanta::ConvertWebRecipeBytes(page, output);
    if (result.recipeWritten)
        Reached("web page: recipe file written");
    if (!result.links.empty())
        Reached("web page: links");
    for (const std::string& link : result.links) {
        const kovanta::LiveLink split = kovanta::SplitLiveLink(link);
        const std::string url =
            kovanta::LinkBase("http://kantine.example/plan/" + link) + split.name;
        (void)kovanta::SchemeOf(url);
    }
    ::unlink(output.c_str());
    return 0;
}

KOVANTA_FUZZ_ENTRY(fuzz::webPage)
