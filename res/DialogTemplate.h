#pragma once

#include <span>
#include <string_view>

namespace res {

// The kinds of control a dialog template places.
enum class ControlKind {
    PushButton,
    Edit,
    Label,
    GroupBox,
    Picture,  // text names the picture by its number (IDB_ in resource.h)
    ProgressBar,
    ComboBox,
    CheckBox,
    Frame,  // a drawn rectangle: grey or white outline, or filled black
};

// Control styles, as flags; only what the program's templates use.
enum Style : unsigned {
    kNoStyle = 0,
    kDefaultButton = 1u << 0,
    kBorder = 1u << 1,
    kTabStop = 1u << 2,
    kAutoHScroll = 1u << 3,  // single line: scrolls; multi-line: no word wrap
    kAutoVScroll = 1u << 4,
    kMultiline = 1u << 5,
    kReadOnly = 1u << 6,
    kNumber = 1u << 7,        // digits only
    kCenter = 1u << 8,        // text centred horizontally
    kRight = 1u << 9,         // text right aligned
    kCenterImage = 1u << 10,  // static text centred vertically
    kStaticEdge = 1u << 11,   // thin sunken edge of a display-only item
    kSunken = 1u << 12,       // sunken edge of a picture
    kDropDownList = 1u << 13,
    kVScroll = 1u << 14,
    kGroup = 1u << 15,
    kFlat = 1u << 16,  // push button without its raised edge
    kGrayFrame = 1u << 17,
    kWhiteFrame = 1u << 18,
    kBlackRect = 1u << 19,
};

constexpr unsigned operator|(Style a, Style b) { return static_cast<unsigned>(a) | static_cast<unsigned>(b); }

inline constexpr int kNoId = -1;  // a control nothing refers to

// One control, in dialog units: x, y, width, height.
struct ControlTemplate {
    int id;
    ControlKind kind;
    int x;
    int y;
    int cx;
    int cy;
    std::string_view text;
    unsigned style;
};

// The name a control is announced by, where no label sits beside it.
struct ControlName {
    int id;
    std::string_view name;
};

// A dialog or page layout in dialog units, kept as data; the framework
// builds the widgets from it.
struct DialogTemplate {
    int id;
    std::string_view caption;
    int cx;
    int cy;
    std::string_view fontFace;
    int pointSize;
    std::span<const ControlTemplate> controls;
    std::span<const ControlName> names;
};

}  // namespace res
