// Pictures of the main window for the docs and for a person to look at:
// app_screenshots FOLDER writes quillon-1280x800.png, quillon-minimum.png,
// about.png, and onair.png and onair-countdown.png (carts playing on the
// fake engine's clock, the on-air view in the status bar, and the countdown
// option), and prelisten.png (a cart heard on the cue device). Run it under Xvfb for the real
// platform's rendering. Not a test.
#include <QDir>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cstdio>

#include "about/form1.h"
#include "quietwindow.h"

namespace {

bool shoot(QWidget& window, QSize size, const QString& path) {
  window.resize(size);
  // Past the clock's first tick, so that it shows the time.
  QEventLoop settle;
  QTimer::singleShot(700, &settle, &QEventLoop::quit);
  settle.exec();
  return window.grab().save(path);
}

using namespace std::chrono_literals;

// A morning's carts: a bed on P (scrolled away at the design size), a sting
// on C near its end, a promo on A paused, a jingle on F.
void playMorning(quillon::app::test::QuietWindow& quiet, quillon::app::Cartoucheur& w) {
  const struct {
    int cart;
    const char* path;
    long frames;
  } carts[] = {{15, "/jingles/Morning Bed.wav", 44100L * 240},
               {2, "/jingles/Weather Sting.mp3", 44100L * 9},
               {0, "/jingles/Breakfast Show Promo.ogg", 44100L * 45},
               {5, "/jingles/Station ID.wav", 44100L * 12}};
  for (const auto& c : carts) {
    quiet.engine.media.add(c.path, quillon::test::FakeFile{{44100, 2}, c.frames});
    w.cart(c.cart)->cart().SetTitle(c.path);
  }
  w.cart(15)->cart().Setloop(1);
  w.cart(15)->cart().playClick();
  quiet.engine.clock.advance(20s);
  w.cart(0)->cart().playClick();
  quiet.engine.clock.advance(6s);
  w.cart(0)->cart().pauseClick();
  w.cart(2)->cart().playClick();
  w.cart(5)->cart().playClick();
  quiet.engine.clock.advance(5200ms);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setStyle("Fusion");
  if (argc != 2 || !QDir().mkpath(argv[1])) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const QDir folder(argv[1]);
  quillon::app::test::QuietWindow quiet;
  auto window = quiet.makeWindow();
  window->show();
  const bool ok = shoot(*window, {1280, 800}, folder.filePath("quillon-1280x800.png")) &&
                  shoot(*window, {1, 1}, folder.filePath("quillon-minimum.png"));
  quillon::about::Form1 about(quiet.shell, window.get());
  about.show();
  const bool aboutOk = about.grab().save(folder.filePath("about.png"));
  about.hide();

  // On air, at the window's design size (A to L visible).
  playMorning(quiet, *window);
  const bool onAirOk = shoot(*window, {804, 555}, folder.filePath("onair.png"));

  // The countdown option: each cart's running time counts down.
  quillon::app::test::QuietWindow countdownQuiet;
  quillon::settings::AdditionSettings additions;
  additions.display.remaining = true;
  auto countdown = countdownQuiet.makeWindow(additions);
  countdown->show();
  playMorning(countdownQuiet, *countdown);
  const bool countdownOk = shoot(*countdown, {804, 555}, folder.filePath("onair-countdown.png"));

  // Pre-listen: the morning on air, and a new promo on B heard on the
  // headphones before it goes on air.
  quillon::app::test::QuietWindow cueQuiet;
  cueQuiet.engine.devices.setDevices({{"system:playback_1+2", true}, {"system:playback_3+4", true}},
                                     0);
  quillon::settings::AdditionSettings cueAdditions;
  cueAdditions.preListen.device = "system:playback_3+4";
  auto cue = cueQuiet.makeWindow(cueAdditions);
  cue->show();
  cueQuiet.engine.media.add("/jingles/New Promo.wav",
                            quillon::test::FakeFile{{44100, 2}, 44100L * 30});
  cue->cart(1)->cart().SetTitle("/jingles/New Promo.wav");
  playMorning(cueQuiet, *cue);
  cue->cart(1)->cart().preListenClick();
  cueQuiet.engine.clock.advance(4200ms);
  const bool cueOk = shoot(*cue, {804, 555}, folder.filePath("prelisten.png"));
  return ok && aboutOk && onAirOk && countdownOk && cueOk ? 0 : 1;
}
