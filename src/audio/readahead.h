// Reading ahead of the carts, off the UI thread. A ReadAheadReader hands the
// cart's calls to a worker of the read pool and answers at once from what
// the worker has ready: the UI thread never decodes, and never waits on the
// disk or on a thread that does.
// - OpenFile answers kFileOpening; the worker opens the file and decodes
//   its first 200 ms, then the events handler hears ReaderAnswered.
// - ReadBlock takes ready frames, or answers Late (nothing consumed) and the
//   handler hears ReaderAnswered once the frames are there.
// - SeekSample answers at once with the frame it will reach; a failure comes
//   with the next ReadBlock. A seek to 0 is answered from the file's first
//   frames, kept since the open, so a loop restarts without a gap.
// - OpenFile, CloseFile and the destructor let the file's session go: a
//   call in progress is left to end on its worker, its answer thrown away,
//   and the worker closes the file.
// - While the UI waits (an open, a Late read), a call of the wrapped reader
//   that has not returned within kAnswerBound gives the file up: FileStatus
//   turns negative, lastError says why, the handler hears ReaderStalled.
// The blocks, results and errors come out in the order the wrapped reader
// gives them, cut to the sizes asked.
//
// A cart's `AudioFile` in the program. UI thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

#include "audio/reader.h"
#include "audio/readpool.h"
#include "audio/scheduler.h"

namespace quillon::audio {

struct ReadSession;

class ReadAheadReader final : public Reader {
 public:
  using MakeReader = std::function<std::unique_ptr<Reader>()>;
  // How long the wrapped reader may take over one call the UI waits for.
  static constexpr std::chrono::milliseconds kAnswerBound{2000};
  // How often a waiting reader looks at the time.
  static constexpr std::chrono::milliseconds kWatchPeriod{100};
  // FileStatus of a file given up.
  static constexpr int kStalled = -2;

  // `makeReader` gives a fresh wrapped reader for each file opened.
  ReadAheadReader(MakeReader makeReader, ReadPool& pool, UiScheduler& scheduler);
  ~ReadAheadReader() override;
  ReadAheadReader(const ReadAheadReader&) = delete;
  ReadAheadReader& operator=(const ReadAheadReader&) = delete;

  void setEventHandler(ReaderEvents* handler) override { m_handler = handler; }
  int OpenFile(const std::string& path) override;
  int FileStatus() const override { return m_status; }
  FrameCount TotalSamples() const override { return m_total; }
  AudioFormat StreamFormat() const override { return m_format; }
  ReadResult ReadBlock(FrameCount frames, AudioBlock& block) override;
  std::optional<FrameCount> SeekSample(FrameCount frame) override;
  void CloseFile() override;
  std::string lastError() const override { return m_error; }

  // Frames decoded and waiting; for measurements and tests.
  FrameCount framesReady() const;

  struct Link;

 private:
  void letSessionGo();
  void waitForAnswer();  // the UI waits: watch the time
  void watch();          // the waiting timer's tick
  void answered(const ReadSession* session);
  void stopWatching();

  MakeReader m_makeReader;
  ReadPool& m_pool;
  UiScheduler& m_scheduler;
  ReaderEvents* m_handler = nullptr;
  std::shared_ptr<Link> m_link;  // lets the workers' answers find this reader
  std::shared_ptr<ReadSession> m_session;

  int m_status;
  FrameCount m_total = 0;
  AudioFormat m_format;
  std::string m_error;

  // The stall watch, while the UI waits.
  TimerId m_watch = 0;
  std::chrono::nanoseconds m_lastProgress{0};
  std::uint64_t m_seenCalls = 0;
};

}  // namespace quillon::audio
