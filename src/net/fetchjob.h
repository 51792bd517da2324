#pragma once

#include "net/http.h"

#include <cstddef>
#include <functional>
#include <string>
#include <thread>

// One fetch (HEAD, then GET) described by its outcome instead of an exception, on the caller's
// thread or on a worker thread of its own.
namespace kovanta {

struct FetchOutcome {
    enum Kind {
        Answer,      // the GET was answered (any status below 400)
        ErrorStatus, // an answer with status 400..999: statusText is its reason text
        Failed,      // no usable answer (socket, name, protocol or conversion error)
        Cancelled,   // cancelled while it ran, or not run at all
    };
    Kind kind = Failed;
    std::string url; // the link fetched
    int statusCode = 0;
    std::string statusText;
    int contentSize = 0; // Content-Length of the answer, 0 when none was sent
    std::string body;
    std::string error; // the client's message of the failure, for Failed and ErrorStatus
    // Why no page came, in German (ANSI), for the user; empty for an answer with status 200.
    // "Verbindung abgelehnt (host:80)", "Rechnername unbekannt: host", "HTTP-Status 404 (Seite
    // nicht gefunden)", "keine HTTP-Antwort", "abgebrochen", ...
    std::string cause;

    bool succeeded() const { return kind == Answer && statusCode == 200; }
};

// A fetch of `url` that never ran or was cancelled.
FetchOutcome cancelledOutcome(const std::string& url);

// Settings applied to a client before its fetch (timeouts, proxy, deadline); may be empty.
using ConfigureClient = std::function<void(T_HTTP&)>;

// Runs the fetch of `http` (URL and settings made) on this thread; nothing is thrown.
FetchOutcome runFetch(T_HTTP& http);

// A fetch with a fresh client on a worker thread of its own, started at construction. The
// callbacks are called on the worker thread: `progress` with the body bytes received so far,
// `done` once with the outcome, as the last thing the worker does. cancel() ends every wait
// of the client at once (a name lookup is left to its own thread), so the outcome, Cancelled,
// comes promptly; the destructor cancels and waits for the worker.
class FetchJob {
public:
    using Progress = std::function<void(std::size_t bytes)>;
    using Done = std::function<void(FetchOutcome outcome)>;

    FetchJob(const std::string& url, const ConfigureClient& configure, Progress progress,
             Done done);
    ~FetchJob();
    FetchJob(const FetchJob&) = delete;
    FetchJob& operator=(const FetchJob&) = delete;

    void cancel() { http_.Cancel(); }
    // Waits for the worker; call once `done` has come (it is the worker's last act).
    void join();

private:
    T_HTTP http_;
    std::thread thread_;
};

} // namespace kovanta
