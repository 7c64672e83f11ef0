#include "audio/fileidentity.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace quillon::audio {

std::optional<FileIdentity> identityOf(const std::string& path, std::string& error) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    error = std::string(std::strerror(errno)) + ": " + path;
    return std::nullopt;
  }
  if (!S_ISREG(status.st_mode)) {
    error = "not a regular file: " + path;
    return std::nullopt;
  }
  return identityFrom(path, status);
}

FileIdentity identityFrom(const std::string& path, const struct stat& status) {
  FileIdentity identity;
  identity.path = path;
  identity.size = status.st_size;
  identity.modifiedNs =
      static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
  identity.device = status.st_dev;
  identity.inode = status.st_ino;
  return identity;
}

}  // namespace quillon::audio
