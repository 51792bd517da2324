#pragma once

#include "net/bytestream.h"

#include <chrono>
#include <memory>
#include <string>

struct ssl_st;
struct bio_st;

// An encrypted connection over another ByteStream, with OpenSSL: TLS 1.2 or newer, the server
// name sent (SNI), the certificate chain checked against a trust store and the certificate
// checked for the host name. OpenSSL only ever sees memory buffers; every byte reaches the
// socket through the inner stream, so the waits are the inner stream's (bounded, ended by the
// cancel signal) and nothing is sent without MSG_NOSIGNAL.
namespace kovanta {

// Why an encrypted connection could not be made.
struct TlsFailure {
    enum Kind { None, Certificate, Handshake, TimedOut, Cancelled };
    Kind kind = None;
    std::string reason; // German (ANSI), for the user: "abgelaufen", "selbst signiert", ...
    std::string detail; // OpenSSL's own text, for the client's message
};

struct TlsSettings {
    std::string serverName; // host name or dotted IPv4 address the certificate must name
    // CA certificates (a PEM file, or a directory as c_rehash makes it); empty = the system's
    // store, which honours SSL_CERT_FILE and SSL_CERT_DIR.
    std::string trustedCertificates;
    int handshakeTimeoutMs = 0; // the whole handshake
    const net::CancelSignal* cancel = nullptr;
};

class TlsStream : public ByteStream {
public:
    // Makes the TLS connection over `inner`. Null with `failure` set when it cannot be made
    // (the inner stream is closed then); a certificate that fails any check is such a failure.
    static std::unique_ptr<TlsStream> open(std::unique_ptr<ByteStream> inner,
                                           const TlsSettings& settings, TlsFailure& failure);
    ~TlsStream() override;
    TlsStream(const TlsStream&) = delete;
    TlsStream& operator=(const TlsStream&) = delete;

    std::size_t sendAll(const char* data, std::size_t size, int& error) override;
    int waitReadable(int timeoutMs, int& error, const net::CancelSignal* cancel) override;
    long receive(char* buffer, std::size_t size, int& error) override;
    bool connected() const override { return inner_->connected(); }
    int id() const override { return inner_->id(); }

    // "TLSv1.3 TLS_AES_256_GCM_SHA384", for traces.
    std::string description() const;

private:
    using Clock = std::chrono::steady_clock;
    enum class Step { Done, Ended, TimedOut, Failed };

    explicit TlsStream(std::unique_ptr<ByteStream> inner);
    template <class Op>
    Step drive(Op op, Clock::time_point deadline, const net::CancelSignal* cancel, int& result,
               int& error);
    bool flush(int& error);
    Step fill(Clock::time_point deadline, const net::CancelSignal* cancel, int& error);

    std::unique_ptr<ByteStream> inner_;
    ssl_st* ssl_ = nullptr;
    bio_st* in_ = nullptr;  // bytes received, for OpenSSL to read (owned by ssl_)
    bio_st* out_ = nullptr; // bytes OpenSSL wrote, to be sent (owned by ssl_)
    bool inputEnded_ = false; // the inner stream has ended
    Clock::time_point readDeadline_{};
    const net::CancelSignal* readCancel_ = nullptr;
};

} // namespace kovanta
