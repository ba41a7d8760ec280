// The workbook written from another thread holds every row handed to it, in
// order, whatever batches they travelled in.
#include <gtest/gtest.h>

#include "cli/SheetThread.h"
#include "cli/XlsxReader.h"
#include "tests/support/WaveBuilder.h"

namespace {

// Rows past several batches and a batch not full, some with empty cells, some
// shorter than the header, and cells of every length up to 150 bytes.
std::vector<std::vector<std::string>> Rows() {
    std::vector<std::vector<std::string>> rows = {{"file", "title", "cutId"}};
    for (std::size_t i = 0; i < 150; ++i) {
        const std::string n = std::to_string(i);
        if (i % 7 == 0) {
            rows.push_back({"f" + n + ".wav"});
        } else {
            rows.push_back({"f" + n + ".wav", i % 3 == 0 ? "" : "Title " + n, std::string(i, 'x') + "0" + n});
        }
    }
    return rows;
}

TEST(SheetThread, WritesEveryRowInOrder) {
    const fixture::TempDir dir;
    const std::string path = dir.file("rows.xlsx").string();
    const std::vector<std::vector<std::string>> rows = Rows();
    cli::SheetThread sheet(path, 1);
    for (const std::vector<std::string>& row : rows) sheet.AddRow(row);
    ASSERT_EQ(sheet.Close(), std::nullopt);

    const fixture::ByteVector bytes = fixture::ReadFile(path);
    const cli::SheetRows read =
        cli::ReadWorkbookSheet(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    ASSERT_EQ(read.records.size(), rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        SCOPED_TRACE(r);
        std::vector<std::string> cells = read.records[r].cells;
        while (!cells.empty() && cells.back().empty()) cells.pop_back();
        std::vector<std::string> expected = rows[r];
        while (!expected.empty() && expected.back().empty()) expected.pop_back();
        EXPECT_EQ(cells, expected);
        EXPECT_EQ(read.records[r].line, r + 1);
    }
}

}  // namespace
