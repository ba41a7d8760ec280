// Reads arbitrary text as `apply`'s edits, CSV or JSON Lines, row by row,
// without touching any file. The reader must always come to an end, and
// each row must be whole: either refused with a message, so that `apply`
// skips it, or naming only cart columns that exist.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "CartCells.h"
#include "EditRows.h"
#include "Require.h"

namespace {

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    cli::EditReader reader(text);
    std::size_t rows = 0;
    std::size_t lastLine = 0;
    while (const std::optional<cli::EditRow> row = reader.next()) {
        // Every row but a last refusal takes at least one byte of the text.
        Require(++rows <= size + 1, "the reader gives more rows than the text holds");
        CheckRow(*row, lastLine);
    }
    return 0;
}
