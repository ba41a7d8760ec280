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
#include <vector>

#include "Require.h"

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

    void assign(const std::uint8_t* data, std::size_t size) {
        Require(::ftruncate(fd_, 0) == 0, "cannot empty the scratch file");
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
            if (n < 0 && errno == EINTR) continue;
            Require(n > 0, "cannot fill the scratch file");
            done += static_cast<std::size_t>(n);
        }
    }

    std::vector<std::uint8_t> contents() const {
        struct stat st {};
        Require(::fstat(fd_, &st) == 0, "cannot stat the scratch file");
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.st_size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::pread(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
            if (n < 0 && errno == EINTR) continue;
            Require(n > 0, "cannot read the scratch file back");
            done += static_cast<std::size_t>(n);
        }
        return bytes;
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
