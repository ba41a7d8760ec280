#include "cli/SheetThread.h"

#include <system_error>

namespace cli {

SheetThread::SheetThread(const std::string& path, std::size_t readOnlyColumns)
    : path_(path), readOnlyColumns_(readOnlyColumns) {
    try {
        thread_ = std::thread([this] { WriteRows(); });
    } catch (const std::system_error&) {
        here_.emplace(path_, readOnlyColumns_);
    }
}

SheetThread::~SheetThread() { Close(); }

void SheetThread::AddRow(std::vector<std::string> cells) {
    if (here_) {
        here_->AddRow(cells);
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        rows_.push_back(std::move(cells));
    }
    ready_.notify_one();
}

std::optional<std::string> SheetThread::Close() {
    if (here_) {
        result_ = here_->Close();
        here_.reset();
    }
    if (thread_.joinable()) {
        {
            const std::lock_guard lock(mutex_);
            closing_ = true;
        }
        ready_.notify_one();
        thread_.join();
    }
    return result_;
}

void SheetThread::WriteRows() {
    TextSheetWriter writer(path_, readOnlyColumns_);
    std::deque<std::vector<std::string>> batch;
    std::unique_lock lock(mutex_);
    for (;;) {
        ready_.wait(lock, [this] { return closing_ || !rows_.empty(); });
        if (rows_.empty()) break;
        batch.swap(rows_);
        lock.unlock();
        for (const std::vector<std::string>& row : batch) writer.AddRow(row);
        batch.clear();
        lock.lock();
    }
    lock.unlock();
    // Read by Close only after the join.
    result_ = writer.Close();
}

}  // namespace cli
