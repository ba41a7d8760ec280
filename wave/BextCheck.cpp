#include <algorithm>
#include <array>
#include <string_view>

#include "wave/CalendarDates.h"
#include "wave/ChunkChecks.h"
#include "wave/ChunkLayout.h"
#include "wave/FieldCodecs.h"
#include "wave/FieldText.h"

namespace wave {

namespace {

using bext::kLoudness;
using bext::kTimeReference;
using bext::kVersion;
constexpr std::uint16_t kLoudnessNotSet = 0x7FFF;

class BextChecker {
public:
    BextChecker(const CheckedChunkData& bext, const CheckedLayout& layout, const CheckOptions& options,
                Findings& findings)
        : bext_(bext), data_(bext.bytes), layout_(layout), options_(options), findings_(findings) {}

    void Run() {
        if (bext_.declaredSize < bext::kCodingHistory) {
            Add("B1", Severity::Error,
                "the bext chunk holds " + std::to_string(bext_.declaredSize) + " bytes; its fixed part needs 602", 0);
            return;
        }
        // A chunk cut short by the end of the file (S3): only what it holds
        // is read.
        if (data_.size() < bext::kCodingHistory) return;
        CheckVersion();
        for (const Field field : {bext::kDescription, bext::kOriginator, bext::kOriginatorReference}) {
            if (std::string why = TextFault(data_, field, options_.charset); !why.empty())
                Add("B3", Severity::Warning, FieldName(field) + why, static_cast<std::int64_t>(field.offset));
        }
        CheckDateTime();
        CheckReference();
        CheckHistory();
        CheckTimeReference();
    }

private:
    void Add(const char* rule, Severity severity, std::string message, std::int64_t at) {
        findings_.push_back({rule, severity, "bext: " + std::move(message), bext_.dataPos + at});
    }

    static std::string FieldName(Field field) {
        if (field.offset == bext::kDescription.offset) return "description ";
        if (field.offset == bext::kOriginator.offset) return "originator ";
        return "originator reference ";
    }

    std::uint16_t U16(std::size_t at) const { return static_cast<std::uint16_t>(data_[at] | (data_[at + 1] << 8)); }

    void CheckVersion() {
        const std::uint16_t version = U16(kVersion);
        if (version > 2) {
            Add("B2", Severity::Warning, "version " + std::to_string(version) + " is none of 0, 1 and 2",
                static_cast<std::int64_t>(kVersion));
            return;
        }
        if (version < 2) return;
        // Loudness, range, true peak, momentary and short-term maximum, in
        // hundredths: levels within +-99.99, the range not negative.
        static constexpr std::array<const char*, 5> kNames = {"loudness value", "loudness range", "true peak level",
                                                              "momentary loudness", "short-term loudness"};
        for (std::size_t i = 0; i < kNames.size(); ++i) {
            const std::uint16_t raw = U16(kLoudness + 2 * i);
            if (raw == kLoudnessNotSet) continue;
            const auto value = static_cast<std::int16_t>(raw);
            if (value < (i == 1 ? 0 : -9999) || value > 9999) {
                Add("B2", Severity::Warning, std::string(kNames[i]) + " " + std::to_string(value) + " is out of range",
                    static_cast<std::int64_t>(kLoudness + 2 * i));
            }
        }
    }

    void CheckDateTime() {
        const std::string date = ReadTextField(data_, bext::kOriginationDate);
        const std::string time = ReadTextField(data_, bext::kOriginationTime);
        if (!IsUnset(date) && !ReadsAsDate(date, "-_: .")) {
            Add("B4", Severity::Warning, "origination date \"" + date + "\" is no yyyy-mm-dd calendar day",
                static_cast<std::int64_t>(bext::kOriginationDate.offset));
        }
        if (!IsUnset(time) && !ReadsAsTime(time, "-_: .")) {
            Add("B4", Severity::Warning, "origination time \"" + time + "\" is no hh:mm:ss time of day",
                static_cast<std::int64_t>(bext::kOriginationTime.offset));
        }
    }

    // EBU R99: CC OOO SSSSSSSSSSSS HHMMSS RRRRRRRRR, claimed by a reference
    // of exactly 32 characters that starts with a two-letter country.
    void CheckReference() {
        const std::string ref = ReadTextField(data_, bext::kOriginatorReference);
        const auto alpha = [](char c) { return c >= 'A' && c <= 'Z'; };
        if (ref.size() != 32 || !alpha(ref[0]) || !alpha(ref[1])) return;
        if (!ReadsAsTime(ref.substr(17, 2) + ":" + ref.substr(19, 2) + ":" + ref.substr(21, 2), ":")) {
            Add("B5", Severity::Info, "originator reference \"" + ref + "\" looks like EBU R99 but its time is not",
                static_cast<std::int64_t>(bext::kOriginatorReference.offset));
        }
    }

    void CheckHistory() {
        const std::string history = ReadTextToEnd(data_, bext::kCodingHistory);
        std::size_t start = 0;
        while (start < history.size()) {
            const std::size_t end = history.find("\r\n", start);
            const std::string line = history.substr(start, end == std::string::npos ? std::string::npos : end - start);
            const auto at = static_cast<std::int64_t>(bext::kCodingHistory + start);
            if (end == std::string::npos) {
                Add("B6", Severity::Warning, "the last coding history line does not end in CR LF", at);
            }
            if (std::string why = HistoryLineFault(line); !why.empty())
                Add("B6", Severity::Warning, "coding history line \"" + line + "\": " + why, at);
            if (end == std::string::npos) break;
            start = end + 2;
        }
    }

    static std::string HistoryLineFault(std::string_view line) {
        static constexpr std::array<std::string_view, 8> kAlgorithms = {"ANALOGUE", "PCM",     "MPEG1L1", "MPEG1L2",
                                                                        "MPEG1L3",  "MPEG2L1", "MPEG2L2", "MPEG2L3"};
        static constexpr std::array<std::string_view, 4> kModes = {"mono", "stereo", "dual-mono", "joint-stereo"};
        std::size_t start = 0;
        while (start <= line.size()) {
            const std::size_t comma = std::min(line.find(',', start), line.size());
            const std::string_view item = line.substr(start, comma - start);
            if (item.size() < 2 || item[1] != '=' || std::string_view("AFBWMT").find(item[0]) == std::string_view::npos)
                return "\"" + std::string(item) + "\" is no A=, F=, B=, W=, M= or T= item";
            const std::string_view value = item.substr(2);
            if (item[0] == 'A' && std::ranges::find(kAlgorithms, value) == kAlgorithms.end())
                return "A=" + std::string(value) + " is no known coding algorithm";
            if (item[0] == 'M' && std::ranges::find(kModes, value) == kModes.end())
                return "M=" + std::string(value) + " is no known mode";
            start = comma + 1;
        }
        return {};
    }

    void CheckTimeReference() {
        if (!layout_.format || layout_.format->samplesPerSec == 0) return;
        const std::uint64_t reference =
            ReadU32(data_, kTimeReference) | (std::uint64_t{ReadU32(data_, kTimeReference + 4)} << 32);
        const std::uint64_t day = std::uint64_t{86400} * layout_.format->samplesPerSec;
        if (reference >= day) {
            Add("B7", Severity::Warning,
                "the time reference (" + std::to_string(reference) + " frames) is 24 hours or more at " +
                    std::to_string(layout_.format->samplesPerSec) + " Hz",
                static_cast<std::int64_t>(kTimeReference));
        }
    }

    const CheckedChunkData& bext_;
    ConstBytes data_;
    const CheckedLayout& layout_;
    const CheckOptions& options_;
    Findings& findings_;
};

}  // namespace

void CheckBext(const CheckedLayout& layout, const CheckOptions& options, Findings& findings) {
    if (layout.bext) BextChecker(*layout.bext, layout, options, findings).Run();
}

}  // namespace wave
