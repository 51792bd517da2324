#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// URLs and the numbers in them, as the HTTP client reads and sends them. Text is ANSI bytes.
namespace kovanta {

// The parts of a URL. Parsing never fails; missing parts are empty.
struct UrlParts {
    std::string protocol, user, password, host, port, path;
};
UrlParts ParseURL(std::string_view url);

// Delphi-style integer conversion: optional leading blanks and sign, decimal digits, nothing
// after them. Raises EConvertError otherwise or when the value does not fit an int.
int StrToInt(std::string_view text);

// The request target as it goes on the request line: blanks, bytes >= 0x80 (and nothing else)
// percent-encoded; "%" is left alone, so a target already encoded stays as it is.
std::string EncodeRequestTarget(std::string_view target);

namespace net {

// StrToInt for a number of an answer or a URL; the EConvertError's cause names which number it
// was (`field`: "HTTP-Status", "Content-Length", "Portnummer").
int numberField(std::string_view text, const char* field);
// A port number, 0 to 65535; anything else raises EConvertError (a larger one would silently
// wrap to another port).
std::uint16_t portNumber(std::string_view text);

// `reference` (a path, absolute or relative) against the current request target: a path, or
// with `fullUrl` a whole URL whose scheme and authority are kept.
std::string resolveReference(const std::string& current, const std::string& reference,
                             bool fullUrl);

// Raises ERequestError "Steuerzeichen in " + `where` when `value` holds a control character
// (below 0x20, or DEL), which could add lines to a request.
void requirePrintable(std::string_view value, const char* where);

} // namespace net
} // namespace kovanta
