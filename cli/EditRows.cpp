#include "cli/EditRows.h"

#include <rapidjson/document.h>
#include <rapidjson/error/en.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <set>

#include "wave/PostTimerLines.h"

namespace cli {

namespace {

constexpr std::string_view kFileKey = "file";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::array<std::string_view, 3> kFixedKeys = {"offset", "size", "postTimerLines"};

const CartColumn* ColumnNamed(std::string_view name) {
    for (const CartColumn& column : CartColumns()) {
        if (column.name == name) return &column;
    }
    return nullptr;
}

std::string JoinedLines(const std::vector<std::string>& lines) {
    std::string joined;
    for (const std::string& line : lines) joined += line + '\n';
    return joined;
}

EditRow Refused(std::size_t line, std::string error, std::string file = {}) {
    EditRow row;
    row.line = line;
    row.file = std::move(file);
    row.error = std::move(error);
    return row;
}

// A JSON value for a key nothing writes, in FixedValueOf's form; nothing
// when its type cannot be one.
std::optional<std::string> FixedText(std::string_view key, const rapidjson::Value& value) {
    if (key == "postTimerLines") {
        if (!value.IsArray()) return std::nullopt;
        std::vector<std::string> lines;
        for (const rapidjson::Value& line : value.GetArray()) {
            if (!line.IsString()) return std::nullopt;
            lines.emplace_back(line.GetString(), line.GetStringLength());
        }
        return JoinedLines(lines);
    }
    if (value.IsInt64()) return std::to_string(value.GetInt64());
    if (value.IsUint64()) return std::to_string(value.GetUint64());
    return std::nullopt;
}

// The post timers' array: each object becomes its timer's value (an empty
// usage code clears it), each null leaves its timer.
std::string TimerCells(const rapidjson::Value& timers, std::vector<CellEdit>& cells) {
    if (!timers.IsArray() || timers.Size() > wave::cart::kPostTimerCount) {
        return "column postTimers: not an array of at most 8 timers";
    }
    for (rapidjson::SizeType k = 0; k < timers.Size(); ++k) {
        const rapidjson::Value& timer = timers[k];
        if (timer.IsNull()) continue;
        const CartColumn* column = ColumnNamed("timer" + std::to_string(k + 1));
        const auto usage = timer.IsObject() ? timer.FindMember("usage") : rapidjson::Value::ConstMemberIterator();
        const auto value = timer.IsObject() ? timer.FindMember("value") : rapidjson::Value::ConstMemberIterator();
        if (!timer.IsObject() || usage == timer.MemberEnd() || !usage->value.IsString() || value == timer.MemberEnd() ||
            !value->value.IsUint()) {
            return "column " + column->name +
                   ": a timer is an object with a \"usage\" text and a \"value\" from 0 to 4294967295";
        }
        cells.push_back(
            {column, TimerValue{k + 1, std::string(usage->value.GetString(), usage->value.GetStringLength()),
                                value->value.GetUint()}});
    }
    return {};
}

// A name the object gives twice: the row would say two things of one field
// (or file), and which of them counts would be a guess.
std::optional<std::string> NamedTwice(const rapidjson::Value& object, std::initializer_list<std::string_view> names) {
    std::set<std::string_view> seen;
    for (const auto& member : object.GetObject()) {
        const std::string_view name(member.name.GetString(), member.name.GetStringLength());
        const bool checked = names.size() == 0 || std::find(names.begin(), names.end(), name) != names.end();
        if (checked && !seen.insert(name).second) return "column " + std::string(name) + ": given twice";
    }
    return std::nullopt;
}

std::string CartCells(const rapidjson::Value& cart, EditRow& row) {
    if (std::optional<std::string> twice = NamedTwice(cart, {})) return *twice;
    for (const auto& member : cart.GetObject()) {
        const std::string_view key(member.name.GetString(), member.name.GetStringLength());
        const rapidjson::Value& value = member.value;
        if (std::find(kFixedKeys.begin(), kFixedKeys.end(), key) != kFixedKeys.end()) {
            const std::optional<std::string> text = FixedText(key, value);
            if (!text) return "column " + std::string(key) + ": not the form show --json prints";
            row.fixed.push_back({std::string(key), *text});
            continue;
        }
        if (value.IsNull()) continue;
        if (key == wave::RowOf(wave::CartField::Timers).key) {
            if (std::string error = TimerCells(value, row.cells); !error.empty()) return error;
            continue;
        }
        const CartColumn* column = ColumnNamed(key);
        if (column == nullptr) return "column " + std::string(key) + ": no such cart field";
        if (column->row->kind == wave::FieldKind::Number && (value.IsInt64() || value.IsUint64())) {
            row.cells.push_back(
                {column, value.IsInt64() ? std::to_string(value.GetInt64()) : std::to_string(value.GetUint64())});
        } else if (value.IsString()) {
            row.cells.push_back({column, std::string(value.GetString(), value.GetStringLength())});
        } else {
            return "column " + std::string(key) + ": not " +
                   (column->row->kind == wave::FieldKind::Number ? "a whole number" : "text");
        }
    }
    return {};
}

}  // namespace

std::string FixedValueOf(std::string_view key, const LoadedFile& loaded, const wave::CartValues& cart) {
    const bool inFile = loaded.Ok();
    if (key == "offset") return inFile ? std::to_string(loaded.document.loaded.cartPos) : "";
    if (key == "size") return inFile ? std::to_string(loaded.document.loaded.cartSize) : "";
    return JoinedLines(wave::PostTimerLines(cart.Timers(), loaded.SampleRate()));
}

EditReader::EditReader(std::string_view text) : text_(text) {
    // Spreadsheets often start their UTF-8 with a byte order mark.
    if (text_.starts_with(kByteOrderMark)) text_.remove_prefix(kByteOrderMark.size());
    const std::size_t first = text_.find_first_not_of(" \t\r\n");
    json_ = first != std::string_view::npos && text_[first] == '{';
    if (json_) return;
    csv_.emplace(text_);
    const std::optional<CsvRecord> header = csv_->Next();
    if (!header) {
        headerError_ = csv_->Error().empty() ? "line 1: no header row" : csv_->Error();
        return;
    }
    bool hasFile = false;
    std::set<std::string_view> seen;
    for (const std::string& name : header->cells) {
        const bool file = name == kFileKey;
        const CartColumn* column = file ? nullptr : ColumnNamed(name);
        if (!file && column == nullptr) headerError_ = "line 1: column " + name + ": no such cart field";
        if (!seen.insert(name).second) headerError_ = "line 1: column " + name + ": given twice";
        hasFile = hasFile || file;
        header_.push_back(column);
    }
    if (!hasFile && headerError_.empty()) headerError_ = "line 1: no file column";
}

std::optional<EditRow> EditReader::NextJson() {
    while (pos_ < text_.size()) {
        const std::size_t end = std::min(text_.find('\n', pos_), text_.size());
        const std::string_view line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        ++line_;
        if (line.find_first_not_of(" \t\r") == std::string_view::npos) continue;
        rapidjson::Document doc;
        doc.Parse(line.data(), line.size());
        const std::string at = "line " + std::to_string(line_) + ": ";
        if (doc.HasParseError()) {
            return Refused(line_, at + "not JSON (" + rapidjson::GetParseError_En(doc.GetParseError()) + ")");
        }
        const auto file = doc.IsObject() ? doc.FindMember("file") : rapidjson::Value::ConstMemberIterator();
        if (!doc.IsObject() || file == doc.MemberEnd() || !file->value.IsString()) {
            return Refused(line_, at + "not an object naming its \"file\"");
        }
        EditRow row;
        row.line = line_;
        row.file.assign(file->value.GetString(), file->value.GetStringLength());
        if (std::optional<std::string> twice = NamedTwice(doc, {kFileKey, "cart"})) {
            return Refused(line_, at + *twice, row.file);
        }
        const auto cart = doc.FindMember("cart");
        if (cart == doc.MemberEnd() || cart->value.IsNull()) return row;
        if (!cart->value.IsObject()) return Refused(line_, at + "column cart: not an object", row.file);
        if (std::string error = CartCells(cart->value, row); !error.empty()) {
            return Refused(line_, at + error, row.file);
        }
        return row;
    }
    return std::nullopt;
}

std::optional<EditRow> EditReader::NextCsv() {
    if (!headerError_.empty()) {
        EditRow failed = Refused(1, headerError_);
        headerError_.clear();
        header_.clear();
        csv_.reset();
        return failed;
    }
    if (!csv_) return std::nullopt;
    std::optional<CsvRecord> record = csv_->Next();
    // A blank line is a record of one empty cell.
    while (record && record->cells.size() == 1 && record->cells[0].empty()) record = csv_->Next();
    if (!record) {
        std::optional<EditRow> failed;
        if (!csv_->Error().empty()) failed = Refused(0, csv_->Error());
        csv_.reset();
        return failed;
    }
    EditRow row;
    row.line = record->line;
    if (record->cells.size() != header_.size()) {
        row.error = "line " + std::to_string(row.line) + ": " + std::to_string(record->cells.size()) +
                    " cells where the header has " + std::to_string(header_.size());
    }
    for (std::size_t i = 0; i < std::min(header_.size(), record->cells.size()); ++i) {
        std::string& cell = record->cells[i];
        if (header_[i] == nullptr) {
            row.file = std::move(cell);
        } else if (!cell.empty()) {  // an empty cell leaves its field
            row.cells.push_back({header_[i], std::move(cell)});
        }
    }
    return row;
}

std::optional<EditRow> EditReader::Next() { return json_ ? NextJson() : NextCsv(); }

}  // namespace cli
