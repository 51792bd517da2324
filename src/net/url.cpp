#include "net/url.h"

#include "net/tcpiperrors.h"
#include "platform/strings.h"

#include <algorithm>
#include <climits>

namespace kovanta {

UrlParts ParseURL(std::string_view url)
{
    UrlParts parts;
    std::string_view rest = url;
    const std::size_t scheme = url.find("://");
    if (scheme != std::string_view::npos) {
        parts.protocol = std::string(url.substr(0, scheme));
        rest = url.substr(scheme + 3);
    } else if (startsWithIgnoringAsciiCase(url, "mailto:")) {
        parts.protocol = "mailto";
        rest = url.substr(url.find(':') + 1);
    }
    const std::size_t slash = rest.find('/');
    std::string_view authority = rest;
    if (slash != std::string_view::npos) {
        parts.path = std::string(rest.substr(slash));
        authority = rest.substr(0, slash);
    }
    const std::size_t colon = authority.rfind(':');
    const std::size_t at = authority.rfind('@');
    if (colon == std::string_view::npos && at == std::string_view::npos) {
        parts.host = std::string(authority);
        return parts;
    }
    const std::size_t hostStart = at == std::string_view::npos ? 0 : at + 1;
    if (colon != std::string_view::npos && (at == std::string_view::npos || colon > at)) {
        parts.port = std::string(trimBlanks(authority.substr(colon + 1)));
        parts.host = std::string(authority.substr(hostStart, colon - hostStart));
    } else {
        parts.host = std::string(authority.substr(hostStart));
    }
    if (at != std::string_view::npos) {
        const std::string_view info = authority.substr(0, at);
        const std::size_t sep = info.find(':');
        if (sep == std::string_view::npos) {
            parts.user = std::string(info);
        } else {
            parts.user = std::string(info.substr(0, sep));
            parts.password = std::string(info.substr(sep + 1));
        }
    }
    return parts;
}

int StrToInt(std::string_view text)
{
    const auto fail = [&] {
        return EConvertError("'" + std::string(text) + "' is not a valid integer value");
    };
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i == text.size())
        throw fail();
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            throw fail();
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            throw fail();
    }
    if (negative)
        value = -value;
    if (value > INT_MAX || value < INT_MIN)
        throw fail();
    return static_cast<int>(value);
}

std::string EncodeRequestTarget(std::string_view target)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(target.size());
    for (const char c : target) {
        const auto b = static_cast<unsigned char>(c);
        if (b == ' ' || b >= 0x80) {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

namespace net {

int numberField(std::string_view text, const char* field)
{
    try {
        return StrToInt(text);
    } catch (const EConvertError& e) {
        throw EConvertError(e.what(), std::string(field) + " ist keine g\xFCltige Zahl: '" +
                                          std::string(text) + "'");
    }
}

std::uint16_t portNumber(std::string_view text)
{
    const int value = numberField(text, "Portnummer");
    if (value < 0 || value > 65535)
        throw EConvertError("'" + std::string(text) + "' is not a valid port",
                            "Portnummer au\xDF" "erhalb von 0 bis 65535: '" + std::string(text) +
                                "'");
    return static_cast<std::uint16_t>(value);
}

std::string resolveReference(const std::string& current, const std::string& reference,
                             bool fullUrl)
{
    std::size_t pathStart = 0;
    if (fullUrl) {
        const std::size_t scheme = current.find("://");
        const std::size_t from = scheme == std::string::npos ? 0 : scheme + 3;
        pathStart = std::min(current.find('/', from), current.size());
    }
    const std::string origin = current.substr(0, pathStart);
    const std::string path = current.substr(pathStart);
    if (!reference.empty() && reference.front() == '/')
        return origin + reference;
    // Relative: against the directory of the current path.
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return origin + "/" + reference;
    return origin + path.substr(0, slash + 1) + reference;
}

void requirePrintable(std::string_view value, const char* where)
{
    const bool control = std::any_of(value.begin(), value.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F;
    });
    if (control)
        throw ERequestError(std::string("Steuerzeichen in ") + where);
}

} // namespace net
} // namespace kovanta
