#include "palette/childprocess.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace quillon::palette::test {
namespace {

constexpr int kSetupFailed = 254;

}  // namespace

std::optional<int> runInChild(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid < 0) return std::nullopt;
  if (pid == 0) ::_exit(body() & 0xFF);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return std::nullopt;
  }
  if (!WIFEXITED(status)) return std::nullopt;
  const int code = WEXITSTATUS(status);
  if (code == kSetupFailed) return std::nullopt;
  return code;
}

std::optional<int> runUnprivileged(const std::function<int()>& body) {
  if (::geteuid() != 0) return body();
  return runInChild([&] {
    if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
      return kSetupFailed;
    }
    return body();
  });
}

}  // namespace quillon::palette::test
