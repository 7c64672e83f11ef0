#include "asrun/asrunlog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>
#include <system_error>

#include "asrun/asruncsv.h"

namespace quillon::asrun {

namespace {

std::string describe(std::string_view what, const std::filesystem::path& path, int error) {
  std::string text(what);
  text += ' ';
  text += path.string();
  text += ": ";
  text += std::strerror(error);
  return text;
}

// Closes the descriptor on every path out.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : m_fd(fd) {}
  ~FileDescriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return m_fd; }
  // Closes now, reporting what close() says (NFS reports late write errors there).
  int close() {
    const int result = ::close(m_fd);
    m_fd = -1;
    return result;
  }

 private:
  int m_fd;
};

// Takes back a partial write so the file ends on a whole line.
void truncateBack(int fd, off_t size) {
  if (::ftruncate(fd, size) != 0) {
    // Nothing more can be done: the next line still starts after the
    // partial one, and a CSV reader sees one damaged record.
  }
}

}  // namespace

AppendResult AsRunLog::append(const PlayRecord& play) const noexcept {
  try {
    std::error_code error;
    std::filesystem::create_directories(m_folder, error);
    if (error) {
      return AppendResult::failure("cannot make the folder " + m_folder.string() + ": " +
                                   error.message());
    }
    const std::filesystem::path file = m_folder / fileNameFor(play);
    FileDescriptor fd(::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
    if (fd.get() < 0) return AppendResult::failure(describe("cannot open", file, errno));

    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) {
      return AppendResult::failure(describe("cannot examine", file, errno));
    }
    if (!S_ISREG(status.st_mode)) {
      return AppendResult::failure("not a regular file: " + file.string());
    }
    // A new (or empty) file starts with the header, in the same write.
    std::string bytes = status.st_size == 0 ? csvHeader() : std::string();
    bytes += csvLine(play);

    std::size_t written = 0;
    while (written < bytes.size()) {
      const ssize_t result = ::write(fd.get(), bytes.data() + written, bytes.size() - written);
      if (result < 0 && errno == EINTR) continue;
      if (result <= 0) {
        const int cause = result < 0 ? errno : ENOSPC;
        if (written > 0) truncateBack(fd.get(), status.st_size);
        return AppendResult::failure(describe("cannot write", file, cause));
      }
      written += std::size_t(result);
    }
    if (::fdatasync(fd.get()) != 0) {
      return AppendResult::failure(describe("cannot flush", file, errno));
    }
    if (fd.close() != 0) return AppendResult::failure(describe("cannot close", file, errno));
    return AppendResult::success();
  } catch (...) {
    // Only memory can run out here; the play is lost but the caller goes on.
    return AppendResult::failure("out of memory while writing the as-run log");
  }
}

}  // namespace quillon::asrun
