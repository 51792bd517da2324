// `rezeptur list PATH...`: the recipe list as the scan would fill it, one TAB-separated line per
// entry, for batch use and black-box tests of the reader.
#include "app/recipescan.h"
#include "command.h"
#include "outputfield.h"
#include "recipe/rezeptimportproz.h"

#include <filesystem>
#include <iostream>
#include <string>

namespace kovanta::cli {
namespace {

void PrintEntries(const RecipeScan::Entries& entries, std::string& out)
{
    for (const auto& entry : entries) {
        const TImpListInfo& e = *entry;
        out += outputField(e.ShortName);
        out += '\t';
        out += outputField(e.GroupName);
        for (const long long n :
             {static_cast<long long>(e.Portions), static_cast<long long>(e.Kcal),
              static_cast<long long>(e.KJ), static_cast<long long>(e.BE),
              static_cast<long long>(e.Chol), static_cast<long long>(e.WorkMinutes),
              static_cast<long long>(e.WaitMinutes)}) {
            out += '\t';
            out += std::to_string(n);
        }
        out += '\t';
        out += e.FileName;
        out += '\t';
        out += std::to_string(e.EntryIndex);
        out += '\t';
        out += std::to_string(e.FileNumber);
        out += '\t';
        out += std::to_string(e.NameNumber);
        out += '\t';
        out += outputField(e.DateText);
        out += '\n';
    }
}

int RunList(const std::vector<std::string>& args)
{
    if (args.empty()) {
        std::cerr << "Aufruf: rezeptur list PFAD...\n";
        return kExitUsage;
    }
    const TRezeptImportProz proz;
    // The program's own scan, without a program directory: only what is named is read.
    RecipeScan scan(proz, std::string());
    int status = kExitOk;
    for (const std::string& path : args) {
        std::error_code ec;
        const auto kind = std::filesystem::status(path, ec).type();
        RecipeScan::Entries entries;
        if (kind == std::filesystem::file_type::directory) {
            // Like an active search directory: every REZ*.DAT in listing order, not sorted.
            scan.scanDirectory(path, entries);
        } else if (kind != std::filesystem::file_type::not_found &&
                   kind != std::filesystem::file_type::none) {
            scan.readFile(path, entries);
        } else {
            std::cerr << "rezeptur list: \"" << path << "\" nicht gefunden\n";
            status = kExitFailure;
            continue;
        }
        std::string out;
        PrintEntries(entries, out);
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
