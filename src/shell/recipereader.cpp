#include "recipereader.h"

#include "app/recipescan.h"
#include "views/recipelistmodel.h"

#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <utility>

namespace kovanta {

RecipeReader::RecipeReader(const TRezeptImportProz& proz, std::string programDirectory,
                           const SearchPathList& paths, RecipeListModel& list, QObject* parent)
    : QObject(parent), proz_(proz), programDirectory_(std::move(programDirectory)), paths_(paths),
      list_(list), count_(std::make_shared<std::atomic<std::size_t>>(0)),
      stop_(std::make_shared<std::atomic<bool>>(false))
{
    worker_.setMaxThreadCount(1);
    worker_.setExpiryTimeout(-1);
    connect(&watcher_, &QFutureWatcherBase::finished, this, &RecipeReader::takeOver);
    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(100);
    connect(progressTimer_, &QTimer::timeout, this,
            [this] { emit progress(count_->load(std::memory_order_relaxed)); });
}

RecipeReader::~RecipeReader()
{
    // The worker reads with the processor, which may go right after the reader.
    stop_->store(true);
    watcher_.disconnect(this);
    watcher_.waitForFinished();
}

void RecipeReader::reload()
{
    // A reload asked for during a read runs once after it; it must not free the entries the
    // running read hands over.
    if (reading_) {
        again_ = true;
        return;
    }
    start();
}

void RecipeReader::start()
{
    reading_ = true;
    list_.clear();
    count_->store(0);
    emit started();
    emit progress(0);
    progressTimer_->start();
    watcher_.setFuture(QtConcurrent::run(
        &worker_, [proz = &proz_, programDir = programDirectory_, paths = paths_,
                   count = count_, stop = stop_]() -> Result {
            RecipeScan scan(*proz, programDir);
            scan.setStopFlag(stop.get());
            return std::make_shared<RecipeScan::Entries>(scan.readAll(
                paths, [&count](std::size_t n) { count->store(n, std::memory_order_relaxed); }));
        }));
}

void RecipeReader::takeOver()
{
    progressTimer_->stop();
    reading_ = false;
    list_.setEntries(std::move(*watcher_.result()));
    emit finished();
    if (again_) {
        again_ = false;
        start();
    }
}

} // namespace kovanta
