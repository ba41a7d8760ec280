// Writes the load fuzzer's seed corpus: small files that each end the chunk
// walk a different way, so the fuzzer starts from every branch of the loader
// rather than having to discover the RIFF layout by itself.
//
// Usage: make_fuzz_seeds DIR   (existing files of the same names are replaced;
// other files in DIR, such as kept reproducers, are left alone)

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz/SparseImage.h"
#include "tests/support/WaveBuilder.h"
#include "wave/ChunkLayout.h"

namespace {

using namespace std::string_view_literals;
using fixture::ByteVector;
using fixture::ChunkData;
using fixture::PcmFormat;
using fixture::TypicalBext;
using fixture::TypicalCart;
using fixture::WaveBuilder;

ByteVector Text(std::string_view text) { return {text.begin(), text.end()}; }

ByteVector Filled(std::size_t size, std::uint8_t value) { return ByteVector(size, value); }

// The first n bytes of a file, as a copy cut short in transfer would be.
ByteVector Cut(ByteVector bytes, std::size_t n) {
    bytes.resize(n);
    return bytes;
}

// "fmt " with the PCM block, the usual start of every case past the header.
WaveBuilder Pcm() {
    WaveBuilder builder;
    builder.chunk("fmt ", PcmFormat());
    return builder;
}

ByteVector Audio() { return Filled(64, 0x11); }

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

// A builder's chunks without the RIFF header.
ByteVector Body(const WaveBuilder& builder) {
    ByteVector bytes = builder.bytes();
    bytes.erase(bytes.begin(), bytes.begin() + 12);
    return bytes;
}

// The RIFF size of the head, a gap and the tail's chunks.
std::uint64_t RiffSize(const WaveBuilder& head, std::uint64_t gap, const WaveBuilder& tail) {
    return head.bytes().size() - 8 + gap + Body(tail).size();
}

// The head, then gap zero bytes in the fuzz targets' framing (they leave it
// a hole in the scratch file), then the tail's chunks: a file of gigabytes
// in a seed of a few KiB.
ByteVector Sparse(const WaveBuilder& head, std::uint64_t gap, const WaveBuilder& tail) {
    ByteVector bytes = head.bytes();
    const ByteVector hole = sparse::Hole(gap);
    bytes.insert(bytes.end(), hole.begin(), hole.end());
    const ByteVector chunks = Body(tail);
    bytes.insert(bytes.end(), chunks.begin(), chunks.end());
    return bytes;
}

struct Seed {
    std::string name;
    ByteVector bytes;
};

std::vector<Seed> Seeds() {
    using namespace wave::cart;
    const ChunkData cart2048 = TypicalCart(2048);
    const ChunkData cart700 = TypicalCart(700);
    std::vector<Seed> seeds;
    auto add = [&seeds](std::string name, ByteVector bytes) { seeds.push_back({std::move(name), std::move(bytes)}); };

    // Before the format chunk.
    add("empty", {});
    add("not-riff-text", Text("This is a plain text file, not a sound.\n"));
    add("not-riff-rifx", Text("RIFX\x24\x00\x00\x00WAVE"sv));
    add("riff-id-only", Text("RIFF"));
    add("riff-size-truncated", Text("RIFF\x24\x00"sv));
    add("riff-size-negative", Pcm().chunk("cart", cart700).riffSize(0x80000000u).bytes());
    add("not-wave-avi", Pcm().formType("AVI ").chunk("cart", cart700).bytes());
    add("wave-form-truncated", Cut(Pcm().bytes(), 10));
    add("wave-then-end", WaveBuilder().bytes());
    add("no-fmt-data-first", WaveBuilder().chunk("data", Audio()).chunk("fmt ", PcmFormat()).bytes());
    add("fmt-header-truncated", Cut(Pcm().bytes(), 16));
    add("fmt-block-truncated", Cut(Pcm().bytes(), 30));
    add("fmt-extended-18", WaveBuilder()
                               .chunk("fmt ",
                                      [] {
                                          ByteVector block = fixture::FormatBlock(0x0050, 1, 48000, 0);
                                          block.insert(block.end(), {0, 0});
                                          return block;
                                      }())
                               .chunk("cart", cart700)
                               .bytes());
    add("fmt-size-negative",
        WaveBuilder().chunkDeclaring("fmt ", 0xFFFFFFF0u, PcmFormat()).chunk("cart", cart700).bytes());
    add("fmt-odd-with-pad", WaveBuilder()
                                .chunk("fmt ",
                                       [] {
                                           ByteVector block = PcmFormat();
                                           block.push_back(7);
                                           return block;
                                       }())
                                .padByte()
                                .chunk("cart", cart700)
                                .bytes());

    // Between the format chunk and the cart chunk.
    add("data-before-cart", Pcm().chunk("data", Audio()).chunk("cart", cart700).bytes());
    add("list-before-cart",
        Pcm().chunk("LIST", Text("INFOISFT\x05\x00\x00\x00test\x00"sv)).chunk("cart", cart700).bytes());
    add("fact-mext-bext-cart", Pcm()
                                   .chunk("fact", {0x40, 0, 0, 0})
                                   .chunk("mext", Filled(12, 0x01))
                                   .chunk("bext", TypicalBext())
                                   .chunk("cart", cart2048)
                                   .chunk("data", Audio())
                                   .bytes());
    add("bext-fact-cart-out-of-order",
        Pcm().chunk("bext", TypicalBext()).chunk("fact", {0x40, 0, 0, 0}).chunk("cart", cart700).bytes());
    add("bext-then-data", Pcm().chunk("bext", TypicalBext()).chunk("data", Audio()).bytes());
    add("fact-odd-with-pad", Pcm().chunk("fact", Filled(5, 0x22)).padByte().chunk("cart", cart700).bytes());
    add("fact-odd-without-pad", Pcm().chunk("fact", Filled(5, 0x22)).chunk("cart", cart700).bytes());
    add("mext-odd-with-pad", Pcm().chunk("mext", Filled(11, 0x01)).padByte().chunk("cart", cart700).bytes());
    add("bext-odd-with-pad", Pcm().chunk("bext", TypicalBext("A=PCM\r\n")).padByte().chunk("cart", cart700).bytes());
    add("bext-odd-without-pad", Pcm().chunk("bext", TypicalBext("A=PCM\r\n")).chunk("cart", cart700).bytes());
    add("bext-shorter-than-fields", Pcm().chunk("bext", Cut(TypicalBext(), 300)).chunk("cart", cart700).bytes());
    add("bext-size-past-end", Pcm().chunkDeclaring("bext", 5000, TypicalBext()).bytes());
    add("bext-size-negative", Pcm().chunkDeclaring("bext", 0xFFFFFFFFu, {}).chunk("cart", cart700).bytes());
    add("mext-size-past-end", Pcm().chunkDeclaring("mext", 0x7FFFFFFFu, Filled(12, 0x01)).bytes());

    // The cart chunk itself.
    add("cart-2048-with-url",
        Pcm().chunk("bext", TypicalBext()).chunk("cart", cart2048).chunk("data", Audio()).bytes());
    add("cart-2048-without-url", Pcm().chunk("cart", ChunkData(cart2048).text(kURL, "")).bytes());
    add("cart-2048-url-punctuation", Pcm().chunk("cart", ChunkData(cart2048).text(kURL, "/relative/path")).bytes());
    add("cart-2047-url-cut", Pcm().chunk("cart", Cut(cart2048, 2047)).padByte().bytes());
    add("cart-tag-text", Pcm().chunk("cart", TypicalCart(2200)).bytes());
    add("cart-odd-without-pad", Pcm().chunk("cart", TypicalCart(701)).chunk("data", Audio()).bytes());
    add("cart-shorter-than-fields", Pcm().chunk("cart", TypicalCart(100)).bytes());
    add("cart-cut-in-date", Pcm().chunk("cart", TypicalCart(kStartDate.offset + 6)).bytes());
    add("cart-size-past-end", Pcm().chunkDeclaring("cart", 2048, cart700).bytes());
    add("cart-size-huge", Pcm().chunkDeclaring("cart", 0x7FFFFFFFu, cart700).bytes());
    add("cart-header-only", Pcm().chunkDeclaring("cart", 700, {}).bytes());
    add("cart-header-truncated", Cut(Pcm().chunk("cart", cart700).bytes(), 40));
    add("cart-size-zero", Pcm().chunk("cart", {}).chunk("data", Audio()).bytes());
    add("cart-size-negative", Pcm().chunkDeclaring("cart", 0xFFFFFF00u, cart700).bytes());
    add("cart-odd-dates", Pcm()
                              .chunk("cart", ChunkData(cart700)
                                                 .text(kStartDate, "-123-45-67")
                                                 .text(kStartTime, "99999999")
                                                 .text(kEndDate, " +7-\t8- 9")
                                                 .text(kEndTime, "ab:cd:ef"))
                              .bytes());
    add("cart-high-bytes", Pcm()
                               .chunk("cart", ChunkData(cart700)
                                                  .text(kTitle, "Caf\xE9 \x80\x81\x8D\x8F\x90\x9D\xFF")
                                                  .text(kArtist, "\x9F\xA0\xAD\xFE"))
                               .bytes());
    add("cart-numbered-timers", WaveBuilder()
                                    .chunk("fmt ", fixture::FormatBlock(1, 1, 48000, 24))
                                    .chunk("cart", ChunkData(cart700)
                                                       .timer(0, "MRK1", 0)
                                                       .timer(1, "MRK2", 48000)
                                                       .timer(2, "MRK3", 0xFFFFFFFFu)
                                                       .timer(3, "SEC1", 1)
                                                       .timer(4, "SEC3", 2)
                                                       .timer(5, "EOD1", 3)
                                                       .timer(6, "SEC ", 4)
                                                       .timer(7, "XYZ!", 5))
                                    .bytes());
    add("cart-rate-zero",
        WaveBuilder().chunk("fmt ", fixture::FormatBlock(3, 0, 0, 32)).chunk("cart", cart700).bytes());

    // Layouts only the any-layout walk reads.
    add("junk-bext-cart-before-fmt", WaveBuilder()
                                         .chunk("JUNK", ByteVector(28))
                                         .chunk("bext", TypicalBext())
                                         .chunk("cart", cart700)
                                         .chunk("fmt ", PcmFormat())
                                         .chunk("data", Audio())
                                         .bytes());
    add("cart-after-data",
        Pcm().chunk("data", Audio()).chunk("LIST", Filled(9, 0x41)).padByte().chunk("cart", cart700).bytes());
    add("rf64-ds64-table", WaveBuilder()
                               .fileId("RF64")
                               .riffSize(0xFFFFFFFFu)
                               .chunk("ds64", fixture::Ds64(2900, 64, {{"cart", 700}}))
                               .chunk("fmt ", PcmFormat())
                               .chunkDeclaring("data", 0xFFFFFFFFu, Audio())
                               .chunkDeclaring("cart", 0xFFFFFFFFu, cart700)
                               .chunk("bext", TypicalBext())
                               .bytes());
    add("bw64-ds64-short", WaveBuilder()
                               .fileId("BW64")
                               .riffSize(0xFFFFFFFFu)
                               .chunk("ds64", Filled(20, 0))
                               .chunk("fmt ", PcmFormat())
                               .chunkDeclaring("data", 0xFFFFFFFFu, Audio())
                               .chunk("cart", cart700)
                               .bytes());

    // Gigabytes declared and present, served by holes: every read and
    // allocation must stay within the loader's bounds.
    const ByteVector bext = TypicalBext();
    {
        WaveBuilder head = Pcm().chunkDeclaring("bext", static_cast<std::uint32_t>(kGiB), bext);
        const WaveBuilder tail = WaveBuilder().chunk("cart", cart700).chunk("data", Audio());
        const std::uint64_t gap = kGiB - bext.size();
        head.riffSize(static_cast<std::uint32_t>(RiffSize(head, gap, tail)));
        add("sparse-bext-1gib-coding-history", Sparse(head, gap, tail));
    }
    {
        constexpr std::uint64_t kAudio = 0x90000000u;  // past 2 GiB: negative as a signed 32-bit size
        WaveBuilder head = Pcm().chunk("bext", bext).chunkDeclaring("data", static_cast<std::uint32_t>(kAudio), {});
        const WaveBuilder tail = WaveBuilder().chunk("cart", cart2048);
        head.riffSize(static_cast<std::uint32_t>(RiffSize(head, kAudio, tail)));
        add("sparse-riff-2gib-data-then-cart", Sparse(head, kAudio, tail));
    }
    {
        constexpr std::uint64_t kAudio = 5 * kGiB;
        auto head = [](std::uint64_t riffSize) {
            return WaveBuilder()
                .fileId("RF64")
                .riffSize(0xFFFFFFFFu)
                .chunk("ds64", fixture::Ds64(riffSize, kAudio))
                .chunk("fmt ", PcmFormat())
                .chunkDeclaring("data", 0xFFFFFFFFu, {});
        };
        const WaveBuilder tail = WaveBuilder().chunk("bext", bext).chunk("cart", cart2048);
        add("sparse-rf64-5gib-data-then-cart", Sparse(head(RiffSize(head(0), kAudio, tail)), kAudio, tail));
    }
    return seeds;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    try {
        const std::filesystem::path dir = argv[1];
        std::filesystem::create_directories(dir);
        for (const Seed& seed : Seeds()) fixture::WriteFile(dir / seed.name, seed.bytes);
        std::printf("%zu seeds written to %s\n", Seeds().size(), dir.c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
