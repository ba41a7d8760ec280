#include "bench/BenchFiles.h"

#include <fcntl.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>

#include "tests/support/WaveBuilder.h"

namespace bench {

namespace {

// Reads /proc/self/io; `bytes` gets the length of the text read.
IoCounters ReadIo(std::uint64_t& bytes) {
    const int fd = ::open("/proc/self/io", O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("cannot open /proc/self/io");
    char text[1024];
    std::size_t used = 0;
    for (;;) {
        const ssize_t got = ::read(fd, text + used, sizeof text - 1 - used);
        if (got <= 0) break;
        used += static_cast<std::size_t>(got);
    }
    ::close(fd);
    text[used] = '\0';
    bytes = used;
    IoCounters io;
    if (const char* r = std::strstr(text, "rchar:")) io.rchar = std::strtoull(r + 6, nullptr, 10);
    if (const char* w = std::strstr(text, "wchar:")) io.wchar = std::strtoull(w + 6, nullptr, 10);
    if (const char* w = std::strstr(text, "syscw:")) io.syscw = std::strtoull(w + 6, nullptr, 10);
    return io;
}

struct Files {
    fixture::TempDir dir;
    std::map<std::string, std::filesystem::path> sparse;
    std::vector<std::string> small;
};

std::unique_ptr<Files>& Store() {
    static std::unique_ptr<Files> files;
    return files;
}

Files& TheFiles() {
    auto& files = Store();
    if (!files) files = std::make_unique<Files>();
    return *files;
}

void WriteAll(int fd, const fixture::ByteVector& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put <= 0) throw std::runtime_error("cannot write a benchmark file");
        done += static_cast<std::size_t>(put);
    }
}

void WriteSmallFile(const std::string& path, int index) {
    SF_INFO info{};
    info.samplerate = 48000;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) throw std::runtime_error("libsndfile cannot write " + path);

    SF_BROADCAST_INFO bext{};
    std::snprintf(bext.description, sizeof bext.description, "Spot %04d", index);
    std::strncpy(bext.originator, "Reelmarker bench", sizeof bext.originator);
    std::memcpy(bext.origination_date, "2024-06-01", 10);
    std::memcpy(bext.origination_time, "12:00:00", 8);
    const char history[] = "A=PCM,F=48000,W=16,M=stereo\r\n";
    std::memcpy(bext.coding_history, history, sizeof history - 1);
    bext.coding_history_size = sizeof history - 1;
    sf_command(file, SFC_SET_BROADCAST_INFO, &bext, sizeof bext);

    SF_CART_INFO cart{};
    std::memcpy(cart.version, "0101", 4);
    std::snprintf(cart.title, sizeof cart.title, "Spot %04d", index);
    std::strncpy(cart.artist, "Bench Band", sizeof cart.artist);
    std::snprintf(cart.cut_id, sizeof cart.cut_id, "%05d", index);
    std::memcpy(cart.start_date, "2024-06-01", 10);
    std::memcpy(cart.start_time, "00:00:00", 8);
    std::memcpy(cart.end_date, "2024-12-31", 10);
    std::memcpy(cart.end_time, "23:59:59", 8);
    cart.level_reference = 32768;
    std::memcpy(cart.post_timers[0].usage, "MRK ", 4);
    cart.post_timers[0].value = 2400;
    std::strncpy(cart.url, "http://www.example.com/spots", sizeof cart.url);
    sf_command(file, SFC_SET_CART_INFO, &cart, sizeof cart);

    // A tenth of a second of tone.
    std::vector<short> samples(2 * 4800);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<short>(std::lround(8000.0 * std::sin(0.05 * static_cast<double>(i / 2))));
    }
    sf_writef_short(file, samples.data(), 4800);
    sf_close(file);
}

}  // namespace

IoMeter::IoMeter() {
    // The first read's own bytes are counted by the second.
    std::uint64_t unused = 0;
    ReadIo(unused);
    start_ = ReadIo(ownBytes_);
}

IoCounters IoMeter::delta() const {
    std::uint64_t unused = 0;
    const IoCounters now = ReadIo(unused);
    return {now.rchar - start_.rchar - ownBytes_, now.wchar - start_.wchar, now.syscw - start_.syscw};
}

const std::filesystem::path& SparseWave(const std::string& name, std::int64_t size) {
    Files& files = TheFiles();
    const std::string key = name + "/" + std::to_string(size);
    if (auto found = files.sparse.find(key); found != files.sparse.end()) return found->second;

    const fixture::ByteVector head = fixture::WaveBuilder()
                                         .chunk("fmt ", fixture::PcmFormat())
                                         .chunk("bext", fixture::TypicalBext())
                                         .chunk("cart", fixture::TypicalCart())
                                         .bytes();
    const auto headSize = static_cast<std::int64_t>(head.size());
    const auto dataSize = static_cast<std::uint32_t>(size - headSize - 8);
    fixture::ByteVector bytes = head;
    const char dataHeader[] = {'d', 'a', 't', 'a'};
    bytes.insert(bytes.end(), dataHeader, dataHeader + 4);
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(dataSize >> (8 * i)));
    const auto riffSize = static_cast<std::uint32_t>(size - 8);
    for (int i = 0; i < 4; ++i) bytes[4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(riffSize >> (8 * i));

    const auto path = files.dir.file(name + "-" + std::to_string(size / kMiB) + "MiB.wav");
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) throw std::runtime_error("cannot create " + path.string());
    WriteAll(fd, bytes);
    const bool sized = ::ftruncate(fd, size) == 0;
    ::close(fd);
    if (!sized) throw std::runtime_error("cannot extend " + path.string());
    return files.sparse.emplace(key, path).first->second;
}

const std::filesystem::path& HugeBextWave(std::int64_t historySize) {
    Files& files = TheFiles();
    const std::string key = "bext/" + std::to_string(historySize);
    if (auto found = files.sparse.find(key); found != files.sparse.end()) return found->second;

    const auto bextSize = static_cast<std::uint32_t>(602 + historySize);
    fixture::ByteVector head = fixture::WaveBuilder()
                                   .chunk("fmt ", fixture::PcmFormat())
                                   .chunkDeclaring("bext", bextSize, fixture::TypicalBext(""))
                                   .bytes();
    const fixture::ByteVector tail =
        fixture::WaveBuilder().chunk("cart", fixture::TypicalCart()).chunk("data", fixture::ByteVector(400, 0)).bytes();
    // The tail's own RIFF header is left out; the head's RIFF size covers all.
    const fixture::ByteVector chunks(tail.begin() + 12, tail.end());
    const auto riffSize =
        static_cast<std::uint32_t>(head.size() - 8 + static_cast<std::size_t>(historySize) + chunks.size());
    for (int i = 0; i < 4; ++i) head[4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(riffSize >> (8 * i));

    const auto path = files.dir.file("bext-" + std::to_string(historySize / kMiB) + "MiB.wav");
    if (!fixture::WriteSparseFile(path, head, static_cast<std::uint64_t>(historySize), chunks)) {
        throw std::runtime_error("cannot create " + path.string());
    }
    return files.sparse.emplace(key, path).first->second;
}

const std::filesystem::path& SparseRf64CartAfterAudio(const std::string& name, std::int64_t size) {
    Files& files = TheFiles();
    const std::string key = "rf64:" + name + "/" + std::to_string(size);
    if (auto found = files.sparse.find(key); found != files.sparse.end()) return found->second;

    const fixture::ByteVector cart = fixture::TypicalCart();
    const fixture::ByteVector tail = fixture::WaveBuilder().chunk("cart", cart).bytes();
    const fixture::ByteVector cartChunk(tail.begin() + 12, tail.end());  // without the RIFF header
    auto head = [&](std::uint64_t dataSize) {
        return fixture::WaveBuilder()
            .fileId("RF64")
            .riffSize(0xFFFFFFFFu)
            .chunk("ds64", fixture::Ds64(static_cast<std::uint64_t>(size) - 8, dataSize))
            .chunk("fmt ", fixture::PcmFormat())
            .chunk("bext", fixture::TypicalBext())
            .chunkDeclaring("data", 0xFFFFFFFFu, {})
            .bytes();
    };
    const std::uint64_t headSize = head(0).size();
    const std::uint64_t dataSize = static_cast<std::uint64_t>(size) - headSize - cartChunk.size();

    const auto path = files.dir.file(name + "-rf64-" + std::to_string(size / kMiB) + "MiB.wav");
    if (!fixture::WriteSparseFile(path, head(dataSize), dataSize, cartChunk)) {
        throw std::runtime_error("cannot create " + path.string());
    }
    return files.sparse.emplace(key, path).first->second;
}

const std::vector<std::string>& SmallFiles() {
    Files& files = TheFiles();
    if (files.small.empty()) {
        const auto dir = files.dir.file("small");
        std::filesystem::create_directory(dir);
        for (int i = 0; i < kSmallFileCount; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "spot-%04d.wav", i);
            const std::string path = (dir / name).string();
            WriteSmallFile(path, i);
            files.small.push_back(path);
        }
    }
    return files.small;
}

std::filesystem::path ExecutableDir() { return std::filesystem::read_symlink("/proc/self/exe").parent_path(); }

void ReleaseFiles() { Store().reset(); }

std::string Bytes(std::int64_t n) {
    if (n >= kMiB && n % kMiB == 0) return std::to_string(n / kMiB) + " MiB";
    return std::to_string(n) + " B";
}

}  // namespace bench
