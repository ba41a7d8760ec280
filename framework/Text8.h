#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <span>
#include <string>

#include "wave/TextCodec.h"

namespace framework {

// The character set the open file's 8-bit text is shown and saved in, for
// the whole window, as a code page is for a process: Windows-1252 until the
// user picks another.
void SetFileCharset(wave::Charset charset);
wave::Charset FileCharset();

struct CharsetChoice {
    wave::Charset charset;
    const char* name;  // as the user picks it: "Windows-1252"
};
// The sets on offer, Windows-1252 first.
std::span<const CharsetChoice> CharsetChoices();
const char* CharsetName(wave::Charset charset);

// The file's 8-bit text for the screen, and back. Back fails for characters
// the file's set cannot hold.
QString FromFileText(const std::string& bytes);
std::optional<std::string> ToFileText(const QString& text);

// The characters of the text that the file's set cannot hold, each once, in
// the order they first appear.
QStringList Unstorable(const QString& text);
// Says so: "the characters "Ł", "ź" cannot be stored in the file's character
// set (Windows-1252)".
QString DescribeUnstorable(const QStringList& characters);

}  // namespace framework
