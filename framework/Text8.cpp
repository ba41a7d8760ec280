#include "framework/Text8.h"

#include <array>

namespace framework {

namespace {

wave::Charset g_fileCharset = wave::Charset::Windows1252;

constexpr std::array kChoices{
    CharsetChoice{wave::Charset::Windows1252, "Windows-1252"},
    CharsetChoice{wave::Charset::Latin1, "Latin-1"},
    CharsetChoice{wave::Charset::Utf8, "UTF-8"},
};

}  // namespace

void SetFileCharset(wave::Charset charset) { g_fileCharset = charset; }

wave::Charset FileCharset() { return g_fileCharset; }

std::span<const CharsetChoice> CharsetChoices() { return kChoices; }

const char* CharsetName(wave::Charset charset) {
    for (const CharsetChoice& choice : kChoices) {
        if (choice.charset == charset) return choice.name;
    }
    return "";
}

QString FromFileText(const std::string& bytes) {
    return QString::fromStdString(wave::DecodeText(bytes, g_fileCharset));
}

std::optional<std::string> ToFileText(const QString& text) {
    wave::EncodedText encoded = wave::EncodeText(text.toStdString(), g_fileCharset);
    if (!encoded.ok) return std::nullopt;
    return std::move(encoded.bytes);
}

QStringList Unstorable(const QString& text) {
    QStringList characters;
    for (const uint value : text.toUcs4()) {
        const auto codePoint = static_cast<char32_t>(value);
        const QString character = QString::fromUcs4(&codePoint, 1);
        if (!characters.contains(character) && !ToFileText(character)) characters << character;
    }
    return characters;
}

QString DescribeUnstorable(const QStringList& characters) {
    const QString quoted = "\"" + characters.join("\", \"") + "\"";
    return QString("the %1 %2 cannot be stored in the file's character set (%3)")
        .arg(characters.size() == 1 ? "character" : "characters", quoted, CharsetName(g_fileCharset));
}

}  // namespace framework
