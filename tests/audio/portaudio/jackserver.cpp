#include "jackserver.h"

#include <fcntl.h>
#include <jack/jack.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

extern char** environ;

namespace quillon::test {

namespace {

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
  std::vector<std::string> args = {"jackd", "-n", m_name,  "-r", "-d",
                                   "dummy", "-r", "48000", "-p", "256"};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const int rc = posix_spawnp(&m_pid, "jackd", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    m_pid = -1;
    error = "cannot run jackd: " + std::string(strerror(rc));
    return false;
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

void JackServer::kill() { reap(SIGKILL); }

void JackServer::stop() { reap(SIGTERM); }

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
