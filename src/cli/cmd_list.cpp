// `rezeptur list PATH...`: the recipe list as the scan would fill it, one TAB-separated line per
// entry, for batch use and black-box tests of the reader. Texts and file names are escaped
// (output.h), so a TAB, LF or non-UTF-8 byte in them cannot break the lines and fields.
#include "command.h"
#include "output.h"
#include "platform/filesearch.h"
#include "platform/regularfile.h"
#include "recipe/rezeptimportproz.h"

#include <filesystem>
#include <iostream>
#include <string>

namespace kovanta::cli {
namespace {

std::string Field(std::string_view ansi)
{
    return ansiField(ansi);
}

void PrintEntries(const RecipeList& list, std::string& out)
{
    for (const RecipeListItem& item : list) {
        const TImpListInfo& e = *item.Entry;
        out += Field(e.ShortName);
        out += '\t';
        out += Field(e.GroupName);
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
        out += Field(e.DateText);
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
    int status = kExitOk;
    const auto readFile = [&](const std::string& file, RecipeList& list) {
        bool cut = false;
        proz.ReadRecipeIndex(file, list, cut);
        if (cut)
            std::cerr << "rezeptur list: " << quotedName(file) << ": Index nach "
                      << kMaxIndexEntries << " Eintr\u00e4gen abgeschnitten\n";
    };
    for (const std::string& path : args) {
        std::error_code ec;
        const auto kind = std::filesystem::status(path, ec).type();
        RecipeList list;
        if (kind == std::filesystem::file_type::directory) {
            // Like an active search directory: every REZ*.DAT in listing order, not sorted; a
            // file there that cannot be read is skipped silently, as the scan does.
            const std::string dir = path.ends_with('/') ? path : path + "/";
            for (const std::string& file : findFiles(dir, "REZ*.DAT"))
                readFile(file, list);
        } else {
            // A file named explicitly must be readable: say why it is not.
            FileReadResult why;
            std::FILE* f = openRegularFile(path, why);
            if (f == nullptr) {
                std::cerr << "rezeptur list: " << quotedName(path) << ' '
                          << describeReadError(why, 0) << '\n';
                status = kExitFailure;
                continue;
            }
            std::fclose(f);
            readFile(path, list);
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
