#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// The one argument rule of the command-line programs: options may stand anywhere among the
// other arguments, as "--name VALUE" or "--name=VALUE"; "--" ends the options, so that a file
// or title beginning with "-" can still be given. A bad argument is reported with the option it
// concerns and the reason ("--copies: 0 ist keine gültige Anzahl (1 bis 999)"); the caller
// prints it with its usage and exits with status 2.
namespace kovanta::cli {

struct OptionRule {
    enum class Kind {
        Flag,   // no value
        Text,   // any value but an empty one
        Number, // a decimal integer within [min, max]
    };
    std::string name; // with its dashes: "--copies"
    Kind kind = Kind::Flag;
    // Number only: the allowed range and what the number counts, for the message
    // ("Anzahl", "Eintragsnummer", "Portionenzahl").
    long long min = 0;
    long long max = 0;
    std::string what;
    bool required = false; // missing: "--pdf fehlt"
};

struct ArgumentRules {
    std::vector<OptionRule> options;
    // The other arguments: how many, and their name in messages ("PFAD", "PLANDATEI").
    std::size_t minPositional = 0;
    std::size_t maxPositional = 0;
    std::string positionalName;
};

struct ParsedArguments {
    std::vector<std::string> positional;
    // Options given, by name; a flag maps to an empty text.
    std::map<std::string, std::string> values;

    bool has(const std::string& name) const { return values.count(name) != 0; }
    std::string text(const std::string& name, const std::string& def = {}) const;
    // Only for Number options, whose value was checked while parsing.
    long long number(const std::string& name, long long def) const;
};

// Parses args by rules. On a bad argument returns nothing and sets error to a one-line German
// reason without the program's name.
std::optional<ParsedArguments> parseArguments(const std::vector<std::string>& args,
                                              const ArgumentRules& rules, std::string& error);

// True when args asks for help: "--help" or "-h" before a "--".
bool asksForHelp(const std::vector<std::string>& args);

} // namespace kovanta::cli
