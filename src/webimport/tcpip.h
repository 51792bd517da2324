#pragma once

#include "platform/tcpsocket.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A small blocking HTTP/1.0 client for fetching published recipe pages: HEAD, then GET on a new
// connection, one redirection followed, optionally through a proxy. All calls block the caller;
// every wait is bounded by the timeouts below, and header lines, the header and the body are
// capped, so a silent or hostile server ends in an exception instead of a hang or exhausted
// memory.
namespace kovanta {

// Base of the client's exceptions. what() is the client's own message ("Couldn't resolve
// hostname x", "Error creating socket: ..."); Cause() says in German what went wrong, for the
// user, and Url() names the link whose fetch failed. Messages and causes are ANSI like
// everything the client hands on.
class ETcpIpBase : public std::runtime_error {
public:
    explicit ETcpIpBase(const std::string& message, std::string cause = {})
        : std::runtime_error(message), cause_(cause.empty() ? message : std::move(cause))
    {}
    virtual const char* ClassName() const = 0;
    const std::string& Cause() const { return cause_; }
    // T_HTTP::URL of the fetch that raised it; empty outside a fetch.
    const std::string& Url() const { return url_; }
    void SetUrl(std::string url) { url_ = std::move(url); }

private:
    std::string cause_;
    std::string url_;
};

// The host name could not be resolved: "Couldn't resolve hostname " + host. The cause names
// why ("Rechnername unbekannt: host", a lookup that outlasted the fetch's deadline).
class ETcpIpError : public ETcpIpBase {
public:
    explicit ETcpIpError(const std::string& message, std::string cause = {})
        : ETcpIpBase(message, std::move(cause))
    {}
    const char* ClassName() const override { return "ETcpIpError"; }
};

// A socket failure; ErrorNumber() is the socket layer's errno value (ETIMEDOUT for a timeout,
// ECANCELED for a cancelled fetch). The message names the cause: "Error creating socket:
// Verbindung abgelehnt (host:port)", "Error creating socket: Zeitüberschreitung beim
// Verbindungsaufbau (...)", "Zeitüberschreitung: 20 s keine Daten vom Server",
// "Zeitüberschreitung: Abruf nach 60 s abgebrochen", ...; the cause leaves out the English part.
class ESocketError : public ETcpIpBase {
public:
    ESocketError(const std::string& message, std::uint16_t number, std::string cause = {})
        : ETcpIpBase(message, std::move(cause)), number_(number)
    {}
    const char* ClassName() const override { return "ESocketError"; }
    std::uint16_t ErrorNumber() const { return number_; }

private:
    std::uint16_t number_;
};

// An answer the client does not accept. For an error status (>= 400) the message is the
// answer's reason text ("HTTP-Status 404" when the answer gave none), the cause the status in
// German ("HTTP-Status 404 (Seite nicht gefunden)") and ErrorNumber() its status code. For a
// broken answer the number is 0: beyond the caps, a body shorter than its Content-Length
// ("Verbindung vor Ende der Daten abgebrochen (n von m Bytes)"), a negative Content-Length, a
// CR inside a header line.
class EProtocolError : public ETcpIpBase {
public:
    EProtocolError(const std::string& message, std::uint16_t number, std::string protocol,
                   std::string cause = {})
        : ETcpIpBase(message, std::move(cause)), number_(number), protocol_(std::move(protocol))
    {}
    const char* ClassName() const override { return "EProtocolError"; }
    std::uint16_t ErrorNumber() const { return number_; }
    const std::string& Protocol() const { return protocol_; }

private:
    std::uint16_t number_;
    std::string protocol_;
};

// A number in a URL or an answer is not a valid integer: "'text' is not a valid integer value";
// the cause says which number it was ("HTTP-Status ist keine gültige Zahl: '2x0'").
class EConvertError : public ETcpIpBase {
public:
    explicit EConvertError(const std::string& message, std::string cause = {})
        : ETcpIpBase(message, std::move(cause))
    {}
    const char* ClassName() const override { return "EConvertError"; }
};

// A request the client will not send: a URL, proxy or header value holding a control
// character (CR, LF, ...), which would let it add lines to the request ("Steuerzeichen in der
// Adresse"), or a redirection to anything but an http:// link ("Weiterleitung auf file:///x
// abgelehnt: ..."). Raised before anything of that request is sent.
class ERequestError : public ETcpIpBase {
public:
    explicit ERequestError(const std::string& message) : ETcpIpBase(message) {}
    const char* ClassName() const override { return "ERequestError"; }
};

enum TTraceLevel {
    tlCommand = 0, // a request line or header line as sent
    tlAnswer = 1,  // a non-empty line of the answer header
    tlSocket = 2,  // a socket event
};
using TTraceProc = std::function<void(const std::string& text, TTraceLevel level)>;

// The parts of a URL. Parsing never fails; missing parts are empty.
struct UrlParts {
    std::string protocol, user, password, host, port, path;
};
UrlParts ParseURL(std::string_view url);

// Delphi-style integer conversion: optional leading blanks and sign, decimal digits, nothing
// after them. Raises EConvertError otherwise or when the value does not fit an int.
int StrToInt(std::string_view text);

class T_TcpIp {
public:
    static constexpr std::size_t kBufferSize = 32512;
    static constexpr int kDefaultTimeoutMs = 20000;
    static constexpr int kDefaultAnswerTimeoutMs = 300000;
    static constexpr int kDefaultFetchTimeoutMs = 60000;
    static constexpr std::size_t kDefaultMaxLine = 8 * 1024;

    T_TcpIp();
    virtual ~T_TcpIp();
    T_TcpIp(const T_TcpIp&) = delete;
    T_TcpIp& operator=(const T_TcpIp&) = delete;

    std::string Host;       // host name or dotted IPv4 address
    std::uint16_t Port = 0; // TCP port
    TTraceProc OnTrace;     // optional
    int ConnectTimeoutMs = kDefaultTimeoutMs;
    int ReceiveTimeoutMs = kDefaultTimeoutMs; // per receive call
    // Whole answer of one connection, from Login on; 0 = no limit. Ends a server that keeps the
    // connection alive by dripping single bytes just within the receive timeout.
    int AnswerTimeoutMs = kDefaultAnswerTimeoutMs;
    std::size_t MaxLineLength = kDefaultMaxLine;
    // Resolves host names; empty = the system's resolver.
    net::Resolver HostResolver;

    // Ends the fetch under way, from any thread: every wait (name lookup, connect, receive)
    // ends at once with ESocketError "Abruf abgebrochen" (ECANCELED), and so does every later
    // Login of this client. A name lookup is left to finish on its own thread.
    void Cancel() { cancel_.raise(); }
    bool CancelRequested() const { return cancel_.raised(); }

    // Body of the last GET answer.
    const std::string& Stream() const { return stream_; }

    virtual void Action() {}
    // Connects to Host:Port (closing an open connection first). The host is resolved once and
    // its address kept for later logins to the same host (until ForgetAddress); the lookup
    // counts against the fetch deadline. Raises ETcpIpError when the host cannot be resolved
    // (in time), ESocketError("Error creating socket: ...", errno) when the connection cannot
    // be opened.
    virtual void Login();
    virtual void Logout();
    // Sends `text` + CR LF. A failed send is not reported (the answer will be missing).
    virtual void SendCommand(const std::string& text);
    virtual bool AtEof();

    // Closes any open socket, then connects to `address` (network order) and `port`. On failure
    // the socket stays closed and the error is kept for Login.
    virtual void OpenSocket(std::uint32_t address, std::uint16_t port);
    // Blocking, without a time limit: the system's resolver on the caller's thread.
    static bool LookupHost(const std::string& name, std::uint32_t& address);

    // One line, read byte by byte: LF ends it (a CR right before it is dropped), end of data
    // ends it. A CR anywhere else stays in the line (GetAnswer refuses such a header line).
    // Raises EProtocolError when more than MaxLineLength bytes arrive without a LF, and
    // ESocketError on a timeout.
    std::string ReadLine();
    // Up to `size` bytes; 0 marks the end of data. Raises ESocketError on a receive timeout.
    long ReadBlock(char* buffer, std::size_t size);

    bool Connected() const { return connected_; }

protected:
    // Takes over an already connected socket as if Login had opened it (deadlines included), for
    // feeding the answer parsing from elsewhere (a socket pair in the fuzz harness).
    void AdoptSocket(net::SocketHandle s);
    // The whole fetch must be over by `deadline` (no limit after ClearFetchDeadline); connects
    // and receives wait no longer than that.
    void SetFetchDeadline(std::chrono::steady_clock::time_point deadline, int timeoutMs);
    void ClearFetchDeadline() { fetchTimeoutMs_ = 0; }
    // The next Login resolves its host again.
    void ForgetAddress() { resolvedHost_.reset(); }
    ESocketError fetchTimeoutError() const;
    void Trace(const std::string& text, TTraceLevel level) const;
    void SendRaw(const std::string& bytes, const std::string& traced);
    long ReceiveChecked(char* buffer, std::size_t size);

    net::SocketHandle socket_ = net::kNoSocket;
    std::uint32_t address_ = 0xFFFFFFFFu;
    bool eof_ = false;
    bool connected_ = false;
    int lastError_ = 0;
    std::optional<std::string> resolvedHost_; // the host address_ belongs to
    net::CancelSignal cancel_;
    std::string stream_;
    std::vector<char> buffer_;
    std::chrono::steady_clock::time_point answerDeadline_{};
    std::chrono::steady_clock::time_point fetchDeadline_{};
    int fetchTimeoutMs_ = 0; // 0: no fetch deadline
};

class T_HTTP : public T_TcpIp {
public:
    static constexpr std::size_t kDefaultMaxHeader = 64 * 1024;
    static constexpr std::size_t kDefaultMaxBody = 16 * 1024 * 1024;

    T_HTTP();

    // Settings.
    std::string URL;
    std::string Proxy;     // "host[:port]", empty = direct
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

    // Request and results.
    std::string Path;
    std::string Authorization;
    int StatusCode = 0;
    std::string StatusText;
    int ContentSize = 0;
    bool ContentSizeKnown = false; // the last answer carried a Content-Length
    std::string ContentType;
    std::vector<std::string> AuthChallenges;

    // The fetch: HEAD, then GET of the same target (or the HEAD answer's Location). Afterwards
    // the results describe the GET answer and Stream() holds its body. Raises the exceptions
    // above; after any failure other than an error status StatusCode is 0 and Stream() empty,
    // so a failed fetch never looks like a successful one. A body shorter than the answer's
    // Content-Length is such a failure.
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
};

// The request target as it goes on the request line: blanks, bytes >= 0x80 (and nothing else)
// percent-encoded; "%" is left alone, so a target already encoded stays as it is.
std::string EncodeRequestTarget(std::string_view target);

// An error status in German for the user: "HTTP-Status 404 (Seite nicht gefunden)",
// "HTTP-Status 599" for a status without a German name.
std::string ErrorStatusText(int status);

// Why a fetch that raised nothing still brought no page (StatusCode other than 200), as a
// German sentence for the user: "keine HTTP-Antwort", "Weiterleitung nicht verfolgt (zu viele
// Weiterleitungen): 302 Found", "unerwarteter HTTP-Status 204 No Content". Empty for 200.
std::string UnsuccessfulAnswerText(const T_HTTP& http);

} // namespace kovanta
