#include <algorithm>
#include <array>

#include "wave/ChunkChecks.h"
#include "wave/ChunkIds.h"
#include "wave/ChunkLayout.h"
#include "wave/FieldCodecs.h"
#include "wave/FieldText.h"

namespace wave {

namespace {

constexpr std::size_t kReserved = cart::kPostTimers + cart::kPostTimerCount * cart::kPostTimerSize;

struct NamedField {
    Field field;
    const char* name;
};

constexpr std::array kTextFields = std::to_array<NamedField>({
    {cart::kTitle, "title"},
    {cart::kArtist, "artist"},
    {cart::kCutID, "cut ID"},
    {cart::kClientID, "client ID"},
    {cart::kCategory, "category"},
    {cart::kClassification, "classification"},
    {cart::kOutCue, "out cue"},
    {cart::kProducerAppID, "producer app ID"},
    {cart::kProducerAppVersion, "producer app version"},
    {cart::kUserDef, "user text"},
});

// A start or end: its date and time fields as stored.
struct Moment {
    const char* name;
    std::string date;
    std::string time;
};

class CartChecker {
public:
    CartChecker(const CheckedChunkData& cart, const CheckedLayout& layout, const CheckOptions& options,
                Findings& findings)
        : cart_(cart), data_(cart.bytes), layout_(layout), options_(options), findings_(findings) {}

    void Run() {
        const std::string version = ReadTextField(data_, cart::kVersion);
        CheckVersion(version);
        const std::size_t fixed = version == "0101" ? cart::kTagText : cart::kURL.offset;
        if (cart_.declaredSize < fixed) {
            Add("C2", Severity::Error,
                "the cart chunk holds " + std::to_string(cart_.declaredSize) + " bytes; version \"" + version +
                    "\" needs " + std::to_string(fixed),
                0);
        }
        for (const NamedField& text : kTextFields) {
            if (std::string why = TextFault(data_, text.field, options_.charset); !why.empty())
                Add("C3", Severity::Warning, std::string(text.name) + " " + why, Pos(text.field));
        }
        const Moment start{"start", ReadTextField(data_, cart::kStartDate), ReadTextField(data_, cart::kStartTime)};
        const Moment end{"end", ReadTextField(data_, cart::kEndDate), ReadTextField(data_, cart::kEndTime)};
        const bool startReads = CheckMoment(start, cart::kStartDate, cart::kStartTime);
        const bool endReads = CheckMoment(end, cart::kEndDate, cart::kEndTime);
        if (startReads && endReads && IsSet(start) && IsSet(end) && Key(end) < Key(start)) {
            Add("C6", Severity::Warning,
                "the end (" + end.date + " " + end.time + ") is before the start (" + start.date + " " + start.time +
                    ")",
                Pos(cart::kEndDate));
        }
        CheckTimers(cart_, layout_, options_.profile, findings_);
        CheckLevel();
        CheckReserved();
        if (!layout_.bext) Add("C17", Severity::Info, "a cart chunk without a bext chunk", -8);
        if (layout_.format && !IsPcmTag(layout_.format->formatTag)) {
            Add("C18", Severity::Info,
                "the audio is not PCM (format tag " + std::to_string(layout_.format->formatTag) +
                    "); timers still count frames at " + std::to_string(layout_.format->samplesPerSec) + " Hz",
                -8);
        }
    }

private:
    void Add(const char* rule, Severity severity, std::string message, std::int64_t at) {
        findings_.push_back({rule, severity, "cart: " + std::move(message), cart_.dataPos + at});
    }

    static std::int64_t Pos(Field field) { return static_cast<std::int64_t>(field.offset); }

    void CheckVersion(const std::string& version) {
        const bool digits = version.size() == 4 &&
                            std::all_of(version.begin(), version.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!digits) {
            Add("C1", Severity::Warning, "version \"" + version + "\" is not four ASCII digits", 0);
        } else if (version == "0100" || version == "0000") {
            Add("C1", Severity::Info, "version \"" + version + "\" is an older layout; \"0101\" is current", 0);
        } else if (version != "0101") {
            Add("C1", Severity::Warning, "version \"" + version + "\" is none of \"0101\", \"0100\" and \"0000\"", 0);
        }
    }

    static bool IsSet(const Moment& moment) { return !IsUnset(moment.date) || !IsUnset(moment.time); }
    static std::string Key(const Moment& moment) {
        std::string date = moment.date;
        std::replace(date.begin(), date.end(), '/', '-');
        return date + " " + (IsUnset(moment.time) ? "00:00:00" : moment.time);
    }

    // C4, C5 and C7 on a start or an end; whether it reads as a moment.
    bool CheckMoment(const Moment& moment, Field dateField, Field timeField) {
        bool reads = true;
        if (!IsUnset(moment.date)) {
            if (ReadsAsDate(moment.date, "/")) {
                Add("C4", Severity::Warning,
                    std::string(moment.name) + " date \"" + moment.date + "\" uses \"/\"; yyyy-mm-dd is the form",
                    Pos(dateField));
            } else if (!ReadsAsDate(moment.date, "-")) {
                reads = false;
                ReportUnreadable(moment.name, "date", moment.date, ShapedLike(moment.date, "0000-00-00"),
                                 Pos(dateField));
            }
        }
        if (!IsUnset(moment.time) && !ReadsAsTime(moment.time, ":")) {
            reads = false;
            ReportUnreadable(moment.name, "time", moment.time, ShapedLike(moment.time, "00:00:00"), Pos(timeField));
        }
        if (reads && (Key(moment) == "1900-01-01 00:00:00" || Key(moment) == "9999-12-31 23:59:59")) {
            Add("C7", Severity::Info,
                std::string(moment.name) + " " + moment.date + " " + moment.time + " is a common \"not set\" value",
                Pos(dateField));
        }
        return reads;
    }

    // Digits where the form has them and its separators elsewhere (or "/"
    // in a date): the form is kept but the value is no calendar's.
    static bool ShapedLike(std::string_view text, std::string_view form) {
        if (text.size() != form.size()) return false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const bool digit = text[i] >= '0' && text[i] <= '9';
            if (form[i] == '0' ? !digit : (text[i] != form[i] && text[i] != '/')) return false;
        }
        return true;
    }

    void ReportUnreadable(const char* moment, const char* what, const std::string& text, bool shaped, std::int64_t at) {
        if (shaped) {
            Add("C5", Severity::Error, std::string(moment) + " " + what + " \"" + text + "\" is no real " + what, at);
        } else {
            Add("C4", Severity::Error,
                std::string(moment) + " " + what + " \"" + text + "\" cannot be read as " +
                    (std::string_view(what) == "date" ? "yyyy-mm-dd" : "hh:mm:ss"),
                at);
        }
    }

    void CheckLevel() {
        if (data_.size() < cart::kLevelReference + 4) return;
        const auto level = static_cast<std::int32_t>(ReadU32(data_, cart::kLevelReference));
        if (level <= 0 && layout_.format && layout_.format->bitsPerSample == 16) {
            Add("C14", Severity::Info, "level reference " + std::to_string(level) + " in a 16-bit file",
                static_cast<std::int64_t>(cart::kLevelReference));
        }
    }

    void CheckReserved() {
        if (data_.size() < cart::kURL.offset) return;
        const ConstBytes reserved = data_.subspan(kReserved, cart::kURL.offset - kReserved);
        const auto set = std::find_if(reserved.begin(), reserved.end(), [](std::uint8_t b) { return b != 0; });
        if (set == reserved.end()) return;
        const std::size_t first = kReserved + static_cast<std::size_t>(set - reserved.begin());
        Add("C15", Severity::Info,
            "reserved bytes are not zero from byte " + std::to_string(first) + " of the chunk's data; they are kept",
            static_cast<std::int64_t>(first));
        // Text in the last four reserved bytes that runs on into the URL: a
        // writer that put the URL four bytes early.
        const ConstBytes lastFour = data_.subspan(cart::kURL.offset - 4, 4);
        const bool text = std::all_of(lastFour.begin(), lastFour.end(), [](std::uint8_t b) { return b >= ' '; });
        if (text && data_.size() > cart::kURL.offset && data_[cart::kURL.offset] >= ' ') {
            Add("C16", Severity::Warning, "the URL seems to start 4 bytes early, as a known faulty writer puts it",
                static_cast<std::int64_t>(cart::kURL.offset - 4));
        }
    }

    const CheckedChunkData& cart_;
    ConstBytes data_;
    const CheckedLayout& layout_;
    const CheckOptions& options_;
    Findings& findings_;
};

// Whether the fixed-order walk reads the first cart chunk.
bool FixedOrderReachesCart(const std::vector<ChunkEntry>& chunks) {
    const std::optional<std::size_t> at = FixedOrderCartIndex(chunks, [](const ChunkEntry& c) { return c.id; });
    return at && *at < chunks.size() && chunks[*at].id == chunk_id::kCart;
}

}  // namespace

void CheckCart(const CheckedLayout& layout, const CheckOptions& options, Findings& findings) {
    if (!layout.cart) {
        findings.push_back({"C", Severity::Info, "no cart chunk; the cart rules do not apply", std::nullopt});
        return;
    }
    if (!options.anyLayout && !FixedOrderReachesCart(layout.chunks)) {
        findings.push_back({"C", Severity::Info,
                            "the cart chunk is not where the fixed-order walk reads it; --any-layout checks it",
                            layout.cart->dataPos - 8});
        return;
    }
    CartChecker(*layout.cart, layout, options, findings).Run();
}

}  // namespace wave
