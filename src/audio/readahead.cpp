#include "audio/readahead.h"

#include <algorithm>
#include <mutex>

#include "audio/readsession.h"

namespace quillon::audio {

namespace {

constexpr int kNoFile = -1;

}  // namespace

// What a worker's answer needs to reach the reader: the scheduler while the
// reader lives (any thread, under `mutex`) and the reader itself (UI thread).
struct ReadAheadReader::Link {
  std::mutex mutex;
  UiScheduler* scheduler = nullptr;
  ReadAheadReader* reader = nullptr;
};

ReadAheadReader::ReadAheadReader(MakeReader makeReader, ReadPool& pool, UiScheduler& scheduler)
    : m_makeReader(std::move(makeReader)),
      m_pool(pool),
      m_scheduler(scheduler),
      m_link(std::make_shared<Link>()),
      m_status(kNoFile) {
  m_link->scheduler = &scheduler;
  m_link->reader = this;
}

ReadAheadReader::~ReadAheadReader() {
  letSessionGo();
  {
    const std::lock_guard lock(m_link->mutex);
    m_link->scheduler = nullptr;
  }
  m_link->reader = nullptr;
}

void ReadAheadReader::letSessionGo() {
  stopWatching();
  if (!m_session) return;
  {
    const std::lock_guard lock(m_session->mutex);
    m_session->abandoned = true;
    m_session->uiWaiting = false;
    m_session->ready.clear();
    m_session->head.clear();
    ReadSession::schedule(m_session, m_pool);  // the worker closes the file
  }
  m_session.reset();
}

int ReadAheadReader::OpenFile(const std::string& path) {
  letSessionGo();
  m_total = 0;
  m_format = AudioFormat{};
  m_error.clear();
  auto session = std::make_shared<ReadSession>();
  session->reader = m_makeReader();
  session->path = path;
  session->uiWaiting = true;
  session->wantFrames = -1;
  session->answer = [link = m_link, weak = std::weak_ptr<ReadSession>(session)] {
    const std::lock_guard lock(link->mutex);
    if (link->scheduler == nullptr) return;
    link->scheduler->post([link, weak] {
      if (link->reader != nullptr) link->reader->answered(weak.lock().get());
    });
  };
  m_session = session;
  m_status = kFileOpening;
  {
    const std::lock_guard lock(session->mutex);
    ReadSession::schedule(session, m_pool);
  }
  waitForAnswer();
  return m_status;
}

void ReadAheadReader::CloseFile() {
  letSessionGo();
  m_status = kNoFile;
  m_total = 0;
  m_format = AudioFormat{};
}

ReadResult ReadAheadReader::ReadBlock(FrameCount frames, AudioBlock& block) {
  block.samples.clear();
  block.channels = m_format.channels;
  block.sampleRate = m_format.sampleRate;
  if (m_status == kFileOpening) return ReadResult::Late;
  if (!m_session || m_status < 0) {
    if (m_status != kStalled) m_error = "No file is open";
    return ReadResult::Failed;
  }
  if (frames <= 0) {
    m_error = "A block must hold at least one frame";
    return ReadResult::Failed;
  }
  ReadSession& s = *m_session;
  {
    const std::lock_guard lock(s.mutex);
    const FrameCount n = std::min(frames, s.readyFrames);
    if (n == 0 && s.tail) {
      if (*s.tail == ReadResult::Failed) m_error = s.tailError;
      return *s.tail;
    }
    if (n < frames && !s.tail) {
      s.uiWaiting = true;
      s.wantFrames = frames;
      ReadSession::schedule(m_session, m_pool);
    } else {
      const int channels = m_format.channels;
      if (s.frontUsed == 0 && s.ready.front().frames() == n) {
        block.samples = std::move(s.ready.front().samples);  // the usual case: no copy
        s.ready.pop_front();
      } else {
        block.samples.reserve(static_cast<std::size_t>(n * channels));
        for (FrameCount left = n; left > 0;) {
          AudioBlock& front = s.ready.front();
          const FrameCount take = std::min(left, front.frames() - s.frontUsed);
          const auto first =
              front.samples.begin() + static_cast<std::ptrdiff_t>(s.frontUsed * channels);
          block.samples.insert(block.samples.end(), first,
                               first + static_cast<std::ptrdiff_t>(take * channels));
          s.frontUsed += take;
          left -= take;
          if (s.frontUsed == front.frames()) {
            s.ready.pop_front();
            s.frontUsed = 0;
          }
        }
      }
      s.readyFrames -= n;
      ReadSession::schedule(m_session, m_pool);
      return ReadResult::Data;
    }
  }
  waitForAnswer();
  return ReadResult::Late;
}

std::optional<FrameCount> ReadAheadReader::SeekSample(FrameCount frame) {
  if (!m_session || (m_status < 0)) {
    if (m_status != kStalled) m_error = "No file is open";
    return std::nullopt;
  }
  const FrameCount target = m_status == kFileOpening ? std::max<FrameCount>(frame, 0)
                                                     : std::clamp<FrameCount>(frame, 0, m_total);
  ReadSession& s = *m_session;
  const std::lock_guard lock(s.mutex);
  s.ready.clear();
  s.frontUsed = 0;
  s.readyFrames = 0;
  s.tail.reset();
  ++s.generation;
  if (target == 0 && s.headFrames > 0) {
    s.ready = s.head;
    s.readyFrames = s.headFrames;
    s.seekTo = s.headFrames;
  } else {
    s.seekTo = target;
  }
  ReadSession::schedule(m_session, m_pool);
  return target;
}

FrameCount ReadAheadReader::framesReady() const {
  if (!m_session) return 0;
  const std::lock_guard lock(m_session->mutex);
  return m_session->readyFrames;
}

void ReadAheadReader::waitForAnswer() {
  if (m_watch != 0 || !m_session) return;
  m_lastProgress = m_scheduler.now();
  {
    const std::lock_guard lock(m_session->mutex);
    m_seenCalls = m_session->finishedCalls;
  }
  m_watch = m_scheduler.startRepeating(kWatchPeriod, [this] { watch(); });
}

void ReadAheadReader::stopWatching() {
  if (m_watch == 0) return;
  m_scheduler.stopRepeating(m_watch);
  m_watch = 0;
}

void ReadAheadReader::watch() {
  if (!m_session) {
    stopWatching();
    return;
  }
  bool waiting = false;
  std::uint64_t calls = 0;
  std::string path;
  {
    const std::lock_guard lock(m_session->mutex);
    waiting = m_session->uiWaiting;
    calls = m_session->finishedCalls;
    path = m_session->path;
  }
  if (!waiting) {  // the answer is on its way
    stopWatching();
    return;
  }
  const auto now = m_scheduler.now();
  if (calls != m_seenCalls) {  // slow, but answering
    m_seenCalls = calls;
    m_lastProgress = now;
    return;
  }
  if (now - m_lastProgress < kAnswerBound) return;
  letSessionGo();
  m_status = kStalled;
  m_total = 0;
  m_format = AudioFormat{};
  m_error = "The file did not answer within " +
            std::to_string(std::chrono::duration_cast<std::chrono::seconds>(kAnswerBound).count()) +
            " s: " + path;
  if (m_handler != nullptr) m_handler->ReaderStalled();
}

void ReadAheadReader::answered(const ReadSession* session) {
  if (session == nullptr || session != m_session.get()) return;  // a file let go
  bool waiting = false;
  {
    const std::lock_guard lock(m_session->mutex);
    if (m_status == kFileOpening) {
      if (!m_session->opened) return;
      m_status = m_session->status;
      m_total = m_session->total;
      m_format = m_session->format;
      m_error = m_session->error;
    }
    waiting = m_session->uiWaiting;
  }
  if (!waiting) stopWatching();
  if (m_handler != nullptr) m_handler->ReaderAnswered();
}

}  // namespace quillon::audio
