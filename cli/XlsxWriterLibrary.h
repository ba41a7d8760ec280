#pragma once

#include <xlsxwriter.h>

#include <string>

namespace cli {

// libxlsxwriter, loaded when a workbook is written rather than at every
// start: it brings libcrypto, whose loading alone would add a quarter to
// the time of a `show` that writes no workbook.
struct XlsxWriterLibrary {
    decltype(&workbook_new_opt) newWorkbook;
    decltype(&workbook_add_worksheet) addWorksheet;
    decltype(&workbook_add_format) addFormat;
    decltype(&workbook_close) close;
    decltype(&format_set_num_format) setNumberFormat;
    decltype(&format_set_bold) setBold;
    decltype(&format_set_bg_color) setFill;
    decltype(&format_set_font_color) setFontColor;
    decltype(&worksheet_write_string) writeString;
    decltype(&worksheet_set_column) setColumn;
    decltype(&worksheet_freeze_panes) freezePanes;
    decltype(&lxw_strerror) describe;
};

// The library's functions, loaded once; nullptr, with the reason in `why`,
// when it or one of them cannot be found.
const XlsxWriterLibrary* LoadXlsxWriter(std::string& why);

}  // namespace cli
