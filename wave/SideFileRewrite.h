#pragma once

#include <sys/types.h>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace wave {

// A range of the old file, copied into the new one as it is.
struct OldFileRange {
    std::int64_t offset = 0;
    std::uint64_t length = 0;
};

// One piece of the new file, in order: bytes given here, or a range of the
// old file.
using RewritePiece = std::variant<std::vector<std::uint8_t>, OldFileRange>;

// The system calls a rewrite makes, one virtual each, so that a test can fail
// any of them. Each returns what the system call returns and leaves errno set
// on failure; the defaults call the system.
class RewriteCalls {
public:
    virtual ~RewriteCalls() = default;

    // open(O_DIRECTORY) of the folder the new file goes into.
    virtual int OpenFolder(const std::string& path);
    // Creates the new file in the folder, exclusively, with mode 0600.
    virtual int CreateFile(int folderFd, const std::string& name);
    virtual ssize_t ReadAt(int fd, void* buffer, std::size_t size, std::int64_t offset);
    virtual ssize_t WriteAt(int fd, const void* buffer, std::size_t size, std::int64_t offset);
    // copy_file_range: may copy less than asked, and moves both offsets.
    virtual ssize_t CopyRange(int fromFd, std::int64_t& fromOffset, int toFd, std::int64_t& toOffset, std::size_t size);
    virtual int ChangeOwner(int fd, uid_t owner, gid_t group);
    virtual int ChangeMode(int fd, mode_t mode);
    virtual ssize_t ListAttributes(int fd, char* names, std::size_t size);
    virtual ssize_t GetAttribute(int fd, const char* name, void* value, std::size_t size);
    virtual int SetAttribute(int fd, const char* name, const void* value, std::size_t size);
    // sync_file_range(SYNC_FILE_RANGE_WRITE): starts writing the range to
    // disk without waiting; errors surface in SyncFile.
    virtual void StartWriteback(int fd, std::int64_t offset, std::int64_t size);
    virtual int SyncFile(int fd);
    virtual int CloseFile(int fd);
    // renameat within the folder, replacing `to`.
    virtual int Rename(int folderFd, const std::string& from, const std::string& to);
    virtual int SyncFolder(int folderFd);
    virtual int Remove(int folderFd, const std::string& name);
};

// The calls as the system makes them.
RewriteCalls& SystemRewriteCalls();

struct RewriteOutcome {
    bool ok = false;
    // True once the new file has taken the old one's name: the old bytes are
    // gone then, even when ok is false.
    bool replaced = false;
    std::string error;
};

// Called now and then with the bytes written so far and the new file's length.
using RewriteProgress = std::function<void(std::uint64_t done, std::uint64_t total)>;

// Writes the pieces into a new file beside `path` (same folder, a hidden name
// made from the file's own), gives it the old file's owner, group, extended
// attributes (ACLs among them) and mode where the system allows, syncs it,
// renames it over `path` and syncs the folder. `sourceFd` is the old file open
// for reading; it is never written to, and after a rewrite it still reads the
// old bytes (reopen `path` for the new ones). A symbolic link at `path` stays
// a link: the file it names is the one rewritten.
//
// Refuses, before creating anything, when `path` no longer names the file
// open on `sourceFd`, when that file has more than one hard link (a new file
// would take only this name), and when a range runs past its end.
//
// On any failure before the rename the new file is removed and the old one
// is untouched; the error says what failed and ends "the file is unchanged".
// A failure to sync the folder after the rename says instead that the file
// was replaced but may not survive a power cut.
RewriteOutcome RewriteBeside(int sourceFd, const std::string& path, std::span<const RewritePiece> pieces,
                             RewriteCalls& calls = SystemRewriteCalls(), const RewriteProgress& progress = {});

}  // namespace wave
