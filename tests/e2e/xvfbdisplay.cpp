#include "e2e/xvfbdisplay.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace quillon::test {

bool XvfbDisplay::start(std::string& error) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) {
    error = "pipe: " + std::string(strerror(errno));
    return false;
  }
  // The write end goes to Xvfb as fd 3, without close-on-exec.
  std::vector<std::string> args = {"/usr/bin/Xvfb", "-displayfd", "3", "-noreset",    "-nolisten",
                                   "tcp",           "-screen",    "0", "1280x1024x24"};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t parent = getpid();
  m_pid = fork();
  if (m_pid < 0) {
    error = "fork: " + std::string(strerror(errno));
    close(pipeFds[0]);
    close(pipeFds[1]);
    return false;
  }
  if (m_pid == 0) {
    // Async-signal-safe calls only: the test may have threads.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    dup2(pipeFds[1], 3);  // dup2 clears close-on-exec on the copy
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDOUT_FILENO);
    dup2(quiet, STDERR_FILENO);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(pipeFds[1]);
  std::string number;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  pollfd readable{pipeFds[0], POLLIN, 0};
  while (std::chrono::steady_clock::now() < deadline) {
    if (poll(&readable, 1, 100) <= 0) continue;
    char c = 0;
    const ssize_t n = read(pipeFds[0], &c, 1);
    if (n <= 0 || c == '\n') break;
    number += c;
  }
  close(pipeFds[0]);
  if (number.empty()) {
    error = "Xvfb did not name a display within 10 s";
    stop();
    return false;
  }
  m_name = ":" + number;
  return true;
}

void XvfbDisplay::stop() {
  if (m_pid <= 0) return;
  kill(m_pid, SIGTERM);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  int status = 0;
  while (waitpid(m_pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  m_pid = -1;
}

}  // namespace quillon::test
