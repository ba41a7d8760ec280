#pragma once

#include <filesystem>

namespace fixture {

// Makes a file refuse to be opened for writing while it lives: read-only
// mode bits, and for root (whom those do not stop) the immutable flag.
// Ok() is false where the file system does not allow that.
class Unwritable {
public:
    explicit Unwritable(std::filesystem::path path);
    ~Unwritable();
    Unwritable(const Unwritable&) = delete;
    Unwritable& operator=(const Unwritable&) = delete;

    bool Ok() const { return ok_; }

private:
    bool SetImmutable(bool on) const;

    std::filesystem::path path_;
    bool immutable_ = false;
    bool ok_ = false;
};

}  // namespace fixture
