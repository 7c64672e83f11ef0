#include "e2e/onair.h"

#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>
#include <functional>

#include "e2e/jackslots.h"

namespace quillon::test {

namespace {

constexpr double kTwipsPerPixel = 15;  // 1440 twips an inch at 96 dpi
// A tone counts as heard at half its expected amplitude, as gone below 2 %.
constexpr double kHeardFraction = 0.5;
constexpr double kGoneFraction = 0.02;

// The same name at every run from one build tree: JACK frees a dead
// server's slot in its registry (8 slots for all servers of the machine)
// only when a server of the same name starts, so a run that was killed
// leaves nothing behind for long. Tests of one tree run one at a time.
std::string serverName() {
  const std::size_t tree = std::hash<std::string>{}(QUILLON_E2E_ARTEFACTS);
  return "quillon-e2e-" + std::to_string(tree % 1000000007);
}

}  // namespace

bool waitForFile(const QString& path, const QByteArray& text, int boundMs) {
  const QDeadlineTimer deadline(boundMs);
  for (;;) {
    if (readWholeFile(path).contains(text)) return true;
    if (deadline.hasExpired()) return false;
    QThread::msleep(50);
  }
}

void OnAir::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  m_artefacts = QDir(QStringLiteral(QUILLON_E2E_ARTEFACTS))
                    .filePath(QString("%1.%2").arg(info->test_suite_name(), info->name()));
  QDir(m_artefacts).removeRecursively();
  ASSERT_TRUE(QDir().mkpath(m_artefacts));

  std::string error;
  m_display = std::make_unique<XvfbDisplay>();
  ASSERT_TRUE(m_display->start(error)) << error;
  m_desktop = std::make_unique<Desktop>(QString::fromStdString(m_display->name()));
  m_serverName = serverName();
  m_server = std::make_unique<JackServer>(m_serverName);
  if (!m_server->start(error) && reclaimDeadServerSlots() > 0) m_server->start(error);
  ASSERT_TRUE(m_server->running()) << error;
  m_listener = std::make_unique<Listener>(m_serverName, 120, error);
  ASSERT_TRUE(m_listener->ok()) << error;
  m_sandbox = std::make_unique<Sandbox>();
  ASSERT_TRUE(m_sandbox->ready());
  ASSERT_TRUE(QDir().mkpath(m_sandbox->path("audio")));
}

void OnAir::TearDown() {
  if (HasFailure() && m_listener && m_listener->ok()) {
    m_listener->saveRaw(artefact("recording.f32").toStdString());
  }
  if (m_sandbox) m_sandbox->killProgram();
  m_listener.reset();
  if (m_server) m_server->stop();
}

void OnAir::startQuillon(bool listen) {
  ++m_starts;
  ASSERT_TRUE(m_sandbox->startProgram(QString::fromStdString(m_display->name()),
                                      QString::fromStdString(m_serverName), m_artefacts,
                                      QString("quillon-%1").arg(m_starts)));
  const auto window = m_desktop->waitForWindow(kWindowTitle);
  ASSERT_TRUE(window.has_value()) << "the window \"Quillon V1.0\" did not appear";
  m_window = *window;
  ASSERT_TRUE(m_desktop->focus(m_window)) << "the window would not take the keyboard";
  if (listen) {
    std::string error;
    ASSERT_TRUE(m_listener->connect(kProgramClient, 30000, error)) << error;
  }
}

void OnAir::closeQuillon() {
  ASSERT_TRUE(m_desktop->close(m_window));
  ASSERT_TRUE(m_sandbox->waitForExit(30000)) << "the program did not end after its window closed";
  EXPECT_EQ(m_sandbox->program()->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(m_sandbox->program()->exitCode(), 0);
}

void OnAir::screenshot(const QString& name) {
  EXPECT_TRUE(m_desktop->screenshot(artefact(name + ".png")))
      << "screenshot " << name.toStdString();
}

QString OnAir::artefact(const QString& name) const { return QDir(m_artefacts).filePath(name); }

QString OnAir::tone(const ToneSpec& spec) {
  QString error;
  const QString cached =
      cachedTone(QDir(QStringLiteral(QUILLON_E2E_ARTEFACTS)).filePath("tones"), spec, error);
  EXPECT_FALSE(cached.isEmpty()) << error.toStdString();
  // A copy of the test's own: faults cut and delete it.
  const QString path = QDir(m_sandbox->path("audio")).filePath(spec.fileName);
  EXPECT_TRUE(QFile::copy(cached, path));
  return path;
}

QString OnAir::writePalette(const QString& name, const PaletteCarts& carts) {
  const QString path = m_sandbox->path(name);
  EXPECT_TRUE(writeWholeFile(path, paletteText(carts)));
  return path;
}

void OnAir::fire(char letter, double hz, double amplitude) {
  ASSERT_TRUE(m_desktop->key(QString(QChar(letter))));
  ASSERT_GE(m_listener->waitForTone(hz, amplitude * kHeardFraction), 0)
      << "cart " << letter << " (" << hz << " Hz) was not heard";
}

void OnAir::stop(char letter, double hz) {
  ASSERT_TRUE(m_desktop->key(QString(QChar(letter))));
  const QDeadlineTimer deadline(15000);
  for (;;) {
    const long end = m_listener->position();
    if (end >= Listener::kWindow && m_listener->amplitudeAt(hz, end) < kGoneFraction * 0.25) return;
    ASSERT_FALSE(deadline.hasExpired()) << "cart " << letter << " (" << hz << " Hz) did not stop";
    QThread::msleep(20);
  }
}

std::pair<int, int> OnAir::panelCentre(app::Panel panel, std::optional<app::Panel> inside) {
  const auto shell = m_desktop->run("xdotool", {"getwindowgeometry", "--shell", m_window});
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  for (const QString& line : shell.value_or("").split('\n')) {
    if (line.startsWith("X=")) x = line.mid(2).toInt();
    if (line.startsWith("Y=")) y = line.mid(2).toInt();
    if (line.startsWith("WIDTH=")) width = line.mid(6).toInt();
    if (line.startsWith("HEIGHT=")) height = line.mid(7).toInt();
  }
  app::WindowGeometry geometry;
  geometry.resizeWindow(static_cast<float>(width * kTwipsPerPixel),
                        static_cast<float>(height * kTwipsPerPixel));
  const app::TwipsRect& r = geometry[panel];
  double left = r.left + r.width / 2;
  double top = r.top + r.height / 2;
  if (inside) {
    left += geometry[*inside].left;
    top += geometry[*inside].top;
  }
  return {x + static_cast<int>(left / kTwipsPerPixel), y + static_cast<int>(top / kTwipsPerPixel)};
}

std::pair<int, int> OnAir::toolbarButton(std::pair<int, int> inWindow) {
  const auto corner = m_desktop->windowPosition(m_window).value_or(std::make_pair(0, 0));
  return {corner.first + inWindow.first, corner.second + inWindow.second};
}

void OnAir::chooseDevice(int entry) {
  const auto [x, y] = panelCentre(app::Panel::Combo4, app::Panel::Picture3);
  ASSERT_TRUE(m_desktop->click(x, y));
  ASSERT_TRUE(m_desktop->key("Home"));
  for (int i = 0; i < entry; ++i) ASSERT_TRUE(m_desktop->key("Down"));
  ASSERT_TRUE(m_desktop->key("Return"));
}

void OnAir::chooseFavourite(int entry) {
  const auto [x, y] = panelCentre(app::Panel::ComboListePalette, app::Panel::Picture6);
  ASSERT_TRUE(m_desktop->click(x, y));
  // The list is open: walk to the entry from the top and take it.
  ASSERT_TRUE(m_desktop->key("Home"));
  for (int i = 1; i < entry; ++i) ASSERT_TRUE(m_desktop->key("Down"));
  ASSERT_TRUE(m_desktop->key("Return"));
}

}  // namespace quillon::test

namespace quillon::test {

void OnAir::savePalette(const QString& path) {
  const auto [x, y] = toolbarButton(kSaveButton);
  ASSERT_TRUE(m_desktop->click(x, y));
  const auto dialog = m_desktop->waitForWindow("^Save your file$");
  ASSERT_TRUE(dialog.has_value()) << "the Save dialog did not open";
  ASSERT_TRUE(m_desktop->focus(*dialog));
  ASSERT_TRUE(m_desktop->type(path));
  ASSERT_TRUE(m_desktop->key("Return"));
  const auto message = m_desktop->waitForWindow("^Quillon Beta version$");
  ASSERT_TRUE(message.has_value()) << "no message after saving";
  screenshot("saved-message");
  ASSERT_TRUE(m_desktop->focus(*message));
  ASSERT_TRUE(m_desktop->key("Return"));
  ASSERT_TRUE(m_desktop->waitForNoWindow("^Quillon Beta version$"));
  ASSERT_TRUE(m_desktop->focus(m_window));
}

}  // namespace quillon::test
