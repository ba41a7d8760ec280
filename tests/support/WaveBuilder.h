#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "wave/ChunkLayout.h"

namespace fixture {

using ByteVector = std::vector<std::uint8_t>;

// Appends the value's low bytes, least significant first.
void PutLE(ByteVector& out, std::uint32_t value, int bytes);

// Chunk data of a fixed size with fields set at their offsets.
class ChunkData {
public:
    explicit ChunkData(std::size_t size) : bytes_(size, 0) {}
    ChunkData& text(wave::Field field, std::string_view value);  // NUL-filled, cut to the width
    ChunkData& raw(std::size_t offset, std::string_view bytes);  // as they are, no fill
    ChunkData& u32(std::size_t offset, std::uint32_t value);
    ChunkData& timer(std::size_t k, std::string_view usage, std::uint32_t value);
    const ByteVector& bytes() const { return bytes_; }
    operator const ByteVector&() const { return bytes_; }  // NOLINT: reads as the bytes it builds

private:
    ByteVector bytes_;
};

// The 16-byte format block.
ByteVector FormatBlock(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits);
inline ByteVector PcmFormat() { return FormatBlock(1, 2, 44100, 16); }

// A cart chunk with typical content: version 0101, a title, dates, a URL.
ChunkData TypicalCart(std::size_t size = 2048);
// A bext chunk of the fixed 602 bytes plus coding history.
ChunkData TypicalBext(std::string_view codingHistory = "A=PCM,F=44100,W=16,M=stereo\r\n");

// The data of an RF64/BW64 ds64 chunk: RIFF size, data size, sample count
// and a table of 64-bit sizes for other chunks, by ID.
ByteVector Ds64(std::uint64_t riffSize, std::uint64_t dataSize,
                const std::vector<std::pair<std::string, std::uint64_t>>& table = {});

// A RIFF file assembled chunk by chunk. The RIFF size is computed unless set.
class WaveBuilder {
public:
    // "RF64" or "BW64" instead of "RIFF".
    WaveBuilder& fileId(std::string_view id);
    WaveBuilder& chunk(std::string_view id, const ByteVector& data);
    // The header with a declared size other than the data's length.
    WaveBuilder& chunkDeclaring(std::string_view id, std::uint32_t declaredSize, const ByteVector& data);
    WaveBuilder& padByte();
    WaveBuilder& formType(std::string_view type);
    WaveBuilder& riffSize(std::uint32_t size);
    ByteVector bytes() const;

private:
    ByteVector body_;
    std::string fileId_ = "RIFF";
    std::string formType_ = "WAVE";
    bool sizeSet_ = false;
    std::uint32_t riffSize_ = 0;
};

// "fmt " (PCM), optional bext, cart, then a short data chunk.
ByteVector TypicalWave(const ByteVector& cart = TypicalCart(), bool withBext = true);

void WriteFile(const std::filesystem::path& path, const ByteVector& bytes);
ByteVector ReadFile(const std::filesystem::path& path);
// The head, then `gap` bytes the file system may keep as a hole, then the
// tail. False when the file system cannot hold a file that large.
bool WriteSparseFile(const std::filesystem::path& path, const ByteVector& head, std::uint64_t gap,
                     const ByteVector& tail);

// A directory removed with everything in it when the object goes.
class TempDir {
public:
    explicit TempDir(const std::filesystem::path& base = std::filesystem::temp_directory_path());
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::filesystem::path file(const std::string& name) const { return path_ / name; }
    // Writes the bytes to a file of that name and returns its path.
    std::filesystem::path write(const std::string& name, const ByteVector& bytes) const;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace fixture
