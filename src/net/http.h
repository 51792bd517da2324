#pragma once

#include "net/tcpip.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// A small blocking HTTP/1.0 client for fetching published recipe pages: HEAD, then GET on a new
// connection, one redirection followed, optionally through a proxy. http:// and https:// links
// (TLS over the same connection; through a proxy in a CONNECT tunnel). All calls block the
// caller; every wait is bounded (T_TcpIp), and header lines, the header and the body are
// capped, so a silent or hostile server ends in an exception instead of a hang or exhausted
// memory.
namespace kovanta {

class T_HTTP : public T_TcpIp {
public:
    static constexpr std::size_t kDefaultMaxHeader = 64 * 1024;
    static constexpr std::size_t kDefaultMaxBody = 16 * 1024 * 1024;

    T_HTTP();

    // Settings.
    std::string URL;
    std::string Proxy;     // "host[:port]", empty = direct; https:// links go through CONNECT
    std::string Sender;    // From header, empty = not sent
    std::string Agent;     // User-Agent header
    std::string Reference; // Referer header
    bool NoCache = false;  // send "Pragma: no-cache"
    std::string ContentTypePost = "application/x-www-form-urlencoded"; // kept for form posts
    std::size_t MaxHeaderSize = kDefaultMaxHeader;
    std::size_t MaxBodySize = kDefaultMaxBody;
    // The whole fetch (name lookup, HEAD, GET and the redirection) ends after this long,
    // however slowly a server keeps sending; 0 = no limit beyond the per-call and per-answer
    // timeouts.
    int FetchTimeoutMs = kDefaultFetchTimeoutMs;
    // A fixed end for the fetch, earlier than FetchTimeoutMs would give: the rest of a budget
    // shared by several attempts, or of a whole import's limit. Empty = none.
    std::optional<std::chrono::steady_clock::time_point> FetchDeadline;
    // Called on the fetching thread with the body bytes received so far, after every block.
    std::function<void(std::size_t bytes)> OnBodyProgress;

    // Request and results.
    std::string Path;
    std::string Authorization;
    int StatusCode = 0;
    std::string StatusText;
    int ContentSize = 0;
    bool ContentSizeKnown = false; // the last answer carried a Content-Length
    std::string ContentType;
    std::vector<std::string> AuthChallenges;

    // The fetch: HEAD, then GET of the same target (or the HEAD answer's Location: from http://
    // to https:// it is followed, from https:// to http:// refused). Afterwards
    // the results describe the GET answer and Stream() holds its body. Raises the exceptions
    // of tcpiperrors.h; after any failure other than an error status StatusCode is 0 and
    // Stream() empty, so a failed fetch never looks like a successful one. A body shorter than
    // the answer's Content-Length is such a failure.
    void Action() override;
    // The request line and headers. Blanks and bytes >= 0x80 in Path are sent percent-encoded
    // (EncodeRequestTarget), so the request line keeps its three parts.
    void SendRequest(const std::string& method, const std::string& version);
    // Reads the status line and headers up to the empty line. Raises EProtocolError for a
    // status of 400 or more, a negative Content-Length or a CR inside a header line, and
    // EConvertError for a status or Content-Length that is no number.
    void GetAnswer();

private:
    void ApplyLocation(const std::string& value);
    void ReadBody();
    // Login, and for an https:// target the tunnel through the proxy and TLS.
    void OpenConnection();
    void OpenTunnel();

    bool tls_ = false;        // the target is an https:// link
    std::string server_;      // the target's host (the proxy's is Host)
    std::uint16_t port_ = 0;  // the target's port
};

// An error status in German for the user: "HTTP-Status 404 (Seite nicht gefunden)",
// "HTTP-Status 599" for a status without a German name.
std::string ErrorStatusText(int status);

// Why a fetch that raised nothing still brought no page (StatusCode other than 200), as a
// German sentence for the user: "keine HTTP-Antwort", "Weiterleitung nicht verfolgt (zu viele
// Weiterleitungen): 302 Found", "unerwarteter HTTP-Status 204 No Content". Empty for 200.
std::string UnsuccessfulAnswerText(int statusCode, const std::string& statusText);
inline std::string UnsuccessfulAnswerText(const T_HTTP& http)
{
    return UnsuccessfulAnswerText(http.StatusCode, http.StatusText);
}

} // namespace kovanta
