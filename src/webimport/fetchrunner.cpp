#include "fetchrunner.h"

#include "tcpip.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <new>
#include <thread>

namespace kovanta {
namespace {

// Runs the fetch on `http` and describes how it ended; nothing is thrown.
FetchOutcome runAction(T_HTTP& http)
{
    FetchOutcome outcome;
    outcome.url = http.URL;
    try {
        http.Action();
        outcome.kind = FetchOutcome::Answer;
        outcome.body = http.Stream();
        outcome.cause = UnsuccessfulAnswerText(http);
    } catch (const EProtocolError& e) {
        // Only an answer's error status keeps its number; limits and parse failures do not.
        const bool errorStatus = http.StatusCode >= 400 && http.StatusCode <= 999;
        outcome.kind = errorStatus ? FetchOutcome::ErrorStatus : FetchOutcome::Failed;
        outcome.error = e.what();
        outcome.cause = e.Cause();
    } catch (const ETcpIpBase& e) {
        outcome.kind = FetchOutcome::Failed;
        outcome.error = e.what();
        outcome.cause = e.Cause();
    } catch (const std::exception& e) {
        outcome.kind = FetchOutcome::Failed;
        outcome.error = e.what();
        outcome.cause = dynamic_cast<const std::bad_alloc*>(&e) ? "nicht genug Speicher"
                                                                : "interner Fehler";
    }
    outcome.statusCode = http.StatusCode;
    outcome.statusText = http.StatusText;
    outcome.contentSize = http.ContentSize;
    return outcome;
}

FetchOutcome cancelledOutcome(const std::string& url)
{
    FetchOutcome outcome;
    outcome.kind = FetchOutcome::Cancelled;
    outcome.url = url;
    outcome.cause = "abgebrochen";
    return outcome;
}

// A client that publishes how much of the body has arrived, for the waiting thread.
class ProgressHttp : public T_HTTP {
public:
    bool AtEof() override
    {
        received_ = Stream().size();
        return T_HTTP::AtEof();
    }
    std::size_t received() const { return received_; }

private:
    std::atomic<std::size_t> received_{0};
};

} // namespace

std::string FetchFailureText(const FetchOutcome& outcome)
{
    return outcome.url + ": " + outcome.cause;
}

ConfigureClient FetchRunner::limited(const ConfigureClient& configure) const
{
    return [configure, deadline = deadline_](T_HTTP& http) {
        if (configure)
            configure(http);
        if (deadline && (!http.FetchDeadline || *deadline < *http.FetchDeadline))
            http.FetchDeadline = deadline;
    };
}

FetchOutcome FetchRunner::checkLimit(FetchOutcome outcome)
{
    if (deadline_ && !outcome.succeeded() && outcome.kind != FetchOutcome::ErrorStatus &&
        Clock::now() >= *deadline_) {
        limitReached_ = true;
        return cancelledOutcome(outcome.url);
    }
    return outcome;
}

bool FetchRunner::pauseWithinLimit(int& ms)
{
    if (!deadline_)
        return true;
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(*deadline_ - Clock::now()).count();
    if (left >= ms)
        return true;
    ms = static_cast<int>(std::max<long long>(left, 0));
    limitReached_ = true;
    return false;
}

ConfigureClient AttemptBudget::configure()
{
    return [this](T_HTTP& http) {
        if (base_)
            base_(http);
        if (!end_ && http.FetchTimeoutMs > 0)
            end_ = FetchRunner::Clock::now() + std::chrono::milliseconds(http.FetchTimeoutMs);
        if (end_ && (!http.FetchDeadline || *end_ < *http.FetchDeadline))
            http.FetchDeadline = end_;
    };
}

bool AttemptBudget::spent() const
{
    return end_ && FetchRunner::Clock::now() >= *end_;
}

FetchOutcome BlockingFetchRunner::fetch(const std::string& url, const ConfigureClient& configure,
                                        const FetchProgress&)
{
    if (limitReached())
        return cancelledOutcome(url);
    T_HTTP http;
    limited(configure)(http);
    http.URL = url;
    return checkLimit(runAction(http));
}

bool BlockingFetchRunner::pause(int ms)
{
    const bool within = pauseWithinLimit(ms);
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return within;
}

struct ThreadedFetchRunner::Job {
    ProgressHttp http;
    FetchOutcome outcome;
    std::mutex mutex;
    std::condition_variable doneChanged;
    bool done = false;
    std::thread thread;
};

ThreadedFetchRunner::ThreadedFetchRunner(FetchWaitHost& host, int idleIntervalMs)
    : host_(host), idleIntervalMs_(idleIntervalMs)
{}

ThreadedFetchRunner::~ThreadedFetchRunner()
{
    // Every wait of a cancelled client ends at once, so these joins are quick.
    if (current_)
        current_->http.Cancel();
    for (const auto& job : abandoned_)
        job->http.Cancel();
    reapFinished(true);
}

void ThreadedFetchRunner::reapFinished(bool all)
{
    for (auto it = abandoned_.begin(); it != abandoned_.end();) {
        Job& job = **it;
        bool done;
        {
            std::lock_guard<std::mutex> lock(job.mutex);
            done = job.done;
        }
        if (done || all) {
            job.thread.join();
            it = abandoned_.erase(it);
        } else {
            ++it;
        }
    }
}

FetchOutcome ThreadedFetchRunner::fetch(const std::string& url, const ConfigureClient& configure,
                                        const FetchProgress& progress)
{
    reapFinished(false);
    if (limitReached())
        return cancelledOutcome(url);
    auto job = std::make_shared<Job>();
    limited(configure)(job->http);
    job->http.URL = url;
    cancelRequested_ = false;
    current_ = job;
    waiting_ = true;
    host_.waitStarted();
    job->thread = std::thread([job] {
        FetchOutcome outcome = runAction(job->http);
        std::lock_guard<std::mutex> lock(job->mutex);
        job->outcome = std::move(outcome);
        job->done = true;
        job->doneChanged.notify_all();
    });

    std::size_t reported = 0;
    FetchOutcome result;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(job->mutex);
            job->doneChanged.wait_for(lock, std::chrono::milliseconds(idleIntervalMs_),
                                      [&] { return job->done; });
            if (job->done) {
                result = std::move(job->outcome);
                break;
            }
        }
        host_.waitIdle();
        if (cancelRequested_) {
            result = cancelledOutcome(url);
            break;
        }
        const std::size_t received = job->http.received();
        if (progress && received != reported) {
            reported = received;
            progress(received);
        }
    }
    waiting_ = false;
    current_.reset();
    if (result.kind == FetchOutcome::Cancelled) {
        // Its client gives up at once; the worker is joined once it has ended.
        abandoned_.push_back(job);
    } else {
        job->thread.join();
    }
    host_.waitEnded();
    return checkLimit(std::move(result));
}

bool ThreadedFetchRunner::pause(int ms)
{
    const bool within = pauseWithinLimit(ms);
    cancelRequested_ = false;
    waiting_ = true;
    host_.waitStarted();
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!cancelRequested_ && std::chrono::steady_clock::now() < end) {
        host_.waitIdle();
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        std::this_thread::sleep_for(std::min(left, std::chrono::milliseconds(idleIntervalMs_)));
    }
    waiting_ = false;
    host_.waitEnded();
    return within && !cancelRequested_;
}

void ThreadedFetchRunner::cancel()
{
    if (!waiting_)
        return;
    cancelRequested_ = true;
    if (current_)
        current_->http.Cancel();
}

} // namespace kovanta
