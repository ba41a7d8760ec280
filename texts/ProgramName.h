#pragma once

// The names the program goes by, each spelled once.
namespace texts {

inline constexpr const char* kProgramName = "Reelmarker";
inline constexpr const char* kMakerName = "VANTO";
// The commands, as installed; boxes without a caption of their own show
// the desktop program's.
inline constexpr const char* kDesktopCommand = "reelmarker";
inline constexpr const char* kCliCommand = "reelmarker-cli";

}  // namespace texts
