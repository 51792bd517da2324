#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
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
    int statusCode = 0;
    std::string statusText;
    int contentSize = 0; // Content-Length of the answer, 0 when none was sent
    std::string body;
    std::string error; // message of the failure, for Failed
};

// Settings applied to every client before its fetch (timeouts, proxy); may be empty.
using ConfigureClient = std::function<void(T_HTTP&)>;
// Body bytes received so far; called on the caller's thread while it waits.
using FetchProgress = std::function<void(std::size_t bytes)>;

class FetchRunner {
public:
    virtual ~FetchRunner() = default;
    // Fetches `url` (HEAD, then GET) with a fresh client.
    virtual FetchOutcome fetch(const std::string& url, const ConfigureClient& configure,
                               const FetchProgress& progress) = 0;
    // Waits `ms` milliseconds; false when the wait was cancelled.
    virtual bool pause(int ms) = 0;
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
// waitIdle() repeatedly. cancel() (from waitIdle) ends the wait at once with Cancelled: an open
// connection is shut down so the worker ends promptly; a worker still connecting ends by its
// connect timeout. Such workers are joined later, at the latest by the destructor.
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
