// Faults an operator meets on air, injected into the real program: files that
// vanish or shrink while they play, the audio server dying under it, a
// palette of missing files, a damaged Config.ini, and a second start while
// the first plays. Each checks that the program lives, that what should
// play plays on, and that nothing that could be kept was lost.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <iostream>

#include "e2e/onair.h"

namespace quillon::test {
namespace {

constexpr double kAmplitude = 0.25;
const ToneSpec kLong440{"long440.wav", 440, 22050, 1, 30, kAmplitude};
const ToneSpec kLong660{"long660.mp3", 660, 44100, 2, 30, kAmplitude};
const ToneSpec kLong880{"long880.ogg", 880, 48000, 1, 30, kAmplitude};
const ToneSpec kLong550{"long550.wma", 550, 44100, 2, 30, kAmplitude};

class Faults : public OnAir {
 protected:
  // A palette of the given tones on carts A, B, …, made the favourite in
  // Config.ini; the palette's path.
  QString favouritePalette(std::initializer_list<ToneSpec> tones) {
    PaletteCarts carts;
    std::size_t k = 0;
    for (const ToneSpec& t : tones) carts[k++] = {tone(t), 100};
    const QString palette = writePalette("faults.pal", carts);
    favouriteConfig(palette);
    return palette;
  }
  // The program started on that palette, its carts A, B, … fired and heard.
  void startAndFire(std::initializer_list<ToneSpec> tones) {
    favouritePalette(tones);
    ASSERT_NO_FATAL_FAILURE(startQuillon());
    ASSERT_NO_FATAL_FAILURE(chooseFavourite(1));
    char letter = 'a';
    for (const ToneSpec& t : tones) ASSERT_NO_FATAL_FAILURE(fire(letter++, t.hz, kAmplitude));
  }
  // The tone stays heard through `frames` more of recording.
  void expectHeardThrough(double hz, long frames) {
    const long from = m_listener->position();
    ASSERT_TRUE(m_listener->waitFor(frames));
    std::string why;
    EXPECT_TRUE(m_listener->keptSounding(hz, kAmplitude, from, m_listener->position(), why))
        << hz << " Hz: " << why;
  }
  std::vector<std::unique_ptr<Listener>> m_abandoned;
  void expectAlive() {
    ASSERT_TRUE(programRunning()) << "the program ended";
    ASSERT_TRUE(m_desktop->waitForWindow(kWindowTitle, 10000).has_value());
  }
};

TEST_F(Faults, FileDeletedAndFileTruncatedWhilePlaying) {
  ASSERT_NO_FATAL_FAILURE(startAndFire({kLong440, kLong660, kLong880, kLong550}));
  const QByteArray palette = readWholeFile(path("faults.pal"));

  // A's file deleted (the open file plays on or ends, either is clean); B's
  // cut to a tenth and D's to a header and a few bytes: they end.
  ASSERT_TRUE(QFile::remove(path("audio/long440.wav")));
  ASSERT_EQ(truncate(path("audio/long660.mp3").toLocal8Bit().constData(),
                     QFileInfo(path("audio/long660.mp3")).size() / 10),
            0);
  ASSERT_EQ(truncate(path("audio/long550.wma").toLocal8Bit().constData(), 6000), 0);
  for (double hz : {660.0, 550.0}) {
    ASSERT_GE(m_listener->waitForToneBelow(hz, 0.005, 30000), 0)
        << "the cut file (" << hz << " Hz) played on";
  }
  // C plays on, untouched, and so does the program.
  ASSERT_NO_FATAL_FAILURE(expectHeardThrough(880, m_listener->rate()));
  screenshot("after-the-cuts");
  ASSERT_NO_FATAL_FAILURE(expectAlive());

  // Firing the damaged carts again plays nothing and harms nothing.
  for (const char* letter : {"b", "d"}) {
    ASSERT_TRUE(m_desktop->key(letter));
    ASSERT_NO_FATAL_FAILURE(expectHeardThrough(880, m_listener->rate() / 2));
  }
  ASSERT_NO_FATAL_FAILURE(expectAlive());
  EXPECT_EQ(readWholeFile(path("faults.pal")), palette);
  ASSERT_NO_FATAL_FAILURE(closeQuillon());
}

TEST_F(Faults, PaletteOfTwentySixMissingFiles) {
  PaletteCarts carts;
  for (int k = 0; k < 26; ++k) {
    carts[static_cast<std::size_t>(k)] = {
        path(QString("gone/cart%1.%2").arg(k).arg(QStringList{"wav", "mp3", "ogg", "wma"}[k % 4])),
        50 + k, k % 2 == 0};
  }
  const QString palette = writePalette("missing.pal", carts);
  favouriteConfig(palette);
  ASSERT_NO_FATAL_FAILURE(startQuillon());
  ASSERT_NO_FATAL_FAILURE(chooseFavourite(1));
  screenshot("missing-carts");
  // Every letter pressed: nothing plays, nothing ends.
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    ASSERT_TRUE(m_desktop->key(QString(QChar(letter))));
    QThread::msleep(120);  // one key a tick, so every letter is read
  }
  ASSERT_TRUE(m_listener->waitFor(m_listener->rate() / 2));
  EXPECT_LT(peak(m_listener->frames(0, m_listener->position())), 1e-3);
  ASSERT_NO_FATAL_FAILURE(expectAlive());
  // Nothing was lost: the carts keep their files and settings (a save shows
  // them), the palette and Config.ini are as they were.
  const QString saved = path("saved.pal");
  ASSERT_NO_FATAL_FAILURE(savePalette(saved));
  EXPECT_EQ(readWholeFile(saved), paletteText(carts));
  EXPECT_EQ(readWholeFile(palette), paletteText(carts));
  ASSERT_NO_FATAL_FAILURE(closeQuillon());
  EXPECT_TRUE(readWholeFile(configIni()).contains(palette.toUtf8()));
}

TEST_F(Faults, SecondInstanceStartedTwentyTimesWhileTheFirstPlays) {
  ASSERT_NO_FATAL_FAILURE(startAndFire({kLong440}));
  const QByteArray config = readWholeFile(configIni());
  const long from = m_listener->position();
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(runSecondInstance(30000), 0) << "start " << i;
  }
  // The first played on through all of it, alone, and Config.ini is untouched.
  std::string why;
  EXPECT_TRUE(m_listener->keptSounding(440, kAmplitude, from, m_listener->position(), why))
      << "the first instance: " << why;
  EXPECT_EQ(m_desktop->windows(kWindowTitle).size(), 1);
  EXPECT_EQ(readWholeFile(configIni()), config);
  ASSERT_NO_FATAL_FAILURE(expectAlive());
  ASSERT_NO_FATAL_FAILURE(stop('a', 440));
  ASSERT_NO_FATAL_FAILURE(closeQuillon());
}

TEST_F(Faults, AudioServerKilledWhileCartsPlayThenChosenAgain) {
  ASSERT_NO_FATAL_FAILURE(startAndFire({kLong440, kLong660}));

  // The server dies as a crash would: its clients must not be closed.
  m_listener->abandon();
  m_abandoned.push_back(std::move(m_listener));
  m_server->kill();
  ASSERT_NO_FATAL_FAILURE(expectAlive());
  screenshot("server-gone");

  // Back again: the operator picks it from the device list, and carts play.
  std::string error;
  ASSERT_TRUE(m_server->start(error)) << error;
  m_listener = std::make_unique<Listener>(m_serverName, 60, error);
  ASSERT_TRUE(m_listener->ok()) << error;
  ASSERT_NO_FATAL_FAILURE(chooseDevice(0));
  // The carts that played when the server died were stopped: a press starts
  // one, which opens the device again.
  ASSERT_TRUE(m_desktop->key("a"));
  ASSERT_TRUE(m_listener->connect(kProgramClient, 30000, error)) << error;
  ASSERT_GE(m_listener->waitForTone(440, kAmplitude / 2), 0) << "nothing heard after the return";
  ASSERT_NO_FATAL_FAILURE(expectHeardThrough(440, m_listener->rate() / 2));
  EXPECT_LT(m_listener->amplitudeAt(660, m_listener->position()), 0.005);
  screenshot("server-back");
  ASSERT_NO_FATAL_FAILURE(stop('a', 440));
  ASSERT_NO_FATAL_FAILURE(closeQuillon());
}

// What the program's process holds: descriptors, threads, private memory (kB).
struct Holdings {
  int fds = 0, threads = 0;
  long privateKb = 0;
};
Holdings holdingsOf(qint64 pid) {
  Holdings h;
  const std::string proc = "/proc/" + std::to_string(pid);
  h.fds = static_cast<int>(QDir(QString::fromStdString(proc + "/fd")).count()) - 2;
  h.threads = static_cast<int>(QDir(QString::fromStdString(proc + "/task")).count()) - 2;
  QFile status(QString::fromStdString(proc + "/status"));
  if (status.open(QIODevice::ReadOnly)) {
    for (const QByteArray& line : status.readAll().split('\n')) {
      if (line.startsWith("RssAnon:")) h.privateKb = line.mid(8).trimmed().split(' ')[0].toLong();
    }
  }
  return h;
}

// The server dies under a playing cart and comes back, twenty times in one
// run: each time the program takes the device back by itself (its list read
// again every second here) and a press of A is heard.
TEST_F(Faults, AudioServerKilledTwentyTimesEveryReturnHeard) {
  favouritePalette({kLong440});
  ASSERT_TRUE(
      writeWholeFile(path("program/Quillon.ini"), "[Devices]\nReconnect=1\nCheckSeconds=1\n"));
  ASSERT_NO_FATAL_FAILURE(startQuillon());
  ASSERT_NO_FATAL_FAILURE(chooseFavourite(1));
  ASSERT_NO_FATAL_FAILURE(fire('a', 440, kAmplitude));
  Holdings before;
  for (int cycle = 0; cycle < 20; ++cycle) {
    SCOPED_TRACE("return " + std::to_string(cycle + 1));
    m_listener->abandon();
    m_abandoned.push_back(std::move(m_listener));
    m_server->kill();
    ASSERT_NO_FATAL_FAILURE(expectAlive());
    std::string error;
    ASSERT_TRUE(m_server->start(error)) << error;
    m_listener = std::make_unique<Listener>(m_serverName, 20, error);
    ASSERT_TRUE(m_listener->ok()) << error;
    // A press before the device is taken back shows a failed start and plays
    // nothing; the next press, once it is back, plays.
    bool heard = false;
    for (int attempt = 0; attempt < 4 && !heard; ++attempt) {
      QThread::msleep(1200);
      ASSERT_TRUE(m_desktop->key("a"));
      heard = m_listener->connect(kProgramClient, 2000, error) &&
              m_listener->waitForTone(440, kAmplitude / 2, 2000) >= 0;
    }
    ASSERT_TRUE(heard) << "nothing heard after the return";
    if (cycle == 1) before = holdingsOf(programPid());
  }
  const Holdings after = holdingsOf(programPid());
  RecordProperty("private_kB_before", static_cast<int>(before.privateKb));
  RecordProperty("private_kB_after", static_cast<int>(after.privateKb));
  std::cout << "program after returns 2 and 20: fds " << before.fds << " -> " << after.fds
            << ", threads " << before.threads << " -> " << after.threads << ", private "
            << before.privateKb << " kB -> " << after.privateKb << " kB\n";
  EXPECT_LE(after.fds, before.fds + 2);
  EXPECT_LE(after.threads, before.threads + 1);
  ASSERT_NO_FATAL_FAILURE(stop('a', 440));
  ASSERT_NO_FATAL_FAILURE(closeQuillon());
}

// A Config.ini that cannot be read as one: the program starts, and what it
// holds is still there afterwards. (Garbage bytes within the size bound are
// the settings layer's fuzz test's.)
enum class BadConfig { ReadOnly, Huge, Folder };
const char* const kBadConfigNames[] = {"ReadOnly", "FiftyMegabytes", "Folder"};

class DamagedConfig : public Faults, public ::testing::WithParamInterface<BadConfig> {};

TEST_P(DamagedConfig, ProgramStartsAndNothingIsLost) {
  const QByteArray favourites = favouriteConfig(favouritePalette({kLong440}));
  QString configPath = configIni();
  QByteArray before = favourites;
  if (GetParam() == BadConfig::ReadOnly) {
    ASSERT_TRUE(QFile::setPermissions(configPath, QFile::ReadOwner | QFile::ReadGroup));
  } else if (GetParam() == BadConfig::Huge) {
    // The favourites first, then 50 MB of lines no key reads.
    before += "[Padding]\n" + QByteArray(50 * 1024 * 1024, 'x');
    ASSERT_TRUE(writeWholeFile(configPath, before));
  } else {
    // No Config.ini beside the program: the user's folder holds a folder of
    // that name, with a file of the operator's in it.
    ASSERT_TRUE(QFile::remove(configPath));
    configPath = path("config/quillon/Config.ini");
    ASSERT_TRUE(QDir().mkpath(configPath));
    ASSERT_TRUE(writeWholeFile(configPath + "/notes.txt", "keep me"));
  }
  ASSERT_NO_FATAL_FAILURE(startQuillon(false));
  screenshot("started");
  ASSERT_NO_FATAL_FAILURE(expectAlive());
  // A 50 MB file is not a settings file the program reads (it keeps the
  // file as it is); a read-only one is read: its favourite is offered and loads.
  if (GetParam() == BadConfig::ReadOnly) {
    std::string error;
    ASSERT_TRUE(m_listener->connect(kProgramClient, 30000, error)) << error;
    ASSERT_NO_FATAL_FAILURE(chooseFavourite(1));
    ASSERT_NO_FATAL_FAILURE(fire('a', 440, kAmplitude));
    ASSERT_NO_FATAL_FAILURE(stop('a', 440));
  }
  ASSERT_NO_FATAL_FAILURE(closeQuillon());

  if (GetParam() == BadConfig::Folder) {
    EXPECT_TRUE(QFileInfo(configPath).isDir());
    EXPECT_EQ(readWholeFile(configPath + "/notes.txt"), "keep me");
  } else if (GetParam() == BadConfig::ReadOnly) {
    EXPECT_EQ(readWholeFile(configPath), before);
    EXPECT_FALSE(QFileInfo(configPath).permissions() & QFile::WriteOwner);
  } else {
    EXPECT_TRUE(readWholeFile(configPath).contains(before));  // whatever was added
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, DamagedConfig,
                         ::testing::Values(BadConfig::ReadOnly, BadConfig::Huge, BadConfig::Folder),
                         [](const auto& info) {
                           return kBadConfigNames[static_cast<int>(info.param)];
                         });

}  // namespace
}  // namespace quillon::test
