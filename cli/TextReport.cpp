#include "cli/TextReport.h"

#include <iomanip>

#include "wave/BextFields.h"
#include "wave/CartValues.h"
#include "wave/FieldCodecs.h"
#include "wave/FormatTexts.h"
#include "wave/Overloaded.h"
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

void PrintBext(std::ostream& out, wave::ConstBytes bext, wave::Charset charset) {
    out << wave::kBextCaption << '\n';
    for (const wave::BextFieldRow& row : wave::BextFieldRows())
        TextRow(out, row.label, wave::BextText(bext, row), charset);
}

// The dates and times as stored: numbers rebuilt from them would show values
// the file does not hold.
void CartRow(std::ostream& out, const char* label, const wave::CartValue& value, const LoadedFile& loaded) {
    std::visit(wave::Overloaded{[&](const std::string& text) { TextRow(out, label, text, loaded.charset); },
                                [&](std::uint32_t number) { Row(out, label, std::to_string(number)); },
                                [&](const wave::PostTimers& timers) {
                                    std::string lines;
                                    for (const std::string& line : wave::PostTimerLines(timers, loaded.SampleRate()))
                                        lines += line + '\n';
                                    Row(out, label, lines);
                                },
                                [&](wave::NoUrlArea) { TextRow(out, label, wave::kUrlNotSupported, loaded.charset); }},
               value);
}

// The fields a page shows, under the page's labels.
void PrintCart(std::ostream& out, const LoadedFile& loaded) {
    out << wave::kCartCaption << '\n';
    const wave::CartValues cart = loaded.Cart();
    for (const wave::CartFieldRow& row : wave::CartFieldRows()) {
        if (row.label != nullptr) CartRow(out, row.label, cart.Of(row.field), loaded);
    }
}

}  // namespace

void PrintTextReport(std::ostream& out, const std::string& file, const LoadedFile& loaded) {
    out << "File: " << file << '\n';
    if (loaded.Format()) PrintFormat(out, *loaded.Format());
    if (loaded.HasBext()) PrintBext(out, *loaded.document.loaded.bext, loaded.charset);
    if (loaded.Ok()) PrintCart(out, loaded);
}

}  // namespace cli
