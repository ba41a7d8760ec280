#include "cli/CsvReport.h"

#include "cli/CartCells.h"

namespace cli {

void AppendCsvCell(std::string& line, std::string_view cell) {
    if (cell.find_first_of(",\"\r\n") == std::string_view::npos) {
        line += cell;
        return;
    }
    line += '"';
    for (const char c : cell) {
        if (c == '"') line += '"';
        line += c;
    }
    line += '"';
}

void PrintCsvHeader(std::ostream& out) {
    std::string line = "file";
    for (const CartColumn& column : CartColumns()) line += "," + column.name;
    out << line << "\r\n";
}

void PrintCsvRow(std::ostream& out, const std::string& file, const LoadedFile& loaded) {
    std::string line;
    AppendCsvCell(line, file);
    for (const CartColumn& column : CartColumns()) {
        line += ',';
        AppendCsvCell(line, CellOf(column, loaded.Cart(), loaded.charset));
    }
    out << line << "\r\n";
}

}  // namespace cli
