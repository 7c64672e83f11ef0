// An X display of the test's own: Xvfb started by the test on the first free
// display number (it tells the number back through a pipe, -displayfd), kept
// alive between clients (-noreset) and killed with the test. Test support.
#pragma once

#include <sys/types.h>

#include <string>

namespace quillon::test {

class XvfbDisplay {
 public:
  XvfbDisplay() = default;
  ~XvfbDisplay() { stop(); }
  XvfbDisplay(const XvfbDisplay&) = delete;
  XvfbDisplay& operator=(const XvfbDisplay&) = delete;

  // Starts Xvfb with one 1280 x 1024 x 24 screen and waits (10 s at most)
  // until it names its display. False, with `error`, when it cannot.
  bool start(std::string& error);
  void stop();
  // ":N", for DISPLAY.
  const std::string& name() const { return m_name; }

 private:
  pid_t m_pid = -1;
  std::string m_name;
};

}  // namespace quillon::test
