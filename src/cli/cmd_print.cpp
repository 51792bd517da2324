// `rezeptur print ...`: the printouts as PDF files. Printing needs Qt Gui (fonts, PDF), which
// `rezeptur` itself must not link; so this command hands its arguments on to the program
// `rezeptur-print` next to it, which does the work and whose exit status becomes ours.
#include "command.h"
#include "platform/syserror.h"

#include <cerrno>
#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace kovanta::cli {
namespace {

constexpr const char* kPrintProgram = "rezeptur-print";

int RunPrint(const std::vector<std::string>& args)
{
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::string program =
        (ec ? std::filesystem::path(kPrintProgram) : self.parent_path() / kPrintProgram).string();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::cout.flush();
    execv(program.c_str(), argv.data());
    std::cerr << "rezeptur print: \"" << program << "\" kann nicht gestartet werden: "
              << systemErrorText(errno) << "\n";
    return kExitFailure;
}

const Registrar kPrintCommand{Command{
    "print",
    "print list PFAD... --pdf AUS.pdf [--copies N]               Rezeptliste drucken\n"
    "  print plan PLANDATEI --pdf AUS.pdf [--copies N]            Speiseplan drucken\n"
    "  print requirements PLANDATEI --pdf AUS.pdf [--copies N]    Bedarfsliste drucken\n"
    "  print recipe DATEI [--entry N] [--portions N] --pdf AUS.pdf [--copies N]\n"
    "                                                             Rezept drucken",
    RunPrint}};

} // namespace
} // namespace kovanta::cli
