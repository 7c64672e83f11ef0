#include "explorer/audiofilter.h"

#include <gtest/gtest.h>

namespace quillon::explorer {
namespace {

TEST(AudioFilter, SplitsTheDesignFilterIntoItsFourPatterns) {
  EXPECT_EQ(filterPatterns(), (std::vector<std::string>{"*.mp3", "*.wma", "*.wav", "*.ogg"}));
  EXPECT_EQ(filterPatterns(" *.mp3 ;; *.wav;"), (std::vector<std::string>{"*.mp3", "*.wav"}));
  EXPECT_TRUE(filterPatterns("").empty());
}

TEST(AudioFilter, ListsTheFourExtensionsInAnyLetterCase) {
  for (const char* name :
       {"intro.mp3", "BED.WAV", "sting.Ogg", "promo.wMa", "/home/op/Jingles/top of hour.MP3"}) {
    EXPECT_TRUE(isListedAudioFile(name)) << name;
  }
  for (const char* name :
       {"notes.txt", "bassmp3", "mix.mp3.txt", "mix.mp4", "archive.mp3/readme", ""}) {
    EXPECT_FALSE(isListedAudioFile(name)) << name;
  }
}

}  // namespace
}  // namespace quillon::explorer
