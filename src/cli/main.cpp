// rezeptur: the command-line companion of the recipe viewer, built on the same core and
// linking no widgets. Batch use and black-box tests.
#include "command.h"
#include "cli/common/help.h"
#include "cli/common/output.h"
#include "platform/syserror.h"

#include <algorithm>
#include <csignal>
#include <iostream>

namespace kovanta::cli {
std::vector<Command>& registry()
{
    static std::vector<Command> commands;
    return commands;
}
} // namespace kovanta::cli

int main(int argc, char** argv)
{
    using namespace kovanta::cli;
    occupyClosedStandardDescriptors();
    // A file size limit makes a write fail with EFBIG, which is reported and lets an atomic
    // writer remove its temporary file, instead of killing the program in the middle of a write.
    std::signal(SIGXFSZ, SIG_IGN);
    const auto& commands = registry();
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << overviewHelp();
        return kExitUsage;
    }
    // Output that cannot be written is reported, never taken for success (output.h); help
    // texts included.
    CheckedStdout out;
    const std::string name = args[0];
    const auto finish = [&](int status) {
        if (const int error = out.finish()) {
            std::cerr << "rezeptur " << name << ": Standardausgabe kann nicht geschrieben werden: "
                      << kovanta::systemErrorText(error) << "\n";
            if (status == kExitOk)
                status = kExitFailure;
        }
        return status;
    };
    if (name == "--help" || name == "-h") {
        std::cout << overviewHelp();
        return finish(kExitOk);
    }
    if (name == "--version") {
        std::cout << versionText("rezeptur");
        return finish(kExitOk);
    }
    const auto dispatch = [&](const std::string& command) {
        return std::find_if(commands.begin(), commands.end(),
                            [&](const Command& c) { return c.name == command; });
    };
    // A command without its text in help.cpp still shows its short usage.
    const auto helpOf = [&](const Command& c) {
        const std::string help = commandHelp(c.name);
        return help.empty() ? "Aufruf: rezeptur " + c.usage + "\n" : help;
    };
    if (name == "help") {
        if (args.size() == 1) {
            std::cout << overviewHelp();
            return finish(kExitOk);
        }
        if (args.size() > 2) {
            std::cerr << "rezeptur help: zu viele Argumente\nAufruf: rezeptur help BEFEHL\n";
            return kExitUsage;
        }
        const auto asked = dispatch(args[1]);
        if (asked == commands.end()) {
            std::cerr << "rezeptur help: unbekannter Befehl " << quotedName(args[1])
                      << "\nBefehle: rezeptur --help\n";
            return kExitUsage;
        }
        std::cout << helpOf(*asked);
        return finish(kExitOk);
    }
    const auto it = dispatch(name);
    if (it == commands.end()) {
        std::cerr << "rezeptur: unbekannter Befehl " << quotedName(name) << "\n\n"
                  << overviewHelp();
        return kExitUsage;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (asksForHelp(rest)) {
        std::cout << helpOf(*it);
        return finish(kExitOk);
    }
    return finish(it->run(rest));
}
