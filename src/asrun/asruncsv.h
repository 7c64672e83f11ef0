// The as-run file's text: its header, one line per play (RFC 4180: fields
// holding a comma, a quote or a line break are quoted, quotes doubled, lines
// ended by CR LF), and the name of the file a play belongs in.
#pragma once

#include <string>
#include <string_view>

#include "asrun/playrecord.h"

namespace quillon::asrun {

// The header line, CR LF included.
std::string csvHeader();

// One field, quoted when it must be.
std::string csvField(std::string_view text);

// The line for one play, CR LF included.
std::string csvLine(const PlayRecord& play);

// "2026-12-07T08:15:00.123+01:00": the local start to the millisecond.
std::string localTimestamp(const PlayRecord& play);

// "2026-12-07.csv": named by the local date the play started on, so a play
// that runs past midnight stays in the file of the day it began.
std::string fileNameFor(const PlayRecord& play);

}  // namespace quillon::asrun
