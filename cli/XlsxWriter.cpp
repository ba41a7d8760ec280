#include "cli/XlsxWriter.h"

#include "cli/WrittenWorkbook.h"
#include "cli/XlsxWriterLibrary.h"

#include <algorithm>

namespace cli {

namespace {

constexpr double kMinWidth = 6;
constexpr double kMaxWidth = 60;
constexpr lxw_color_t kReadOnlyFill = 0xE7E6E6;
constexpr lxw_color_t kReadOnlyText = 0x595959;

std::size_t CharactersIn(const std::string& text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

constexpr const char* kCannot = "the workbook could not be written: ";

lxw_format* TextFormat(const XlsxWriterLibrary& api, lxw_workbook* workbook) {
    lxw_format* format = api.addFormat(workbook);
    api.setNumberFormat(format, "@");
    return format;
}

}  // namespace

TextSheetWriter::TextSheetWriter(const std::string& path, std::size_t readOnlyColumns)
    : readOnlyColumns_(readOnlyColumns), path_(path) {
    // Rows go straight to the file, their strings inline: a shared-string
    // table and a cell object per value would cost more time than the rest
    // of the export.
    api_ = LoadXlsxWriter(loadFailure_);
    if (api_ == nullptr) return;
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    workbook_ = api_->newWorkbook(path.c_str(), &options);
    if (workbook_ == nullptr) {
        error_ = LXW_ERROR_CREATING_XLSX_FILE;
        return;
    }
    sheet_ = api_->addWorksheet(workbook_, "cart");
    text_ = TextFormat(*api_, workbook_);
    header_ = TextFormat(*api_, workbook_);
    api_->setBold(header_);
    readOnly_ = TextFormat(*api_, workbook_);
    api_->setFill(readOnly_, kReadOnlyFill);
    api_->setFontColor(readOnly_, kReadOnlyText);
    api_->freezePanes(sheet_, 1, 0);
}

TextSheetWriter::~TextSheetWriter() { Close(); }

void TextSheetWriter::AddRow(const std::vector<std::string>& cells) {
    if (workbook_ == nullptr || error_ != LXW_NO_ERROR) return;
    widths_.resize(std::max(widths_.size(), cells.size()));
    if (std::any_of(cells.begin(), cells.end(), [](const std::string& cell) { return !cell.empty(); }))
        ++rowsWithCells_;
    for (std::size_t c = 0; c < cells.size() && error_ == LXW_NO_ERROR; ++c) {
        // An empty cell takes its column's text format; leaving it out keeps
        // the sheet smaller and faster to write.
        if (cells[c].empty()) continue;
        lxw_format* format = rows_ == 0 ? header_ : c < readOnlyColumns_ ? readOnly_ : text_;
        error_ = api_->writeString(sheet_, static_cast<lxw_row_t>(rows_), static_cast<lxw_col_t>(c), cells[c].c_str(),
                                   format);
        widths_[c] = std::max(widths_[c], CharactersIn(cells[c]));
    }
    ++rows_;
}

std::string TextSheetWriter::Failed() const {
    return kCannot + (api_ == nullptr ? loadFailure_ : std::string(api_->describe(static_cast<lxw_error>(error_))));
}

std::optional<std::string> TextSheetWriter::Close() {
    if (closed_) return std::nullopt;
    closed_ = true;
    if (workbook_ == nullptr) return Failed();
    for (std::size_t c = 0; c < widths_.size() && error_ == LXW_NO_ERROR; ++c) {
        const double width = std::clamp(static_cast<double>(widths_[c]) + 2, kMinWidth, kMaxWidth);
        const auto column = static_cast<lxw_col_t>(c);
        error_ = api_->setColumn(sheet_, column, column, width, c < readOnlyColumns_ ? readOnly_ : text_);
    }
    // Closing frees the workbook, also after a failed write.
    const lxw_error closed = api_->close(workbook_);
    workbook_ = nullptr;
    if (error_ == LXW_NO_ERROR) error_ = closed;
    if (error_ != LXW_NO_ERROR) return Failed();
    if (const std::optional<std::string> problem = WorkbookProblem(path_, rowsWithCells_)) return kCannot + *problem;
    return std::nullopt;
}

std::optional<std::string> WriteTextSheet(const std::string& path, const std::vector<std::vector<std::string>>& rows,
                                          std::size_t readOnlyColumns) {
    TextSheetWriter writer(path, readOnlyColumns);
    for (const std::vector<std::string>& row : rows) writer.AddRow(row);
    return writer.Close();
}

}  // namespace cli
