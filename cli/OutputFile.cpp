#include "cli/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "wave/WaveStream.h"

namespace cli {

ReplacingFile::ReplacingFile(const std::string& path) : path_(path) {
    const std::filesystem::path target(path);
    const std::string folder = target.has_parent_path() ? target.parent_path().string() : std::string(".");
    std::string temporary = folder + "/." + target.filename().string() + "-XXXXXX";
    fd_ = ::mkstemp(temporary.data());
    if (fd_ < 0) {
        failure_ = std::string("cannot write beside ") + path + ": " + std::strerror(errno);
        return;
    }
    temporary_ = std::move(temporary);
}

ReplacingFile::~ReplacingFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

std::string ReplacingFile::Commit() {
    if (fd_ < 0) return failure_;
    std::string why;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(fd_, 0666 & ~mask) != 0) why = std::strerror(errno);
    if (::close(fd_) != 0 && why.empty()) why = std::strerror(errno);
    fd_ = -1;
    if (why.empty() && ::rename(temporary_.c_str(), path_.c_str()) != 0) why = std::strerror(errno);
    if (!why.empty()) return "cannot write " + path_ + ": " + why;
    temporary_.clear();
    return {};
}

std::string ReplaceFile(const std::string& path, std::string_view bytes, const std::string& keep) {
    const std::string target = wave::WaveStream::IdentityOf(path);
    if (!target.empty() && target == wave::WaveStream::IdentityOf(keep))
        return "the output would replace the file it is made from";
    ReplacingFile output(path);
    for (std::size_t done = 0; done < bytes.size() && output.Descriptor() >= 0;) {
        const ssize_t wrote = ::write(output.Descriptor(), bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return "cannot write " + path + ": " + std::strerror(errno);
        done += static_cast<std::size_t>(wrote);
    }
    return output.Commit();
}

}  // namespace cli
