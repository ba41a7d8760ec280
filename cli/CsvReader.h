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
};

// Reads RFC 4180 text record by record: cells quoted or not, quotes doubled
// inside quoted cells, commas and line breaks kept inside them, records
// ending in CR LF, LF or CR.
class CsvReader {
public:
    explicit CsvReader(std::string_view text) : text_(text) {}

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
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
    std::string error_;
};

}  // namespace cli
