#include "tcpsocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace kovanta::net {

bool ResolveIPv4(const std::string& name, std::uint32_t& address)
{
    if (name.empty())
        return false;
    in_addr direct{};
    if (::inet_pton(AF_INET, name.c_str(), &direct) == 1) {
        address = direct.s_addr;
        return true;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (::getaddrinfo(name.c_str(), nullptr, &hints, &list) != 0 || !list)
        return false;
    bool found = false;
    for (const addrinfo* ai = list; ai; ai = ai->ai_next) {
        if (ai->ai_family == AF_INET && ai->ai_addr) {
            address = reinterpret_cast<const sockaddr_in*>(ai->ai_addr)->sin_addr.s_addr;
            found = true;
            break;
        }
    }
    ::freeaddrinfo(list);
    return found;
}

std::string DottedIPv4(std::uint32_t address)
{
    in_addr a{};
    a.s_addr = address;
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &a, text, sizeof text);
    return text;
}

namespace {
bool setBlocking(int fd, bool blocking)
{
    const int flags = ::fcntl(fd, F_GETFL, 0);
    if (flags < 0)
        return false;
    return ::fcntl(fd, F_SETFL, blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK)) == 0;
}

void closeKeepingErrno(int fd)
{
    const int saved = errno;
    ::close(fd);
    errno = saved;
}
} // namespace

SocketHandle ConnectIPv4(std::uint32_t address, std::uint16_t port, int timeoutMs,
                         int receiveTimeoutMs, int& error)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = errno;
        return kNoSocket;
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = address;
    if (!setBlocking(fd, false)) {
        error = errno;
        closeKeepingErrno(fd);
        return kNoSocket;
    }
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
        if (errno != EINPROGRESS) {
            error = errno;
            closeKeepingErrno(fd);
            return kNoSocket;
        }
        pollfd p{fd, POLLOUT, 0};
        int ready;
        do {
            ready = ::poll(&p, 1, timeoutMs);
        } while (ready < 0 && errno == EINTR);
        if (ready <= 0) {
            error = ready == 0 ? ETIMEDOUT : errno;
            closeKeepingErrno(fd);
            return kNoSocket;
        }
        int soError = 0;
        socklen_t len = sizeof soError;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &len) != 0 || soError != 0) {
            error = soError ? soError : errno;
            closeKeepingErrno(fd);
            return kNoSocket;
        }
    }
    timeval tv{};
    tv.tv_sec = receiveTimeoutMs / 1000;
    tv.tv_usec = static_cast<suseconds_t>((receiveTimeoutMs % 1000) * 1000);
    if (!setBlocking(fd, true) || ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv) != 0 ||
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv) != 0) {
        error = errno;
        closeKeepingErrno(fd);
        return kNoSocket;
    }
    return fd;
}

std::size_t SendAll(SocketHandle s, const char* data, std::size_t size, int& error)
{
    std::size_t sent = 0;
    while (sent < size) {
        const ssize_t n = ::send(s, data + sent, size - sent, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = (errno == EAGAIN || errno == EWOULDBLOCK) ? ETIMEDOUT : errno;
            break;
        }
        sent += static_cast<std::size_t>(n);
    }
    return sent;
}

long Receive(SocketHandle s, char* buffer, std::size_t size, int& error)
{
    for (;;) {
        const ssize_t n = ::recv(s, buffer, size, 0);
        if (n >= 0)
            return static_cast<long>(n);
        if (errno == EINTR)
            continue;
        // SO_RCVTIMEO expiry shows up as "would block".
        error = (errno == EAGAIN || errno == EWOULDBLOCK) ? ETIMEDOUT : errno;
        return -1;
    }
}

int WaitReadable(SocketHandle s, int timeoutMs, int& error)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              end - std::chrono::steady_clock::now())
                              .count();
        pollfd p{s, POLLIN, 0};
        const int ready = ::poll(&p, 1, left > 0 ? static_cast<int>(left) : 0);
        if (ready > 0)
            return 1;
        if (ready == 0)
            return 0;
        if (errno != EINTR) {
            error = errno;
            return -1;
        }
    }
}

bool IsConnected(SocketHandle s)
{
    sockaddr_in peer{};
    socklen_t len = sizeof peer;
    return s != kNoSocket && ::getpeername(s, reinterpret_cast<sockaddr*>(&peer), &len) == 0;
}

void CloseSocket(SocketHandle s)
{
    if (s != kNoSocket)
        ::close(s);
}

} // namespace kovanta::net
