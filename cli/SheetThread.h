#pragma once

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/XlsxWriter.h"

namespace cli {

// A TextSheetWriter fed from another thread: the workbook is built (and its
// library loaded) while the next files are read, instead of after them.
// Rows are handed over in batches: a hand-over per row would wake the
// thread for every file, which costs more than writing the row. A batch is
// the rows' texts in one buffer, each side reusing its own: while the
// thread loads its library the rows pile up, and as separate strings they
// would take new memory for each file. Where no thread can be had, rows are
// written as they come.
class SheetThread {
public:
    SheetThread(const std::string& path, std::size_t readOnlyColumns);
    ~SheetThread();
    SheetThread(const SheetThread&) = delete;
    SheetThread& operator=(const SheetThread&) = delete;

    void AddRow(const std::vector<std::string>& cells);
    // Waits for every row and finishes the file; why it could not be
    // written, or nothing.
    std::optional<std::string> Close();

private:
    void WriteRows();
    void HandOver(bool last);

    std::string path_;
    std::size_t readOnlyColumns_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::string pending_;  // gathered here until a batch is full
    std::size_t pendingRows_ = 0;
    std::string handed_;  // waiting for the thread
    bool closing_ = false;
    std::optional<TextSheetWriter> here_;  // when there is no thread
    std::optional<std::string> result_;
    std::thread thread_;
};

}  // namespace cli
