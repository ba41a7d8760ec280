// Edits a file as `set` does, with values typed in any character set the CLI
// accepts, then loads the saved file again by the same walk. Every value
// accepted reads back exactly as given; a refusal leaves the file byte for
// byte; no byte outside the edited fields changes, nor the file's length.
//
// Input: a header byte (number of edits, character set, chunk walk), then per
// edit a field byte and a length byte followed by that many value bytes; the
// rest is the file, which may declare gigabytes (see SparseImage.h).

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "cli/CartUpdate.h"
#include "cli/FieldOptions.h"
#include "cli/LoadedFile.h"
#include "fuzz/Require.h"
#include "fuzz/ScratchFile.h"
#include "fuzz/Snapshot.h"
#include "fuzz/SparseImage.h"
#include "wave/FieldCodecs.h"

namespace {

struct EditInput {
    std::vector<cli::RequestedValue> values;
    cli::ReadOptions options;
    sparse::Image file;
};

// Reads the edits off the front of the input; the fields are those `set`
// offers, and one more choice for `--clear-timer`.
EditInput Parse(const std::uint8_t* data, std::size_t size) {
    EditInput input;
    std::size_t at = 0;
    auto next = [&]() -> std::uint8_t { return at < size ? data[at++] : 0; };
    const std::uint8_t header = next();
    constexpr wave::Charset kCharsets[] = {wave::Charset::Windows1252, wave::Charset::Latin1, wave::Charset::Utf8};
    input.options.charset = kCharsets[(header >> 3) % 3];
    input.options.walk = (header & 0x80) != 0 ? wave::ChunkWalk::AnyLayout : wave::ChunkWalk::FixedOrder;
    const std::vector<const wave::CartFieldRow*> fields = cli::SettableFields();
    for (std::size_t n = header & 0x7; n > 0; --n) {
        const std::size_t choice = next() % (fields.size() + 1);
        // The byte first: the remaining length must count it as read.
        const std::uint8_t wanted = next();
        const std::size_t length = std::min<std::size_t>(wanted, size - std::min(at, size));
        std::string text(reinterpret_cast<const char*>(data) + std::min(at, size), length);
        at += length;
        const bool clearTimer = choice == fields.size();
        const wave::CartFieldRow* row = clearTimer ? &wave::RowOf(wave::CartField::Timers) : fields[choice];
        input.values.push_back({row, std::move(text), clearTimer});
    }
    input.file = sparse::Unframe(data + std::min(at, size), size - std::min(at, size));
    return input;
}

// The bytes a write may change, relative to the cart data.
wave::Field Span(const wave::CartWrite& write, std::size_t cartSize) {
    if (write.part) return *write.part;
    const wave::CartFieldRow& row = wave::RowOf(write.field);
    if (row.kind != wave::FieldKind::TextToEnd) return row.layout;
    return {row.layout.offset, cartSize > row.layout.offset ? cartSize - row.layout.offset : 0};
}

// What the reloaded cart data holds where a write went, in the write's terms.
std::string ReadBack(const wave::CartWrite& write, const cli::LoadedFile& loaded) {
    const std::vector<std::uint8_t>& data = *loaded.document.loaded.cart;
    const wave::Field span = Span(write, data.size());
    switch (wave::RowOf(write.field).kind) {
        case wave::FieldKind::Number:
        case wave::FieldKind::Timers:
            Require(span.offset + span.width <= data.size(), "a number was stored outside the cart data");
            return {data.begin() + static_cast<std::ptrdiff_t>(span.offset),
                    data.begin() + static_cast<std::ptrdiff_t>(span.offset + span.width)};
        case wave::FieldKind::Url:
            Require(loaded.Cart().HoldsUrl(), "an accepted URL reads back as no URL");
            return loaded.Cart().Text(write.field);
        case wave::FieldKind::TextToEnd: return wave::ReadTextToEnd(data, span.offset);
        default: return wave::ReadTextField(data, span);
    }
}

// Each field as last written reads back as given.
void CheckStored(const wave::CartWrites& writes, const cli::LoadedFile& reloaded) {
    std::set<std::size_t> checked;
    for (auto write = writes.rbegin(); write != writes.rend(); ++write) {
        if (!checked.insert(Span(*write, reloaded.document.loaded.cart->size()).offset).second) continue;
        Require(ReadBack(*write, reloaded) == write->value, "an accepted value does not read back as given");
    }
}

// The bytes of the file the writes may change.
std::vector<Extent> Written(const wave::CartWrites& writes, std::uint64_t cartPos, std::size_t cartSize) {
    std::vector<Extent> spans;
    for (const wave::CartWrite& write : writes) {
        const wave::Field field = Span(write, cartSize);
        const std::uint64_t begin = cartPos + field.offset;
        spans.push_back({begin, std::min<std::uint64_t>(begin + field.width, cartPos + cartSize)});
    }
    return spans;
}

// The values checked as `set` checks them, then against the file; nothing
// when either refuses.
std::optional<wave::CartWrites> Plan(const EditInput& input, cli::LoadedFile& loaded) {
    wave::CartWrites writes;
    for (const cli::RequestedValue& value : input.values) {
        const cli::CheckedValue checked = cli::CheckRequested(value, input.options.charset);
        if (!checked.write) {
            Require(!checked.error.empty(), "a value was refused without a message");
            return std::nullopt;
        }
        writes.push_back(*checked.write);
    }
    if (const auto refused = cli::CheckAgainstFile(loaded, writes, {})) {
        Require(!refused->message.empty(), "a file was refused without a message");
        return std::nullopt;
    }
    return writes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const EditInput input = Parse(data, size);
    ScratchFile& scratch = Scratch();
    scratch.assign(input.file);

    std::optional<wave::CartWrites> writes;
    bool saved = false;
    std::uint64_t cartPos = 0;
    std::size_t cartSize = 0;
    std::vector<Extent> spans = ExtentsOf(input.file, {});
    Snapshot before;
    {
        cli::LoadedFile loaded(scratch.path(), wave::WaveStream::Mode::ReadWrite, input.options);
        writes = Plan(input, loaded);
        if (writes) {
            cartPos = static_cast<std::uint64_t>(loaded.document.loaded.cartPos);
            cartSize = loaded.document.loaded.cart->size();
            spans.push_back({cartPos, cartPos + cartSize});
        }
        before = Snapshot::Take(scratch, spans);
        if (writes) {
            const wave::SaveResult result = loaded.document.SaveCart(*writes);
            Require(result.ok || !result.error.empty(), "a save failed without a message");
            saved = result.ok;
        }
    }

    const Snapshot after = Snapshot::Take(scratch, spans);
    Require(after.size == input.file.size, "an edit changed the file's length");
    if (!saved) {
        Require(SameOutside(before, after, {}), "a refused edit changed the file");
        return 0;
    }
    Require(SameOutside(before, after, Written(*writes, cartPos, cartSize)),
            "a byte outside the edited fields changed");
    const cli::LoadedFile reloaded(scratch.path(), wave::WaveStream::Mode::ReadOnly, input.options);
    Require(reloaded.Ok(), "a saved file no longer loads");
    Require(static_cast<std::uint64_t>(reloaded.document.loaded.cartPos) == cartPos &&
                reloaded.document.loaded.cart->size() == cartSize,
            "a saved file loads other cart data than was saved");
    CheckStored(*writes, reloaded);
    return 0;
}
