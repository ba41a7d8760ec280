#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace wave {

// A binary file stream with one position shared by reading and writing,
// over a POSIX descriptor. Reads are buffered so that the chunk walk can
// take one byte at a time cheaply; writes go straight to the file, so the
// caller learns at once whether they reached it.
class WaveStream {
public:
    enum class Mode { ReadOnly, ReadWrite };

    // What Get() and Peek() return past the end of the file: all bits set.
    // The primitive reads cut it to eight bits, so the end reads as 0xFF.
    static constexpr int kEof = -1;

    WaveStream() = default;
    ~WaveStream();
    WaveStream(const WaveStream&) = delete;
    WaveStream& operator=(const WaveStream&) = delete;

    // Opens an existing file without truncating it; never creates one.
    // Returns false (and sets the fail state) when the file cannot be opened.
    bool Open(const std::string& path, Mode mode);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    // The open file's descriptor, for copying from it; -1 when closed.
    int Descriptor() const { return fd_; }
    // The mode of the last successful open, kept after close, so that a
    // stream handed away for a while comes back as it was.
    Mode OpenMode() const { return mode_; }
    bool Failed() const { return failed_; }
    bool AtEnd() const { return eof_; }
    const std::string& Path() const { return path_; }

    // The next byte as 0 to 255, or kEof with the end-of-file state set.
    int Get();
    // The next byte without consuming it, or kEof (end-of-file state untouched).
    int Peek();
    // Reads up to n bytes; returns the count read. A short count sets eof.
    std::size_t Read(std::uint8_t* buffer, std::size_t n);
    // Passes over n bytes as n calls of Get() would, without reading them.
    void Skip(std::int64_t n);

    // Position of the next byte to be read or written.
    std::int64_t Tell() const;
    // Moves the position; clears the end-of-file state. False on failure.
    bool Seek(std::int64_t position);
    // Writes all n bytes at the position. False on failure (see LastError()).
    bool Write(const std::uint8_t* buffer, std::size_t n);
    // Forces written data to the disk, with what the system needs to read it
    // back (not the modification time: a save never changes the length, so
    // the time alone would cost every save a second disk write). False on
    // failure.
    bool Sync();
    // Cuts or extends the file to this size. False on failure.
    bool Truncate(std::int64_t size);

    // Takes an open-file-description write lock on [start, start + length),
    // waiting while another open of the file holds one there (readers are not
    // held off). False when it cannot be had: some file systems refuse such
    // locks, and a read-only stream cannot take a write lock.
    bool LockRange(std::int64_t start, std::int64_t length);
    void UnlockRange(std::int64_t start, std::int64_t length);

    // Size of the open file in bytes, or -1. For a read-only stream, the size
    // it had when opened.
    std::int64_t Size() const;
    // True when the path still names the file this stream has open.
    bool PathStillNamesOpenFile() const;
    // The open file's device and inode, which tell it apart however it is
    // named; empty when nothing is open.
    std::string Identity() const;
    // The same for the file a path names, without opening it; empty when the
    // path names nothing.
    static std::string IdentityOf(const std::string& path);
    // The system's reason for the last failed operation.
    const std::string& LastError() const { return lastError_; }
    // True when the last open failed only for want of permission to write
    // (a read-only file, or a read-only file system).
    bool WriteRefused() const { return writeRefused_; }

private:
    bool FillBuffer();
    void RecordError(const char* operation);

    int fd_ = -1;
    Mode mode_ = Mode::ReadWrite;
    std::string path_;
    bool failed_ = false;
    bool eof_ = false;
    std::string lastError_;
    bool writeRefused_ = false;
    std::vector<std::uint8_t> buffer_;
    std::size_t bufferPos_ = 0;
    std::int64_t bufferStart_ = 0;  // file position of buffer_[0]
    std::int64_t openedSize_ = -1;  // read-only streams only
    std::uint64_t openedDevice_ = 0;
    std::uint64_t openedInode_ = 0;
};

}  // namespace wave
