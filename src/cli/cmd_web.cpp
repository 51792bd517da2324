// rezeptur webrecipe / fetch: the web import's file processing and HTTP fetch without a window.
#include "command.h"
#include "cli/common/help.h"
#include "cli/common/output.h"
#include "jsonld/recipepage.h"
#include "platform/atomicfile.h"
#include "platform/codepage.h"
#include "net/http.h"
#include "platform/regularfile.h"
#include "webformat/webrecipe.h"

#include <iostream>

namespace kovanta::cli {
namespace {

// OUTPUT for the first recipe of a page, OUTPUT with "-2", "-3" ... before its extension for
// the others, so that each still matches REZ*.DAT.
std::string numberedOutput(const std::string& output, std::size_t n)
{
    if (n == 1)
        return output;
    const std::size_t slash = output.rfind('/');
    const std::size_t dot = output.rfind('.');
    const std::size_t cut =
        dot == std::string::npos || (slash != std::string::npos && dot < slash) ? output.size()
                                                                                : dot;
    return output.substr(0, cut) + '-' + std::to_string(n) + output.substr(cut);
}

// A page in neither the program's own format nor with recipe data of its own (JSON-LD): the
// schema.org recipes it carries, one recipe file each.
int convertRecipeData(const std::string& input, const std::string& output)
{
    std::string page;
    const FileReadResult read = readRegularFile(input, kMaxWebPageSize, page);
    if (!read.ok()) {
        std::cerr << "rezeptur webrecipe: " << quotedName(input) << ' '
                  << describeReadError(read, kMaxWebPageSize) << '\n';
        return kExitFailure;
    }
    const jsonld::PageRecipes found = jsonld::ConvertRecipePage(page, "");
    if (found.recipes.empty()) {
        std::cerr << "rezeptur webrecipe: " << quotedName(input) << ' ' << found.message << '\n';
        return kExitFailure;
    }
    for (std::size_t i = 0; i < found.recipes.size(); ++i) {
        const std::string path = numberedOutput(output, i + 1);
        std::string message;
        if (!writeFileAtomically(path, found.recipes[i].file, message)) {
            std::cerr << "rezeptur webrecipe: " << quotedName(path) << ' ' << message << '\n';
            return kExitFailure;
        }
    }
    return kExitOk;
}

int runWebRecipe(const std::vector<std::string>& argv)
{
    const auto parsed = parseCommandArguments("webrecipe", argv);
    if (!parsed)
        return kExitUsage;
    const std::vector<std::string>& args = parsed->positional;
    const WebRecipeResult result = ConvertWebRecipe(args[0], args[1]);
    if (!result.inputReadable) {
        std::cerr << "rezeptur webrecipe: " << quotedName(args[0]) << ' ' << result.inputError
                  << '\n';
        return kExitFailure;
    }
    if (!result.hasDataLines && result.links.empty())
        return convertRecipeData(args[0], args[1]);
    std::string out;
    for (const std::string& value : result.links) {
        const LiveLink link = SplitLiveLink(value);
        out += ansiField(link.name) + '\t' + ansiField(link.title) + '\n';
    }
    std::cout << out << std::flush;
    // The data lines were there, but the recipe file is not: that is no success, and the
    // previous file of that name is still as it was.
    if (result.hasDataLines && !result.recipeWritten) {
        std::cerr << "rezeptur webrecipe: " << quotedName(args[1]) << ' ' << result.outputError
                  << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

int runFetch(const std::vector<std::string>& args)
{
    const auto parsed = parseCommandArguments("fetch", args);
    if (!parsed)
        return kExitUsage;
    const std::vector<std::string>& positional = parsed->positional;
    const std::string proxy = parsed->text("--proxy");
    T_HTTP http;
    http.URL = codepage::utf8ToAnsi(positional[0]);
    http.Proxy = codepage::utf8ToAnsi(proxy);
    try {
        http.Action();
    } catch (const ETcpIpBase& e) {
        // The link and the cause in German; the client's own message is not for users.
        std::cerr << "rezeptur fetch: " << ansiField(e.Url()) << ": " << ansiField(e.Cause())
                  << '\n';
        return kExitFailure;
    }
    std::cout << http.StatusCode << ' ' << ansiField(http.StatusText) << '\n' << std::flush;
    // Like the import, only a complete answer is stored.
    if (http.StatusCode != 200) {
        std::cerr << "rezeptur fetch: " << ansiField(http.URL) << ": "
                  << ansiField(UnsuccessfulAnswerText(http)) << '\n';
        return kExitFailure;
    }
    std::string message;
    if (!writeFileAtomically(positional[1], http.Stream(), message)) {
        std::cerr << "rezeptur fetch: " << quotedName(positional[1]) << ' ' << message << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

const Registrar webRecipe{{
    "webrecipe",
    "webrecipe EINGABE AUSGABE   Webrezept-Seite in eine Rezeptdatei umsetzen; Links ausgeben",
    runWebRecipe,
}};

const Registrar fetch{{
    "fetch",
    "fetch URL AUSGABE [--proxy HOST[:PORT]]   Seite per HTTP holen (HEAD, dann GET)",
    runFetch,
}};

} // namespace
} // namespace kovanta::cli
