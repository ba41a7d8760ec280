// `reelmarker-cli show`: the JSON contract, the failure lines and the text
// report.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/cli/CliRunner.h"
#include "tests/support/WaveBuilder.h"

namespace {

using fixture::ByteVector;
using fixture::WaveBuilder;
using Json = nlohmann::json;

std::vector<Json> JsonLines(const std::string& out) {
    std::vector<Json> objects;
    std::size_t start = 0;
    for (std::size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1) {
        objects.push_back(Json::parse(out.substr(start, end - start)));
    }
    return objects;
}

TEST(Show, JsonCarriesEveryFieldWithTheContractsKeys) {
    fixture::TempDir dir;
    fixture::ChunkData cart = fixture::TypicalCart(2064);
    cart.text(wave::cart::kTitle, "Caf\xE9 \x80").raw(2048, std::string_view("tag\0after", 9));
    ByteVector block = fixture::PcmFormat();
    block[12] = block[13] = 0xFF;
    block[14] = block[15] = 0xFF;  // as MPEG files store it: a bit count, never negative
    const auto path = dir.write(
        "a.wav", WaveBuilder().chunk("fmt ", block).chunk("bext", fixture::TypicalBext()).chunk("cart", cart).bytes());

    const CliRun run = RunCli({"show", "--json", path.string()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    const std::vector<Json> lines = JsonLines(run.out);
    ASSERT_EQ(lines.size(), 1u);
    const Json& j = lines[0];
    EXPECT_EQ(run.out.find("{\"file\":"), 0u);
    EXPECT_LT(run.out.find("\"ok\""), run.out.find("\"error\""));
    EXPECT_LT(run.out.find("\"bext\""), run.out.find("\"cart\""));
    EXPECT_EQ(j["file"], path.string());
    EXPECT_EQ(j["ok"], true);
    EXPECT_TRUE(j["error"].is_null());
    EXPECT_EQ(j["format"], Json::parse(R"({"formatTag":1,"formatName":"PCM","channels":2,"sampleRate":44100,
        "avgBytesPerSec":176400,"blockAlign":-1,"bitsPerSample":65535})"));
    EXPECT_EQ(j["bext"]["originatorReference"], "REF-1");
    EXPECT_EQ(j["bext"]["codingHistory"], "A=PCM,F=44100,W=16,M=stereo\r\n");

    const Json& c = j["cart"];
    EXPECT_EQ(c.size(), 22u);
    EXPECT_EQ(c["offset"], 12 + 8 + 16 + 8 + 631 + 8);
    EXPECT_EQ(c["size"], 2064);
    EXPECT_EQ(c["title"], "Café €");
    EXPECT_EQ(c["cutId"], "CUT-0042");
    EXPECT_EQ(c["startDate"], "2001-05-06");
    EXPECT_EQ(c["endTime"], "23:59:59");
    EXPECT_EQ(c["levelReference"], 32768);
    EXPECT_EQ(c["postTimers"][0], Json::parse(R"({"usage":"MRK ","value":44100})"));
    EXPECT_EQ(c["postTimers"][7]["usage"], "");  // unset: four NULs
    EXPECT_EQ(c["postTimerLines"][0], "1 - MRK     0 days, 00:00:01.00");
    EXPECT_EQ(c["postTimerLines"][1], "2 - SEC1    0 days, 00:00:02.00");
    EXPECT_EQ(c["postTimerLines"][7], "8 - Unset");
    EXPECT_EQ(c["url"], "http://www.example.com/jingle");
    EXPECT_EQ(c["tagText"], "tag");
}

struct FailureCase {
    const char* name;
    ByteVector file;
    const char* text;
    const char* caption;
    const char* icon;
    bool formatShown;
    bool bextShown;
};

TEST(Show, EachFailureRowIsAnErrorObjectAndOneStderrLine) {
    const ByteVector pcm = fixture::PcmFormat();
    const std::vector<FailureCase> cases = {
        {"not_wave", {'x'}, "This file is not a wave file.", "Reelmarker", "error", false, false},
        {"no_fmt", WaveBuilder().bytes(), "Invalid wave file.\nWave header not found.", "Reelmarker", "error", false,
         false},
        {"data_first", WaveBuilder().chunk("fmt ", pcm).chunk("data", {}).bytes(),
         "This is a valid wave file\nbut cart chunk not found.", "Reelmarker", "error", true, false},
        {"bext_then_data",
         WaveBuilder().chunk("fmt ", pcm).chunk("bext", fixture::TypicalBext()).chunk("data", {}).bytes(),
         "Cart chunk NOT found.\n\nNOT EDITABLE", "Warning", "exclamation", true, true},
        {"empty_cart", WaveBuilder().chunk("fmt ", pcm).chunk("cart", {}).bytes(), "Invalid cart chunk header.",
         "Warning", "error", true, false},
    };
    fixture::TempDir dir;
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = dir.write(std::string(c.name) + ".wav", c.file);
        const CliRun run = RunCli({"show", "--json", path.string()});
        EXPECT_EQ(run.status, 1);
        const Json j = JsonLines(run.out).at(0);
        EXPECT_EQ(j["ok"], false);
        EXPECT_EQ(j["error"], (Json{{"text", c.text}, {"caption", c.caption}, {"icon", c.icon}}));
        EXPECT_EQ(j["format"].is_null(), !c.formatShown);
        EXPECT_EQ(j["bext"].is_null(), !c.bextShown);
        EXPECT_TRUE(j["cart"].is_null());
        // Each run of line breaks becomes one space.
        std::string oneLine;
        for (std::size_t i = 0; c.text[i] != '\0'; ++i) {
            if (c.text[i] != '\n')
                oneLine += c.text[i];
            else if (i == 0 || c.text[i - 1] != '\n')
                oneLine += ' ';
        }
        EXPECT_EQ(run.err, "reelmarker-cli: " + path.string() + ": " + oneLine + "\n");
    }
}

TEST(Show, UnopenableFileUsesTheToolsNameAndTheOthersStillShow) {
    fixture::TempDir dir;
    const auto good = dir.write("good.wav", fixture::TypicalWave());
    const auto missing = dir.file("missing.wav");
    const CliRun run = RunCli({"show", "--json", missing.string(), good.string()});
    EXPECT_EQ(run.status, 1);
    const std::vector<Json> lines = JsonLines(run.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]["error"]["caption"], "reelmarker-cli");
    EXPECT_EQ(lines[0]["error"]["icon"], "none");
    EXPECT_TRUE(lines[0]["format"].is_null());
    EXPECT_EQ(lines[1]["ok"], true);
    EXPECT_EQ(run.err, "reelmarker-cli: " + missing.string() + ": Unable to open file. Make sure it is not in use.\n");
}

TEST(Show, AbsentUrlAreaIsNull) {
    fixture::TempDir dir;
    const auto path = dir.write("a.wav", fixture::TypicalWave(fixture::TypicalCart(1024)));
    const Json j = JsonLines(RunCli({"show", "--json", path.string()}).out).at(0);
    EXPECT_TRUE(j["cart"]["url"].is_null());
    EXPECT_EQ(j["cart"]["tagText"], "");
}

TEST(Show, TextReportIsLabelledAsThePages) {
    fixture::TempDir dir;
    const auto path = dir.write("a.wav", fixture::TypicalWave());
    const CliRun run = RunCli({"show", path.string()});
    EXPECT_EQ(run.status, 0);
    for (const char* expected :
         {"Fomat Tag:              PCM\n", "Originator Reference:   REF-1\n", "Classification          ID\n",
          "Start Date:             2001-05-06\n", "PostTimer:              1 - MRK     0 days, 00:00:01.00\n",
          "                        2 - SEC1    0 days, 00:00:02.00\n",
          "URL:                    http://www.example.com/jingle\n"}) {
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected;
    }
}

TEST(Show, TextReportShowsDatesAndTimesAsStored) {
    fixture::TempDir dir;
    fixture::ChunkData cart = fixture::TypicalCart();
    cart.text(wave::cart::kStartDate, "2001-5-6")
        .text(wave::cart::kEndDate, "1900/01/01")
        .text(wave::cart::kEndTime, "noon");
    const auto path = dir.write("a.wav", fixture::TypicalWave(cart));
    const std::string out = RunCli({"show", path.string()}).out;
    for (const char* expected : {"Start Date:             2001-5-6\n", "End Date:               1900/01/01\n",
                                 "End Time:               noon\n", "Start Time:             07:08:09\n"}) {
        EXPECT_NE(out.find(expected), std::string::npos) << expected;
    }
}

// The exact bytes of a report: control characters escaped with lowercase
// hex, other characters as UTF-8, a path that is not UTF-8 repaired with
// U+FFFD, a usage code with NULs among its characters kept.
TEST(Show, JsonBytesArePinned) {
    fixture::TempDir dir;
    fixture::ChunkData cart = fixture::TypicalCart();
    cart.text(wave::cart::kTitle, "a\x1F\x0B\t\"\\/\x7F\xE9\x81").timer(2, std::string_view("M\0\0 ", 4), 5);
    const auto path = dir.write("bad\xFF.wav", fixture::TypicalWave(cart));
    const std::string shown = (dir.path() / "bad\xEF\xBF\xBD.wav").string();
    const CliRun run = RunCli({"show", "--json", path.string()});
    EXPECT_EQ(
        run.out,
        "{\"file\":\"" + shown +
            R"(","ok":true,"error":null,)"
            R"("format":{"formatTag":1,"formatName":"PCM","channels":2,"sampleRate":44100,"avgBytesPerSec":176400,"blockAlign":4,"bitsPerSample":16},)"
            R"("bext":{"description":"A short tone","originator":"Reelmarker","originatorReference":"REF-1","originationDate":"2024-01-02","originationTime":"10:11:12","codingHistory":"A=PCM,F=44100,W=16,M=stereo\r\n"},)"
            R"("cart":{"offset":683,"size":2048,"version":"0101","title":"a\u001f\u000b\t\"\\/)"
            "\x7F\xC3\xA9\xC2\x81"
            R"(","artist":"The Station Band","cutId":"CUT-0042","clientId":"Station One","category":"JINGLE","classification":"ID","outCue":"fade",)"
            R"("startDate":"2001-05-06","startTime":"07:08:09","endDate":"2099-12-31","endTime":"23:59:59","producerAppId":"Reelmarker tests",)"
            R"("producerAppVersion":"1.0","userDef":"user text","levelReference":32768,"postTimers":[{"usage":"MRK ","value":44100},)"
            R"({"usage":"SEC1","value":88200},{"usage":"M\u0000\u0000 ","value":5},{"usage":"","value":0},{"usage":"","value":0},{"usage":"","value":0},)"
            R"({"usage":"","value":0},{"usage":"","value":0}],"postTimerLines":["1 - MRK     0 days, 00:00:01.00","2 - SEC1    0 days, 00:00:02.00",)"
            R"("Working on it","4 - Unset","5 - Unset","6 - Unset","7 - Unset","8 - Unset"],"url":"http://www.example.com/jingle","tagText":""}})"
            "\n");
}

TEST(Show, UsageErrorsExitWithTwo) {
    EXPECT_EQ(RunCli({}).status, 2);
    EXPECT_EQ(RunCli({"show"}).status, 2);
    EXPECT_EQ(RunCli({"show", "--xml", "a.wav"}).status, 2);
    EXPECT_EQ(RunCli({"play", "a.wav"}).status, 2);
    EXPECT_EQ(RunCli({"--help"}).status, 0);
}

}  // namespace
