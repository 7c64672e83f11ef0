#include "explorer/propertiestext.h"

#include <gtest/gtest.h>

#include <limits>

namespace quillon::explorer {
namespace {

TEST(PropertiesText, Sizes) {
  EXPECT_EQ(sizeText(0), "0 bytes");
  EXPECT_EQ(sizeText(1), "1 byte");
  EXPECT_EQ(sizeText(1023), "1,023 bytes");
  EXPECT_EQ(sizeText(1536), "1.5 KB (1,536 bytes)");
  EXPECT_EQ(sizeText(3355443), "3.2 MB (3,355,443 bytes)");         // 3.19999 MB
  EXPECT_EQ(sizeText(5368709120), "5.0 GB (5,368,709,120 bytes)");  // 5 x 1024^3
  EXPECT_EQ(sizeText(-1), "-");
}

TEST(PropertiesText, Lengths) {
  EXPECT_EQ(lengthText(0), "0:00.000");
  EXPECT_EQ(lengthText(2000), "0:02.000");
  EXPECT_EQ(lengthText(59999), "0:59.999");
  EXPECT_EQ(lengthText(60000), "1:00.000");
  EXPECT_EQ(lengthText(4502250), "75:02.250");
  EXPECT_EQ(lengthText(-5), "-");
}

TEST(PropertiesText, RatesAndDigits) {
  EXPECT_EQ(sampleRateText(44100), "44,100 Hz");
  EXPECT_EQ(sampleRateText(8000), "8,000 Hz");
  EXPECT_EQ(sampleRateText(0), "-");
  EXPECT_EQ(groupedDigits(999), "999");
  EXPECT_EQ(groupedDigits(1000), "1,000");
  EXPECT_EQ(groupedDigits(-1234567), "-1,234,567");
  EXPECT_EQ(groupedDigits(std::numeric_limits<std::int64_t>::min()), "-9,223,372,036,854,775,808");
}

}  // namespace
}  // namespace quillon::explorer
