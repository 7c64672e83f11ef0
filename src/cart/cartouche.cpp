#include "cart/cartouche.h"

#include <algorithm>
#include <exception>

#include "cart/cartpaths.h"
#include "cart/displayvalues.h"
#include "cart/lookchange.h"

namespace quillon::cart {

// Hands the player's and the reader's events to the cart's handlers. A fault
// that escapes a handler stops the cart cleanly rather than ending the
// program on air.
class Cartouche::PlayerEventsAdapter final : public audio::PlayerEvents,
                                             public audio::ReaderEvents,
                                             public audio::InformationEvents,
                                             public audio::LoudnessEvents {
 public:
  explicit PlayerEventsAdapter(Cartouche& cart) : m_cart(cart) {}

  void RequestOnLoadArray() override {
    guarded([this] { m_cart.AudioPlayer_RequestOnLoadArray(); });
  }
  void EndPlay() override {
    guarded([this] { m_cart.AudioPlayer_EndPlay(); });
  }
  void Timer(audio::FrameCount currentSamples, int levelLeft, int levelRight) override {
    guarded([&] { m_cart.AudioPlayer_Timer(currentSamples, levelLeft, levelRight); });
  }
  void DeviceFailed(const std::string& reason) override {
    guarded([&] { m_cart.AudioPlayer_DeviceFailed(reason); });
  }
  void ReaderAnswered() override {
    guarded([this] { m_cart.AudioFile_Answered(); });
  }
  void ReaderStalled() override {
    guarded([this] { m_cart.AudioFile_Stalled(); });
  }
  void InformationAnswered(bool ok) override {
    guarded([&] { m_cart.AudioInformation_Answered(ok); });
  }
  void LoudnessAnswered() override {
    guarded([this] { m_cart.AudioLoudness_Answered(); });
  }

 private:
  template <typename Handler>
  void guarded(Handler handler) {
    try {
      handler();
    } catch (const std::exception& e) {
      const LookChange change(m_cart);
      m_cart.stopAfterFault(e.what());
    } catch (...) {
      const LookChange change(m_cart);
      m_cart.stopAfterFault("unknown fault");
    }
  }

  Cartouche& m_cart;
};

// A cart has two players, on air and on the cue device; each one's events
// reach the cart only while it is the one the cart plays through, so a
// failure of the cue device never stops a cart on air, nor one of the air
// device a pre-listen.
class Cartouche::ActivePlayerEvents final : public audio::PlayerEvents {
 public:
  ActivePlayerEvents(Cartouche& cart, audio::PlayerEvents& target, bool cue)
      : m_cart(cart), m_target(target), m_cue(cue) {}

  void RequestOnLoadArray() override {
    if (active()) m_target.RequestOnLoadArray();
  }
  void EndPlay() override {
    if (active()) m_target.EndPlay();
  }
  void Timer(audio::FrameCount currentSamples, int levelLeft, int levelRight) override {
    if (active()) m_target.Timer(currentSamples, levelLeft, levelRight);
  }
  void DeviceFailed(const std::string& reason) override {
    if (active()) m_target.DeviceFailed(reason);
  }

 private:
  bool active() const {
    const audio::Player* own = m_cue ? m_cart.m_cuePlayer.get() : m_cart.m_airPlayer.get();
    return own != nullptr && m_cart.m_player == own;
  }

  Cartouche& m_cart;
  audio::PlayerEvents& m_target;
  const bool m_cue;
};

Cartouche::Cartouche(audio::Engine& engine)
    : m_scheduler(engine.scheduler()),
      m_reader(engine.createReader()),
      m_information(engine.createInformation()),
      m_airPlayer(engine.createPlayer()),
      m_events(std::make_unique<PlayerEventsAdapter>(*this)),
      m_airEvents(std::make_unique<ActivePlayerEvents>(*this, *m_events, false)),
      m_cueEvents(std::make_unique<ActivePlayerEvents>(*this, *m_events, true)),
      m_player(m_airPlayer.get()),
      m_engine(engine) {
  m_airPlayer->setEventHandler(m_airEvents.get());
  m_reader->setEventHandler(m_events.get());
  m_information->setEventHandler(m_events.get());
  m_shownLook = look();
}

Cartouche::~Cartouche() {
  try {
    endPlay(asrun::EndReason::Quit);
  } catch (...) {  // the log loses this play; the cart still ends cleanly
  }
  m_airPlayer->setEventHandler(nullptr);
  if (m_cuePlayer) m_cuePlayer->setEventHandler(nullptr);
  m_reader->setEventHandler(nullptr);
  m_information->setEventHandler(nullptr);
  try {
    m_player->CloseOutput();
    m_reader->CloseFile();
  } catch (...) {  // the components end with the cart anyway
  }
}

void Cartouche::setLoudness(std::unique_ptr<audio::LoudnessMeter> meter, NormalisationRule rule) {
  const LookChange change(*this);
  m_loudness = std::move(meter);
  m_normalisationRule = rule;
  if (m_loudness) m_loudness->setEventHandler(m_events.get());
  measureLoudness();
}

CartLook Cartouche::look() const {
  CartLook l;
  l.background = m_background;
  l.title = m_title;
  l.titleTooltip = m_path;
  l.loudness = loudnessText();
  l.fileMissing = m_fileMissing;
  l.missingReason = m_fileMissing ? m_missingReason : std::string();
  l.startFailure = m_startFailure;
  l.letter = m_letterText;
  l.length = m_lengthText;
  l.runningTime = m_runningTime;
  l.trace = m_trace;
  l.knobLeft = m_knob.left();
  l.knobTooltip = volumeTooltip(m_volume);
  l.thumbLeft = m_thumb.left();
  l.thumbLit = m_thumbLight.lit();
  l.pauseLit = m_pauseLight.lit();
  l.stopLit = m_stopLight.lit();
  l.paused = m_paused;
  l.preListen = m_preListen && m_playing;
  l.loopOn = m_loopOn;
  l.fadeInOn = m_fadeInOn;
  l.fadeOutOn = m_fadeOutOn;
  // Only a cart that will stop at its end warns, and only while it sounds.
  l.endWarning = m_playing && !m_paused && !m_preListen && !m_loopOn &&
                 endWarningLit(m_endWarning, m_shownMs, m_totalMs);
  return l;
}

void Cartouche::publishLook() {
  CartLook now = look();
  const LookParts parts = differences(m_shownLook, now);
  m_shownLook = std::move(now);
  if (parts != 0 && m_listener) m_listener->lookChanged(parts);
}

void Cartouche::SetSurvole() {
  const LookChange change(*this);
  m_background = Background::Drag;
}

void Cartouche::SetNormal() {
  const LookChange change(*this);
  m_background = m_playing ? Background::Play : Background::Stop;
}

void Cartouche::SetMyLetter(const std::string& letter) {
  const LookChange change(*this);
  m_letter = letter;
  m_letterText = letter;
}

void Cartouche::KeyPressRacc(const std::string& letter, asrun::StartCause cause) {
  // An empty key never fires a cart, not even one that has no letter yet.
  if (letter.empty() || letter != m_letter) return;
  const LookChange change(*this);
  // A pre-listening cart goes on air from its start.
  if (m_playing && !m_preListen) {
    StopMusic(asrun::EndReason::Stopped);
  } else if (!m_path.empty()) {
    listen(cause);
  }
}

bool Cartouche::SetDevOutput(int device) {
  const LookChange change(*this);
  if (m_playing) StopMusic(asrun::EndReason::DeviceChanged);
  m_startFailure.clear();
  m_airPlayer->SelectDevice(device);
  return m_airPlayer->DeviceUsable();
}

void Cartouche::makeCuePlayer() {
  m_cuePlayer = m_engine.createPlayer();
  m_cuePlayer->setEventHandler(m_cueEvents.get());
}

BindResult Cartouche::SetTitle(const std::string& path) {
  const LookChange change(*this);
  return bind(path);
}

BindResult Cartouche::bind(const std::string& path) {
  m_path = path;
  m_title = titleOf(path);
  measureLoudness();
  m_lengthPending = false;  // an answer still on its way is for another file
  if (path.empty()) {       // nothing to analyse: the cart is empty
    m_fileMissing = false;
    return {};
  }
  if (!m_information->OpenInfo(path)) {
    markMissing(m_information->lastError());
    return {false, m_lastError};
  }
  if (m_information->InfoPending()) {
    // The length follows (AudioInformation_Answered); the cart is bound and
    // can be fired meanwhile.
    m_lengthPending = true;
    m_lengthSeconds = 0;
    m_lengthText = kUnknownLength;
    m_fileMissing = false;
    return {};
  }
  return takeInformation();
}

BindResult Cartouche::takeInformation() {
  const std::string& path = m_path;
  const int rate = m_information->InfoSampleRate();
  if (rate <= 0) {
    markMissing("no sample rate in " + path);
    return {false, m_lastError};
  }
  m_lengthSeconds = lengthSecondsOf(m_information->InfoTotalSamples(), rate);
  m_lengthText = lengthText(m_information->InfoDurationMs());
  m_fileMissing = false;
  return {};
}

void Cartouche::AudioInformation_Answered(bool ok) {
  // A start that opened the file first has taken the length from it.
  if (!m_lengthPending) return;
  const LookChange change(*this);
  m_lengthPending = false;
  if (!ok) {
    // A started cart plays on: its own open of the file decides.
    if (!m_playing) markMissing(m_information->lastError());
    return;
  }
  takeInformation();
}

void Cartouche::adoptReaderLength() {
  if (!m_lengthPending && !m_fileMissing) return;
  m_lengthPending = false;
  m_fileMissing = false;
  const audio::AudioFormat format = m_reader->StreamFormat();
  const audio::FrameCount frames = m_reader->TotalSamples();
  m_lengthSeconds = lengthSecondsOf(frames, format.sampleRate);
  m_lengthText = lengthText(audio::framesToMs(frames, format.sampleRate));
}

void Cartouche::markMissing(const std::string& reason) {
  m_fileMissing = true;
  m_missingReason = reason;
  m_lengthSeconds = 0;
  m_lengthText = kUnknownLength;
  m_lastError = reason;
}

void Cartouche::SetVolume(int volume) {
  const LookChange change(*this);
  m_volume = std::clamp(volume, kMinimumVolume, kMaximumVolume);
  m_knob.showVolume(m_volume);
}

void Cartouche::setSwitch(bool& field, bool on) {
  const LookChange change(*this);
  field = on;
}

FadeSettings Cartouche::fadeSettings() const {
  return {m_lengthSeconds, m_volume, m_fadeInOn, m_fadeOutOn};
}

audio::FadeRamp Cartouche::fadeRamp() const {
  return fadeRampFor(fadeSettings(), m_reader->TotalSamples(), m_reader->StreamFormat().sampleRate);
}

void Cartouche::StopMyplay(asrun::EndReason why) {
  const LookChange change(*this);
  if (m_playing) StopMusic(why);
  m_title.clear();
  m_path.clear();
  m_fileMissing = false;
  m_startFailure.clear();
  // An emptied cart reads as one that never held a file: the old length on
  // a cart whose letter plays nothing misleads the operator.
  m_lengthText = "00:00";
  m_lengthPending = false;
  m_fadeInOn = false;
  m_fadeOutOn = false;
  m_loopOn = false;
  m_volume = 100;
  m_knob.showVolume(m_volume);
}

}  // namespace quillon::cart
