#include "cli/common/output.h"

#include "platform/codepage.h"

namespace kovanta::cli {
namespace {

void appendHex(std::string& out, unsigned char byte)
{
    static constexpr char kHex[] = "0123456789abcdef";
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0xF];
}

// Length of the valid UTF-8 sequence at s[i], 0 when the byte there starts none.
std::size_t sequenceLength(std::string_view s, std::size_t i)
{
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    const unsigned char lead = b(0);
    std::size_t n = 0;
    char32_t cp = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        cp = lead & 0x07;
    } else {
        return 0;
    }
    if (i + n > s.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if ((b(k) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b(k) & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are no valid UTF-8.
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

} // namespace

std::string escaped(std::string_view s, bool keepLayout)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = sequenceLength(s, i);
        if (n == 0) {
            appendHex(out, c);
            ++i;
            continue;
        }
        if (n == 1) {
            if (c == '\\')
                out += "\\\\";
            else if (keepLayout && (c == '\t' || c == '\n'))
                out += static_cast<char>(c);
            else if (c == '\t')
                out += "\\t";
            else if (c == '\n')
                out += "\\n";
            else if (c == '\r')
                out += "\\r";
            else if (c < 0x20 || c == 0x7F)
                appendHex(out, c);
            else
                out += static_cast<char>(c);
        } else if (n == 2 && c == 0xC2 && static_cast<unsigned char>(s[i + 1]) < 0xA0) {
            // C1 controls (U+0080-U+009F): some terminals act on them as on ESC sequences.
            appendHex(out, c);
            appendHex(out, static_cast<unsigned char>(s[i + 1]));
        } else {
            out.append(s.substr(i, n));
        }
        i += n;
    }
    return out;
}

std::string ansiField(std::string_view ansi)
{
    return escaped(codepage::ansiToUtf8(ansi));
}

std::string quotedName(std::string_view name)
{
    return "\"" + escaped(name) + "\"";
}

} // namespace kovanta::cli
