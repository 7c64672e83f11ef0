// Playback of a cart: start, stop, the feeding of 100 ms blocks, the end of
// the file, the loop, the fades, pause and resume, and the jump of the
// position thumb. UI thread.
//
// The loop is seamless: the block fed after a pass's last frame goes on with
// the file's first frame, in the same stream to the player, so that the
// device (and its rate conversion) plays the seam frame by frame with no gap,
// no dip and no frame lost or repeated. The player's count runs on; the cart
// notes where each pass began in it, and the running time starts again from
// 00:00 as the player plays that seam.
#include <algorithm>
#include <exception>
#include <string>

#include "cart/cartouche.h"
#include "cart/displayvalues.h"
#include "cart/lookchange.h"

namespace quillon::cart {

namespace {

constexpr std::int64_t kBlockMs = 100;
constexpr int kRecentSampleCount = geometry::kTracePoints;

}  // namespace

void Cartouche::ListenMusic() {
  const LookChange change(*this);
  StopMusic();
  m_paused = false;
  m_thumb.endDrag();
  m_background = Background::Play;
  // A start that fails shows the idle look again at once: a cart never looks
  // playing while it is silent.
  if (!startPlayback()) m_background = Background::Stop;
}

bool Cartouche::startPlayback() {
  if (m_path.empty()) return false;
  // A file that could not be analysed is tried again: it may have come back.
  if (m_fileMissing && !bind(m_path)) return false;
  if (m_reader->OpenFile(m_path) < 0 || m_reader->FileStatus() < 0) {
    markMissing(m_reader->lastError());
    return false;
  }
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
    m_reader->CloseFile();
    return false;
  }
  outputRestarted();
  m_playing = true;
  m_fade = fadeAt(fadeSettings(), fadeRamp(), 0);
  m_gain.Restart();
  ++m_playEpoch;
  FeedBuffer();
  FeedBuffer();
  return m_playing;  // a first block that cannot be read has stopped it already
}

void Cartouche::StopMusic() {
  // Every step always runs: stopping must complete whatever failed before.
  m_background = Background::Stop;
  m_playing = false;
  if (m_paused) m_pauseLight.off();
  m_thumbLight.off();
  m_paused = false;
  m_player->CloseOutput();
  outputRestarted();
  m_reader->CloseFile();
  m_thumb.toLeftEnd();
  m_runningTime = runningTimeText(0);
  m_shownMs = 0;
  m_trace.clear();
  m_fadeToSilence.cancel();
  ++m_playEpoch;
}

void Cartouche::stopAfterFault(const std::string& reason) {
  m_lastError = reason;
  StopMusic();
}

void Cartouche::FeedBuffer() {
  // A paused cart has no open output: its resume feeds it again.
  if (!m_playing || m_paused || m_endMarked) return;
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
      stopAfterFault(m_player->lastError());
      return;
    }
    m_fedFrames += frames;
    if (m_fadeToSilence.finished()) markEnd();
  } catch (const std::exception& e) {
    stopAfterFault(std::string("cannot play ") + m_path + ": " + e.what());
  }
}

void Cartouche::markEnd() {
  // The player plays out what it holds, then raises EndPlay.
  m_player->MarkEndOfFile();
  m_endMarked = true;
}

bool Cartouche::readNextBlock(audio::AudioBlock& block) {
  if (!m_loopOn && m_wrappedAt == m_fedFrames) {
    // The loop went off after the reader went back to the start and before
    // any of the next pass was fed: the file ends where it ended.
    if (!m_seams.empty() && m_seams.back() == m_wrappedAt) m_seams.pop_back();
    m_wrappedAt = -1;
    markEnd();
    return false;
  }
  const audio::FrameCount total = m_reader->TotalSamples();
  // While the loop goes on, a block fed holds a whole block's frames however
  // short the file: the tail of one pass is followed by the head of the next.
  audio::AudioBlock more;
  while (block.frames() < m_blockSamples) {
    audio::AudioBlock& target = block.empty() ? block : more;
    switch (m_reader->ReadBlock(m_blockSamples, target)) {
      case audio::ReadResult::Failed:
        stopAfterFault("cannot read " + m_path + ": " + m_reader->lastError());
        return false;
      case audio::ReadResult::End:
        // Only a reader that gives less than its length ends here in a loop.
        if (m_loopOn && m_readPosition > 0) {
          if (!wrapToStart(m_fedFrames + block.frames())) return false;
          continue;
        }
        if (!block.empty()) return true;
        markEnd();
        return false;
      case audio::ReadResult::Data:
        break;
    }
    if (&target == &more) {
      if (more.channels != block.channels) {
        stopAfterFault("the format of " + m_path + " changed within a loop");
        return false;
      }
      block.samples.insert(block.samples.end(), more.samples.begin(), more.samples.end());
    }
    m_readPosition += target.frames();
    // Back to the start at once, so that the reader prepares the next pass's
    // first block while the player still plays the end of this one.
    if (!m_loopOn || m_readPosition < total) break;
    if (!wrapToStart(m_fedFrames + block.frames())) return false;
  }
  return true;
}

bool Cartouche::wrapToStart(audio::FrameCount fedAt) {
  const auto reached = m_reader->SeekSample(0);
  if (!reached || *reached != 0) {
    stopAfterFault("cannot go back to the start of " + m_path + ": " + m_reader->lastError());
    return false;
  }
  m_readPosition = 0;
  m_seams.push_back(fedAt);
  m_wrappedAt = fedAt;
  return true;
}

void Cartouche::outputRestarted() {
  m_fedFrames = 0;
  m_seams.clear();
  m_wrappedAt = -1;
  m_endMarked = false;
}

void Cartouche::passSeams(audio::FrameCount played) {
  while (!m_seams.empty() && m_seams.front() <= played) {
    m_sampleOffset = -m_seams.front();
    m_seams.pop_front();
  }
}

void Cartouche::requeueFromHeard() {
  const audio::FrameCount played = m_player->PlayedSamples();
  passSeams(played);
  const audio::FrameCount heard = std::max<audio::FrameCount>(m_sampleOffset + played, 0);
  m_fadeToSilence.dropped(waitingFrames());
  m_player->ResetOutput();
  outputRestarted();
  if (!moveReaderTo(std::min(heard, m_reader->TotalSamples()))) return;
  FeedBuffer();
  FeedBuffer();
}

void Cartouche::setLoop(bool on) {
  const LookChange change(*this);
  const bool was = m_loopOn;
  m_loopOn = on;
  if (!m_playing || m_paused || on == was || m_fadeToSilence.running()) return;
  passSeams(m_player->PlayedSamples());
  // Off with frames of the next pass already at the player: they go, and the
  // file ends at its end. On with the end already fed: the loop goes on.
  const bool nextPassFed = !m_seams.empty() && m_seams.front() < m_fedFrames;
  if ((!on && nextPassFed) || (on && m_endMarked)) requeueFromHeard();
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
  m_player->ResetOutput();
  outputRestarted();
  if (!moveReaderTo(0)) return;
  FeedBuffer();
  FeedBuffer();
}

void Cartouche::pause() {
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
  m_paused = false;
  if (m_player->OpenOutput() < 0) {
    stopAfterFault(m_player->lastError());
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
  const audio::FrameCount target = seekTarget(m_thumb.releasePercent(), m_reader->TotalSamples());
  if (!m_paused) {
    m_fadeToSilence.dropped(waitingFrames());
    m_player->ResetOutput();
    outputRestarted();
  }
  if (!moveReaderTo(target)) return;
  const std::int64_t ms = m_player->SamplesToMs(m_sampleOffset);
  m_fade = fadeAt(fadeSettings(), fadeRamp(), m_sampleOffset);
  if (m_paused) {
    // Nothing plays until the resume, which starts from here.
    m_runningTime = runningTimeText(ms);
    m_shownMs = ms;
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
    StopMusic();
  }
}

void Cartouche::AudioPlayer_DeviceFailed(const std::string& reason) {
  const LookChange change(*this);
  if (m_playing) stopAfterFault(reason);
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

  m_shownMs = m_player->SamplesToMs(heard);
  m_runningTime = runningTimeText(m_shownMs);
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
