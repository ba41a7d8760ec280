#include "tests/support/WaveBuilder.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace fixture {

void PutLE(ByteVector& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

ChunkData& ChunkData::text(wave::Field field, std::string_view value) {
    for (std::size_t i = 0; i < field.width && field.offset + i < bytes_.size(); ++i) {
        bytes_[field.offset + i] = i < value.size() ? static_cast<std::uint8_t>(value[i]) : 0;
    }
    return *this;
}

ChunkData& ChunkData::raw(std::size_t offset, std::string_view value) {
    for (std::size_t i = 0; i < value.size() && offset + i < bytes_.size(); ++i) {
        bytes_[offset + i] = static_cast<std::uint8_t>(value[i]);
    }
    return *this;
}

ChunkData& ChunkData::u32(std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4 && offset + i < bytes_.size(); ++i) {
        bytes_[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    return *this;
}

ChunkData& ChunkData::timer(std::size_t k, std::string_view usage, std::uint32_t value) {
    const std::size_t entry = wave::cart::kPostTimers + 8 * k;
    // A shorter code is NUL-padded, so "" clears the slot.
    std::string code(usage);
    if (code.size() < 4) code.resize(4, '\0');
    raw(entry, code);
    return u32(entry + 4, value);
}

ByteVector FormatBlock(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    const auto align = static_cast<std::uint16_t>(channels * bits / 8);
    ByteVector block;
    PutLE(block, tag, 2);
    PutLE(block, channels, 2);
    PutLE(block, rate, 4);
    PutLE(block, rate * align, 4);
    PutLE(block, align, 2);
    PutLE(block, bits, 2);
    return block;
}

ChunkData TypicalCart(std::size_t size) {
    using namespace wave::cart;
    ChunkData cart(size);
    cart.text(kVersion, "0101")
        .text(kTitle, "Morning Jingle")
        .text(kArtist, "The Station Band")
        .text(kCutID, "CUT-0042")
        .text(kClientID, "Station One")
        .text(kCategory, "JINGLE")
        .text(kClassification, "ID")
        .text(kOutCue, "fade")
        .text(kStartDate, "2001-05-06")
        .text(kStartTime, "07:08:09")
        .text(kEndDate, "2099-12-31")
        .text(kEndTime, "23:59:59")
        .text(kProducerAppID, "Reelmarker tests")
        .text(kProducerAppVersion, "1.0")
        .text(kUserDef, "user text")
        .u32(kLevelReference, 32768)
        .timer(0, "MRK ", 44100)
        .timer(1, "SEC1", 88200)
        .timer(2, "EOD ", 132300)
        .raw(748, "reserved area bytes")
        .text(kURL, "http://www.example.com/jingle");
    if (size > kTagText) cart.raw(kTagText, "tag text");
    return cart;
}

ChunkData TypicalBext(std::string_view codingHistory) {
    using namespace wave::bext;
    ChunkData bext(kCodingHistory + codingHistory.size());
    bext.text(kDescription, "A short tone")
        .text(kOriginator, "Reelmarker")
        .text(kOriginatorReference, "REF-1")
        .text(kOriginationDate, "2024-01-02")
        .text(kOriginationTime, "10:11:12")
        .raw(kCodingHistory, codingHistory);
    return bext;
}

ByteVector Ds64(std::uint64_t riffSize, std::uint64_t dataSize,
                const std::vector<std::pair<std::string, std::uint64_t>>& table) {
    ByteVector out;
    auto put64 = [&out](std::uint64_t value) {
        PutLE(out, static_cast<std::uint32_t>(value), 4);
        PutLE(out, static_cast<std::uint32_t>(value >> 32), 4);
    };
    put64(riffSize);
    put64(dataSize);
    put64(0);  // sample count: not used by the loader
    PutLE(out, static_cast<std::uint32_t>(table.size()), 4);
    for (const auto& [id, size] : table) {
        out.insert(out.end(), id.begin(), id.end());
        put64(size);
    }
    return out;
}

WaveBuilder& WaveBuilder::fileId(std::string_view id) {
    fileId_ = id;
    return *this;
}

WaveBuilder& WaveBuilder::chunk(std::string_view id, const ByteVector& data) {
    return chunkDeclaring(id, static_cast<std::uint32_t>(data.size()), data);
}

WaveBuilder& WaveBuilder::chunkDeclaring(std::string_view id, std::uint32_t declaredSize, const ByteVector& data) {
    body_.insert(body_.end(), id.begin(), id.end());
    PutLE(body_, declaredSize, 4);
    body_.insert(body_.end(), data.begin(), data.end());
    return *this;
}

WaveBuilder& WaveBuilder::padByte() {
    body_.push_back(0);
    return *this;
}

WaveBuilder& WaveBuilder::formType(std::string_view type) {
    formType_ = type;
    return *this;
}

WaveBuilder& WaveBuilder::riffSize(std::uint32_t size) {
    sizeSet_ = true;
    riffSize_ = size;
    return *this;
}

ByteVector WaveBuilder::bytes() const {
    ByteVector out(fileId_.begin(), fileId_.end());
    PutLE(out, sizeSet_ ? riffSize_ : static_cast<std::uint32_t>(formType_.size() + body_.size()), 4);
    out.insert(out.end(), formType_.begin(), formType_.end());
    out.insert(out.end(), body_.begin(), body_.end());
    return out;
}

ByteVector TypicalWave(const ByteVector& cart, bool withBext) {
    WaveBuilder builder;
    builder.chunk("fmt ", PcmFormat());
    if (withBext) builder.chunk("bext", TypicalBext());
    return builder.chunk("cart", cart).chunk("data", ByteVector(400, 0x11)).bytes();
}

void WriteFile(const std::filesystem::path& path, const ByteVector& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

ByteVector ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WriteSparseFile(const std::filesystem::path& path, const ByteVector& head, std::uint64_t gap,
                     const ByteVector& tail) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(head.data()), static_cast<std::streamsize>(head.size()));
    out.seekp(static_cast<std::streamoff>(head.size() + gap));
    out.write(reinterpret_cast<const char*>(tail.data()), static_cast<std::streamsize>(tail.size()));
    out.close();
    return !out.fail();
}

TempDir::TempDir(const std::filesystem::path& base) {
    std::string pattern = (base / "reelmarker-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempDir::write(const std::string& name, const ByteVector& bytes) const {
    const auto target = file(name);
    WriteFile(target, bytes);
    return target;
}

}  // namespace fixture
