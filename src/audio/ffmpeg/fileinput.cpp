#include "audio/ffmpeg/fileinput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern "C" {
#include <libavformat/avio.h>
#include <libavutil/error.h>
#include <libavutil/mem.h>
}

namespace quillon::audio {
namespace {

// FFmpeg's own file protocol reads in pieces of this size.
constexpr int kIoBufferBytes = 32768;

struct IoCursor {
  FileInput* input;
  std::int64_t offset;
};

int readPacket(void* opaque, std::uint8_t* buffer, int size) {
  auto* cursor = static_cast<IoCursor*>(opaque);
  const int got = cursor->input->readAt(cursor->offset, buffer, size);
  if (got == 0) return AVERROR_EOF;
  if (got > 0) cursor->offset += got;
  return got;
}

std::int64_t seekCursor(void* opaque, std::int64_t offset, int whence) {
  auto* cursor = static_cast<IoCursor*>(opaque);
  whence &= ~AVSEEK_FORCE;
  if (whence == AVSEEK_SIZE) return cursor->input->currentSize();
  std::int64_t base = 0;
  if (whence == SEEK_CUR) {
    base = cursor->offset;
  } else if (whence == SEEK_END) {
    base = cursor->input->currentSize();
    if (base < 0) return base;
  } else if (whence != SEEK_SET) {
    return AVERROR(EINVAL);
  }
  if (offset > INT64_MAX - base || base + offset < 0) return AVERROR(EINVAL);
  cursor->offset = base + offset;
  return cursor->offset;
}

std::string describeOpenFailure(int err, const std::string& path) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
      return "The file does not exist: " + path;
    case EACCES:
    case EPERM:
      return "No permission to read the file: " + path;
    default:
      return "The file cannot be opened (" + std::string(std::strerror(err)) + "): " + path;
  }
}

std::string describeNonRegular(mode_t mode, const std::string& path) {
  if (S_ISDIR(mode)) return "This is a folder, not an audio file: " + path;
  if (S_ISFIFO(mode)) return "This is a named pipe, not an audio file: " + path;
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "This is a device, not an audio file: " + path;
  return "This is not a regular file: " + path;
}

}  // namespace

void IoContextDeleter::operator()(AVIOContext* io) const {
  if (io == nullptr) return;
  delete static_cast<IoCursor*>(io->opaque);
  av_freep(&io->buffer);  // FFmpeg may have replaced the buffer it was given
  avio_context_free(&io);
}

std::unique_ptr<FileInput> FileInput::open(const std::string& path, int& code, std::string& error) {
  struct stat before {};
  if (path.empty()) {
    code = AVERROR(ENOENT);
    error = "No file was given";
    return nullptr;
  }
  if (::stat(path.c_str(), &before) != 0) {
    code = AVERROR(errno);
    error = describeOpenFailure(errno, path);
    return nullptr;
  }
  // Refused before open(): opening a pipe waits for a writer, and opening a
  // device may act on it.
  if (!S_ISREG(before.st_mode)) {
    code = AVERROR(EINVAL);
    error = describeNonRegular(before.st_mode, path);
    return nullptr;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    code = AVERROR(errno);
    error = describeOpenFailure(errno, path);
    return nullptr;
  }
  struct stat after {};
  if (::fstat(fd, &after) != 0) {
    const int err = errno;
    ::close(fd);
    code = AVERROR(err);
    error = describeOpenFailure(err, path);
    return nullptr;
  }
  if (!S_ISREG(after.st_mode)) {  // swapped for something else since stat()
    ::close(fd);
    code = AVERROR(EINVAL);
    error = describeNonRegular(after.st_mode, path);
    return nullptr;
  }
  code = 0;
  return std::unique_ptr<FileInput>(new FileInput(fd, identityFrom(path, after)));
}

FileInput::~FileInput() {
  if (m_fd >= 0) ::close(m_fd);
}

IoContextPtr FileInput::newIoContext() {
  auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferBytes));
  if (buffer == nullptr) return nullptr;
  auto* cursor = new IoCursor{this, 0};
  AVIOContext* io =
      avio_alloc_context(buffer, kIoBufferBytes, 0, cursor, readPacket, nullptr, seekCursor);
  if (io == nullptr) {
    delete cursor;
    av_free(buffer);
    return nullptr;
  }
  return IoContextPtr(io);
}

int FileInput::readAt(std::int64_t offset, std::uint8_t* buffer, int size) {
  if (limitReached()) return AVERROR_EXIT;
  if (m_byteLimit > 0 && m_bytesRead + size > m_byteLimit) {
    size = static_cast<int>(m_byteLimit - m_bytesRead);
  }
  for (;;) {
    const ssize_t got = ::pread(m_fd, buffer, static_cast<std::size_t>(size), offset);
    if (got >= 0) {
      m_bytesRead += got;
      return static_cast<int>(got);
    }
    if (errno != EINTR) {
      m_lastReadError = AVERROR(errno);
      return m_lastReadError;
    }
  }
}

std::int64_t FileInput::currentSize() const {
  struct stat now {};
  if (::fstat(m_fd, &now) != 0) return AVERROR(errno);
  return now.st_size;
}

void FileInput::setLimits(std::chrono::milliseconds timeout, std::int64_t byteBudget) {
  m_deadline = std::chrono::steady_clock::now() + timeout;
  m_byteLimit = byteBudget > 0 ? m_bytesRead + byteBudget : 0;
}

bool FileInput::limitReached() const {
  if (m_byteLimit > 0 && m_bytesRead >= m_byteLimit) return true;
  return std::chrono::steady_clock::now() >= m_deadline;
}

int FileInput::interruptCallback(void* input) {
  return static_cast<const FileInput*>(input)->limitReached() ? 1 : 0;
}

}  // namespace quillon::audio
