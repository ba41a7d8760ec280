#include "cli/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "wave/WaveStream.h"

namespace cli {

std::string ReplaceFile(const std::string& path, std::string_view bytes, const std::string& keep) {
    const std::string target = wave::WaveStream::IdentityOf(path);
    if (!target.empty() && target == wave::WaveStream::IdentityOf(keep))
        return "the output would replace the file it is made from";
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::string temporary = (folder.empty() ? std::string(".") : folder.string()) + "/.peaks-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return std::string("cannot write beside ") + path + ": " + std::strerror(errno);
    std::string why;
    for (std::size_t done = 0; done < bytes.size() && why.empty();) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) why = std::strerror(errno);
        if (wrote > 0) done += static_cast<std::size_t>(wrote);
    }
    // The output is read by others, as any file the user makes.
    if (why.empty()) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        if (::fchmod(fd, 0666 & ~mask) != 0) why = std::strerror(errno);
    }
    if (::close(fd) != 0 && why.empty()) why = std::strerror(errno);
    if (why.empty() && ::rename(temporary.c_str(), path.c_str()) != 0) why = std::strerror(errno);
    if (!why.empty()) {
        ::unlink(temporary.c_str());
        return "cannot write " + path + ": " + why;
    }
    return {};
}

}  // namespace cli
