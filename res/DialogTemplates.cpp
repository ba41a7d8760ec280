#include "res/DialogTemplates.h"

#include <array>

#include "res/StringTable.h"
#include "wave/BextFields.h"
#include "wave/CartFields.h"
#include "wave/FormatTexts.h"

namespace res {
namespace {

using enum ControlKind;
using enum Style;

// A picture control names its image by the picture's number, as text.
template <int id>
struct PictureName {
    static_assert(id >= 100 && id <= 999, "picture numbers have three digits");
    static constexpr std::array<char, 3> digits{char('0' + id / 100), char('0' + id / 10 % 10), char('0' + id % 10)};
    static constexpr std::string_view text{digits.data(), digits.size()};
};
constexpr std::string_view kBanner = PictureName<IDB_BANNER>::text;

// Labels and group captions come from the field tables, so the pages, the
// reports and the command line name each field alike.
using Cart = wave::CartField;
using Bext = wave::BextField;
using Wave = wave::FormatTexts;
constexpr std::string_view FieldLabel(Cart field) { return wave::RowOf(field).label; }
constexpr std::string_view GroupCaption(Cart field) { return wave::RowOf(field).name; }
constexpr std::string_view FieldLabel(Bext field) { return wave::RowOf(field).label; }
constexpr std::string_view FieldLabel(std::string Wave::*text) { return wave::FormatLabel(text); }

// Every template uses the same dialog font; the framework converts dialog
// units to pixels from it.
constexpr std::string_view kFont = "MS Sans Serif";
constexpr int kPointSize = 8;

// Styles shared by many controls.
constexpr unsigned kTextEdit = kBorder | kTabStop | kAutoHScroll;
constexpr unsigned kNumberEdit = kTextEdit | kNumber | kCenter;
// Display-only edits: a thin sunken edge instead of a border, no tab stop.
constexpr unsigned kShowEdit = kReadOnly | kStaticEdge | kAutoHScroll;
// Multi-line: wraps words, or, with horizontal scroll, keeps lines as the
// file breaks them.
constexpr unsigned kShowText = kReadOnly | kStaticEdge | kMultiline | kAutoVScroll;
constexpr unsigned kShowLines = kShowText | kAutoHScroll;

// Controls are listed in tab order: the order the framework creates them.

// The tables keep their columns.
// clang-format off
// IDD_MAIN: the main dialog. The property sheet fills the space above these.
constexpr std::array kMain{
    //              id                     kind          x    y    cx   cy   text              style
    ControlTemplate{IDC_EXIT,              PushButton,   253, 293, 50,  14,  "Exit",           kDefaultButton | kTabStop},
    ControlTemplate{IDC_APPLY,             PushButton,   308, 293, 50,  14,  "APPLY",          kTabStop},
    ControlTemplate{IDC_PROGRESS,          ProgressBar,  55,  297, 178, 7,   "",               kNoStyle},
    ControlTemplate{IDC_WAIT,              Label,        7,   296, 43,  8,   "Please wait...", kNoStyle},
};

// IDD_INFO: the Start page.
constexpr std::array kInfo{
    //              id                     kind          x    y    cx   cy   text                      style
    ControlTemplate{kNoId,                 GroupBox,     7,   7,   335, 40,  "Load File",                             kNoStyle},
    ControlTemplate{IDC_OPEN,              PushButton,   18,  22,  50,  14,  "Open",                                  kTabStop},
    ControlTemplate{IDC_PATH,              Edit,         79,  22,  249, 14,  "",                                      kReadOnly | kAutoHScroll | kTabStop | kBorder},
    ControlTemplate{kNoId,                 GroupBox,     7,   55,  335, 80,  wave::kFormatCaption,                    kNoStyle},
    ControlTemplate{kNoId,                 Label,        20,  73,  37,  8,   FieldLabel(&Wave::formatTag),            kNoStyle},
    ControlTemplate{IDC_FORMAT_TAG,        Label,        104, 72,  59,  13,  "",                                      kCenterImage},
    ControlTemplate{kNoId,                 Label,        20,  93,  29,  8,   FieldLabel(&Wave::channels),             kNoStyle},
    ControlTemplate{IDC_CHANNELS,          Label,        104, 91,  59,  13,  "",                                      kCenterImage},
    ControlTemplate{kNoId,                 Label,        20,  112, 76,  8,   FieldLabel(&Wave::avgBytesPerSec),       kNoStyle},
    ControlTemplate{IDC_AVG_BYTES_PER_SEC, Label,        104, 110, 59,  13,  "",                                      kCenterImage},
    ControlTemplate{kNoId,                 Label,        200, 73,  44,  8,   FieldLabel(&Wave::sampleRate),           kNoStyle},
    ControlTemplate{IDC_SAMPLE_RATE,       Label,        269, 72,  59,  13,  "",                                      kCenterImage},
    ControlTemplate{kNoId,                 Label,        200, 93,  52,  8,   FieldLabel(&Wave::bitsPerSample),        kNoStyle},
    ControlTemplate{IDC_BITS_PER_SAMPLE,   Label,        269, 91,  59,  13,  "",                                      kCenterImage},
    ControlTemplate{kNoId,                 Label,        200, 112, 38,  8,   FieldLabel(&Wave::blockAlign),           kNoStyle},
    ControlTemplate{IDC_BLOCK_ALIGN,       Label,        269, 111, 59,  13,  "",                                      kCenterImage},
    ControlTemplate{kNoId,                 Label,        20,  143, 50,  8,   "Character Set:",                        kNoStyle},
    ControlTemplate{IDC_CHARSET,           ComboBox,     104, 141, 80,  60,  "",                                      kDropDownList | kVScroll | kTabStop},
    ControlTemplate{IDC_ALWAYS_ANY_LAYOUT, CheckBox,     200, 142, 140, 10,  "Always open files in any chunk layout", kTabStop},
    ControlTemplate{kNoId,                 Label,        20,  162, 50,  8,   "Check:",                                kNoStyle},
    ControlTemplate{IDC_CHECK_SUMMARY,     Label,        104, 161, 150, 13,  "",                                      kCenterImage},
    ControlTemplate{IDC_FINDINGS,          PushButton,   278, 159, 50,  14,  "Findings...",                           kTabStop},
    ControlTemplate{kNoId,                 Picture,      7,   180, 334, 80,  kBanner,                                 kSunken},
};

// IDD_EBU_INFO: the EBU Info page. Display only: nothing here takes the focus.
constexpr std::array kEbuInfo{
    //              id                     kind          x    y    cx   cy   text                                   style
    ControlTemplate{IDC_EBU_GROUP,         GroupBox,     7,   7,   335, 174, wave::kBextCaption,                    kNoStyle},
    ControlTemplate{kNoId,                 Label,        19,  35,  38,  8,   FieldLabel(Bext::Description),         kNoStyle},
    ControlTemplate{kNoId,                 Label,        19,  67,  33,  8,   FieldLabel(Bext::Originator),          kNoStyle},
    ControlTemplate{kNoId,                 Label,        19,  85,  69,  8,   FieldLabel(Bext::OriginatorReference), kNoStyle},
    ControlTemplate{kNoId,                 Label,        19,  104, 54,  8,   FieldLabel(Bext::OriginationDate),     kNoStyle},
    ControlTemplate{kNoId,                 Label,        19,  140, 48,  8,   FieldLabel(Bext::CodingHistory),       kNoStyle},
    ControlTemplate{IDC_DESCRIPTION,       Edit,         94,  21,  225, 40,  "",                                    kShowText},
    ControlTemplate{IDC_ORIGINATOR,        Edit,         94,  65,  225, 14,  "",                                    kShowEdit},
    ControlTemplate{IDC_ORIGINATOR_REF,    Edit,         94,  83,  225, 14,  "",                                    kShowEdit},
    ControlTemplate{IDC_ORIGINATION_DATE,  Edit,         94,  101, 79,  14,  "",                                    kShowEdit},
    ControlTemplate{kNoId,                 Label,        180, 103, 54,  8,   FieldLabel(Bext::OriginationTime),     kNoStyle},
    ControlTemplate{IDC_ORIGINATION_TIME,  Edit,         240, 101, 79,  14,  "",                                    kShowEdit},
    ControlTemplate{IDC_CODING_HISTORY,    Edit,         94,  120, 225, 49,  "",                                    kShowLines},
};

// IDD_CART_INFO: the Cart Chunk Info 1 page.
constexpr std::array kCartInfo{
    //              id                     kind          x    y    cx   cy   text                style
    ControlTemplate{IDC_VERSION,           Edit,         83,  19,  89,  14,  "",                               kTextEdit},
    ControlTemplate{IDC_TITLE,             Edit,         83,  37,  245, 14,  "",                               kTextEdit},
    ControlTemplate{IDC_ARTIST,            Edit,         83,  55,  245, 14,  "",                               kTextEdit},
    ControlTemplate{IDC_CLIENT_ID,         Edit,         83,  72,  245, 14,  "",                               kTextEdit},
    ControlTemplate{IDC_CATEGORY,          Edit,         83,  89,  245, 14,  "",                               kTextEdit},
    ControlTemplate{IDC_CLASSIFICATION,    Edit,         83,  107, 245, 14,  "",                               kTextEdit},
    ControlTemplate{kNoId,                 Label,        19,  22,  26,  8,   FieldLabel(Cart::Version),        kNoStyle},
    ControlTemplate{kNoId,                 Label,        19,  40,  16,  8,   FieldLabel(Cart::Title),          kNoStyle},
    ControlTemplate{kNoId,                 Label,        19,  58,  43,  8,   FieldLabel(Cart::Artist),         kNoStyle},
    ControlTemplate{kNoId,                 Label,        19,  74,  30,  8,   FieldLabel(Cart::ClientID),       kNoStyle},
    ControlTemplate{kNoId,                 Label,        19,  92,  31,  8,   FieldLabel(Cart::Category),       kNoStyle},
    ControlTemplate{kNoId,                 Label,        19,  109, 42,  8,   FieldLabel(Cart::Classification), kNoStyle},
    ControlTemplate{kNoId,                 GroupBox,     7,   7,   335, 126, wave::kCartCaption,               kNoStyle},
};

// IDD_CART_INFO2: the Cart Chunk Info 2 page.
constexpr std::array kCartInfo2{
    //              id                     kind          x    y    cx   cy   text                  style
    ControlTemplate{IDC_OUT_CUE,           Edit,         82,  22,  245, 14,  "",                                   kTextEdit},
    ControlTemplate{IDC_START_YEAR,        Edit,         82,  58,  25,  14,  "",                                   kNumberEdit},
    ControlTemplate{IDC_START_MONTH,       Edit,         119, 58,  15,  14,  "",                                   kNumberEdit},
    ControlTemplate{IDC_START_DAY,         Edit,         146, 58,  15,  14,  "",                                   kNumberEdit},
    ControlTemplate{IDC_START_HOUR,        Edit,         239, 58,  15,  14,  "",                                   kNumberEdit},
    ControlTemplate{IDC_START_MINUTE,      Edit,         267, 58,  15,  14,  "",                                   kNumberEdit},
    ControlTemplate{IDC_START_SECOND,      Edit,         295, 58,  15,  14,  "",                                   kNumberEdit},
    ControlTemplate{IDC_END_YEAR,          Edit,         81,  106, 25,  14,  "",                                   kNumberEdit},
    ControlTemplate{IDC_END_MONTH,         Edit,         119, 106, 15,  14,  "",                                   kNumberEdit},
    ControlTemplate{IDC_END_DAY,           Edit,         145, 106, 15,  14,  "",                                   kNumberEdit},
    ControlTemplate{IDC_END_HOUR,          Edit,         239, 106, 15,  14,  "",                                   kNumberEdit},
    ControlTemplate{IDC_END_MINUTE,        Edit,         267, 106, 15,  14,  "",                                   kNumberEdit},
    ControlTemplate{IDC_END_SECOND,        Edit,         295, 106, 15,  14,  "",                                   kNumberEdit},
    ControlTemplate{IDC_PRODUCER_APP_ID,   Edit,         82,  142, 245, 14,  "",                                   kTextEdit},
    ControlTemplate{IDC_PRODUCER_APP_VER,  Edit,         82,  160, 245, 14,  "",                                   kTextEdit},
    ControlTemplate{IDC_USER_DEF,          Edit,         82,  180, 245, 14,  "",                                   kTextEdit},
    ControlTemplate{IDC_LEVEL_REFERENCE,   Edit,         82,  199, 89,  14,  "",                                   kTextEdit},
    ControlTemplate{IDC_POST_TIMERS,       ComboBox,     82,  218, 158, 93,  "",                                   kDropDownList | kVScroll | kTabStop},  // 93: the dropped height
    ControlTemplate{IDC_URL,               Edit,         82,  235, 245, 14,  "",                                   kTextEdit},
    ControlTemplate{kNoId,                 Label,        18,  144, 56,  8,   FieldLabel(Cart::ProducerAppID),      kNoStyle},
    ControlTemplate{kNoId,                 Label,        18,  163, 59,  8,   FieldLabel(Cart::ProducerAppVersion), kNoStyle},
    ControlTemplate{kNoId,                 Label,        18,  182, 31,  8,   FieldLabel(Cart::UserDef),            kNoStyle},
    ControlTemplate{kNoId,                 Label,        18,  238, 18,  8,   FieldLabel(Cart::URL),                kNoStyle},
    ControlTemplate{kNoId,                 Label,        18,  25,  27,  8,   FieldLabel(Cart::OutCue),             kNoStyle},
    ControlTemplate{kNoId,                 Label,        16,  200, 63,  8,   FieldLabel(Cart::LevelReference),     kNoStyle},
    ControlTemplate{kNoId,                 Label,        18,  220, 34,  8,   FieldLabel(Cart::Timers),             kNoStyle},
    ControlTemplate{kNoId,                 GroupBox,     7,   7,   335, 252, wave::kCartCaption,                   kNoStyle},
    ControlTemplate{kNoId,                 GroupBox,     14,  43,  157, 40,  GroupCaption(Cart::StartDate),        kNoStyle},
    ControlTemplate{kNoId,                 GroupBox,     178, 43,  157, 40,  GroupCaption(Cart::StartTime),        kNoStyle},
    ControlTemplate{kNoId,                 Label,        27,  61,  46,  8,   "YYYY-MM-DD",                         kNoStyle},
    ControlTemplate{kNoId,                 Label,        111, 60,  8,   8,   "-",                                  kNoStyle},
    ControlTemplate{kNoId,                 Label,        138, 60,  8,   8,   "-",                                  kNoStyle},
    ControlTemplate{kNoId,                 Label,        259, 60,  8,   8,   ":",                                  kNoStyle},
    ControlTemplate{kNoId,                 Label,        287, 60,  8,   8,   ":",                                  kNoStyle},
    ControlTemplate{kNoId,                 Label,        197, 61,  29,  8,   "H : M : S",                          kNoStyle},
    ControlTemplate{kNoId,                 GroupBox,     13,  91,  157, 40,  GroupCaption(Cart::EndDate),          kNoStyle},
    ControlTemplate{kNoId,                 GroupBox,     177, 91,  157, 40,  GroupCaption(Cart::EndTime),          kNoStyle},
    ControlTemplate{kNoId,                 Label,        27,  109, 46,  8,   "YYYY-MM-DD",                         kNoStyle},
    ControlTemplate{kNoId,                 Label,        111, 108, 8,   8,   "-",                                  kNoStyle},
    ControlTemplate{kNoId,                 Label,        137, 108, 8,   8,   "-",                                  kNoStyle},
    ControlTemplate{kNoId,                 Label,        259, 108, 8,   8,   ":",                                  kNoStyle},
    ControlTemplate{kNoId,                 Label,        287, 108, 8,   8,   ":",                                  kNoStyle},
    ControlTemplate{kNoId,                 Label,        197, 109, 29,  8,   "H : M : S",                          kNoStyle},
};

// IDD_PLAYER: the buttons and the black position display in one strip
// between the waveform above and the markers below (both placed by the page),
// so that the markers' list has the height for all eight slots.
// Both buttons are tab stops, so that playback needs no mouse.
constexpr std::array kPlayer{
    ControlTemplate{kNoId,                 GroupBox,     7,   7,   335, 252, "",     kNoStyle},
    ControlTemplate{kNoId,                 Frame,        14,  96,  321, 22,  "",     kGrayFrame},
    ControlTemplate{IDC_PLAY,              PushButton,   21,  100, 26,  14,  "Play", kFlat | kTabStop},
    ControlTemplate{IDC_STOP,              PushButton,   51,  100, 26,  14,  "Stop", kFlat | kTabStop},
    ControlTemplate{kNoId,                 Frame,        18,  98,  62,  18,  "",     kWhiteFrame},
    ControlTemplate{IDC_DISPLAY,           Frame,        86,  98,  245, 18,  "",     kBlackRect},
};

// IDD_ABOUT: the About page. The web-site button is the only tab stop; it draws
// itself from the pictures named after its caption.
constexpr std::array kAbout{
    //              id                     kind          x    y    cx   cy   text                style
    ControlTemplate{kNoId,                 GroupBox,     7,   129, 335, 126, "",                                                                          kNoStyle},
    ControlTemplate{kNoId,                 Picture,      7,   7,   333, 118, kBanner,                                                                     kNoStyle},
    ControlTemplate{IDC_WEBSITE,           PushButton,   21,  240, 50,  14,  "VANTOURL",                                                                  kTabStop},
    ControlTemplate{IDC_PRODUCT,           Label,        21,  140, 120, 40,  "VANTO Reelmarker\nVersion " REELMARKER_VERSION,                             kGroup},
    ControlTemplate{IDC_CREDITS,           Label,        21,  196, 103, 34,  "Software Development\n   Mara Lindqvist\n   Jonas Okafor\n   Elena Brandt", kGroup},
    ControlTemplate{IDC_LEGAL1,            Label,        164, 140, 170, 50,  "Legal 1",                                                                   kGroup},  // IDS_RIGHTS_NOTICE at run time
    ControlTemplate{kNoId,                 Frame,        145, 142, 1,   89,  "",                                                                          kGrayFrame | kSunken},  // separator
    ControlTemplate{IDC_LEGAL2,            Label,        164, 195, 170, 37,  "Legal2",                                                                    kGroup},  // IDS_LICENCE_NOTICE at run time
    ControlTemplate{IDC_EMAIL,             Label,        165, 240, 79,  8,   kMakerServiceEmail,                                                          kGroup},  // the e-mail link
};

// Controls that no label sits beside: the date and time parts (their labels
// show the format), the web-site picture button and the position display,
// which is named by the position it shows and described by this.
constexpr std::array kCartInfo2Names{
    ControlName{IDC_START_YEAR,   "Start Date year"},  ControlName{IDC_START_MONTH,  "Start Date month"},
    ControlName{IDC_START_DAY,    "Start Date day"},   ControlName{IDC_START_HOUR,   "Start Time hour"},
    ControlName{IDC_START_MINUTE, "Start Time minute"}, ControlName{IDC_START_SECOND, "Start Time second"},
    ControlName{IDC_END_YEAR,     "End Date year"},    ControlName{IDC_END_MONTH,    "End Date month"},
    ControlName{IDC_END_DAY,      "End Date day"},     ControlName{IDC_END_HOUR,     "End Time hour"},
    ControlName{IDC_END_MINUTE,   "End Time minute"},  ControlName{IDC_END_SECOND,   "End Time second"},
};
constexpr std::array kAboutNames{ControlName{IDC_WEBSITE, "VANTO web site"}};
constexpr std::array kPlayerNames{ControlName{IDC_DISPLAY, "Position"}};
constexpr std::span<const ControlName> kLabelled{};

// Page captions become the tab labels; their blanks widen the tabs.
constexpr std::array kTemplates{
    //             id              caption                     cx   cy   font   size        controls    names
    DialogTemplate{IDD_MAIN,       "VANTO Reelmarker",         365, 314, kFont, kPointSize, kMain,      kLabelled},
    DialogTemplate{IDD_INFO,       "   Start   ",              349, 266, kFont, kPointSize, kInfo,      kLabelled},
    DialogTemplate{IDD_EBU_INFO,   "   EBU Info   ",           349, 189, kFont, kPointSize, kEbuInfo,   kLabelled},
    DialogTemplate{IDD_CART_INFO,  "   Cart Chunk Info 1  ",   349, 141, kFont, kPointSize, kCartInfo,  kLabelled},
    DialogTemplate{IDD_CART_INFO2, "   Cart Chunk Info  2 ",   349, 266, kFont, kPointSize, kCartInfo2, kCartInfo2Names},
    DialogTemplate{IDD_ABOUT,      "   About   ",              349, 262, kFont, kPointSize, kAbout,     kAboutNames},
    DialogTemplate{IDD_PLAYER,     "  Player   ",              349, 266, kFont, kPointSize, kPlayer,    kPlayerNames},
};
// clang-format on

constexpr DialogTemplate kUnknown{-1, "", 0, 0, kFont, kPointSize, {}, {}};

}  // namespace

const DialogTemplate& Template(int id) {
    for (const DialogTemplate& dialog : kTemplates) {
        if (dialog.id == id) {
            return dialog;
        }
    }
    return kUnknown;
}

}  // namespace res
