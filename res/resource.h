#pragma once

// Every number the program names a dialog, control, string or picture by.
// A control's number is unique within its own dialog only, so one number may
// carry several names in different dialogs.

// Dialogs and pages.
inline constexpr int IDD_MAIN = 102;
inline constexpr int IDD_INFO = 107;        // Start page
inline constexpr int IDD_EBU_INFO = 108;    // EBU Info page
inline constexpr int IDD_CART_INFO = 109;   // Cart Chunk Info 1 page
inline constexpr int IDD_CART_INFO2 = 110;  // Cart Chunk Info 2 page
inline constexpr int IDD_ABOUT = 135;
inline constexpr int IDD_PLAYER = 143;

// Strings.
inline constexpr int IDS_RIGHTS_NOTICE = 104;   // About page: who holds the rights
inline constexpr int IDS_LICENCE_NOTICE = 105;  // About page: the terms of use

// Pictures.
inline constexpr int IDB_BANNER = 132;

// Main dialog.
inline constexpr int IDC_EXIT = 1;
inline constexpr int IDC_APPLY = 1000;
inline constexpr int IDC_PROGRESS = 1020;
inline constexpr int IDC_WAIT = 1022;

// Start page.
inline constexpr int IDC_OPEN = 1001;
inline constexpr int IDC_PATH = 1002;
inline constexpr int IDC_FORMAT_TAG = 1003;
inline constexpr int IDC_CHANNELS = 1004;
inline constexpr int IDC_SAMPLE_RATE = 1005;
inline constexpr int IDC_BITS_PER_SAMPLE = 1006;
inline constexpr int IDC_AVG_BYTES_PER_SEC = 1007;
inline constexpr int IDC_BLOCK_ALIGN = 1008;
inline constexpr int IDC_CHARSET = 1009;
inline constexpr int IDC_ALWAYS_ANY_LAYOUT = 1011;
inline constexpr int IDC_CHECK_SUMMARY = 1012;
inline constexpr int IDC_FINDINGS = 1013;

// EBU Info page.
inline constexpr int IDC_ORIGINATOR = 1005;
inline constexpr int IDC_ORIGINATOR_REF = 1006;
inline constexpr int IDC_ORIGINATION_DATE = 1007;
inline constexpr int IDC_ORIGINATION_TIME = 1008;
inline constexpr int IDC_DESCRIPTION = 1009;
inline constexpr int IDC_CODING_HISTORY = 1010;
inline constexpr int IDC_EBU_GROUP = 1011;

// Cart Chunk Info 1 page.
inline constexpr int IDC_VERSION = 1009;
inline constexpr int IDC_TITLE = 1012;
inline constexpr int IDC_ARTIST = 1013;
inline constexpr int IDC_CLIENT_ID = 1014;
inline constexpr int IDC_CATEGORY = 1015;
inline constexpr int IDC_CLASSIFICATION = 1021;

// Cart Chunk Info 2 page.
inline constexpr int IDC_PRODUCER_APP_ID = 1018;
inline constexpr int IDC_POST_TIMERS = 1019;
inline constexpr int IDC_PRODUCER_APP_VER = 1020;
inline constexpr int IDC_USER_DEF = 1022;
inline constexpr int IDC_URL = 1023;
inline constexpr int IDC_OUT_CUE = 1024;
inline constexpr int IDC_LEVEL_REFERENCE = 1025;
inline constexpr int IDC_START_YEAR = 1036;
inline constexpr int IDC_START_MONTH = 1037;
inline constexpr int IDC_START_DAY = 1038;
inline constexpr int IDC_START_HOUR = 1039;
inline constexpr int IDC_START_MINUTE = 1040;
inline constexpr int IDC_START_SECOND = 1041;
inline constexpr int IDC_END_YEAR = 1042;
inline constexpr int IDC_END_MONTH = 1043;
inline constexpr int IDC_END_DAY = 1044;
inline constexpr int IDC_END_HOUR = 1045;
inline constexpr int IDC_END_MINUTE = 1046;
inline constexpr int IDC_END_SECOND = 1047;

// Player page.
inline constexpr int IDC_PLAY = 1040;
inline constexpr int IDC_DISPLAY = 1041;
inline constexpr int IDC_STOP = 1042;

// About page.
inline constexpr int IDC_WEBSITE = 1030;
inline constexpr int IDC_PRODUCT = 1042;
inline constexpr int IDC_EMAIL = 1054;
inline constexpr int IDC_CREDITS = 1055;
inline constexpr int IDC_LEGAL1 = 1056;
inline constexpr int IDC_LEGAL2 = 1057;
