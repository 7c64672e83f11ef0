#include "audio/readsession.h"

#include <algorithm>
#include <exception>

#include "audio/readpool.h"

namespace quillon::audio {

namespace {

enum class Call { Open, Seek, Read, Close };

// What the wrapped reader answered to one call.
struct Outcome {
  ReadResult result = ReadResult::Data;
  AudioBlock block;
  std::optional<FrameCount> reached;
  int status = -1;  // of an open
  FrameCount total = 0;
  AudioFormat format;
  std::string error;
};

// worker thread. No fault of the wrapped reader leaves the worker.
Outcome callReader(ReadSession& s, Call call, const std::string& path, FrameCount argument) {
  Outcome out;
  try {
    switch (call) {
      case Call::Open:
        out.status = s.reader->OpenFile(path);
        if (out.status >= 0) out.status = s.reader->FileStatus();
        out.total = s.reader->TotalSamples();
        out.format = s.reader->StreamFormat();
        out.error = s.reader->lastError();
        break;
      case Call::Seek:
        out.reached = s.reader->SeekSample(argument);
        if (!out.reached) out.error = s.reader->lastError();
        break;
      case Call::Read:
        out.result = s.reader->ReadBlock(argument, out.block);
        if (out.result == ReadResult::Late) {  // a wrapped reader answers at once
          out.result = ReadResult::Failed;
          out.error = "the reader did not answer";
        } else if (out.result == ReadResult::Failed) {
          out.error = s.reader->lastError();
        }
        break;
      case Call::Close:
        s.reader.reset();
        break;
    }
  } catch (const std::exception& e) {
    out.result = ReadResult::Failed;
    out.status = -1;
    out.error = e.what();
  } catch (...) {
    out.result = ReadResult::Failed;
    out.status = -1;
    out.error = "unknown fault in the reader";
  }
  return out;
}

// Takes an outcome in; the caller holds the session's mutex.
void apply(ReadSession& s, Call call, std::uint64_t generation, Outcome& out) {
  switch (call) {
    case Call::Open:
      s.opened = true;
      s.status = out.status;
      if (s.status >= 0 && !out.format.valid()) {
        s.status = -1;
        out.error = "the file has no playable format";
      }
      if (s.status >= 0) {
        s.total = out.total;
        s.format = out.format;
      }
      s.error = out.error;
      break;
    case Call::Seek:
      if (generation == s.generation && !out.reached) {
        s.tail = ReadResult::Failed;
        s.tailError = out.error;
      }
      break;
    case Call::Read:
      if (generation != s.generation) break;  // read before a seek: stale
      if (out.result != ReadResult::Data) {
        s.tail = out.result;
        s.tailError = out.error;
        break;
      }
      if (generation == 0 &&
          s.headFrames < msToFrames(ReadSession::kStartMs, s.format.sampleRate)) {
        s.head.push_back(out.block);
        s.headFrames += out.block.frames();
      }
      s.readyFrames += out.block.frames();
      s.ready.push_back(std::move(out.block));
      break;
    case Call::Close:
      s.closed = true;
      break;
  }
}

}  // namespace

bool ReadSession::answerReady() const {
  if (!opened) return false;
  if (status < 0 || tail) return true;
  const FrameCount wanted = wantFrames < 0 ? msToFrames(kStartMs, format.sampleRate) : wantFrames;
  return readyFrames >= wanted;
}

bool ReadSession::wantsWork() const {
  if (closed) return false;
  if (abandoned || !opened) return true;
  if (status < 0) return false;
  if (seekTo) return true;
  // A caller asking more than the usual ahead at once gets it too.
  const FrameCount wanted =
      std::max(msToFrames(kAheadMs, format.sampleRate), uiWaiting ? wantFrames : 0);
  return !tail && readyFrames < wanted;
}

void ReadSession::schedule(const std::shared_ptr<ReadSession>& session, ReadPool& pool) {
  if (session->scheduled || !session->wantsWork()) return;
  session->scheduled = true;
  pool.submit([session] { serve(session); });
}

void ReadSession::serve(const std::shared_ptr<ReadSession>& session) {
  ReadSession& s = *session;
  for (;;) {
    Call call = Call::Read;
    std::string path;
    FrameCount argument = 0;
    std::uint64_t generation = 0;
    {
      const std::lock_guard lock(s.mutex);
      if (!s.wantsWork()) {
        s.scheduled = false;
        return;
      }
      if (s.abandoned) {
        call = Call::Close;
      } else if (!s.opened) {
        call = Call::Open;
        path = s.path;
      } else if (s.seekTo) {
        call = Call::Seek;
        argument = *s.seekTo;
        s.seekTo.reset();
      } else {
        argument = s.chunkFrames();
      }
      generation = s.generation;
    }
    Outcome out = callReader(s, call, path, argument);
    bool answer = false;
    {
      const std::lock_guard lock(s.mutex);
      apply(s, call, generation, out);
      ++s.finishedCalls;
      if (s.uiWaiting && !s.abandoned && s.answerReady()) {
        s.uiWaiting = false;
        answer = true;
      }
    }
    if (answer && s.answer) s.answer();
  }
}

}  // namespace quillon::audio
