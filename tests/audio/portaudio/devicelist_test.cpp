// The device list over back ends whose devices come and go as the test says
// (a seam in place of a sound server), and streams that are test doubles:
// numbers that never move, a re-read that never cuts a playing stream, a
// failure told with nothing playing, a slow first callback, the pair names of
// a JACK server's ports.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>

#include "audio/jack/jackports.h"
#include "audio/manualscheduler.h"
#include "audio/portaudio/deviceplayer.h"
#include "support/recordingevents.h"
#include "tone.h"

namespace quillon::audio {
namespace {

using namespace std::chrono_literals;

// A stream that plays to nowhere; its failure is set by the test.
struct FakeStream : OutputStream {
  explicit FakeStream(std::shared_ptr<std::atomic<int>> closes) : closes(std::move(closes)) {}
  Mixer& mixer() override { return mix; }
  std::optional<std::string> failure(std::int64_t, std::int64_t) const override {
    if (failed->load()) return std::string("unplugged");
    return std::nullopt;
  }
  void close() noexcept override { ++*closes; }
  int lastCallbackFrames() const override { return 256; }

  Mixer mix{48000};
  std::shared_ptr<std::atomic<int>> closes;
  std::shared_ptr<std::atomic<bool>> failed = std::make_shared<std::atomic<bool>>(false);
};

// The machine's devices of one kind, as the test sets them.
struct FakeBackend : OutputBackend {
  DeviceListing list() override {
    ++lists;
    DeviceListing l;
    for (const auto& name : names) l.devices.push_back({name, name == defaultName});
    l.fresh = !(needsIdle && openStreams() > 0);
    return l;
  }
  std::unique_ptr<OutputStream> open(const std::string& name, std::string& error) override {
    if (std::find(names.begin(), names.end(), name) == names.end()) {
      error = "no " + name;
      return nullptr;
    }
    auto s = std::make_unique<FakeStream>(closes);
    streams.push_back({name, s->failed});
    ++opens;
    return s;
  }
  bool listsWhileStreamsOpen() const override { return !needsIdle; }
  int openStreams() const { return opens - *closes; }

  std::vector<std::string> names;
  std::string defaultName;
  bool needsIdle = false;  // like PortAudio: lists afresh only with no stream open
  int lists = 0;
  int opens = 0;
  std::shared_ptr<std::atomic<int>> closes = std::make_shared<std::atomic<int>>(0);
  std::vector<std::pair<std::string, std::shared_ptr<std::atomic<bool>>>> streams;
};

class DeviceList : public ::testing::Test {
 protected:
  void make(std::vector<std::string> jackNames, std::vector<std::string> cardNames) {
    auto j = std::make_unique<FakeBackend>();
    auto c = std::make_unique<FakeBackend>();
    j->names = std::move(jackNames);
    c->names = std::move(cardNames);
    c->defaultName = c->names.empty() ? "" : c->names.back();
    c->needsIdle = true;
    jack = j.get();
    cards = c.get();
    std::vector<std::unique_ptr<OutputBackend>> backends;
    backends.push_back(std::move(j));
    backends.push_back(std::move(c));
    devices = std::make_unique<DeviceManager>(clock, DeviceManager::Options{}, std::move(backends));
  }
  // The number of the device of that name; -1 when there is none.
  int numberOf(const std::string& name) const {
    for (int d = 0; d < devices->count(); ++d) {
      if (devices->device(d)->name == name) return d;
    }
    return -1;
  }
  // Closes run on threads of their own: wait for them.
  void waitForCloses() {
    for (int i = 0; i < 2000 && devices->streamsClosing() > 0; ++i)
      std::this_thread::sleep_for(1ms);
  }
  void startPlaying(DevicePlayer& p, int device) {
    p.SelectDevice(device);
    ASSERT_TRUE(p.SetFormat({48000, 2}));
    ASSERT_EQ(p.OpenOutput(), 0) << p.lastError();
    ASSERT_TRUE(p.QueueBlock(test::sineBlock(48000, 2, 440, 8000, 0, 4800)));
  }

  ManualScheduler clock;
  FakeBackend* jack = nullptr;
  FakeBackend* cards = nullptr;
  std::unique_ptr<DeviceManager> devices;
};

TEST_F(DeviceList, NumbersNeverMoveAGoneDeviceIsAbsentAndTakenAgainUnderItsNumberWhenItReturns) {
  make({"system:playback_1+2"}, {"HDA Intel", "USB Studio"});
  EXPECT_EQ(devices->count(), 3);
  EXPECT_EQ(devices->defaultDevice(), numberOf("system:playback_1+2"));  // JACK's first pair
  const int usb = numberOf("USB Studio");
  DevicePlayer cart(clock, *devices);
  cart.SelectDevice(usb);

  // The USB card is pulled and another card plugged in ahead of it: nothing
  // is renumbered, the USB card is listed as gone.
  cards->names = {"HDMI", "HDA Intel"};
  cart.RescanDevices();
  EXPECT_EQ(numberOf("USB Studio"), usb);
  EXPECT_EQ(cart.CurrentDevice(), usb);
  EXPECT_FALSE(cart.DeviceUsable());
  EXPECT_FALSE(cart.DevicePresent());
  EXPECT_EQ(cart.DeviceName(), "USB Studio");
  ASSERT_TRUE(cart.SetFormat({44100, 2}));
  EXPECT_LT(cart.OpenOutput(), 0);  // never to a stale number's new device
  EXPECT_NE(cart.lastError().find("absent"), std::string::npos) << cart.lastError();
  EXPECT_EQ(devices->count(), 4);
  EXPECT_TRUE(devices->device(numberOf("HDMI"))->usable);

  // Back, now listed last: the same number, and it plays.
  cards->names = {"HDMI", "HDA Intel", "USB Studio"};
  cart.RescanDevices();
  EXPECT_EQ(numberOf("USB Studio"), usb);
  EXPECT_TRUE(cart.DeviceUsable());
  EXPECT_EQ(cart.OpenOutput(), 0) << cart.lastError();
  EXPECT_EQ(cards->streams.back().first, "USB Studio");
}

TEST_F(DeviceList, AReReadNeverCutsAPlayingStreamAndClosesOnlyIdleOnesThatHoldTheListBack) {
  make({"system:playback_1+2"}, {"HDA Intel", "USB Studio"});
  DevicePlayer onJack(clock, *devices), onCard(clock, *devices), idle(clock, *devices);
  startPlaying(onJack, numberOf("system:playback_1+2"));
  startPlaying(onCard, numberOf("HDA Intel"));
  idle.SelectDevice(numberOf("USB Studio"));
  ASSERT_TRUE(idle.SetFormat({48000, 2}));
  ASSERT_EQ(idle.OpenOutput(), 0);
  idle.CloseOutput();  // its stream stays open, idle

  // The card back end cannot list while its HDA stream plays: the idle USB
  // stream is closed for the reading and opened again; nothing that plays is
  // touched, and JACK's new pair is listed.
  jack->names = {"system:playback_1+2", "system:playback_3+4"};
  onJack.RescanDevices();
  waitForCloses();
  EXPECT_EQ(*jack->closes, 0);
  EXPECT_EQ(*cards->closes, 1);  // the idle USB stream only
  EXPECT_EQ(cards->opens, 3);    // ... opened again at once
  EXPECT_TRUE(devices->device(numberOf("system:playback_3+4"))->usable);
  EXPECT_EQ(onJack.OutputStatus(), 0);
  EXPECT_EQ(onCard.OutputStatus(), 0);
  EXPECT_TRUE(onJack.QueueBlock(test::sineBlock(48000, 2, 440, 8000, 4800, 4800)));

  // Once nothing plays on the cards, a reading is fresh: the USB card is gone.
  onCard.CloseOutput();
  cards->names = {"HDA Intel"};
  onJack.RescanDevices();
  waitForCloses();
  EXPECT_FALSE(devices->device(numberOf("USB Studio"))->present);
  EXPECT_EQ(onJack.OutputStatus(), 0);
  EXPECT_EQ(*jack->closes, 0);
}

TEST_F(DeviceList, AFailureIsToldToEveryPlayerEvenWithNothingPlayingAndItsStreamIsClosed) {
  make({"system:playback_1+2"}, {});
  const int device = numberOf("system:playback_1+2");
  test::RecordingEvents windowEvents, cartEvents;
  DevicePlayer window(clock, *devices), cart(clock, *devices);
  window.setEventHandler(&windowEvents);
  cart.setEventHandler(&cartEvents);
  window.SelectDevice(device);
  startPlaying(cart, device);
  cart.CloseOutput();  // the stream stays open, nothing plays

  jack->streams.back().second->store(true);  // the server goes away
  jack->names.clear();
  clock.advance(devices->watchdogPeriod());
  clock.advance(1ms);  // the events run on the loop
  EXPECT_EQ(windowEvents.count("failed"), 1);
  EXPECT_EQ(cartEvents.count("failed"), 1);
  EXPECT_EQ(windowEvents.failure, "unplugged");
  EXPECT_FALSE(window.DeviceUsable());
  EXPECT_TRUE(window.DevicePresent());  // failed, until the list is read again
  waitForCloses();
  EXPECT_EQ(*jack->closes, 1);
  EXPECT_LT(cart.OpenOutput(), 0);

  window.RescanDevices();  // still gone
  EXPECT_FALSE(window.DevicePresent());
  jack->names = {"system:playback_1+2"};
  window.RescanDevices();  // back
  EXPECT_TRUE(window.DeviceUsable());
  EXPECT_EQ(cart.OpenOutput(), 0) << cart.lastError();
}

TEST_F(DeviceList, TheNullDeviceStandsInOnlyWhileTheMachineHasNoOther) {
  make({}, {});
  ASSERT_EQ(devices->count(), 1);
  EXPECT_EQ(devices->device(0)->name, DeviceManager::kNullDeviceName);
  EXPECT_EQ(devices->defaultDevice(), 0);
  jack->names = {"system:playback_1+2"};
  devices->rescan();
  EXPECT_FALSE(devices->device(0)->usable);
  EXPECT_EQ(devices->defaultDevice(), 1);
  jack->names.clear();
  devices->rescan();
  EXPECT_TRUE(devices->device(0)->usable);
  EXPECT_EQ(devices->count(), 2);
}

TEST(StreamHeartbeat, AStreamHasThreeSecondsToItsFirstCallbackThenTheStallLimit) {
  constexpr std::int64_t kMs = 1'000'000;
  StreamHeartbeat beat;
  beat.starting(1000 * kMs);
  // A PulseAudio sink was seen taking 0.9-1.9 s to its first callback.
  EXPECT_FALSE(beat.stalled(1000 * kMs + 1900 * kMs, 500 * kMs));
  EXPECT_FALSE(beat.stalled(1000 * kMs + 3000 * kMs, 500 * kMs));
  EXPECT_TRUE(beat.stalled(1000 * kMs + 3001 * kMs, 500 * kMs));
  beat.beat(2900 * kMs, 256);
  EXPECT_FALSE(beat.stalled(3400 * kMs, 500 * kMs));
  EXPECT_TRUE(beat.stalled(3401 * kMs, 500 * kMs));
  EXPECT_EQ(beat.lastFrames(), 256);
}

TEST(JackPorts, PlaybackPortsPairUpInOrderNamedByTheirPorts) {
  const auto pairs =
      pairPlaybackPorts({"system:playback_1", "system:playback_2", "system:playback_3",
                         "system:playback_4", "hdmi:out_FL", "hdmi:out_FR", "system:playback_5"});
  ASSERT_EQ(pairs.size(), 4U);
  EXPECT_EQ(pairs[0].name, "system:playback_1+2");
  EXPECT_EQ(pairs[1].name, "system:playback_3+4");
  EXPECT_EQ(pairs[1].ports, (std::vector<std::string>{"system:playback_3", "system:playback_4"}));
  EXPECT_EQ(pairs[2].name, "hdmi:out_FL+hdmi:out_FR");
  EXPECT_EQ(pairs[3].name, "system:playback_5");
  EXPECT_EQ(pairs[3].ports.size(), 1U);
  EXPECT_TRUE(pairPlaybackPorts({}).empty());
}

}  // namespace
}  // namespace quillon::audio
