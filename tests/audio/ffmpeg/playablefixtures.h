// The files every reader test runs over: each type, mono to 5.1, 8 to 96 kHz,
// MP3 with and without its Xing/LAME header, constant and variable bit rate.
#pragma once

#include <ostream>
#include <vector>

#include "audiofixtures.h"

namespace quillon::test {

const std::vector<AudioFixture>& playableFixtures();
// The playable fixture of that file name; throws when there is none.
const AudioFixture& fixtureNamed(const std::string& name);

// For gtest's parameter names: the file name without its dot.
std::string fixtureTestName(const AudioFixture& fixture);

inline void PrintTo(const AudioFixture& fixture, std::ostream* out) { *out << fixture.name; }

}  // namespace quillon::test
