#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>

#include "cli/BatchSaves.h"
#include "cli/CartUpdate.h"
#include "cli/Commands.h"
#include "cli/EditRows.h"
#include "cli/ErrorLine.h"
#include "cli/ReadOptionFlags.h"
#include "cli/SpreadsheetForms.h"
#include "cli/XlsxReader.h"
#include "texts/LoadFailureTexts.h"
#include "wave/FieldCodecs.h"

namespace cli {

namespace {

class ApplyCommand : public Command {
public:
    explicit ApplyCommand(CLI::App& apply) : Command(apply) {
        apply.add_flag("--dry-run", dryRun_, "Check and report; write nothing");
        read_.AddTo(apply);
        apply
            .add_option("--csv-encoding", csvEncoding_,
                        "Character set of CSV edits: utf-8 (default; a byte order mark is skipped) or windows-1252, "
                        "which a spreadsheet's plain CSV saves")
            ->check(CLI::IsMember(kCsvEncodings));
        apply
            .add_option("EDITS", edits_,
                        "JSON Lines as show --json prints, CSV as show --csv prints (comma, semicolon or tab), or a "
                        ".xlsx workbook; - for standard input")
            ->required();
    }

    int Run(Console& console) const override {
        return RunApply(edits_, {dryRun_}, read_.Options(), console, kCsvEncodings.at(csvEncoding_));
    }

private:
    inline static const std::map<std::string, CsvEncoding> kCsvEncodings = {{"utf-8", CsvEncoding::Utf8},
                                                                            {"windows-1252", CsvEncoding::Windows1252}};
    std::string edits_;
    std::string csvEncoding_ = "utf-8";
    bool dryRun_ = false;
    ReadOptionFlags read_;
};

struct CheckedRow {
    wave::CartWrites writes;
    std::vector<std::string> columns;  // the column each write came from
    std::string error;
    std::vector<std::string> warnings;  // cells taken as the file's values
};

std::string LineOf(const EditRow& row) { return "line " + std::to_string(row.line) + ": "; }

std::string At(const EditRow& row, const std::string& column, const std::string& why) {
    return LineOf(row) + "column " + column + ": " + why;
}

// A value in a one-line message, its line breaks shown.
std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '\r') {
            quoted += "\\r";
        } else if (c == '\n') {
            quoted += "\\n";
        } else {
            quoted += c;
        }
    }
    return quoted + '"';
}

// The cell as `show` prints it.
std::string CellText(const CellEdit& cell) {
    if (const auto* timer = std::get_if<TimerValue>(&cell.value)) return TimerCell(timer->usage, timer->samples);
    return std::get<std::string>(cell.value);
}

CheckedValue CheckCell(const CellEdit& cell, wave::Charset charset) {
    if (const auto* timer = std::get_if<TimerValue>(&cell.value)) {
        // An unset timer, as `show --json` prints one.
        return timer->usage.empty() ? ClearTimer(timer->number) : CheckTimer(*timer, charset);
    }
    const std::string& text = std::get<std::string>(cell.value);
    const CartColumn& column = *cell.column;
    if (column.row->kind != wave::FieldKind::Timers) return CheckValue(*column.row, text, charset);
    return CheckValue(*column.row, std::to_string(column.timer + 1) + "=" + text, charset);
}

// The row's values against the file: values equal to the file's are left
// alone, so `show --json` output fed back changes nothing.
CheckedRow CheckRow(const EditRow& row, LoadedFile& loaded) {
    CheckedRow checked;
    for (const FixedValue& fixed : row.fixed) {
        if (fixed.value != FixedValueOf(fixed.key, loaded)) {
            return {{}, {}, At(row, fixed.key, "cannot be written; it differs from the file's"), {}};
        }
    }
    for (const CellEdit& cell : row.cells) {
        const CartColumn& column = *cell.column;
        const std::string text = CellText(cell);
        const std::string fileValue = CellOf(column, loaded);
        if (text == fileValue) continue;
        if (row.fromSheet) {
            // Only what the user changed is written, never the spreadsheet's reformatting.
            if (const std::optional<std::string> how = SpreadsheetReformatOf(column, text, fileValue)) {
                checked.warnings.push_back(At(row, column.name,
                                              Quoted(text) + " is the file's " + Quoted(fileValue) + " with " + *how +
                                                  ", as spreadsheets do; left as it is"));
                continue;
            }
            if (const std::optional<std::string> why = SheetCellRefusal(column, text)) {
                return {{}, {}, At(row, column.name, *why), {}};
            }
        }
        CheckedValue value = CheckCell(cell, loaded.charset);
        if (!value.write) return {{}, {}, At(row, column.name, value.error), {}};
        checked.writes.push_back(std::move(*value.write));
        checked.columns.push_back(column.name);
    }
    if (const std::optional<WriteRefusal> refused = CheckAgainstFile(loaded, checked.writes, {})) {
        std::string column = "file";
        for (std::size_t i = 0; i < checked.writes.size(); ++i) {
            if (checked.writes[i].field == refused->field) column = checked.columns[i];
        }
        return {{}, {}, refused->field ? At(row, column, refused->message) : refused->message, {}};
    }
    return checked;
}

// Whether the writes would leave every byte as it is ("-1" and 4294967295
// are the same level reference).
bool ChangesNothing(const LoadedFile& loaded, const wave::CartWrites& writes) {
    std::vector<std::uint8_t> image;
    return writes.empty() || (loaded.document.PrepareCart(writes, image).ok && image == *loaded.document.loaded.cart);
}

// The first line that named each file, by what tells files apart: the file
// itself however it is named (another relative path, a link), or the name
// where there is no file.
using NamedFiles = std::map<std::string, std::size_t>;

std::string FileIdentity(const std::string& path) {
    const std::string identity = wave::WaveStream::IdentityOf(path);
    return identity.empty() ? "name:" + path : identity;
}

bool NamedBefore(const EditRow& row, const std::string& identity, NamedFiles& named, BatchSaves& saves) {
    const auto [first, isNew] = named.try_emplace(identity, row.line);
    if (!isNew)
        saves.Fail(row.file, LineOf(row) + "this file was already named on line " + std::to_string(first->second));
    return !isNew;
}

bool ApplyRow(const EditRow& row, bool dryRun, ReadOptions options, NamedFiles& named, BatchSaves& saves) {
    // Read-only first: a row that changes nothing must work on a file the
    // user may only read, as the show output it often is fed back from.
    auto loaded = std::make_unique<LoadedFile>(row.file, wave::WaveStream::Mode::ReadOnly, options);
    const wave::WaveStream& stream = loaded->document.file;
    if (NamedBefore(row, stream.IsOpen() ? stream.Identity() : FileIdentity(row.file), named, saves)) return false;
    if (!loaded->Ok()) {
        saves.Fail(row.file, LineOf(row) + texts::MessageFor(loaded->failure).text);
        return false;
    }
    const CheckedRow checked = CheckRow(row, *loaded);
    // A warning goes to the error stream but fails nothing.
    for (const std::string& warning : checked.warnings) saves.Fail(row.file, "warning: " + warning);
    if (!checked.error.empty()) {
        saves.Fail(row.file, checked.error);
        return false;
    }
    // No write at all, not even of the same bytes.
    if (ChangesNothing(*loaded, checked.writes)) {
        saves.Say(row.file, "nothing to change");
        return true;
    }
    if (dryRun) return WriteAndReport(row.file, std::move(loaded), checked.writes, {true}, saves);
    saves.WriteAndFinish(row.file, std::move(loaded), checked.writes, FieldList(checked.writes),
                         LineOf(row) + texts::MessageFor(wave::LoadFailure::OpenFailed).text);
    return true;
}

std::optional<std::string> ReadEdits(const std::string& edits, std::istream& input) {
    std::ostringstream text;
    if (edits == "-") {
        text << input.rdbuf();
        return input.bad() ? std::nullopt : std::optional(text.str());
    }
    std::ifstream in(edits, std::ios::binary);
    if (!in) return std::nullopt;
    text << in.rdbuf();
    return in.bad() ? std::nullopt : std::optional(text.str());
}

}  // namespace

std::unique_ptr<Command> AddApplyCommand(CLI::App& app) {
    return std::make_unique<ApplyCommand>(
        *app.add_subcommand("apply", "Rewrite the cart fields each row of an edits file names."));
}

int RunApply(const std::string& edits, WriteOptions write, ReadOptions options, Console& console,
             CsvEncoding csvEncoding) {
    const std::optional<std::string> text = ReadEdits(edits, console.in);
    if (!text) {
        ReportError(console, edits, "the edits could not be read");
        return kSomeFileFailed;
    }
    int status = kAllSucceeded;
    NamedFiles named;
    BatchSaves saves(console);
    // A workbook is a zip archive, whatever its name.
    std::optional<EditReader> reader;
    if (IsWorkbook(*text)) {
        reader.emplace(ReadWorkbookSheet(*text));
    } else {
        reader.emplace(*text, csvEncoding);
    }
    while (std::optional<EditRow> row = reader->Next()) {
        bool ok = row->error.empty();
        if (ok) {
            ok = ApplyRow(*row, write.dryRun, options, named, saves);
        } else {
            // A refused row still names its file.
            saves.Fail(row->file.empty() ? edits : row->file, row->error);
            named.try_emplace(FileIdentity(row->file), row->line);
        }
        if (!ok) status = kSomeFileFailed;
    }
    return saves.AllSaved() ? status : kSomeFileFailed;
}

}  // namespace cli
