// The check that a workbook just written holds every row and every XML
// document whole, on workbooks zipped here.
#include <gtest/gtest.h>

#include "cli/WrittenWorkbook.h"
#include "tests/cli/ZippedWorkbook.h"
#include "tests/support/WaveBuilder.h"

namespace {

// A sheet of three rows whose second and third start tags straddle the
// 64 KiB pieces the check reads: one byte, then four bytes before the seam.
std::string Sheet() {
    const std::string head = "<?xml version=\"1.0\"?>\n<worksheet><sheetData><row r=\"1\"><c/></row>";
    std::string sheet = head + std::string(65536 - 1 - head.size(), ' ') + "<row r=\"2\"></row>";
    sheet += std::string(131072 - 4 - sheet.size(), ' ') + "<row r=\"3\"></row>";
    return sheet + "</sheetData></worksheet>\n";
}

TEST(WrittenWorkbook, CountsRowsAcrossPiecesAndFindsDocumentsCutShort) {
    const fixture::TempDir dir;
    const std::string path = dir.file("book.xlsx").string();
    const std::string workbook = "<workbook><sheets/></workbook>";
    WriteWorkbook(path, {{"xl/workbook.xml", workbook}, {"xl/worksheets/sheet1.xml", Sheet()}});
    EXPECT_EQ(cli::WorkbookProblem(path, 3), std::nullopt);
    EXPECT_EQ(cli::WorkbookProblem(path, 4), "its sheet holds 3 of 4 rows");

    const std::string cut = Sheet().substr(0, 70000);
    WriteWorkbook(path, {{"xl/workbook.xml", workbook}, {"xl/worksheets/sheet1.xml", cut}});
    EXPECT_EQ(cli::WorkbookProblem(path, 2), "xl/worksheets/sheet1.xml was cut short");
    WriteWorkbook(path, {{"xl/workbook.xml", "<workbook><sheets/>"}, {"xl/worksheets/sheet1.xml", Sheet()}});
    EXPECT_EQ(cli::WorkbookProblem(path, 3), "xl/workbook.xml was cut short");
    WriteWorkbook(path, {{"xl/workbook.xml", workbook}});
    EXPECT_EQ(cli::WorkbookProblem(path, 0), "it has no sheet");
    EXPECT_EQ(cli::WorkbookProblem(dir.file("none.xlsx").string(), 0), "it was left unreadable");
}

}  // namespace
