// What the palette tests share on real files: a fresh folder per test,
// whole-file reads and writes, and child processes for what must not touch
// the test process itself (a file-size limit, or a user that is not root:
// root writes into read-only files and folders).
#pragma once

#include <grp.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::palette::test {

// Removed with everything in it, whatever permissions a test took away.
class TempFolder {
 public:
  // In `root`; by default the tests' own folder or the system's.
  explicit TempFolder(std::filesystem::path root = {}) {
    const char* base = std::getenv("QUILLON_TEST_TMP");
    if (root.empty()) {
      root = base != nullptr ? std::filesystem::path(base) : std::filesystem::temp_directory_path();
    }
    std::filesystem::create_directories(root);
    std::string pattern = (root / "palette-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
  }
  ~TempFolder() {
    namespace fs = std::filesystem;
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(m_path, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
      if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
      }
    }
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(m_path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return m_path; }
  std::filesystem::path operator/(std::string_view name) const { return m_path / name; }
  // Names of everything in the folder, sorted, separated by blanks.
  std::string listing() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    std::string out;
    for (const auto& name : names) out += (out.empty() ? "" : " ") + name;
    return out;
  }

 private:
  std::filesystem::path m_path;
};

inline std::string readBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

// `body`'s result (0 to 255) in a child process; nothing when the child died
// or returned kSetupFailed.
inline constexpr int kSetupFailed = 254;
inline std::optional<int> runInChild(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid < 0) return std::nullopt;
  if (pid == 0) ::_exit(body() & 0xFF);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return std::nullopt;
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) == kSetupFailed) return std::nullopt;
  return WEXITSTATUS(status);
}

// The same on a disk that is full after `bytes` bytes of any one file.
inline std::optional<int> withFileSizeLimit(rlim_t bytes, const std::function<int()>& body) {
  return runInChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);  // a refused write then fails with EFBIG
    const rlimit limit{bytes, bytes};
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0 ? body() : kSetupFailed;
  });
}

// The user "nobody", whom unprivileged children run as.
inline constexpr unsigned kNobody = 65534;

// `body` as an ordinary user: directly when the tests are not root, else in a
// child dropped to kNobody. Nothing when that was impossible: skip the test.
inline std::optional<int> runUnprivileged(const std::function<int()>& body) {
  if (::geteuid() != 0) return body();
  return runInChild([&] {
    const bool dropped =
        ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
    return dropped ? body() : kSetupFailed;
  });
}

}  // namespace quillon::palette::test
