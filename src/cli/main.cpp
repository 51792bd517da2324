// rezeptur: the command-line companion of the recipe viewer, built on the same core and
// linking no widgets. Batch use and black-box tests.
#include "command.h"
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
    auto& commands = registry();
    std::sort(commands.begin(), commands.end(),
              [](const Command& a, const Command& b) { return a.name < b.name; });
    const auto usage = [&] {
        std::cerr << "Aufruf: rezeptur BEFEHL [ARGUMENTE...]\n";
        for (const Command& c : commands)
            std::cerr << "  " << c.usage << "\n";
        return kExitUsage;
    };
    if (argc < 2)
        return usage();
    const std::string name = argv[1];
    const auto it = std::find_if(commands.begin(), commands.end(),
                                 [&](const Command& c) { return c.name == name; });
    if (it == commands.end()) {
        std::cerr << "rezeptur: unbekannter Befehl " << quotedName(name) << "\n";
        return usage();
    }
    // Output that cannot be written is reported, never taken for success (output.h).
    CheckedStdout out;
    int status = it->run(std::vector<std::string>(argv + 2, argv + argc));
    if (const int error = out.finish()) {
        std::cerr << "rezeptur " << name << ": Standardausgabe kann nicht geschrieben werden: "
                  << kovanta::systemErrorText(error) << "\n";
        if (status == kExitOk)
            status = kExitFailure;
    }
    return status;
}
