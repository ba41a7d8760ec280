#include "tests/support/Unwritable.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace fixture {

Unwritable::Unwritable(std::filesystem::path path) : path_(std::move(path)) {
    std::filesystem::permissions(path_, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                            std::filesystem::perms::others_read);
    immutable_ = ::geteuid() == 0 && SetImmutable(true);
    const int probe = ::open(path_.c_str(), O_RDWR);
    ok_ = probe < 0;
    if (probe >= 0) ::close(probe);
}

Unwritable::~Unwritable() {
    if (immutable_) SetImmutable(false);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
}

bool Unwritable::SetImmutable(bool on) const {
    const int fd = ::open(path_.c_str(), O_RDONLY);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

}  // namespace fixture
