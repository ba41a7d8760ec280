#include "cli/ZipArchive.h"

#include <zip.h>

#include <array>
#include <memory>

namespace cli {

namespace {

// Far more than the sheets of a batch of files, and little enough to hold.
constexpr std::size_t kMaxEntryBytes = std::size_t{256} << 20;

struct CloseEntry {
    void operator()(zip_file_t* entry) const { zip_fclose(entry); }
};

}  // namespace

ZipArchive::ZipArchive(std::string_view bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (source != nullptr) {
        archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
        // On failure the source is still ours.
        if (archive_ == nullptr) zip_source_free(source);
    }
    zip_error_fini(&error);
}

ZipArchive::~ZipArchive() {
    if (archive_ != nullptr) zip_discard(archive_);
}

std::optional<std::string> ZipArchive::Entry(const std::string& name) const {
    if (archive_ == nullptr) return std::nullopt;
    const std::unique_ptr<zip_file_t, CloseEntry> entry(zip_fopen(archive_, name.c_str(), 0));
    if (!entry) return std::nullopt;
    std::string bytes;
    std::array<char, 1 << 16> buffer{};
    for (;;) {
        const zip_int64_t got = zip_fread(entry.get(), buffer.data(), buffer.size());
        if (got < 0) return std::nullopt;  // also a failed checksum
        if (got == 0) return bytes;
        bytes.append(buffer.data(), static_cast<std::size_t>(got));
        if (bytes.size() > kMaxEntryBytes) return std::nullopt;
    }
}

}  // namespace cli
