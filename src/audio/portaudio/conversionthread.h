// Converting a player's blocks to the device's format (rate and stereo) off
// the UI thread: with 26 carts playing, libswresample's filter took about a
// third of the UI thread's time, time the UI needs for the operator.
//
// A ConversionLane keeps one player's blocks in order: blocks submitted come
// back from take() converted, in the order submitted, each as one VoiceBlock
// (a block the resampler holds back entirely gives none; the end always gives
// one, marked as the file's end). A block submitted with `here` is converted
// at once on the caller's thread, with any blocks still waiting before it, so
// the first block of a play, or one fed to a device that is running dry,
// never waits for the thread. Everything else is converted on the shared
// thread.
//
// Locking as in the read-ahead reader: a lane's `convertMutex` is held while
// its converter is used (by either thread); the shared mutex guards every
// lane's queues and is held only briefly. convertMutex comes first.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "audio/audioformat.h"
#include "audio/lanethread.h"
#include "audio/portaudio/voiceblock.h"

namespace quillon::audio {

namespace conversion {
struct Lane;
}  // namespace conversion

// The conversion thread shared by the players of a device manager. Owned by
// the manager; UI thread. Lanes that outlive it convert on their caller's
// thread.
class ConversionThread : public LaneThread {};

// One player's conversion. UI thread.
class ConversionLane {
 public:
  // Blocks submitted and not yet taken, at most.
  static constexpr std::size_t kMaxWaiting = 16;

  // Without a thread, every block is converted on the caller's thread.
  explicit ConversionLane(ConversionThread* thread);
  ~ConversionLane();  // waits for a block being converted
  ConversionLane(const ConversionLane&) = delete;
  ConversionLane& operator=(const ConversionLane&) = delete;

  // Sets the formats and drops everything waiting. False with `error` set
  // when the conversion cannot be set up.
  bool configure(const AudioFormat& in, int deviceRate, std::string& error);
  // Drops everything waiting; the next block starts a new stream.
  bool reset(std::string& error);

  // Queues a block (of the configured format) for conversion.
  void submit(AudioBlock block, bool here);
  // Queues the end: the frames the resampler holds back, marked as the end.
  void submitEnd(bool here);
  bool full() const;
  // The next converted block, or null when none is ready.
  std::unique_ptr<VoiceBlock> take();
  // Why a conversion failed since the last call; "" when none did.
  std::string takeError();

 private:
  void submitJob(AudioBlock block, bool end, bool here);

  std::shared_ptr<LanePool> m_shared;  // stopped from the start without a thread
  std::shared_ptr<conversion::Lane> m_lane;
};

}  // namespace quillon::audio
