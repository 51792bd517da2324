#include "net/fetchjob.h"

#include <new>
#include <system_error>

namespace kovanta {

FetchOutcome cancelledOutcome(const std::string& url)
{
    FetchOutcome outcome;
    outcome.kind = FetchOutcome::Cancelled;
    outcome.url = url;
    outcome.cause = "abgebrochen";
    return outcome;
}

FetchOutcome runFetch(T_HTTP& http)
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
    if (http.CancelRequested() && !outcome.succeeded())
        return cancelledOutcome(outcome.url);
    outcome.statusCode = http.StatusCode;
    outcome.statusText = http.StatusText;
    outcome.contentSize = http.ContentSize;
    return outcome;
}

FetchJob::FetchJob(const std::string& url, const ConfigureClient& configure, Progress progress,
                   Done done)
{
    if (configure)
        configure(http_);
    http_.URL = url;
    http_.OnBodyProgress = std::move(progress);
    try {
        thread_ = std::thread([this, done] { done(runFetch(http_)); });
    } catch (const std::system_error&) {
        // No thread to spare: a failed fetch, reported like any other.
        FetchOutcome outcome;
        outcome.url = url;
        outcome.cause = "kein Thread f\xFCr den Abruf";
        done(outcome);
    }
}

FetchJob::~FetchJob()
{
    cancel();
    join();
}

void FetchJob::join()
{
    if (thread_.joinable())
        thread_.join();
}

} // namespace kovanta
