// The outcome of writing a settings file: written (or nothing needed
// writing), or why not. Writes never throw; the caller decides whether to
// tell the operator.
#pragma once

#include <string>
#include <utility>

namespace quillon::palette {

enum class WriteError {
  None,
  InvalidName,     // an empty section or key name, or one the file format cannot hold
  InvalidValue,    // a line break, a NUL byte, invalid UTF-8, or longer than the bound
  UnreadableFile,  // the file exists but could not be read whole: rewriting it would lose it
  WriteFailed,     // the platform refused: a missing folder, a read-only file, a full disk…
};

class WriteResult {
 public:
  static WriteResult success() { return WriteResult(WriteError::None, {}); }
  static WriteResult failure(WriteError error, std::string message) {
    return WriteResult(error, std::move(message));
  }

  bool ok() const { return m_error == WriteError::None; }
  explicit operator bool() const { return ok(); }
  WriteError error() const { return m_error; }
  // What went wrong, for a person to read; empty on success.
  const std::string& message() const { return m_message; }

 private:
  WriteResult(WriteError error, std::string message)
      : m_error(error), m_message(std::move(message)) {}

  WriteError m_error;
  std::string m_message;
};

}  // namespace quillon::palette
