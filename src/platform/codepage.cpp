#include "codepage.h"

namespace kovanta::codepage {
namespace {
#include "codepage_tables.inc"

unsigned char byteOf(char c)
{
    return static_cast<unsigned char>(c);
}
} // namespace

char oemToAnsi(char oem)
{
    return static_cast<char>(kOemToAnsi[byteOf(oem)]);
}

std::string oemToAnsi(std::string_view oem)
{
    std::string out;
    oemToAnsi(oem, out);
    return out;
}

void oemToAnsi(std::string_view oem, std::string& ansi)
{
    ansi.resize(oem.size());
    for (size_t i = 0; i < oem.size(); ++i)
        ansi[i] = static_cast<char>(kOemToAnsi[byteOf(oem[i])]);
}

char ansiToOem(char ansi)
{
    return static_cast<char>(kAnsiToOem[byteOf(ansi)]);
}

std::string ansiToOem(std::string_view ansi)
{
    std::string out(ansi.size(), '\0');
    for (size_t i = 0; i < ansi.size(); ++i)
        out[i] = ansiToOem(ansi[i]);
    return out;
}

char16_t ansiToUnicode(char ansi)
{
    return kAnsiToUnicode[byteOf(ansi)];
}

char unicodeToAnsi(char32_t cp)
{
    // Only dropped titles and command-line arguments go this way: a linear look-up is enough.
    for (int i = 0; i < 256; ++i)
        if (kAnsiToUnicode[i] == cp)
            return static_cast<char>(i);
    return '?';
}

std::string ansiToUtf8(std::string_view ansi)
{
    std::string out;
    out.reserve(ansi.size());
    for (char c : ansi) {
        const char32_t cp = ansiToUnicode(c);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::string utf8ToAnsi(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char b = byteOf(s[i]);
        int extra = 0;
        char32_t cp = 0;
        if (b < 0x80) {
            cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            cp = b & 0x07;
        } else {
            out += '?';
            ++i;
            continue;
        }
        bool ok = i + static_cast<size_t>(extra) < s.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const unsigned char c = byteOf(s[i + k]);
            if ((c & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok) {
            out += '?';
            ++i;
            continue;
        }
        out += cp < 0x80 ? static_cast<char>(cp) : unicodeToAnsi(cp);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

} // namespace kovanta::codepage
