#include "cli/TextReport.h"

#include <iomanip>

#include "wave/BextFields.h"
#include "wave/CartFields.h"
#include "wave/FieldCodecs.h"
#include "wave/FormatTexts.h"
#include "wave/PostTimerLines.h"
#include "wave/TextCodec.h"

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

void TextRow(std::ostream& out, const std::string& label, const std::string& fileText, wave::Charset charset) {
    Row(out, label, wave::DecodeText(fileText, charset));
}

void PrintFormat(std::ostream& out, const wave::WaveFormat& format) {
    const wave::FormatTexts texts = wave::TextsOf(format);
    out << wave::kFormatCaption << '\n';
    for (const wave::FormatRow& row : wave::FormatRows()) Row(out, row.label, texts.*row.text);
}

void PrintBext(std::ostream& out, const wave::EbuInfoRecord& ebu, wave::Charset charset) {
    out << wave::kBextCaption << '\n';
    for (const wave::BextFieldRow& row : wave::BextFieldRows()) TextRow(out, row.label, ebu.*row.member, charset);
}

// The dates and times as stored: numbers rebuilt from them would show values
// the file does not hold.
void CartRow(std::ostream& out, const wave::CartFieldRow& row, wave::ConstBytes data,
             const wave::CartInfo2Record& page2, wave::Charset charset) {
    using Kind = wave::FieldKind;
    switch (row.kind) {
        case Kind::Text:
        case Kind::Date:
        case Kind::Time: TextRow(out, row.label, wave::ReadTextField(data, row.layout), charset); return;
        case Kind::Url: TextRow(out, row.label, page2.m_strURL, charset); return;
        case Kind::Number: Row(out, row.label, std::to_string(wave::ReadU32(data, row.layout.offset))); return;
        case Kind::Timers: {
            std::string lines;
            for (const std::string& line : wave::PostTimerLines(page2.m_timers, page2.m_nSampleRate))
                lines += line + '\n';
            Row(out, row.label, lines);
            return;
        }
        case Kind::TextToEnd: TextRow(out, row.label, wave::ReadTextToEnd(data, row.layout.offset), charset); return;
    }
}

// The fields a page shows, under the page's labels.
void PrintCart(std::ostream& out, wave::ConstBytes data, const wave::CartInfo2Record& page2, wave::Charset charset) {
    out << wave::kCartCaption << '\n';
    for (const wave::CartFieldRow& row : wave::CartFieldRows()) {
        if (row.label != nullptr) CartRow(out, row, data, page2, charset);
    }
}

}  // namespace

void PrintTextReport(std::ostream& out, const std::string& file, const LoadedFile& loaded) {
    out << "File: " << file << '\n';
    if (loaded.records.info.m_format) PrintFormat(out, *loaded.records.info.m_format);
    if (loaded.hasBext()) PrintBext(out, loaded.records.ebu, loaded.charset);
    if (loaded.ok()) PrintCart(out, *loaded.document.m_pCartData, loaded.records.cart2, loaded.charset);
}

}  // namespace cli
