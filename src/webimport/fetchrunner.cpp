#include "webimport/fetchrunner.h"

#include <algorithm>
#include <thread>

namespace kovanta {

void FetchRunner::fetch(const std::string& url, const ConfigureClient& configure,
                        const FetchProgress& progress, FetchDone done)
{
    if (limitReached_) {
        post([url, done = std::move(done)] { done(cancelledOutcome(url)); });
        return;
    }
    const auto limited = [configure, deadline = deadline_](T_HTTP& http) {
        if (configure)
            configure(http);
        if (deadline && (!http.FetchDeadline || *deadline < *http.FetchDeadline))
            http.FetchDeadline = deadline;
    };
    // A fetch that failed once the limit had passed was cut by it.
    startFetch(url, limited, progress, [this, done = std::move(done)](FetchOutcome outcome) {
        if (deadline_ && !outcome.succeeded() && outcome.kind != FetchOutcome::ErrorStatus &&
            Clock::now() >= *deadline_) {
            limitReached_ = true;
            outcome = cancelledOutcome(outcome.url);
        }
        done(std::move(outcome));
    });
}

void FetchRunner::pause(int ms, PauseDone done)
{
    if (deadline_) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(*deadline_ - Clock::now()).count();
        if (left < ms) {
            // The pause would end after the limit: it waits up to the limit and ends the import.
            limitReached_ = true;
            startPause(static_cast<int>(std::max<long long>(left, 0)),
                       [done = std::move(done)](bool) { done(false); });
            return;
        }
    }
    startPause(ms, std::move(done));
}

bool BlockingFetchRunner::runNext()
{
    if (waiting_.empty())
        return false;
    const std::function<void()> call = std::move(waiting_.front());
    waiting_.pop_front();
    call();
    return true;
}

void BlockingFetchRunner::startFetch(const std::string& url, const ConfigureClient& configure,
                                     const FetchProgress&, FetchDone done)
{
    post([url, configure, done = std::move(done)] {
        T_HTTP http;
        configure(http);
        http.URL = url;
        done(runFetch(http));
    });
}

void BlockingFetchRunner::startPause(int ms, PauseDone done)
{
    post([ms, done = std::move(done)] {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        done(true);
    });
}

} // namespace kovanta
