#include "tcpip.h"

#include "platform/codepage.h"
#include "platform/strings.h"
#include "platform/syserror.h"
#include "webrecipe.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace kovanta {
namespace {

std::string lowerAscii(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool hasControl(std::string_view s)
{
    for (const char c : s) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F)
            return true;
    }
    return false;
}

// `where` completes "Steuerzeichen in ...": "der Adresse", "einem Kopfwert".
void requirePrintable(std::string_view value, const char* where)
{
    if (hasControl(value))
        throw ERequestError(std::string("Steuerzeichen in ") + where);
}

// Messages are ANSI, like everything the client hands on.
constexpr const char* kTimeout = "Zeit\xFC" "berschreitung";

// The system's texts are UTF-8.
std::string systemText(int error)
{
    return codepage::utf8ToAnsi(systemErrorText(error));
}

std::string sizeText(std::size_t bytes)
{
    if (bytes % (1024 * 1024) == 0)
        return std::to_string(bytes / (1024 * 1024)) + " MiB";
    if (bytes % 1024 == 0)
        return std::to_string(bytes / 1024) + " KiB";
    return std::to_string(bytes) + " Bytes";
}

ESocketError cancelledError()
{
    return ESocketError("Abruf abgebrochen", static_cast<std::uint16_t>(ECANCELED));
}

std::string durationText(int ms)
{
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

int msLeft(std::chrono::steady_clock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now())
                          .count();
    return static_cast<int>(std::clamp<long long>(left, 0, INT_MAX));
}

ESocketError timeoutError(const std::string& what)
{
    return ESocketError(std::string(kTimeout) + ": " + what, static_cast<std::uint16_t>(ETIMEDOUT));
}

// The cause of a failed connect, in the user's words; the errno stays in the exception.
std::string connectCause(int error, int timeoutMs)
{
    if (error == ETIMEDOUT)
        return std::string(kTimeout) + " beim Verbindungsaufbau (" + durationText(timeoutMs) + ")";
    return systemText(error);
}

// HTTP says these answers never carry a body, whatever their Content-Length.
bool answerHasBody(int status)
{
    return !(status >= 100 && status < 200) && status != 204 && status != 304;
}

// StrToInt for a number of an answer or a URL; the cause names which number it was.
int numberField(std::string_view text, const char* field)
{
    try {
        return StrToInt(text);
    } catch (const EConvertError& e) {
        throw EConvertError(e.what(), std::string(field) + " ist keine g\xFCltige Zahl: '" +
                                          std::string(text) + "'");
    }
}

std::uint16_t toPort(std::string_view text)
{
    const int value = numberField(text, "Portnummer");
    // A port beyond 16 bits would silently wrap to another port.
    if (value < 0 || value > 65535)
        throw EConvertError("'" + std::string(text) + "' is not a valid port",
                            "Portnummer au\xDF" "erhalb von 0 bis 65535: '" + std::string(text) +
                                "'");
    return static_cast<std::uint16_t>(value);
}

// `reference` (a path, absolute or relative) against the current request target: a path, or
// with `fullUrl` a whole URL whose scheme and authority are kept.
std::string resolveAgainst(const std::string& current, const std::string& reference, bool fullUrl)
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
    if (path.empty())
        return origin + "/" + reference;
    return origin + LinkBase(path) + reference;
}

} // namespace

UrlParts ParseURL(std::string_view url)
{
    UrlParts parts;
    std::string_view rest = url;
    const std::size_t scheme = url.find("://");
    if (scheme != std::string_view::npos) {
        parts.protocol = std::string(url.substr(0, scheme));
        rest = url.substr(scheme + 3);
    } else if (url.size() >= 7 && lowerAscii(url.substr(0, 7)) == "mailto:") {
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

// ---- T_TcpIp ----------------------------------------------------------------------------

T_TcpIp::T_TcpIp() : buffer_(kBufferSize) {}

T_TcpIp::~T_TcpIp()
{
    OnTrace = nullptr;
    if (socket_ != net::kNoSocket)
        net::CloseSocket(socket_);
}

void T_TcpIp::Trace(const std::string& text, TTraceLevel level) const
{
    if (OnTrace)
        OnTrace(text, level);
}

bool T_TcpIp::LookupHost(const std::string& name, std::uint32_t& address)
{
    const net::Lookup found = net::LookupIPv4(name, -1, nullptr);
    if (found.status == net::Lookup::Found)
        address = found.address;
    return found.status == net::Lookup::Found;
}

ESocketError T_TcpIp::fetchTimeoutError() const
{
    return timeoutError("Abruf nach " + durationText(fetchTimeoutMs_) + " abgebrochen");
}

void T_TcpIp::OpenSocket(std::uint32_t address, std::uint16_t port)
{
    if (socket_ != net::kNoSocket) {
        net::CloseSocket(socket_);
        Trace("Closed socket ID " + std::to_string(socket_), tlSocket);
        socket_ = net::kNoSocket;
    }
    int timeout = ConnectTimeoutMs;
    if (fetchTimeoutMs_ > 0)
        timeout = std::min(timeout, msLeft(fetchDeadline_));
    int error = 0;
    socket_ = net::ConnectIPv4(address, port, timeout, ReceiveTimeoutMs, error, &cancel_);
    if (socket_ == net::kNoSocket) {
        lastError_ = error;
        Trace("Failed to open output socket " + std::to_string(port) + " to host " +
                  net::DottedIPv4(address),
              tlSocket);
        return;
    }
    lastError_ = 0;
    Trace("Opened output socket " + std::to_string(port) + " to host " + net::DottedIPv4(address) +
              " successfully; ID " + std::to_string(socket_),
          tlSocket);
}

void T_TcpIp::Login()
{
    if (connected_)
        Logout();
    if (cancel_.raised())
        throw cancelledError();
    if (fetchTimeoutMs_ > 0 && msLeft(fetchDeadline_) == 0)
        throw fetchTimeoutError();
    if (resolvedHost_ != Host) {
        // Within the fetch's deadline, and given up at once on a cancel: a lookup can take
        // longer than the whole fetch may.
        const std::string unresolved = "Couldn't resolve hostname " + Host;
        const net::Lookup found =
            net::LookupIPv4(Host, fetchTimeoutMs_ > 0 ? msLeft(fetchDeadline_) : -1, &cancel_,
                            HostResolver);
        switch (found.status) {
        case net::Lookup::Found:
            break;
        case net::Lookup::Cancelled:
            throw cancelledError();
        case net::Lookup::TimedOut:
            throw ETcpIpError(unresolved, std::string(kTimeout) + ": Abruf nach " +
                                              durationText(fetchTimeoutMs_) +
                                              " abgebrochen (Namensaufl\xF6sung von " + Host + ")");
        case net::Lookup::Failed:
            throw ETcpIpError(unresolved,
                              Host.empty() ? std::string("kein Rechnername im Link")
                                           : codepage::utf8ToAnsi(lookupErrorText(
                                                 found.eaiCode, found.sysError)) +
                                                 ": " + Host);
        }
        address_ = found.address;
        resolvedHost_ = Host;
    }
    const bool fetchLimited = fetchTimeoutMs_ > 0 && msLeft(fetchDeadline_) < ConnectTimeoutMs;
    if (fetchTimeoutMs_ > 0 && msLeft(fetchDeadline_) == 0)
        throw fetchTimeoutError();
    OpenSocket(address_, Port);
    if (socket_ == net::kNoSocket) {
        if (lastError_ == ECANCELED)
            throw cancelledError();
        if (lastError_ == ETIMEDOUT && fetchLimited)
            throw fetchTimeoutError();
        const std::string cause = connectCause(lastError_, ConnectTimeoutMs) + " (" + Host + ":" +
                                  std::to_string(Port) + ")";
        throw ESocketError("Error creating socket: " + cause,
                           static_cast<std::uint16_t>(lastError_), cause);
    }
    eof_ = false;
    connected_ = true;
    answerDeadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(AnswerTimeoutMs);
}

void T_TcpIp::AdoptSocket(net::SocketHandle s)
{
    if (socket_ != net::kNoSocket)
        Logout();
    socket_ = s;
    eof_ = false;
    connected_ = true;
    ClearFetchDeadline();
    answerDeadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(AnswerTimeoutMs);
}

void T_TcpIp::SetFetchDeadline(std::chrono::steady_clock::time_point deadline, int timeoutMs)
{
    fetchDeadline_ = deadline;
    fetchTimeoutMs_ = timeoutMs;
}

void T_TcpIp::Logout()
{
    if (socket_ != net::kNoSocket) {
        net::CloseSocket(socket_);
        Trace("Closed socket ID " + std::to_string(socket_), tlSocket);
    }
    socket_ = net::kNoSocket;
    connected_ = false;
}

void T_TcpIp::SendRaw(const std::string& bytes, const std::string& traced)
{
    if (socket_ == net::kNoSocket)
        return;
    int error = 0;
    const std::size_t sent = net::SendAll(socket_, bytes.data(), bytes.size(), error);
    if (sent != bytes.size())
        return;
    Trace(traced, tlCommand);
    Trace("Sent " + std::to_string(sent) + " bytes on socket ID " + std::to_string(socket_),
          tlSocket);
}

void T_TcpIp::SendCommand(const std::string& text)
{
    SendRaw(text + "\r\n", text);
}

bool T_TcpIp::AtEof()
{
    return eof_ || !net::IsConnected(socket_);
}

long T_TcpIp::ReceiveChecked(char* buffer, std::size_t size)
{
    if (socket_ == net::kNoSocket) {
        eof_ = true;
        return 0;
    }
    // The wait ends at the nearest of three limits: the pause allowed between two pieces of
    // data, the answer of this connection, the whole fetch. Each has its own message.
    enum class Limit { Receive, Answer, Fetch } limit = Limit::Receive;
    int wait = ReceiveTimeoutMs > 0 ? ReceiveTimeoutMs : INT_MAX;
    if (AnswerTimeoutMs > 0 && msLeft(answerDeadline_) < wait) {
        wait = msLeft(answerDeadline_);
        limit = Limit::Answer;
    }
    if (fetchTimeoutMs_ > 0 && msLeft(fetchDeadline_) < wait) {
        wait = msLeft(fetchDeadline_);
        limit = Limit::Fetch;
    }
    const auto expired = [&] {
        switch (limit) {
        case Limit::Answer:
            return timeoutError("Antwort nach " + durationText(AnswerTimeoutMs) + " abgebrochen");
        case Limit::Fetch:
            return fetchTimeoutError();
        case Limit::Receive:
            break;
        }
        return timeoutError(durationText(ReceiveTimeoutMs) + " keine Daten vom Server");
    };
    int error = 0;
    const int ready = wait > 0 ? net::WaitReadable(socket_, wait, error, &cancel_) : 0;
    if (ready == 0)
        throw expired();
    if (error == ECANCELED)
        throw cancelledError();
    long n = -1;
    if (ready > 0)
        n = net::Receive(socket_, buffer, size, error);
    if (n < 0 && error == ETIMEDOUT)
        throw expired();
    if (n < 0 && error != 0) {
        // A reset or another failure in the middle of an answer is no regular end of data: the
        // answer may be cut short.
        throw ESocketError("Fehler beim Empfang: " + systemText(error),
                           static_cast<std::uint16_t>(error));
    }
    if (n < 1) {
        eof_ = true;
        return 0;
    }
    return n;
}

std::string T_TcpIp::ReadLine()
{
    std::string line;
    for (;;) {
        char c = 0;
        const long n = ReceiveChecked(&c, 1);
        if (n == 1) {
            if (c == '\n')
                break;
            if (line.size() >= MaxLineLength)
                throw EProtocolError("Kopfzeile der Antwort zu lang (mehr als " +
                                         sizeText(MaxLineLength) + ")",
                                     0, "HTTP");
            line += c;
        }
        if (AtEof())
            break;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

long T_TcpIp::ReadBlock(char* buffer, std::size_t size)
{
    const long n = ReceiveChecked(buffer, size);
    if (n > 0)
        Trace("Received " + std::to_string(n) + " bytes on socket ID " + std::to_string(socket_),
              tlSocket);
    return n;
}

// ---- T_HTTP -----------------------------------------------------------------------------

T_HTTP::T_HTTP() = default;

void T_HTTP::Action()
{
    StatusCode = 0;
    StatusText.clear();
    // A previous body must not survive a failed fetch and pass for the new one.
    stream_.clear();
    // Each fetch looks its hosts up afresh, once.
    ForgetAddress();
    // The end is the nearer of FetchTimeoutMs from now and FetchDeadline; the message names
    // the budget this fetch had.
    std::optional<std::chrono::steady_clock::time_point> end;
    int budgetMs = FetchTimeoutMs;
    if (FetchTimeoutMs > 0)
        end = std::chrono::steady_clock::now() + std::chrono::milliseconds(FetchTimeoutMs);
    if (FetchDeadline && (!end || *FetchDeadline < *end)) {
        end = FetchDeadline;
        if (budgetMs <= 0)
            budgetMs = std::max(1, msLeft(*FetchDeadline));
    }
    if (end)
        SetFetchDeadline(*end, budgetMs);
    else
        ClearFetchDeadline();
    try {
        // Refused before connecting: nothing of a request that cannot be sent safely goes out.
        requirePrintable(URL, "der Adresse");
        requirePrintable(Proxy, "der Proxy-Angabe");
        for (const std::string* header : {&Sender, &Reference, &Agent, &Authorization})
            requirePrintable(*header, "einem Kopfwert");
        std::string host;
        std::string port;
        if (Proxy.empty()) {
            UrlParts parts = ParseURL(URL);
            Path = parts.path;
            host = parts.host;
            port = parts.port.empty() ? "80" : parts.port;
        } else {
            const UrlParts parts = ParseURL(URL);
            Path = parts.protocol.empty() ? "http://" + URL : URL;
            const UrlParts proxy = ParseURL(Proxy);
            host = proxy.host;
            port = proxy.port.empty() ? "8080" : proxy.port;
        }
        if (Path.empty())
            Path = "/";
        Host = host;
        Port = toPort(port);

        Login();
        SendRequest("HEAD", "1.0");
        GetAnswer();
        Logout();

        Login();
        SendRequest("GET", "1.0");
        GetAnswer();
        ReadBody();
        Logout();
        ClearFetchDeadline();
    } catch (EProtocolError& e) {
        Logout();
        ClearFetchDeadline();
        if (StatusCode < 400 || e.ErrorNumber() != StatusCode) {
            StatusCode = 0;
            StatusText.clear();
        }
        stream_.clear();
        e.SetUrl(URL);
        throw;
    } catch (ETcpIpBase& e) {
        Logout();
        ClearFetchDeadline();
        StatusCode = 0;
        StatusText.clear();
        stream_.clear();
        e.SetUrl(URL);
        throw;
    } catch (...) {
        Logout();
        ClearFetchDeadline();
        StatusCode = 0;
        StatusText.clear();
        stream_.clear();
        throw;
    }
}

void T_HTTP::ReadBody()
{
    stream_.clear();
    const bool announced = ContentSizeKnown && answerHasBody(StatusCode);
    const auto tooLarge = [this] {
        return EProtocolError("Antwort zu gro\xDF (mehr als " + sizeText(MaxBodySize) + ")", 0,
                              "HTTP");
    };
    if (announced && static_cast<std::size_t>(ContentSize) > MaxBodySize)
        throw tooLarge();
    while (!AtEof()) {
        const long n = ReadBlock(buffer_.data(), buffer_.size());
        if (n <= 0)
            continue;
        if (stream_.size() + static_cast<std::size_t>(n) > MaxBodySize)
            throw tooLarge();
        stream_.append(buffer_.data(), static_cast<std::size_t>(n));
    }
    // The connection's end is the body's end; with a Content-Length it also says whether the
    // end came too early, which would otherwise pass for a complete page.
    if (announced && stream_.size() < static_cast<std::size_t>(ContentSize))
        throw EProtocolError("Verbindung vor Ende der Daten abgebrochen (" +
                                 std::to_string(stream_.size()) + " von " +
                                 std::to_string(ContentSize) + " Bytes)",
                             0, "HTTP");
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

std::string ErrorStatusText(int status)
{
    // The server's reason text is often English; the common statuses get German names.
    const char* name = nullptr;
    switch (status) {
    case 400: name = "ung\xFCltige Anfrage"; break;
    case 401: name = "Anmeldung erforderlich"; break;
    case 403: name = "Zugriff verweigert"; break;
    case 404: name = "Seite nicht gefunden"; break;
    case 410: name = "Seite nicht mehr vorhanden"; break;
    case 500: name = "Fehler im Server"; break;
    case 502: name = "Fehler beim Weiterleiten"; break;
    case 503: name = "Dienst nicht verf\xFCgbar"; break;
    case 504: name = "Zeit\xFC" "berschreitung beim Weiterleiten"; break;
    default: break;
    }
    std::string text = "HTTP-Status " + std::to_string(status);
    if (name)
        text += std::string(" (") + name + ")";
    return text;
}

std::string UnsuccessfulAnswerText(const T_HTTP& http)
{
    const int code = http.StatusCode;
    if (code == 200)
        return {};
    if (code == 0)
        return "keine HTTP-Antwort";
    std::string status = std::to_string(code);
    if (!http.StatusText.empty())
        status += " " + http.StatusText;
    if (code >= 300 && code < 400)
        return "Weiterleitung nicht verfolgt, zu viele Weiterleitungen (" + status + ")";
    return "unerwarteter HTTP-Status " + status;
}

void T_HTTP::SendRequest(const std::string& method, const std::string& version)
{
    std::vector<std::string> lines;
    lines.push_back(method + " " + EncodeRequestTarget(Path) + " HTTP/" + version);
    if (!Sender.empty())
        lines.push_back("From: " + Sender);
    if (!Reference.empty())
        lines.push_back("Referer: " + Reference);
    if (!Agent.empty())
        lines.push_back("User-Agent: " + Agent);
    if (NoCache)
        lines.push_back("Pragma: no-cache");
    lines.push_back("Host: " + Host);
    // Checked as a whole before the first byte goes out: a CR or LF in any value would start a
    // request line of its own.
    for (const std::string& line : lines)
        requirePrintable(line, "der Anfrage");
    requirePrintable(Authorization, "der Anmeldung");
    for (const std::string& line : lines)
        SendCommand(line);
    if (!Authorization.empty())
        SendRaw("Authorization: " + Authorization + "\r\n", "Authorization: *****");
    SendRaw("\r\n", "");
}

void T_HTTP::ApplyLocation(const std::string& value)
{
    // Refused before the GET's connection is opened.
    requirePrintable(value, "der Weiterleitung");
    const bool absolute = value.find("://") != std::string::npos;
    // Only web pages are fetched: a server must not lead the client to a local file or to a
    // protocol it does not speak.
    if (absolute && lowerAscii(ParseURL(value).protocol) != "http")
        throw ERequestError("Weiterleitung auf " + value +
                            " abgelehnt: nur http://-Links werden geholt");
    if (!Proxy.empty()) {
        // Through a proxy the request target is the whole URL; a Location without scheme and
        // host is completed from the current target, so the proxy is not handed a bare path.
        Path = absolute ? value : resolveAgainst(Path, value, true);
        return;
    }
    if (absolute) {
        const UrlParts parts = ParseURL(value);
        Host = parts.host;
        Path = parts.path.empty() ? "/" : parts.path;
        if (!parts.port.empty())
            Port = toPort(parts.port);
        return;
    }
    // A Location without a scheme and host refers to the server that sent it.
    Path = resolveAgainst(Path, value, false);
}

void T_HTTP::GetAnswer()
{
    AuthChallenges.clear();
    ContentType.clear();
    ContentSize = 0;
    ContentSizeKnown = false;
    std::size_t headerSize = 0;
    for (;;) {
        const std::string line = ReadLine();
        if (line.empty())
            break;
        headerSize += line.size();
        if (headerSize > MaxHeaderSize)
            throw EProtocolError("Kopf der Antwort zu gro\xDF (mehr als " +
                                     sizeText(MaxHeaderSize) + ")",
                                 0, "HTTP");
        Trace(line, tlAnswer);
        // Dropping it would join two values into one the server never sent.
        if (line.find('\r') != std::string::npos)
            throw EProtocolError("Steuerzeichen CR in einer Kopfzeile", 0, "HTTP");
        if (line.compare(0, 7, "HTTP/1.") == 0) {
            StatusCode = numberField(line.size() > 9 ? std::string_view(line).substr(9, 3) : "",
                                     "HTTP-Status");
            StatusText = line.size() > 13 ? line.substr(13) : std::string();
        } else if (const std::size_t colon = line.find(':'); colon != std::string::npos) {
            const std::string name = lowerAscii(std::string_view(line).substr(0, colon));
            // Blanks after the colon are optional; skipping a fixed one would eat the first
            // character of a value written without it.
            const std::string value(trimBlanks(std::string_view(line).substr(colon + 1)));
            if (name == "location")
                ApplyLocation(value);
            else if (name == "content-length") {
                ContentSize = numberField(value, "Content-Length");
                if (ContentSize < 0)
                    throw EProtocolError("Content-Length negativ: " + value, 0, "HTTP");
                ContentSizeKnown = true;
            }
            else if (name == "content-type")
                ContentType = value;
            else if (name == "www-authenticate")
                AuthChallenges.push_back(value);
        }
        if (AtEof())
            break;
    }
    if (StatusCode >= 400)
        throw EProtocolError(StatusText.empty() ? "HTTP-Status " + std::to_string(StatusCode)
                                                : StatusText,
                             static_cast<std::uint16_t>(StatusCode), "HTTP",
                             ErrorStatusText(StatusCode));
}

} // namespace kovanta
