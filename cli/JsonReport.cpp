#include "cli/JsonReport.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "texts/LoadFailureTexts.h"
#include "wave/BextFields.h"
#include "wave/CartValues.h"
#include "wave/FieldCodecs.h"
#include "wave/FormatTexts.h"
#include "wave/Overloaded.h"
#include "wave/PostTimerLines.h"
#include "wave/TextCodec.h"

namespace cli {

namespace {

using Writer = rapidjson::Writer<rapidjson::StringBuffer>;

const char* IconName(texts::MessageIcon icon) {
    switch (icon) {
        case texts::MessageIcon::Error: return "error";
        case texts::MessageIcon::Exclamation: return "exclamation";
        case texts::MessageIcon::Information: return "information";
        case texts::MessageIcon::None: break;
    }
    return "none";
}

// RapidJSON escapes control characters with uppercase hex digits where the
// report has always had lowercase ones (only the codes with a letter among
// their digits differ), and copies bytes that are not UTF-8 where the report
// has shown U+FFFD. Only paths can hold such bytes: decoded file text is
// always UTF-8.
bool RapidJsonWritesDifferently(std::string_view text, bool mayBeInvalidUtf8) {
    return std::any_of(text.begin(), text.end(), [mayBeInvalidUtf8](char c) {
        const auto byte = static_cast<unsigned char>(c);
        const bool hexLetterEscape = byte == 0x0B || byte == 0x0E || byte == 0x0F || (byte >= 0x1A && byte < 0x20);
        return hexLetterEscape || (mayBeInvalidUtf8 && byte >= 0x80);
    });
}

}  // namespace

// Such text goes through nlohmann's serializer, which wrote the report before.
void WriteJsonString(Writer& w, std::string_view text, bool mayBeInvalidUtf8) {
    if (!RapidJsonWritesDifferently(text, mayBeInvalidUtf8)) {
        w.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
        return;
    }
    const std::string quoted = nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    w.RawValue(quoted.data(), quoted.size(), rapidjson::kStringType);
}

namespace {

void String(Writer& w, std::string_view text, bool mayBeInvalidUtf8 = false) {
    WriteJsonString(w, text, mayBeInvalidUtf8);
}

void Text(Writer& w, const char* key, const std::string& fileText, wave::Charset charset) {
    w.Key(key);
    String(w, wave::DecodeText(fileText, charset));
}

}  // namespace

void WriteJsonError(Writer& w, wave::LoadFailure failure) {
    w.Key("error");
    if (failure == wave::LoadFailure::None) {
        w.Null();
        return;
    }
    const texts::FailureMessage& message = texts::MessageFor(failure);
    w.StartObject();
    w.Key("text");
    String(w, message.text);
    w.Key("caption");
    String(w, texts::CaptionFor(failure, kApplicationName));
    w.Key("icon");
    w.String(IconName(message.icon));
    w.EndObject();
}

namespace {

void Format(Writer& w, const std::optional<wave::WaveFormat>& format) {
    w.Key("format");
    if (!format) {
        w.Null();
        return;
    }
    w.StartObject();
    w.Key("formatTag");
    w.Uint(format->formatTag);
    w.Key("formatName");
    String(w, wave::FormatName(format->formatTag));
    w.Key("channels");
    w.Int(static_cast<std::int16_t>(format->channels));
    w.Key("sampleRate");
    w.Int(static_cast<std::int32_t>(format->samplesPerSec));
    w.Key("avgBytesPerSec");
    w.Int(static_cast<std::int32_t>(format->avgBytesPerSec));
    w.Key("blockAlign");
    w.Int(static_cast<std::int16_t>(format->blockAlign));
    w.Key("bitsPerSample");
    w.Uint(format->bitsPerSample);  // a bit count: MPEG files store 0xFFFF
    w.EndObject();
}

void Bext(Writer& w, const LoadedFile& loaded) {
    w.Key("bext");
    if (!loaded.HasBext()) {
        w.Null();
        return;
    }
    const wave::ConstBytes bext = *loaded.document.loaded.bext;
    w.StartObject();
    for (const wave::BextFieldRow& row : wave::BextFieldRows())
        Text(w, row.key, wave::BextText(bext, row), loaded.charset);
    w.EndObject();
}

void Timers(Writer& w, const char* key, const wave::PostTimers& timers, wave::Charset charset) {
    w.Key(key);
    w.StartArray();
    for (const wave::PostTimer& timer : timers) {
        w.StartObject();
        Text(w, "usage", wave::UsageText(timer.usage), charset);
        w.Key("value");
        w.Uint(timer.value);
        w.EndObject();
    }
    w.EndArray();
}

void CartValue(Writer& w, const char* key, const wave::CartValue& value, const LoadedFile& loaded) {
    std::visit(wave::Overloaded{[&](const std::string& text) { Text(w, key, text, loaded.charset); },
                                [&](std::uint32_t number) {
                                    w.Key(key);
                                    w.Uint(number);
                                },
                                [&](const wave::PostTimers& timers) {
                                    Timers(w, key, timers, loaded.charset);
                                    w.Key("postTimerLines");
                                    w.StartArray();
                                    for (const std::string& line : wave::PostTimerLines(timers, loaded.SampleRate()))
                                        String(w, line);
                                    w.EndArray();
                                },
                                [&](wave::NoUrlArea) {
                                    w.Key(key);
                                    w.Null();
                                }},
               value);
}

void Cart(Writer& w, const LoadedFile& loaded) {
    w.Key("cart");
    if (!loaded.Ok()) {
        w.Null();
        return;
    }
    w.StartObject();
    w.Key("offset");
    w.Int64(loaded.document.loaded.cartPos);
    w.Key("size");
    w.Uint(loaded.document.loaded.cartSize);
    const wave::CartValues cart = loaded.Cart();
    for (const wave::CartFieldRow& row : wave::CartFieldRows()) CartValue(w, row.key, cart.Of(row.field), loaded);
    w.EndObject();
}

}  // namespace

std::string_view JsonReport::Write(const std::string& file, const LoadedFile& loaded) {
    buffer_.Clear();
    writer_.Reset(buffer_);
    writer_.StartObject();
    writer_.Key("file");
    // Paths need not be UTF-8; a stray byte must not cost the report.
    String(writer_, file, true);
    writer_.Key("ok");
    writer_.Bool(loaded.Ok());
    WriteJsonError(writer_, loaded.failure);
    Format(writer_, loaded.Format());
    Bext(writer_, loaded);
    Cart(writer_, loaded);
    // Only reports of the any-layout walk say so; the others keep their bytes.
    if (loaded.walk == wave::ChunkWalk::AnyLayout) {
        writer_.Key("layout");
        writer_.String("any");
    }
    writer_.EndObject();
    return {buffer_.GetString(), buffer_.GetSize()};
}

}  // namespace cli
