#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// One record of CSV text and the line it starts on.
struct CsvRecord {
    std::size_t line = 0;
    std::vector<std::string> cells;
    std::vector<bool> numbers;  // which cells a workbook stored as numbers; empty for CSV
};

// The delimiter the header line uses: of comma, semicolon and tab, the one
// it holds most often (a comma when it holds none, as for a single column).
char DelimiterOf(std::string_view text);

// Reads RFC 4180 text record by record: cells quoted or not, quotes doubled
// inside quoted cells, delimiters and line breaks kept inside them, records
// ending in CR LF, LF or CR. The delimiter is a comma unless told otherwise
// (spreadsheets in many locales save semicolons, some tabs).
class CsvReader {
public:
    explicit CsvReader(std::string_view text, char delimiter = ',') : text_(text), delimiter_(delimiter) {}

    // The next record; nothing at the end of the text or at malformed text,
    // which error() then describes.
    std::optional<CsvRecord> Next();
    const std::string& Error() const { return error_; }

private:
    bool QuotedCell(std::string& cell);
    bool PlainCell(std::string& cell);
    bool AtRecordEnd() const;
    std::optional<CsvRecord> Fail(std::string why);

    std::string_view text_;
    char delimiter_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
    std::string error_;
};

}  // namespace cli
