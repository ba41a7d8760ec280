#pragma once

#include <QColor>
#include <cstdint>

namespace framework {

// A colour as the program states it: red in the low byte, then green, then
// blue. All bits set is no colour at all; callers give it a meaning.
using COLORREF = std::uint32_t;

inline constexpr COLORREF kNoColor = 0xFFFFFFFFu;

constexpr COLORREF RGB(int red, int green, int blue) {
    return static_cast<COLORREF>(red & 0xFF) | static_cast<COLORREF>(green & 0xFF) << 8 |
           static_cast<COLORREF>(blue & 0xFF) << 16;
}

inline QColor ToQColor(COLORREF color) {
    return QColor(static_cast<int>(color & 0xFFu), static_cast<int>(color >> 8 & 0xFFu),
                  static_cast<int>(color >> 16 & 0xFFu));
}

inline COLORREF FromQColor(const QColor& color) { return RGB(color.red(), color.green(), color.blue()); }

}  // namespace framework
