// The seamless loop of a cart: the block fed after a pass's last frame goes
// on with the file's first frame, in the same stream to the player, so that
// the device (and its rate conversion) plays the seam frame by frame with no
// gap, no dip and no frame lost or repeated. The player's count runs on; the
// cart notes where each pass began in it, and the running time starts again
// from 00:00 as the player plays that seam. UI thread.
#include <algorithm>
#include <string>

#include "cart/cartouche.h"
#include "cart/lookchange.h"

namespace quillon::cart {

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
  // While the loop goes on, a block fed holds at least half a block however
  // short the file: a short tail of one pass is followed by the head of the
  // next. A longer tail goes alone, so the head comes from the reader's
  // read-ahead at the next feed.
  audio::AudioBlock more;
  while (block.frames() < std::max<audio::FrameCount>(m_blockSamples / 2, 1)) {
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
      case audio::ReadResult::Late:
        // Not decoded yet: the queue runs on what it holds, and the block
        // follows as soon as the reader has it (a tail already read goes now).
        if (!block.empty()) return true;
        m_owedFeeds = std::min(m_owedFeeds + 1, 2);
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
    if (m_openPlay) ++m_openPlay->record.passes;
  }
}

void Cartouche::requeueFromHeard() {
  const audio::FrameCount played = m_player->PlayedSamples();
  passSeams(played);
  const audio::FrameCount heard = std::max<audio::FrameCount>(m_sampleOffset + played, 0);
  m_fadeToSilence.dropped(waitingFrames());
  noteHeard();
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
  if (on && m_openPlay) m_openPlay->looped = true;
  if (!m_playing || m_paused || on == was || m_fadeToSilence.running()) return;
  passSeams(m_player->PlayedSamples());
  // Off with frames of the next pass already at the player: they go, and the
  // file ends at its end. On with the end already fed: the loop goes on.
  const bool nextPassFed = !m_seams.empty() && m_seams.front() < m_fedFrames;
  if ((!on && nextPassFed) || (on && m_endMarked)) requeueFromHeard();
}

}  // namespace quillon::cart
