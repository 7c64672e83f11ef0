// What a cart tells the as-run log: each play, from the moment its start
// was fired to its end, with the time actually heard (the player's counts,
// so pauses and frames dropped at a jump do not count), the passes of a
// loop and why it ended. UI thread.
#include "asrun/localoffset.h"
#include "cart/cartouche.h"

namespace quillon::cart {

void Cartouche::beginPlay(asrun::StartCause cause) {
  m_openPlay.reset();
  if (!m_playReport) return;
  OpenPlay play;
  play.record.start = m_playReport->now();
  play.record.utcOffset = asrun::utcOffsetAt(play.record.start);
  play.record.letter = m_letter.empty() ? '?' : m_letter.front();
  play.record.startedBy = cause;
  play.looped = m_loopOn;
  m_openPlay = std::move(play);
}

void Cartouche::noteHeard() {
  if (!m_openPlay || !m_playing || m_paused || m_opening) return;
  passSeams(m_player->PlayedSamples());
  m_openPlay->heard += m_player->PlayedSamples();
}

void Cartouche::endPlay(asrun::EndReason why) {
  if (!m_openPlay) return;
  // A start whose file never opened put nothing on air.
  if (m_opening) {
    m_openPlay.reset();
    return;
  }
  noteHeard();
  OpenPlay play = std::move(*m_openPlay);
  m_openPlay.reset();
  play.record.path = m_path;
  play.record.title = m_title;
  play.record.length = std::chrono::milliseconds(m_totalMs);
  play.record.played = std::chrono::milliseconds(m_player->SamplesToMs(play.heard));
  if (why == asrun::EndReason::End && play.looped) why = asrun::EndReason::LoopStopped;
  play.record.endedBy = why;
  if (m_playReport) m_playReport->played(std::move(play.record));
}

}  // namespace quillon::cart
