#include "palette/inifile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "palette/childprocess.h"
#include "palette/safewrite.h"
#include "palette/tempfolder.h"

namespace quillon::palette {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::TempFolder;
using test::writeBytes;

// Lines that are not the program's: every write must keep them as they are.
const std::string kForeignLines =
    "; Morning show\r\n"
    "[40]\r\n"
    "TITLE=C:\\Other\\kept.mp3\r\n"
    "\r\n";
const std::string kPaletteWithForeignSection =
    kForeignLines + "[0]\r\nTITLE=C:\\Jingles\\ident.mp3\r\nVOLUME=80\r\n";

class IniFileTest : public ::testing::Test {
 protected:
  TempFolder folder;
};

TEST_F(IniFileTest, AMissingFileReadsAsEmptyAndIsCreatedByTheFirstWrite) {
  const fs::path file = folder / "new.pal";
  EXPECT_EQ(ReadIni(file, "0", "TITLE"), "");
  EXPECT_FALSE(fs::exists(file));

  ASSERT_TRUE(WriteIni(file, " 0", "TITLE", "C:\\a.mp3"));
  ASSERT_TRUE(WriteIni(file, " 0", "LOOP", " 1"));
  EXPECT_EQ(readBytes(file), "[0]\nTITLE=C:\\a.mp3\nLOOP=1\n");
  EXPECT_EQ(ReadIni(file, "0", "loop"), "1");
  EXPECT_EQ(folder.listing(), "new.pal");  // no temporary file left behind
}

TEST_F(IniFileTest, ManyChangesAreOneWrite) {
  const fs::path file = folder / "Config.ini";
  writeBytes(file, "[FirstExec]\nValue=1\n");
  IniFile config = IniFile::load(file);
  ASSERT_TRUE(config.set("FavorisLink", "1", "/home/studio/Morning show.pal"));
  ASSERT_TRUE(config.set("FavorisLink", "2", "/home/studio/Quiz.pal"));
  ASSERT_TRUE(config.set("Favoris", "Nb", "2"));
  EXPECT_EQ(readBytes(file), "[FirstExec]\nValue=1\n");  // nothing written yet
  ASSERT_TRUE(config.save());
  EXPECT_EQ(readBytes(file),
            "[FirstExec]\nValue=1\n"
            "[FavorisLink]\n1=/home/studio/Morning show.pal\n2=/home/studio/Quiz.pal\n"
            "[Favoris]\nNb=2\n");
  EXPECT_EQ(config.value("favoris", "nb"), "2");
}

TEST_F(IniFileTest, SavingWithoutChangesWritesNothing) {
  const fs::path file = folder / "Config.ini";
  writeBytes(file, "[Favoris]\nNb=0\n");
  IniFile config = IniFile::load(file);
  ASSERT_TRUE(config.set("Favoris", "Nb", "0"));
  fs::remove(file);
  ASSERT_TRUE(config.save());
  EXPECT_FALSE(fs::exists(file));
}

TEST_F(IniFileTest, AMissingFolderMakesAWriteFail) {
  const fs::path file = folder / "no such folder" / "x.pal";
  const WriteResult result = WriteIni(file, "0", "TITLE", "a");
  EXPECT_FALSE(result);
  EXPECT_EQ(result.error(), WriteError::WriteFailed);
  EXPECT_FALSE(fs::exists(file.parent_path()));
  EXPECT_EQ(folder.listing(), "");
}

TEST_F(IniFileTest, AFileInPlaceOfTheFolderMakesAWriteFail) {
  const fs::path notAFolder = folder / "plain";
  writeBytes(notAFolder, "keep me");
  EXPECT_EQ(ReadIni(notAFolder / "x.pal", "0", "TITLE"), "");
  EXPECT_FALSE(WriteIni(notAFolder / "x.pal", "0", "TITLE", "a"));
  EXPECT_EQ(readBytes(notAFolder), "keep me");
  EXPECT_EQ(folder.listing(), "plain");
}

TEST_F(IniFileTest, AFolderInPlaceOfTheFileReadsAsEmptyAndIsNotReplaced) {
  const fs::path file = folder / "x.pal";
  fs::create_directory(file);
  writeBytes(file / "inside", "data");
  EXPECT_EQ(ReadIni(file, "0", "TITLE"), "");
  const WriteResult result = WriteIni(file, "0", "TITLE", "a");
  EXPECT_FALSE(result);
  EXPECT_EQ(result.error(), WriteError::UnreadableFile);
  EXPECT_EQ(readBytes(file / "inside"), "data");
  EXPECT_FALSE(replaceFileContents(file, "[0]\n"));
  EXPECT_TRUE(fs::is_directory(file));
}

TEST_F(IniFileTest, APipeIsNeitherWaitedOnNorReplaced) {
  const fs::path pipe = folder / "x.pal";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(ReadIni(pipe, "0", "TITLE"), "");  // returns at once: no writer needed
  EXPECT_FALSE(WriteIni(pipe, "0", "TITLE", "a"));
  EXPECT_TRUE(fs::is_fifo(pipe));
}

TEST_F(IniFileTest, AFileTooLargeToBeOursIsNeitherReadNorRewritten) {
  const fs::path file = folder / "huge.pal";
  std::string bytes = "[0]\nTITLE=a\n";
  bytes.resize(kMaxSettingsFileBytes + 1, '\n');
  writeBytes(file, bytes);
  const IniFile loaded = IniFile::load(file);
  EXPECT_EQ(loaded.state(), FileState::Unreadable);
  EXPECT_EQ(loaded.value("0", "TITLE"), "");
  const WriteResult result = WriteIni(file, "0", "TITLE", "b");
  EXPECT_EQ(result.error(), WriteError::UnreadableFile);
  EXPECT_EQ(fs::file_size(file), bytes.size());

  // Just within the bound it is an ordinary file.
  bytes.resize(kMaxSettingsFileBytes);
  writeBytes(file, bytes);
  EXPECT_EQ(ReadIni(file, "0", "TITLE"), "a");
}

TEST_F(IniFileTest, Utf16TextIsNotMistakenForOurs) {
  const fs::path file = folder / "unicode.ini";
  const std::string utf16("\xFF\xFE[\0F\0]\0\r\0\n\0", 12);
  writeBytes(file, utf16);
  EXPECT_EQ(IniFile::load(file).state(), FileState::Unreadable);
  EXPECT_FALSE(WriteIni(file, "F", "Nb", "1"));
  EXPECT_EQ(readBytes(file), utf16);
}

TEST_F(IniFileTest, TheFileKeepsItsPermissionsAndItsLinks) {
  const fs::path real = folder / "real.pal";
  const fs::path link = folder / "link.pal";
  writeBytes(real, "[0]\nTITLE=a\n");
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
  fs::create_symlink("real.pal", link);

  ASSERT_TRUE(WriteIni(link, "0", "TITLE", "b"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(readBytes(real), "[0]\nTITLE=b\n");
  struct stat info {};
  ASSERT_EQ(::stat(real.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);

  // Both names of a hard-linked file see the write.
  const fs::path second = folder / "hard.pal";
  fs::create_hard_link(real, second);
  ASSERT_TRUE(WriteIni(real, "0", "TITLE", "c"));
  EXPECT_EQ(readBytes(second), "[0]\nTITLE=c\n");
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
    EXPECT_EQ(*outcome, 0) << c.label;
    EXPECT_EQ(readBytes(file), kPaletteWithForeignSection) << c.label;
    EXPECT_EQ(place.listing(), "locked.pal") << c.label;
  }
}

TEST_F(IniFileTest, AWritableFileInAReadOnlyFolderIsRewrittenInPlace) {
  const fs::path file = folder / "Config.ini";
  writeBytes(file, "[Favoris]\nNb=3\n");
  ASSERT_EQ(::chmod(file.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
  struct stat before {};
  ASSERT_EQ(::stat(file.c_str(), &before), 0);
  const auto outcome = test::runUnprivileged([&] {
    if (!WriteIni(file, "Favoris", "Nb", "12")) return 1;  // grows
    return WriteIni(file, "FavorisLink", "1", "/p.pal") && WriteIni(file, "Favoris", "Nb", "1") ? 0
                                                                                                : 2;
  });
  if (!outcome) GTEST_SKIP() << "cannot run as an ordinary user here";
  EXPECT_EQ(*outcome, 0);
  EXPECT_EQ(readBytes(file), "[Favoris]\nNb=1\n[FavorisLink]\n1=/p.pal\n");
  struct stat after {};
  ASSERT_EQ(::stat(file.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);  // the same file, not a replacement
  EXPECT_EQ(folder.listing(), "Config.ini");
}

// A full disk, simulated by a file-size limit in a child process.
std::optional<int> withFileSizeLimit(rlim_t bytes, const std::function<int()>& body) {
  return test::runInChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);  // a refused write then fails with EFBIG
    const rlimit limit{bytes, bytes};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 254;
    return body();
  });
}

TEST_F(IniFileTest, AFullDiskLeavesTheOldFileWhole) {
  const fs::path file = folder / "morning.pal";
  writeBytes(file, kPaletteWithForeignSection);
  const std::string bigger = kPaletteWithForeignSection + std::string(20000, ';') + "\r\n";

  const auto replaced = withFileSizeLimit(4096, [&] {
    const WriteResult result = replaceFileContents(file, bigger);
    return !result && result.error() == WriteError::WriteFailed ? 0 : 1;
  });
  ASSERT_TRUE(replaced.has_value());
  EXPECT_EQ(*replaced, 0);
  EXPECT_EQ(readBytes(file), kPaletteWithForeignSection);
  EXPECT_EQ(folder.listing(), "morning.pal");

  const auto inPlace =
      withFileSizeLimit(4096, [&] { return rewriteInPlace(file, bigger) ? 1 : 0; });
  ASSERT_TRUE(inPlace.has_value());
  EXPECT_EQ(*inPlace, 0);
  EXPECT_EQ(readBytes(file), kPaletteWithForeignSection);
}

TEST_F(IniFileTest, RewritingInPlaceGrowsAndShrinksExactly) {
  const fs::path file = folder / "x.ini";
  writeBytes(file, "[a]\nk=1\n");
  ASSERT_TRUE(rewriteInPlace(file, "[a]\nk=1\n[b]\nlonger=yes\n"));
  EXPECT_EQ(readBytes(file), "[a]\nk=1\n[b]\nlonger=yes\n");
  ASSERT_TRUE(rewriteInPlace(file, "[z]\n"));
  EXPECT_EQ(readBytes(file), "[z]\n");
  EXPECT_FALSE(rewriteInPlace(folder / "missing.ini", "x"));
  EXPECT_FALSE(fs::exists(folder / "missing.ini"));
}

}  // namespace
}  // namespace quillon::palette
