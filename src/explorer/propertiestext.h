// The texts of the explorer's properties dialog: size, length and rate as an
// operator reads them. No Qt.
#pragma once

#include <cstdint>
#include <string>

namespace quillon::explorer {

// "0 bytes", "1 byte", "999 bytes", "1.5 KB (1,536 bytes)", "3.2 MB (3,355,443 bytes)";
// units of 1024, one decimal.
std::string sizeText(std::int64_t bytes);

// "m:ss.mmm", minutes growing past 59 ("75:02.250"); negative: "-".
std::string lengthText(std::int64_t milliseconds);

// "44,100 Hz"; 0 or less: "-".
std::string sampleRateText(int hertz);

// 1234567 → "1,234,567".
std::string groupedDigits(std::int64_t value);

}  // namespace quillon::explorer
