// Appends plays to the as-run files in one folder: a file per local day,
// created with its header line. Each play is one write() of its whole line,
// flushed to the disk before the file is closed, so a crash or a power cut
// loses no line already written, and a line is never half present.
//
// Owned by one thread (the caller): the calls block on the disk, so the
// program calls them away from the user-interface thread. Never throws.
#pragma once

#include <filesystem>
#include <string>
#include <utility>

#include "asrun/playrecord.h"

namespace quillon::asrun {

class AppendResult {
 public:
  static AppendResult success() { return AppendResult({}); }
  static AppendResult failure(std::string message) { return AppendResult(std::move(message)); }

  bool ok() const { return m_message.empty(); }
  explicit operator bool() const { return ok(); }
  // What went wrong, for a person to read; empty on success.
  const std::string& message() const { return m_message; }

 private:
  explicit AppendResult(std::string message) : m_message(std::move(message)) {}
  std::string m_message;
};

class AsRunLog {
 public:
  explicit AsRunLog(std::filesystem::path folder) : m_folder(std::move(folder)) {}

  const std::filesystem::path& folder() const { return m_folder; }

  // Writes the play's line into the file of the day it started, making the
  // folder and the file (with its header) when missing. On failure nothing
  // is written: a missing folder that cannot be made, a full disk, a file
  // that is not a regular file.
  AppendResult append(const PlayRecord& play) const noexcept;

 private:
  std::filesystem::path m_folder;
};

}  // namespace quillon::asrun
