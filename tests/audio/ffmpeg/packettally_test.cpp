// The packet tally against libavcodec's rules for skip-samples side data,
// worked by hand: what the decoder would drop from each frame.
#include "audio/ffmpeg/packettally.h"

#include <gtest/gtest.h>

#include <array>

namespace quillon::audio {
namespace {

struct Packet {
  FrameCount frames;
  std::uint32_t skipStart;
  std::uint32_t discardEnd;
  bool sideData;
};

FrameCount tally(std::initializer_list<Packet> packets, std::size_t sideDataSize = 10) {
  PacketTally t;
  for (const Packet& p : packets) {
    std::array<std::uint8_t, 10> data{};
    for (int i = 0; i < 4; ++i) {
      data[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(p.skipStart >> (8 * i));
      data[static_cast<std::size_t>(4 + i)] = static_cast<std::uint8_t>(p.discardEnd >> (8 * i));
    }
    t.add(p.frames, p.sideData ? data.data() : nullptr, p.sideData ? sideDataSize : 0);
  }
  return t.frames();
}

TEST(PacketTally, FollowsTheDecodersSkipRules) {
  // Plain frames.
  EXPECT_EQ(tally({{1152, 0, 0, false}, {1152, 0, 0, false}, {1152, 0, 0, false}}), 3456);
  // An MP3 with its LAME header: 1105 frames of delay, 857 of padding.
  EXPECT_EQ(tally({{1152, 1105, 0, true}, {1152, 0, 0, false}, {1152, 0, 857, true}}),
            47 + 1152 + 295);
  // A start skip longer than a frame carries into the next: 2000 - 1152 = 848.
  EXPECT_EQ(tally({{1152, 2000, 0, true}, {1152, 0, 0, false}}), 1152 - 848);
  // A later packet's side data replaces what was still to skip.
  EXPECT_EQ(tally({{1152, 3000, 0, true}, {1152, 0, 0, true}}), 1152);
  // An end discard applies only when it fits in its frame...
  EXPECT_EQ(tally({{576, 0, 1000, true}}), 576);
  // ...and may take a whole frame.
  EXPECT_EQ(tally({{576, 0, 576, true}, {576, 0, 0, false}}), 576);
  // After the start skip, in the same frame.
  EXPECT_EQ(tally({{1152, 100, 52, true}}), 1000);
  // A start skip beyond 2^31 is negative to the decoder, which ignores it.
  EXPECT_EQ(tally({{1152, 0x80000000u, 0, true}}), 1152);
  // Side data that is too short is ignored.
  EXPECT_EQ(tally({{1152, 1105, 857, true}}, 9), 1152);
}

}  // namespace
}  // namespace quillon::audio
