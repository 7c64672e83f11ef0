// Decoding ahead of the carts. A ReadAheadReader wraps a cart's reader and
// hands out blocks that the read-ahead thread has already decoded, so the UI
// thread neither decodes nor waits on the disk while a show runs: 26 carts
// decoding on it took more than the UI can spare, and a file on a slow
// network share stalled every cart's feed behind it.
//
// The reader's contract is unchanged: the blocks, results and errors come
// out in the same order, of the same size, as the wrapped reader gives them.
// Read-ahead starts after the first ReadBlock of a play (that block and any
// block not yet decoded are read at once, on the caller's thread) and keeps
// kDepth blocks of the caller's block size ready. OpenFile, SeekSample and
// CloseFile drop what was read ahead and wait for a block being decoded.
//
// Locking: a reader's `decodeMutex` is held while its wrapped reader is used
// (by either thread); the shared mutex guards every reader's queue and is
// held only briefly. decodeMutex is always taken before the shared mutex.
#pragma once

#include <cstdint>
#include <memory>

#include "audio/lanethread.h"
#include "audio/reader.h"

namespace quillon::audio {

namespace readahead {
struct Lane;
}  // namespace readahead

// The read-ahead thread, shared by every reader made with it. Owned by the
// engine; UI thread. Readers that outlive it read on their caller's thread.
class ReadAheadThread : public LaneThread {};

// A cart's reader, decoded ahead. UI thread.
class ReadAheadReader final : public Reader {
 public:
  // Blocks kept decoded ahead of the caller.
  static constexpr std::size_t kDepth = 2;

  ReadAheadReader(std::unique_ptr<Reader> wrapped, ReadAheadThread& thread);
  ~ReadAheadReader() override;

  int OpenFile(const std::string& path) override;
  int FileStatus() const override { return m_status; }
  FrameCount TotalSamples() const override { return m_total; }
  AudioFormat StreamFormat() const override { return m_format; }
  ReadResult ReadBlock(FrameCount frames, AudioBlock& block) override;
  std::optional<FrameCount> SeekSample(FrameCount frame) override;
  void CloseFile() override;
  std::string lastError() const override { return m_error; }

  // Blocks handed out that were decoded ahead, and blocks waiting now; for
  // measurements and tests.
  std::int64_t blocksFromReadAhead() const { return m_fromReadAhead; }
  std::size_t blocksReady() const;
  bool fillingUp() const;  // the thread has more to read ahead for this reader

 private:
  // Drops what was read ahead and stops reading ahead; the caller holds
  // the lane's decodeMutex.
  void forgetReadAhead();
  // Takes the oldest block read ahead if it answers a request of `frames`.
  bool takeReady(FrameCount frames, AudioBlock& block, ReadResult& result);
  void noteFile();

  std::shared_ptr<LanePool> m_shared;
  std::shared_ptr<readahead::Lane> m_lane;
  int m_status = 0;
  FrameCount m_total = 0;
  AudioFormat m_format;
  std::string m_error;
  FrameCount m_position = 0;  // frame of the next sample handed out
  std::int64_t m_fromReadAhead = 0;
};

}  // namespace quillon::audio
