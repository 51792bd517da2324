#include "cli/common/options.h"

#include "cli/common/output.h"

#include <algorithm>
#include <charconv>

namespace kovanta::cli {
namespace {

// A value as it may appear in a message: escaped, so a control character cannot reach the
// terminal, and an empty one made visible.
std::string shown(const std::string& value)
{
    return value.empty() ? std::string("\"\"") : escaped(value);
}

std::optional<long long> decimal(const std::string& text)
{
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

bool checkValue(const OptionRule& rule, const std::string& value, std::string& error)
{
    if (rule.kind == OptionRule::Kind::Text) {
        if (value.empty()) {
            error = rule.name + ": leerer Wert";
            return false;
        }
        return true;
    }
    const std::optional<long long> n = decimal(value);
    // Digits beyond the range of long long are still a number, only far too large.
    const bool digits = !value.empty() &&
                        std::all_of(value.begin() + (value[0] == '-' ? 1 : 0), value.end(),
                                    [](char c) { return c >= '0' && c <= '9'; }) &&
                        value != "-";
    if (!n && !digits) {
        error = rule.name + ": " + shown(value) + " ist keine Zahl";
        return false;
    }
    if (!n || *n < rule.min || *n > rule.max) {
        error = rule.name + ": " + shown(value) + " ist keine gültige " + rule.what + " (" +
                std::to_string(rule.min) + " bis " + std::to_string(rule.max) + ")";
        return false;
    }
    return true;
}

} // namespace

std::string ParsedArguments::text(const std::string& name, const std::string& def) const
{
    const auto it = values.find(name);
    return it == values.end() ? def : it->second;
}

long long ParsedArguments::number(const std::string& name, long long def) const
{
    const auto it = values.find(name);
    if (it == values.end())
        return def;
    return decimal(it->second).value_or(def);
}

std::optional<ParsedArguments> parseArguments(const std::vector<std::string>& args,
                                              const ArgumentRules& rules, std::string& error)
{
    ParsedArguments out;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            out.positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t eq = arg.find('=');
        const std::string name = arg.substr(0, eq);
        const auto rule = std::find_if(rules.options.begin(), rules.options.end(),
                                       [&](const OptionRule& s) { return s.name == name; });
        if (rule == rules.options.end()) {
            error = "unbekannte Option " + shown(name);
            return std::nullopt;
        }
        if (out.has(name)) {
            error = name + ": mehrfach angegeben";
            return std::nullopt;
        }
        std::string value;
        if (rule->kind == OptionRule::Kind::Flag) {
            if (eq != std::string::npos) {
                error = name + ": nimmt keinen Wert";
                return std::nullopt;
            }
        } else if (eq != std::string::npos) {
            value = arg.substr(eq + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            error = name + ": Wert fehlt";
            return std::nullopt;
        }
        if (rule->kind != OptionRule::Kind::Flag && !checkValue(*rule, value, error))
            return std::nullopt;
        out.values[name] = value;
    }
    for (const OptionRule& rule : rules.options) {
        if (rule.required && !out.has(rule.name)) {
            error = rule.name + " fehlt";
            return std::nullopt;
        }
    }
    if (out.positional.size() < rules.minPositional) {
        error = rules.positionalName + " fehlt";
        return std::nullopt;
    }
    if (out.positional.size() > rules.maxPositional) {
        error = "zu viele Argumente: " + shown(out.positional[rules.maxPositional]);
        return std::nullopt;
    }
    return out;
}

bool asksForHelp(const std::vector<std::string>& args)
{
    for (const std::string& arg : args) {
        if (arg == "--")
            return false;
        if (arg == "--help" || arg == "-h")
            return true;
    }
    return false;
}

} // namespace kovanta::cli
