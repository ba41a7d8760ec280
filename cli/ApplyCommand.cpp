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
#include "cli/WriteOptionFlags.h"
#include "texts/LoadFailureTexts.h"
#include "wave/CartValues.h"
#include "wave/FieldCodecs.h"
#include "wave/NewCart.h"

namespace cli {

namespace {

class ApplyCommand : public Command {
public:
    explicit ApplyCommand(CLI::App& apply) : Command(apply) {
        write_.AddTo(apply);
        read_.AddTo(apply);
        apply
            .add_option("EDITS", edits_,
                        "JSON Lines as show --json prints, or CSV as show --csv prints; - for standard input")
            ->required();
    }

    int Run(Console& console) const override { return RunApply(edits_, write_.Options(), read_.Options(), console); }

private:
    std::string edits_;
    WriteOptionFlags write_;
    ReadOptionFlags read_;
};

struct CheckedRow {
    wave::CartWrites writes;
    std::vector<std::string> columns;  // the column each write came from
    std::string error;
};

std::string LineOf(const EditRow& row) { return "line " + std::to_string(row.line) + ": "; }

std::string At(const EditRow& row, const std::string& column, const std::string& why) {
    return LineOf(row) + "column " + column + ": " + why;
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

// The row's values against the file's cart data: values equal to the
// file's (or, where a cart chunk is added, to the new chunk's) are left
// alone, so `show --json` output fed back changes nothing.
CheckedRow CheckRow(const EditRow& row, LoadedFile& loaded, const wave::CartValues& cart, const WriteOptions& write) {
    CheckedRow checked;
    for (const FixedValue& fixed : row.fixed) {
        if (fixed.value != FixedValueOf(fixed.key, loaded, cart)) {
            return {{}, {}, At(row, fixed.key, "cannot be written; it differs from the file's")};
        }
    }
    for (const CellEdit& cell : row.cells) {
        const CartColumn& column = *cell.column;
        if (CellText(cell) == CellOf(column, cart, loaded.charset)) continue;
        CheckedValue value = CheckCell(cell, loaded.charset);
        if (!value.write) return {{}, {}, At(row, column.name, value.error)};
        checked.writes.push_back(std::move(*value.write));
        checked.columns.push_back(column.name);
    }
    if (const std::optional<WriteRefusal> refused = CheckAgainstFile(loaded, checked.writes, write)) {
        std::string column = "file";
        for (std::size_t i = 0; i < checked.writes.size(); ++i) {
            if (checked.writes[i].field == refused->field) column = checked.columns[i];
        }
        const std::string message = WithGrowthHint(*refused);
        return {{}, {}, refused->field ? At(row, column, message) : LineOf(row) + message};
    }
    return checked;
}

// The row checked against the file, or against the cart chunk growth would
// add to a file without one.
CheckedRow CheckRow(const EditRow& row, LoadedFile& loaded, const WriteOptions& write) {
    if (loaded.Ok()) return CheckRow(row, loaded, loaded.Cart(), write);
    const bool addsCart = write.grow && loaded.document.CanAddCart();
    if (!addsCart) return {{}, {}, LineOf(row) + WithGrowthHint(RefusalOf(loaded))};
    const std::vector<std::uint8_t> newCart = wave::NewCartImage();
    return CheckRow(row, loaded, wave::CartValues(newCart), write);
}

// Whether the writes would leave every byte as it is ("-1" and 4294967295
// are the same level reference).
bool ChangesNothing(const LoadedFile& loaded, const wave::CartWrites& writes) {
    if (writes.empty()) return true;
    std::vector<std::uint8_t> image;
    return loaded.Ok() && loaded.document.PrepareCart(writes, image).ok && image == *loaded.document.loaded.cart;
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

// A cart chunk to add or enlarge: the file is read again for writing and the
// row checked against it as it is now, and the growth is finished before the
// next row, as `set` does.
bool GrowRow(const EditRow& row, const WriteOptions& write, ReadOptions options, BatchSaves& saves) {
    auto writable = std::make_unique<LoadedFile>(row.file, wave::WaveStream::Mode::ReadWrite, options);
    const CheckedRow checked = CheckRow(row, *writable, write);
    if (!checked.error.empty()) {
        saves.Fail(row.file, checked.error);
        return false;
    }
    return WriteAndReport(row.file, std::move(writable), checked.writes, write, saves);
}

bool ApplyRow(const EditRow& row, const WriteOptions& write, ReadOptions options, NamedFiles& named,
              BatchSaves& saves) {
    // Read-only first: a row that changes nothing must work on a file the
    // user may only read, as the show output it often is fed back from.
    auto loaded = std::make_unique<LoadedFile>(row.file, wave::WaveStream::Mode::ReadOnly, options);
    const wave::WaveStream& stream = loaded->document.file;
    if (NamedBefore(row, stream.IsOpen() ? stream.Identity() : FileIdentity(row.file), named, saves)) return false;
    const CheckedRow checked = CheckRow(row, *loaded, write);
    if (!checked.error.empty()) {
        saves.Fail(row.file, checked.error);
        return false;
    }
    // No write at all, not even of the same bytes.
    if (ChangesNothing(*loaded, checked.writes)) {
        saves.Say(row.file, "nothing to change");
        return true;
    }
    if (write.dryRun) return WriteAndReport(row.file, std::move(loaded), checked.writes, write, saves);
    if (write.grow && loaded->document.NeedsGrowth(checked.writes)) return GrowRow(row, write, options, saves);
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

int RunApply(const std::string& edits, WriteOptions write, ReadOptions options, Console& console) {
    const std::optional<std::string> text = ReadEdits(edits, console.in);
    if (!text) {
        ReportError(console, edits, "the edits could not be read");
        return kSomeFileFailed;
    }
    int status = kAllSucceeded;
    NamedFiles named;
    BatchSaves saves(console);
    EditReader reader(*text);
    while (std::optional<EditRow> row = reader.Next()) {
        bool ok = row->error.empty();
        if (ok) {
            ok = ApplyRow(*row, write, options, named, saves);
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
