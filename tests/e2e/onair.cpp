#include "e2e/onair.h"

#include <jack/jack.h>
#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>

namespace quillon::test {

namespace {

constexpr double kTwipsPerPixel = 15;  // 1440 twips an inch at 96 dpi
// A tone counts as heard at half its expected amplitude, as gone below 2 %
// of the tones' 0.25.
constexpr double kHeardFraction = 0.5;
constexpr double kGone = 0.005;

constexpr QFile::Permissions kOwnerAll = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// Notes its arguments and succeeds, as a desktop that opened the page would.
constexpr const char* kOpenerScript =
    "#!/bin/sh\n"
    "printf '%s\\n' \"$*\" >> \"$(dirname \"$0\")/../opened.txt\"\n"
    "exit 0\n";

// The same name at every run from one build tree: JACK frees a dead
// server's slot in its registry (8 slots for all servers of the machine)
// only when a server of the same name starts, so a run that was killed
// leaves nothing behind for long. Tests of one tree run one at a time.
std::string serverName() {
  const std::size_t tree = std::hash<std::string>{}(QUILLON_E2E_ARTEFACTS);
  return "quillon-e2e-" + std::to_string(tree % 1000000007);
}

// Servers of other names, killed by other runs, can still fill the registry
// ("Too many servers already active"); their sockets may be gone, but the
// registry names them ("jack-UID:NAME:"). Starting and cleanly stopping a
// server under each name whose server is dead (a live one takes a client and
// is left alone) frees their slots; the number freed.
int reclaimDeadServerSlots() {
  std::ifstream file("/dev/shm/jack-shm-registry", std::ios::binary);
  const std::string registry{std::istreambuf_iterator<char>(file), {}};
  const std::string prefix = "jack-" + std::to_string(getuid()) + ":";
  std::set<std::string> names;
  for (auto at = registry.find(prefix); at != std::string::npos;
       at = registry.find(prefix, at + 1)) {
    const auto from = at + prefix.size();
    const auto to = registry.find_first_of(std::string(":\0", 2), from);
    if (to != std::string::npos && to > from && registry[to] == ':') {
      names.insert(registry.substr(from, to - from));
    }
  }
  int freed = 0;
  for (const std::string& name : names) {
    jack_status_t status{};
    jack_client_t* probe = jack_client_open(
        "quillon-slot-probe", static_cast<jack_options_t>(JackNoStartServer | JackServerName),
        &status, name.c_str());
    if (probe != nullptr) {
      jack_client_close(probe);
      continue;
    }
    JackServer server(name);
    std::string error;
    if (server.start(error)) {
      server.stop();
      ++freed;
    }
  }
  return freed;
}

}  // namespace

void OnAir::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  m_artefacts = QDir(QStringLiteral(QUILLON_E2E_ARTEFACTS))
                    .filePath(QString("%1.%2").arg(info->test_suite_name(), info->name()));
  QDir(m_artefacts).removeRecursively();
  ASSERT_TRUE(QDir().mkpath(m_artefacts));

  std::string error;
  m_desktop = std::make_unique<Desktop>();
  ASSERT_TRUE(m_desktop->start(error)) << error;
  m_serverName = serverName();
  m_server = std::make_unique<JackServer>(m_serverName, m_playbackPorts);
  if (!m_server->start(error) && reclaimDeadServerSlots() > 0) m_server->start(error);
  ASSERT_TRUE(m_server->running()) << error;
  m_listener = std::make_unique<Listener>(m_serverName, 120, error);
  ASSERT_TRUE(m_listener->ok()) << error;
  ASSERT_TRUE(m_root.isValid());
  const QDir root(m_root.path());
  for (const char* folder : {"program", "home", "runtime", "config", "bin", "audio"}) {
    ASSERT_TRUE(root.mkpath(folder));
  }
  ASSERT_TRUE(QFile::setPermissions(path("runtime"), kOwnerAll));
  ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLON_PROGRAM), path("program/quillon")));
  ASSERT_TRUE(QFile::setPermissions(path("program/quillon"), kOwnerAll));
  ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLON_WELCOME_PAGE), path("program/welcome.html")));
  ASSERT_TRUE(writeWholeFile(path("bin/xdg-open"), kOpenerScript));
  ASSERT_TRUE(QFile::setPermissions(path("bin/xdg-open"), kOwnerAll));
}

void OnAir::TearDown() {
  if (HasFailure() && m_listener && m_listener->ok()) {
    m_listener->saveRaw(artefact("recording.f32").toStdString());
  }
  if (programRunning()) {
    m_program->kill();
    m_program->waitForFinished(10000);
  }
  m_listener.reset();
  if (m_server) m_server->stop();
}

std::unique_ptr<QProcess> OnAir::programProcess() const {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("DISPLAY", m_desktop->display());
  env.insert("QT_QPA_PLATFORM", "xcb");
  env.insert("HOME", path("home"));
  env.insert("XDG_RUNTIME_DIR", path("runtime"));
  env.insert("XDG_CONFIG_HOME", path("config"));
  env.insert("XDG_DATA_HOME", path("home/.local/share"));
  env.insert("JACK_DEFAULT_SERVER", QString::fromStdString(m_serverName));
  env.insert("JACK_NO_AUDIO_RESERVATION", "1");
  env.insert("PATH", path("bin") + ":" + env.value("PATH", "/usr/bin:/bin"));
  // Only the stand-in opener may answer: no browser named by the machine.
  for (const char* name : {"BROWSER", "DEFAULT_BROWSER", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION",
                           "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
                           "DBUS_SESSION_BUS_ADDRESS", "WAYLAND_DISPLAY", "QT_QPA_PLATFORMTHEME"}) {
    env.remove(name);
  }
  auto program = std::make_unique<QProcess>();
  program->setProcessEnvironment(env);
  program->setWorkingDirectory(path("home"));
  program->setProgram(path("program/quillon"));
  return program;
}

void OnAir::startQuillon(bool listen) {
  ASSERT_FALSE(programRunning());
  m_program = programProcess();
  const QString log = QDir(m_artefacts).filePath(QString("quillon-%1").arg(++m_starts));
  m_program->setStandardOutputFile(log + ".out.log");
  m_program->setStandardErrorFile(log + ".err.log");
  m_program->start();
  ASSERT_TRUE(m_program->waitForStarted(10000));
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
  ASSERT_TRUE(m_program->waitForFinished(30000))
      << "the program did not end after its window closed";
  EXPECT_EQ(m_program->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(m_program->exitCode(), 0);
}

void OnAir::signalQuillon(int signal) {
  ASSERT_TRUE(programRunning());
  ASSERT_EQ(::kill(static_cast<pid_t>(m_program->processId()), signal), 0);
  ASSERT_TRUE(m_program->waitForFinished(30000)) << "the program did not end after the signal";
  EXPECT_EQ(m_program->exitStatus(), QProcess::NormalExit) << "ended by the signal itself";
  EXPECT_EQ(m_program->exitCode(), 0);
}

int OnAir::runSecondInstance(int boundMs) {
  const auto second = programProcess();
  second->setStandardOutputFile(QProcess::nullDevice());
  second->setStandardErrorFile(QProcess::nullDevice());
  second->start();
  if (!second->waitForStarted(10000)) return -1;
  if (!second->waitForFinished(boundMs)) {
    second->kill();
    second->waitForFinished(10000);
    return -1;
  }
  return second->exitStatus() == QProcess::NormalExit ? second->exitCode() : -1;
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
  const QString copy = path("audio/" + spec.fileName);
  EXPECT_TRUE(QFile::copy(cached, copy));
  return copy;
}

QString OnAir::writePalette(const QString& name, const PaletteCarts& carts) {
  const QString palette = path(name);
  EXPECT_TRUE(writeWholeFile(palette, paletteText(carts)));
  return palette;
}

QByteArray OnAir::favouriteConfig(const QString& palette, bool firstStartDone) {
  const QByteArray config = QByteArray(firstStartDone ? "[FirstExec]\nValue=1\n" : "") +
                            "[Favoris]\nNb=1\n[FavorisLink]\n1=" + palette.toUtf8() + "\n";
  EXPECT_TRUE(writeWholeFile(configIni(), config));
  return config;
}

void OnAir::fire(char letter, double hz, double amplitude) {
  ASSERT_TRUE(m_desktop->key(QString(QChar(letter))));
  ASSERT_GE(m_listener->waitForTone(hz, amplitude * kHeardFraction), 0)
      << "cart " << letter << " (" << hz << " Hz) was not heard";
}

void OnAir::stop(char letter, double hz) {
  ASSERT_TRUE(m_desktop->key(QString(QChar(letter))));
  ASSERT_GE(m_listener->waitForToneBelow(hz, kGone), 0)
      << "cart " << letter << " (" << hz << " Hz) did not stop";
}

QPoint OnAir::middleOf(app::Panel panel, app::Panel inside) const {
  // The panel's middle, from the window's own geometry model at its current size.
  const QRect window = m_desktop->geometry(m_window);
  app::WindowGeometry geometry;
  geometry.resizeWindow(static_cast<float>(window.width() * kTwipsPerPixel),
                        static_cast<float>(window.height() * kTwipsPerPixel));
  const TwipsRect& r = geometry[panel];
  const double left = geometry[inside].left + r.left + r.width / 2;
  const double top = geometry[inside].top + r.top + r.height / 2;
  return {window.x() + static_cast<int>(left / kTwipsPerPixel),
          window.y() + static_cast<int>(top / kTwipsPerPixel)};
}

void OnAir::clickPanel(app::Panel panel, app::Panel inside) {
  const QPoint middle = middleOf(panel, inside);
  ASSERT_TRUE(m_desktop->click(middle.x(), middle.y()));
}

void OnAir::choose(app::Panel panel, app::Panel inside, int index) {
  ASSERT_NO_FATAL_FAILURE(clickPanel(panel, inside));
  ASSERT_TRUE(m_desktop->key("Home"));
  for (int i = 0; i < index; ++i) ASSERT_TRUE(m_desktop->key("Down"));
  ASSERT_TRUE(m_desktop->key("Return"));
}

void OnAir::savePalette(const QString& file) {
  // The toolbar's "Save", fourth of "Quit", "New", "Open", "Save", "About",
  // laid out left to right in the program's fixed fonts.
  const QRect window = m_desktop->geometry(m_window);
  ASSERT_TRUE(m_desktop->click(window.x() + 299, window.y() + 19));
  const auto dialog = m_desktop->waitForWindow("^Save your file$");
  ASSERT_TRUE(dialog.has_value()) << "the Save dialog did not open";
  ASSERT_TRUE(m_desktop->focus(*dialog));
  ASSERT_TRUE(m_desktop->xdotool({"type", "--delay", "20", file}, 60000));
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
