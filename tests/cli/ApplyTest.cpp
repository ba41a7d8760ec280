// `reelmarker-cli show --csv` and `apply`: batch edits from JSON Lines and
// CSV, each row checked whole against its file before anything is written.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "tests/cli/CliRunner.h"
#include "tests/support/Unwritable.h"
#include "tests/support/WaveBuilder.h"
#include "wave/FieldCodecs.h"

namespace {

using fixture::ByteVector;
namespace cart = wave::cart;

constexpr std::size_t kCartData = 12 + 8 + 16 + 8 + 631 + 8;
constexpr const char* kHeader =
    "file,version,title,artist,cutId,clientId,category,classification,outCue,startDate,startTime,endDate,endTime,"
    "producerAppId,producerAppVersion,userDef,levelReference,timer1,timer2,timer3,timer4,timer5,timer6,timer7,"
    "timer8,url,tagText";

ByteVector CartOf(const ByteVector& file) { return ByteVector(file.begin() + kCartData, file.end()); }

struct ApplyFixture : testing::Test {
    std::string wave(const std::string& name,
                     const ByteVector& bytes = fixture::TypicalWave(fixture::TypicalCart(2100))) {
        return dir.write(name, bytes).string();
    }
    std::string edits(const std::string& name, const std::string& text) {
        std::ofstream(dir.file(name), std::ios::binary) << text;
        return dir.file(name).string();
    }
    fixture::TempDir dir;
};

std::int64_t ModifiedNanoseconds(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec;
}

TEST_F(ApplyFixture, ShowOutputFedBackWritesNothing) {
    const std::string a = wave("a.wav");
    // Fields a save would rewrite in another form: a date not zero-filled, a
    // timer usage with a NUL inside.
    const std::string b = wave(
        "b.wav",
        fixture::TypicalWave(
            fixture::TypicalCart(2100).text(cart::kStartDate, "2001-5-6").timer(4, std::string_view("M\0\0 ", 4), 9)));
    const ByteVector beforeA = fixture::ReadFile(a);
    const ByteVector beforeB = fixture::ReadFile(b);
    for (const char* form : {"--json", "--csv"}) {
        SCOPED_TRACE(form);
        const std::int64_t stamp = ModifiedNanoseconds(b);
        const std::string text = RunCli({"show", form, a, b}).out;
        const CliRun run = RunCli({"apply", edits("edits", text)});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, a + ": nothing to change\n" + b + ": nothing to change\n");
        EXPECT_EQ(fixture::ReadFile(a), beforeA);
        EXPECT_EQ(fixture::ReadFile(b), beforeB);
        EXPECT_EQ(ModifiedNanoseconds(b), stamp);  // not even the same bytes written again
    }
}

TEST_F(ApplyFixture, AFileTheUserMayOnlyReadTakesRowsThatChangeNothing) {
    const std::string a = wave("a.wav");
    const std::string text = RunCli({"show", "--json", a}).out;
    const fixture::Unwritable readOnly(a);
    if (!readOnly.Ok()) GTEST_SKIP() << "cannot make a file read-only here";
    const CliRun unchanged = RunCli({"apply", edits("same", text)});
    EXPECT_EQ(unchanged.status, 0) << unchanged.err;
    EXPECT_EQ(unchanged.out, a + ": nothing to change\n");

    const CliRun changed = RunCli({"apply", edits("edit.csv", "file,title\n" + a + ",New\n")});
    EXPECT_EQ(changed.status, 1);
    EXPECT_NE(changed.err.find("line 2: Unable to open file."), std::string::npos) << changed.err;
}

TEST_F(ApplyFixture, JsonEditsChangeOnlyTheKeysThatDiffer) {
    const std::string a = wave("a.wav");
    const ByteVector before = fixture::ReadFile(a);
    const std::string line = R"({"file":")" + a +
                             R"(","ok":true,"cart":{"size":2100,"title":"Evening Jingle","artist":"The Station Band",)"
                             R"("levelReference":-2,"userDef":"","url":null,"postTimers":[{"usage":"","value":0},null,)"
                             R"({"usage":"EOD ","value":7}],"tagText":"tag"}})";
    const CliRun run = RunCli({"apply", edits("e.jsonl", "\n" + line + "\n")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, a + ": saved Title, User Def, Level reference, Post timers, Tag text\n");
    const ByteVector after = CartOf(fixture::ReadFile(a));
    ByteVector expected = CartOf(before);
    wave::WriteTextField(expected, cart::kTitle, "Evening Jingle");
    wave::WriteTextField(expected, cart::kUserDef, "");
    std::fill_n(expected.begin() + 680, 4, 0xFF);
    expected[680] = 0xFE;
    std::fill_n(expected.begin() + 684, 8, 0);  // timer 1 cleared; timer 2 kept
    expected[684 + 16 + 4] = 7;
    std::fill_n(expected.begin() + 684 + 16 + 5, 3, 0);
    wave::WriteTextField(expected, {2048, 52}, "tag");
    EXPECT_EQ(after, expected);
}

TEST_F(ApplyFixture, ARefusedRowWritesNothingAndNamesLineColumnAndLimit) {
    const std::string a = wave("a.wav");
    const std::string b = wave("b.wav");
    const std::string c = wave("c.wav");
    const std::string d = wave("d.wav");
    const std::string f = wave("f.wav");
    const std::string g = wave("g.wav");
    const ByteVector before = fixture::ReadFile(a);
    auto row = [](const std::string& file, const std::string& cart) {
        return R"({"file":")" + file + R"(","cart":{)" + cart + "}}\n";
    };
    const std::string text = row(a, R"("artist":"ok","title":")" + std::string(65, 't') + "\"") +
                             row(b, R"("offset":12,"title":"fine")") + row(c, R"("title":"Changed")") +
                             row(c, R"("title":"Again")") + row(d, R"("colour":"red")") + "{not json\n" +
                             row(f, R"("tagText":")" + std::string(53, 'x') + "\"") +
                             row(g, R"("postTimers":[{"usage":"TOOLONG","value":1}])");
    const CliRun run = RunCli({"apply", edits("e.jsonl", text)});
    EXPECT_EQ(run.status, 1);
    const std::string e = edits("e.jsonl", text);
    EXPECT_EQ(run.err,
              "reelmarker-cli: " + a + ": line 1: column title: the text is 65 bytes long; at most 64 bytes fit\n" +
                  "reelmarker-cli: " + b + ": line 2: column offset: cannot be written; it differs from the file's\n" +
                  "reelmarker-cli: " + c + ": line 4: this file was already named on line 3\n" +
                  "reelmarker-cli: " + d + ": line 5: column colour: no such cart field\n" + "reelmarker-cli: " + e +
                  ": line 6: not JSON (Missing a name for object member.)\n" + "reelmarker-cli: " + f +
                  ": line 7: column tagText: Tag text is 53 bytes long; the field holds at most 52 bytes. (--grow "
                  "enlarges the chunk)\n" +
                  "reelmarker-cli: " + g + ": line 8: column timer1: the usage code must be 1 to 4 characters\n");
    EXPECT_EQ(run.out, c + ": saved Title\n");
    EXPECT_EQ(fixture::ReadFile(a), before);
    EXPECT_EQ(fixture::ReadFile(b), before);
}

TEST_F(ApplyFixture, CsvCellsMayHoldQuotesCommasAndLineBreaks) {
    const std::string a = wave("a.wav");
    const std::string b = wave("b.wav");
    const ByteVector before = fixture::ReadFile(b);
    const std::string text =
        "\xEF\xBB\xBF"
        "file,title,outCue,timer8,levelReference\r\n" +
        a + ",\"Say \"\"hi\"\", all\r\nnext line\",,AUD:99,4294967295\r\n" + b + ",,,,\n\n" + b + ",\"x\"y,,,\n";
    const CliRun run = RunCli({"apply", edits("e.csv", text)});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, a + ": saved Title, Level reference, Post timers\n" + b + ": nothing to change\n");
    const std::string e = dir.file("e.csv").string();
    EXPECT_EQ(run.err, "reelmarker-cli: " + e + ": line 6: text follows the closing quote of a cell\n");
    const ByteVector after = CartOf(fixture::ReadFile(a));
    EXPECT_EQ(wave::ReadTextField(after, cart::kTitle), "Say \"hi\", all\r\nnext line");
    EXPECT_EQ(wave::ReadTextField(after, cart::kOutCue), "fade");  // an empty cell leaves its field
    EXPECT_EQ(wave::ReadU32(after, cart::kLevelReference), 4294967295u);
    EXPECT_EQ(wave::ReadTextField(after, {684 + 56, 4}), "AUD");
    EXPECT_EQ(wave::ReadU32(after, 684 + 60), 99u);
    EXPECT_EQ(fixture::ReadFile(b), before);

    const CliRun badHeader = RunCli({"apply", edits("h.csv", "file,colour\n" + a + ",red\n")});
    EXPECT_EQ(badHeader.status, 1);
    EXPECT_EQ(badHeader.err,
              "reelmarker-cli: " + dir.file("h.csv").string() + ": line 1: column colour: no such cart field\n");
    const CliRun unclosed = RunCli({"apply", edits("u.csv", "file,title\n" + a + ",\"open\n\n")});
    EXPECT_EQ(unclosed.err,
              "reelmarker-cli: " + dir.file("u.csv").string() + ": line 2: a quoted cell is not closed\n");
}

TEST_F(ApplyFixture, ShowCsvQuotesWhatNeedsItAndLeavesUnsetTimersEmpty) {
    const std::string a =
        wave("a,1.wav", fixture::TypicalWave(fixture::TypicalCart(2100).text(cart::kTitle, "say \"x\"")));
    const std::string bad = wave("bad.wav", {'n', 'o'});
    const CliRun run = RunCli({"show", "--csv", a, bad});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, std::string(kHeader) + "\r\n\"" + a +
                           "\",0101,\"say \"\"x\"\"\",The Station Band,CUT-0042,Station One,JINGLE,ID,fade,2001-05-06,"
                           "07:08:09,2099-12-31,23:59:59,Reelmarker tests,1.0,user text,32768,MRK :44100,SEC1:88200,"
                           "EOD :132300,,,,,,http://www.example.com/jingle,tag text\r\n");
    EXPECT_EQ(run.err, "reelmarker-cli: " + bad + ": This file is not a wave file.\n");
    EXPECT_EQ(RunCli({"show", "--csv", "--json", a}).status, 2);
}

TEST_F(ApplyFixture, AnUnsetTimerIsAnEmptyCellWhateverItsValue) {
    // Some writers store 0xFFFFFFFF in the value of a timer they leave unset.
    const std::string a =
        wave("a.wav",
             fixture::TypicalWave(fixture::TypicalCart(2100).timer(3, std::string_view("\0\0\0\0", 4), 0xFFFFFFFF)));
    const ByteVector before = fixture::ReadFile(a);
    const std::string csv = RunCli({"show", "--csv", a}).out;
    EXPECT_NE(csv.find(",EOD :132300,,,,,,http"), std::string::npos) << csv;
    const std::string cleared =
        R"({"file":")" + a + R"(","cart":{"postTimers":[null,null,null,{"usage":"","value":0}]}})";
    const CliRun run = RunCli({"apply", edits("e.jsonl", cleared + "\n")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, a + ": nothing to change\n");
    EXPECT_EQ(fixture::ReadFile(a), before);
}

TEST_F(ApplyFixture, ImpossibleDatesAreRefusedWhileStoredOnesAreKept) {
    const std::string a =
        wave("a.wav", fixture::TypicalWave(fixture::TypicalCart(2100).text(cart::kEndDate, "2026-02-31")));
    const ByteVector before = fixture::ReadFile(a);
    const CliRun refused = RunCli({"apply", edits("e.csv", "file,title,startDate\n" + a + ",New,2020-04-31\n")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "reelmarker-cli: " + a + ": line 2: column startDate: April 2020 has 30 days\n");
    EXPECT_EQ(fixture::ReadFile(a), before);

    // The stored date, given back as it is, is left alone.
    const CliRun kept = RunCli({"apply", edits("k.csv", "file,title,endDate\n" + a + ",New,2026-02-31\n")});
    EXPECT_EQ(kept.status, 0) << kept.err;
    EXPECT_EQ(kept.out, a + ": saved Title\n");
    EXPECT_EQ(wave::ReadTextField(CartOf(fixture::ReadFile(a)), cart::kEndDate), "2026-02-31");
}

TEST_F(ApplyFixture, DryRunChecksEveryRowAndWritesNothing) {
    const std::string a = wave("a.wav");
    const ByteVector before = fixture::ReadFile(a);
    const CliRun run = RunCli({"apply", "--dry-run", edits("e.csv", "file,cutId\n" + a + ",CUT-9\n")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, a + ": would write Cut ID; nothing written\n");
    EXPECT_EQ(fixture::ReadFile(a), before);
    EXPECT_EQ(RunCli({"apply", dir.file("missing.csv").string()}).status, 1);
}

}  // namespace

// Sets the soft limit on open descriptors while it lives; children spawned
// meanwhile inherit it.
class OpenFileLimit {
public:
    explicit OpenFileLimit(rlim_t files) {
        ::getrlimit(RLIMIT_NOFILE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = files;
        ::setrlimit(RLIMIT_NOFILE, &lowered);
    }
    ~OpenFileLimit() { ::setrlimit(RLIMIT_NOFILE, &saved_); }

private:
    rlimit saved_{};
};

TEST_F(ApplyFixture, ALongBatchSavesEveryFileAndReportsInRowOrderWithFewDescriptors) {
    // Saves are synced while later rows are read: the report must still
    // follow the rows, and files waiting for their sync must neither leak
    // nor outnumber the descriptors the process may hold.
    std::string text = "file,title\n";
    std::string expected;
    std::vector<std::string> files;
    for (int i = 0; i < 150; ++i) {
        // Not "f" + number: GCC 12 at -O3 warns falsely (-Wrestrict) on text
        // put in front of a temporary string.
        files.push_back(wave(std::to_string(i) + ".wav"));
        const bool unchanged = i % 7 == 3;
        text += files.back() + (unchanged ? ",\n" : ",Title " + std::to_string(i) + "\n");
        expected += files.back() + (unchanged ? ": nothing to change\n" : ": saved Title\n");
    }
    text += files.front() + ",again\n";
    const std::string path = edits("many.csv", text);
    CliRun run;
    {
        const OpenFileLimit limit(24);
        run = RunCli({"apply", path});
    }
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.err, "reelmarker-cli: " + files.front() + ": line 152: this file was already named on line 2\n");
    for (const std::size_t i : {0U, 1U, 148U, 149U}) {
        EXPECT_NE(RunCli({"show", "--csv", files[i]}).out.find("Title " + std::to_string(i)), std::string::npos) << i;
    }
}

TEST_F(ApplyFixture, AFileNamedAgainThroughAnotherNameIsRefused) {
    const std::string a = wave("a.wav");
    const std::string link = dir.file("hard-link.wav").string();
    ASSERT_EQ(::link(a.c_str(), link.c_str()), 0);
    const std::string text = "file,title\n" + a + ",First\n" + link + ",Second\n";
    const CliRun run = RunCli({"apply", edits("twice.csv", text)});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, a + ": saved Title\n");
    EXPECT_EQ(run.err, "reelmarker-cli: " + link + ": line 3: this file was already named on line 2\n");
}

TEST_F(ApplyFixture, ARowGivingAFieldOrItsFileTwiceIsRefusedWhole) {
    // Which of two values counts would be a guess; taking the first that
    // differs from the file's would save only part of the row.
    const std::string a = wave("a.wav");
    const std::string b = wave("b.wav");
    const ByteVector before = fixture::ReadFile(a);
    const std::string json = R"({"file":")" + a + R"(","cart":{"title":"One","title":"Two"}})" + "\n" + R"({"file":")" +
                             a + R"(","file":")" + b + R"(","cart":{"title":"Three"}})" + "\n";
    const CliRun jsonRun = RunCli({"apply", edits("twice.jsonl", json)});
    EXPECT_EQ(jsonRun.status, 1);
    EXPECT_EQ(jsonRun.out, "");
    EXPECT_EQ(jsonRun.err, "reelmarker-cli: " + a + ": line 1: column title: given twice\n" + "reelmarker-cli: " + a +
                               ": line 2: column file: given twice\n");
    const CliRun csvRun = RunCli({"apply", edits("twice.csv", "file,title,title\n" + a + ",One,Two\n")});
    EXPECT_EQ(csvRun.status, 1);
    EXPECT_EQ(csvRun.err,
              "reelmarker-cli: " + dir.file("twice.csv").string() + ": line 1: column title: given twice\n");
    EXPECT_EQ(fixture::ReadFile(a), before);
    EXPECT_EQ(fixture::ReadFile(b), before);
}
