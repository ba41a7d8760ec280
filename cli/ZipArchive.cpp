#include "cli/ZipArchive.h"

#include <unzip.h>

#include <array>

namespace cli {

namespace {

// Far more than the sheets of a batch of files, and little enough to hold.
constexpr std::size_t kMaxEntryBytes = std::size_t{256} << 20;

using Memory = ZipArchive::Memory;

voidpf ZCALLBACK Open(voidpf opaque, const void*, int) { return opaque; }

uLong ZCALLBACK Read(voidpf, voidpf stream, void* buffer, uLong size) {
    Memory& memory = *static_cast<Memory*>(stream);
    const std::uint64_t left = memory.bytes.size() - memory.pos;
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(size, left));
    memory.bytes.copy(static_cast<char*>(buffer), count, static_cast<std::size_t>(memory.pos));
    memory.pos += count;
    return static_cast<uLong>(count);
}

uLong ZCALLBACK Write(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK Tell(voidpf, voidpf stream) { return static_cast<Memory*>(stream)->pos; }

long ZCALLBACK Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    Memory& memory = *static_cast<Memory*>(stream);
    const std::uint64_t size = memory.bytes.size();
    std::uint64_t base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR) base = memory.pos;
    if (origin == ZLIB_FILEFUNC_SEEK_END) base = size;
    if (offset > size || base + offset > size) return -1;
    memory.pos = base + offset;
    return 0;
}

int ZCALLBACK Close(voidpf, voidpf) { return 0; }

int ZCALLBACK Error(voidpf, voidpf) { return 0; }

}  // namespace

ZipArchive::ZipArchive(std::string_view bytes) : memory_{bytes, 0} {
    zlib_filefunc64_def functions{Open, Read, Write, Tell, Seek, Close, Error, &memory_};
    archive_ = unzOpen2_64("", &functions);
}

ZipArchive::~ZipArchive() {
    if (archive_ != nullptr) unzClose(archive_);
}

std::optional<std::string> ZipArchive::Entry(const std::string& name) const {
    std::string bytes;
    if (!Stream(name, [&](std::string_view piece) { bytes += piece; })) return std::nullopt;
    return bytes;
}

bool ZipArchive::Stream(const std::string& name, const std::function<void(std::string_view)>& take) const {
    if (archive_ == nullptr || unzLocateFile(archive_, name.c_str(), 1) != UNZ_OK ||
        unzOpenCurrentFile(archive_) != UNZ_OK) {
        return false;
    }
    std::array<char, 1 << 16> buffer{};
    std::size_t size = 0;
    int got = 0;
    while ((got = unzReadCurrentFile(archive_, buffer.data(), static_cast<unsigned>(buffer.size()))) > 0) {
        size += static_cast<std::size_t>(got);
        if (size > kMaxEntryBytes) break;
        take(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
    }
    // Closing checks the CRC of an entry read to its end.
    const bool checked = unzCloseCurrentFile(archive_) == UNZ_OK;
    return got == 0 && checked;
}

std::vector<std::string> ZipArchive::Names() const {
    std::vector<std::string> names;
    if (archive_ == nullptr) return names;
    std::array<char, 1024> name{};
    for (int at = unzGoToFirstFile(archive_); at == UNZ_OK; at = unzGoToNextFile(archive_)) {
        if (unzGetCurrentFileInfo64(archive_, nullptr, name.data(), name.size(), nullptr, 0, nullptr, 0) == UNZ_OK)
            names.emplace_back(name.data());
    }
    return names;
}

}  // namespace cli
