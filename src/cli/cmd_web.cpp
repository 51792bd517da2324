// rezeptur webrecipe / fetch: the web import's file processing and HTTP fetch without a window.
#include "command.h"
#include "cli/common/planfile.h"
#include "platform/codepage.h"
#include "webimport/tcpip.h"
#include "webimport/webrecipe.h"

#include <cstdio>
#include <fstream>
#include <iostream>

namespace kovanta::cli {
namespace {

int runWebRecipe(const std::vector<std::string>& args)
{
    if (args.size() != 2) {
        std::cerr << "Aufruf: rezeptur webrecipe EINGABE AUSGABE\n";
        return kExitUsage;
    }
    const TWebRecipeResult result = ConvertWebRecipe(args[0], args[1]);
    if (!result.inputReadable) {
        std::cerr << "rezeptur webrecipe: \"" << args[0] << "\" kann nicht gelesen werden\n";
        return kExitFailure;
    }
    for (const std::string& value : result.links) {
        const TLiveLink link = SplitLiveLink(value);
        std::cout << OutputField(link.name) << '\t' << OutputField(link.title) << '\n';
    }
    return kExitOk;
}

int runFetch(const std::vector<std::string>& args)
{
    std::string proxy;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--proxy" && i + 1 < args.size())
            proxy = args[++i];
        else
            positional.push_back(args[i]);
    }
    if (positional.size() != 2) {
        std::cerr << "Aufruf: rezeptur fetch URL AUSGABE [--proxy HOST[:PORT]]\n";
        return kExitUsage;
    }
    T_HTTP http;
    http.URL = codepage::utf8ToAnsi(positional[0]);
    http.Proxy = codepage::utf8ToAnsi(proxy);
    try {
        http.Action();
    } catch (const ETcpIpBase& e) {
        std::cerr << e.ClassName() << ": " << OutputField(e.what()) << '\n';
        return kExitFailure;
    }
    std::cout << http.StatusCode << ' ' << OutputField(http.StatusText) << '\n';
    // Like the import, only a complete answer is stored.
    if (http.StatusCode != 200)
        return kExitFailure;
    std::ofstream out(positional[1], std::ios::binary | std::ios::trunc);
    out.write(http.Stream().data(), static_cast<std::streamsize>(http.Stream().size()));
    out.close();
    if (!out) {
        std::cerr << "rezeptur fetch: \"" << positional[1] << "\" kann nicht geschrieben werden\n";
        std::remove(positional[1].c_str());
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
