#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// How the import runs one HTTP fetch: on the caller's thread (the companion program, tests), or
// on a worker thread while the caller keeps its window painted and can cancel (the import
// window). Either way the caller sees one blocking call and one outcome; no exception leaves.
namespace kovanta {

class T_HTTP;

struct FetchOutcome {
    enum Kind {
        Answer,      // the GET was answered (any status below 400)
        ErrorStatus, // an answer with status 400..999: statusText is its reason text
        Failed,      // no usable answer (socket, name, protocol or conversion error)
        Cancelled,   // the caller cancelled while waiting
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

// "<link>: <cause>", the one line that tells a user which link failed and why.
std::string FetchFailureText(const FetchOutcome& outcome);

// Settings applied to every client before its fetch (timeouts, proxy); may be empty.
using ConfigureClient = std::function<void(T_HTTP&)>;
// Body bytes received so far; called on the caller's thread while it waits.
using FetchProgress = std::function<void(std::size_t bytes)>;

class FetchRunner {
public:
    using Clock = std::chrono::steady_clock;

    virtual ~FetchRunner() = default;
    // Fetches `url` (HEAD, then GET) with a fresh client.
    virtual FetchOutcome fetch(const std::string& url, const ConfigureClient& configure,
                               const FetchProgress& progress) = 0;
    // Waits `ms` milliseconds; false when the wait was cancelled.
    virtual bool pause(int ms) = 0;

    // A limit for everything this runner still does (a whole import): fetches end at
    // `deadline` at the latest, and a fetch cut by it, or a fetch or pause asked for after it,
    // ends as Cancelled with limitReached() set. Empty = no limit.
    void setDeadline(std::optional<Clock::time_point> deadline) { deadline_ = deadline; }
    bool limitReached() const { return limitReached_; }

protected:
    // For the runners: `configure` followed by the runner's deadline; the outcome of a fetch
    // seen through the deadline; the part of a pause of `ms` before the deadline (false when
    // the pause would end after it).
    ConfigureClient limited(const ConfigureClient& configure) const;
    FetchOutcome checkLimit(FetchOutcome outcome);
    bool pauseWithinLimit(int& ms);

private:
    std::optional<Clock::time_point> deadline_;
    bool limitReached_ = false;
};

// The attempts at one link share one fetch budget: the first attempt starts it (the client's
// FetchTimeoutMs after `base` has set the client up), every later attempt gets what is left,
// so repeating a fetch never multiplies its time.
class AttemptBudget {
public:
    explicit AttemptBudget(ConfigureClient base) : base_(std::move(base)) {}
    // Sets a client up for the next attempt; valid while this budget lives.
    ConfigureClient configure();
    // True once the budget has been used up; no further attempt is worth making.
    bool spent() const;

private:
    ConfigureClient base_;
    std::optional<FetchRunner::Clock::time_point> end_;
};

// Runs the fetch and the pause on the calling thread, which blocks meanwhile. Cannot be
// cancelled; progress is never reported.
class BlockingFetchRunner : public FetchRunner {
public:
    FetchOutcome fetch(const std::string& url, const ConfigureClient& configure,
                       const FetchProgress& progress) override;
    bool pause(int ms) override;
};

// What the caller does while a ThreadedFetchRunner waits, all on the caller's thread.
class FetchWaitHost {
public:
    virtual ~FetchWaitHost() = default;
    virtual void waitStarted() {}
    // Called about every idleIntervalMs; may call ThreadedFetchRunner::cancel().
    virtual void waitIdle() = 0;
    virtual void waitEnded() {}
};

// Runs each fetch on a worker thread of its own while the caller's thread calls the host's
// waitIdle() repeatedly. cancel() (from waitIdle) ends the wait at once with Cancelled, and the
// worker's client is cancelled too: whatever it waits for (a name lookup, a connect, an
// answer) it gives up at once, so workers end promptly and the destructor, which joins them,
// never waits for the network. A name lookup still running is left to its own thread.
class ThreadedFetchRunner : public FetchRunner {
public:
    explicit ThreadedFetchRunner(FetchWaitHost& host, int idleIntervalMs = 20);
    ~ThreadedFetchRunner() override;
    ThreadedFetchRunner(const ThreadedFetchRunner&) = delete;
    ThreadedFetchRunner& operator=(const ThreadedFetchRunner&) = delete;

    FetchOutcome fetch(const std::string& url, const ConfigureClient& configure,
                       const FetchProgress& progress) override;
    bool pause(int ms) override;

    // Cancels the running fetch or pause; without one it does nothing.
    void cancel();
    bool waiting() const { return waiting_; }

private:
    struct Job;
    void reapFinished(bool all);

    FetchWaitHost& host_;
    int idleIntervalMs_;
    bool waiting_ = false;
    bool cancelRequested_ = false;
    std::shared_ptr<Job> current_;
    std::vector<std::shared_ptr<Job>> abandoned_;
};

} // namespace kovanta
