#pragma once

#include "app/searchpaths.h"
#include "recipe/records.h"

#include <QFutureWatcher>
#include <QObject>
#include <QThreadPool>

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class QTimer;

namespace kovanta {

class RecipeListModel;
class TRezeptImportProz;

// Reads all recipes into the recipe list on a worker thread (docs/main-window.md): the old
// entries go when a read starts, the scan (app/recipescan.h) runs on a copy of the search
// paths, and the new entries are handed to the list in one batch on this thread. A reload asked
// for while a read runs is kept; however often it was asked for, one read runs after the
// current one, on the search paths as they are then.
//
// The reads run on one worker thread that stays for the reader's life: a read allocates where
// the previous one freed (a thread keeps its heap arena), so the memory of the program does not
// grow from read to read.
//
// proz, paths and list must outlive the reader. Destroying the reader during a read stops the
// worker after its current file and waits for it.
class RecipeReader : public QObject {
    Q_OBJECT
public:
    // programDirectory: the program file's directory, searched first while it is not listed.
    RecipeReader(const TRezeptImportProz& proz, std::string programDirectory,
                 const SearchPathList& paths, RecipeListModel& list, QObject* parent = nullptr);
    ~RecipeReader() override;

    // Starts reading, or asks for one more read after the running one.
    void reload();
    // True from the start of a read until its entries are in the list.
    bool reading() const { return reading_; }

signals:
    // A read began: the list is empty now.
    void started();
    // Every 100 ms while a read runs: the entries read so far.
    void progress(std::size_t entries);
    // The entries of a read are in the list.
    void finished();

private:
    using Result = std::shared_ptr<std::vector<std::unique_ptr<TImpListInfo>>>;
    void start();
    void takeOver();

    const TRezeptImportProz& proz_;
    std::string programDirectory_;
    const SearchPathList& paths_;
    RecipeListModel& list_;
    // Progress and the stop request, shared with the worker so that they outlive the reader's
    // part in them.
    std::shared_ptr<std::atomic<std::size_t>> count_;
    std::shared_ptr<std::atomic<bool>> stop_;
    QThreadPool worker_;
    QFutureWatcher<Result> watcher_;
    QTimer* progressTimer_ = nullptr;
    bool reading_ = false;
    bool again_ = false;
};

} // namespace kovanta
