#include "palette/textencoding.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon::palette {
namespace {

struct Utf8Case {
  const char* label;
  std::string bytes;
  bool valid;
};

TEST(Utf8Validity, AcceptsWellFormedAndRejectsEveryMalformedShape) {
  const Utf8Case cases[] = {
      {"ASCII", "C:\\Jingles\\ident.mp3", true},
      {"two bytes (e acute)", "\xC3\xA9", true},
      {"three bytes (euro)", "\xE2\x82\xAC", true},
      {"four bytes (U+1F3B5)", "\xF0\x9F\x8E\xB5", true},
      {"highest code point", "\xF4\x8F\xBF\xBF", true},
      {"NUL is a character", std::string("a\0b", 3), true},
      {"lone lead byte", "\xC3", false},
      {"lone continuation", "\x80", false},
      {"truncated three", "\xE2\x82", false},
      {"overlong slash", "\xC0\xAF", false},
      {"overlong three", "\xE0\x80\xAF", false},
      {"overlong four", "\xF0\x80\x80\xAF", false},
      {"surrogate", "\xED\xA0\x80", false},
      {"above U+10FFFF", "\xF4\x90\x80\x80", false},
      {"byte FF", "\xFF", false},
      {"Windows-1252 e acute", "Caf\xE9", false},
      {"bad continuation inside", "\xE2\x28\xA1", false},
  };
  for (const auto& c : cases) EXPECT_EQ(isValidUtf8(c.bytes), c.valid) << c.label;
}

TEST(Windows1252, MapsTheCodePageToUtf8) {
  // Expected characters from the code page's published chart.
  EXPECT_EQ(windows1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(windows1252ToUtf8("\x92"), "\xE2\x80\x99");  // right single quote
  EXPECT_EQ(windows1252ToUtf8("\x9F"), "\xC5\xB8");      // Y diaeresis
  EXPECT_EQ(windows1252ToUtf8("\x8A"), "\xC5\xA0");      // S caron
  EXPECT_EQ(windows1252ToUtf8("\x81\x8D\x8F\x90\x9D"),   // undefined: C1 controls
            "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
  EXPECT_EQ(windows1252ToUtf8("\xA0"), "\xC2\xA0");  // no-break space
  EXPECT_EQ(windows1252ToUtf8("\xE9t\xE9"), "\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(windows1252ToUtf8("\xFF"), "\xC3\xBF");
  EXPECT_EQ(windows1252ToUtf8("plain"), "plain");
}

TEST(CutUtf8, NeverSplitsACharacter) {
  EXPECT_EQ(cutUtf8("a\xC3\xA9", 2), "a");
  EXPECT_EQ(cutUtf8("a\xC3\xA9", 3), "a\xC3\xA9");
  EXPECT_EQ(cutUtf8("\xF0\x9F\x8E\xB5x", 3), "");
  EXPECT_EQ(cutUtf8("abc", 10), "abc");
}

}  // namespace
}  // namespace quillon::palette
