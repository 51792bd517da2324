#pragma once

#include "net/tcpsocket.h"

#include <cstddef>
#include <memory>

// The connection the HTTP client reads and writes through. The client knows nothing of sockets
// beyond this: a plain TCP connection is one ByteStream, an encrypted one wraps another.
// Error codes are errno values (ETIMEDOUT, ECANCELED, ECONNRESET, ...).
namespace kovanta {

class ByteStream {
public:
    virtual ~ByteStream() = default;

    // Sends all `size` bytes. Returns the number sent, less than `size` only when an error
    // occurred (`error` set).
    virtual std::size_t sendAll(const char* data, std::size_t size, int& error) = 0;
    // Waits until receive() has something to give (data or the end of the connection), at
    // most `timeoutMs`. 1 = ready, 0 = the time ran out, -1 = error (`error` set; ECANCELED
    // once `cancel` is raised).
    virtual int waitReadable(int timeoutMs, int& error, const net::CancelSignal* cancel) = 0;
    // Up to `size` bytes: the count (> 0), 0 at the end of the data, -1 on error (`error` set).
    virtual long receive(char* buffer, std::size_t size, int& error) = 0;
    // True while the other side has not closed the connection.
    virtual bool connected() const = 0;
    // A number naming the connection in traces (the socket number).
    virtual int id() const = 0;
};

// A TCP connection; closes its socket when destroyed.
class TcpStream : public ByteStream {
public:
    explicit TcpStream(net::SocketHandle socket) : socket_(socket) {}
    ~TcpStream() override;
    TcpStream(const TcpStream&) = delete;
    TcpStream& operator=(const TcpStream&) = delete;

    std::size_t sendAll(const char* data, std::size_t size, int& error) override;
    int waitReadable(int timeoutMs, int& error, const net::CancelSignal* cancel) override;
    long receive(char* buffer, std::size_t size, int& error) override;
    bool connected() const override;
    int id() const override { return socket_; }
    net::SocketHandle socket() const { return socket_; }

private:
    net::SocketHandle socket_;
};

} // namespace kovanta
