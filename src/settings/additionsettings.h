// The settings of what Quillon adds to the cart player itself (the panic key,
// the end-of-cart warning, instant keys, the countdown, remote control), kept in Quillon.ini beside
// Config.ini so that Config.ini holds only the cart player's own keys and
// stays readable by everything that reads it today. UI thread.
//
// The file is written once, with every setting at its default and a comment
// for each, when it does not exist, so an operator finds what can be set;
// after that the program only reads it. A missing, unreadable or garbled file
// or key gives the default for that setting: a typo never stops the program.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "palette/inifile.h"
#include "palette/writeresult.h"

namespace quillon::settings {

inline constexpr const char* kAdditionsIniName = "Quillon.ini";

// Quillon.ini in the folder of `configIni`.
std::filesystem::path additionsIniPath(const std::filesystem::path& configIni);

struct PanicSettings {
  bool enabled = true;
};

struct EndWarningSettings {
  bool enabled = true;
  int seconds = 5;  // 1..60
};

// A letter fires on its key press rather than at the next 100 ms poll.
struct KeySettings {
  bool instant = false;
};

struct DisplaySettings {
  // Each cart's running time counts down the time left ("-0:07").
  bool remaining = false;
};

// The as-run log of every play; Folder empty: the user's data folder.
struct AsRunSettings {
  bool enabled = true;
  std::string folder;
};

// Pre-listen on a second output: the cue device by its name in the device
// list (e.g. "system:playback_3+4"); empty: pre-listen off.
struct PreListenSettings {
  std::string device;
};

// Loudness normalisation of every cart: off unless switched on. Target in
// LUFS, Ceiling the highest true peak in dBTP.
struct LoudnessSettings {
  bool enabled = false;
  double target = -23.0;  // -70..-5
  double ceiling = -1.0;  // -20..0
};

struct AdditionSettings {
  PreListenSettings preListen;
  AsRunSettings asRun;
  LoudnessSettings loudness;
  PanicSettings panic;
  EndWarningSettings endWarning;
  KeySettings keys;
  DisplaySettings display;
};

AdditionSettings readAdditionSettings(const palette::IniFile& file);

// Readers for one key, for each addition's own section. A flag is 1/0,
// true/false, yes/no or on/off in any letter case; a number is whole
// decimal digits with an optional sign, within [min, max]. Anything else,
// or a missing key, gives `fallback`.
bool settingFlag(const palette::IniFile& file, std::string_view section, std::string_view key,
                 bool fallback);
int settingNumber(const palette::IniFile& file, std::string_view section, std::string_view key, int fallback,
                  int min, int max);
// A decimal number ("-23", "-1.5") within [min, max]; anything else gives
// `fallback`.
double settingDecimal(const palette::IniFile& file, std::string_view section, std::string_view key,
                      double fallback, double min, double max);
std::string settingText(const palette::IniFile& file, std::string_view section, std::string_view key,
                        std::string_view fallback);

// The file an operator finds on first start: every section and key at its
// default, each with a comment.
std::string defaultAdditionsFile();

// Writes defaultAdditionsFile() at `path` when nothing is there; an existing
// file (even an unreadable one) is never touched.
palette::WriteResult createAdditionsFileIfMissing(const std::filesystem::path& path);

// Remote firing from a MIDI controller: note-on of notes FirstNote to
// FirstNote + 25 fires the letters A to Z.
struct MidiSettings {
  bool enabled = true;
  int firstNote = 36;  // 0..102, so that Z stays within MIDI's 0..127
  int channel = 0;     // 1..16, or 0 for any channel
};

// Remote firing over OSC (UDP). Off unless switched on; loopback only unless
// another address of this machine is given.
struct OscSettings {
  bool enabled = false;
  std::string address = "127.0.0.1";
  int port = 9000;  // 1..65535
};

// The chosen output device coming back after it failed.
struct DeviceReturnSettings {
  bool enabled = true;
  int checkSeconds = 3;  // 1..60: how often the list is read while it is missing
};

struct RemoteSettings {
  MidiSettings midi;
  OscSettings osc;
  DeviceReturnSettings devices;
};

RemoteSettings readRemoteSettings(const palette::IniFile& file);

}  // namespace quillon::settings
