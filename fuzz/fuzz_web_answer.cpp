// The HTTP client's answer parsing on arbitrary server bytes: status line, headers (with the
// redirection they cause) and the body, fed through a connected socket pair. The socket is
// taken over the way a Login opens one, deadlines included, so every input is parsed to its end.
#include "fuzzsupport.h"
#include "net/http.h"

#include <cstddef>
#include <cstdint>
#include <sys/socket.h>
#include <unistd.h>

namespace {

class FuzzHttp : public kovanta::T_HTTP {
public:
    void Adopt(int fd) { AdoptSocket(fd); }
    std::size_t ReadBodyBytes()
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

int fuzz::webAnswer(const std::uint8_t* data, std::size_t size)
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
    // All data is there or the writer has shut down: no wait can be long.
    http.ReceiveTimeoutMs = 1000;
    http.Host = "kantine.example";
    http.Path = "/plaene/woche.htm";
    http.Port = 80;
    if (viaProxy)
        http.Proxy = "127.0.0.1:3128";
    http.Adopt(fds[0]);
    try {
        http.GetAnswer();
        fuzz::Reached("web answer: header parsed");
        if (http.StatusCode >= 200)
            fuzz::Reached("web answer: status line");
        if (http.Path != "/plaene/woche.htm")
            fuzz::Reached("web answer: redirection");
        if (http.ReadBodyBytes() > 0)
            fuzz::Reached("web answer: body");
        // Whatever was sent, the request line built from it stays one line of three parts.
        const std::string target = kovanta::EncodeRequestTarget(http.Path);
        fuzz::Check(target.find(' ') == std::string::npos);
    } catch (const kovanta::ETcpIpBase&) {
        fuzz::Reached("web answer: refused");
    }
    http.Logout();
    ::close(fds[1]);
    return 0;
}

KOVANTA_FUZZ_ENTRY(fuzz::webAnswer)
