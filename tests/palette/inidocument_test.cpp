#include "palette/inidocument.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon::palette {
namespace {

using namespace std::string_literals;

TEST(IniDocumentBytes, AnUnchangedDocumentGivesBackItsBytes) {
  const std::string files[] = {
      "",
      "[0]\r\nTITLE=a\r\n",
      "[0]\nTITLE=a",                    // no final line end
      "[0]\rTITLE=a\r\r\n\n",            // lone CR, mixed ends
      "\xEF\xBB\xBF[0]\nTITLE=a\n",      // byte-order mark
      "[0]\nTITLE=a\0b\n\0\0\n"s,        // NUL bytes
      "[Caf\xE9]\nT\xEAte=\xE9t\xE9\n",  // Windows-1252
      "\n\n\n  \t\n;comment\n[",
      "=\n==\n[]\n[ ]\n]\n[0\nTITLE\n",
  };
  for (const auto& bytes : files) {
    const IniDocument doc = IniDocument::parse(bytes);
    EXPECT_EQ(doc.serialise(), bytes);
    EXPECT_FALSE(doc.modified());
  }
}

TEST(IniDocumentLookup, NamesIgnoreBlanksAndLetterCase) {
  const IniDocument doc = IniDocument::parse(
      "[ 0]\n"
      " TITLE = C:\\Jingles\\ident.mp3 \n"
      "LOOP= 1\n"
      "\tfadein\t=\t0\t\n"
      "[favoris]\n"
      "nb=2\n");
  EXPECT_EQ(doc.value("0", "TITLE"), "C:\\Jingles\\ident.mp3");
  EXPECT_EQ(doc.value(" 0", "LOOP"), "1");
  EXPECT_EQ(doc.value("0", "FADEIN"), "0");
  EXPECT_EQ(doc.value("0", "title"), "C:\\Jingles\\ident.mp3");
  EXPECT_EQ(doc.value("Favoris", "Nb"), "2");
  EXPECT_EQ(doc.value("FAVORIS", " NB "), "2");
}

TEST(IniDocumentLookup, MissingThingsReadAsEmpty) {
  const IniDocument doc = IniDocument::parse("[0]\nTITLE=\nVOLUME=80\n");
  EXPECT_EQ(doc.find("0", "TITLE"), std::optional<std::string>(""));
  EXPECT_EQ(doc.find("0", "LOOP"), std::nullopt);
  EXPECT_EQ(doc.find("1", "TITLE"), std::nullopt);
  EXPECT_EQ(doc.value("1", "TITLE"), "");
  EXPECT_EQ(IniDocument().value("0", "TITLE"), "");
}

TEST(IniDocumentLookup, ValuesComeBackWholeUpToTheBound) {
  const std::string title = "C:\\" + std::string(400, 'j') + ".mp3";
  IniDocument doc;
  ASSERT_TRUE(doc.set("0", "TITLE", title));
  EXPECT_EQ(IniDocument::parse(doc.serialise()).value("0", "TITLE"), title);

  const std::string huge(kMaxValueBytes + 100, 'y');
  EXPECT_EQ(IniDocument::parse("[0]\nTITLE=" + huge).value("0", "TITLE").size(), kMaxValueBytes);
}

TEST(IniDocumentLookup, TheFirstOfDuplicateSectionsAndKeysCounts) {
  const IniDocument doc = IniDocument::parse(
      "[0]\nTITLE=first\nTITLE=second\n"
      "[0]\nTITLE=third\nVOLUME=50\n");
  EXPECT_EQ(doc.value("0", "TITLE"), "first");
  // The duplicate section is ignored as a whole, as the Windows functions do.
  EXPECT_EQ(doc.find("0", "VOLUME"), std::nullopt);
}

TEST(IniDocumentLookup, MalformedLinesAreNeverRead) {
  const IniDocument doc = IniDocument::parse(
      "TITLE=before any section\n"
      "[0]\n"
      ";VOLUME=10\n"
      "LOOP=a\0b\n"s
      "FADEIN\n"
      "=5\n"
      "FADEOUT=1\n"
      "[1\n"
      "VOLUME=66\n"
      "[2]\n"
      "TITLE=two\n");
  EXPECT_EQ(doc.find("0", "TITLE"), std::nullopt);   // keys before any section
  EXPECT_EQ(doc.find("0", "VOLUME"), std::nullopt);  // comment
  EXPECT_EQ(doc.find("0", "LOOP"), std::nullopt);    // NUL byte
  EXPECT_EQ(doc.find("0", "FADEIN"), std::nullopt);  // no equals sign
  EXPECT_EQ(doc.value("0", "FADEOUT"), "1");
  // A section line without its bracket ends section 0: its keys are not 0's.
  EXPECT_EQ(doc.find("0", "VOLUME"), std::nullopt);
  EXPECT_EQ(doc.find("1", "VOLUME"), std::nullopt);
  EXPECT_EQ(doc.value("2", "TITLE"), "two");
}

TEST(IniDocumentLookup, EveryKindOfLineEndEndsALine) {
  EXPECT_EQ(IniDocument::parse("[0]\rTITLE=a\rVOLUME=5").value("0", "VOLUME"), "5");
  EXPECT_EQ(IniDocument::parse("[0]\r\nTITLE=a\r\n").value("0", "TITLE"), "a");
  EXPECT_EQ(IniDocument::parse("[0]\n\r\nTITLE=a\r\r").value("0", "TITLE"), "a");
}

TEST(IniDocumentEncoding, Windows1252LinesReachTheCallerAsUtf8) {
  const IniDocument doc = IniDocument::parse(
      "[Caf\xE9]\n"
      "TITLE=C:\\Jingles\\G\xE9n\xE9rique \x80.mp3\n"
      "[0]\n"
      "TITLE=C:\\Jingles\\G\xC3\xA9n\xC3\xA9rique.mp3\n");
  EXPECT_EQ(doc.value("Caf\xC3\xA9", "TITLE"),
            "C:\\Jingles\\G\xC3\xA9n\xC3\xA9rique \xE2\x82\xAC.mp3");
  EXPECT_EQ(doc.value("0", "TITLE"), "C:\\Jingles\\G\xC3\xA9n\xC3\xA9rique.mp3");
}

TEST(IniDocumentEncoding, AByteOrderMarkIsSkippedAndKept) {
  IniDocument doc = IniDocument::parse("\xEF\xBB\xBF[0]\nTITLE=a\n");
  EXPECT_EQ(doc.value("0", "TITLE"), "a");
  ASSERT_TRUE(doc.set("0", "VOLUME", "80"));
  EXPECT_EQ(doc.serialise(), "\xEF\xBB\xBF[0]\nTITLE=a\nVOLUME=80\n");
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
      {"new file", "", " 0", "LOOP", " 1", "[0]\nLOOP=1\n"},
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
      {"the first of duplicates is changed", "[0]\nA=1\nA=2\n[0]\nA=3\n", "0", "a", "9",
       "[0]\nA=9\nA=2\n[0]\nA=3\n"},
      {"a key only in a duplicate section goes to the first", "[0]\nA=1\n[0]\nB=2\n", "0", "B", "5",
       "[0]\nA=1\nB=5\n[0]\nB=2\n"},
      {"keys before any section are not the section's", "TITLE=x\n", "0", "TITLE", "y",
       "TITLE=x\n[0]\nTITLE=y\n"},
      {"byte-order mark only", "\xEF\xBB\xBF", "0", "A", "1", "\xEF\xBB\xBF[0]\nA=1\n"},
  };
  for (const auto& c : cases) {
    IniDocument doc = IniDocument::parse(c.before);
    const WriteResult result = doc.set(c.section, c.key, c.value);
    ASSERT_TRUE(result) << c.label << ": " << result.message();
    EXPECT_TRUE(doc.modified()) << c.label;
    EXPECT_EQ(doc.serialise(), c.after) << c.label;
    EXPECT_EQ(IniDocument::parse(doc.serialise()).value(c.section, c.key),
              std::string(trimBlanks(c.value)))
        << c.label;
  }
}

TEST(IniDocumentEdit, StoringTheSameValueChangesNothing) {
  const std::string before = "[0]\n TITLE = a \n";
  IniDocument doc = IniDocument::parse(before);
  ASSERT_TRUE(doc.set("0", "title", "a"));
  EXPECT_FALSE(doc.modified());
  EXPECT_EQ(doc.serialise(), before);
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
    IniDocument doc = IniDocument::parse("[0]\nA=0\n");
    const WriteResult result = doc.set(c.section, c.key, c.value);
    EXPECT_FALSE(result) << c.label;
    EXPECT_EQ(result.error(), c.error) << c.label;
    EXPECT_FALSE(result.message().empty()) << c.label;
    EXPECT_FALSE(doc.modified()) << c.label;
    EXPECT_EQ(doc.serialise(), "[0]\nA=0\n") << c.label;
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
