// A regular file opened for FFmpeg's demuxers through the program's own reads.
//
// Opening checks the path with stat() and refuses anything but a regular file,
// so a named pipe or a device never blocks the caller; the open descriptor is
// checked again, so a path swapped in between is refused too. FFmpeg reads
// through pread() on that descriptor: a file deleted while it plays keeps
// playing, and one truncated while it plays ends where its data ends. Every
// read counts its bytes and honours a deadline and a byte budget, so that the
// analysis of a bad file stops after a bounded amount of work.
//
// Owned by one reader or information; UI thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "audio/fileidentity.h"

struct AVIOContext;

namespace quillon::audio {

struct IoContextDeleter {
  void operator()(AVIOContext* io) const;
};
// An FFmpeg I/O context over a FileInput, with its own read position.
using IoContextPtr = std::unique_ptr<AVIOContext, IoContextDeleter>;

class FileInput {
 public:
  // Nothing when the path is not a readable regular file; then `code` is a
  // negative AVERROR and `error` says why.
  static std::unique_ptr<FileInput> open(const std::string& path, int& code, std::string& error);
  ~FileInput();
  FileInput(const FileInput&) = delete;
  FileInput& operator=(const FileInput&) = delete;

  const FileIdentity& identity() const { return m_identity; }

  // A fresh I/O context reading this file from its first byte. This input
  // must outlive it.
  IoContextPtr newIoContext();

  // Up to `size` bytes at `offset`: the count read, 0 at the end of the data,
  // or a negative AVERROR (AVERROR_EXIT once a limit is reached).
  int readAt(std::int64_t offset, std::uint8_t* buffer, int size);
  // The size now, which may differ from identity().size if the file was
  // truncated or grew since it was opened; a negative AVERROR on failure.
  std::int64_t currentSize() const;

  // Bounds the work that follows: reads fail once `timeout` has passed or once
  // `byteBudget` more bytes have been read (0: no byte budget).
  void setLimits(std::chrono::milliseconds timeout, std::int64_t byteBudget = 0);
  bool limitReached() const;
  // For AVFormatContext::interrupt_callback: non-zero once a limit is reached.
  static int interruptCallback(void* input);

  // Bytes read since the file was opened.
  std::int64_t bytesRead() const { return m_bytesRead; }
  // The AVERROR of the last read the system refused (an I/O error), or 0.
  int lastReadError() const { return m_lastReadError; }

 private:
  FileInput(int fd, FileIdentity identity) : m_fd(fd), m_identity(std::move(identity)) {}

  int m_fd = -1;
  FileIdentity m_identity;
  std::int64_t m_bytesRead = 0;
  int m_lastReadError = 0;
  std::int64_t m_byteLimit = 0;  // bytesRead at which reads stop; 0: none
  std::chrono::steady_clock::time_point m_deadline = std::chrono::steady_clock::time_point::max();
};

}  // namespace quillon::audio
