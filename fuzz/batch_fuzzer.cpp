// Reads arbitrary text as `apply`'s edits, CSV or JSON Lines. The reader
// must always come to an end, and each row must be whole: either refused
// with a message, so that `apply` skips it, or naming only cart columns that
// exist.
//
// When every row `apply` would open names one of the batch's own files, the
// edits then run through `apply` itself, over files in a folder kept in
// memory: first as a dry run, which must write nothing, then for real. Each
// row is applied whole or refused whole: the real run reports what the dry
// run said it would, changes exactly the files it reports saved and no
// file's length, and a dry run afterwards finds nothing left to write.
//
// Input: one byte choosing the character set and the chunk walk, then the
// edits text.

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "cli/CartCells.h"
#include "cli/Commands.h"
#include "cli/EditRows.h"
#include "fuzz/Require.h"
#include "tests/support/WaveBuilder.h"

namespace {

namespace fs = std::filesystem;
using fixture::ByteVector;

bool IsColumn(const cli::CartColumn* column) {
    for (const cli::CartColumn& known : cli::CartColumns()) {
        if (&known == column) return true;
    }
    return false;
}

void CheckRow(const cli::EditRow& row, std::size_t& lastLine) {
    if (!row.error.empty()) return;  // refused whole: `apply` reads no further into it
    Require(row.line > lastLine, "a row does not start on a later line than the one before");
    lastLine = row.line;
    for (const cli::CellEdit& cell : row.cells) {
        Require(IsColumn(cell.column), "a row edits a column that does not exist");
    }
    for (const cli::FixedValue& fixed : row.fixed) {
        Require(!fixed.key.empty(), "a row compares a value without a key");
    }
}

// The files rows may name: a cart with a URL area and tag text, a short
// cart, and a cart after the audio that only the any-layout walk finds.
// "./a.wav" names a.wav again; missing.wav does not exist.
constexpr std::array<std::string_view, 3> kFiles = {"a.wav", "b.wav", "c.wav"};
constexpr std::array<std::string_view, 5> kNames = {"a.wav", "b.wav", "c.wav", "./a.wav", "missing.wav"};

ByteVector Original(std::size_t index) {
    switch (index) {
        case 0: return fixture::TypicalWave(fixture::TypicalCart(2100));
        case 1: return fixture::TypicalWave(fixture::TypicalCart(700), false);
        default:
            return fixture::WaveBuilder()
                .chunk("JUNK", ByteVector(6, 0))
                .chunk("fmt ", fixture::PcmFormat())
                .chunk("data", ByteVector(8, 0))
                .chunk("cart", fixture::TypicalCart(2080))
                .bytes();
    }
}

// A folder in memory where there is one, so the real run's syncs cost
// nothing; removed at exit.
class BatchFolder {
public:
    BatchFolder() : dir_(::access("/dev/shm", W_OK) == 0 ? fs::path("/dev/shm") : fs::temp_directory_path()) {
        for (std::size_t i = 0; i < kFiles.size(); ++i) originals_[i] = Original(i);
    }

    const fs::path& path() const { return dir_.path(); }
    void restore() const {
        for (std::size_t i = 0; i < kFiles.size(); ++i) fixture::WriteFile(path() / kFiles[i], originals_[i]);
    }
    bool unchanged(std::size_t index) const { return fixture::ReadFile(path() / kFiles[index]) == originals_[index]; }
    std::size_t length(std::size_t index) const { return fixture::ReadFile(path() / kFiles[index]).size(); }
    std::size_t originalLength(std::size_t index) const { return originals_[index].size(); }

private:
    fixture::TempDir dir_;
    std::array<ByteVector, kFiles.size()> originals_;
};

struct ApplyRun {
    int status = 0;
    std::string out;
    std::string err;
};

// `apply` run from inside the folder, so the rows' relative names find its
// files; its streams are captured.
ApplyRun Apply(const BatchFolder& folder, bool dryRun, cli::ReadOptions options) {
    const int back = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    Require(back >= 0 && ::chdir(folder.path().c_str()) == 0, "cannot enter the batch folder");
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    cli::Console console{in, out, err};
    ApplyRun run;
    run.status = cli::RunApply("edits", {dryRun}, options, console);
    Require(::fchdir(back) == 0, "cannot leave the batch folder");
    ::close(back);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// What the dry run's report says the real run will report.
std::string AsSaved(std::string report) {
    for (std::size_t at = 0; (at = report.find(": would write ", at)) != std::string::npos;) {
        report.replace(at, 14, ": saved ");
        const std::size_t end = report.find("; nothing written\n", at);
        Require(end != std::string::npos, "a dry run's line does not say that nothing was written");
        report.erase(end, 17);
    }
    return report;
}

bool NamesASave(const std::string& report, std::size_t index) {
    for (std::string_view name : kNames) {
        const bool sameFile = name == kFiles[index] || (index == 0 && name == "./a.wav");
        if (sameFile && report.find(std::string(name) + ": saved ") != std::string::npos) return true;
    }
    return false;
}

void CheckApply(std::string_view text, cli::ReadOptions options) {
    static const BatchFolder folder;
    folder.restore();
    fixture::WriteFile(folder.path() / "edits", ByteVector(text.begin(), text.end()));

    const ApplyRun dry = Apply(folder, true, options);
    for (std::size_t i = 0; i < kFiles.size(); ++i) Require(folder.unchanged(i), "a dry run changed a file");

    const ApplyRun real = Apply(folder, false, options);
    Require(real.status == dry.status, "the real run's status differs from the dry run's");
    Require(real.err == dry.err, "the real run refused other rows than the dry run");
    Require(real.out == AsSaved(dry.out), "the real run saved other fields than the dry run said it would");
    for (std::size_t i = 0; i < kFiles.size(); ++i) {
        Require(folder.length(i) == folder.originalLength(i), "a save changed a file's length");
        Require(folder.unchanged(i) != NamesASave(real.out, i),
                "a file changed without a save, or a save changed nothing");
    }

    const ApplyRun again = Apply(folder, true, options);
    Require(again.out.find(": would write ") == std::string::npos, "a row was saved only in part");
}

bool NamesOnlyBatchFiles(std::string_view text) {
    cli::EditReader reader(text);
    while (const std::optional<cli::EditRow> row = reader.Next()) {
        if (!row->error.empty()) continue;  // `apply` opens nothing for it
        bool known = false;
        for (std::string_view name : kNames) known = known || row->file == name;
        if (!known) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t choice = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    cli::EditReader reader(text);
    std::size_t rows = 0;
    std::size_t lastLine = 0;
    while (const std::optional<cli::EditRow> row = reader.Next()) {
        // Every row but a last refusal takes at least one byte of the text.
        Require(++rows <= size + 1, "the reader gives more rows than the text holds");
        CheckRow(*row, lastLine);
    }
    // Rows naming anything else would open files outside the folder.
    if (!NamesOnlyBatchFiles(text)) return 0;
    constexpr wave::Charset kCharsets[] = {wave::Charset::Windows1252, wave::Charset::Latin1, wave::Charset::Utf8};
    const cli::ReadOptions options{(choice & 4) != 0 ? wave::ChunkWalk::AnyLayout : wave::ChunkWalk::FixedOrder,
                                   kCharsets[choice % 3]};
    CheckApply(text, options);
    return 0;
}
