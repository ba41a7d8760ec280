// Rewriting a file whose length changes: the new bytes go into a file beside
// it, which takes the old one's name only once it is whole on disk, so that a
// crash or a full disk leaves either the old file or the new one, never a mix.

#include "wave/SideFileRewrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <string_view>
#include <utility>

#include "wave/Overloaded.h"

namespace wave {

namespace {

// The fallback copy's buffer: large enough that system calls cost little
// against the disk, small enough to hold for any file.
constexpr std::size_t kBlockSize = std::size_t{1} << 20;
// copy_file_range is asked for at most this much at once, so that progress
// moves on a file system that has to copy the bytes.
constexpr std::size_t kCopyStep = std::size_t{32} << 20;
constexpr std::size_t kMaxNameLength = NAME_MAX;
constexpr std::string_view kNameTag = ".reelmarker-";
constexpr std::size_t kSuffixLength = 6;
constexpr int kNameAttempts = 100;

std::string Reason(std::string_view what, int error) { return std::string(what) + ": " + std::strerror(error); }

RewriteOutcome Unchanged(const std::string& error) { return {false, false, error + "; the file is unchanged"}; }

// Refusals the system gives for what a file system or an unprivileged user
// cannot keep; the new file goes on without it.
bool NotKeptHere(int error) { return error == ENOTSUP || error == EOPNOTSUPP || error == EPERM; }

// copy_file_range cannot serve these files; plain reads and writes can.
bool CopyNotOffered(int error) { return error == EXDEV || error == ENOSYS || error == EOPNOTSUPP || error == EINVAL; }

// Empty when the old file can be rewritten at all.
std::string SourceRefusal(const struct stat& source) {
    if (!S_ISREG(source.st_mode)) return "the file is not a regular file";
    // A new file takes only this one name; the others would keep the old bytes.
    if (source.st_nlink > 1) {
        return "the file has " + std::to_string(source.st_nlink) + " hard links; a rewrite would split them";
    }
    return {};
}

// Empty when `name` in the folder still names the file open on sourceFd, and
// nothing else does.
std::string NameRefusal(int sourceFd, int folderFd, const std::string& name) {
    struct stat open {};
    struct stat named {};
    if (::fstat(sourceFd, &open) != 0) return Reason("could not read the file's details", errno);
    if (std::string refusal = SourceRefusal(open); !refusal.empty()) return refusal;
    if (::fstatat(folderFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT) return "the file was renamed or removed since it was opened";
        return Reason("could not look the file up in its folder", errno);
    }
    // Replacing another program's file with one made from ours would lose it.
    if (named.st_dev != open.st_dev || named.st_ino != open.st_ino) {
        return "another file has taken the file's name since it was opened";
    }
    return {};
}

// Empty when every range lies inside the old file; sets the new file's length.
std::string PieceRefusal(std::span<const RewritePiece> pieces, std::uint64_t sourceSize, std::uint64_t& total) {
    constexpr auto kMaxTotal = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    total = 0;
    for (const RewritePiece& piece : pieces) {
        std::uint64_t length = 0;
        if (const auto* range = std::get_if<OldFileRange>(&piece)) {
            // Bytes past the end would come back as zeros, not as the audio.
            if (range->offset < 0 || range->length > sourceSize ||
                static_cast<std::uint64_t>(range->offset) > sourceSize - range->length) {
                return "a range to copy (" + std::to_string(range->length) + " bytes from byte " +
                       std::to_string(range->offset) + ") runs past the end of the file, which holds " +
                       std::to_string(sourceSize) + " bytes";
            }
            length = range->length;
        } else {
            length = std::get<std::vector<std::uint8_t>>(piece).size();
        }
        if (length > kMaxTotal - total) return "the new file would be too large";
        total += length;
    }
    return {};
}

// ".<name>.reelmarker-XXXXXX", with the name cut (at a character boundary)
// where the whole would be longer than the system allows.
std::string SideName(const std::string& name, std::mt19937_64& random) {
    static constexpr std::string_view kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::size_t keep = std::min(name.size(), kMaxNameLength - 1 - kNameTag.size() - kSuffixLength);
    while (keep > 0 && keep < name.size() && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
    std::string side = "." + name.substr(0, keep) + std::string(kNameTag);
    std::uniform_int_distribution<std::size_t> digit(0, kDigits.size() - 1);
    for (std::size_t i = 0; i < kSuffixLength; ++i) side += kDigits[digit(random)];
    return side;
}

class Folder {
public:
    explicit Folder(int fd) : fd_(fd) {}
    ~Folder() {
        if (fd_ >= 0) ::close(fd_);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    int Fd() const { return fd_; }

private:
    int fd_;
};

// The file being written, removed again unless it took the old one's name.
class SideFile {
public:
    SideFile(RewriteCalls& calls, int folderFd, std::string folderPath)
        : calls_(calls), folderFd_(folderFd), folderPath_(std::move(folderPath)) {}
    ~SideFile() { static_cast<void>(Discard()); }
    SideFile(const SideFile&) = delete;
    SideFile& operator=(const SideFile&) = delete;

    // False with errno set when no name could be had.
    bool Create(const std::string& name) {
        std::mt19937_64 random(std::random_device{}());
        for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
            std::string candidate = SideName(name, random);
            const int fd = calls_.CreateFile(folderFd_, candidate);
            if (fd >= 0) {
                fd_ = fd;
                name_ = std::move(candidate);
                return true;
            }
            if (errno != EEXIST) return false;
        }
        return false;
    }

    int Fd() const { return fd_; }
    const std::string& Name() const { return name_; }

    // Closes the file, keeping it; the error number on failure, else 0.
    int Close() {
        const int fd = std::exchange(fd_, -1);
        // The descriptor is gone even when close fails, so it is not retried.
        return calls_.CloseFile(fd) == 0 ? 0 : errno;
    }

    // The file has taken the old one's name; nothing is left to remove.
    void Kept() { name_.clear(); }

    // Closes and removes the file; says so when it stays behind.
    std::string Discard() {
        if (fd_ >= 0) calls_.CloseFile(std::exchange(fd_, -1));
        if (name_.empty()) return {};
        const std::string name = std::exchange(name_, {});
        if (calls_.Remove(folderFd_, name) == 0 || errno == ENOENT) return {};
        return Reason("; the new file " + folderPath_ + "/" + name + " could not be removed", errno);
    }

private:
    RewriteCalls& calls_;
    int folderFd_;
    std::string folderPath_;
    int fd_ = -1;
    std::string name_;
};

// Puts the pieces into the new file one after another.
class PieceWriter {
public:
    PieceWriter(RewriteCalls& calls, int sourceFd, int targetFd, std::uint64_t total, const RewriteProgress& progress)
        : calls_(calls), sourceFd_(sourceFd), targetFd_(targetFd), total_(total), progress_(progress) {}

    bool Put(const std::uint8_t* data, std::size_t size) {
        while (size > 0) {
            const ssize_t put = calls_.WriteAt(targetFd_, data, size, written_);
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) {
                error_ = Reason("could not write the new file", put == 0 ? ENOSPC : errno);
                return false;
            }
            data += put;
            size -= static_cast<std::size_t>(put);
            Advance(put);
        }
        return true;
    }

    bool Copy(const OldFileRange& range) {
        std::int64_t from = range.offset;
        std::uint64_t left = range.length;
        while (left > 0) {
            // Steps start on block boundaries of the old file after the first,
            // so that a file system that shares extents can share them.
            const std::uint64_t toBoundary = kCopyStep - static_cast<std::uint64_t>(from) % kCopyStep;
            const std::size_t step = static_cast<std::size_t>(std::min(left, toBoundary));
            if (copyOffered_) {
                std::int64_t in = from;
                std::int64_t out = written_;
                const ssize_t copied = calls_.CopyRange(sourceFd_, in, targetFd_, out, step);
                if (copied < 0 && errno == EINTR) continue;
                if (copied < 0 && !CopyNotOffered(errno)) {
                    error_ = Reason("could not copy into the new file", errno);
                    return false;
                }
                // Some file systems report no bytes before the end of the
                // file; the plain reads below tell which it is.
                if (copied <= 0 || static_cast<std::size_t>(copied) > step) {
                    copyOffered_ = false;
                    continue;
                }
                from += copied;
                left -= static_cast<std::uint64_t>(copied);
                Advance(copied);
                continue;
            }
            if (buffer_.empty()) buffer_.resize(kBlockSize);
            const ssize_t got = calls_.ReadAt(sourceFd_, buffer_.data(), std::min(step, kBlockSize), from);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) {
                error_ = Reason("could not read the file", errno);
                return false;
            }
            if (got == 0) {
                error_ = "the file ends at byte " + std::to_string(from) +
                         ", before the end of a range to copy; it was shortened meanwhile";
                return false;
            }
            if (!Put(buffer_.data(), static_cast<std::size_t>(got))) return false;
            from += got;
            left -= static_cast<std::uint64_t>(got);
        }
        return true;
    }

    const std::string& Error() const { return error_; }

private:
    void Advance(ssize_t bytes) {
        written_ += bytes;
        // The disk writes what is copied while the copy goes on, so the
        // final sync finds little left, and the dirty pages stay few.
        if (written_ - writebackFrom_ >= static_cast<std::int64_t>(kCopyStep)) {
            calls_.StartWriteback(targetFd_, writebackFrom_, written_ - writebackFrom_);
            writebackFrom_ = written_;
        }
        if (progress_) progress_(static_cast<std::uint64_t>(written_), total_);
    }

    RewriteCalls& calls_;
    int sourceFd_;
    int targetFd_;
    std::uint64_t total_;
    const RewriteProgress& progress_;
    std::int64_t written_ = 0;
    std::int64_t writebackFrom_ = 0;
    bool copyOffered_ = true;
    std::vector<std::uint8_t> buffer_;
    std::string error_;
};

// The old file's extended attributes (ACLs among them) onto the new one.
// Empty on success.
std::string CopyAttributes(RewriteCalls& calls, int sourceFd, int targetFd) {
    std::vector<char> names;
    for (;;) {
        const ssize_t size = calls.ListAttributes(sourceFd, nullptr, 0);
        if (size < 0 && NotKeptHere(errno)) return {};
        if (size < 0) return Reason("could not read the file's extended attributes", errno);
        names.resize(static_cast<std::size_t>(size));
        const ssize_t got = size == 0 ? 0 : calls.ListAttributes(sourceFd, names.data(), names.size());
        // ERANGE: one was added since the size was asked for.
        if (got < 0 && errno == ERANGE) continue;
        if (got < 0) return Reason("could not read the file's extended attributes", errno);
        names.resize(static_cast<std::size_t>(got));
        break;
    }
    std::vector<std::uint8_t> value;
    for (std::size_t at = 0; at < names.size();) {
        const std::string name(names.data() + at);
        at += name.size() + 1;
        ssize_t got = -1;
        do {
            const ssize_t size = calls.GetAttribute(sourceFd, name.c_str(), nullptr, 0);
            if (size < 0) break;
            value.resize(static_cast<std::size_t>(size));
            got = calls.GetAttribute(sourceFd, name.c_str(), value.data(), value.size());
        } while (got < 0 && errno == ERANGE);
        if (got < 0 && errno == ENODATA) continue;  // removed since the list was read
        if (got < 0) return Reason("could not read the file's extended attribute " + name, errno);
        if (calls.SetAttribute(targetFd, name.c_str(), value.data(), static_cast<std::size_t>(got)) != 0 &&
            !NotKeptHere(errno)) {
            return Reason("could not give the new file the extended attribute " + name, errno);
        }
    }
    return {};
}

// Owner, group, extended attributes and mode, in that order: a change of
// owner clears set-ID bits and capabilities, and an ACL sets group bits the
// mode then restates. Empty on success.
std::string CopyAccess(RewriteCalls& calls, int sourceFd, int targetFd, const struct stat& source) {
    if (calls.ChangeOwner(targetFd, source.st_uid, source.st_gid) != 0) {
        if (errno != EPERM) return Reason("could not give the new file the file's owner", errno);
        // A user may still give away a file to a group of theirs.
        if (calls.ChangeOwner(targetFd, static_cast<uid_t>(-1), source.st_gid) != 0 && errno != EPERM) {
            return Reason("could not give the new file the file's group", errno);
        }
    }
    if (std::string error = CopyAttributes(calls, sourceFd, targetFd); !error.empty()) return error;
    struct stat made {};
    const bool known = ::fstat(targetFd, &made) == 0;
    mode_t mode = source.st_mode & 07777;
    // Set-ID bits would lend the new owner's or group's rights.
    if (!known || made.st_uid != source.st_uid) mode &= static_cast<mode_t>(~S_ISUID);
    if (!known || made.st_gid != source.st_gid) mode &= static_cast<mode_t>(~S_ISGID);
    if (calls.ChangeMode(targetFd, mode) != 0) {
        return Reason("could not give the new file the file's permissions", errno);
    }
    return {};
}

}  // namespace

int RewriteCalls::OpenFolder(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

int RewriteCalls::CreateFile(int folderFd, const std::string& name) {
    return ::openat(folderFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
}

ssize_t RewriteCalls::ReadAt(int fd, void* buffer, std::size_t size, std::int64_t offset) {
    return ::pread(fd, buffer, size, offset);
}

ssize_t RewriteCalls::WriteAt(int fd, const void* buffer, std::size_t size, std::int64_t offset) {
    return ::pwrite(fd, buffer, size, offset);
}

ssize_t RewriteCalls::CopyRange(int fromFd, std::int64_t& fromOffset, int toFd, std::int64_t& toOffset,
                                std::size_t size) {
    loff_t in = fromOffset;
    loff_t out = toOffset;
    const ssize_t copied = ::copy_file_range(fromFd, &in, toFd, &out, size, 0);
    fromOffset = in;
    toOffset = out;
    return copied;
}

int RewriteCalls::ChangeOwner(int fd, uid_t owner, gid_t group) { return ::fchown(fd, owner, group); }

int RewriteCalls::ChangeMode(int fd, mode_t mode) { return ::fchmod(fd, mode); }

ssize_t RewriteCalls::ListAttributes(int fd, char* names, std::size_t size) { return ::flistxattr(fd, names, size); }

ssize_t RewriteCalls::GetAttribute(int fd, const char* name, void* value, std::size_t size) {
    return ::fgetxattr(fd, name, value, size);
}

int RewriteCalls::SetAttribute(int fd, const char* name, const void* value, std::size_t size) {
    return ::fsetxattr(fd, name, value, size, 0);
}

void RewriteCalls::StartWriteback(int fd, std::int64_t offset, std::int64_t size) {
    ::sync_file_range(fd, offset, size, SYNC_FILE_RANGE_WRITE);
}

int RewriteCalls::SyncFile(int fd) { return ::fsync(fd); }

int RewriteCalls::CloseFile(int fd) { return ::close(fd); }

int RewriteCalls::Rename(int folderFd, const std::string& from, const std::string& to) {
    return ::renameat(folderFd, from.c_str(), folderFd, to.c_str());
}

int RewriteCalls::SyncFolder(int folderFd) { return ::fsync(folderFd); }

int RewriteCalls::Remove(int folderFd, const std::string& name) { return ::unlinkat(folderFd, name.c_str(), 0); }

RewriteCalls& SystemRewriteCalls() {
    static RewriteCalls calls;
    return calls;
}

RewriteOutcome RewriteBeside(int sourceFd, const std::string& path, std::span<const RewritePiece> pieces,
                             RewriteCalls& calls, const RewriteProgress& progress) {
    struct stat source {};
    if (::fstat(sourceFd, &source) != 0) return Unchanged(Reason("could not read the file's details", errno));
    if (std::string refusal = SourceRefusal(source); !refusal.empty()) return Unchanged(refusal);
    std::uint64_t total = 0;
    const std::string pieceRefusal = PieceRefusal(pieces, static_cast<std::uint64_t>(source.st_size), total);
    if (!pieceRefusal.empty()) return Unchanged(pieceRefusal);

    // Through a symbolic link, the file it names is rewritten and the link
    // kept; renaming over the link would turn it into a copy.
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    if (!resolved) return Unchanged(Reason("could not find the file", errno));
    const std::string full = resolved.get();
    const std::size_t slash = full.rfind('/');
    const std::string folderPath = slash == 0 ? "/" : full.substr(0, slash);
    const std::string name = full.substr(slash + 1);

    // Everything below goes through the folder's descriptor, so that the
    // folder being renamed meanwhile cannot split the new file from the old.
    const Folder folder(calls.OpenFolder(folderPath));
    if (folder.Fd() < 0) return Unchanged(Reason("could not open the folder " + folderPath, errno));
    if (std::string refusal = NameRefusal(sourceFd, folder.Fd(), name); !refusal.empty()) return Unchanged(refusal);

    SideFile side(calls, folder.Fd(), folderPath);
    if (!side.Create(name)) return Unchanged(Reason("could not create the new file in " + folderPath, errno));
    const auto failed = [&side](const std::string& error) { return Unchanged(error + side.Discard()); };
    const auto failedWith = [&failed](std::string_view what, int error) { return failed(Reason(what, error)); };

    PieceWriter writer(calls, sourceFd, side.Fd(), total, progress);
    for (const RewritePiece& piece : pieces) {
        const bool written = std::visit(Overloaded{[&writer](const std::vector<std::uint8_t>& bytes) {
                                                       return writer.Put(bytes.data(), bytes.size());
                                                   },
                                                   [&writer](const OldFileRange& range) { return writer.Copy(range); }},
                                        piece);
        if (!written) return failed(writer.Error());
    }
    if (std::string error = CopyAccess(calls, sourceFd, side.Fd(), source); !error.empty()) return failed(error);
    if (calls.SyncFile(side.Fd()) != 0) return failedWith("could not sync the new file to disk", errno);
    if (const int error = side.Close(); error != 0) return failedWith("could not close the new file", error);

    // Another program may have replaced or linked the file while this one
    // was written.
    if (std::string refusal = NameRefusal(sourceFd, folder.Fd(), name); !refusal.empty()) return failed(refusal);
    if (calls.Rename(folder.Fd(), side.Name(), name) != 0) {
        return failedWith("could not replace the file with the new one", errno);
    }
    side.Kept();
    // Until the folder is on disk, a power cut may bring the old file back.
    if (calls.SyncFolder(folder.Fd()) != 0) {
        return {false, true,
                Reason("the file was replaced, but its folder could not be synced to disk", errno) +
                    "; the change may not survive a power cut"};
    }
    return {true, true, {}};
}

}  // namespace wave
