#pragma once

#include <optional>
#include <string>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace cli {

struct XlsxWriterLibrary;

// A workbook of one sheet that spreadsheets open without reformatting a
// value: every cell a text cell and every column formatted as text (so
// "0101", "00:00:00" and "00123" stay as they are, also when typed in
// later), the first row a frozen header, columns as wide as their content,
// and the first readOnlyColumns columns greyed as ones an edit cannot change.
// Rows go to the file as they are added; once closed, the file is read back
// to make sure every row reached it.
class TextSheetWriter {
public:
    TextSheetWriter(const std::string& path, std::size_t readOnlyColumns);
    // Closes the workbook if Close was not called.
    ~TextSheetWriter();
    TextSheetWriter(const TextSheetWriter&) = delete;
    TextSheetWriter& operator=(const TextSheetWriter&) = delete;

    // The next row; the first is the header.
    void AddRow(const std::vector<std::string>& cells);
    // Finishes the file; why it could not be written, or nothing.
    std::optional<std::string> Close();

private:
    std::string Failed() const;

    const XlsxWriterLibrary* api_ = nullptr;
    std::string loadFailure_;
    bool closed_ = false;
    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    lxw_format* text_ = nullptr;
    lxw_format* header_ = nullptr;
    lxw_format* readOnly_ = nullptr;
    std::size_t readOnlyColumns_;
    std::string path_;
    std::size_t rows_ = 0;
    std::size_t rowsWithCells_ = 0;  // the rows the sheet holds: one with only empty cells has no element
    std::vector<std::size_t> widths_;
    int error_ = 0;  // the first lxw_error
};

// The rows as such a workbook, at once.
std::optional<std::string> WriteTextSheet(const std::string& path, const std::vector<std::vector<std::string>>& rows,
                                          std::size_t readOnlyColumns);

}  // namespace cli
