// One file opened by a read-ahead reader, as its worker and the UI thread
// share it. The worker owns the wrapped reader and does every call on it:
// the open, the seeks, the reads ahead and, once the UI has let the session
// go, the close. The UI thread only takes what is ready and leaves requests,
// under `mutex`, which no one holds across a call to the wrapped reader: a
// read stuck in the kernel never holds up the UI thread.
//
// Lock order: a session's `mutex`, then the pool's (schedule submits under
// it). The reader's link mutex is taken with neither held.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "audio/conversions.h"
#include "audio/reader.h"

namespace quillon::audio {

class ReadPool;

struct ReadSession {
  // Frames read per call of the wrapped reader (100 ms), frames ready before
  // an open is answered, and frames kept ready ahead of the UI thread.
  static constexpr std::int64_t kChunkMs = 100;
  static constexpr std::int64_t kStartMs = 200;
  static constexpr std::int64_t kAheadMs = 300;

  // worker only
  std::unique_ptr<Reader> reader;

  // The rest under `mutex`.
  std::mutex mutex;
  std::string path;
  bool opened = false;  // the open has its answer below
  int status = kFileOpening;
  FrameCount total = 0;
  AudioFormat format;
  std::string error;  // why the open failed

  std::optional<FrameCount> seekTo;  // asked for, not done yet
  std::uint64_t generation = 0;      // raised by a seek: reads from before it are stale
  std::deque<AudioBlock> ready;      // decoded, from the UI's read position on
  FrameCount frontUsed = 0;          // frames of ready.front() already handed out
  FrameCount readyFrames = 0;        // in `ready`, less frontUsed
  std::optional<ReadResult> tail;    // End or Failed after the ready frames
  std::string tailError;
  // The file's first frames, as read after the open: a seek to 0 (a loop, a
  // start again) is answered from them at once.
  std::deque<AudioBlock> head;
  FrameCount headFrames = 0;

  bool abandoned = false;           // the UI let it go: close the file, read nothing more
  bool closed = false;              // the wrapped reader is gone
  bool scheduled = false;           // a job serving it is queued or running
  bool uiWaiting = false;           // the UI waits for an answer: post one when it comes
  FrameCount wantFrames = 0;        // what the waiting UI needs ready; -1: a start's
  std::uint64_t finishedCalls = 0;  // calls of the wrapped reader that returned
  // Posts the answer to the UI thread (any thread).
  std::function<void()> answer;

  // What the UI waits for is there; the caller holds `mutex`.
  bool answerReady() const;
  bool wantsWork() const;  // the caller holds `mutex`
  FrameCount chunkFrames() const { return msToFrames(kChunkMs, format.sampleRate); }

  // Hands the worker the session if it has work and no job has it yet; the
  // caller holds `mutex`.
  static void schedule(const std::shared_ptr<ReadSession>& session, ReadPool& pool);
  // worker thread: does the session's work until there is none left.
  static void serve(const std::shared_ptr<ReadSession>& session);
};

}  // namespace quillon::audio
