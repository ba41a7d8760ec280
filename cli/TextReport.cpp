#include "TextReport.h"

#include <iomanip>

#include "FieldCodecs.h"
#include "FormatTexts.h"
#include "PostTimerLines.h"
#include "TextCodec.h"

namespace cli {

namespace {

constexpr int kLabelWidth = 24;
const std::string kIndent(2 + kLabelWidth, ' ');

// A labelled value; the lines of a multi-line value line up under the first.
void Row(std::ostream& out, const std::string& label, const std::string& value) {
    out << "  " << std::left << std::setw(kLabelWidth) << label;
    std::size_t start = 0;
    while (true) {
        std::size_t end = value.find('\n', start);
        std::string line = value.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out << (start == 0 ? "" : kIndent) << line << '\n';
        if (end == std::string::npos || end + 1 == value.size()) break;
        start = end + 1;
    }
}

void TextRow(std::ostream& out, const std::string& label, const std::string& fileText) {
    Row(out, label, wave::DecodeText(fileText));
}

void PrintFormat(std::ostream& out, const wave::WaveFormat& format) {
    const wave::FormatTexts texts = wave::TextsOf(format);
    out << "Wave Info\n";
    Row(out, "Fomat Tag:", texts.formatTag);
    Row(out, "Channel:", texts.channels);
    Row(out, "Sample Rate:", texts.sampleRate);
    Row(out, "Bits Per Sample:", texts.bitsPerSample);
    Row(out, "Average Bytes Per Sec:", texts.avgBytesPerSec);
    Row(out, "Block Align:", texts.blockAlign);
}

void PrintBext(std::ostream& out, const wave::EbuInfoRecord& ebu) {
    out << "EBU Broadcast Extension Information\n";
    TextRow(out, "Description:", ebu.m_strDescription);
    TextRow(out, "Originator:", ebu.m_strOriginator);
    TextRow(out, "Originator Reference:", ebu.m_strOriginatorRef);
    TextRow(out, "Origination Date:", ebu.m_strOriginationDate);
    TextRow(out, "Origination Time:", ebu.m_strOriginationTime);
    TextRow(out, "Coding History:", ebu.m_strCodingHistory);
}

void PrintCart(std::ostream& out, wave::ConstBytes data, const wave::CartInfoRecord& page1,
               const wave::CartInfo2Record& page2) {
    out << "Cart Chunk Info\n";
    TextRow(out, "Version:", page1.m_strVersion);
    TextRow(out, "Title:", page1.m_strTitle);
    TextRow(out, "Artist:", page1.m_strArtist);
    TextRow(out, "Client ID:", page1.m_strClientID);
    TextRow(out, "Category:", page1.m_strCategory);
    TextRow(out, "Classification", page1.m_strClassification);
    TextRow(out, "OutCue:", page2.m_strOutCue);
    // The dates and times as stored: numbers rebuilt from them would show
    // values the file does not hold.
    TextRow(out, "Start Date:", wave::ReadTextField(data, wave::cart::kStartDate));
    TextRow(out, "Start Time:", wave::ReadTextField(data, wave::cart::kStartTime));
    TextRow(out, "End Date:", wave::ReadTextField(data, wave::cart::kEndDate));
    TextRow(out, "End Time:", wave::ReadTextField(data, wave::cart::kEndTime));
    TextRow(out, "Producer App ID:", page2.m_strProducerAppID);
    TextRow(out, "Producer App Ver:", page2.m_strProducerAppVer);
    TextRow(out, "User Def:", page2.m_strUserDef);
    Row(out, "dwReferenceLevel:", std::to_string(page2.m_dwLevelReference));
    std::string lines;
    for (const std::string& line : wave::PostTimerLines(page2.m_timers, page2.m_nSampleRate)) lines += line + '\n';
    Row(out, "PostTimer:", lines);
    TextRow(out, "URL:", page2.m_strURL);
}

}  // namespace

void PrintTextReport(std::ostream& out, const std::string& file, const LoadedFile& loaded) {
    out << "File: " << file << '\n';
    if (loaded.records.info.m_format) PrintFormat(out, *loaded.records.info.m_format);
    if (loaded.hasBext()) PrintBext(out, loaded.records.ebu);
    if (loaded.ok()) PrintCart(out, *loaded.document.m_pCartData, loaded.records.cart, loaded.records.cart2);
}

}  // namespace cli
