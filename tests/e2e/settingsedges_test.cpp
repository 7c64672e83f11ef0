// The favourites as the operator adds them in the real program, through the
// "Add" button and its file dialog: a favourite added just before the
// program is ended by a signal is there at the next start, and a typed path
// that names a pipe is refused while a cart plays on and the window answers.
#include <signal.h>
#include <sys/stat.h>

#include <QFile>

#include "e2e/onair.h"

namespace quillon::test {
namespace {

constexpr double kAmplitude = 0.25;
const ToneSpec kLong440{"long440.wav", 440, 22050, 1, 30, kAmplitude};
constexpr const char* kAddDialog = "^Add a jingle palette to your favorite$";

class SettingsEdges : public OnAir {
 protected:
  // "Add", the path typed into its dialog, Return; waits for the dialog to go.
  void addFavourite(const QString& palette) {
    // Away first: a synchronous move to where the pointer already is waits for ever.
    ASSERT_TRUE(m_desktop->xdotool({"mousemove", "0", "0"}));
    ASSERT_NO_FATAL_FAILURE(clickPanel(app::Panel::Command1, app::Panel::Picture6));
    const auto dialog = m_desktop->waitForWindow(kAddDialog);
    ASSERT_TRUE(dialog.has_value()) << "the Add dialog did not open";
    ASSERT_TRUE(m_desktop->focus(*dialog));
    ASSERT_TRUE(m_desktop->xdotool({"type", "--delay", "20", palette}, 60000));
    ASSERT_TRUE(m_desktop->key("Return"));
    ASSERT_TRUE(m_desktop->waitForNoWindow(kAddDialog, 10000)) << "the Add dialog stayed";
    ASSERT_TRUE(m_desktop->focus(m_window));  // no window manager gives it back
  }
  QByteArray config() const { return readWholeFile(configIni()); }
};

TEST_F(SettingsEdges, AFavouriteAddedJustBeforeASigtermIsThereAtTheNextStart) {
  const QString palette = writePalette("Morning show.pal", {});
  ASSERT_TRUE(writeWholeFile(configIni(), "[FirstExec]\nValue=1\n"));
  ASSERT_NO_FATAL_FAILURE(startQuillon(false));
  ASSERT_NO_FATAL_FAILURE(addFavourite(palette));
  ASSERT_NO_FATAL_FAILURE(signalQuillon(SIGTERM));
  EXPECT_TRUE(config().contains("Nb=1\n")) << config().toStdString();
  EXPECT_TRUE(config().contains("1=" + palette.toUtf8() + "\n")) << config().toStdString();

  // The next start lists it: closing writes back what start-up read.
  ASSERT_NO_FATAL_FAILURE(startQuillon(false));
  screenshot("next-start");
  ASSERT_NO_FATAL_FAILURE(closeQuillon());
  EXPECT_TRUE(config().contains("Nb=1\n")) << config().toStdString();
}

TEST_F(SettingsEdges, APipeTypedIntoAddIsRefusedWhileACartPlaysOnAndTheWindowAnswers) {
  PaletteCarts carts;
  carts[0] = {tone(kLong440), 100};
  const QString palette = writePalette("onair.pal", carts);
  favouriteConfig(palette);
  const QString pipe = path("pipe.pal");
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

  ASSERT_NO_FATAL_FAILURE(startQuillon());
  ASSERT_NO_FATAL_FAILURE(chooseFavourite(1));
  ASSERT_NO_FATAL_FAILURE(fire('a', kLong440.hz, kAmplitude));
  const long from = m_listener->position();
  ASSERT_NO_FATAL_FAILURE(addFavourite(pipe));
  ASSERT_TRUE(m_listener->waitFor(48000));  // one more second of the server's output
  std::string why;
  EXPECT_TRUE(m_listener->keptSounding(kLong440.hz, kAmplitude, from, m_listener->position(), why))
      << why;
  // A window that waits on the pipe would open no dialog: the next Add's
  // opens, and the palette it adds is stored at once.
  const QString next = writePalette("next.pal", {});
  ASSERT_NO_FATAL_FAILURE(addFavourite(next));
  screenshot("after-pipe");
  const QByteArray written = config();
  EXPECT_TRUE(written.contains("Nb=2\n") && written.contains("1=" + palette.toUtf8() + "\n") &&
              written.contains("2=" + next.toUtf8() + "\n") && !written.contains("pipe.pal"))
      << written.toStdString();
  ASSERT_NO_FATAL_FAILURE(stop('a', kLong440.hz));
  ASSERT_NO_FATAL_FAILURE(closeQuillon());
}

}  // namespace
}  // namespace quillon::test
