#pragma once

#include "cli/common/options.h"

#include <optional>
#include <string>
#include <vector>

// What `rezeptur --help`, `rezeptur help COMMAND`, `rezeptur COMMAND --help` and
// `rezeptur-print --help` print, and the argument rules of every command. They live together,
// so a command's help lists exactly the options its parser accepts. The manual page
// (packaging/man/rezeptur.1) says the same at more length; a test holds the two together.
namespace kovanta::cli {

// The program version, as the package names it.
std::string programVersion();

// "rezeptur 1.3" and the licence, for --version.
std::string versionText(const std::string& program);

// `rezeptur --help`: how to call, every command with one line, the exit statuses.
std::string overviewHelp();

// The usage lines of one command ("Aufruf: rezeptur list PFAD...") as the error messages of
// wrong arguments show them; program names the caller ("rezeptur" or "rezeptur-print", which
// takes the arguments of `rezeptur print`).
std::string commandUsage(const std::string& command, const std::string& program = "rezeptur");

// The whole help of one command: usage, what it does, every option, what it prints, exit
// statuses.
std::string commandHelp(const std::string& command, const std::string& program = "rezeptur");

// Wrong arguments: "<program> <command>: <error>" and the command's usage on stderr.
// Returns exit status 2.
int usageError(const std::string& command, const std::string& error,
               const std::string& program = "rezeptur");

// Parses the arguments of command by its rules; on a bad argument reports it (usageError) and
// returns nothing.
std::optional<ParsedArguments> parseCommandArguments(const std::string& command,
                                                     const std::vector<std::string>& args,
                                                     const std::string& variant = {},
                                                     const std::string& program = "rezeptur");

// The argument rules of a command. For "print" pass the kind of printout ("list", "plan",
// "requirements", "recipe") as variant: the rules are those of the arguments after it.
ArgumentRules commandRules(const std::string& command, const std::string& variant = {});

} // namespace kovanta::cli
