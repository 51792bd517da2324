#pragma once

#include <string>
#include <vector>

// Recipe files written byte for byte by the shell tests: fixed columns, CR LF lines.
namespace shelltest {

inline std::string padded(const std::string& text, size_t width)
{
    std::string out = text.substr(0, width);
    out.resize(width, ' ');
    return out;
}

struct Recipe {
    std::string name;
    std::string group;
    int portions = 10;
    int kcal = 0;
    int nameNumber = 1;
};

// A single-recipe file: eight head lines, figures on lines 8-15, one article line, "^^".
inline std::string singleRecipeFile(const Recipe& r)
{
    const std::vector<std::string> lines = {
        "12.03.2024",
        "Testküche",
        "Mittagessen",
        padded(r.name, 20) + padded(std::to_string(r.nameNumber), 5),
        padded(r.group, 20),
        "Erste Zeile",
        "Zweite Zeile",
        std::to_string(r.portions),
        "",
        "45", // AZ
        "15", // WZ
        std::to_string(r.kcal),
        "1800", // kJ
        "3",    // BE
        "70",   // Chol
        "*     1000       100",
        "^^",
    };
    std::string out;
    for (const std::string& l : lines)
        out += l + "\r\n";
    return out;
}

} // namespace shelltest
