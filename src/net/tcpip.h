#pragma once

#include "net/bytestream.h"
#include "net/tcpiperrors.h"
#include "net/tcpsocket.h"
#include "net/url.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The TCP side of the HTTP client: connecting (with the host looked up within the fetch's
// deadline), sending command lines, reading lines and blocks of the answer. Every call blocks
// the caller; every wait is bounded by the timeouts below and ends at once on Cancel(). All
// bytes go through a ByteStream, the one place a connection is read and written.
namespace kovanta {

enum TTraceLevel {
    tlCommand = 0, // a request line or header line as sent
    tlAnswer = 1,  // a non-empty line of the answer header
    tlSocket = 2,  // a socket event
};
using TTraceProc = std::function<void(const std::string& text, TTraceLevel level)>;

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
    // The CA certificates an encrypted connection's server must be vouched for by: a PEM file
    // or a hashed directory. Empty = the system's store (which honours SSL_CERT_FILE and
    // SSL_CERT_DIR), as the program always uses it.
    std::string TrustedCertificates;

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

    // Closes any open connection, then connects to `address` (network order) and `port`. On
    // failure the connection stays closed and the error is kept for Login.
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
    // Takes over an already open connection as if Login had opened it (deadlines included), for
    // feeding the answer parsing from elsewhere (a socket pair in the fuzz harness).
    void AdoptStream(std::unique_ptr<ByteStream> connection);
    void AdoptSocket(net::SocketHandle s) { AdoptStream(std::make_unique<TcpStream>(s)); }
    // The whole fetch must be over by `deadline` (no limit after ClearFetchDeadline); connects
    // and receives wait no longer than that.
    void SetFetchDeadline(std::chrono::steady_clock::time_point deadline, int timeoutMs);
    void ClearFetchDeadline() { fetchTimeoutMs_ = 0; }
    // The next Login resolves its host again.
    void ForgetAddress() { resolvedHost_.reset(); }
    ESocketError fetchTimeoutError() const;
    // Puts TLS over the open connection, for `serverName` (checked against the certificate; the
    // port only for messages),
    // within ConnectTimeoutMs and the fetch's deadline. Raises ETlsError when the certificate
    // or the handshake fails, ESocketError on a timeout or cancel; the connection is closed then.
    void StartTls(const std::string& serverName, std::uint16_t port);
    void Trace(const std::string& text, TTraceLevel level) const;
    void SendRaw(const std::string& bytes, const std::string& traced);
    long ReceiveChecked(char* buffer, std::size_t size);

    std::unique_ptr<ByteStream> connection_; // none while closed
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

private:
    void closeConnection();
};

} // namespace kovanta
