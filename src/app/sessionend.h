// The end of a session that does not pass through the window: SIGTERM (a
// service manager, a shutdown), SIGINT (Ctrl+C in a terminal) and the
// session manager's request to save before a logout. Each saves what the
// operator would lose; the two signals then end the program through the
// event loop, as Quit does. UI thread; the signal handler itself only writes
// one byte to a pipe, which a socket notifier reads on the UI thread.
//
// One object at a time per process. After the first signal of a kind, a
// second one ends the program at once, as without this object, so a program
// that no longer answers can still be stopped.
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace quillon::app {

class SessionEnd : public QObject {
  Q_OBJECT

 public:
  // `save` runs for each of the three; `end` after `save` for the signals.
  SessionEnd(std::function<void()> save, std::function<void()> end, QObject* parent = nullptr);
  // Puts the handlers that were there before back.
  ~SessionEnd() override;

  SessionEnd(const SessionEnd&) = delete;
  SessionEnd& operator=(const SessionEnd&) = delete;

  // False when the pipe or a handler could not be made: the signals then end
  // the program as they would without this object.
  bool watching() const { return m_watching; }

 private:
  void onSignalByte();

  std::function<void()> m_save;
  std::function<void()> m_end;
  int m_readEnd = -1;
  QSocketNotifier* m_notifier = nullptr;
  bool m_watching = false;
};

}  // namespace quillon::app
