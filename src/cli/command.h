#pragma once

#include <functional>
#include <string>
#include <vector>

// Sub-commands of the `rezeptur` companion register themselves here (one file per area), so
// that adding a command never touches main.cpp.
namespace kovanta::cli {

// Exit statuses shared by all commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct Command {
    std::string name;
    // Its usage in short, for the reader of the source; what users see (`rezeptur --help`,
    // `rezeptur help NAME`) and the argument rules live in cli/common/help.cpp, which must know
    // every command (test_program_help checks it).
    std::string usage;
    // Arguments after the command name. Prints to stdout/stderr and returns the exit status.
    std::function<int(const std::vector<std::string>& args)> run;
};

std::vector<Command>& registry();

struct Registrar {
    explicit Registrar(Command c) { registry().push_back(std::move(c)); }
};

} // namespace kovanta::cli
