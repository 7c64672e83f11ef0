// The program as an operator uses it: started on a display of its own with a
// JACK server as its sound card, a palette of the four file types picked from
// the favourites, carts fired and stopped by real key presses, and what
// reached the server checked by ear (frequency and level); then the palette
// saved, the window closed, the program started again.
#include "e2e/onair.h"

#include <QDir>
#include <algorithm>

#include "asrun/csvreader.h"

namespace quillon::test {
namespace {

constexpr double kAmplitude = 0.25;  // every tone's peak in its file

struct CartTone {
  char letter;
  ToneSpec spec;
  int volume;
  bool loop;
  double heard() const { return spec.amplitude * volume / 100.0; }
};

// One tone per type, at rates the device (48 kHz) must convert, and
// frequencies apart enough to be told apart while they play together.
const CartTone kA{'a', {"tone440.wav", 440, 22050, 1, 8, kAmplitude}, 100, false};
const CartTone kB{'b', {"tone660.mp3", 660, 44100, 2, 8, kAmplitude}, 60, false};
const CartTone kC{'c', {"tone880.ogg", 880, 48000, 1, 8, kAmplitude}, 80, false};
const CartTone kD{'d', {"tone550.wma", 550, 44100, 2, 8, kAmplitude}, 100, false};
const CartTone kE{'e', {"loop990.wav", 990, 22050, 1, 2, kAmplitude}, 100, true};
const CartTone kF{'f', {"held1210.ogg", 1210, 22050, 1, 8, kAmplitude}, 100, false};
const CartTone kAll[] = {kA, kB, kC, kD, kE, kF};

class OnAirSession : public OnAir {
 protected:
  QString makePalette() {
    PaletteCarts carts;
    for (const CartTone& t : kAll) {
      carts[static_cast<std::size_t>(t.letter - 'a')] = {tone(t.spec), t.volume, t.loop};
    }
    m_carts = carts;
    return writePalette("studio.pal", carts);
  }
  // The level of every tone in the latest half second, against what was
  // heard: the median of its five 100 ms windows, so that one late cycle of
  // a busy machine does not decide it.
  void expectLevels(std::initializer_list<CartTone> playing,
                    std::initializer_list<CartTone> quiet) {
    ASSERT_TRUE(m_listener->waitFor(m_listener->rate() / 2));
    const long end = m_listener->position();
    const auto level = [&](double hz) {
      std::vector<double> windows;
      for (int w = 0; w < 5; ++w) {
        windows.push_back(m_listener->amplitudeAt(hz, end - w * Listener::kWindow));
      }
      std::nth_element(windows.begin(), windows.begin() + 2, windows.end());
      return windows[2];
    };
    for (const CartTone& t : playing) {
      EXPECT_NEAR(level(t.spec.hz), t.heard(), t.heard() * 0.2)
          << "cart " << t.letter << " at " << t.spec.hz;
    }
    for (const CartTone& t : quiet) {
      EXPECT_LT(level(t.spec.hz), 0.005) << "cart " << t.letter << " should be silent";
    }
  }
  PaletteCarts m_carts;
};

TEST_F(OnAirSession, FavouritePaletteFiredByKeysIsHeardSavedAndComesBack) {
  const QString palette = makePalette();
  favouriteConfig(palette, false);
  ASSERT_NO_FATAL_FAILURE(startQuillon());
  screenshot("1-started");

  // The first start offered the welcome page, shipped beside the program.
  const QByteArray welcome = path("program/welcome.html").toUtf8();
  EXPECT_TRUE(pollUntil([&] { return readWholeFile(openedLog()).contains(welcome); }, 30000))
      << "the welcome page was not handed to the desktop";

  ASSERT_NO_FATAL_FAILURE(chooseFavourite(1));
  // Nothing plays until a letter is pressed.
  expectLevels({}, {kA, kB, kC, kD, kE, kF});

  // The looping cart first: it must still sound long after its 2 s end.
  ASSERT_NO_FATAL_FAILURE(fire('e', kE.spec.hz, kE.heard()));
  const long loopStart = m_listener->position();
  ASSERT_NO_FATAL_FAILURE(fire('a', kA.spec.hz, kA.heard()));
  ASSERT_NO_FATAL_FAILURE(expectLevels({kA, kE}, {kB, kC, kD, kF}));
  ASSERT_NO_FATAL_FAILURE(fire('b', kB.spec.hz, kB.heard()));
  ASSERT_NO_FATAL_FAILURE(fire('c', kC.spec.hz, kC.heard()));
  ASSERT_NO_FATAL_FAILURE(fire('d', kD.spec.hz, kD.heard()));
  ASSERT_NO_FATAL_FAILURE(expectLevels({kA, kB, kC, kD, kE}, {kF}));
  screenshot("2-five-playing");

  // Stopped one by one: each goes, the others play on.
  ASSERT_NO_FATAL_FAILURE(stop('b', kB.spec.hz));
  ASSERT_NO_FATAL_FAILURE(expectLevels({kA, kC, kD, kE}, {kB}));
  ASSERT_NO_FATAL_FAILURE(stop('a', kA.spec.hz));
  ASSERT_NO_FATAL_FAILURE(stop('c', kC.spec.hz));
  ASSERT_NO_FATAL_FAILURE(stop('d', kD.spec.hz));

  // The loop, past twice its file's length: still sounding (the restart
  // itself may leave a short gap, so its level is not measured across it).
  const long loopSpan = static_cast<long>(2.5 * kE.spec.seconds * m_listener->rate());
  ASSERT_TRUE(m_listener->waitFor(std::max(0L, loopStart + loopSpan - m_listener->position())));
  ASSERT_GE(m_listener->waitForTone(kE.spec.hz, kE.heard() * 0.8), 0)
      << "the looping cart fell silent after its end";
  ASSERT_NO_FATAL_FAILURE(expectLevels({}, {kA, kB, kC, kD}));
  ASSERT_NO_FATAL_FAILURE(stop('e', kE.spec.hz));

  // Silence after the stops, and it stays silent.
  ASSERT_GE(m_listener->waitForSilence(), 0) << "the output did not fall silent";
  const long quietFrom = m_listener->position();
  ASSERT_TRUE(m_listener->waitFor(m_listener->rate()));
  EXPECT_LT(peak(m_listener->frames(quietFrom, m_listener->position())), 1e-3);

  // A held key fires once: the cart plays through the hold and the
  // keyboard's repeats, and after the release.
  ASSERT_TRUE(m_desktop->xdotool({"keydown", "f"}));
  const long heard = m_listener->waitForTone(kF.spec.hz, kF.heard() / 2);
  ASSERT_GE(heard, 0) << "the held key did not fire its cart";
  ASSERT_TRUE(m_listener->waitFor(static_cast<long>(1.5 * m_listener->rate())));
  ASSERT_TRUE(m_desktop->xdotool({"keyup", "f"}));
  ASSERT_TRUE(m_listener->waitFor(m_listener->rate() / 2));
  std::string why;
  EXPECT_TRUE(m_listener->keptSounding(kF.spec.hz, kF.heard(), heard, m_listener->position(), why))
      << "the held cart: " << why;
  screenshot("3-held-key");
  ASSERT_NO_FATAL_FAILURE(stop('f', kF.spec.hz));

  // Saved through the Save dialog: every cart as it was loaded.
  const QString saved = path("saved.pal");
  ASSERT_NO_FATAL_FAILURE(savePalette(saved));
  EXPECT_EQ(readWholeFile(saved), paletteText(m_carts));

  // Closed and started again: the favourite is still there, and it loads.
  ASSERT_NO_FATAL_FAILURE(closeQuillon());
  EXPECT_TRUE(readWholeFile(configIni()).contains(palette.toUtf8()));
  ASSERT_NO_FATAL_FAILURE(startQuillon());
  screenshot("4-restarted");
  ASSERT_NO_FATAL_FAILURE(chooseFavourite(1));
  ASSERT_NO_FATAL_FAILURE(fire('c', kC.spec.hz, kC.heard()));
  ASSERT_NO_FATAL_FAILURE(stop('c', kC.spec.hz));
  // The welcome page was offered once only.
  EXPECT_EQ(readWholeFile(openedLog()).count('\n'), 1);
  ASSERT_NO_FATAL_FAILURE(closeQuillon());

  // The as-run log, on by default: every play of both runs, in the order
  // they ended, all fired and stopped by their letters; the loop's passes.
  const QDir asRun(path("home/.local/share/quillon/as-run"));
  const QStringList days = asRun.entryList({"*.csv"}, QDir::Files, QDir::Name);
  ASSERT_FALSE(days.isEmpty()) << "no as-run file";
  std::string letters;
  for (const QString& day : days) {
    const auto records = asrun::test::readCsv(readWholeFile(asRun.filePath(day)).toStdString());
    for (std::size_t i = 1; i < records.size(); ++i) {
      const auto& r = records[i];
      ASSERT_EQ(r.size(), 9u);
      letters += r[1];
      EXPECT_EQ(r[6], "key") << r[1];
      EXPECT_EQ(r[7], "stopped") << r[1];
      if (r[1] == "E") {
        EXPECT_GE(std::stoi(r[8]), 3) << "passes of the loop";
      }
      EXPECT_GT(std::stod(r[5]), 0.0) << r[1] << " heard";
    }
  }
  EXPECT_EQ(letters, "BACDEFC");
}

}  // namespace
}  // namespace quillon::test
