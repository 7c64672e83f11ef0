// The settings layer on real files: what only the file level does. How lines
// read and change is inidocument_test's.
#include "palette/inifile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "palette/safewrite.h"
#include "testfiles.h"

namespace quillon::palette {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::TempFolder;
using test::writeBytes;

// Lines that are not the program's: every write must keep them as they are.
const std::string kPaletteWithForeignSection =
    "; Morning show\r\n[40]\r\nTITLE=C:\\Other\\kept.mp3\r\n\r\n"
    "[0]\r\nTITLE=C:\\Jingles\\ident.mp3\r\nVOLUME=80\r\n";

class IniFileTest : public ::testing::Test {
 protected:
  TempFolder folder;
};

TEST_F(IniFileTest, ChangesReachTheDiskOnlyOnSaveAndOnlyWhenThereAreAny) {
  const fs::path file = folder / "Config.ini";
  EXPECT_EQ(ReadIni(file, "Favoris", "Nb"), "");
  EXPECT_FALSE(fs::exists(file));
  ASSERT_TRUE(WriteIni(file, "Favoris", "Nb", "0"));  // creates it
  EXPECT_EQ(ReadIni(file, "favoris", "nb"), "0");

  IniFile config = IniFile::load(file);
  ASSERT_TRUE(config.set("Favoris", "Nb", "0"));  // the value it has
  fs::remove(file);
  ASSERT_TRUE(config.save());
  EXPECT_FALSE(fs::exists(file));
  ASSERT_TRUE(config.set("FavorisLink", "1", "/p/Quiz.pal"));
  ASSERT_TRUE(config.set("Favoris", "Nb", "1"));
  EXPECT_FALSE(fs::exists(file));
  ASSERT_TRUE(config.save());
  EXPECT_EQ(readBytes(file), "[Favoris]\nNb=1\n[FavorisLink]\n1=/p/Quiz.pal\n");
  EXPECT_EQ(folder.listing(), "Config.ini");  // no temporary file left behind
}

TEST_F(IniFileTest, WhatIsNoReadableSettingsFileReadsAsEmptyAndIsNeverReplaced) {
  writeBytes(folder / "plain", "keep me");
  fs::create_directory(folder / "folder.ini");
  writeBytes(folder / "folder.ini" / "inside", "data");
  ASSERT_EQ(::mkfifo((folder / "pipe.ini").c_str(), 0600), 0);
  std::string huge = "[0]\nTITLE=a\n";
  huge.resize(kMaxSettingsFileBytes + 1, '\n');
  writeBytes(folder / "huge.ini", huge);
  const std::string utf16("\xFF\xFE[\0F\0]\0\r\0\n\0", 12);
  writeBytes(folder / "utf16.ini", utf16);

  const std::pair<const char*, WriteError> cases[] = {
      {"no such folder/x.ini", WriteError::WriteFailed},
      {"plain/x.ini", WriteError::WriteFailed},  // a file where the folder should be
      {"folder.ini", WriteError::UnreadableFile},
      {"pipe.ini", WriteError::UnreadableFile},
      {"huge.ini", WriteError::UnreadableFile},  // too large to be ours
      {"utf16.ini", WriteError::UnreadableFile},
  };
  for (const auto& [name, error] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(IniFile::load(folder / name).value("0", "TITLE"), "");  // a pipe is not waited on
    EXPECT_EQ(WriteIni(folder / name, "0", "TITLE", "b").error(), error);
  }
  EXPECT_FALSE(replaceFileContents(folder / "folder.ini", "[0]\n"));
  EXPECT_EQ(folder.listing(), "folder.ini huge.ini pipe.ini plain utf16.ini");
  EXPECT_EQ(readBytes(folder / "plain"), "keep me");
  EXPECT_EQ(readBytes(folder / "folder.ini" / "inside"), "data");
  EXPECT_TRUE(fs::is_fifo(folder / "pipe.ini"));
  EXPECT_EQ(readBytes(folder / "huge.ini"), huge);
  EXPECT_EQ(readBytes(folder / "utf16.ini"), utf16);

  huge.resize(kMaxSettingsFileBytes);  // just within the bound: an ordinary file
  writeBytes(folder / "huge.ini", huge);
  EXPECT_EQ(ReadIni(folder / "huge.ini", "0", "TITLE"), "a");
}

TEST_F(IniFileTest, TheFileKeepsItsPermissionsAndItsLinks) {
  const fs::path real = folder / "real.pal";
  writeBytes(real, "[0]\nTITLE=a\n");
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
  fs::create_symlink("real.pal", folder / "link.pal");
  ASSERT_TRUE(WriteIni(folder / "link.pal", "0", "TITLE", "b"));
  EXPECT_TRUE(fs::is_symlink(folder / "link.pal"));
  EXPECT_EQ(readBytes(real), "[0]\nTITLE=b\n");
  struct stat info {};
  ASSERT_EQ(::stat(real.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);

  // Both names of a hard-linked file see the write.
  fs::create_hard_link(real, folder / "hard.pal");
  ASSERT_TRUE(WriteIni(real, "0", "TITLE", "c"));
  EXPECT_EQ(readBytes(folder / "hard.pal"), "[0]\nTITLE=c\n");
}

TEST_F(IniFileTest, AReadOnlyFileMakesAWriteFailWithoutDamage) {
  struct Case {
    const char* label;
    mode_t folderMode;
    bool userOwnsTheFile;  // so the folder's permission alone would allow a rename
  };
  const Case cases[] = {{"in a read-only folder", 0555, false},
                        {"of the user's own, in a writable folder", 0777, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    TempFolder place;
    const fs::path file = place / "locked.pal";
    writeBytes(file, kPaletteWithForeignSection);
    if (c.userOwnsTheFile && ::geteuid() == 0) {
      ASSERT_EQ(::chown(file.c_str(), test::kNobody, test::kNobody), 0);
    }
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    ASSERT_EQ(::chmod(place.path().c_str(), c.folderMode), 0);
    const auto outcome = test::runUnprivileged([&] {
      const WriteResult result = WriteIni(file, "0", "VOLUME", "10");
      return !result && result.error() == WriteError::WriteFailed ? 0 : 1;
    });
    if (!outcome) GTEST_SKIP() << "cannot run as an ordinary user here";
    EXPECT_EQ(*outcome, 0);
    EXPECT_EQ(readBytes(file), kPaletteWithForeignSection);
    EXPECT_EQ(place.listing(), "locked.pal");
  }
}

// Growing, growing again and shrinking, each in place.
TEST_F(IniFileTest, AWritableFileInAReadOnlyFolderIsRewrittenInPlace) {
  const fs::path file = folder / "Config.ini";
  writeBytes(file, "[Favoris]\nNb=3\n");
  ASSERT_EQ(::chmod(file.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
  struct stat before {};
  ASSERT_EQ(::stat(file.c_str(), &before), 0);
  const auto outcome = test::runUnprivileged([&] {
    return WriteIni(file, "Favoris", "Nb", "12") && WriteIni(file, "FavorisLink", "1", "/p.pal") &&
                   WriteIni(file, "Favoris", "Nb", "1")
               ? 0
               : 1;
  });
  if (!outcome) GTEST_SKIP() << "cannot run as an ordinary user here";
  EXPECT_EQ(*outcome, 0);
  EXPECT_EQ(readBytes(file), "[Favoris]\nNb=1\n[FavorisLink]\n1=/p.pal\n");
  struct stat after {};
  ASSERT_EQ(::stat(file.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);  // the same file, not a replacement
  EXPECT_EQ(folder.listing(), "Config.ini");
}

TEST_F(IniFileTest, AFullDiskLeavesTheOldFileWhole) {
  const fs::path file = folder / "morning.pal";
  writeBytes(file, kPaletteWithForeignSection);
  const std::string bigger = kPaletteWithForeignSection + std::string(20000, ';') + "\r\n";

  const auto replaced = test::withFileSizeLimit(4096, [&] {
    const WriteResult result = replaceFileContents(file, bigger);
    return !result && result.error() == WriteError::WriteFailed ? 0 : 1;
  });
  ASSERT_TRUE(replaced.has_value());
  EXPECT_EQ(*replaced, 0);
  EXPECT_EQ(readBytes(file), kPaletteWithForeignSection);
  EXPECT_EQ(folder.listing(), "morning.pal");

  const auto inPlace =
      test::withFileSizeLimit(4096, [&] { return rewriteInPlace(file, bigger) ? 1 : 0; });
  ASSERT_TRUE(inPlace.has_value());
  EXPECT_EQ(*inPlace, 0);
  EXPECT_EQ(readBytes(file), kPaletteWithForeignSection);
}

}  // namespace
}  // namespace quillon::palette
