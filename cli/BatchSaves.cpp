#include "cli/BatchSaves.h"

#include <sys/resource.h>

#include <algorithm>
#include <system_error>

#include "cli/ErrorLine.h"

namespace cli {

namespace {

// Enough concurrent syncs to share the disk's flushes; more only add
// context switches (measured with 4, 8, 16 and 32).
constexpr std::size_t kSyncThreads = 16;

// Each file waiting for its sync holds a descriptor: at most 64 wait, and
// never more than a quarter of what the process may open.
std::size_t MaxWaiting() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return 64;
    return static_cast<std::size_t>(std::clamp<rlim_t>(limit.rlim_cur / 4, 1, 64));
}

}  // namespace

BatchSaves::~BatchSaves() {
    AllSaved();
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    work_.notify_all();
    // The jthreads join as they go.
}

void BatchSaves::Say(const std::string& file, std::string text) {
    Add({file, std::move(text), false, true, nullptr, std::nullopt});
}

void BatchSaves::Fail(const std::string& file, std::string text) {
    Add({file, std::move(text), true, true, nullptr, std::nullopt});
}

void BatchSaves::Finish(const std::string& file, std::unique_ptr<LoadedFile> written, std::string fields) {
    Enqueue({file, std::move(fields), false, false, std::move(written), std::nullopt});
}

void BatchSaves::WriteAndFinish(const std::string& file, std::unique_ptr<LoadedFile> loaded, wave::CartWrites writes,
                                std::string fields, std::string openFailure) {
    Enqueue(
        {file, std::move(fields), false, false, std::move(loaded), Reopen{std::move(writes), std::move(openFailure)}});
}

void BatchSaves::Enqueue(Outcome outcome) {
    AddSyncThread();
    if (threads_.empty()) {
        // No thread could be had: save here, as a single save does.
        Sync(outcome);
        outcome.done = true;
        saveFailed_ = saveFailed_ || outcome.error;
        Add(std::move(outcome));
        return;
    }
    std::unique_lock lock(mutex_);
    outcomes_.push_back(std::move(outcome));
    toSync_.push_back(&outcomes_.back());
    ++syncing_;
    work_.notify_one();
    // Past the cap, wait until half of the files waiting are done: the
    // threads then wake this one once per many files, not once per file.
    if (syncing_ > maxWaiting_) synced_.wait(lock, [this] { return syncing_ <= maxWaiting_ / 2; });
    PrintReady(lock);
}

bool BatchSaves::AllSaved() {
    std::unique_lock lock(mutex_);
    synced_.wait(lock, [this] { return syncing_ == 0; });
    PrintReady(lock);
    return !saveFailed_;
}

void BatchSaves::Add(Outcome outcome) {
    std::unique_lock lock(mutex_);
    outcomes_.push_back(std::move(outcome));
    PrintReady(lock);
}

void BatchSaves::PrintReady(std::unique_lock<std::mutex>& lock) {
    while (!outcomes_.empty() && outcomes_.front().done) {
        const Outcome outcome = std::move(outcomes_.front());
        outcomes_.pop_front();
        lock.unlock();
        if (outcome.error) {
            ReportError(console_, outcome.file, outcome.text);
        } else {
            console_.out << outcome.file << ": " << outcome.text << '\n';
        }
        lock.lock();
    }
}

// One more thread while no more run than files wait, up to kSyncThreads: a
// single save costs one thread, a batch soon has them all.
void BatchSaves::AddSyncThread() {
    if (threads_.empty()) maxWaiting_ = MaxWaiting();
    std::size_t waiting = 0;
    {
        const std::lock_guard lock(mutex_);
        waiting = syncing_;
    }
    if (threads_.size() > waiting || threads_.size() >= kSyncThreads) return;
    try {
        threads_.emplace_back([this] { SyncWhileThereIsWork(); });
    } catch (const std::system_error&) {
        // Fewer threads only make the batch slower.
    }
}

void BatchSaves::SyncWhileThereIsWork() {
    std::unique_lock lock(mutex_);
    for (;;) {
        work_.wait(lock, [this] { return stopping_ || !toSync_.empty(); });
        if (toSync_.empty()) return;
        Outcome& outcome = *toSync_.front();
        toSync_.pop_front();
        lock.unlock();
        Sync(outcome);
        lock.lock();
        outcome.done = true;
        saveFailed_ = saveFailed_ || outcome.error;
        --syncing_;
        if (syncing_ == maxWaiting_ / 2 || syncing_ == 0) synced_.notify_all();
    }
}

void BatchSaves::Sync(Outcome& outcome) {
    wave::WaveDocument& document = outcome.loaded->document;
    wave::SaveResult saved;
    if (outcome.reopen) {
        // The saver checks, under its lock, that the file reopened is the
        // one the load read (its device and inode, not only its name) and
        // that its cart bytes are still those loaded.
        saved = document.file.Open(outcome.file, wave::WaveStream::Mode::ReadWrite)
                    ? document.WriteCart(outcome.reopen->writes)
                    : wave::SaveResult{false, outcome.reopen->openFailure, std::nullopt};
    }
    if (saved.ok) saved = document.FinishSave();
    // The descriptor goes back now; the memory goes when the outcome is
    // printed, on the thread that allocated most of it.
    document.file.Close();
    if (saved.ok) {
        outcome.text = "saved " + outcome.text;
    } else {
        outcome.text = saved.error;
        outcome.error = true;
    }
}

}  // namespace cli
