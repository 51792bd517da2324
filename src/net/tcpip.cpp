#include "net/tcpip.h"

#include "net/tlsstream.h"

#include "platform/codepage.h"
#include "platform/syserror.h"

#include <algorithm>
#include <cerrno>
#include <climits>

namespace kovanta {
namespace {

// The cause of a failed connect, in the user's words; the errno stays in the exception.
std::string connectCause(int error, int timeoutMs)
{
    if (error == ETIMEDOUT)
        return std::string(net::kTimeout) + " beim Verbindungsaufbau (" +
               net::durationText(timeoutMs) + ")";
    return net::systemText(error);
}

} // namespace

T_TcpIp::T_TcpIp() : buffer_(kBufferSize) {}

T_TcpIp::~T_TcpIp()
{
    OnTrace = nullptr;
}

void T_TcpIp::Trace(const std::string& text, TTraceLevel level) const
{
    if (OnTrace)
        OnTrace(text, level);
}

void T_TcpIp::closeConnection()
{
    if (!connection_)
        return;
    const int id = connection_->id();
    connection_.reset();
    Trace("Closed socket ID " + std::to_string(id), tlSocket);
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
    return net::timeoutError("Abruf nach " + net::durationText(fetchTimeoutMs_) + " abgebrochen");
}

void T_TcpIp::OpenSocket(std::uint32_t address, std::uint16_t port)
{
    closeConnection();
    int timeout = ConnectTimeoutMs;
    if (fetchTimeoutMs_ > 0)
        timeout = std::min(timeout, net::msLeft(fetchDeadline_));
    int error = 0;
    const net::SocketHandle s =
        net::ConnectIPv4(address, port, timeout, ReceiveTimeoutMs, error, &cancel_);
    if (s == net::kNoSocket) {
        lastError_ = error;
        Trace("Failed to open output socket " + std::to_string(port) + " to host " +
                  net::DottedIPv4(address),
              tlSocket);
        return;
    }
    connection_ = std::make_unique<TcpStream>(s);
    lastError_ = 0;
    Trace("Opened output socket " + std::to_string(port) + " to host " + net::DottedIPv4(address) +
              " successfully; ID " + std::to_string(s),
          tlSocket);
}

void T_TcpIp::Login()
{
    if (connected_)
        Logout();
    if (cancel_.raised())
        throw net::cancelledError();
    if (fetchTimeoutMs_ > 0 && net::msLeft(fetchDeadline_) == 0)
        throw fetchTimeoutError();
    if (resolvedHost_ != Host) {
        // Within the fetch's deadline, and given up at once on a cancel: a lookup can take
        // longer than the whole fetch may.
        const std::string unresolved = "Couldn't resolve hostname " + Host;
        const net::Lookup found =
            net::LookupIPv4(Host, fetchTimeoutMs_ > 0 ? net::msLeft(fetchDeadline_) : -1, &cancel_,
                            HostResolver);
        switch (found.status) {
        case net::Lookup::Found:
            break;
        case net::Lookup::Cancelled:
            throw net::cancelledError();
        case net::Lookup::TimedOut:
            throw ETcpIpError(unresolved, std::string(net::kTimeout) + ": Abruf nach " +
                                              net::durationText(fetchTimeoutMs_) +
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
    const bool fetchLimited = fetchTimeoutMs_ > 0 && net::msLeft(fetchDeadline_) < ConnectTimeoutMs;
    if (fetchTimeoutMs_ > 0 && net::msLeft(fetchDeadline_) == 0)
        throw fetchTimeoutError();
    OpenSocket(address_, Port);
    if (!connection_) {
        if (lastError_ == ECANCELED)
            throw net::cancelledError();
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

void T_TcpIp::StartTls(const std::string& serverName, std::uint16_t port)
{
    if (!connection_)
        return;
    // Part of making the connection: bounded like a connect, and by the fetch's deadline.
    int timeout = ConnectTimeoutMs;
    const bool fetchLimited = fetchTimeoutMs_ > 0 && net::msLeft(fetchDeadline_) < timeout;
    if (fetchLimited)
        timeout = net::msLeft(fetchDeadline_);
    const TlsSettings settings{serverName, TrustedCertificates, timeout, &cancel_};
    const int id = connection_->id();
    TlsFailure failure;
    std::unique_ptr<TlsStream> tls = TlsStream::open(std::move(connection_), settings, failure);
    if (tls) {
        Trace("TLS " + tls->description() + " with " + serverName + " on socket ID " +
                  std::to_string(id),
              tlSocket);
        connection_ = std::move(tls);
        return;
    }
    Trace("Closed socket ID " + std::to_string(id), tlSocket);
    connected_ = false;
    switch (failure.kind) {
    case TlsFailure::Cancelled:
        throw net::cancelledError();
    case TlsFailure::TimedOut: {
        if (fetchLimited)
            throw fetchTimeoutError();
        const std::string cause = std::string(net::kTimeout) +
                                  " beim Aufbau der verschl\xFCsselten Verbindung (" +
                                  net::durationText(ConnectTimeoutMs) + ") (" + serverName + ":" +
                                  std::to_string(port) + ")";
        throw ESocketError("TLS handshake: " + cause, static_cast<std::uint16_t>(ETIMEDOUT), cause);
    }
    case TlsFailure::Certificate:
        throw ETlsError("Certificate of " + serverName + " rejected: " + failure.detail,
                        "Zertifikat f\xFCr " + serverName + " nicht g\xFCltig: " + failure.reason,
                        true);
    case TlsFailure::Handshake:
    case TlsFailure::None:
        break;
    }
    throw ETlsError("TLS handshake with " + serverName + " failed: " + failure.detail,
                    "Verschl\xFCsselte Verbindung zu " + serverName + " nicht m\xF6glich: " +
                        failure.reason,
                    false);
}

void T_TcpIp::AdoptStream(std::unique_ptr<ByteStream> connection)
{
    if (connection_)
        Logout();
    connection_ = std::move(connection);
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
    closeConnection();
    connected_ = false;
}

void T_TcpIp::SendRaw(const std::string& bytes, const std::string& traced)
{
    if (!connection_)
        return;
    int error = 0;
    const std::size_t sent = connection_->sendAll(bytes.data(), bytes.size(), error);
    if (sent != bytes.size())
        return;
    Trace(traced, tlCommand);
    Trace("Sent " + std::to_string(sent) + " bytes on socket ID " +
              std::to_string(connection_->id()),
          tlSocket);
}

void T_TcpIp::SendCommand(const std::string& text)
{
    SendRaw(text + "\r\n", text);
}

bool T_TcpIp::AtEof()
{
    return eof_ || !connection_ || !connection_->connected();
}

long T_TcpIp::ReceiveChecked(char* buffer, std::size_t size)
{
    if (!connection_) {
        eof_ = true;
        return 0;
    }
    // The wait ends at the nearest of three limits: the pause allowed between two pieces of
    // data, the answer of this connection, the whole fetch. Each has its own message.
    enum class Limit { Receive, Answer, Fetch } limit = Limit::Receive;
    int wait = ReceiveTimeoutMs > 0 ? ReceiveTimeoutMs : INT_MAX;
    if (AnswerTimeoutMs > 0 && net::msLeft(answerDeadline_) < wait) {
        wait = net::msLeft(answerDeadline_);
        limit = Limit::Answer;
    }
    if (fetchTimeoutMs_ > 0 && net::msLeft(fetchDeadline_) < wait) {
        wait = net::msLeft(fetchDeadline_);
        limit = Limit::Fetch;
    }
    const auto expired = [&] {
        switch (limit) {
        case Limit::Answer:
            return net::timeoutError("Antwort nach " + net::durationText(AnswerTimeoutMs) +
                                     " abgebrochen");
        case Limit::Fetch:
            return fetchTimeoutError();
        case Limit::Receive:
            break;
        }
        return net::timeoutError(net::durationText(ReceiveTimeoutMs) + " keine Daten vom Server");
    };
    int error = 0;
    const int ready = wait > 0 ? connection_->waitReadable(wait, error, &cancel_) : 0;
    if (ready == 0)
        throw expired();
    if (error == ECANCELED)
        throw net::cancelledError();
    long n = -1;
    if (ready > 0)
        n = connection_->receive(buffer, size, error);
    if (n < 0 && error == ETIMEDOUT)
        throw expired();
    if (n < 0 && error != 0) {
        // A reset or another failure in the middle of an answer is no regular end of data: the
        // answer may be cut short.
        throw ESocketError("Fehler beim Empfang: " + net::systemText(error),
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
                                         net::sizeText(MaxLineLength) + ")",
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
        Trace("Received " + std::to_string(n) + " bytes on socket ID " +
                  std::to_string(connection_->id()),
              tlSocket);
    return n;
}

} // namespace kovanta
