// Playback of a cart: start, stop, the feeding of 100 ms blocks, the end of
// the file, the loop, the fades, pause and resume, and the jump of the
// position thumb. UI thread. The seamless loop's reading and seams are in
// cartloop.cpp.
#include <algorithm>
#include <exception>
#include <string>
#include <utility>

#include "cart/cartouche.h"
#include "cart/displayvalues.h"
#include "cart/lookchange.h"

namespace quillon::cart {

namespace {

constexpr std::int64_t kBlockMs = 100;
constexpr int kRecentSampleCount = geometry::kTracePoints;

}  // namespace

template <typename Step>
void Cartouche::guarded(Step step) {
  try {
    step();
  } catch (const std::exception& e) {
    stopAfterFault(std::string("cannot play ") + m_path + ": " + e.what());
  } catch (...) {
    stopAfterFault("cannot play " + m_path);
  }
}

void Cartouche::ListenMusic() { listen(asrun::StartCause::Click); }

void Cartouche::listen(asrun::StartCause cause, bool preListen) {
  const LookChange change(*this);
  StopMusic(asrun::EndReason::Stopped);
  // From here on the start plays through the player it is for.
  m_preListen = preListen;
  m_player = preListen ? m_cuePlayer.get() : m_airPlayer.get();
  m_paused = false;
  m_thumb.endDrag();
  m_background = Background::Play;
  // A start that fails shows the idle look again at once: a cart never looks
  // playing while it is silent.
  bool started = false;
  guarded([&] { started = startPlayback(); });
  if (started) {
    if (!m_preListen) beginPlay(cause);  // a pre-listen is not a play
  } else {
    m_background = Background::Stop;
    useAirPlayer();
  }
}

void Cartouche::useAirPlayer() {
  m_preListen = false;
  m_player = m_airPlayer.get();
}

bool Cartouche::startPlayback() {
  if (m_path.empty()) return false;
  // A file that could not be analysed is tried again: it may have come back.
  if (m_fileMissing && !bind(m_path)) return false;
  if (m_reader->OpenFile(m_path) == audio::kFileOpening) {
    // The reader opens the file on its own thread and answers through
    // AudioFile_Answered; until then the cart counts as started (its letter
    // stops it) but feeds nothing.
    m_playing = true;
    m_opening = true;
    ++m_playEpoch;
    return true;
  }
  return finishStart();
}

bool Cartouche::finishStart() {
  m_playing = false;
  m_opening = false;
  if (m_reader->FileStatus() < 0) {
    markMissing(m_reader->lastError());
    return false;
  }
  // Binding may not have had the file's length yet: the reader's count is
  // the same exact one, and the fades below depend on it.
  adoptReaderLength();
  m_sampleOffset = 0;
  if (m_reader->TotalSamples() <= 0) {
    m_lastError = "no audio in " + m_path;
    m_reader->CloseFile();
    return false;
  }
  if (!m_player->SetFormat(m_reader->StreamFormat())) {
    m_lastError = m_player->lastError();
    m_reader->CloseFile();
    return false;
  }
  m_blockSamples = m_player->MsToSamples(kBlockMs);
  m_totalMs = m_player->SamplesToMs(m_reader->TotalSamples());
  m_readPosition = 0;
  if (m_player->OpenOutput() < 0 || m_player->OutputStatus() < 0) {
    m_lastError = m_player->lastError();
    // Shown on the cart, so that a fire on a device that failed or went is
    // never silence with no sign.
    m_startFailure = m_lastError;
    m_reader->CloseFile();
    return false;
  }
  m_startFailure.clear();
  outputRestarted();
  m_playing = true;
  if (m_countdown) showRunningTime(0);  // the whole length left, from the start
  m_fade = fadeAt(fadeSettings(), fadeRamp(), 0);
  takeNormalisation();
  m_gain.Restart();
  ++m_playEpoch;
  FeedBuffer();
  FeedBuffer();
  return m_playing;  // a first block that cannot be read has stopped it already
}

void Cartouche::StopMusic(asrun::EndReason why) {
  endPlay(why);
  // Every step always runs: stopping must complete whatever failed before.
  m_background = Background::Stop;
  m_playing = false;
  if (m_paused) m_pauseLight.off();
  m_thumbLight.off();
  m_paused = false;
  m_opening = false;
  m_owedFeeds = 0;
  // Neither waits for a read in progress; a fault in one leaves the other
  // to run.
  try {
    m_player->CloseOutput();
  } catch (...) {
  }
  outputRestarted();
  try {
    m_reader->CloseFile();
  } catch (...) {
  }
  m_thumb.toLeftEnd();
  m_runningTime = runningTimeText(0);
  m_shownMs = 0;
  m_trace.clear();
  m_fadeToSilence.cancel();
  ++m_playEpoch;
  useAirPlayer();
}

void Cartouche::showRunningTime(std::int64_t ms) {
  m_shownMs = ms;
  m_runningTime = m_countdown ? countdownText(m_totalMs - ms) : runningTimeText(ms);
}

void Cartouche::stopAfterFault(const std::string& reason, asrun::EndReason why) {
  m_lastError = reason;
  StopMusic(why);
}

void Cartouche::FeedBuffer() {
  // A paused cart has no open output: its resume feeds it again; an opening
  // one has none yet.
  if (!m_playing || m_paused || m_endMarked || m_opening) return;
  if (m_fadeToSilence.finished()) {
    markEnd();  // the fade has reached silence: play out, then stop
    return;
  }
  // Runs from the player's requests and from the operator's commands alike:
  // whatever fails in here ends with a stopped cart, never a silent one that
  // looks playing, nor the end of the program.
  try {
    const audio::FrameCount firstFrame = m_readPosition;
    audio::AudioBlock block;
    if (!readNextBlock(block)) return;
    m_gain.applyInPlace(block, static_cast<float>(m_volume), fadeRamp(), firstFrame);
    m_fadeToSilence.shape(block);
    const audio::FrameCount frames = block.frames();
    if (!m_player->QueueBlock(std::move(block))) {
      stopAfterFault(m_player->lastError(), asrun::EndReason::DeviceFailed);
      return;
    }
    m_fedFrames += frames;
    if (m_fadeToSilence.finished()) markEnd();
  } catch (const std::exception& e) {
    stopAfterFault(std::string("cannot play ") + m_path + ": " + e.what());
  }
}

bool Cartouche::moveReaderTo(audio::FrameCount frame) {
  const auto reached = m_reader->SeekSample(frame);
  if (!reached) {
    stopAfterFault("cannot move within " + m_path + ": " + m_reader->lastError());
    return false;
  }
  m_sampleOffset = *reached;
  m_readPosition = *reached;
  m_wrappedAt = -1;
  // A new head: the gain must not glide into it from the last block heard.
  m_gain.Restart();
  ++m_playEpoch;
  return true;
}

void Cartouche::restartLoop() {
  m_fade = fadeAt(fadeSettings(), fadeRamp(), 0);
  m_fadeToSilence.dropped(waitingFrames());
  noteHeard();
  if (m_openPlay) ++m_openPlay->record.passes;
  m_player->ResetOutput();
  outputRestarted();
  if (!moveReaderTo(0)) return;
  FeedBuffer();
  FeedBuffer();
}

void Cartouche::pause() {
  guarded([this] { pausePlayback(); });
}

void Cartouche::pausePlayback() {
  noteHeard();
  m_paused = true;
  const audio::FrameCount played = m_player->PlayedSamples();
  passSeams(played);
  m_fadeToSilence.dropped(waitingFrames());
  m_sampleOffset += played;
  m_player->CloseOutput();
  outputRestarted();
  ++m_playEpoch;
}

void Cartouche::resume() {
  guarded([this] { resumePlayback(); });
}

void Cartouche::resumePlayback() {
  m_paused = false;
  if (m_player->OpenOutput() < 0) {
    stopAfterFault(m_player->lastError(), asrun::EndReason::DeviceFailed);
    return;
  }
  outputRestarted();
  // The reader stands up to a few blocks past what was heard: go back to
  // the frame the pause stopped at, so nothing is skipped.
  if (!moveReaderTo(m_sampleOffset)) return;
  FeedBuffer();
  FeedBuffer();
}

void Cartouche::seekToThumb() {
  guarded([this] { jumpToThumb(); });
}

void Cartouche::jumpToThumb() {
  const audio::FrameCount target = seekTarget(m_thumb.releasePercent(), m_reader->TotalSamples());
  if (!m_paused) {
    m_fadeToSilence.dropped(waitingFrames());
    noteHeard();
    m_player->ResetOutput();
    outputRestarted();
  }
  if (!moveReaderTo(target)) return;
  const std::int64_t ms = m_player->SamplesToMs(m_sampleOffset);
  m_fade = fadeAt(fadeSettings(), fadeRamp(), m_sampleOffset);
  if (m_paused) {
    // Nothing plays until the resume, which starts from here.
    showRunningTime(ms);
    return;
  }
  FeedBuffer();
  FeedBuffer();
}

void Cartouche::AudioPlayer_RequestOnLoadArray() {
  const LookChange change(*this);
  FeedBuffer();
}

void Cartouche::AudioPlayer_EndPlay() {
  const LookChange change(*this);
  if (!m_playing) return;
  // A cart fading to silence stops at the end of its fade or of its file.
  if (m_loopOn && !m_fadeToSilence.running()) {
    restartLoop();
  } else {
    // A file that ends before the panic's fade reaches silence ended on its own.
    StopMusic(m_fadeToSilence.finished() ? asrun::EndReason::PanicFade : asrun::EndReason::End);
  }
}

void Cartouche::AudioFile_Answered() {
  const LookChange change(*this);
  if (m_opening) {
    // Keeps the reason and the missing mark; nothing was heard.
    if (!finishStart()) StopMusic(asrun::EndReason::FileFailed);
    return;
  }
  if (!m_playing || m_paused) {
    m_owedFeeds = 0;
    return;
  }
  // The blocks answered Late, as far as the queue still wants them.
  for (int owed = std::exchange(m_owedFeeds, 0); owed > 0 && m_playing; --owed) {
    if (waitingFrames() >= 2 * m_blockSamples) break;
    FeedBuffer();
  }
}

void Cartouche::AudioFile_Stalled() {
  const LookChange change(*this);
  // The file did not answer in time: the cart stops and shows the file as
  // missing, the reason in its tooltip; every other cart plays on.
  const std::string reason = m_reader->lastError();
  if (m_playing) stopAfterFault(reason, asrun::EndReason::FileFailed);
  markMissing(reason);
}

void Cartouche::AudioPlayer_DeviceFailed(const std::string& reason) {
  const LookChange change(*this);
  if (m_playing) stopAfterFault(reason, asrun::EndReason::DeviceFailed);
}

void Cartouche::AudioPlayer_Timer(audio::FrameCount currentSamples, int /*levelLeft*/,
                                  int /*levelRight*/) {
  // The loop run in the middle may deliver another Timer; the next one after
  // it brings the display up to date.
  if (!m_playing || m_paused || m_inTimer) return;
  struct InTimer {
    bool& flag;
    explicit InTimer(bool& f) : flag(f) { flag = true; }
    ~InTimer() { flag = false; }
  } inTimer(m_inTimer);
  const LookChange change(*this);

  // A seam played since: the pass starts again from 00:00.
  passSeams(currentSamples);
  const audio::FrameCount heard = std::max<audio::FrameCount>(m_sampleOffset + currentSamples, 0);

  showRunningTime(m_player->SamplesToMs(heard));
  m_fade = fadeAt(fadeSettings(), fadeRamp(), heard);

  m_trace = tracePoints(m_player->RecentSamples(kRecentSampleCount));

  // The running time is shown before the loop below runs other handlers.
  publishLook();
  const std::uint64_t epoch = m_playEpoch;
  m_scheduler.processEvents();

  // A stop, jump, pause or restart run by the loop has placed the thumb
  // itself; the operator's drag holds it where the pointer is.
  if (m_playing && !m_thumb.seeking() && epoch == m_playEpoch) {
    m_thumb.follow(heard, m_reader->TotalSamples());
  }
}

}  // namespace quillon::cart
