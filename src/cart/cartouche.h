// A cart (`Cartouche`): one slot of the grid, holding at most one audio file
// with its own volume, loop and fade switches and a keyboard letter. It owns
// its four audio components and all its playback state, and computes every
// value its view shows; the view draws `look()` and forwards pointer events
// to the control operations. UI thread: every operation, and the player's
// events, run on it.
//
// The public operations keep the program's names (`ListenMusic`,
// `KeyPressRacc`, `SetSurvole`...): they are what the main window calls.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "asrun/playreport.h"
#include "audio/engine.h"
#include "audio/gain.h"
#include "cart/cartlook.h"
#include "cart/endwarning.h"
#include "cart/fades.h"
#include "cart/fadetosilence.h"
#include "cart/normalisation.h"
#include "cart/positionthumb.h"
#include "cart/volumeknob.h"

namespace quillon::cart {

// The outcome of binding a file: why it failed, for the caller to report.
struct BindResult {
  bool ok = true;
  std::string error;
  explicit operator bool() const { return ok; }
};

class Cartouche {
 public:
  explicit Cartouche(audio::Engine& engine);
  ~Cartouche();
  Cartouche(const Cartouche&) = delete;
  Cartouche& operator=(const Cartouche&) = delete;

  // The host's events and the view's repaints go there; null for none.
  void setListener(CartListener* listener) { m_listener = listener; }
  CartLook look() const;

  // --- The main window's operations ---
  // Starts the bound file from its beginning, also on a playing or paused
  // cart; with the fade-in on (files of 6 s or more) it rises from silence.
  void ListenMusic();
  void SetSurvole();
  void SetNormal();
  void SetMyLetter(const std::string& letter);
  // Toggles the cart when `letter` is its own (case-sensitive); `cause` is
  // what pressed it, for the as-run log.
  void KeyPressRacc(const std::string& letter, asrun::StartCause cause = asrun::StartCause::Key);
  // Stops the cart and selects the output device; true when it is usable.
  bool SetDevOutput(int device);
  std::string GetTitle() const { return m_path; }
  std::string GetVolume() const { return std::to_string(m_volume); }
  std::string Getloop() const { return trueOrFalse(m_loopOn); }
  std::string GetFadein() const { return trueOrFalse(m_fadeInOn); }
  std::string GetFadeout() const { return trueOrFalse(m_fadeOutOn); }
  // Binds the file at that full path. A file that cannot be analysed stays
  // bound, marked missing with an unknown length, and the failure is returned.
  BindResult SetTitle(const std::string& path);
  // 0 to 100; a value outside is brought to the nearer end.
  void SetVolume(int volume);
  void Setloop(int looop) { setLoop(looop != 0); }
  void SetFadein(int val) { setSwitch(m_fadeInOn, val); }
  void SetFadeout(int val) { setSwitch(m_fadeOutOn, val); }
  // Stops the cart and empties it: no file, length 00:00, switches off,
  // volume 100. `why` is what emptied it, for the as-run log.
  void StopMyplay(asrun::EndReason why = asrun::EndReason::New);

  // --- The program's additions: the panic key and the end warning ---
  // Stops a playing or paused cart at once through StopMusic (the player's
  // own short ramp keeps it free of clicks); the file and every setting stay.
  void stopPlaying();
  // Fades a playing cart to silence in `ms` from now, then stops it as
  // stopPlaying does. A paused cart, a stopped one or one already fading is
  // left as it is; a start, the stop button or the letter end the fade.
  void fadeOutAndStop(std::int64_t ms);
  bool fadingOut() const { return m_fadeToSilence.running(); }
  // The end-of-cart warning; off until set.
  void setEndWarning(const EndWarningRule& rule);
  // The running time counts down the time left ("-0:07") instead of up;
  // off until set. Takes effect at the next update of the display.
  void setRunningTimeCountdown(bool on) { m_countdown = on; }
  // Where each play is reported as it ends (the as-run log); null for none.
  void setPlayReport(asrun::PlayReport* report) { m_playReport = report; }
  // Loudness normalisation, off until set: every file bound from now on is
  // measured by `meter`, and each start plays at the normalisation gain of
  // the measurement known then (none while it is still on its way).
  void setLoudness(std::unique_ptr<audio::LoudnessMeter> meter, NormalisationRule rule);
  // The normalisation factor of the current or last play (1: none).
  double normalisation() const { return m_gain.normalisation(); }

  // --- Pre-listen: the cart heard on a second output, the cue device, and
  // never on air (cartprelisten.cpp) ---
  // Switches pre-listen on, on that cue device (the device list's number);
  // a pre-listen in progress stops. True when the device is usable. Once on
  // it stays on: on a device that failed or went a pre-listen fails to start
  // (shown on the cart) and never plays on air instead.
  bool setCueDevice(int device);
  bool preListenOn() const { return m_cuePlayer != nullptr; }
  // Ctrl with a letter: toggles the pre-listen of the cart of that letter.
  // Nothing while pre-listen is off or the cart plays on air.
  void KeyPressPreListen(const std::string& letter);
  // Ctrl+click on the play button: toggles the pre-listen; a plain click
  // while pre-listen is off.
  void preListenClick();
  // The cart plays (or is paused) on the cue device, not on air: no play to
  // report, to list on air or to warn the end of. Set from the pre-listen's
  // start until it stops.
  bool isPreListen() const { return m_preListen; }

  // --- The view's controls; pointer positions in twips in the control's
  // own coordinates ---
  void playClick();
  void pauseClick();
  void stopClick();
  void loopLabelClick() { setLoop(!m_loopOn); }
  void fadeInLabelClick() { setSwitch(m_fadeInOn, !m_fadeInOn); }
  void fadeOutLabelClick() { setSwitch(m_fadeOutOn, !m_fadeOutOn); }
  void pauseHover(Twips x, Twips y);
  void stopHover(Twips x, Twips y);
  // The pointer left the button or the thumb (views that track enter and
  // leave rather than capture the pointer).
  void pauseLeave();
  void stopLeave();
  void thumbLeave();
  void knobPress(Twips x);
  void knobMove(Twips x);
  void knobRelease();
  // True when a drag starts: the view confines the pointer to the track
  // until the release.
  bool thumbPress(Twips x);
  void thumbMove(Twips x, Twips y);
  void thumbRelease();
  // A drag passes over the cart or one of its drop zones.
  void dragOver();
  // A drop: the list of paths, or nothing when the data holds no file list.
  void drop(const std::optional<std::vector<std::string>>& fileList);

  // --- State, for the view and for tests ---
  bool Playing() const { return m_playing; }
  bool Paused() const { return m_paused; }
  bool Seeking() const { return m_thumb.seeking(); }
  bool DraggingVolume() const { return m_knob.dragging(); }
  audio::FrameCount SampleOffset() const { return m_sampleOffset; }
  audio::FrameCount BlockSamples() const { return m_blockSamples; }
  std::int64_t LengthSeconds() const { return m_lengthSeconds; }
  int Volume() const { return m_volume; }
  bool LoopOn() const { return m_loopOn; }
  bool FadeInOn() const { return m_fadeInOn; }
  bool FadeOutOn() const { return m_fadeOutOn; }
  int FadeGain() const { return m_fade.gain; }
  bool FadeActive() const { return m_fade.active; }
  std::string Letter() const { return m_letter; }
  // The title caption (Label1).
  const std::string& titleText() const { return m_title; }
  // While playing: the position the running time shows and the file's exact
  // length, in ms.
  std::int64_t shownMs() const { return m_shownMs; }
  std::int64_t totalMs() const { return m_totalMs; }
  bool fileMissing() const { return m_fileMissing; }
  // The information has not told the file's length yet (it reads on
  // another thread); the length shows "--:--" meanwhile.
  bool lengthPending() const { return m_lengthPending; }
  // Why the last start, binding or play failed; empty when none has.
  std::string lastError() const { return m_lastError; }

 private:
  class PlayerEventsAdapter;
  class ActivePlayerEvents;
  class LookChange;

  static std::string trueOrFalse(bool on) { return on ? "True" : "False"; }
  void setSwitch(bool& field, bool on);
  void setLoop(bool on);
  FadeSettings fadeSettings() const;
  audio::FadeRamp fadeRamp() const;
  BindResult bind(const std::string& path);
  // Length and look from the information's answer.
  BindResult takeInformation();
  void AudioInformation_Answered(bool ok);
  void markMissing(const std::string& reason);
  void publishLook();
  // Loudness normalisation (cartloudness.cpp).
  void measureLoudness();
  void takeNormalisation();
  std::string loudnessText() const;
  void AudioLoudness_Answered();
  // The running time at `ms` into the file, up or down as set.
  void showRunningTime(std::int64_t ms);

  // Playback (cartplayback.cpp).
  // ListenMusic on the air player, or on the cue player for a pre-listen
  // (which is never reported as a play).
  void listen(asrun::StartCause cause, bool preListen = false);
  void togglePreListen();
  void makeCuePlayer();
  // After a stop or a failed start, the air player is the cart's again.
  void useAirPlayer();
  bool startPlayback();
  // The rest of a start once the reader has opened the file.
  bool finishStart();
  // Runs an operator's step into the reader or the player: a fault in it
  // stops the cart cleanly rather than leaving the slot with an exception.
  template <typename Step>
  void guarded(Step step);
  void StopMusic(asrun::EndReason why);
  void FeedBuffer();
  void markEnd();
  void stopAfterFault(const std::string& reason,
                      asrun::EndReason why = asrun::EndReason::FileFailed);
  // The play being heard, for the as-run log (cartplays.cpp).
  void beginPlay(asrun::StartCause cause);
  // Adds what the player has played since its count last restarted; called
  // before each reset or close of the output.
  void noteHeard();
  void endPlay(asrun::EndReason why);
  // Moves the reader to `frame` for a restart, resume or jump; false when
  // it failed and the cart has stopped.
  bool moveReaderTo(audio::FrameCount frame);
  void restartLoop();
  // Reads the next block to feed into `block`, going on at the file's first
  // frame after its last while the loop is on; false when nothing is to be
  // fed (the end is marked, or the cart has stopped on a fault).
  bool readNextBlock(audio::AudioBlock& block);
  // Places the reader at the file's first frame for the next pass, whose
  // first frame is the `fedAt`-th frame fed to the player; false on a fault.
  bool wrapToStart(audio::FrameCount fedAt);
  // The player's count restarted: nothing is fed, no seam is waiting.
  void outputRestarted();
  // The running time starts again at every seam the player has played.
  void passSeams(audio::FrameCount played);
  // Drops what waits at the player and feeds again from the frame heard,
  // under the loop switch as it is now.
  void requeueFromHeard();
  // Frames fed to the player and not heard yet.
  audio::FrameCount waitingFrames() const;
  // Pause, resume and the thumb's jump, each run through `guarded`.
  void pause();
  void resume();
  void seekToThumb();
  void pausePlayback();
  void resumePlayback();
  void jumpToThumb();
  // Takes the length from the reader's open when binding has none yet.
  void adoptReaderLength();
  void AudioPlayer_RequestOnLoadArray();
  void AudioPlayer_EndPlay();
  void AudioPlayer_Timer(audio::FrameCount currentSamples, int levelLeft, int levelRight);
  void AudioPlayer_DeviceFailed(const std::string& reason);
  // The reader's answers to an open or a late block, and its giving up.
  void AudioFile_Answered();
  void AudioFile_Stalled();

  audio::UiScheduler& m_scheduler;
  std::unique_ptr<audio::Reader> m_reader;            // AudioFile
  std::unique_ptr<audio::Information> m_information;  // AudioInformation
  std::unique_ptr<audio::Player> m_airPlayer;         // AudioPlayer
  audio::Gain m_gain;                                 // AudioTransform
  std::unique_ptr<PlayerEventsAdapter> m_events;
  // The pre-listen's player on the cue device; null while pre-listen is off.
  std::unique_ptr<audio::Player> m_cuePlayer;
  // Each player's events reach the cart only while it is the one playing.
  std::unique_ptr<ActivePlayerEvents> m_airEvents;
  std::unique_ptr<ActivePlayerEvents> m_cueEvents;
  // The player the cart plays through: the air player, or the cue player
  // from a pre-listen's start to its stop.
  audio::Player* m_player = nullptr;
  audio::Engine& m_engine;
  CartListener* m_listener = nullptr;
  std::unique_ptr<audio::LoudnessMeter> m_loudness;  // null: not normalised
  NormalisationRule m_normalisationRule;

  // The bound file.
  std::string m_path;
  std::string m_title;
  bool m_fileMissing = false;
  bool m_lengthPending = false;  // the information has not answered yet
  std::string m_missingReason;
  std::string m_startFailure;  // see CartLook::startFailure
  std::int64_t m_lengthSeconds = 0;
  std::string m_lengthText = "00:00";

  // Settings.
  std::string m_letter;
  std::string m_letterText = "A";
  int m_volume = 100;
  bool m_loopOn = false;
  bool m_fadeInOn = false;
  bool m_fadeOutOn = false;

  // Playback.
  bool m_playing = false;
  bool m_paused = false;
  bool m_preListen = false;  // playing (or starting) on the cue player
  // Started, the reader still opening the file: nothing is fed or heard yet.
  bool m_opening = false;
  // Feeds the reader answered Late, made up when it has the blocks.
  int m_owedFeeds = 0;
  // The frame of the file heard = m_sampleOffset + the player's count; after
  // a loop's seam it is minus the count at the seam, so the pass counts from 0.
  audio::FrameCount m_sampleOffset = 0;
  audio::FrameCount m_blockSamples = 0;
  FadeState m_fade;
  FadeToSilence m_fadeToSilence;
  // The frame of the file the next block fed starts at.
  audio::FrameCount m_readPosition = 0;
  // Frames fed to the player since its count last restarted: with its
  // count they tell how much waits in the queue.
  audio::FrameCount m_fedFrames = 0;
  // Where the passes of a loop begin, as m_fedFrames counted then, for the
  // ones fed and not yet heard.
  std::deque<audio::FrameCount> m_seams;
  bool m_endMarked = false;  // the file's end is fed: no next pass follows
  // m_fedFrames when the reader last went back to the start; -1 when it has
  // been placed since.
  audio::FrameCount m_wrappedAt = -1;
  // The file's exact length and the position the running time shows, in ms,
  // for the end warning.
  std::int64_t m_totalMs = 0;
  std::int64_t m_shownMs = 0;
  EndWarningRule m_endWarning;
  bool m_countdown = false;
  // Counts starts, stops, jumps, pauses and resumes, so that a Timer handler
  // can tell whether playback changed under it while the loop ran.
  std::uint64_t m_playEpoch = 0;
  bool m_inTimer = false;
  std::string m_lastError;

  // The play being heard, until it ends and is reported.
  struct OpenPlay {
    asrun::PlayRecord record;
    audio::FrameCount heard = 0;  // frames played over the output's runs
    bool looped = false;          // the loop was on at some time during it
  };
  std::optional<OpenPlay> m_openPlay;
  asrun::PlayReport* m_playReport = nullptr;

  // What the view shows beyond the state above.
  Background m_background = Background::Stop;
  std::string m_runningTime = "00:00";
  std::vector<int> m_trace;
  VolumeKnob m_knob;
  PositionThumb m_thumb;
  HoverLight m_thumbLight;
  HoverLight m_pauseLight;
  HoverLight m_stopLight;

  // Look changes are gathered over an operation and told once at its end.
  int m_changeDepth = 0;
  CartLook m_shownLook;
};

}  // namespace quillon::cart
