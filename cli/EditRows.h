#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cli/CartCells.h"
#include "cli/CsvReader.h"
#include "cli/FieldOptions.h"

namespace cli {

// One value an edit row gives for a cart column: text in the column's cell
// form (a timer as "USAGE:SAMPLES"), or a timer as JSON types it, which an
// empty usage code clears.
struct CellEdit {
    const CartColumn* column;
    std::variant<std::string, TimerValue> value;
};

// A value given for a key `show --json` prints but nothing writes (offset,
// size, postTimerLines), as text to compare with the file's.
struct FixedValue {
    std::string key;
    std::string value;
};

// One row of an edits file: the WAV file it names and what to do to it, or
// why the row cannot be read.
struct EditRow {
    std::size_t line = 0;
    std::string file;
    std::vector<CellEdit> cells;
    std::vector<FixedValue> fixed;
    std::string error;
};

// The file's value for a key nothing writes, in the form FixedValue holds,
// with the timers of the cart data given; a chunk not yet in the file has
// no offset or size.
std::string FixedValueOf(std::string_view key, const LoadedFile& loaded, const wave::CartValues& cart);

// Reads edits in either form: JSON Lines when the first byte that is not
// white space is "{", CSV with a header row otherwise. A CSV header that
// names no file column or an unknown column leaves a single row holding the
// error.
class EditReader {
public:
    explicit EditReader(std::string_view text);
    // The next row; nothing at the end of the text.
    std::optional<EditRow> Next();

private:
    std::optional<EditRow> NextJson();
    std::optional<EditRow> NextCsv();

    std::string_view text_;
    bool json_ = false;
    std::size_t pos_ = 0;
    std::size_t line_ = 0;
    std::optional<CsvReader> csv_;
    std::vector<const CartColumn*> header_;  // nullptr for the file column
    std::string headerError_;
};

}  // namespace cli
