#include "audio/readahead.h"

#include <deque>
#include <mutex>

namespace quillon::audio {

namespace readahead {

struct Item {
  ReadResult result = ReadResult::End;
  AudioBlock block;
  std::string error;  // why, when the read failed
};

// One reader's state. `wrapped` only under decodeMutex; the rest only under
// the pool's mutex.
struct Lane : WorkLane {
  std::mutex decodeMutex;
  std::unique_ptr<Reader> wrapped;

  std::deque<Item> ready;
  FrameCount blockFrames = 0;  // the caller's block size; 0 before its first read
  bool active = false;         // reading ahead: a file is open and read from
  bool ended = false;          // End or Failed is queued: nothing follows it

  bool wantsWork() const override {
    return active && !ended && blockFrames > 0 && ready.size() < ReadAheadReader::kDepth;
  }

  // read-ahead thread
  void serve(std::mutex& poolMutex) override {
    const std::lock_guard decoding(decodeMutex);
    FrameCount frames = 0;
    {
      // The caller may have read, sought or closed since the thread chose this lane.
      const std::lock_guard lock(poolMutex);
      if (!wantsWork() || wrapped == nullptr) return;
      frames = blockFrames;
    }
    Item item;
    item.result = wrapped->ReadBlock(frames, item.block);
    if (item.result == ReadResult::Failed) item.error = wrapped->lastError();
    const std::lock_guard lock(poolMutex);
    ended = item.result != ReadResult::Data;
    ready.push_back(std::move(item));
  }
};

}  // namespace readahead

using readahead::Item;
using readahead::Lane;

ReadAheadReader::ReadAheadReader(std::unique_ptr<Reader> wrapped, ReadAheadThread& thread)
    : m_shared(thread.pool()), m_lane(std::make_shared<Lane>()) {
  m_lane->wrapped = std::move(wrapped);
  noteFile();
  m_shared->add(m_lane);
}

ReadAheadReader::~ReadAheadReader() {
  // Waits for a block being decoded; the thread then finds the lane idle.
  const std::lock_guard decoding(m_lane->decodeMutex);
  forgetReadAhead();
  m_lane->wrapped.reset();
}

void ReadAheadReader::forgetReadAhead() {
  const std::lock_guard lock(m_shared->mutex);
  m_lane->ready.clear();
  m_lane->active = false;
  m_lane->ended = false;
}

void ReadAheadReader::noteFile() {
  m_status = m_lane->wrapped->FileStatus();
  m_total = m_lane->wrapped->TotalSamples();
  m_format = m_lane->wrapped->StreamFormat();
}

int ReadAheadReader::OpenFile(const std::string& path) {
  const std::lock_guard decoding(m_lane->decodeMutex);
  forgetReadAhead();
  m_lane->wrapped->OpenFile(path);
  noteFile();
  m_position = 0;
  m_error = m_lane->wrapped->lastError();
  return m_status;
}

void ReadAheadReader::CloseFile() {
  const std::lock_guard decoding(m_lane->decodeMutex);
  forgetReadAhead();
  m_lane->wrapped->CloseFile();
  noteFile();
  m_position = 0;
}

bool ReadAheadReader::takeReady(FrameCount frames, AudioBlock& block, ReadResult& result) {
  bool wake = false;
  {
    const std::lock_guard lock(m_shared->mutex);
    Lane& lane = *m_lane;
    if (lane.ready.empty() || lane.blockFrames != frames) return false;
    Item& item = lane.ready.front();
    result = item.result;
    block = std::move(item.block);
    m_error = std::move(item.error);
    lane.ready.pop_front();
    wake = lane.wantsWork();
  }
  m_position += block.frames();
  ++m_fromReadAhead;
  if (wake) m_shared->wake.notify_one();
  return true;
}

ReadResult ReadAheadReader::ReadBlock(FrameCount frames, AudioBlock& block) {
  ReadResult result = ReadResult::End;
  if (takeReady(frames, block, result)) return result;
  // Nothing ready: wait for a block being decoded, or read it here.
  const std::lock_guard decoding(m_lane->decodeMutex);
  if (takeReady(frames, block, result)) return result;
  bool aheadOfCaller = false;
  {
    const std::lock_guard lock(m_shared->mutex);
    aheadOfCaller = !m_lane->ready.empty();  // blocks of another size
  }
  if (aheadOfCaller) {
    // Rare: the block size changed within a play. Back to the caller.
    forgetReadAhead();
    if (!m_lane->wrapped->SeekSample(m_position)) {
      m_error = m_lane->wrapped->lastError();
      return ReadResult::Failed;
    }
  }
  block = {};
  result = m_lane->wrapped->ReadBlock(frames, block);
  m_error = result == ReadResult::Failed ? m_lane->wrapped->lastError() : std::string{};
  m_position += block.frames();
  {
    const std::lock_guard lock(m_shared->mutex);
    m_lane->blockFrames = frames;
    m_lane->active = true;
    m_lane->ended = result != ReadResult::Data;
  }
  m_shared->wake.notify_one();
  return result;
}

std::size_t ReadAheadReader::blocksReady() const {
  const std::lock_guard lock(m_shared->mutex);
  return m_lane->ready.size();
}

bool ReadAheadReader::fillingUp() const {
  const std::lock_guard lock(m_shared->mutex);
  return m_lane->wantsWork();
}

std::optional<FrameCount> ReadAheadReader::SeekSample(FrameCount frame) {
  const std::lock_guard decoding(m_lane->decodeMutex);
  forgetReadAhead();
  const auto reached = m_lane->wrapped->SeekSample(frame);
  if (!reached) {
    m_error = m_lane->wrapped->lastError();
    return reached;
  }
  m_position = *reached;
  {
    const std::lock_guard lock(m_shared->mutex);
    m_lane->active = m_lane->blockFrames > 0;
  }
  m_shared->wake.notify_one();
  return reached;
}

}  // namespace quillon::audio
