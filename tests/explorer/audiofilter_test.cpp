#include "explorer/audiofilter.h"

#include <gtest/gtest.h>

namespace quillon::explorer {
namespace {

TEST(AudioFilter, SplitsTheDesignFilterIntoItsFourPatterns) {
  EXPECT_EQ(filterPatterns(), (std::vector<std::string>{"*.mp3", "*.wma", "*.wav", "*.ogg"}));
  EXPECT_EQ(filterPatterns(" *.mp3 ;; *.wav;"), (std::vector<std::string>{"*.mp3", "*.wav"}));
  EXPECT_TRUE(filterPatterns("").empty());
}

struct NameCase {
  const char* name;
  bool listed;
};

class ListedName : public ::testing::TestWithParam<NameCase> {};

TEST_P(ListedName, MatchesTheExtensionInAnyLetterCase) {
  EXPECT_EQ(isListedAudioFile(GetParam().name), GetParam().listed) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, ListedName,
    ::testing::Values(NameCase{"intro.mp3", true}, NameCase{"BED.WAV", true},
                      NameCase{"sting.Ogg", true}, NameCase{"promo.wMa", true},
                      NameCase{"/home/op/Jingles/top of hour.MP3", true},
                      NameCase{"notes.txt", false}, NameCase{"cover.jpg", false},
                      NameCase{"bassmp3", false},  // the list wants the dot
                      NameCase{"mix.mp3.txt", false}, NameCase{"mix.mp4", false},
                      NameCase{"archive.mp3/readme", false}, NameCase{"", false}));

}  // namespace
}  // namespace quillon::explorer
