#pragma once

#include <string>
#include <string_view>

namespace cli {

// A new file beside `path`, written under a name of its own and renamed over
// `path` only once complete, so a failure never leaves half an output, nor
// spoils a file already there. Removed unless committed.
class ReplacingFile {
public:
    explicit ReplacingFile(const std::string& path);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // The new file's name and descriptor, while it is written; empty and -1
    // when it could not be made (Commit says why).
    const std::string& Name() const { return temporary_; }
    int Descriptor() const { return fd_; }
    // Makes it readable by others, as any file the user makes, and puts it
    // in place. The reason when it fails; empty on success.
    std::string Commit();

private:
    std::string path_;
    std::string temporary_;
    int fd_ = -1;
    std::string failure_;
};

// Writes the bytes to `path` so. Refuses to replace `keep` (the input the
// output was made from). The reason when it fails; empty on success.
std::string ReplaceFile(const std::string& path, std::string_view bytes, const std::string& keep);

}  // namespace cli
