#include "Text8.h"

#include "TextCodec.h"

namespace framework {

QString FromFileText(const std::string& bytes) { return QString::fromStdString(wave::DecodeText(bytes)); }

std::optional<std::string> ToFileText(const QString& text) {
    wave::EncodedText encoded = wave::EncodeText(text.toStdString());
    if (!encoded.ok) return std::nullopt;
    return std::move(encoded.bytes);
}

}  // namespace framework
