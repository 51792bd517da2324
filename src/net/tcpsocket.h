#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// The thin socket layer under the HTTP client, which reaches it through a ByteStream: blocking
// IPv4 TCP with bounded waits. Addresses are IPv4 in network byte order; error codes are errno
// values (ECONNREFUSED, ETIMEDOUT, ...). Every wait is bounded by the timeout given, so a
// silent peer can never hold the caller for ever, and every wait that is given a CancelSignal
// ends as soon as it is raised.
namespace kovanta::net {

using SocketHandle = int;
inline constexpr SocketHandle kNoSocket = -1;

// Raised from any thread, it ends the waits that watch it at once (they report ECANCELED) and
// every wait begun afterwards. It cannot be lowered again: one signal per fetch.
class CancelSignal {
public:
    CancelSignal();
    ~CancelSignal();
    CancelSignal(const CancelSignal&) = delete;
    CancelSignal& operator=(const CancelSignal&) = delete;

    void raise();
    bool raised() const { return raised_; }
    // A descriptor that becomes readable when raised; -1 when the system gave none (the waits
    // then look at raised() every 100 ms).
    int fd() const { return fd_; }

private:
    int fd_ = -1;
    std::atomic<bool> raised_{false};
};

// Resolves a host name to its first IPv4 address, blocking. Returns 0, or the getaddrinfo()
// error code (EAI_NONAME, ...) with `sysError` set for EAI_SYSTEM.
using Resolver = std::function<int(const std::string& name, std::uint32_t& address, int& sysError)>;

// The system's resolver (getaddrinfo, IPv4 only).
int ResolveIPv4(const std::string& name, std::uint32_t& address, int& sysError);

struct Lookup {
    enum Status { Found, Failed, TimedOut, Cancelled };
    Status status = Failed;
    std::uint32_t address = 0;
    int eaiCode = 0;  // for Failed: the resolver's error code
    int sysError = 0; // for EAI_SYSTEM
};

// Resolves `name` within `timeoutMs` (negative: no limit) unless `cancel` is raised first. A
// dotted IPv4 address is taken as it is; an empty name fails with EAI_NONAME. A name lookup
// cannot be interrupted, so it runs on a thread of its own that nobody waits for: when the time
// runs out or the wait is cancelled, the caller goes on at once and the lookup's result is
// dropped whenever it comes. `resolver` empty = ResolveIPv4.
Lookup LookupIPv4(const std::string& name, int timeoutMs, const CancelSignal* cancel,
                  const Resolver& resolver = {});

// "a.b.c.d" for a network-order address.
std::string DottedIPv4(std::uint32_t address);

// Opens a stream socket and connects it, waiting at most `timeoutMs` milliseconds (or until
// `cancel` is raised); the socket is blocking afterwards and its receive timeout is
// `receiveTimeoutMs`. Returns kNoSocket on failure with `error` set (ETIMEDOUT when the wait
// ran out, ECANCELED when it was cancelled).
SocketHandle ConnectIPv4(std::uint32_t address, std::uint16_t port, int timeoutMs,
                         int receiveTimeoutMs, int& error, const CancelSignal* cancel = nullptr);

// Sends all `size` bytes (never raising SIGPIPE). Returns the number of bytes sent, which is
// less than `size` only when an error occurred (`error` then set).
std::size_t SendAll(SocketHandle s, const char* data, std::size_t size, int& error);

// Receives up to `size` bytes. Returns the count (> 0), 0 when the peer closed the connection,
// or -1 on error with `error` set; a receive timeout is reported as ETIMEDOUT.
long Receive(SocketHandle s, char* buffer, std::size_t size, int& error);

// Waits until data (or the end of the connection) can be received, at most `timeoutMs`
// milliseconds. 1 = ready, 0 = the time ran out, -1 = error (`error` set; ECANCELED when
// `cancel` was raised).
int WaitReadable(SocketHandle s, int timeoutMs, int& error, const CancelSignal* cancel = nullptr);
// The same for sending: until the socket takes more data.
int WaitWritable(SocketHandle s, int timeoutMs, int& error, const CancelSignal* cancel = nullptr);

// Switches the socket between blocking and non-blocking; false on failure (errno set).
bool SetBlocking(SocketHandle s, bool blocking);

// True while the socket has a peer.
bool IsConnected(SocketHandle s);

void CloseSocket(SocketHandle s);

} // namespace kovanta::net
