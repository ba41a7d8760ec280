#include "cli/CsvReader.h"

#include <algorithm>
#include <array>

namespace cli {

char DelimiterOf(std::string_view text) {
    const std::string_view header = text.substr(0, text.find_first_of("\r\n"));
    char best = ',';
    std::size_t most = 0;
    for (const char delimiter : std::array{',', ';', '\t'}) {
        const auto count = static_cast<std::size_t>(std::count(header.begin(), header.end(), delimiter));
        if (count > most) {
            best = delimiter;
            most = count;
        }
    }
    return best;
}

bool CsvReader::AtRecordEnd() const { return pos_ == text_.size() || text_[pos_] == '\r' || text_[pos_] == '\n'; }

std::optional<CsvRecord> CsvReader::Fail(std::string why) {
    error_ = "line " + std::to_string(line_) + ": " + std::move(why);
    return std::nullopt;
}

bool CsvReader::QuotedCell(std::string& cell) {
    ++pos_;  // the opening quote
    while (pos_ < text_.size()) {
        const char c = text_[pos_++];
        if (c == '"') {
            if (pos_ == text_.size() || text_[pos_] != '"') return true;
            ++pos_;  // a doubled quote stands for one
        }
        if (c == '\n') ++line_;
        cell += c;
    }
    return false;
}

bool CsvReader::PlainCell(std::string& cell) {
    while (!AtRecordEnd() && text_[pos_] != delimiter_) {
        if (text_[pos_] == '"') return false;
        cell += text_[pos_++];
    }
    return true;
}

std::optional<CsvRecord> CsvReader::Next() {
    if (pos_ >= text_.size() || !error_.empty()) return std::nullopt;
    CsvRecord record{line_, {}, {}};
    while (true) {
        std::string cell;
        if (pos_ < text_.size() && text_[pos_] == '"') {
            const std::size_t opened = line_;
            if (!QuotedCell(cell)) {
                line_ = opened;
                return Fail("a quoted cell is not closed");
            }
            if (!AtRecordEnd() && text_[pos_] != delimiter_) return Fail("text follows the closing quote of a cell");
        } else if (!PlainCell(cell)) {
            return Fail("a quote inside a cell that does not start with one");
        }
        record.cells.push_back(std::move(cell));
        if (pos_ < text_.size() && text_[pos_] == delimiter_) {
            ++pos_;
            continue;
        }
        if (pos_ < text_.size() && text_[pos_++] == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
        ++line_;
        return record;
    }
}

}  // namespace cli
