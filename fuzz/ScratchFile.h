#pragma once

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/Require.h"
#include "fuzz/SparseImage.h"

// One file for the whole run, rewritten for each input. A memfd is a regular
// file that never touches the disk; the stream opens it again by its
// /proc/self/fd name, which also still names it when the saver checks.
class ScratchFile {
public:
    ScratchFile() {
        fd_ = ::memfd_create("reelmarker-fuzz", MFD_CLOEXEC);
        if (fd_ >= 0) {
            path_ = "/proc/self/fd/" + std::to_string(fd_);
            if (::access(path_.c_str(), R_OK | W_OK) == 0) return;
            ::close(fd_);
        }
        // Without memfds or /proc: an ordinary temporary file, removed at exit.
        const char* dir = std::getenv("TMPDIR");
        std::string pattern = std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/reelmarker-fuzz-XXXXXX";
        fd_ = ::mkstemp(pattern.data());
        if (fd_ < 0) {
            std::perror("fuzz: no scratch file");
            std::abort();
        }
        path_ = pattern;
        unlinkAtExit_ = true;
    }

    ~ScratchFile() {
        if (unlinkAtExit_) ::unlink(path_.c_str());
        ::close(fd_);
    }

    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& path() const { return path_; }

    // The file the image describes: its pieces written, the rest a hole.
    void assign(const sparse::Image& image) {
        Require(::ftruncate(fd_, 0) == 0, "cannot empty the scratch file");
        for (const sparse::Piece& piece : image.pieces) {
            std::size_t done = 0;
            while (done < piece.bytes.size()) {
                const ssize_t n = ::pwrite(fd_, piece.bytes.data() + done, piece.bytes.size() - done,
                                           static_cast<off_t>(piece.offset + done));
                if (n < 0 && errno == EINTR) continue;
                Require(n > 0, "cannot fill the scratch file");
                done += static_cast<std::size_t>(n);
            }
        }
        Require(::ftruncate(fd_, static_cast<off_t>(image.size)) == 0, "cannot size the scratch file");
    }

    std::uint64_t size() const {
        struct stat st {};
        Require(::fstat(fd_, &st) == 0, "cannot stat the scratch file");
        return static_cast<std::uint64_t>(st.st_size);
    }

    // At most n bytes from offset, fewer where the file ends.
    sparse::Bytes read(std::uint64_t offset, std::size_t n) const {
        sparse::Bytes bytes(n);
        std::size_t done = 0;
        while (done < n) {
            const ssize_t got = ::pread(fd_, bytes.data() + done, n - done, static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR) continue;
            Require(got >= 0, "cannot read the scratch file back");
            if (got == 0) break;
            done += static_cast<std::size_t>(got);
        }
        bytes.resize(done);
        return bytes;
    }

    // Whether no byte in [begin, end) was ever written.
    bool holeBetween(std::uint64_t begin, std::uint64_t end) const {
        if (begin >= end) return true;
        const off_t data = ::lseek(fd_, static_cast<off_t>(begin), SEEK_DATA);
        if (data < 0) return errno == ENXIO;
        return static_cast<std::uint64_t>(data) >= end;
    }

private:
    int fd_ = -1;
    std::string path_;
    bool unlinkAtExit_ = false;
};

inline ScratchFile& Scratch() {
    static ScratchFile file;
    return file;
}
