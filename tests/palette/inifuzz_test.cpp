// Mutation fuzzing of the settings layer: thousands of damaged files, made
// from a few realistic ones by a fixed-seed generator so every run is the
// same. Each must parse, survive edits and a write/parse round trip, and keep
// the layer's promises; none may crash (the sanitizer build runs this too).
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "mutator.h"
#include "palette/inidocument.h"
#include "palette/textencoding.h"

namespace quillon::palette {
namespace {

using namespace std::string_literals;
using test::Mutator;

const std::vector<std::string> kSeeds = {
    "[0]\r\nTITLE=C:\\Jingles\\Station ident.mp3\r\nVOLUME=80\r\nLOOP=0\r\nFADEIN=1\r\n"
    "FADEOUT=0\r\n[1]\r\nTITLE=\r\nVOLUME=100\r\nLOOP=0\r\nFADEIN=0\r\nFADEOUT=0\r\n",
    "[FirstExec]\nValue=1\n[FavorisLink]\n1=C:\\Palettes\\Morning show.pal\n"
    "2=D:\\Shows\\Quiz.pal\n[Favoris]\nNb=2\n",
    "; comment\n[ 0]\n title = C:\\Caf\xE9\\\x80.mp3 \nLOOP= 1\n\n[40]\nX=y\n",
    "\xEF\xBB\xBF[2]\rTITLE=/srv/\xC3\xA9t\xC3\xA9.ogg\rVOLUME=32768\r",
    "TITLE=orphan\n[0\nVOLUME=5\n[0]\n[0]\nTITLE=dup\n[]\n=\n;\n[3]\nTITLE=a\0b\n"s,
};

// Pieces that give lines their shape, or trouble.
const std::vector<std::string> kTokens = {
    "[",     "]",       "=",     "\r",   "\n",   "\r\n",         " ",    "\t",      "\0"s,
    ";",     "\xE9",    "\xC3",  "\xA9", "\x80", "\xEF\xBB\xBF", "[0]",  "[ 1 ]",   "TITLE=",
    "title", "VOLUME=", "32768", "-1",   "2.5",  "True",         "LOOP", "Favoris", "Nb=",
};

const std::vector<std::string> kSections = {
    "0", " 1", "2", "25", "40", "Favoris", "FAVORISLINK", "Caf\xC3\xA9", "new section"};
const std::vector<std::string> kKeys = {"TITLE", "volume", " LOOP ", "FadeIn",     "FADEOUT",
                                        "Nb",    "1",      "Value",  "T\xC3\xAAte"};
const std::vector<std::string> kValues = {"",
                                          "1",
                                          " 0 ",
                                          "C:\\Jingles\\x.mp3",
                                          "/srv/\xC3\xA9t\xC3\xA9.wav",
                                          "a=b;c[d]",
                                          std::string(300, 'p')};

// Unoptimised builds (the sanitizer run) are some forty times slower: they
// run the first part of the same sequence.
#ifdef NDEBUG
constexpr int kRounds = 20000;
#else
constexpr int kRounds = 4000;
#endif

// The promises every document keeps, whatever its bytes.
void checkDocument(const IniDocument& doc, const std::string& bytes) {
  ASSERT_EQ(doc.serialise(), bytes);
  for (const IniEntry& entry : doc.entries()) {
    ASSERT_EQ(doc.find(entry.section, entry.key), entry.value);
    ASSERT_TRUE(isValidUtf8(entry.value));
    ASSERT_LE(entry.value.size(), kMaxValueBytes);
    ASSERT_EQ(entry.value.find_first_of("\r\n\0"s), std::string::npos);
    ASSERT_EQ(entry.value, std::string(trimBlanks(entry.value)));
  }
}

// A name as lookups compare it.
std::pair<std::string, std::string> lookupName(std::string_view section, std::string_view key) {
  return {foldName(trimBlanks(section)), foldName(trimBlanks(key))};
}

// Outside the changed line, the old bytes are all still there, in order.
void checkOnlyOneLineChanged(const std::string& before, const std::string& after) {
  std::size_t prefix = 0;
  while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) {
    ++prefix;
  }
  std::size_t suffix = 0;
  while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  const std::string lost = before.substr(prefix, before.size() - prefix - suffix);
  ASSERT_EQ(lost.find_first_of("\r\n"), std::string::npos) << "more than one line changed";
}

TEST(IniFuzz, MutatedFilesParseEditAndRoundTrip) {
  Mutator mutator(20240607, kSeeds, kTokens);
  for (int round = 0; round < kRounds; ++round) {
    const std::string bytes = mutator.mutate(mutator.pick(kSeeds));
    SCOPED_TRACE("round " + std::to_string(round));
    IniDocument doc = IniDocument::parse(bytes);
    ASSERT_NO_FATAL_FAILURE(checkDocument(doc, bytes));

    // What every key reads after the edits: what it read before, or the last value stored.
    std::map<std::pair<std::string, std::string>, std::string> expected;
    const std::vector<IniEntry> original = doc.entries();
    for (const IniEntry& entry : original)
      expected[lookupName(entry.section, entry.key)] = entry.value;
    const std::size_t edits = 1 + mutator.below(3);
    for (std::size_t e = 0; e < edits; ++e) {
      const std::string section = mutator.below(3) == 0 && !original.empty()
                                      ? mutator.pick(original).section
                                      : mutator.pick(kSections);
      const std::string& key = mutator.pick(kKeys);
      const std::string& value = mutator.pick(kValues);
      const std::string before = doc.serialise();
      ASSERT_TRUE(doc.set(section, key, value));
      ASSERT_EQ(doc.value(section, key), trimBlanks(value));
      ASSERT_NO_FATAL_FAILURE(checkOnlyOneLineChanged(before, doc.serialise()));
      expected[lookupName(section, key)] = std::string(trimBlanks(value));
    }

    const std::string saved = doc.serialise();
    const IniDocument reread = IniDocument::parse(saved);
    ASSERT_NO_FATAL_FAILURE(checkDocument(reread, saved));
    for (const auto& [name, value] : expected) {
      ASSERT_EQ(reread.find(name.first, name.second), value);
    }
  }
}

}  // namespace
}  // namespace quillon::palette
