#include "cli/XlsxReader.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "cli/XmlEvents.h"
#include "cli/ZipArchive.h"

namespace cli {

namespace {

// A sheet's limits: beyond them a cell reference is not one.
constexpr std::size_t kMaxColumns = 16384;
constexpr std::size_t kMaxRows = 1048576;
// Cells held at most, gaps included: a crafted sheet must not exhaust memory.
constexpr std::size_t kMaxCells = std::size_t{1} << 22;

// The number at the start of the text, or 0.
std::size_t NumberIn(std::string_view text) {
    std::size_t number = 0;
    std::from_chars(text.data(), text.data() + text.size(), number);
    return number;
}

// Excel writes characters XML cannot hold as "_xHHHH_".
std::string Unescaped(const std::string& text) {
    if (text.find("_x") == std::string::npos) return text;
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned code = 0;
        if (text.compare(i, 2, "_x") == 0 && i + 7 <= text.size() && text[i + 6] == '_' &&
            std::from_chars(text.data() + i + 2, text.data() + i + 6, code, 16).ptr == text.data() + i + 6) {
            if (code < 0x80) {
                plain += static_cast<char>(code);
            } else if (code < 0x800) {
                plain += static_cast<char>(0xC0 | (code >> 6));
                plain += static_cast<char>(0x80 | (code & 0x3F));
            } else {
                plain += static_cast<char>(0xE0 | (code >> 12));
                plain += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                plain += static_cast<char>(0x80 | (code & 0x3F));
            }
            i += 6;
            continue;
        }
        plain += text[i];
    }
    return plain;
}

// workbook.xml: the first sheet's relationship and the date system.
struct Workbook : XmlEvents {
    std::string firstSheet;
    bool date1904 = false;
    void Start(std::string_view name, const Attributes& attributes) override {
        if (name == "sheet" && firstSheet.empty()) firstSheet = AttributeOf(attributes, "id");
        if (name == "workbookPr") {
            const std::string_view value = AttributeOf(attributes, "date1904");
            date1904 = value == "1" || value == "true";
        }
    }
    void End(std::string_view) override {}
    void Text(std::string_view) override {}
};

// workbook.xml.rels: where each part is, by relationship id and by type.
struct Relationships : XmlEvents {
    std::map<std::string, std::string, std::less<>> targets;
    std::string sharedStrings;
    void Start(std::string_view name, const Attributes& attributes) override {
        if (name != "Relationship") return;
        std::string target(AttributeOf(attributes, "Target"));
        // Relative to xl/, or from the archive's root.
        target = target.starts_with('/') ? target.substr(1) : "xl/" + target;
        if (AttributeOf(attributes, "Type").ends_with("/sharedStrings")) sharedStrings = target;
        targets[std::string(AttributeOf(attributes, "Id"))] = target;
    }
    void End(std::string_view) override {}
    void Text(std::string_view) override {}
};

// Text of <t> elements, leaving out phonetic runs (<rPh>), which are no
// part of the cell's value.
struct TextCollector {
    std::string text;
    bool inText = false;
    int phonetic = 0;
    void Start(std::string_view name) {
        if (name == "t") inText = phonetic == 0;
        if (name == "rPh") ++phonetic;
    }
    void End(std::string_view name) {
        if (name == "t") inText = false;
        if (name == "rPh") --phonetic;
    }
    void Add(std::string_view data) {
        if (inText) text += data;
    }
};

// sharedStrings.xml: each <si>'s text, plain or in rich-text runs.
struct SharedStrings : XmlEvents {
    std::vector<std::string> strings;
    TextCollector collector;
    void Start(std::string_view name, const Attributes&) override {
        if (name == "si") collector = {};
        collector.Start(name);
    }
    void End(std::string_view name) override {
        collector.End(name);
        if (name == "si") strings.push_back(Unescaped(collector.text));
    }
    void Text(std::string_view text) override { collector.Add(text); }
};

// A worksheet: cells by row and column.
struct Worksheet : XmlEvents {
    const std::vector<std::string>* shared = nullptr;
    std::map<std::size_t, CsvRecord> rows;
    std::string error;
    std::size_t cells = 0;
    std::size_t row = 0;
    std::size_t column = 0;
    std::string type;
    std::string value;
    bool inValue = false;
    TextCollector inlineText;

    void Start(std::string_view name, const Attributes& attributes) override {
        if (name == "row") {
            const std::size_t r = NumberIn(AttributeOf(attributes, "r"));
            row = r != 0 ? r : row + 1;
            column = 0;
        } else if (name == "c") {
            const std::string_view reference = AttributeOf(attributes, "r");
            std::size_t letters = 0;
            std::size_t index = 0;
            while (letters < reference.size() && reference[letters] >= 'A' && reference[letters] <= 'Z') {
                index = index * 26 + static_cast<std::size_t>(reference[letters] - 'A' + 1);
                if (index > kMaxColumns) break;
                ++letters;
            }
            column = letters > 0 ? index : column + 1;
            type = AttributeOf(attributes, "t");
            value.clear();
            inlineText = {};
        } else if (name == "v") {
            inValue = true;
        }
        inlineText.Start(name);
    }

    void End(std::string_view name) override {
        inlineText.End(name);
        if (name == "v") inValue = false;
        if (name != "c" || !error.empty()) return;
        if (row == 0 || row > kMaxRows || column == 0 || column > kMaxColumns) {
            error = "a cell lies outside the sheet";
            return;
        }
        std::string text;
        bool number = false;
        if (type == "s") {
            const std::size_t index = NumberIn(value);
            if (index >= shared->size()) {
                error = "a cell names a shared string the workbook does not have";
                return;
            }
            text = (*shared)[index];
        } else if (type == "inlineStr") {
            text = Unescaped(inlineText.text);
        } else if (type == "e") {
            // A formula's error (#N/A) is no value to write.
            error = "row " + std::to_string(row) + " holds the error " + value;
            return;
        } else if (type == "b") {
            text = value == "1" ? "TRUE" : "FALSE";
        } else {
            text = Unescaped(value);
            number = type.empty() || type == "n";
        }
        CsvRecord& record = rows[row];
        record.line = row;
        if (record.cells.size() < column) {
            cells += column - record.cells.size();
            if (cells > kMaxCells) {
                error = "the sheet holds too many cells";
                return;
            }
            record.cells.resize(column);
            record.numbers.resize(column);
        }
        record.cells[column - 1] = std::move(text);
        record.numbers[column - 1] = number;
    }

    void Text(std::string_view data) override {
        if (inValue) value += data;
        inlineText.Add(data);
    }
};

std::string Refusal(std::string why) { return "the workbook cannot be read: " + std::move(why); }

}  // namespace

bool IsWorkbook(std::string_view bytes) { return bytes.starts_with("PK\x03\x04"); }

SheetRows ReadWorkbookSheet(std::string_view bytes) {
    SheetRows sheet;
    const ZipArchive archive(bytes);
    if (!archive.Ok()) return {{}, false, Refusal("it is not a zip archive")};
    Workbook workbook;
    Relationships relationships;
    const std::optional<std::string> workbookXml = archive.Entry("xl/workbook.xml");
    const std::optional<std::string> relationshipsXml = archive.Entry("xl/_rels/workbook.xml.rels");
    if (!workbookXml || !relationshipsXml || !workbook.Parse(*workbookXml) || !relationships.Parse(*relationshipsXml))
        return {{}, false, Refusal("it has no readable xl/workbook.xml and its relationships")};
    const auto target = relationships.targets.find(workbook.firstSheet);
    if (target == relationships.targets.end()) return {{}, false, Refusal("it has no sheet")};

    SharedStrings shared;
    if (!relationships.sharedStrings.empty()) {
        const std::optional<std::string> sharedXml = archive.Entry(relationships.sharedStrings);
        if (!sharedXml || !shared.Parse(*sharedXml)) return {{}, false, Refusal("its shared strings are unreadable")};
    }
    Worksheet worksheet;
    worksheet.shared = &shared.strings;
    const std::optional<std::string> sheetXml = archive.Entry(target->second);
    if (!sheetXml) return {{}, false, Refusal(target->second + " is missing or unreadable")};
    if (!worksheet.Parse(*sheetXml)) return {{}, false, Refusal(target->second + " is not well-formed XML")};
    if (!worksheet.error.empty()) return {{}, false, Refusal(worksheet.error)};
    sheet.date1904 = workbook.date1904;
    for (auto& [number, record] : worksheet.rows) sheet.records.push_back(std::move(record));
    return sheet;
}

}  // namespace cli
