// Carries plays from the user-interface thread to the as-run files on a
// thread of its own, so that a slow, full or vanished disk never holds up a
// cart. Lines that cannot be written wait in memory, in order, up to a bound
// (the oldest go first beyond it), and are tried again when the next play
// arrives or after a pause.
//
// played(), drain() and the destructor: the owner's thread (the UI thread).
// The callbacks run on the writer's thread.
#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "asrun/playreport.h"

namespace quillon::asrun {

struct AsRunWriterOptions {
  std::size_t maxWaiting = 10000;  // lines kept while the disk refuses them
  std::chrono::milliseconds retryAfter{5000};
  // How long the end of the program waits for the lines still waiting.
  std::chrono::milliseconds shutdownWait{3000};
};

struct AsRunWriterCallbacks {
  // A line could not be written: once, until a line is written again.
  std::function<void(const std::string& message)> trouble;
  // Lines are written again after a trouble.
  std::function<void()> recovered;
};

class AsRunWriter : public PlayReport {
 public:
  AsRunWriter(std::filesystem::path folder, AsRunWriterCallbacks callbacks,
              AsRunWriterOptions options = {});
  // Writes what waits, for at most options.shutdownWait, then ends; a disk
  // that hangs past that leaves its lines unwritten rather than the program
  // running on.
  ~AsRunWriter() override;
  AsRunWriter(const AsRunWriter&) = delete;
  AsRunWriter& operator=(const AsRunWriter&) = delete;

  // Never blocks on the disk.
  void played(PlayRecord play) override;
  // Returns once every line handed over is written, or has been tried since
  // it arrived and waits for the disk.
  void drain();
  // Lines waiting for the disk; lines given up beyond the bound.
  std::size_t waiting() const;
  std::size_t dropped() const;

 private:
  struct Shared;
  std::shared_ptr<Shared> m_shared;
};

}  // namespace quillon::asrun
