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

// A list file with one index entry per recipe, then the blocks the entries point to.
inline std::string listFile(const std::vector<Recipe>& recipes)
{
    const std::string comment = ".Rezeptliste\r\n";
    std::vector<std::string> blocks;
    for (const Recipe& r : recipes)
        blocks.push_back(std::string(9, ' ') + singleRecipeFile(r));
    size_t offset = comment.size() + recipes.size() * 80 + 4; // "^^\r\n"
    std::string index;
    for (size_t i = 0; i < recipes.size(); ++i) {
        const Recipe& r = recipes[i];
        std::string line = "^" + padded(r.name, 20) + padded(std::to_string(r.nameNumber), 5) +
                           " " + padded(r.group, 20) + " " + padded(std::to_string(r.portions), 5) +
                           padded("30", 4) + padded("5", 4) + padded(std::to_string(r.kcal), 4) +
                           "     " + padded(std::to_string(offset), 8);
        index += line + "\r\n";
        offset += blocks[i].size();
    }
    std::string out = comment + index + "^^\r\n";
    for (const std::string& b : blocks)
        out += b;
    return out;
}

} // namespace shelltest
