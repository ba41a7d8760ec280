// The spreadsheet round trip through a real spreadsheet: LibreOffice Calc,
// headless and with its default settings, opens what `show` wrote and saves
// it as .xlsx and as CSV with commas, semicolons or tabs, in UTF-8 or
// Windows-1252. `apply` then changes no byte of any file, and a cell edited
// before Calc saved the sheet changes exactly that field, and so do values
// typed into the sheet later.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "tests/cli/CliRunner.h"
#include "tests/support/WaveBuilder.h"
#include "wave/FieldCodecs.h"

namespace {

using fixture::ByteVector;
namespace cart = wave::cart;

constexpr std::size_t kCartData = 12 + 8 + 16 + 8 + 631 + 8;

// Every program of that name on the PATH, in its order.
std::vector<std::string> InPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path != nullptr ? path : "/usr/bin";
    std::vector<std::string> found;
    for (std::size_t start = 0; start <= dirs.size();) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::string candidate = dirs.substr(start, end - start) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) found.push_back(candidate);
        start = end + 1;
    }
    return found;
}

std::string Soffice() {
    const std::vector<std::string> found = InPath("soffice");
    return found.empty() ? std::string() : found.front();
}

// A Python that has LibreOffice's UNO bridge: Debian's is for the system's
// Python, which another one earlier on the PATH may hide.
std::string UnoPython() {
    std::vector<std::string> candidates = InPath("python3");
    candidates.push_back("/usr/bin/python3");
    for (const std::string& python : candidates) {
        if (std::system((python + " -c 'import uno' >/dev/null 2>&1").c_str()) == 0) return python;
    }
    return {};
}

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The wave with these texts written into its cart chunk.
ByteVector WithTexts(ByteVector wave, const std::vector<std::pair<wave::Field, std::string>>& texts) {
    ByteVector cartData(wave.begin() + kCartData, wave.end());
    for (const auto& [field, text] : texts) wave::WriteTextField(cartData, field, text);
    std::copy(cartData.begin(), cartData.end(), wave.begin() + kCartData);
    return wave;
}

// Cut ID with leading zeros, a time at midnight, text beyond ASCII, a line
// break inside a cell: all that spreadsheets reformat.
ByteVector Spot() {
    return fixture::TypicalWave(fixture::TypicalCart(2100)
                                    .text(cart::kCutID, "00123")
                                    .text(cart::kStartTime, "00:00:00")
                                    .text(cart::kTitle, "Caf\xE9 \xDC")
                                    .text({2048, 52}, "one\r\ntwo"));
}

// The files and what Calc saved from them: each start of Calc takes
// seconds, so each converts several files.
struct Saved {
    fixture::TempDir dir;
    std::string soffice;
    std::string a;
    std::string b;
    bool converted = true;

    // Calc opens each input and saves it with the filter into the folder.
    // Calc reads CSV in the locale's character set unless told.
    void Convert(const std::string& filter, const std::string& folder, const std::vector<std::string>& inputs,
                 bool utf8Import = false) {
        if (!converted) return;  // a Calc that failed once would only cost more time
        std::string command = "timeout 60 " + soffice + " -env:UserInstallation=file://" +
                              dir.file("profile").string() + " --headless" +
                              (utf8Import ? " --infilter=CSV:44,34,76,1" : "") + " --convert-to '" + filter +
                              "' --outdir " + dir.file(folder).string();
        for (const std::string& input : inputs) command += " " + dir.file(input).string();
        converted = converted && std::system((command + " >/dev/null 2>&1").c_str()) == 0;
    }

    void Write(const std::string& name, const std::string& text) {
        std::ofstream(dir.file(name), std::ios::binary) << text;
    }

    Saved() : soffice(Soffice()) {
        if (soffice.empty()) return;
        a = dir.write("a.wav", Spot()).string();
        b = dir.write("b.wav", fixture::TypicalWave(fixture::TypicalCart(2100))).string();
        const std::string csv = RunCli({"show", "--csv", a, b}).out;
        Write("plain.csv", csv);
        Write("bom.csv", RunCli({"show", "--csv", "--bom", a, b}).out);
        std::string edited = csv;
        edited.replace(edited.find("Caf\xC3\xA9 \xC3\x9C"), 8, "Edited by hand");
        Write("edited.csv", edited);
        RunCli({"show", "--xlsx", dir.file("sheet.xlsx").string(), a, b});
        Convert("csv", "comma", {"plain.csv", "bom.csv", "sheet.xlsx"});
        // Told how to read the CSV, Calc also writes times the US way ("12:00:00 AM").
        Convert("csv:Text - txt - csv (StarCalc):59,34,1", "semicolon-1252", {"plain.csv"}, true);
        Convert("csv:Text - txt - csv (StarCalc):9,34,76", "tab", {"bom.csv"}, true);
        Convert("xlsx", "xlsx", {"sheet.xlsx", "edited.csv"});
    }
};

// One test, so that Calc converts the files once.
TEST(LibreOffice, SheetsCalcSavedChangeOnlyWhatWasEdited) {
    const Saved saved;
    if (saved.soffice.empty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    ASSERT_TRUE(saved.converted) << "soffice failed to convert";
    const ByteVector beforeA = fixture::ReadFile(saved.a);
    const ByteVector beforeB = fixture::ReadFile(saved.b);
    // Calc's CSV of a workbook is Windows-1252 unless told otherwise.
    const std::string latin = "--csv-encoding=windows-1252";
    const std::vector<std::vector<std::string>> runs = {
        {"comma/plain.csv"}, {"comma/bom.csv"},  {latin, "comma/sheet.csv"}, {latin, "semicolon-1252/plain.csv"},
        {"tab/bom.csv"},     {"xlsx/sheet.xlsx"}};
    for (std::vector<std::string> args : runs) {
        SCOPED_TRACE(args.back());
        args.back() = saved.dir.file(args.back()).string();
        args.insert(args.begin(), "apply");
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, saved.a + ": nothing to change\n" + saved.b + ": nothing to change\n") << run.err;
        EXPECT_EQ(fixture::ReadFile(saved.a), beforeA);
        EXPECT_EQ(fixture::ReadFile(saved.b), beforeB);
    }

    // Calc read the CSV with its default settings: numbers, dates and times
    // in the .xlsx it saved; only the title was edited.
    const CliRun run = RunCli({"apply", saved.dir.file("xlsx/edited.xlsx").string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, saved.a + ": saved Title\n" + saved.b + ": nothing to change\n") << run.err;
    EXPECT_EQ(fixture::ReadFile(saved.a), WithTexts(beforeA, {{cart::kTitle, "Edited by hand"}}));
    EXPECT_EQ(fixture::ReadFile(saved.b), beforeB);
}

// Values typed later into empty cells of the workbook `show --xlsx` wrote
// stay text: Calc types a cut ID, a time and a date into the file's row as a
// person would, and saves the sheet as .xlsx and as CSV with its defaults.
// Applying either writes exactly those texts and no other byte.
TEST(LibreOffice, SheetsValuesTypedLaterStayText) {
    const std::string soffice = Soffice();
    const std::string python = UnoPython();
    if (soffice.empty() || python.empty())
        GTEST_SKIP() << "LibreOffice (soffice) or its Python bridge (uno) is missing";
    const fixture::TempDir dir;
    const ByteVector beforeA = fixture::TypicalWave(fixture::TypicalCart(2100)
                                                        .text(cart::kTitle, "Caf\xE9 \xDC")
                                                        .text(cart::kCutID, "")
                                                        .text(cart::kStartDate, "")
                                                        .text(cart::kStartTime, ""));
    const ByteVector beforeB = fixture::TypicalWave(fixture::TypicalCart(2100));
    const std::string a = dir.write("a.wav", beforeA).string();
    const std::string b = dir.write("b.wav", beforeB).string();
    const std::string sheet = dir.file("sheet.xlsx").string();
    ASSERT_EQ(RunCli({"show", "--xlsx", sheet, a, b}).status, 0);

    const std::string typing =
        "timeout 120 " + python + " " + REELMARKER_CALC_TYPING + " " + soffice + " " + dir.file("profile").string() +
        " " + sheet + " " + dir.file("typed.xlsx").string() + " " + dir.file("typed.csv").string() + " " + a +
        " cutId=00123 startTime=00:00:00 startDate=2024-01-02 2>" + dir.file("typing.err").string();
    ASSERT_EQ(std::system(typing.c_str()), 0) << ReadText(dir.file("typing.err"));

    const ByteVector expected =
        WithTexts(beforeA, {{cart::kCutID, "00123"}, {cart::kStartDate, "2024-01-02"}, {cart::kStartTime, "00:00:00"}});
    // Calc's CSV is Windows-1252 unless told otherwise.
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"apply", dir.file("typed.xlsx").string()},
             {"apply", "--csv-encoding=windows-1252", dir.file("typed.csv").string()}}) {
        SCOPED_TRACE(args.back());
        dir.write("a.wav", beforeA);
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, a + ": saved Cut ID, Start Date, Start Time\n" + b + ": nothing to change\n") << run.err;
        EXPECT_EQ(fixture::ReadFile(a), expected);
        EXPECT_EQ(fixture::ReadFile(b), beforeB);
    }
}

}  // namespace
