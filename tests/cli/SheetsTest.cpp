// Edits as spreadsheets save them: CSV with any delimiter and in Windows-1252,
// .xlsx workbooks, and values a spreadsheet reformatted, which are never
// written.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/cli/CliRunner.h"
#include "tests/cli/ZippedWorkbook.h"
#include "tests/support/WaveBuilder.h"
#include "wave/FieldCodecs.h"

namespace {

using fixture::ByteVector;
namespace cart = wave::cart;

constexpr std::size_t kCartData = 12 + 8 + 16 + 8 + 631 + 8;

std::string FieldOf(const std::string& path, wave::Field field) {
    const ByteVector file = fixture::ReadFile(path);
    return wave::ReadTextField(ByteVector(file.begin() + kCartData, file.end()), field);
}

struct Sheets : testing::Test {
    std::string wave(const std::string& name, const ByteVector& bytes) { return dir.write(name, bytes).string(); }
    std::string edits(const std::string& name, const std::string& text) {
        std::ofstream(dir.file(name), std::ios::binary) << text;
        return dir.file(name).string();
    }
    // Cut ID with leading zeros, a time at midnight, text beyond ASCII.
    ByteVector Spot() const {
        return fixture::TypicalWave(fixture::TypicalCart(2100)
                                        .text(cart::kCutID, "00123")
                                        .text(cart::kStartTime, "00:00:00")
                                        .text(cart::kTitle, "Caf\xE9 \xDC")
                                        .text({2048, 52}, "one\r\ntwo"));
    }
    fixture::TempDir dir;
};

TEST_F(Sheets, EveryDelimiterAndEncodingASpreadsheetSavesReadsTheSame) {
    const std::string a = wave("a.wav", Spot());
    const std::string utf8 = "file;title;artist\r\n" + a + ";\"Caf\xC3\xA9; \xC3\x9C\";New\r\n";
    const std::string tab =
        "\xEF\xBB\xBF"
        "file\ttitle\tartist\n" +
        a + "\tCaf\xC3\xA9 \xC3\x9C\tNew\n";
    const std::string latin = "file,title,artist\r\n" + a + ",Caf\xE9; \xDC,New\r\n";
    for (const auto& [text, encoding] : {std::pair{utf8, "utf-8"}, {tab, "utf-8"}, {latin, "windows-1252"}}) {
        SCOPED_TRACE(text);
        const CliRun run = RunCli({"apply", "--csv-encoding", encoding, edits("e.csv", text)});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(FieldOf(a, cart::kArtist), "New");
        EXPECT_EQ(FieldOf(a, cart::kTitle), text == tab ? "Caf\xE9 \xDC" : "Caf\xE9; \xDC");
        wave("a.wav", Spot());
    }
    // Windows-1252 read as UTF-8: refused, with what to do instead.
    const CliRun plain = RunCli({"apply", edits("p.csv", latin)});
    EXPECT_EQ(plain.status, 1);
    EXPECT_EQ(plain.err, "reelmarker-cli: " + a +
                             ": line 2: column title: the text is not valid UTF-8; a spreadsheet's plain \"CSV\" is "
                             "Windows-1252: give --csv-encoding windows-1252, or save as \"CSV UTF-8\"\n");
    EXPECT_EQ(fixture::ReadFile(a), Spot());

    const std::string bom = RunCli({"show", "--csv", "--bom", a}).out;
    EXPECT_TRUE(
        bom.starts_with("\xEF\xBB\xBF"
                        "file,version,"))
        << bom;
    EXPECT_EQ(RunCli({"show", "--bom", a}).status, 2);
}

TEST_F(Sheets, ValuesOnlyASpreadsheetReformattedAreLeftWithAWarning) {
    const std::string a = wave("a.wav", Spot());
    const std::string row = a + ",101,123,12:00:00 AM,5/6/01,\"one\ntwo\",";
    const CliRun run =
        RunCli({"apply", edits("e.csv", "file,version,cutId,startTime,startDate,tagText,title\n" + row + "\n")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, a + ": nothing to change\n");
    const std::string w = "reelmarker-cli: " + a + ": warning: line 2: column ";
    EXPECT_EQ(run.err,
              w +
                  "version: \"101\" is the file's \"0101\" with its leading zeros dropped, as spreadsheets "
                  "do; left as it is\n" +
                  w +
                  "cutId: \"123\" is the file's \"00123\" with its leading zeros dropped, as spreadsheets "
                  "do; left as it is\n" +
                  w +
                  "startTime: \"12:00:00 AM\" is the file's \"00:00:00\" with the time in a locale's "
                  "form, as spreadsheets do; left as it is\n" +
                  w +
                  "startDate: \"5/6/01\" is the file's \"2001-05-06\" with the date in a locale's form, "
                  "as spreadsheets do; left as it is\n" +
                  w +
                  "tagText: \"one\\ntwo\" is the file's \"one\\r\\ntwo\" with its line breaks as line feeds, as "
                  "spreadsheets do; left as it is\n");
    EXPECT_EQ(fixture::ReadFile(a), Spot());

    // A long cut ID a spreadsheet showed rounded is no edit either.
    const std::string b =
        wave("b.wav", fixture::TypicalWave(fixture::TypicalCart(2100).text(cart::kCutID, "12345678901234567890")));
    const CliRun rounded = RunCli({"apply", edits("r.csv", "file;cutId\n" + b + ";1.23457E+19\n")});
    EXPECT_EQ(rounded.out, b + ": nothing to change\n") << rounded.err;
    EXPECT_NE(rounded.err.find("with its digits rounded to scientific notation"), std::string::npos) << rounded.err;

    // A real change is written; a version a spreadsheet made a number is not.
    const CliRun edited =
        RunCli({"apply", edits("f.csv", "file,cutId,startTime,endDate\n" + a + ",124,07:00 PM,31.12.2099\n")});
    EXPECT_EQ(edited.status, 1);
    EXPECT_NE(edited.err.find("column startTime: "), std::string::npos) << edited.err;
    const CliRun cut = RunCli({"apply", edits("g.csv", "file,cutId,endDate\n" + a + ",124,31.12.2099\n")});
    EXPECT_EQ(cut.out, a + ": saved Cut ID\n");
    EXPECT_EQ(FieldOf(a, cart::kCutID), "124");
    const CliRun version = RunCli({"apply", edits("v.csv", "file,version\n" + a + ",102\n")});
    EXPECT_EQ(version.status, 1);
    EXPECT_EQ(version.err, "reelmarker-cli: " + a +
                               ": line 2: column version: a cart version is four characters, as 0101; a spreadsheet "
                               "drops leading zeros unless the column is imported as text\n");
    EXPECT_EQ(FieldOf(a, cart::kVersion), "0101");
}

TEST_F(Sheets, ShowXlsxRoundTripsThroughApply) {
    const std::string a = wave("a.wav", Spot());
    const std::string sheet = dir.file("out.xlsx").string();
    const CliRun shown = RunCli({"show", "--xlsx", sheet, a, dir.file("none.wav").string()});
    EXPECT_EQ(shown.status, 1);
    const CliRun run = RunCli({"apply", sheet});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, a + ": nothing to change\n");
    EXPECT_EQ(fixture::ReadFile(a), Spot());
    EXPECT_EQ(RunCli({"show", "--xlsx", dir.file("no/such/dir.xlsx").string(), a}).status, 1);
    // A forgotten workbook name never costs a WAV file.
    const CliRun forgotten = RunCli({"show", "--xlsx", a, a});
    EXPECT_EQ(forgotten.status, 2);
    EXPECT_NE(forgotten.err.find("must end in .xlsx"), std::string::npos) << forgotten.err;
    const std::string named = wave("spot.XLSX", Spot());
    EXPECT_EQ(RunCli({"show", "--xlsx", named, a}).status, 2);
    EXPECT_EQ(fixture::ReadFile(a), Spot());
    EXPECT_EQ(fixture::ReadFile(named), Spot());
}

// The workbook library writes through temporary files without checking
// those writes: under a file size limit they come out cut short. The export
// says so, and the workbook already there stays as it was, with nothing
// left beside it.
TEST_F(Sheets, ShowXlsxCutShortFailsAndKeepsTheWorkbookThere) {
    const std::string a = wave("a.wav", Spot());
    const std::string sheet = dir.file("out.xlsx").string();
    ASSERT_EQ(RunCli({"show", "--xlsx", sheet, a}).status, 0);
    const ByteVector before = fixture::ReadFile(sheet);
    std::string command =
        "bash -c \"trap '' XFSZ; ulimit -f 16; exec " + std::string(REELMARKER_CLI) + " show --xlsx " + sheet;
    for (int i = 0; i < 200; ++i) command += " " + a;
    command += " 2>" + dir.file("err").string() + "\"";
    EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 1);
    std::ifstream err(dir.file("err"));
    const std::string message{std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>()};
    EXPECT_NE(message.find(sheet + ": the workbook could not be written: "), std::string::npos) << message;
    EXPECT_EQ(fixture::ReadFile(sheet), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);  // a.wav, out.xlsx, err
}

TEST_F(Sheets, WorkbooksReadAsEachSpreadsheetWritesThem) {
    const std::string a = wave("a.wav", Spot());
    const std::string b = wave("b.wav", Spot());
    const std::string c = wave("c.wav", Spot());
    const std::string workbook =
        R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
        R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><workbookPr date1904="1"/>)"
        R"(<sheets><sheet name="edits" sheetId="3" r:id="rId7"/><sheet name="x" sheetId="1" r:id="rId1"/>)"
        R"(</sheets></workbook>)";
    const std::string rels =
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
        R"(<Relationship Id="rId1" Type="x/worksheet" Target="worksheets/other.xml"/>)"
        R"(<Relationship Id="rId7" Type="x/worksheet" Target="/xl/worksheets/sheet1.xml"/>)"
        R"(<Relationship Id="rId2" Type="http://x/sharedStrings" Target="strings.xml"/></Relationships>)";
    // Rich text runs, a phonetic run, and an escaped line break.
    const std::string strings =
        R"(<x:sst xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><x:si><x:t>file</x:t></x:si>)"
        R"(<x:si><x:r><x:t>ti</x:t></x:r><x:r><x:t>tle</x:t></x:r><x:rPh><x:t>no</x:t></x:rPh></x:si>)"
        R"(<x:si><x:t>Two_x000D_Lines &amp; more</x:t></x:si></x:sst>)";
    // Cells out of order, without references, inline, numbers and a date.
    const std::string sheet =
        R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)"
        R"(<row r="1"><c r="C1" t="inlineStr"><is><t>startDate</t></is></c><c r="A1" t="s"><v>0</v></c>)"
        R"(<c r="B1" t="s"><v>1</v></c><c r="D1" t="inlineStr"><is><t>cutId</t></is></c></row>)"
        R"(<row r="4"><c t="str"><v>)" +
        c +
        R"(</v></c><c/><c/><c><v>124</v></c></row>)"
        R"(<row r="2"><c t="inlineStr"><is><t>)" +
        a +
        R"(</t></is></c><c t="s"><v>2</v></c>)"
        R"(<c s="1"><v>366</v></c><c><v>123</v></c></row>)"
        R"(<row r="3"><c r="A3" t="inlineStr"><is><t>)" +
        b +
        R"(</t></is></c><c r="D3" t="s"><v>9</v></c></row>)"
        R"(</sheetData></worksheet>)";
    const std::string path = dir.file("book").string();
    WriteWorkbook(path, {{"xl/workbook.xml", workbook},
                         {"xl/_rels/workbook.xml.rels", rels},
                         {"xl/strings.xml", strings},
                         {"xl/worksheets/sheet1.xml", sheet}});
    const CliRun run = RunCli({"apply", path});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "reelmarker-cli: " + path +
                           ": the workbook cannot be read: a cell names a shared string the workbook does not have\n");

    const std::size_t bad = sheet.find(R"(<row r="3">)");
    WriteWorkbook(path, {{"xl/workbook.xml", workbook},
                         {"xl/_rels/workbook.xml.rels", rels},
                         {"xl/strings.xml", strings},
                         {"xl/worksheets/sheet1.xml", sheet.substr(0, bad) + "</sheetData></worksheet>"}});
    const CliRun fixed = RunCli({"apply", path});
    EXPECT_EQ(fixed.status, 0) << fixed.err;
    // Day 366 of a 1904 workbook; 123 is the cut ID's leading zeros dropped.
    EXPECT_EQ(fixed.out, a + ": saved Title, Start Date\n" + c + ": saved Cut ID\n");
    EXPECT_EQ(FieldOf(a, cart::kTitle), "Two\rLines & more");
    EXPECT_EQ(FieldOf(a, cart::kStartDate), "1905-01-01");
    EXPECT_EQ(FieldOf(c, cart::kCutID), "124");

    WriteWorkbook(path, {{"xl/workbook.xml", workbook},
                         {"xl/_rels/workbook.xml.rels", rels},
                         {"xl/strings.xml", strings},
                         {"xl/worksheets/sheet1.xml", sheet.substr(0, bad) + R"(<row r="5"><c t="e"><v>#N/A</v></c>)" +
                                                          "</row></sheetData></worksheet>"}});
    EXPECT_NE(RunCli({"apply", path}).err.find("cannot be read: row 5 holds the error #N/A"), std::string::npos);

    for (const std::string& broken : {std::string("PK\x03\x04 not really"), std::string("PK\x03\x04")}) {
        const CliRun refused = RunCli({"apply", edits("broken.xlsx", broken)});
        EXPECT_EQ(refused.status, 1);
        EXPECT_NE(refused.err.find("the workbook cannot be read: it is not a zip archive"), std::string::npos);
    }
}

}  // namespace
