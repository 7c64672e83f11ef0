#include "asrun/asruncsv.h"

#include <cstdio>
#include <cstdlib>

namespace quillon::asrun {

namespace {

using namespace std::chrono;

struct LocalParts {
  year_month_day date;
  hh_mm_ss<milliseconds> time;
};

LocalParts localParts(const PlayRecord& play) {
  const auto local = time_point_cast<milliseconds>(play.start) + play.utcOffset;
  const auto day = floor<days>(local);
  return {year_month_day(sys_days(day)), hh_mm_ss<milliseconds>(local - day)};
}

std::string formatDate(const year_month_day& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", int(date.year()), unsigned(date.month()),
                unsigned(date.day()));
  return text;
}

// Seconds with three decimals, "183.250": easy to sum in a spreadsheet.
std::string formatSeconds(milliseconds duration) {
  const long long ms = duration.count() < 0 ? 0 : duration.count();
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%03lld", ms / 1000, ms % 1000);
  return text;
}

}  // namespace

const char* startCauseName(StartCause cause) {
  switch (cause) {
    case StartCause::Key:
      return "key";
    case StartCause::Click:
      return "click";
    case StartCause::Midi:
      return "midi";
    case StartCause::Osc:
      return "osc";
  }
  return "unknown";
}

const char* endReasonName(EndReason reason) {
  switch (reason) {
    case EndReason::End:
      return "end";
    case EndReason::Stopped:
      return "stopped";
    case EndReason::Panic:
      return "panic";
    case EndReason::PanicFade:
      return "panic-fade";
    case EndReason::LoopStopped:
      return "loop-stopped";
    case EndReason::Replaced:
      return "replaced";
    case EndReason::DeviceChanged:
      return "device-changed";
    case EndReason::DeviceFailed:
      return "device-failed";
    case EndReason::FileFailed:
      return "file-failed";
    case EndReason::PaletteLoad:
      return "palette-load";
    case EndReason::New:
      return "new";
    case EndReason::Quit:
      return "quit";
  }
  return "unknown";
}

std::string csvHeader() {
  return "start,letter,path,title,length,played,started_by,ended_by,passes\r\n";
}

std::string csvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

std::string localTimestamp(const PlayRecord& play) {
  const LocalParts parts = localParts(play);
  const long long offset = play.utcOffset.count();
  const long long absOffset = std::llabs(offset);
  char text[48];
  std::snprintf(text, sizeof text, "T%02d:%02d:%02d.%03d%c%02lld:%02lld",
                int(parts.time.hours().count()), int(parts.time.minutes().count()),
                int(parts.time.seconds().count()), int(parts.time.subseconds().count()),
                offset < 0 ? '-' : '+', absOffset / 3600, absOffset % 3600 / 60);
  return formatDate(parts.date) + text;
}

std::string fileNameFor(const PlayRecord& play) {
  return formatDate(localParts(play).date) + ".csv";
}

std::string csvLine(const PlayRecord& play) {
  std::string line;
  line += localTimestamp(play);
  line += ',';
  line += csvField(std::string_view(&play.letter, 1));
  line += ',';
  line += csvField(play.path);
  line += ',';
  line += csvField(play.title);
  line += ',';
  line += formatSeconds(play.length);
  line += ',';
  line += formatSeconds(play.played);
  line += ',';
  line += startCauseName(play.startedBy);
  line += ',';
  line += endReasonName(play.endedBy);
  line += ',';
  line += std::to_string(play.passes);
  line += "\r\n";
  return line;
}

}  // namespace quillon::asrun
