#include "cli/XlsxWriter.h"

#include <xlsxwriter.h>

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

std::string Failed(lxw_error error) { return std::string("the workbook could not be written: ") + lxw_strerror(error); }

}  // namespace

std::optional<std::string> WriteTextSheet(const std::string& path, const std::vector<std::vector<std::string>>& rows,
                                          std::size_t readOnlyColumns) {
    lxw_workbook* workbook = workbook_new(path.c_str());
    if (workbook == nullptr) return Failed(LXW_ERROR_CREATING_XLSX_FILE);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "cart");
    lxw_format* text = workbook_add_format(workbook);
    format_set_num_format(text, "@");
    lxw_format* header = workbook_add_format(workbook);
    format_set_num_format(header, "@");
    format_set_bold(header);
    lxw_format* readOnly = workbook_add_format(workbook);
    format_set_num_format(readOnly, "@");
    format_set_bg_color(readOnly, kReadOnlyFill);
    format_set_font_color(readOnly, kReadOnlyText);

    std::vector<std::size_t> widths;
    lxw_error error = LXW_NO_ERROR;
    for (std::size_t r = 0; r < rows.size() && error == LXW_NO_ERROR; ++r) {
        const std::vector<std::string>& row = rows[r];
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t c = 0; c < row.size() && error == LXW_NO_ERROR; ++c) {
            lxw_format* format = r == 0 ? header : c < readOnlyColumns ? readOnly : text;
            error = worksheet_write_string(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c), row[c].c_str(),
                                           format);
            widths[c] = std::max(widths[c], CharactersIn(row[c]));
        }
    }
    for (std::size_t c = 0; c < widths.size() && error == LXW_NO_ERROR; ++c) {
        const double width = std::clamp(static_cast<double>(widths[c]) + 2, kMinWidth, kMaxWidth);
        const auto column = static_cast<lxw_col_t>(c);
        error = worksheet_set_column(sheet, column, column, width, c < readOnlyColumns ? readOnly : text);
    }
    worksheet_freeze_panes(sheet, 1, 0);
    // The workbook is freed by closing it, also when a write failed.
    const lxw_error closed = workbook_close(workbook);
    if (error != LXW_NO_ERROR) return Failed(error);
    if (closed != LXW_NO_ERROR) return Failed(closed);
    return std::nullopt;
}

}  // namespace cli
