#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/XlsxWriter.h"

namespace cli {

// A TextSheetWriter fed from another thread: the workbook is built (and its
// library loaded) while the next files are read, instead of after them.
// Where no thread can be had, rows are written as they come.
class SheetThread {
public:
    SheetThread(const std::string& path, std::size_t readOnlyColumns);
    ~SheetThread();
    SheetThread(const SheetThread&) = delete;
    SheetThread& operator=(const SheetThread&) = delete;

    void AddRow(std::vector<std::string> cells);
    // Waits for every row and finishes the file; why it could not be
    // written, or nothing.
    std::optional<std::string> Close();

private:
    void WriteRows();

    std::string path_;
    std::size_t readOnlyColumns_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::vector<std::string>> rows_;
    bool closing_ = false;
    std::optional<TextSheetWriter> here_;  // when there is no thread
    std::optional<std::string> result_;
    std::thread thread_;
};

}  // namespace cli
