#include "net/tlsstream.h"

#include "net/tcpiperrors.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <climits>
#include <filesystem>

namespace kovanta {
namespace {

std::string openSslText(unsigned long code)
{
    char text[256] = {};
    ERR_error_string_n(code, text, sizeof text);
    return text;
}

// Why the certificate check failed, in the user's words.
std::string certificateReason(long result)
{
    switch (result) {
    case X509_V_ERR_CERT_HAS_EXPIRED:
        return "abgelaufen";
    case X509_V_ERR_CERT_NOT_YET_VALID:
        return "noch nicht g\xFCltig";
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
    case X509_V_ERR_CERT_UNTRUSTED:
        return "von einer unbekannten Zertifizierungsstelle ausgestellt";
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
        return "selbst signiert";
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
        return "f\xFCr einen anderen Rechnernamen ausgestellt";
    case X509_V_ERR_CERT_REVOKED:
        return "widerrufen";
    default:
        return "Pr\xFC" "fung fehlgeschlagen (Fehler " + std::to_string(result) + ")";
    }
}

// Why the handshake failed otherwise, in the user's words.
std::string handshakeReason(unsigned long code, bool inputEnded, int sysError)
{
    if (code != 0 && ERR_GET_LIB(code) == ERR_LIB_SSL) {
        switch (ERR_GET_REASON(code)) {
        case SSL_R_UNSUPPORTED_PROTOCOL:
        case SSL_R_TLSV1_ALERT_PROTOCOL_VERSION:
        case SSL_R_NO_PROTOCOLS_AVAILABLE:
        case SSL_R_VERSION_TOO_LOW:
            return "der Server bietet kein TLS 1.2 oder neuer";
        case SSL_R_WRONG_VERSION_NUMBER:
        case SSL_R_PACKET_LENGTH_TOO_LONG:
        case SSL_R_HTTP_REQUEST:
        case SSL_R_UNKNOWN_PROTOCOL:
        case SSL_R_UNEXPECTED_MESSAGE:
        case SSL_R_UNEXPECTED_RECORD:
        case SSL_R_RECORD_LENGTH_MISMATCH:
        case SSL_R_LENGTH_MISMATCH:
        case SSL_R_BAD_PACKET_LENGTH:
            return "der Server antwortet nicht mit TLS";
        case SSL_R_SSLV3_ALERT_HANDSHAKE_FAILURE:
        case SSL_R_NO_SHARED_CIPHER:
            return "keine gemeinsame Verschl\xFCsselung mit dem Server";
        case SSL_R_UNEXPECTED_EOF_WHILE_READING:
            return "der Server hat die Verbindung beendet";
        default:
            break;
        }
    }
    if (inputEnded)
        return "der Server hat die Verbindung beendet";
    if (sysError != 0 && sysError != EPROTO)
        return net::systemText(sysError);
    return "Aushandlung mit dem Server gescheitert";
}

} // namespace

TlsStream::TlsStream(std::unique_ptr<ByteStream> inner) : inner_(std::move(inner)) {}

TlsStream::~TlsStream()
{
    // No close_notify: the answer has been read (or is given up), and a peer that is gone
    // must not hold the close.
    if (ssl_)
        SSL_free(ssl_);
}

std::unique_ptr<TlsStream> TlsStream::open(std::unique_ptr<ByteStream> inner,
                                           const TlsSettings& settings, TlsFailure& failure)
{
    failure = {};
    const auto fail = [&failure](TlsFailure::Kind kind, std::string reason, std::string detail) {
        failure = {kind, std::move(reason), std::move(detail)};
        return nullptr;
    };
    ERR_clear_error();
    std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> ctx(SSL_CTX_new(TLS_client_method()),
                                                          SSL_CTX_free);
    if (!ctx)
        return fail(TlsFailure::Handshake, "TLS nicht verf\xFC" "gbar", openSslText(ERR_get_error()));
    SSL_CTX_set_min_proto_version(ctx.get(), TLS1_2_VERSION);
    // HTTP/1.0 ends a body with the connection; many servers close without a close_notify.
    // A body cut short is caught by its Content-Length as over plain HTTP.
    SSL_CTX_set_options(ctx.get(), SSL_OP_IGNORE_UNEXPECTED_EOF);
    SSL_CTX_set_verify(ctx.get(), SSL_VERIFY_PEER, nullptr);
    const std::string& trust = settings.trustedCertificates;
    std::error_code ec;
    const bool trustLoaded =
        trust.empty() ? SSL_CTX_set_default_verify_paths(ctx.get()) == 1
        : std::filesystem::is_directory(trust, ec)
            ? SSL_CTX_load_verify_locations(ctx.get(), nullptr, trust.c_str()) == 1
            : SSL_CTX_load_verify_locations(ctx.get(), trust.c_str(), nullptr) == 1;
    if (!trustLoaded)
        return fail(TlsFailure::Handshake, "Zertifikate nicht lesbar: " + trust,
                    openSslText(ERR_get_error()));

    std::unique_ptr<TlsStream> stream(new TlsStream(std::move(inner)));
    stream->ssl_ = SSL_new(ctx.get());
    stream->in_ = BIO_new(BIO_s_mem());
    stream->out_ = BIO_new(BIO_s_mem());
    if (!stream->ssl_ || !stream->in_ || !stream->out_) {
        BIO_free(stream->in_);
        BIO_free(stream->out_);
        return fail(TlsFailure::Handshake, "TLS nicht verf\xFC" "gbar", openSslText(ERR_get_error()));
    }
    // An empty input buffer means "wait for more", not the end of the data.
    BIO_set_mem_eof_return(stream->in_, -1);
    SSL_set_bio(stream->ssl_, stream->in_, stream->out_);

    SSL* ssl = stream->ssl_;
    const std::string& name = settings.serverName;
    in_addr address{};
    if (::inet_pton(AF_INET, name.c_str(), &address) == 1) {
        // An address is checked against the certificate's IP entries; it is no server name.
        X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl), name.c_str());
    } else {
        SSL_set_tlsext_host_name(ssl, name.c_str());
        SSL_set_hostflags(ssl, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
        SSL_set1_host(ssl, name.c_str());
    }

    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(std::max(settings.handshakeTimeoutMs, 0));
    int result = 0;
    int error = 0;
    switch (stream->drive([ssl] { return SSL_connect(ssl); }, deadline, settings.cancel, result,
                          error)) {
    case Step::Done:
        return stream;
    case Step::TimedOut:
        return fail(TlsFailure::TimedOut, {}, {});
    case Step::Failed:
        if (error == ECANCELED)
            return fail(TlsFailure::Cancelled, {}, {});
        break;
    case Step::Ended:
        break;
    }
    const long verified = SSL_get_verify_result(ssl);
    if (verified != X509_V_OK)
        return fail(TlsFailure::Certificate, certificateReason(verified),
                    X509_verify_cert_error_string(verified));
    const unsigned long code = ERR_peek_error();
    return fail(TlsFailure::Handshake, handshakeReason(code, stream->inputEnded_, error),
                code ? openSslText(code) : net::systemText(error));
}

// Runs an OpenSSL call until it gets through: what it wrote is sent, and while it wants more
// input, the inner stream is waited on (until `deadline`, or `cancel`) and read.
template <class Op>
TlsStream::Step TlsStream::drive(Op op, Clock::time_point deadline,
                                 const net::CancelSignal* cancel, int& result, int& error)
{
    for (;;) {
        ERR_clear_error();
        result = op();
        const int sslError = result > 0 ? SSL_ERROR_NONE : SSL_get_error(ssl_, result);
        // Whatever happened, what OpenSSL wrote goes out first: a handshake message, an alert.
        if (!flush(error))
            return Step::Failed;
        if (sslError == SSL_ERROR_NONE)
            return Step::Done;
        if (sslError == SSL_ERROR_ZERO_RETURN)
            return Step::Ended;
        if (sslError == SSL_ERROR_WANT_READ) {
            const Step got = fill(deadline, cancel, error);
            if (got != Step::Done)
                return got;
            continue;
        }
        error = EPROTO;
        return Step::Failed;
    }
}

bool TlsStream::flush(int& error)
{
    char buffer[16384];
    for (;;) {
        const int n = BIO_read(out_, buffer, sizeof buffer);
        if (n <= 0)
            return true;
        if (inner_->sendAll(buffer, static_cast<std::size_t>(n), error) !=
            static_cast<std::size_t>(n))
            return false;
    }
}

TlsStream::Step TlsStream::fill(Clock::time_point deadline, const net::CancelSignal* cancel,
                                int& error)
{
    const int ready = inner_->waitReadable(net::msLeft(deadline), error, cancel);
    if (ready == 0)
        return Step::TimedOut;
    if (ready < 0)
        return Step::Failed;
    char buffer[16384];
    const long n = inner_->receive(buffer, sizeof buffer, error);
    if (n < 0)
        return error == ETIMEDOUT ? Step::TimedOut : Step::Failed;
    if (n == 0) {
        inputEnded_ = true;
        BIO_set_mem_eof_return(in_, 0); // from now on an empty buffer is the end
    } else {
        BIO_write(in_, buffer, static_cast<int>(n));
    }
    return Step::Done;
}

std::size_t TlsStream::sendAll(const char* data, std::size_t size, int& error)
{
    // A memory buffer takes any record at once; the inner stream's sends are bounded.
    std::size_t sent = 0;
    while (sent < size) {
        const int chunk = static_cast<int>(std::min<std::size_t>(size - sent, 16384));
        int result = 0;
        const Step step = drive([&] { return SSL_write(ssl_, data + sent, chunk); },
                                Clock::now() + std::chrono::milliseconds(0), nullptr, result,
                                error);
        if (step != Step::Done) {
            if (step != Step::Failed)
                error = step == Step::TimedOut ? ETIMEDOUT : EPIPE;
            break;
        }
        sent += static_cast<std::size_t>(result);
    }
    return sent;
}

int TlsStream::waitReadable(int timeoutMs, int& error, const net::CancelSignal* cancel)
{
    readDeadline_ = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    readCancel_ = cancel;
    if (SSL_pending(ssl_) > 0)
        return 1;
    // Bytes on the socket may be no data (a session ticket): ready only once a byte of data,
    // the end or an error is there for receive().
    char c = 0;
    int result = 0;
    switch (drive([&] { return SSL_peek(ssl_, &c, 1); }, readDeadline_, cancel, result, error)) {
    case Step::TimedOut:
        return 0;
    case Step::Failed:
        return -1;
    case Step::Done:
    case Step::Ended:
        break;
    }
    return 1;
}

long TlsStream::receive(char* buffer, std::size_t size, int& error)
{
    const int chunk = static_cast<int>(std::min<std::size_t>(size, INT_MAX));
    int result = 0;
    switch (drive([&] { return SSL_read(ssl_, buffer, chunk); }, readDeadline_, readCancel_,
                  result, error)) {
    case Step::Done:
        return result;
    case Step::Ended:
        return 0;
    case Step::TimedOut:
        error = ETIMEDOUT;
        return -1;
    case Step::Failed:
        break;
    }
    return -1;
}

std::string TlsStream::description() const
{
    const char* cipher = SSL_get_cipher_name(ssl_);
    return std::string(SSL_get_version(ssl_)) + " " + (cipher ? cipher : "");
}

} // namespace kovanta
