#include "net/http.h"

#include "platform/strings.h"

#include <algorithm>
#include <climits>

namespace kovanta {
namespace {

// HTTP says these answers never carry a body, whatever their Content-Length.
bool answerHasBody(int status)
{
    return !(status >= 100 && status < 200) && status != 204 && status != 304;
}

} // namespace

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
            budgetMs = std::max(1, net::msLeft(*FetchDeadline));
    }
    if (end)
        SetFetchDeadline(*end, budgetMs);
    else
        ClearFetchDeadline();
    try {
        // Refused before connecting: nothing of a request that cannot be sent safely goes out.
        net::requirePrintable(URL, "der Adresse");
        net::requirePrintable(Proxy, "der Proxy-Angabe");
        for (const std::string* header : {&Sender, &Reference, &Agent, &Authorization})
            net::requirePrintable(*header, "einem Kopfwert");
        const UrlParts parts = ParseURL(URL);
        tls_ = asciiLower(parts.protocol) == "https";
        if (Proxy.empty() || tls_) {
            // Origin form; through a proxy the tunnel leads to the server itself.
            Path = parts.path;
            server_ = parts.host;
            port_ = net::portNumber(parts.port.empty() ? (tls_ ? "443" : "80") : parts.port);
        } else {
            Path = parts.protocol.empty() ? "http://" + URL : URL;
        }
        if (Path.empty())
            Path = "/";
        if (Proxy.empty()) {
            Host = server_;
            Port = port_;
        } else {
            const UrlParts proxy = ParseURL(Proxy);
            Host = proxy.host;
            Port = net::portNumber(proxy.port.empty() ? "8080" : proxy.port);
        }

        OpenConnection();
        SendRequest("HEAD", "1.0");
        GetAnswer();
        Logout();

        OpenConnection();
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
        return EProtocolError("Antwort zu gro\xDF (mehr als " + net::sizeText(MaxBodySize) + ")", 0,
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
        if (OnBodyProgress)
            OnBodyProgress(stream_.size());
    }
    // The connection's end is the body's end; with a Content-Length it also says whether the
    // end came too early, which would otherwise pass for a complete page.
    if (announced && stream_.size() < static_cast<std::size_t>(ContentSize))
        throw EProtocolError("Verbindung vor Ende der Daten abgebrochen (" +
                                 std::to_string(stream_.size()) + " von " +
                                 std::to_string(ContentSize) + " Bytes)",
                             0, "HTTP");
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

std::string UnsuccessfulAnswerText(int code, const std::string& statusText)
{
    if (code == 200)
        return {};
    if (code == 0)
        return "keine HTTP-Antwort";
    std::string status = std::to_string(code);
    if (!statusText.empty())
        status += " " + statusText;
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
    // Through a tunnel the request goes to the server, not the proxy.
    lines.push_back("Host: " + (tls_ ? server_ : Host));
    // Checked as a whole before the first byte goes out: a CR or LF in any value would start a
    // request line of its own.
    for (const std::string& line : lines)
        net::requirePrintable(line, "der Anfrage");
    net::requirePrintable(Authorization, "der Anmeldung");
    for (const std::string& line : lines)
        SendCommand(line);
    if (!Authorization.empty())
        SendRaw("Authorization: " + Authorization + "\r\n", "Authorization: *****");
    SendRaw("\r\n", "");
}

void T_HTTP::OpenConnection()
{
    Login();
    if (!tls_)
        return;
    if (!Proxy.empty())
        OpenTunnel();
    StartTls(server_, port_);
}

void T_HTTP::OpenTunnel()
{
    if (server_.empty())
        throw ETcpIpError("Couldn't resolve hostname ", "kein Rechnername im Link");
    const std::string authority = server_ + ":" + std::to_string(port_);
    SendCommand("CONNECT " + authority + " HTTP/1.0");
    SendCommand("Host: " + authority);
    if (!Agent.empty())
        SendCommand("User-Agent: " + Agent);
    SendRaw("\r\n", "");
    // Read a line at a time, so that nothing of the server's first bytes is taken with it.
    const std::string status = ReadLine();
    Trace(status, tlAnswer);
    std::size_t headerSize = status.size();
    for (std::string line = status; !line.empty() && !AtEof();) {
        line = ReadLine();
        headerSize += line.size();
        if (headerSize > MaxHeaderSize)
            throw EProtocolError("Kopf der Antwort zu gro\xDF (mehr als " +
                                     net::sizeText(MaxHeaderSize) + ")",
                                 0, "HTTP");
    }
    const int code = status.compare(0, 7, "HTTP/1.") == 0 && status.size() >= 12
                         ? net::numberField(std::string_view(status).substr(9, 3), "HTTP-Status")
                         : 0;
    if (code < 200 || code > 299) {
        const std::string why = code == 0 ? "keine HTTP-Antwort" : ErrorStatusText(code);
        throw EProtocolError("Proxy refused CONNECT " + authority + ": " + status, 0, "HTTP",
                             "Proxy verweigert die Verbindung zu " + authority + ": " + why);
    }
}

void T_HTTP::ApplyLocation(const std::string& value)
{
    // Refused before the GET's connection is opened.
    net::requirePrintable(value, "der Weiterleitung");
    const bool absolute = value.find("://") != std::string::npos;
    if (!absolute) {
        // A Location without a scheme and host refers to the server that sent it. Through a
        // proxy (without a tunnel) the request target is the whole URL, and such a Location is
        // completed from it, so the proxy is not handed a bare path.
        Path = net::resolveReference(Path, value, !Proxy.empty() && !tls_);
        return;
    }
    const UrlParts parts = ParseURL(value);
    const std::string scheme = asciiLower(parts.protocol);
    // Only web pages are fetched: a server must not lead the client to a local file or to a
    // protocol it does not speak, nor from an encrypted page to an unencrypted one.
    if (scheme != "http" && scheme != "https")
        throw ERequestError("Weiterleitung auf " + value +
                            " abgelehnt: nur http://- und https://-Links werden geholt");
    if (tls_ && scheme == "http")
        throw ERequestError("Weiterleitung auf " + value +
                            " abgelehnt: von https:// nicht zur\xFC" "ck auf unverschl\xFCsseltes "
                            "http://");
    tls_ = scheme == "https";
    if (!Proxy.empty() && !tls_) {
        Path = value;
        return;
    }
    server_ = parts.host;
    // A Location without a port means its scheme's port, not the one of the current link.
    port_ = net::portNumber(parts.port.empty() ? (tls_ ? "443" : "80") : parts.port);
    Path = parts.path.empty() ? "/" : parts.path;
    if (Proxy.empty()) {
        Host = server_;
        Port = port_;
    }
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
                                     net::sizeText(MaxHeaderSize) + ")",
                                 0, "HTTP");
        Trace(line, tlAnswer);
        // Dropping it would join two values into one the server never sent.
        if (line.find('\r') != std::string::npos)
            throw EProtocolError("Steuerzeichen CR in einer Kopfzeile", 0, "HTTP");
        if (line.compare(0, 7, "HTTP/1.") == 0) {
            StatusCode = net::numberField(line.size() > 9 ? std::string_view(line).substr(9, 3) : "",
                                     "HTTP-Status");
            StatusText = line.size() > 13 ? line.substr(13) : std::string();
        } else if (const std::size_t colon = line.find(':'); colon != std::string::npos) {
            const std::string name = asciiLower(std::string_view(line).substr(0, colon));
            // Blanks after the colon are optional; skipping a fixed one would eat the first
            // character of a value written without it.
            const std::string value(trimBlanks(std::string_view(line).substr(colon + 1)));
            if (name == "location")
                ApplyLocation(value);
            else if (name == "content-length") {
                ContentSize = net::numberField(value, "Content-Length");
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
