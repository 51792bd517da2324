#pragma once

#include "net/fetchjob.h"

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>

// How the import has its fetches and the pauses between attempts run. A request is started and
// answered later, by one call of its callback from the caller's own event loop (or its own
// loop, for a runner without one), never from inside the request: the import is a sequence of
// steps, each continued by the answer to the one before, and never waits inside a call.
namespace kovanta {

// Body bytes received so far, on the caller's thread.
using FetchProgress = std::function<void(std::size_t bytes)>;
using FetchDone = std::function<void(FetchOutcome outcome)>;
// true when the pause ran its whole length, false when it was cancelled or cut by the limit.
using PauseDone = std::function<void(bool completed)>;

class FetchRunner {
public:
    using Clock = std::chrono::steady_clock;

    virtual ~FetchRunner() = default;

    // Fetches `url` (HEAD, then GET) with a fresh client set up by `configure`. One request
    // runs at a time.
    void fetch(const std::string& url, const ConfigureClient& configure,
               const FetchProgress& progress, FetchDone done);
    // Waits `ms` milliseconds.
    void pause(int ms, PauseDone done);
    // Ends the running fetch (its outcome: Cancelled) or pause (false) at once; nothing
    // without one.
    virtual void cancel() = 0;

    // A limit for everything this runner still does (a whole import): fetches end at
    // `deadline` at the latest, and a fetch cut by it, or a fetch or pause asked for after it,
    // ends as Cancelled with limitReached() set. Empty = no limit.
    void setDeadline(std::optional<Clock::time_point> deadline) { deadline_ = deadline; }
    bool limitReached() const { return limitReached_; }

protected:
    // The runner's part: run the fetch (the client already limited) or the pause, and answer
    // through the callback later. post() calls `call` later from the same loop.
    virtual void startFetch(const std::string& url, const ConfigureClient& configure,
                            const FetchProgress& progress, FetchDone done) = 0;
    virtual void startPause(int ms, PauseDone done) = 0;
    virtual void post(std::function<void()> call) = 0;

private:
    std::optional<Clock::time_point> deadline_;
    bool limitReached_ = false;
};

// For a caller without an event loop (the companion program, tests): requests wait until
// runNext() runs them on the calling thread, which blocks meanwhile. Cannot be cancelled;
// progress is never reported.
class BlockingFetchRunner : public FetchRunner {
public:
    // Runs the oldest waiting request, answer included; false when none waits.
    bool runNext();
    void cancel() override {}

protected:
    void startFetch(const std::string& url, const ConfigureClient& configure,
                    const FetchProgress& progress, FetchDone done) override;
    void startPause(int ms, PauseDone done) override;
    void post(std::function<void()> call) override { waiting_.push_back(std::move(call)); }

private:
    std::deque<std::function<void()>> waiting_;
};

} // namespace kovanta
