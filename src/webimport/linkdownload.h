#pragma once

#include "webimport/fetchrunner.h"

#include <functional>
#include <optional>
#include <string>

// Fetching one link for the import: a fetch that ends without a page is made again after a
// pause, up to kMaxAttempts times, all attempts within one budget. Each step is started
// through the FetchRunner and continued by its answer.
namespace kovanta {

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

class LinkDownload {
public:
    // Attempts at a link whose fetch ends without status 200 and without an error status.
    static constexpr int kMaxAttempts = 3;

    struct Hooks {
        FetchProgress progress;            // body bytes of the running attempt
        std::function<void()> attemptEnded; // after each attempt, before the pause or the end
        // Once, with the outcome of the last attempt: a page (succeeded()), Cancelled (the
        // fetch or the pause was cancelled), or the failure to report. A body shorter than its
        // Content-Length is such a failure.
        std::function<void(FetchOutcome outcome)> done;
    };

    // Starts the first attempt at once; `base` sets up every client.
    LinkDownload(FetchRunner& runner, std::string url, ConfigureClient base, int retryDelayMs,
                 Hooks hooks);
    LinkDownload(const LinkDownload&) = delete;
    LinkDownload& operator=(const LinkDownload&) = delete;

    const std::string& url() const { return url_; }

private:
    void startAttempt();
    void attemptEnded(FetchOutcome outcome);

    FetchRunner& runner_;
    std::string url_;
    AttemptBudget budget_;
    int retryDelayMs_;
    Hooks hooks_;
    int attempt_ = 0;
};

} // namespace kovanta
