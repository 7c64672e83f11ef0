// The cart's loudness normalisation: each bound file measured in the
// background, the gain of a start taken from the measurement known then.
// A measurement that lands while the cart plays changes nothing heard until
// the next start. UI thread.
#include "cart/cartouche.h"
#include "cart/lookchange.h"

namespace quillon::cart {

void Cartouche::measureLoudness() {
  if (m_loudness) m_loudness->measure(m_path);
}

void Cartouche::takeNormalisation() {
  double factor = 1.0;
  if (m_loudness && m_loudness->result() && m_loudness->result()->measurement) {
    factor = normalisationFactor(*m_loudness->result()->measurement, m_normalisationRule);
  }
  m_gain.setNormalisation(factor);
}

std::string Cartouche::loudnessText() const {
  if (!m_loudness || m_path.empty()) return {};
  return loudnessLine(m_loudness->pending(), m_loudness->result(), m_normalisationRule);
}

void Cartouche::AudioLoudness_Answered() {
  const LookChange change(*this);  // the tooltip's loudness line
}

}  // namespace quillon::cart
