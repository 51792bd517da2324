#include "webimport/linkdownload.h"

namespace kovanta {

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

LinkDownload::LinkDownload(FetchRunner& runner, std::string url, ConfigureClient base,
                           int retryDelayMs, Hooks hooks)
    : runner_(runner), url_(std::move(url)), budget_(std::move(base)),
      retryDelayMs_(retryDelayMs), hooks_(std::move(hooks))
{
    startAttempt();
}

void LinkDownload::startAttempt()
{
    ++attempt_;
    runner_.fetch(url_, budget_.configure(), hooks_.progress,
                  [this](FetchOutcome outcome) { attemptEnded(std::move(outcome)); });
}

void LinkDownload::attemptEnded(FetchOutcome outcome)
{
    if (hooks_.attemptEnded)
        hooks_.attemptEnded();
    // A body shorter than its announced length is a broken transfer, not a page.
    if (outcome.kind == FetchOutcome::Answer && outcome.contentSize > 0 &&
        outcome.body.size() < static_cast<std::size_t>(outcome.contentSize)) {
        outcome.kind = FetchOutcome::Failed;
        outcome.cause = "Verbindung vor Ende der Daten abgebrochen (" +
                        std::to_string(outcome.body.size()) + " von " +
                        std::to_string(outcome.contentSize) + " Bytes)";
    }
    // An error status is the server's answer; asking again would bring the same. A spent
    // budget could not even look the host up again.
    const bool again = !outcome.succeeded() && outcome.kind != FetchOutcome::ErrorStatus &&
                       outcome.kind != FetchOutcome::Cancelled && attempt_ < kMaxAttempts &&
                       !budget_.spent();
    if (!again) {
        // The cause a user reads: the client's own message or the answer's status when the
        // client gave none.
        if (!outcome.succeeded() && outcome.cause.empty())
            outcome.cause = !outcome.error.empty()
                                ? outcome.error
                                : UnsuccessfulAnswerText(outcome.statusCode, outcome.statusText);
        hooks_.done(std::move(outcome));
        return;
    }
    runner_.pause(retryDelayMs_, [this](bool completed) {
        if (completed)
            startAttempt();
        else
            hooks_.done(cancelledOutcome(url_));
    });
}

} // namespace kovanta
