// Where a cart reports its plays as they end, and the wall clock that dates
// them. UI thread: a report must return at once (the program's hands each
// play to the writer thread).
#pragma once

#include <chrono>

#include "asrun/playrecord.h"

namespace quillon::asrun {

class PlayReport {
 public:
  virtual ~PlayReport() = default;
  virtual std::chrono::system_clock::time_point now() const {
    return std::chrono::system_clock::now();
  }
  virtual void played(PlayRecord play) = 0;
};

}  // namespace quillon::asrun
