#include "programrig.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace quillon::bench {

ProgramRig::ProgramRig() {
  // As on a studio machine, where sound runs ahead of other work (where
  // allowed): the process and its server at a higher priority.
  setpriority(PRIO_PROCESS, 0, -20);
  const std::string name = "quillon-program-bench-" + std::to_string(getpid());
  setenv("JACK_DEFAULT_SERVER", name.c_str(), 1);  // before the first JACK client
  m_server = std::make_unique<test::JackServer>(name);
  if (!m_server->start(m_error)) {
    m_error = "jackd: " + m_error;
    return;
  }
  m_engine = std::make_unique<audio::ProgramEngine>();
  m_window = std::make_unique<app::Cartoucheur>(
      *m_engine, app::CartoucheurServices{m_config, m_favorites, m_shell, QString(), [] {}});
  if (!showOnSystemDevice(*m_window)) return;
  m_probe = std::make_unique<FirstSoundProbe>(name, m_error);
  if (!m_probe->ok()) return;
  // The program's stream opens with the first play on the device.
  if (!m_error.empty()) return;
  const int period = m_probe->periodFrames();
  const int rate = m_probe->sampleRate();
  m_periodMs = 1000.0 * period / rate;
  m_label = "JACK dummy " + std::to_string(rate) + " Hz / " + std::to_string(period) + " frames" +
            (m_server->realtime() ? " (real-time)" : " (not real-time)");
}

bool ProgramRig::showOnSystemDevice(app::Cartoucheur& window) {
  QComboBox* devices = window.controls().deviceList;
  const int system = devices->findText("system:playback_1+2");
  if (system < 0) {
    m_error = "the JACK server's playback ports are not listed";
    return false;
  }
  devices->setCurrentIndex(system);
  window.show();
  window.activateWindow();
  for (int i = 0; i < 50 && !window.isActiveWindow(); ++i) runEventLoopFor(10);
  if (!window.isActiveWindow()) {
    m_error = "the window does not become active";
    return false;
  }
  return true;
}

app::Cartoucheur* ProgramRig::instantKeysWindow() {
  if (!m_instantKeysWindow && m_engine) {
    settings::AdditionSettings additions;
    additions.keys.instant = true;
    m_instantKeysWindow = std::make_unique<app::Cartoucheur>(
        *m_engine,
        app::CartoucheurServices{m_config, m_favorites, m_shell, QString(), [] {}, additions});
    m_window->hide();
    if (!showOnSystemDevice(*m_instantKeysWindow)) return nullptr;
  }
  return m_instantKeysWindow.get();
}

ProgramRig::~ProgramRig() {
  m_probe.reset();
  m_instantKeysWindow.reset();
  m_window.reset();
  m_engine.reset();
}

void runEventLoopFor(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace quillon::bench
