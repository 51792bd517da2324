#include "fetchrunner.h"

#include "tcpip.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <sys/socket.h>
#include <thread>

namespace kovanta {
namespace {

// Runs the fetch on `http` and describes how it ended; nothing is thrown.
FetchOutcome runAction(T_HTTP& http)
{
    FetchOutcome outcome;
    try {
        http.Action();
        outcome.kind = FetchOutcome::Answer;
        outcome.body = http.Stream();
    } catch (const EProtocolError& e) {
        // Only an answer's error status keeps its number; limits and parse failures do not.
        const bool errorStatus = http.StatusCode >= 400 && http.StatusCode <= 999;
        outcome.kind = errorStatus ? FetchOutcome::ErrorStatus : FetchOutcome::Failed;
        outcome.error = e.what();
    } catch (const std::exception& e) {
        outcome.kind = FetchOutcome::Failed;
        outcome.error = e.what();
    }
    outcome.statusCode = http.StatusCode;
    outcome.statusText = http.StatusText;
    outcome.contentSize = http.ContentSize;
    return outcome;
}

// A client whose fetch another thread can end: the open connection is shut down, which wakes
// a blocked receive at once, and no further connection or request is made. It also publishes
// how much of the body has arrived.
class CancellableHttp : public T_HTTP {
public:
    void OpenSocket(std::uint32_t address, std::uint16_t port) override
    {
        if (cancelled_)
            throw ESocketError("Error creating socket", static_cast<std::uint16_t>(ECANCELED));
        T_HTTP::OpenSocket(address, port);
        std::lock_guard<std::mutex> lock(mutex_);
        fd_ = socket_;
        if (cancelled_ && fd_ != net::kNoSocket)
            ::shutdown(fd_, SHUT_RDWR);
    }
    void Logout() override
    {
        {
            // Forgotten before it is closed, so cancel() never touches a reused descriptor.
            std::lock_guard<std::mutex> lock(mutex_);
            fd_ = net::kNoSocket;
        }
        T_HTTP::Logout();
    }
    void SendCommand(const std::string& text) override
    {
        if (cancelled_)
            throw ESocketError("Error creating socket", static_cast<std::uint16_t>(ECANCELED));
        T_HTTP::SendCommand(text);
    }
    bool AtEof() override
    {
        received_ = Stream().size();
        return cancelled_ || T_HTTP::AtEof();
    }

    void cancel()
    {
        cancelled_ = true;
        std::lock_guard<std::mutex> lock(mutex_);
        if (fd_ != net::kNoSocket)
            ::shutdown(fd_, SHUT_RDWR);
    }
    std::size_t received() const { return received_; }

private:
    std::mutex mutex_;
    int fd_ = net::kNoSocket;
    std::atomic<bool> cancelled_{false};
    std::atomic<std::size_t> received_{0};
};

} // namespace

FetchOutcome BlockingFetchRunner::fetch(const std::string& url, const ConfigureClient& configure,
                                        const FetchProgress&)
{
    T_HTTP http;
    if (configure)
        configure(http);
    http.URL = url;
    return runAction(http);
}

bool BlockingFetchRunner::pause(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return true;
}

struct ThreadedFetchRunner::Job {
    CancellableHttp http;
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
    auto job = std::make_shared<Job>();
    if (configure)
        configure(job->http);
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
            result.kind = FetchOutcome::Cancelled;
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
        // The worker may still be connecting; it is joined once it has ended.
        abandoned_.push_back(job);
    } else {
        job->thread.join();
    }
    host_.waitEnded();
    return result;
}

bool ThreadedFetchRunner::pause(int ms)
{
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
    return !cancelRequested_;
}

void ThreadedFetchRunner::cancel()
{
    if (!waiting_)
        return;
    cancelRequested_ = true;
    if (current_)
        current_->http.cancel();
}

} // namespace kovanta
