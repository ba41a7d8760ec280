#include "cli/ReadOptionFlags.h"

#include <map>

namespace cli {

namespace {

// The file's character sets, as --encoding names them.
const std::map<std::string, wave::Charset> kCharsets = {
    {"windows-1252", wave::Charset::Windows1252}, {"latin-1", wave::Charset::Latin1}, {"utf-8", wave::Charset::Utf8}};

}  // namespace

void ReadOptionFlags::AddTo(CLI::App& command) {
    command.add_flag("--any-layout", anyLayout_,
                     "Find the fmt, bext and cart chunks in any order, also in RF64 and BW64 files");
    command
        .add_option("--encoding", encoding_,
                    "Character set of the files' text: windows-1252 (default), latin-1 or utf-8; widths count bytes")
        ->check(CLI::IsMember(kCharsets));
}

ReadOptions ReadOptionFlags::Options() const {
    return {anyLayout_ ? wave::ChunkWalk::AnyLayout : wave::ChunkWalk::FixedOrder, kCharsets.at(encoding_)};
}

}  // namespace cli
