#include "palette/inidocument.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon::palette {
namespace {

using namespace std::string_literals;

// Whatever the bytes, an unchanged document gives them back: inifuzz_test.

struct LookupCase {
  const char* label;
  std::string bytes;
  const char* section;
  const char* key;
  std::optional<std::string> expected;  // nothing: not found
};

TEST(IniDocumentLookup, FindsWhatTheFileSaysAndNothingElse) {
  const std::string huge(kMaxValueBytes + 100, 'y');
  const std::string duplicates = "[0]\nT=first\nT=second\n[0]\nT=third\nV=50\n";
  const LookupCase cases[] = {
      {"blanks around names and value", "[ 0]\n TITLE = C:\\j\\a b.mp3 \n", "0", "TITLE",
       "C:\\j\\a b.mp3"},
      {"tabs, and no letter case", "[favoris]\n\tnb\t=\t2\t\n", " FAVORIS", "Nb ", "2"},
      {"an empty value", "[0]\nTITLE=\n", "0", "TITLE", ""},
      {"a missing key", "[0]\nTITLE=\n", "0", "LOOP", std::nullopt},
      {"the first of duplicate keys", duplicates, "0", "T", "first"},
      {"a duplicate section is ignored whole", duplicates, "0", "V", std::nullopt},
      {"a comment", "[0]\n;VOLUME=10\n", "0", ";VOLUME", std::nullopt},
      {"a NUL byte", "[0]\nLOOP=a\0b\n"s, "0", "LOOP", std::nullopt},
      {"an unclosed section line ends the one above", "[0]\n[1\nV=66\n", "0", "V", std::nullopt},
      {"and opens none", "[0]\n[1\nV=66\n", "1", "V", std::nullopt},
      {"lone CR", "[0]\rTITLE=a\rVOLUME=5", "0", "VOLUME", "5"},
      {"CR LF", "[0]\r\nTITLE=a\r\n", "0", "TITLE", "a"},
      {"a byte-order mark", "\xEF\xBB\xBF[0]\nTITLE=a\n", "0", "TITLE", "a"},
      {"a Windows-1252 line", "[Caf\xE9]\nTITLE=G\xE9n \x80.mp3\n", "Caf\xC3\xA9", "TITLE",
       "G\xC3\xA9n \xE2\x82\xAC.mp3"},
      {"a UTF-8 line", "[0]\nTITLE=G\xC3\xA9n.mp3\n", "0", "TITLE", "G\xC3\xA9n.mp3"},
      {"one stray byte makes all the line Windows-1252", "[0]\nT=\xC3\xA9\xE9\n", "0", "T",
       "\xC3\x83\xC2\xA9\xC3\xA9"},
      {"a long value whole", "[0]\nTITLE=" + std::string(400, 'j'), "0", "TITLE",
       std::string(400, 'j')},
      {"a value beyond the bound cut", "[0]\nTITLE=" + huge, "0", "TITLE",
       huge.substr(0, kMaxValueBytes)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const IniDocument doc = IniDocument::parse(c.bytes);
    EXPECT_EQ(doc.find(c.section, c.key), c.expected);
    EXPECT_EQ(doc.value(c.section, c.key), c.expected.value_or(""));
  }
}

struct EditCase {
  const char* label;
  std::string before;
  const char* section;
  const char* key;
  const char* value;
  std::string after;
};

TEST(IniDocumentEdit, ChangesOnlyTheLineItMust) {
  const EditCase cases[] = {
      {"value replaced where it is, CR LF kept",
       "; my palette\r\n[0]\r\nTITLE=a\r\nVOLUME=100\r\nLOOP=0\r\n", "0", "VOLUME", "80",
       "; my palette\r\n[0]\r\nTITLE=a\r\nVOLUME=80\r\nLOOP=0\r\n"},
      {"key added after the section's last key, before its trailing lines",
       "[0]\nTITLE=a\n\n; cart B\n[1]\nTITLE=b\n", "0", "VOLUME", "75",
       "[0]\nTITLE=a\nVOLUME=75\n\n; cart B\n[1]\nTITLE=b\n"},
      {"key added to a section with no keys", "[0]\n\n[1]\n", "0", "TITLE", "x",
       "[0]\nTITLE=x\n\n[1]\n"},
      {"section added at the end with the file's CR LF", "[40]\r\nX=1\r\n", "0", "TITLE", "a",
       "[40]\r\nX=1\r\n[0]\r\nTITLE=a\r\n"},
      {"a last line without its end gets one", "[40]\nX=1", "0", "TITLE", "a",
       "[40]\nX=1\n[0]\nTITLE=a\n"},
      {"lone CR file", "[0]\rTITLE=a\r", "0", "LOOP", "1", "[0]\rTITLE=a\rLOOP=1\r"},
      {"the file's spelling of the key is kept", "[0]\n  title = old  \n", "0", "TITLE", "new",
       "[0]\ntitle=new\n"},
      {"a replaced Windows-1252 line becomes UTF-8", "[0]\nT\xCAte=x\nTITLE=C:\\\xE9t\xE9.mp3\n",
       "0", "T\xC3\x8Ate", "y", "[0]\nT\xC3\x8Ate=y\nTITLE=C:\\\xE9t\xE9.mp3\n"},
      {"a key only in a duplicate section goes to the first", "[0]\nA=1\n[0]\nB=2\n", "0", "B", "5",
       "[0]\nA=1\nB=5\n[0]\nB=2\n"},
      {"keys before any section are not the section's", "TITLE=x\n", "0", "TITLE", "y",
       "TITLE=x\n[0]\nTITLE=y\n"},
      {"byte-order mark only", "\xEF\xBB\xBF", "0", "A", "1", "\xEF\xBB\xBF[0]\nA=1\n"},
      {"storing the value a key has changes nothing", "[0]\n TITLE = a \n", "0", "title", "a",
       "[0]\n TITLE = a \n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    IniDocument doc = IniDocument::parse(c.before);
    ASSERT_TRUE(doc.set(c.section, c.key, c.value));
    EXPECT_EQ(doc.modified(), c.after != c.before);
    EXPECT_EQ(doc.serialise(), c.after);
    EXPECT_EQ(IniDocument::parse(c.after).value(c.section, c.key), trimBlanks(c.value));
  }
}

struct RefusedCase {
  const char* label;
  std::string section;
  std::string key;
  std::string value;
  WriteError error;
};

TEST(IniDocumentEdit, RefusesWhatCouldNotBeReadBackTheSame) {
  const RefusedCase cases[] = {
      {"empty section", "  ", "A", "1", WriteError::InvalidName},
      {"bracket in section", "a]b", "A", "1", WriteError::InvalidName},
      {"line break in section", "a\nb", "A", "1", WriteError::InvalidName},
      {"empty key", "0", "", "1", WriteError::InvalidName},
      {"equals in key", "0", "a=b", "1", WriteError::InvalidName},
      {"key read as a section", "0", "[x]", "1", WriteError::InvalidName},
      {"key read as a comment", "0", ";x", "1", WriteError::InvalidName},
      {"invalid UTF-8 key", "0", "\xE9", "1", WriteError::InvalidName},
      {"line break in value", "0", "A", "a\nb", WriteError::InvalidValue},
      {"CR in value", "0", "A", "a\rb", WriteError::InvalidValue},
      {"NUL in value", "0", "A", "a\0b"s, WriteError::InvalidValue},
      {"invalid UTF-8 value", "0", "A", "Caf\xE9", WriteError::InvalidValue},
      {"value beyond the bound", "0", "A", std::string(kMaxValueBytes + 1, 'v'),
       WriteError::InvalidValue},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    IniDocument doc = IniDocument::parse("[0]\nA=0\n");
    const WriteResult result = doc.set(c.section, c.key, c.value);
    EXPECT_EQ(result.error(), c.error);
    EXPECT_FALSE(result.message().empty());
    EXPECT_FALSE(doc.modified());
    EXPECT_EQ(doc.serialise(), "[0]\nA=0\n");
  }
}

TEST(IniDocumentEntries, ListsWhatCanBeReadInFileOrder) {
  const IniDocument doc =
      IniDocument::parse("X=0\n[b]\nk=1\nK=2\n[a]\nz= 3 \n[B]\nk=4\nm=5\n[\nq=6\n");
  const auto entries = doc.entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].section + entries[0].key + entries[0].value, "bk1");
  EXPECT_EQ(entries[1].section + entries[1].key + entries[1].value, "az3");
}

}  // namespace
}  // namespace quillon::palette
