#include "support/jackserver.h"

#include <fcntl.h>
#include <jack/jack.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

namespace quillon::test {

namespace {

// The full path of `name` on PATH, looked up before forking; "" when absent.
std::string findProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    const std::size_t end = std::min(dirs.find(':', start), dirs.size());
    const std::string candidate = dirs.substr(start, end - start) + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return "";
}

// True once a client can open on the server.
bool takesClients(const std::string& name) {
  jack_status_t status{};
  jack_client_t* probe = jack_client_open(
      "quillon-probe", static_cast<jack_options_t>(JackNoStartServer | JackServerName), &status,
      name.c_str());
  if (probe == nullptr) return false;
  jack_client_close(probe);
  return true;
}

}  // namespace

bool JackServer::start(std::string& error) {
  // Real-time scheduling where the system grants it, as in a studio: then the
  // server and its clients' audio threads run ahead of whatever else keeps
  // the machine busy. Otherwise the same server without it.
  m_realtime = startWith("-R", m_realtimeRefusal);
  return m_realtime || startWith("-r", error);
}

bool JackServer::startWith(const char* scheduling, std::string& error) {
  std::vector<std::string> args = {"jackd", "-n",    m_name, scheduling,
                                   "-d",    "dummy", "-r",   "48000",
                                   "-p",    "256",   "-P",   std::to_string(m_playbackPorts)};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  const std::string program = findProgram("jackd");
  if (program.empty()) {
    error = "jackd is not installed";
    return false;
  }
  const pid_t parent = getpid();
  m_pid = fork();
  if (m_pid < 0) {
    error = "cannot start jackd: " + std::string(strerror(errno));
    return false;
  }
  if (m_pid == 0) {
    // The child of a threaded process: only async-signal-safe calls here.
    // The server dies with the test, even when the test crashes.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDOUT_FILENO);
    dup2(quiet, STDERR_FILENO);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  // Wait for its socket, then for a client to get in.
  const auto socket = std::filesystem::path("/dev/shm") /
                      ("jack_" + m_name + "_" + std::to_string(getuid()) + "_0");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
      m_pid = -1;
      error = "jackd exited at start (status " + std::to_string(status) + ")";
      removeLeftovers();
      return false;
    }
    std::error_code ignored;
    if (std::filesystem::exists(socket, ignored) && takesClients(m_name)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  error = "jackd did not take clients within 10 s";
  stop();
  return false;
}

void JackServer::kill() {
  if (m_pid <= 0) return;
  reap(SIGKILL);
  m_slotHeld = true;
}

void JackServer::stop() {
  // A killed server keeps its slot in JACK's registry (eight in all, for the
  // whole machine) until a server of the same name starts and stops cleanly.
  if (m_pid <= 0 && m_slotHeld) {
    std::string ignored;
    if (!start(ignored)) return;
  }
  reap(SIGTERM);
  m_slotHeld = false;
}

void JackServer::reap(int signal) {
  if (m_pid <= 0) return;
  ::kill(m_pid, signal);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  int status = 0;
  while (waitpid(m_pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(m_pid, SIGKILL);
      waitpid(m_pid, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  m_pid = -1;
  removeLeftovers();
}

void JackServer::removeLeftovers() const {
  // Its socket (jack_NAME_UID_N) and semaphores (jack_sem.UID_NAME_CLIENT);
  // the shared-memory registry is shared with other servers and reclaims
  // dead entries by itself at the next server start.
  const std::string socketPrefix = "jack_" + m_name + "_";
  const std::string semaphoreTag = "_" + m_name + "_";
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/dev/shm", ec)) {
    const std::string file = entry.path().filename().string();
    const bool socket = file.rfind(socketPrefix, 0) == 0;
    const bool semaphore =
        file.rfind("jack_sem.", 0) == 0 && file.find(semaphoreTag) != std::string::npos;
    if (socket || semaphore) std::filesystem::remove(entry.path(), ec);
  }
}

}  // namespace quillon::test
