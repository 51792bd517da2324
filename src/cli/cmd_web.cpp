// rezeptur webrecipe / fetch: the web import's file processing and HTTP fetch without a window.
#include "command.h"
#include "cli/common/help.h"
#include "cli/common/output.h"
#include "platform/atomicfile.h"
#include "platform/codepage.h"
#include "net/http.h"
#include "webformat/webrecipe.h"

#include <iostream>

namespace kovanta::cli {
namespace {

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
