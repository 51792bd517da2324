#pragma once

#include "webimport/fetchrunner.h"

#include <QObject>
#include <QTimer>

#include <memory>

Q_DECLARE_METATYPE(kovanta::FetchOutcome)

namespace kovanta {

// The import window's FetchRunner: each fetch runs on a worker thread of its own (FetchJob),
// which reports the body bytes received and the outcome as queued signals; the answers reach
// the import from the window's event loop, which meanwhile goes on as usual. A pause is a
// timer. cancel() ends either at once.
class QtFetchRunner : public QObject, public FetchRunner {
    Q_OBJECT
public:
    explicit QtFetchRunner(QObject* parent = nullptr);
    ~QtFetchRunner() override;

    void cancel() override;
    // A fetch or a pause is running.
    bool running() const { return job_ || pauseDone_; }

signals:
    // A fetch or pause began (true) or ended (false): the window shows "Abbrechen" meanwhile.
    void runningChanged(bool running);
    // From the worker thread, queued to this object's thread.
    void jobProgressed(quint64 job, quint64 bytes);
    void jobFinished(quint64 job, kovanta::FetchOutcome outcome);

protected:
    void startFetch(const std::string& url, const ConfigureClient& configure,
                    const FetchProgress& progress, FetchDone done) override;
    void startPause(int ms, PauseDone done) override;
    void post(std::function<void()> call) override;

private:
    void onProgressed(quint64 job, quint64 bytes);
    void onFinished(quint64 job, const FetchOutcome& outcome);
    void pauseEnded(bool completed);

    quint64 jobNumber_ = 0;
    bool cancelled_ = false;
    std::unique_ptr<FetchJob> job_;
    FetchProgress progress_;
    FetchDone done_;
    QTimer pauseTimer_;
    PauseDone pauseDone_;
};

} // namespace kovanta
