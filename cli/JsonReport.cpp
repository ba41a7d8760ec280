#include "JsonReport.h"

#include "FieldCodecs.h"
#include "FormatTexts.h"
#include "PostTimerLines.h"
#include "TextCodec.h"

namespace cli {

namespace {

using Json = nlohmann::ordered_json;

const char* IconName(wave::MessageIcon icon) {
    switch (icon) {
        case wave::MessageIcon::Error: return "error";
        case wave::MessageIcon::Exclamation: return "exclamation";
        case wave::MessageIcon::Information: return "information";
        case wave::MessageIcon::None: break;
    }
    return "none";
}

Json ErrorJson(wave::LoadFailure failure) {
    if (failure == wave::LoadFailure::None) return nullptr;
    const wave::FailureMessage& message = wave::MessageFor(failure);
    return {{"text", message.text},
            {"caption", wave::CaptionFor(failure, kApplicationName)},
            {"icon", IconName(message.icon)}};
}

Json FormatJson(const std::optional<wave::WaveFormat>& format) {
    if (!format) return nullptr;
    return {{"formatTag", format->wFormatTag},
            {"formatName", wave::FormatName(format->wFormatTag)},
            {"channels", static_cast<std::int16_t>(format->nChannels)},
            {"sampleRate", static_cast<std::int32_t>(format->nSamplesPerSec)},
            {"avgBytesPerSec", static_cast<std::int32_t>(format->nAvgBytesPerSec)},
            {"blockAlign", static_cast<std::int16_t>(format->nBlockAlign)},
            {"bitsPerSample", static_cast<std::int16_t>(format->wBitsPerSample)}};
}

Json BextJson(const LoadedFile& loaded) {
    if (!loaded.hasBext()) return nullptr;
    const wave::EbuInfoRecord& ebu = loaded.records.ebu;
    return {{"description", wave::DecodeText(ebu.m_strDescription)},
            {"originator", wave::DecodeText(ebu.m_strOriginator)},
            {"originatorReference", wave::DecodeText(ebu.m_strOriginatorRef)},
            {"originationDate", wave::DecodeText(ebu.m_strOriginationDate)},
            {"originationTime", wave::DecodeText(ebu.m_strOriginationTime)},
            {"codingHistory", wave::DecodeText(ebu.m_strCodingHistory)}};
}

Json TimersJson(const wave::PostTimers& timers) {
    Json list = Json::array();
    for (const wave::PostTimer& timer : timers) {
        list.push_back({{"usage", wave::DecodeText(wave::UsageCode(timer.dwUsage))}, {"value", timer.dwValue}});
    }
    return list;
}

Json CartJson(const LoadedFile& loaded) {
    if (!loaded.ok()) return nullptr;
    const wave::ConstBytes data = *loaded.document.m_pCartData;
    const auto text = [&data](wave::Field field) { return wave::DecodeText(wave::ReadTextField(data, field)); };
    const wave::CartInfoRecord& page1 = loaded.records.cart;
    const wave::CartInfo2Record& page2 = loaded.records.cart2;
    namespace cart = wave::cart;
    return {{"offset", loaded.document.m_lCartPos},
            {"size", loaded.document.m_dwCartSize},
            {"version", wave::DecodeText(page1.m_strVersion)},
            {"title", wave::DecodeText(page1.m_strTitle)},
            {"artist", wave::DecodeText(page1.m_strArtist)},
            {"cutId", text(cart::kCutID)},
            {"clientId", wave::DecodeText(page1.m_strClientID)},
            {"category", wave::DecodeText(page1.m_strCategory)},
            {"classification", wave::DecodeText(page1.m_strClassification)},
            {"outCue", wave::DecodeText(page2.m_strOutCue)},
            {"startDate", text(cart::kStartDate)},
            {"startTime", text(cart::kStartTime)},
            {"endDate", text(cart::kEndDate)},
            {"endTime", text(cart::kEndTime)},
            {"producerAppId", wave::DecodeText(page2.m_strProducerAppID)},
            {"producerAppVersion", wave::DecodeText(page2.m_strProducerAppVer)},
            {"userDef", wave::DecodeText(page2.m_strUserDef)},
            {"levelReference", page2.m_dwLevelReference},
            {"postTimers", TimersJson(page2.m_timers)},
            {"postTimerLines", wave::PostTimerLines(page2.m_timers, page2.m_nSampleRate)},
            {"url", page2.m_bUrlSupported ? Json(wave::DecodeText(page2.m_strURL)) : Json(nullptr)},
            {"tagText", wave::DecodeText(wave::ReadTextToEnd(data, cart::kTagText))}};
}

}  // namespace

nlohmann::ordered_json JsonReport(const std::string& file, const LoadedFile& loaded) {
    return {{"file", file},
            {"ok", loaded.ok()},
            {"error", ErrorJson(loaded.failure)},
            {"format", FormatJson(loaded.records.info.m_format)},
            {"bext", BextJson(loaded)},
            {"cart", CartJson(loaded)}};
}

}  // namespace cli
