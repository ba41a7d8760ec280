// Fields `reelmarker-cli set` writes that the pages only show, read back
// through libsndfile, an independent reader.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/cli/CliRunner.h"
#include "tests/sndfile/LibsndfileFiles.h"
#include "tests/support/WaveBuilder.h"

namespace {

using sndfile_fixture::Text;

TEST(SetReadByLibsndfile, CutIdLevelReferenceTimersAndTagText) {
    fixture::TempDir dir;
    const auto path = dir.file("set.wav");
    sndfile_fixture::WriteOptions options;
    options.cart = sndfile_fixture::TypicalCartInfo();
    options.bext = sndfile_fixture::TypicalBroadcastInfo();
    sndfile_fixture::WriteWithLibsndfile(path, options);
    const SF_CART_INFO before = *sndfile_fixture::ReadWithLibsndfile(path).cart;

    const CliRun run = RunCli({"set", "--cut-id", "SAT-0815", "--level-reference", "-3", "--timer", "2=SEG:48000",
                               "--timer", "5=AUD:1", "--clear-timer", "1", "--tag-text", "<tag>", path.string()});
    ASSERT_EQ(run.status, 0) << run.err;

    const SF_CART_INFO after = *sndfile_fixture::ReadWithLibsndfile(path).cart;
    EXPECT_EQ(Text(after.cut_id), "SAT-0815");
    EXPECT_EQ(after.level_reference, -3);
    EXPECT_EQ(std::string(after.post_timers[0].usage, 4), std::string(4, '\0'));
    EXPECT_EQ(after.post_timers[0].value, 0);
    EXPECT_EQ(std::string(after.post_timers[1].usage, 4), std::string("SEG\0", 4));
    EXPECT_EQ(after.post_timers[1].value, 48000);
    EXPECT_EQ(std::string(after.post_timers[2].usage, 4), std::string(before.post_timers[2].usage, 4));
    EXPECT_EQ(after.post_timers[2].value, before.post_timers[2].value);
    EXPECT_EQ(std::string(after.post_timers[4].usage, 4), std::string("AUD\0", 4));
    EXPECT_EQ(after.post_timers[4].value, 1);
    // libsndfile reports the tag text's declared size; the new text ends at its first NUL.
    EXPECT_EQ(after.tag_text_size, before.tag_text_size);
    EXPECT_STREQ(after.tag_text, "<tag>");
    EXPECT_EQ(Text(after.title), Text(before.title));
}

}  // namespace
