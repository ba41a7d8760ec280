#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// A zip archive held in memory, read with minizip (which the workbook writer
// already brings): what a workbook is.
class ZipArchive {
public:
    // The archive in bytes, which must outlive it; Ok() tells whether they
    // were one.
    explicit ZipArchive(std::string_view bytes);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool Ok() const { return archive_ != nullptr; }
    // The entry's bytes; nothing when it is missing, unreadable, fails its
    // checksum or is larger than a workbook part can sensibly be (so a
    // crafted archive cannot exhaust memory).
    std::optional<std::string> Entry(const std::string& name) const;
    // The entry's bytes piece by piece, without holding them all; whether it
    // was there and read whole, with the checks Entry makes.
    bool Stream(const std::string& name, const std::function<void(std::string_view)>& take) const;
    // The names of its entries, in the archive's order.
    std::vector<std::string> Names() const;

    // Where minizip reads from.
    struct Memory {
        std::string_view bytes;
        std::uint64_t pos = 0;
    };

private:
    Memory memory_;
    void* archive_ = nullptr;
};

}  // namespace cli
