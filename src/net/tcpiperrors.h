#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

// The exceptions of the HTTP client and the texts they are made of. Messages and causes are
// ANSI, like everything the client hands on.
namespace kovanta {

// Base of the client's exceptions. what() is the client's own message ("Couldn't resolve
// hostname x", "Error creating socket: ..."); Cause() says in German what went wrong, for the
// user, and Url() names the link whose fetch failed.
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
    // A refusal that asking again would only repeat (a request the client will not send, a
    // certificate that fails its checks): no further attempts.
    virtual bool Lasting() const { return false; }

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
// Adresse"), or a redirection to anything but an http:// or https:// link, or from https:// to
// http:// ("Weiterleitung auf file:///x abgelehnt: ..."). Raised before anything of that
// request is sent.
class ERequestError : public ETcpIpBase {
public:
    explicit ERequestError(const std::string& message) : ETcpIpBase(message) {}
    const char* ClassName() const override { return "ERequestError"; }
    bool Lasting() const override { return true; }
};

// An encrypted connection that could not be made. The cause names the host and the reason:
// a certificate that failed a check ("Zertifikat für shop.example nicht gültig: abgelaufen"),
// or a handshake that failed ("Verschlüsselte Verbindung zu shop.example nicht möglich: der
// Server bietet kein TLS 1.2 oder neuer"); the message is OpenSSL's text.
class ETlsError : public ETcpIpBase {
public:
    ETlsError(const std::string& message, std::string cause, bool certificate)
        : ETcpIpBase(message, std::move(cause)), certificate_(certificate)
    {}
    const char* ClassName() const override { return "ETlsError"; }
    bool Lasting() const override { return certificate_; }

private:
    bool certificate_;
};

namespace net {

// "Zeitüberschreitung", the word every timeout message starts with (ANSI).
inline constexpr const char* kTimeout = "Zeit\xFC" "berschreitung";

// "8 KiB", "16 MiB", "1000 Bytes": a limit as its message names it.
std::string sizeText(std::size_t bytes);
// "20 s", "300 ms".
std::string durationText(int ms);
// The whole milliseconds until deadline, 0 once it has passed.
int msLeft(std::chrono::steady_clock::time_point deadline);
// The system's text for an errno value, in ANSI.
std::string systemText(int error);
// "Zeitüberschreitung: " + what, ETIMEDOUT.
ESocketError timeoutError(const std::string& what);
// "Abruf abgebrochen", ECANCELED.
ESocketError cancelledError();

} // namespace net
} // namespace kovanta
