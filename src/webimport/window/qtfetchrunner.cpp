#include "qtfetchrunner.h"

namespace kovanta {

QtFetchRunner::QtFetchRunner(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<kovanta::FetchOutcome>();
    connect(this, &QtFetchRunner::jobProgressed, this, &QtFetchRunner::onProgressed,
            Qt::QueuedConnection);
    connect(this, &QtFetchRunner::jobFinished, this, &QtFetchRunner::onFinished,
            Qt::QueuedConnection);
    pauseTimer_.setSingleShot(true);
    connect(&pauseTimer_, &QTimer::timeout, this, [this] { pauseEnded(true); });
}

QtFetchRunner::~QtFetchRunner()
{
    // A cancelled client gives up every wait at once: the worker ends promptly, and its last
    // signal goes nowhere.
    job_.reset();
}

void QtFetchRunner::startFetch(const std::string& url, const ConfigureClient& configure,
                               const FetchProgress& progress, FetchDone done)
{
    const quint64 number = ++jobNumber_;
    cancelled_ = false;
    progress_ = progress;
    done_ = std::move(done);
    job_ = std::make_unique<FetchJob>(
        url, configure,
        [this, number](std::size_t bytes) { emit jobProgressed(number, bytes); },
        [this, number](FetchOutcome outcome) { emit jobFinished(number, std::move(outcome)); });
    emit runningChanged(true);
}

void QtFetchRunner::onProgressed(quint64 job, quint64 bytes)
{
    if (job == jobNumber_ && job_ && progress_)
        progress_(static_cast<std::size_t>(bytes));
}

void QtFetchRunner::onFinished(quint64 job, const FetchOutcome& outcome)
{
    if (job != jobNumber_ || !job_)
        return;
    // The outcome was the worker's last act: the thread is ending and is joined here, before
    // the import goes on, perhaps with the next fetch.
    job_->join();
    job_.reset();
    progress_ = {};
    const FetchDone done = std::move(done_);
    done_ = {};
    emit runningChanged(false);
    // Cancelled just as it ended: the user's word counts.
    done(cancelled_ && outcome.kind != FetchOutcome::Cancelled ? cancelledOutcome(outcome.url)
                                                               : outcome);
}

void QtFetchRunner::startPause(int ms, PauseDone done)
{
    pauseDone_ = std::move(done);
    pauseTimer_.start(ms);
    emit runningChanged(true);
}

void QtFetchRunner::pauseEnded(bool completed)
{
    if (!pauseDone_)
        return;
    pauseTimer_.stop();
    const PauseDone done = std::move(pauseDone_);
    pauseDone_ = {};
    emit runningChanged(false);
    done(completed);
}

void QtFetchRunner::post(std::function<void()> call)
{
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

void QtFetchRunner::cancel()
{
    // The fetch answers Cancelled through its signal, at once; the pause through the queue, so
    // the import never goes on inside the caller of cancel().
    if (job_) {
        cancelled_ = true;
        job_->cancel();
    }
    if (pauseDone_ && pauseTimer_.isActive()) {
        pauseTimer_.stop();
        QMetaObject::invokeMethod(this, [this] { pauseEnded(false); }, Qt::QueuedConnection);
    }
}

} // namespace kovanta
