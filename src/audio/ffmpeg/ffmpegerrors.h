// FFmpeg's error codes as text, and FFmpeg's own log kept off the terminal
// (the program keeps no log). Any thread.
#pragma once

#include <string>

namespace quillon::audio {

// "Invalid data found when processing input" and the like, for a person.
std::string ffmpegErrorText(int code);

// Sets FFmpeg's log level to quiet, once per process, before the first call
// into FFmpeg. Safe to call from any thread, any number of times.
void silenceFfmpegLog();

}  // namespace quillon::audio
