#pragma once

#include <optional>
#include <string>
#include <string_view>

struct zip;

namespace cli {

// A zip archive held in memory, read with libzip: what a workbook is.
class ZipArchive {
public:
    // The archive in bytes, which must outlive it; Ok() tells whether they
    // were one.
    explicit ZipArchive(std::string_view bytes);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool Ok() const { return archive_ != nullptr; }
    // The entry's bytes; nothing when it is missing, unreadable or larger
    // than a workbook part can sensibly be (so a crafted archive cannot
    // exhaust memory).
    std::optional<std::string> Entry(const std::string& name) const;

private:
    zip* archive_ = nullptr;
};

}  // namespace cli
