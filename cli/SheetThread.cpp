#include "cli/SheetThread.h"

#include <cstring>
#include <system_error>

namespace cli {

namespace {

constexpr std::size_t kBatchRows = 64;

// A row in a batch: its number of cells, then each cell's length and text.
void PutSize(std::string& batch, std::size_t size) { batch.append(reinterpret_cast<const char*>(&size), sizeof size); }

std::size_t TakeSize(const std::string& batch, std::size_t& at) {
    std::size_t size = 0;
    std::memcpy(&size, batch.data() + at, sizeof size);
    at += sizeof size;
    return size;
}

void PutRow(std::string& batch, const std::vector<std::string>& cells) {
    PutSize(batch, cells.size());
    for (const std::string& cell : cells) {
        PutSize(batch, cell.size());
        batch += cell;
    }
}

// The row at `at` into `cells`, whose strings keep their memory.
void TakeRow(const std::string& batch, std::size_t& at, std::vector<std::string>& cells) {
    cells.resize(TakeSize(batch, at));
    for (std::string& cell : cells) {
        const std::size_t size = TakeSize(batch, at);
        cell.assign(batch, at, size);
        at += size;
    }
}

}  // namespace

SheetThread::SheetThread(const std::string& path, std::size_t readOnlyColumns)
    : path_(path), readOnlyColumns_(readOnlyColumns) {
    try {
        thread_ = std::thread([this] { WriteRows(); });
    } catch (const std::system_error&) {
        here_.emplace(path_, readOnlyColumns_);
    }
}

SheetThread::~SheetThread() { Close(); }

void SheetThread::AddRow(const std::vector<std::string>& cells) {
    if (here_) {
        here_->AddRow(cells);
        return;
    }
    PutRow(pending_, cells);
    if (++pendingRows_ >= kBatchRows) HandOver(false);
}

void SheetThread::HandOver(bool last) {
    {
        const std::lock_guard lock(mutex_);
        if (handed_.empty()) {
            handed_.swap(pending_);
        } else {
            handed_ += pending_;
        }
        closing_ = last;
    }
    pending_.clear();
    pendingRows_ = 0;
    ready_.notify_one();
}

std::optional<std::string> SheetThread::Close() {
    if (here_) {
        result_ = here_->Close();
        here_.reset();
    }
    if (thread_.joinable()) {
        HandOver(true);
        thread_.join();
    }
    return result_;
}

void SheetThread::WriteRows() {
    TextSheetWriter writer(path_, readOnlyColumns_);
    std::string batch;
    std::vector<std::string> row;
    std::unique_lock lock(mutex_);
    for (;;) {
        ready_.wait(lock, [this] { return closing_ || !handed_.empty(); });
        if (handed_.empty()) break;
        batch.swap(handed_);
        lock.unlock();
        for (std::size_t at = 0; at < batch.size();) {
            TakeRow(batch, at, row);
            writer.AddRow(row);
        }
        batch.clear();
        lock.lock();
    }
    lock.unlock();
    // Read by Close only after the join.
    result_ = writer.Close();
}

}  // namespace cli
