// `rezeptur list PATH...`: the recipe list as the scan would fill it, one TAB-separated line per
// entry, for batch use and black-box tests of the reader. Texts and file names are escaped
// (output.h), so a TAB, LF or non-UTF-8 byte in them cannot break the lines and fields.
#include "command.h"
#include "cli/common/help.h"
#include "cli/common/output.h"
#include "cli/common/planfile.h"
#include "cli/common/recipesources.h"
#include "recipe/rezeptimportproz.h"

#include <iostream>
#include <string>

namespace kovanta::cli {
namespace {

void PrintEntries(const RecipeScan::Entries& entries, std::string& out)
{
    for (const auto& entry : entries) {
        const TImpListInfo& e = *entry;
        out += OutputField(e.ShortName);
        out += '\t';
        out += OutputField(e.GroupName);
        for (const long long n :
             {static_cast<long long>(e.Portions), static_cast<long long>(e.Kcal),
              static_cast<long long>(e.KJ), static_cast<long long>(e.BE),
              static_cast<long long>(e.Chol), static_cast<long long>(e.WorkMinutes),
              static_cast<long long>(e.WaitMinutes)}) {
            out += '\t';
            out += std::to_string(n);
        }
        out += '\t';
        out += escaped(e.FileName);
        out += '\t';
        out += std::to_string(e.EntryIndex);
        out += '\t';
        out += std::to_string(e.FileNumber);
        out += '\t';
        out += std::to_string(e.NameNumber);
        out += '\t';
        out += OutputField(e.DateText);
        out += '\n';
    }
}

int RunList(const std::vector<std::string>& args)
{
    const auto parsed = parseCommandArguments("list", args);
    if (!parsed)
        return kExitUsage;
    const TRezeptImportProz proz;
    int status = kExitOk;
    for (const std::string& path : parsed->positional) {
        RecipeScan::Entries list;
        RecipeSourceReport report;
        const bool read = ReadRecipeSource(proz, path, list, report);
        for (const std::string& file : report.cutIndexes)
            std::cerr << "rezeptur list: " << quotedName(file) << ": Index nach "
                      << kMaxIndexEntries << " Eintr\u00e4gen abgeschnitten\n";
        if (!read) {
            std::cerr << "rezeptur list: " << quotedName(path) << ' ' << report.error << '\n';
            status = kExitFailure;
            continue;
        }
        std::string out;
        PrintEntries(list, out);
        std::cout << out;
    }
    std::cout.flush();
    return status;
}

const Registrar kListCommand{Command{
    "list",
    "list PFAD...     Rezepte aus REZ*.DAT-Dateien und Verzeichnissen auflisten (TAB-getrennt)",
    RunList}};

} // namespace
} // namespace kovanta::cli
