#include "settings/additionsettings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <system_error>

#include "palette/safewrite.h"

namespace quillon::settings {

namespace fs = std::filesystem;

fs::path additionsIniPath(const fs::path& configIni) {
  return configIni.parent_path() / kAdditionsIniName;
}

namespace {

std::string lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// A key's value without a trailing comment ("Port=9000   ; UDP"), as
// operators write them after the examples they copy.
std::optional<std::string> valueOf(const palette::IniFile& file, std::string_view section,
                                   std::string_view key) {
  std::optional<std::string> text = file.find(section, key);
  if (!text) return text;
  for (std::size_t i = 1; i < text->size(); ++i) {
    if ((*text)[i] == ';' && ((*text)[i - 1] == ' ' || (*text)[i - 1] == '\t')) {
      text->erase(i);
      break;
    }
  }
  while (!text->empty() && (text->back() == ' ' || text->back() == '\t')) text->pop_back();
  return text;
}

}  // namespace

bool settingFlag(const palette::IniFile& file, std::string_view section, std::string_view key,
                 bool fallback) {
  const std::optional<std::string> text = valueOf(file, section, key);
  if (!text) return fallback;
  const std::string word = lowered(*text);
  if (word == "1" || word == "true" || word == "yes" || word == "on") return true;
  if (word == "0" || word == "false" || word == "no" || word == "off") return false;
  return fallback;
}

int settingNumber(const palette::IniFile& file, std::string_view section, std::string_view key, int fallback,
                  int min, int max) {
  const std::optional<std::string> text = valueOf(file, section, key);
  if (!text || text->empty()) return fallback;
  const char* first = text->data();
  const char* last = first + text->size();
  if (*first == '+') ++first;  // from_chars takes "-" but not "+"
  int number = 0;
  const auto [end, error] = std::from_chars(first, last, number);
  if (error != std::errc() || end != last || number < min || number > max) return fallback;
  return number;
}

double settingDecimal(const palette::IniFile& file, std::string_view section, std::string_view key,
                      double fallback, double min, double max) {
  const std::optional<std::string> text = valueOf(file, section, key);
  if (!text || text->empty()) return fallback;
  const char* first = text->data();
  const char* last = first + text->size();
  if (*first == '+') ++first;
  double number = 0.0;
  const auto [end, error] = std::from_chars(first, last, number, std::chars_format::fixed);
  if (error != std::errc() || end != last || !(number >= min && number <= max)) return fallback;
  return number;
}

std::string settingText(const palette::IniFile& file, std::string_view section, std::string_view key,
                        std::string_view fallback) {
  const std::optional<std::string> text = valueOf(file, section, key);
  return text && !text->empty() ? *text : std::string(fallback);
}

AdditionSettings readAdditionSettings(const palette::IniFile& file) {
  AdditionSettings settings;
  settings.panic.enabled = settingFlag(file, "Panic", "Enabled", settings.panic.enabled);
  settings.endWarning.enabled =
      settingFlag(file, "EndWarning", "Enabled", settings.endWarning.enabled);
  settings.endWarning.seconds =
      settingNumber(file, "EndWarning", "Seconds", settings.endWarning.seconds, 1, 60);
  settings.keys.instant = settingFlag(file, "Keys", "Instant", settings.keys.instant);
  settings.display.remaining =
      settingFlag(file, "Display", "Remaining", settings.display.remaining);
  settings.asRun.enabled = settingFlag(file, "AsRun", "Enabled", settings.asRun.enabled);
  settings.asRun.folder = settingText(file, "AsRun", "Folder", settings.asRun.folder);
  LoudnessSettings& loudness = settings.loudness;
  loudness.enabled = settingFlag(file, "Loudness", "Enabled", loudness.enabled);
  loudness.target = settingDecimal(file, "Loudness", "Target", loudness.target, -70.0, -5.0);
  loudness.ceiling = settingDecimal(file, "Loudness", "Ceiling", loudness.ceiling, -20.0, 0.0);
  settings.preListen.device = settingText(file, "PreListen", "Device", "");
  return settings;
}

std::string defaultAdditionsFile() {
  return "; Quillon's own settings, beside Config.ini. 1 switches a feature on, 0 off.\n"
         "; The program reads this file at start; restart it after a change.\n"
         "\n"
         "[Panic]\n"
         "; Escape stops every cart; Shift+Escape fades every playing cart out over 2 s.\n"
         "Enabled=1\n"
         "\n"
         "[EndWarning]\n"
         "; A cart's frame blinks during its last seconds when it will stop at its end.\n"
         "Enabled=1\n"
         "; How many seconds before the end (1 to 60).\n"
         "Seconds=5\n"
         "\n"
         "[Keys]\n"
         "; 1: a letter fires its cart as the key goes down; 0: within 100 ms, at the\n"
         "; keyboard's next look (every press since the last look fires, in order).\n"
         "Instant=0\n"
         "\n"
         "[Display]\n"
         "; 1: each cart's running time counts down the time left (-0:07) instead of up.\n"
         "Remaining=0\n"
         "\n"
         "[Loudness]\n"
         "; 1: every cart plays at the same loudness: each file is measured once (EBU R128)\n"
         "; and its gain set so it reaches Target, its true peak kept under Ceiling.\n"
         "; The cart's volume and fades still apply on top.\n"
         "Enabled=0\n"
         "; Loudness in LUFS (-70 to -5): -23 is EBU R128 broadcast; -16 and -14 are common.\n"
         "Target=-23\n"
         "; Highest true peak in dBTP (-20 to 0).\n"
         "Ceiling=-1\n"
         "\n"
         "[MIDI]\n"
         "; A MIDI input named Quillon (JACK MIDI when a JACK server runs, else ALSA).\n"
         "; Note-on of FirstNote to FirstNote+25 fires A to Z (36 to 61: C1 to C#3).\n"
         "Enabled=1\n"
         "FirstNote=36\n"
         "; 1 to 16 listens to that channel only; 0 to every channel.\n"
         "Channel=0\n"
         "\n"
         "[OSC]\n"
         "; /quillon/fire s (a letter), /quillon/stop s (a letter), /quillon/panic over UDP.\n"
         "Enabled=0\n"
         "; The address to listen on: 127.0.0.1 keeps it to this machine.\n"
         "Address=127.0.0.1\n"
         "Port=9000\n"
         "\n"
         "[Devices]\n"
         "; When the chosen output device fails, look for it again every few seconds\n"
         "; and take it back when it returns (never while a cart plays).\n"
         "Reconnect=1\n"
         "CheckSeconds=3\n"
         "\n"
         "[AsRun]\n"
         "; One CSV line per play (start, cart, file, length, time heard, how it\n"
         "; started and ended) in a file per day.\n"
         "Enabled=1\n"
         "; The folder of the files; empty: ~/.local/share/quillon/as-run.\n"
         "Folder=\n"
         "\n"
         "[PreListen]\n"
         "; The cue device (headphones), by its name in the device list, e.g.\n"
         "; system:playback_3+4. Ctrl+letter or Ctrl+click on a cart's play button then\n"
         "; plays it there only, never on air. Empty: pre-listen off.\n"
         "Device=\n";
}

RemoteSettings readRemoteSettings(const palette::IniFile& file) {
  RemoteSettings s;
  s.midi.enabled = settingFlag(file, "MIDI", "Enabled", s.midi.enabled);
  s.midi.firstNote = settingNumber(file, "MIDI", "FirstNote", s.midi.firstNote, 0, 102);
  s.midi.channel = settingNumber(file, "MIDI", "Channel", s.midi.channel, 0, 16);
  s.osc.enabled = settingFlag(file, "OSC", "Enabled", s.osc.enabled);
  s.osc.address = settingText(file, "OSC", "Address", s.osc.address);
  s.osc.port = settingNumber(file, "OSC", "Port", s.osc.port, 1, 65535);
  s.devices.enabled = settingFlag(file, "Devices", "Reconnect", s.devices.enabled);
  s.devices.checkSeconds =
      settingNumber(file, "Devices", "CheckSeconds", s.devices.checkSeconds, 1, 60);
  return s;
}

palette::WriteResult createAdditionsFileIfMissing(const fs::path& path) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(path, error);
  if (fs::exists(status)) return palette::WriteResult::success();
  if (error && error != std::errc::no_such_file_or_directory) {
    return palette::WriteResult::failure(palette::WriteError::WriteFailed, path.string() + ": " + error.message());
  }
  return palette::replaceFileContents(path, defaultAdditionsFile());
}

}  // namespace quillon::settings
