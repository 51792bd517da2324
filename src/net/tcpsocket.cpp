#include "net/tcpsocket.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace kovanta::net {

CancelSignal::CancelSignal() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

CancelSignal::~CancelSignal()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void CancelSignal::raise()
{
    raised_ = true;
    if (fd_ >= 0) {
        // Never read back: the descriptor stays readable, so later waits end at once too.
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(fd_, &one, sizeof one);
    }
}

namespace {

// Waits for `events` on `fd`, at most `timeoutMs` (negative: no limit), and for `cancel`.
// 1 = ready, 0 = the time ran out, -1 = error or cancelled (`error` set).
int waitFor(int fd, short events, int timeoutMs, const CancelSignal* cancel, int& error)
{
    using Clock = std::chrono::steady_clock;
    const bool limited = timeoutMs >= 0;
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(limited ? timeoutMs : 0);
    const int cancelFd = cancel ? cancel->fd() : -1;
    // Without a descriptor to watch, the flag is looked at between short waits.
    const bool sliced = cancel && cancelFd < 0;
    for (;;) {
        if (cancel && cancel->raised()) {
            error = ECANCELED;
            return -1;
        }
        int wait = -1;
        if (limited) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count();
            wait = static_cast<int>(std::clamp<long long>(left, 0, INT_MAX));
        }
        if (sliced && (wait < 0 || wait > 100))
            wait = 100;
        // poll() skips an entry with a negative descriptor.
        pollfd p[2] = {{fd, events, 0}, {cancelFd, POLLIN, 0}};
        const int ready = ::poll(p, 2, wait);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return -1;
        }
        if (p[1].revents != 0) {
            error = ECANCELED;
            return -1;
        }
        if (p[0].revents != 0)
            return 1;
        if (limited && Clock::now() >= end)
            return 0;
    }
}

// What a lookup thread hands back; shared by the thread and the caller, so whichever of them
// is left last frees it.
struct LookupState {
    CancelSignal done; // raised once the fields below are set
    int code = EAI_FAIL;
    std::uint32_t address = 0;
    int sysError = 0;
};

} // namespace

int ResolveIPv4(const std::string& name, std::uint32_t& address, int& sysError)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    errno = 0;
    const int code = ::getaddrinfo(name.c_str(), nullptr, &hints, &list);
    if (code != 0) {
        sysError = errno;
        return code;
    }
    int result = EAI_NONAME;
    for (const addrinfo* ai = list; ai; ai = ai->ai_next) {
        if (ai->ai_family == AF_INET && ai->ai_addr) {
            address = reinterpret_cast<const sockaddr_in*>(ai->ai_addr)->sin_addr.s_addr;
            result = 0;
            break;
        }
    }
    ::freeaddrinfo(list);
    return result;
}

Lookup LookupIPv4(const std::string& name, int timeoutMs, const CancelSignal* cancel,
                  const Resolver& resolver)
{
    Lookup result;
    if (name.empty()) {
        result.eaiCode = EAI_NONAME;
        return result;
    }
    in_addr direct{};
    if (::inet_pton(AF_INET, name.c_str(), &direct) == 1) {
        result.status = Lookup::Found;
        result.address = direct.s_addr;
        return result;
    }
    const Resolver resolve = resolver ? resolver : Resolver(ResolveIPv4);
    const auto finish = [&result](int code, std::uint32_t address, int sysError) {
        result.status = code == 0 ? Lookup::Found : Lookup::Failed;
        result.address = address;
        result.eaiCode = code;
        result.sysError = sysError;
        return result;
    };
    auto state = std::make_shared<LookupState>();
    bool started = false;
    if (state->done.fd() >= 0) {
        try {
            std::thread([state, name, resolve] {
                state->code = resolve(name, state->address, state->sysError);
                state->done.raise();
            }).detach();
            started = true;
        } catch (const std::system_error&) {
        }
    }
    if (!started) {
        // No thread to spare: the lookup runs here, bounded only by the resolver's own limits.
        std::uint32_t address = 0;
        int sysError = 0;
        const int code = resolve(name, address, sysError);
        return finish(code, address, sysError);
    }
    int error = 0;
    const int ready = waitFor(state->done.fd(), POLLIN, timeoutMs, cancel, error);
    if (ready == 1 && state->done.raised())
        return finish(state->code, state->address, state->sysError);
    if (ready == 0) {
        result.status = Lookup::TimedOut;
        return result;
    }
    result.status = error == ECANCELED ? Lookup::Cancelled : Lookup::Failed;
    result.eaiCode = EAI_SYSTEM;
    result.sysError = error;
    return result;
}

std::string DottedIPv4(std::uint32_t address)
{
    in_addr a{};
    a.s_addr = address;
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &a, text, sizeof text);
    return text;
}

bool SetBlocking(SocketHandle fd, bool blocking)
{
    const int flags = ::fcntl(fd, F_GETFL, 0);
    if (flags < 0)
        return false;
    return ::fcntl(fd, F_SETFL, blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK)) == 0;
}

namespace {

void closeKeepingErrno(int fd)
{
    const int saved = errno;
    ::close(fd);
    errno = saved;
}
} // namespace

SocketHandle ConnectIPv4(std::uint32_t address, std::uint16_t port, int timeoutMs,
                         int receiveTimeoutMs, int& error, const CancelSignal* cancel)
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
    if (!SetBlocking(fd, false)) {
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
        // Non-blocking, so that a cancel ends an unanswered connect at once.
        int waitError = 0;
        const int ready = waitFor(fd, POLLOUT, std::max(timeoutMs, 0), cancel, waitError);
        if (ready <= 0) {
            error = ready == 0 ? ETIMEDOUT : waitError;
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
    if (!SetBlocking(fd, true) || ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv) != 0 ||
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

int WaitReadable(SocketHandle s, int timeoutMs, int& error, const CancelSignal* cancel)
{
    return waitFor(s, POLLIN, std::max(timeoutMs, 0), cancel, error);
}

int WaitWritable(SocketHandle s, int timeoutMs, int& error, const CancelSignal* cancel)
{
    return waitFor(s, POLLOUT, std::max(timeoutMs, 0), cancel, error);
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
