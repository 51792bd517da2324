// The HTTP client's answer parsing on arbitrary server bytes: status line, headers (with the
// redirection they cause) and the body, fed through a connected socket pair.
#include "webimport/tcpip.h"

#include <cstddef>
#include <cstdint>
#include <sys/socket.h>
#include <unistd.h>

namespace {

class FuzzHttp : public kovanta::T_HTTP {
public:
    void Adopt(int fd)
    {
        socket_ = fd;
        connected_ = true;
        eof_ = false;
    }
    std::size_t ReadBody()
    {
        std::size_t total = 0;
        while (!AtEof()) {
            const long n = ReadBlock(buffer_.data(), buffer_.size());
            if (n > 0)
                total += static_cast<std::size_t>(n);
        }
        return total;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Beyond the socket buffer the writer would block; longer inputs add nothing new.
    if (size > 100000 || size < 1)
        return 0;
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
        return 0;
    const int buf = 1 << 20;
    ::setsockopt(fds[1], SOL_SOCKET, SO_SNDBUF, &buf, sizeof buf);
    ::setsockopt(fds[0], SOL_SOCKET, SO_RCVBUF, &buf, sizeof buf);
    // The first byte picks the setting the Location header acts on.
    const bool viaProxy = data[0] & 1;
    std::size_t written = 0;
    while (written < size - 1) {
        const ssize_t n = ::send(fds[1], data + 1 + written, size - 1 - written, MSG_NOSIGNAL);
        if (n <= 0)
            break;
        written += static_cast<std::size_t>(n);
    }
    ::shutdown(fds[1], SHUT_WR);

    FuzzHttp http;
    http.MaxLineLength = 512;
    http.MaxHeaderSize = 4096;
    http.Host = "kantine.example";
    http.Path = "/plaene/woche.htm";
    http.Port = 80;
    if (viaProxy)
        http.Proxy = "127.0.0.1:3128";
    http.Adopt(fds[0]);
    try {
        http.GetAnswer();
        http.ReadBody();
    } catch (const kovanta::ETcpIpBase&) {
    }
    http.Logout();
    ::close(fds[1]);
    return 0;
}
