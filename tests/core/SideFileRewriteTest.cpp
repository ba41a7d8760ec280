// Rewriting a file beside itself: the new file holds exactly the pieces and
// keeps the old one's access, and no failure leaves a mix or a stray file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <utility>

#include "tests/support/WaveBuilder.h"
#include "wave/SideFileRewrite.h"

namespace {

using fixture::ByteVector;
using wave::OldFileRange;
using wave::RewriteCalls;
namespace fs = std::filesystem;

enum class Step { Create, Read, Write, Copy, Owner, SetAttribute, Mode, SyncFile, Close, Rename, SyncFolder, Remove };

// The system's calls, with chosen steps failing (a copy "failing" with 0
// returns no bytes, as some file systems do), transfers cut to `limit` bytes,
// and a hook run before the first write.
class ScriptedCalls : public RewriteCalls {
public:
    std::map<Step, int> failWith;
    std::size_t limit = SIZE_MAX;
    std::function<void()> beforeWrite;
    std::vector<std::string> created;
    std::size_t largestRead = 0;
    std::vector<std::int64_t> copiedFrom;

    int CreateFile(int dir, const std::string& name) override {
        created.push_back(name);
        return Fails(Step::Create) ? -1 : RewriteCalls::CreateFile(dir, name);
    }
    ssize_t ReadAt(int fd, void* to, std::size_t size, std::int64_t at) override {
        largestRead = std::max(largestRead, size);
        return Fails(Step::Read) ? -1 : RewriteCalls::ReadAt(fd, to, size, at);
    }
    ssize_t WriteAt(int fd, const void* from, std::size_t size, std::int64_t at) override {
        if (beforeWrite) std::exchange(beforeWrite, {})();
        return Fails(Step::Write) ? -1 : RewriteCalls::WriteAt(fd, from, std::min(size, limit), at);
    }
    ssize_t CopyRange(int from, std::int64_t& fromAt, int to, std::int64_t& toAt, std::size_t size) override {
        copiedFrom.push_back(fromAt);
        if (Fails(Step::Copy)) return errno == 0 ? 0 : -1;
        return RewriteCalls::CopyRange(from, fromAt, to, toAt, std::min(size, limit));
    }
    int ChangeOwner(int fd, uid_t u, gid_t g) override {
        return Fails(Step::Owner) ? -1 : RewriteCalls::ChangeOwner(fd, u, g);
    }
    int ChangeMode(int fd, mode_t mode) override { return Fails(Step::Mode) ? -1 : RewriteCalls::ChangeMode(fd, mode); }
    int SetAttribute(int fd, const char* name, const void* value, std::size_t size) override {
        return Fails(Step::SetAttribute) ? -1 : RewriteCalls::SetAttribute(fd, name, value, size);
    }
    int SyncFile(int fd) override { return Fails(Step::SyncFile) ? -1 : RewriteCalls::SyncFile(fd); }
    int CloseFile(int fd) override { return RewriteCalls::CloseFile(fd) != 0 || Fails(Step::Close) ? -1 : 0; }
    int Rename(int dir, const std::string& from, const std::string& to) override {
        return Fails(Step::Rename) ? -1 : RewriteCalls::Rename(dir, from, to);
    }
    int SyncFolder(int dir) override { return Fails(Step::SyncFolder) ? -1 : RewriteCalls::SyncFolder(dir); }
    int Remove(int dir, const std::string& name) override {
        return Fails(Step::Remove) ? -1 : RewriteCalls::Remove(dir, name);
    }

private:
    bool Fails(Step step) const {
        const auto found = failWith.find(step);
        if (found != failWith.end()) errno = found->second;
        return found != failWith.end();
    }
};

ByteVector Counting(std::size_t size) {
    ByteVector bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return bytes;
}

// A file of 10000 bytes alone in a folder, open for reading, and a rewrite
// of it from new bytes and two of its ranges.
struct OldFile {
    explicit OldFile(const std::string& name = "take.wav")
        : bytes(Counting(10000)), path(dir.write(name, bytes)), fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~OldFile() { ::close(fd); }

    wave::RewriteOutcome Rewrite(RewriteCalls& calls = wave::SystemRewriteCalls(),
                                 const wave::RewriteProgress& progress = {}) const {
        const wave::RewritePiece pieces[] = {ByteVector{'N', 'E', 'W'}, OldFileRange{100, 5000}, ByteVector{},
                                             OldFileRange{9000, 1000}, OldFileRange{0, 0}};
        return wave::RewriteBeside(fd, path.string(), pieces, calls, progress);
    }
    ByteVector Rewritten() const {
        ByteVector expected{'N', 'E', 'W'};
        expected.insert(expected.end(), bytes.begin() + 100, bytes.begin() + 5100);
        expected.insert(expected.end(), bytes.begin() + 9000, bytes.end());
        return expected;
    }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path())) names.insert(entry.path().filename().string());
        return names;
    }
    bool AddAttribute() const { return ::setxattr(path.c_str(), "user.test", "kept", 4, 0) == 0; }

    fixture::TempDir dir;
    ByteVector bytes;
    fs::path path;
    int fd;
};

const std::set<std::string> kOnlyTheFile{"take.wav"};

TEST(SideFileRewrite, NewFileHoldsExactlyThePiecesAndTheOldOneIsNotWritten) {
    const OldFile old;
    std::vector<std::uint64_t> done;
    const auto outcome = old.Rewrite(wave::SystemRewriteCalls(), [&done](std::uint64_t bytes, std::uint64_t total) {
        EXPECT_EQ(total, 6003u);
        done.push_back(bytes);
    });
    ASSERT_TRUE(outcome.ok && outcome.replaced) << outcome.error;
    EXPECT_EQ(fixture::ReadFile(old.path), old.Rewritten());
    EXPECT_EQ(old.Names(), kOnlyTheFile);
    EXPECT_TRUE(std::ranges::is_sorted(done) && done.back() == 6003u);
    ByteVector stillOld(old.bytes.size());
    EXPECT_EQ(::pread(old.fd, stillOld.data(), stillOld.size(), 0), 10000);
    EXPECT_EQ(stillOld, old.bytes);
}

TEST(SideFileRewrite, KeepsModeOwnerGroupExtendedAttributesAndAcl) {
    const OldFile old;
    const bool root = ::geteuid() == 0;
    ASSERT_TRUE(!root || ::chown(old.path.c_str(), 1234, 5678) == 0);
    ASSERT_EQ(::chmod(old.path.c_str(), 0640), 0);
    // As the kernel keeps it: user_obj rw, user 1000 r, group_obj r, mask r, other none.
    ByteVector acl;
    fixture::PutLE(acl, 2, 4);
    for (const auto& [tag, permissions] : {std::pair(0x01u, 6u), {0x02u, 4u}, {0x04u, 4u}, {0x10u, 4u}, {0x20u, 0u}}) {
        fixture::PutLE(acl, tag | permissions << 16, 4);
        fixture::PutLE(acl, tag == 0x02u ? 1000u : ~0u, 4);
    }
    const bool acls = ::setxattr(old.path.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) == 0;
    const bool attributes = old.AddAttribute();
    ASSERT_TRUE(old.Rewrite().ok);

    struct stat after {};
    ASSERT_EQ(::stat(old.path.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_TRUE(!root || (after.st_uid == 1234u && after.st_gid == 5678u));
    ByteVector value(64);
    EXPECT_TRUE(!attributes || ::getxattr(old.path.c_str(), "user.test", value.data(), value.size()) == 4);
    const ssize_t aclSize = ::getxattr(old.path.c_str(), "system.posix_acl_access", value.data(), value.size());
    value.resize(static_cast<std::size_t>(std::max<ssize_t>(aclSize, 0)));
    EXPECT_EQ(value, acls ? acl : ByteVector{});
}

TEST(SideFileRewrite, EachFailingStepLeavesTheOldFileAndNothingBesideIt) {
    const std::pair<std::map<Step, int>, std::string> cases[] = {
        {{{Step::Create, EACCES}}, "could not create the new file in "},
        {{{Step::Write, ENOSPC}}, "could not write the new file: No space left on device"},
        {{{Step::Copy, EIO}}, "could not copy into the new file: Input/output error"},
        {{{Step::Copy, EXDEV}, {Step::Read, EIO}}, "could not read the file: Input/output error"},
        {{{Step::Owner, EIO}}, "could not give the new file the file's owner: Input/output error"},
        {{{Step::SetAttribute, ENOSPC}}, "could not give the new file the extended attribute user.test"},
        {{{Step::Mode, EIO}}, "could not give the new file the file's permissions"},
        {{{Step::SyncFile, EIO}}, "could not sync the new file to disk: Input/output error"},
        {{{Step::Close, EIO}}, "could not close the new file: Input/output error"},
        {{{Step::Rename, EBUSY}}, "could not replace the file with the new one: Device or resource busy"},
        {{{Step::Write, ENOSPC}, {Step::Remove, EACCES}}, "could not write the new file: No space left on device"},
    };
    for (const auto& [failWith, says] : cases) {
        SCOPED_TRACE(says);
        const OldFile old;
        if (!old.AddAttribute() && failWith.contains(Step::SetAttribute)) continue;
        ScriptedCalls calls;
        calls.failWith = failWith;
        const wave::RewriteOutcome outcome = old.Rewrite(calls);
        EXPECT_FALSE(outcome.ok || outcome.replaced);
        EXPECT_TRUE(outcome.error.starts_with(says) && outcome.error.ends_with("; the file is unchanged"))
            << outcome.error;
        EXPECT_EQ(fixture::ReadFile(old.path), old.bytes);
        if (!failWith.contains(Step::Remove)) {
            EXPECT_EQ(old.Names(), kOnlyTheFile);
            continue;
        }
        // A new file that could not be removed is named, for the user to remove.
        const std::string left = calls.created.at(0);
        EXPECT_TRUE(left.starts_with(".take.wav.reelmarker-") && old.Names().contains(left));
        EXPECT_NE(outcome.error.find("; the new file " + old.dir.file(left).string() +
                                     " could not be removed: Permission denied"),
                  std::string::npos);
    }
}

TEST(SideFileRewrite, FolderSyncFailureAfterTheRenameDoesNotClaimTheFileUnchanged) {
    const OldFile old;
    ScriptedCalls calls;
    calls.failWith = {{Step::SyncFolder, EIO}};
    const wave::RewriteOutcome outcome = old.Rewrite(calls);
    EXPECT_TRUE(!outcome.ok && outcome.replaced);
    EXPECT_EQ(outcome.error,
              "the file was replaced, but its folder could not be synced to disk: Input/output error; the change "
              "may not survive a power cut");
    EXPECT_EQ(fixture::ReadFile(old.path), old.Rewritten());
}

TEST(SideFileRewrite, WhatTheSystemWillNotLetItKeepIsNoFailureButLendsNoRights) {
    for (const int refusal : {EPERM, ENOTSUP}) {
        const OldFile old;
        const bool root = ::geteuid() == 0;
        ASSERT_TRUE(!root || ::chown(old.path.c_str(), 1234, 5678) == 0);
        ASSERT_EQ(::chmod(old.path.c_str(), 06750), 0);
        old.AddAttribute();
        ScriptedCalls calls;
        calls.failWith = {{Step::Owner, EPERM}, {Step::SetAttribute, refusal}};
        ASSERT_TRUE(old.Rewrite(calls).ok);
        EXPECT_EQ(fixture::ReadFile(old.path), old.Rewritten());
        // Now owned by the rewriter, the file must not run as that user or group.
        struct stat after {};
        EXPECT_TRUE(::stat(old.path.c_str(), &after) == 0 && (!root || (after.st_mode & 07777) == 0750u));
    }
}

TEST(SideFileRewrite, CopiesWholeWhenCopyIsRefusedOrShort) {
    // 0: the copy returns no bytes; -1: copies and writes move fewer bytes than asked.
    for (const int refusal : {EXDEV, ENOSYS, EOPNOTSUPP, EINVAL, 0, -1}) {
        const OldFile old;
        ScriptedCalls calls;
        if (refusal >= 0) calls.failWith = {{Step::Copy, refusal}};
        if (refusal < 0) calls.limit = 999;
        ASSERT_TRUE(old.Rewrite(calls).ok) << refusal;
        EXPECT_EQ(fixture::ReadFile(old.path), old.Rewritten()) << refusal;
    }
}

TEST(SideFileRewrite, RangesPastTheEndFailRatherThanReadAsZeros) {
    const OldFile old;
    for (const OldFileRange range :
         {OldFileRange{9000, 1001}, OldFileRange{-1, 10}, OldFileRange{1, UINT64_MAX}, OldFileRange{10001, 0}}) {
        ScriptedCalls calls;
        const wave::RewritePiece pieces[] = {ByteVector{1}, range};
        const wave::RewriteOutcome outcome = wave::RewriteBeside(old.fd, old.path.string(), pieces, calls);
        EXPECT_NE(outcome.error.find("runs past the end of the file, which holds 10000 bytes"), std::string::npos);
        EXPECT_TRUE(calls.created.empty());
    }
    // Shortened by another program while it is copied.
    ScriptedCalls calls;
    calls.beforeWrite = [&old] { fs::resize_file(old.path, 5000); };
    EXPECT_TRUE(old.Rewrite(calls).error.starts_with("the file ends at byte 5000, before the end of a range"));
    EXPECT_EQ(old.Names(), kOnlyTheFile);
}

TEST(SideFileRewrite, RefusesAFileWhoseNameNoLongerLeadsToItAlone) {
    const OldFile old;
    ASSERT_EQ(::link(old.path.c_str(), old.dir.file("other.wav").c_str()), 0);
    ScriptedCalls calls;
    EXPECT_EQ(old.Rewrite(calls).error, "the file has 2 hard links; a rewrite would split them; the file is unchanged");
    EXPECT_TRUE(calls.created.empty());

    // Another file put in its place, before the rewrite and while it runs.
    for (const bool meanwhile : {false, true}) {
        const OldFile mine;
        const auto replace = [&mine] { fs::rename(mine.dir.write("theirs.wav", {'t'}), mine.path); };
        ScriptedCalls later;
        if (meanwhile) later.beforeWrite = replace;
        if (!meanwhile) replace();
        EXPECT_EQ(mine.Rewrite(later).error,
                  "another file has taken the file's name since it was opened; the file is unchanged");
        EXPECT_EQ(fixture::ReadFile(mine.path), ByteVector{'t'});
        EXPECT_EQ(mine.Names(), kOnlyTheFile);
    }
}

TEST(SideFileRewrite, ThroughASymbolicLinkOrUnderALongNameRewritesTheFileItself) {
    const OldFile old;
    const fs::path link = old.dir.path() / "sub" / "link.wav";
    fs::create_directory(link.parent_path());
    fs::create_symlink("../take.wav", link);
    const int fd = ::open(link.c_str(), O_RDONLY | O_CLOEXEC);
    const wave::RewritePiece pieces[] = {OldFileRange{1, 2}};
    EXPECT_TRUE(wave::RewriteBeside(fd, link.string(), pieces).ok);
    ::close(fd);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fixture::ReadFile(old.path), ByteVector(old.bytes.begin() + 1, old.bytes.begin() + 3));

    // 255 bytes, of two-byte characters: the new file's name is cut short, at a character.
    std::string name = "a";
    for (int i = 0; i < 125; ++i) name += "\xC3\xA9";
    const OldFile named(name + ".wav");
    ScriptedCalls calls;
    EXPECT_TRUE(named.Rewrite(calls).ok);
    EXPECT_EQ(calls.created.at(0).substr(0, 236) + "|" + std::to_string(calls.created[0].size()),
              "." + name.substr(0, 235) + "|254");
}

// Copies after the first start on block boundaries, or a file system that
// shares extents could not share them.
TEST(SideFileRewrite, CopiesALargeRangeWholeInBoundedBlocksFromBlockBoundaries) {
    const fixture::TempDir dir;
    const fs::path path = dir.file("long.wav");
    const ByteVector tail = Counting(3000);
    for (const bool copyOffered : {true, false}) {
        if (!fixture::WriteSparseFile(path, Counting(1000), 70'000'000, tail)) GTEST_SKIP() << "no room";
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        ScriptedCalls calls;
        if (!copyOffered) calls.failWith = {{Step::Copy, EXDEV}};
        const wave::RewritePiece pieces[] = {ByteVector(500, 'h'), OldFileRange{1000, 70'003'000}};
        ASSERT_TRUE(wave::RewriteBeside(fd, path.string(), pieces, calls).ok);
        ::close(fd);
        const ByteVector after = fixture::ReadFile(path);
        ASSERT_EQ(after.size(), 70'003'500u);
        EXPECT_TRUE(std::all_of(after.begin(), after.begin() + 500, [](std::uint8_t b) { return b == 'h'; }));
        EXPECT_TRUE(std::all_of(after.begin() + 500, after.end() - 3000, [](std::uint8_t b) { return b == 0; }));
        EXPECT_EQ(ByteVector(after.end() - 3000, after.end()), tail);
        EXPECT_LE(calls.largestRead, std::size_t{1} << 20);
        if (copyOffered) {
            ASSERT_GE(calls.copiedFrom.size(), 3u);
            EXPECT_TRUE(std::all_of(calls.copiedFrom.begin() + 1, calls.copiedFrom.end(),
                                    [](std::int64_t from) { return from % 4096 == 0; }));
        }
    }
}

}  // namespace
