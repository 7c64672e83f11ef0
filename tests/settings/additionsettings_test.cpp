// Quillon.ini: defaults for what is missing or garbled, the first-start file,
// and an operator's file never overwritten.
#include "settings/additionsettings.h"

#include <gtest/gtest.h>

#include "palette/testfiles.h"

namespace quillon::settings::test {
namespace {

using palette::IniFile;
using palette::test::TempFolder;
using palette::test::readBytes;
using palette::test::writeBytes;

AdditionSettings settingsOf(const TempFolder& folder, std::string_view bytes) {
  writeBytes(folder / "Quillon.ini", bytes);
  return readAdditionSettings(IniFile::load(folder / "Quillon.ini"));
}

TEST(AdditionSettings, LivesBesideConfigIni) {
  EXPECT_EQ(additionsIniPath("/home/op/.config/quillon/Config.ini"),
            "/home/op/.config/quillon/Quillon.ini");
}

TEST(AdditionSettings, FirstStartWritesTheDefaultsOnceAndNeverAgain) {
  TempFolder folder;
  const auto path = folder / "Quillon.ini";
  ASSERT_TRUE(createAdditionsFileIfMissing(path));
  // Every default is spelled out in the file, not merely implied.
  const IniFile file = IniFile::load(path);
  EXPECT_EQ(file.value("Panic", "Enabled"), "1");
  EXPECT_EQ(file.value("EndWarning", "Seconds"), "5");
  EXPECT_EQ(file.value("Keys", "Instant"), "0");
  EXPECT_EQ(file.value("Display", "Remaining"), "0");

  writeBytes(path, "[Panic]\nEnabled=0\n");
  ASSERT_TRUE(createAdditionsFileIfMissing(path));
  EXPECT_EQ(readBytes(path), "[Panic]\nEnabled=0\n");

  std::filesystem::create_directory(folder / "folder.ini");
  EXPECT_TRUE(createAdditionsFileIfMissing(folder / "folder.ini"));
  EXPECT_TRUE(std::filesystem::is_directory(folder / "folder.ini"));

  EXPECT_FALSE(createAdditionsFileIfMissing(folder / "no such folder" / "Quillon.ini"));
}

TEST(AdditionSettings, FlagsInEveryUsualSpellingAndGarbageFallsBack) {
  TempFolder folder;
  const struct {
    const char* text;
    bool enabled;
  } cases[] = {{"0", false},   {"1", true},        {"off", false}, {"ON", true}, {"No", false},
               {"yes", true},  {"FALSE", false},   {"true", true}, {"2", true},  {"", true},
               {"nope", true}, {"0 ; off", false}, {"0;x", true}};
  for (const auto& c : cases) {
    const std::string file = std::string("[panic]\nenabled = ") + c.text + "\n";
    EXPECT_EQ(settingsOf(folder, file).panic.enabled, c.enabled) << c.text;
  }
}

TEST(AdditionSettings, SecondsOutsideTheirRangeOrNotANumberGiveTheDefault) {
  TempFolder folder;
  const struct {
    const char* text;
    int seconds;
  } cases[] = {{"1", 1},   {"60", 60}, {"+12", 12}, {"0", 5},           {"61", 5}, {"-3", 5},
               {"3.5", 5}, {"7s", 5},  {"", 5},     {"99999999999", 5}, {"x", 5}};
  for (const auto& c : cases) {
    const std::string file = std::string("[EndWarning]\nSeconds=") + c.text + "\n";
    EXPECT_EQ(settingsOf(folder, file).endWarning.seconds, c.seconds) << c.text;
  }
  EXPECT_EQ(settingsOf(folder, std::string("\0\xff garbage", 10)).endWarning.seconds, 5);
}

// Instant keys and the countdown change what the operator is used to: off
// unless switched on.
TEST(AdditionSettings, InstantKeysAndTheCountdownAreOffUnlessSwitchedOn) {
  TempFolder folder;
  const AdditionSettings none = settingsOf(folder, "");
  EXPECT_FALSE(none.keys.instant);
  EXPECT_FALSE(none.display.remaining);
  const AdditionSettings on = settingsOf(folder, "[Keys]\nInstant=1\n[Display]\nRemaining=yes\n");
  EXPECT_TRUE(on.keys.instant);
  EXPECT_TRUE(on.display.remaining);
  EXPECT_FALSE(settingsOf(folder, "[Keys]\nInstant=maybe\n").keys.instant);
  // The first-start file leaves both off.
  const AdditionSettings firstStart = settingsOf(folder, defaultAdditionsFile());
  EXPECT_FALSE(firstStart.keys.instant);
  EXPECT_FALSE(firstStart.display.remaining);
}

TEST(AdditionSettings, TheAsRunLogIsOnUnlessSwitchedOffAndKeepsItsFolderAsWritten) {
  TempFolder folder;
  const AdditionSettings none = settingsOf(folder, "");
  EXPECT_TRUE(none.asRun.enabled);
  EXPECT_EQ(none.asRun.folder, "");
  EXPECT_FALSE(settingsOf(folder, "[AsRun]\nEnabled=0\n").asRun.enabled);
  const AdditionSettings shared =
      settingsOf(folder, "[AsRun]\nEnabled=on\nFolder=/srv/reports/studio 2, as-run   ; shared\n");
  EXPECT_TRUE(shared.asRun.enabled);
  EXPECT_EQ(shared.asRun.folder, "/srv/reports/studio 2, as-run");
  const AdditionSettings firstStart = settingsOf(folder, defaultAdditionsFile());
  EXPECT_TRUE(firstStart.asRun.enabled);
  EXPECT_EQ(firstStart.asRun.folder, "");
}

TEST(AdditionSettings, PreListenIsOffUntilADeviceIsNamed) {
  TempFolder folder;
  EXPECT_EQ(settingsOf(folder, defaultAdditionsFile()).preListen.device, "");
  EXPECT_EQ(settingsOf(folder, "[PreListen]\nDevice=system:playback_3+4   ; headphones\n")
                .preListen.device,
            "system:playback_3+4");
}

TEST(AdditionSettings, LoudnessIsOffUntilSwitchedOnAndOutOfRangeLevelsFallBack) {
  TempFolder folder;
  const LoudnessSettings firstStart = settingsOf(folder, defaultAdditionsFile()).loudness;
  EXPECT_FALSE(firstStart.enabled);
  EXPECT_EQ(firstStart.target, -23.0);
  EXPECT_EQ(firstStart.ceiling, -1.0);
  const LoudnessSettings set =
      settingsOf(folder, "[Loudness]\nEnabled=1\nTarget=-16.5  ; streaming\nCeiling=+0\n").loudness;
  EXPECT_TRUE(set.enabled);
  EXPECT_EQ(set.target, -16.5);
  EXPECT_EQ(set.ceiling, 0.0);
  for (const char* bad :
       {"Target=-4\nCeiling=1", "Target=-71\nCeiling=-21", "Target=loud\nCeiling=-1dB",
        "Target=-1e1\nCeiling=nan", "Target=\nCeiling=-0x1"}) {
    SCOPED_TRACE(bad);
    const LoudnessSettings s =
        settingsOf(folder, std::string("[Loudness]\n") + bad + "\n").loudness;
    EXPECT_EQ(s.target, -23.0);
    EXPECT_EQ(s.ceiling, -1.0);
  }
}

}  // namespace
}  // namespace quillon::settings::test
