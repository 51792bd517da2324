#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The thin socket layer under the HTTP client: blocking IPv4 TCP with bounded waits.
// Addresses are IPv4 in network byte order; error codes are errno values (ECONNREFUSED,
// ETIMEDOUT, ...). Every wait is bounded by the timeout given, so a silent peer can never hold
// the caller for ever.
namespace kovanta::net {

using SocketHandle = int;
inline constexpr SocketHandle kNoSocket = -1;

// A dotted IPv4 address is taken as it is; any other name is resolved (IPv4 only) and its first
// address returned. False for an empty name or a name without an IPv4 address.
bool ResolveIPv4(const std::string& name, std::uint32_t& address);

// "a.b.c.d" for a network-order address.
std::string DottedIPv4(std::uint32_t address);

// Opens a stream socket and connects it, waiting at most `timeoutMs` milliseconds; the socket
// is blocking afterwards and its receive timeout is `receiveTimeoutMs`. Returns kNoSocket on
// failure with `error` set (ETIMEDOUT when the wait ran out).
SocketHandle ConnectIPv4(std::uint32_t address, std::uint16_t port, int timeoutMs,
                         int receiveTimeoutMs, int& error);

// Sends all `size` bytes (never raising SIGPIPE). Returns the number of bytes sent, which is
// less than `size` only when an error occurred (`error` then set).
std::size_t SendAll(SocketHandle s, const char* data, std::size_t size, int& error);

// Receives up to `size` bytes. Returns the count (> 0), 0 when the peer closed the connection,
// or -1 on error with `error` set; a receive timeout is reported as ETIMEDOUT.
long Receive(SocketHandle s, char* buffer, std::size_t size, int& error);

// Waits until data (or the end of the connection) can be received, at most `timeoutMs`
// milliseconds. 1 = ready, 0 = the time ran out, -1 = error (`error` set).
int WaitReadable(SocketHandle s, int timeoutMs, int& error);

// True while the socket has a peer.
bool IsConnected(SocketHandle s);

void CloseSocket(SocketHandle s);

} // namespace kovanta::net
