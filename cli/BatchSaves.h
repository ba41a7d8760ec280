#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/Console.h"
#include "cli/LoadedFile.h"

namespace cli {

// The outcomes of one run's files, printed in the order they were given,
// where a save is reported only once its file is on disk. Saves are finished
// (and for `apply` also written) by a few threads while the next files are
// read: syncing each file in turn would spend most of a batch waiting for the
// disk, and concurrent syncs share its flushes and journal commits. Each file
// is still synced on its own, so a failure is reported for the file it
// struck, on any file system.
class BatchSaves {
public:
    explicit BatchSaves(Console& console) : console_(console) {}
    // Waits for every sync still running.
    ~BatchSaves();
    BatchSaves(const BatchSaves&) = delete;
    BatchSaves& operator=(const BatchSaves&) = delete;

    // "FILE: TEXT" on the console's output.
    void Say(const std::string& file, std::string text);
    // An error line for the file on the console's error stream.
    void Fail(const std::string& file, std::string text);
    // A file whose cart data WriteCart has written: "FILE: saved FIELDS"
    // once FinishSave has synced it, or the reason it could not.
    void Finish(const std::string& file, std::unique_ptr<LoadedFile> written, std::string fields);
    // A file loaded read-only: a sync thread opens it for writing, writes
    // and syncs it, so that the next rows are read meanwhile. openFailure is
    // the message when it cannot be opened for writing.
    void WriteAndFinish(const std::string& file, std::unique_ptr<LoadedFile> loaded, wave::CartWrites writes,
                        std::string fields, std::string openFailure);

    // Waits for every sync and prints the outcomes left. False when a sync
    // failed.
    bool AllSaved();

private:
    // What a sync thread still has to write before it syncs.
    struct Reopen {
        wave::CartWrites writes;
        std::string openFailure;
    };

    struct Outcome {
        std::string file;
        std::string text;
        bool error = false;
        bool done = true;
        std::unique_ptr<LoadedFile> loaded;  // until synced
        std::optional<Reopen> reopen;
    };

    void Add(Outcome outcome);
    void Enqueue(Outcome outcome);
    void PrintReady(std::unique_lock<std::mutex>& lock);
    void AddSyncThread();
    void SyncWhileThereIsWork();
    static void Sync(Outcome& outcome);

    Console& console_;
    std::mutex mutex_;
    std::condition_variable work_;
    std::condition_variable synced_;
    // Element addresses stay put at both ends, so the threads can hold them.
    std::deque<Outcome> outcomes_;
    std::deque<Outcome*> toSync_;
    std::size_t syncing_ = 0;
    std::size_t maxWaiting_ = 1;
    bool stopping_ = false;
    bool saveFailed_ = false;
    std::vector<std::jthread> threads_;
};

}  // namespace cli
