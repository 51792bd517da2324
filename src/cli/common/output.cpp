#include "cli/common/output.h"

#include "platform/codepage.h"

#include <cerrno>
#include <fcntl.h>
#include <iostream>
#include <poll.h>
#include <unistd.h>

namespace kovanta::cli {
namespace {

void appendHex(std::string& out, unsigned char byte)
{
    static constexpr char kHex[] = "0123456789abcdef";
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0xF];
}

// Length of the valid UTF-8 sequence at s[i], 0 when the byte there starts none.
std::size_t sequenceLength(std::string_view s, std::size_t i)
{
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    const unsigned char lead = b(0);
    std::size_t n = 0;
    char32_t cp = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        cp = lead & 0x07;
    } else {
        return 0;
    }
    if (i + n > s.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if ((b(k) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b(k) & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are no valid UTF-8.
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

} // namespace

std::string escaped(std::string_view s, bool keepLayout)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = sequenceLength(s, i);
        if (n == 0) {
            appendHex(out, c);
            ++i;
            continue;
        }
        if (n == 1) {
            if (c == '\\')
                out += "\\\\";
            else if (keepLayout && (c == '\t' || c == '\n'))
                out += static_cast<char>(c);
            else if (c == '\t')
                out += "\\t";
            else if (c == '\n')
                out += "\\n";
            else if (c == '\r')
                out += "\\r";
            else if (c < 0x20 || c == 0x7F)
                appendHex(out, c);
            else
                out += static_cast<char>(c);
        } else if (n == 2 && c == 0xC2 && static_cast<unsigned char>(s[i + 1]) < 0xA0) {
            // C1 controls (U+0080-U+009F): some terminals act on them as on ESC sequences.
            appendHex(out, c);
            appendHex(out, static_cast<unsigned char>(s[i + 1]));
        } else {
            out.append(s.substr(i, n));
        }
        i += n;
    }
    return out;
}

std::string ansiField(std::string_view ansi)
{
    return escaped(codepage::ansiToUtf8(ansi));
}

std::string quotedName(std::string_view name)
{
    return "\"" + escaped(name) + "\"";
}

class CheckedStdout::Buffer : public std::streambuf {
public:
    Buffer() { setp(data_, data_ + sizeof data_); }
    int error() const { return error_; }
    bool flushBuffer()
    {
        const char* p = pbase();
        std::size_t left = static_cast<std::size_t>(pptr() - pbase());
        setp(data_, data_ + sizeof data_);
        while (error_ == 0 && left > 0) {
            const ssize_t n = ::write(STDOUT_FILENO, p, left);
            if (n < 0) {
                // A descriptor left non-blocking by another program: wait until it takes more.
                if (errno == EAGAIN || errno == EWOULDBLOCK) {
                    pollfd out{STDOUT_FILENO, POLLOUT, 0};
                    ::poll(&out, 1, -1);
                } else if (errno != EINTR) {
                    error_ = errno;
                }
                continue;
            }
            if (n == 0) {
                error_ = EIO; // no progress: that output cannot be written
                continue;
            }
            p += n;
            left -= static_cast<std::size_t>(n);
        }
        return error_ == 0;
    }

protected:
    int_type overflow(int_type c) override
    {
        if (!flushBuffer())
            return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof()))
            sputc(traits_type::to_char_type(c));
        return traits_type::not_eof(c);
    }
    int sync() override { return flushBuffer() ? 0 : -1; }

private:
    // Large enough that a command's output goes out in few writes.
    char data_[64 * 1024];
    int error_ = 0;
};

CheckedStdout::CheckedStdout() : buffer_(std::make_unique<Buffer>())
{
    previous_ = std::cout.rdbuf(buffer_.get());
}

CheckedStdout::~CheckedStdout()
{
    std::cout.rdbuf(previous_);
}

int CheckedStdout::finish()
{
    buffer_->flushBuffer();
    // A stream that failed for a reason of its own has still lost output.
    if (buffer_->error() == 0 && !std::cout)
        return EIO;
    return buffer_->error();
}

void occupyClosedStandardDescriptors()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // open() returns the lowest free number, which is fd itself; should it not, the
        // descriptor is of no use and goes again.
        const int placeholder = ::open("/dev/null", O_RDONLY);
        if (placeholder >= 0 && placeholder != fd)
            ::close(placeholder);
    }
}

} // namespace kovanta::cli
