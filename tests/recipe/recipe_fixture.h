#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Byte-exact recipe files for the tests, built field by field (OEM bytes, CR LF).
namespace fixture {

inline std::string Left(const std::string& text, std::size_t width)
{
    std::string out = text.substr(0, width);
    out.resize(width, ' ');
    return out;
}

inline std::string Right(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text.substr(text.size() - width)
                                : std::string(width - text.size(), ' ') + text;
}

inline std::string Join(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& line : lines)
        out += line + "\r\n";
    return out;
}

// An article line: full layout (divisor 18-21, unit 46-53, article 79-108) or compact
// (divisor 11-14, unit 39-46, article 72-101).
inline std::string Article(const std::string& amount, const std::string& divisor,
                           const std::string& unit, const std::string& article,
                           bool compact = false)
{
    std::string line = "*" + Right(amount, 9);
    line += compact ? Right(divisor, 4) + std::string(24, ' ')
                    : std::string(7, ' ') + Right(divisor, 4) + std::string(24, ' ');
    line += Left(unit, 8) + std::string(25, ' ') + Left(article, 30);
    return line;
}

// A text line: value in columns 2-5, text in 6-71.
inline std::string Text(const std::string& value, const std::string& text)
{
    return ":" + Left(value, 4) + text;
}

struct Head {
    std::string date = "12.03.1998";
    std::string line2 = "Kantine Nord";
    std::string line3 = "Rezeptur";
    std::string shortName = "Gulasch";
    int nameNumber = 123;
    std::string group = "Fleisch";
    std::string desc1 = "Rindergulasch";
    std::string desc2 = "mit Paprika";
    int portions = 10;
    int az = 30, wz = 90, kcal = 512, kj = 2143, be = 3, chol = 80;
};

// Lines 1 to 15 of a block, then the body lines.
inline std::vector<std::string> Block(const Head& h, const std::vector<std::string>& body)
{
    std::vector<std::string> lines = {
        h.date,
        h.line2,
        h.line3,
        Left(h.shortName, 20) + Right(std::to_string(h.nameNumber), 5),
        Left(h.group, 20),
        h.desc1,
        h.desc2,
        std::to_string(h.portions),
        "0",
        std::to_string(h.az),
        std::to_string(h.wz),
        std::to_string(h.kcal),
        std::to_string(h.kj),
        std::to_string(h.be),
        std::to_string(h.chol),
    };
    lines.insert(lines.end(), body.begin(), body.end());
    return lines;
}

// An index entry line of 78 characters (80 bytes with CR LF).
inline std::string IndexEntry(const Head& h, std::uint64_t offset, const std::string& tail = "")
{
    return "^" + Left(h.shortName, 20) + Right(std::to_string(h.nameNumber), 5) + " " +
           Left(h.group, 20) + " " + Right(std::to_string(h.portions), 5) +
           Right(std::to_string(h.az), 4) + Right(std::to_string(h.wz), 4) +
           Right(std::to_string(h.kcal), 4) + Left(tail, 5) + Right(std::to_string(offset), 8);
}

// A list file: comment lines, one index entry per block, "^^", then each block behind a
// 9-byte separator line "^^" + 5 digits, the position of which the entry names.
inline std::string ListFile(const std::vector<std::string>& comments,
                            const std::vector<std::pair<Head, std::vector<std::string>>>& blocks)
{
    std::string head = Join(comments);
    const std::uint64_t indexSize = head.size() + blocks.size() * 80 + 4;
    std::string body;
    std::vector<std::uint64_t> offsets;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        offsets.push_back(indexSize + body.size());
        body += Join({"^^" + Right(std::to_string(100000 + i + 1), 5)});
        body += Join(Block(blocks[i].first, blocks[i].second));
    }
    body += Join({"^^"});
    for (std::size_t i = 0; i < blocks.size(); ++i)
        head += Join({IndexEntry(blocks[i].first, offsets[i])});
    head += Join({"^^"});
    return head + body;
}

} // namespace fixture
