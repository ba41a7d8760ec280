#include "wave/WaveStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace wave {

namespace {

// Large enough that the whole chunk walk before the cart data usually costs
// one system call, small enough that a metadata read stays far below the
// audio that follows it.
constexpr std::size_t kBufferSize = 4096;

bool SetRangeLock(int fd, short type, std::int64_t start, std::int64_t length) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = start;
    lock.l_len = length;
    int result = 0;
    do {
        result = ::fcntl(fd, F_OFD_SETLKW, &lock);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

std::string IdentityText(std::uint64_t device, std::uint64_t inode) {
    return std::to_string(device) + ":" + std::to_string(inode);
}

}  // namespace

WaveStream::~WaveStream() { Close(); }

bool WaveStream::Open(const std::string& path, Mode mode) {
    Close();
    path_ = path;
    // O_NONBLOCK keeps a FIFO chosen by mistake from hanging the open; the
    // regular-file test below then refuses it. It has no effect on regular
    // files, so it stays set (sparing a batch two system calls per file).
    const int flags = (mode == Mode::ReadWrite ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NONBLOCK;
    const int fd = ::open(path.c_str(), flags);
    writeRefused_ = fd < 0 && mode == Mode::ReadWrite && (errno == EACCES || errno == EPERM || errno == EROFS);
    if (fd < 0) {
        RecordError("open");
        failed_ = true;
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        lastError_ = "not a regular file";
        ::close(fd);
        failed_ = true;
        return false;
    }
    // Nothing of ours changes a file opened read-only, so its size is taken
    // once; a writer asks the system each time.
    openedSize_ = mode == Mode::ReadOnly ? st.st_size : -1;
    openedDevice_ = st.st_dev;
    openedInode_ = st.st_ino;
    fd_ = fd;
    mode_ = mode;
    failed_ = false;
    eof_ = false;
    buffer_.clear();
    bufferPos_ = 0;
    bufferStart_ = 0;
    return true;
}

void WaveStream::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    buffer_.clear();
    bufferPos_ = 0;
    bufferStart_ = 0;
    eof_ = false;
}

void WaveStream::RecordError(const char* operation) {
    lastError_ = std::string(operation) + ": " + std::strerror(errno);
}

bool WaveStream::FillBuffer() {
    bufferStart_ = Tell();
    buffer_.resize(kBufferSize);
    bufferPos_ = 0;
    ssize_t n = -1;
    if (fd_ >= 0) {
        do {
            n = ::pread(fd_, buffer_.data(), kBufferSize, bufferStart_);
        } while (n < 0 && errno == EINTR);
        if (n < 0) RecordError("read");
    }
    buffer_.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return !buffer_.empty();
}

int WaveStream::Get() {
    if (bufferPos_ == buffer_.size() && !FillBuffer()) {
        eof_ = true;
        return kEof;
    }
    return buffer_[bufferPos_++];
}

int WaveStream::Peek() {
    if (bufferPos_ == buffer_.size() && !FillBuffer()) return kEof;
    return buffer_[bufferPos_];
}

std::size_t WaveStream::Read(std::uint8_t* out, std::size_t n) {
    if (n == 0) return 0;
    const std::size_t fromBuffer = std::min(n, buffer_.size() - bufferPos_);
    if (fromBuffer > 0) std::memcpy(out, buffer_.data() + bufferPos_, fromBuffer);
    bufferPos_ += fromBuffer;
    std::size_t done = fromBuffer;
    if (done < n) {
        // The rest goes straight into the caller's buffer: chunk data can be
        // large and is read once.
        std::int64_t position = Tell();
        while (done < n && fd_ >= 0) {
            const ssize_t got = ::pread(fd_, out + done, n - done, position);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) RecordError("read");
            if (got <= 0) break;
            done += static_cast<std::size_t>(got);
            position += got;
        }
        buffer_.clear();
        bufferPos_ = 0;
        bufferStart_ = position;
    }
    if (done < n) eof_ = true;
    return done;
}

void WaveStream::Skip(std::int64_t n) {
    if (n <= 0) return;
    const auto inBuffer = static_cast<std::int64_t>(buffer_.size() - bufferPos_);
    if (n <= inBuffer) {
        bufferPos_ += static_cast<std::size_t>(n);
        return;
    }
    std::int64_t target = Tell() + n;
    const std::int64_t end = Size();
    if (target > end) {
        target = std::max<std::int64_t>(end, 0);
        eof_ = true;
    }
    buffer_.clear();
    bufferPos_ = 0;
    bufferStart_ = target;
}

std::int64_t WaveStream::Tell() const { return bufferStart_ + static_cast<std::int64_t>(bufferPos_); }

bool WaveStream::Seek(std::int64_t position) {
    if (fd_ < 0 || position < 0) {
        lastError_ = "seek: invalid position";
        return false;
    }
    buffer_.clear();
    bufferPos_ = 0;
    bufferStart_ = position;
    eof_ = false;
    return true;
}

bool WaveStream::Write(const std::uint8_t* data, std::size_t n) {
    if (fd_ < 0) {
        lastError_ = "write: the file is not open";
        return false;
    }
    std::int64_t position = Tell();
    std::size_t done = 0;
    while (done < n) {
        const ssize_t put = ::pwrite(fd_, data + done, n - done, position);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            if (put == 0) errno = ENOSPC;
            RecordError("write");
            break;
        }
        done += static_cast<std::size_t>(put);
        position += put;
    }
    buffer_.clear();
    bufferPos_ = 0;
    bufferStart_ = position;
    return done == n;
}

bool WaveStream::Sync() {
    if (fd_ < 0 || ::fdatasync(fd_) != 0) {
        if (fd_ >= 0) RecordError("sync");
        return false;
    }
    return true;
}

bool WaveStream::LockRange(std::int64_t start, std::int64_t length) {
    return fd_ >= 0 && SetRangeLock(fd_, F_WRLCK, start, length);
}

void WaveStream::UnlockRange(std::int64_t start, std::int64_t length) {
    if (fd_ >= 0) SetRangeLock(fd_, F_UNLCK, start, length);
}

bool WaveStream::Truncate(std::int64_t size) {
    if (fd_ < 0 || ::ftruncate(fd_, size) != 0) {
        RecordError("truncate");
        return false;
    }
    return true;
}

std::int64_t WaveStream::Size() const {
    if (fd_ >= 0 && openedSize_ >= 0) return openedSize_;
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return -1;
    return st.st_size;
}

std::string WaveStream::Identity() const { return fd_ < 0 ? std::string() : IdentityText(openedDevice_, openedInode_); }

std::string WaveStream::IdentityOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) != 0 ? std::string() : IdentityText(st.st_dev, st.st_ino);
}

bool WaveStream::PathStillNamesOpenFile() const {
    // An open file keeps its device and inode, so only the name is looked up.
    struct stat named {};
    if (fd_ < 0 || ::stat(path_.c_str(), &named) != 0) return false;
    return openedDevice_ == named.st_dev && openedInode_ == named.st_ino;
}

}  // namespace wave
