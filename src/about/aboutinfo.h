// The program's own addresses and credits, shown by the about window.
#pragma once

namespace quillon::about {

inline constexpr const char* kWebAddress = "https://quillon.studio";
inline constexpr const char* kMailAddress = "support@quillon.studio";
inline constexpr const char* kMailPrefix = "mailto: ";  // the blank is intended
inline constexpr const char* kMailSubject = "?subject=About Quillon";
inline constexpr const char* kMakerName = "The Quillon studio team";
inline constexpr const char* kCredits =
    "Built on Qt, FFmpeg and PortAudio. Made for the people on air.";

}  // namespace quillon::about
