// A save never undoes what another writer put into the cart chunk since the
// load, and two savers of one file take turns on it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <string_view>
#include <thread>

#include "tests/core/LoadedFixture.h"

namespace {

using fixture::ByteVector;
using wave::CartField;

constexpr const char* kChanged = "The file was changed by another program since it was loaded.";

// Another program's own open of the file.
class SecondWriter {
public:
    explicit SecondWriter(const std::filesystem::path& path) : fd_(::open(path.c_str(), O_RDWR | O_CLOEXEC)) {}
    ~SecondWriter() { ::close(fd_); }
    SecondWriter(const SecondWriter&) = delete;
    SecondWriter& operator=(const SecondWriter&) = delete;

    void write(std::int64_t at, std::string_view bytes) const {
        ASSERT_EQ(::pwrite(fd_, bytes.data(), bytes.size(), at), static_cast<ssize_t>(bytes.size()));
    }
    // Takes (F_WRLCK) or drops (F_UNLCK) a lock on the whole file, without waiting.
    bool lock(short type) const {
        struct flock range {};
        range.l_type = type;
        range.l_whence = SEEK_SET;
        return ::fcntl(fd_, F_OFD_SETLK, &range) == 0;
    }

private:
    int fd_;
};

TEST(ConcurrentSave, AnotherWritersChangeToAnyCartByteIsKept) {
    const ByteVector before = fixture::TypicalWave();
    // A field next to the one saved, and the chunk's last byte, far from it.
    for (const std::size_t offset : {std::size_t{4}, std::size_t{2047}}) {
        LoadedFixture loaded(before);
        ASSERT_EQ(loaded.failure, wave::LoadFailure::None);
        const SecondWriter other(loaded.path);
        other.write(loaded.document.loaded.cartPos + static_cast<std::int64_t>(offset), "#");
        const ByteVector theirs = loaded.fileBytes();

        const wave::SaveResult result = loaded.document.SaveCart({{CartField::Artist, "Ours"}});
        EXPECT_FALSE(result.ok) << "cart byte " << offset;
        EXPECT_EQ(result.error, kChanged);
        EXPECT_EQ(loaded.fileBytes(), theirs);
        // Refused or not, a save leaves no lock behind.
        EXPECT_TRUE(other.lock(F_WRLCK));
        EXPECT_TRUE(other.lock(F_UNLCK));
        loaded.reload();
        EXPECT_TRUE(loaded.document.SaveCart({{CartField::Artist, "Ours"}}).ok);
        EXPECT_TRUE(other.lock(F_WRLCK));
    }
}

TEST(ConcurrentSave, ChecksTheFileOnlyOnceItHoldsTheLock) {
    LoadedFixture loaded(fixture::TypicalWave());
    const SecondWriter other(loaded.path);
    ASSERT_TRUE(other.lock(F_WRLCK));
    auto saving = std::async(std::launch::async, [&loaded] {
        return loaded.document.SaveCart({{CartField::Artist, "Ours"}});
    });
    EXPECT_EQ(saving.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);

    // The holder writes, then lets the waiting save go on: it must see the write.
    other.write(loaded.document.loaded.cartPos + 4, "Theirs");
    const ByteVector theirs = loaded.fileBytes();
    ASSERT_TRUE(other.lock(F_UNLCK));
    EXPECT_EQ(saving.get().error, kChanged);
    EXPECT_EQ(loaded.fileBytes(), theirs);
}

TEST(ConcurrentSave, ASaveInTwoStepsHoldsTheLockUntilItIsSynced) {
    // A batch writes many files before syncing them: meanwhile no other saver
    // may slip in, and the next save of the same document starts from the
    // data written, not the data first loaded.
    LoadedFixture loaded(fixture::TypicalWave());
    const SecondWriter other(loaded.path);
    ASSERT_TRUE(loaded.document.WriteCart({{CartField::Artist, "Ours"}}).ok);
    EXPECT_FALSE(loaded.document.WriteCart({{CartField::Title, "Too soon"}}).ok);
    EXPECT_FALSE(other.lock(F_WRLCK));
    ASSERT_TRUE(loaded.document.FinishSave().ok);
    EXPECT_TRUE(other.lock(F_WRLCK));
    ASSERT_TRUE(other.lock(F_UNLCK));
    EXPECT_FALSE(loaded.document.FinishSave().ok);
    EXPECT_TRUE(loaded.document.SaveCart({{CartField::Title, "Next"}}).ok);
}

}  // namespace
