// Takes the chosen output device back when it returns after a failure (its
// audio server restarted, a USB card plugged back in).
//
// While the device chosen on the window's player (AudioPlayerMain) is usable
// nothing happens. Once it has failed, each check reads the device list
// again (not while a cart plays: it waits for the next check) and looks for a
// usable device of the same name; when one is there it is chosen again: on
// the window's player, in the list and on every cart (through SetDevOutput,
// as a choice in the list does). Until then a device still listed under its
// name (the device manager keeps a gone device's number) stays the choice,
// shown as absent; one no longer listed at all leaves no entry selected and
// the carts pointing at no device. A device the operator picks in the
// meantime becomes the choice, and the wait ends. UI thread.
#pragma once

#include <functional>
#include <string>

#include "audio/player.h"

namespace quillon::remote {

// The usable device of that name, else the first listed under it (gone or
// failed: it keeps its number), else -1; selected on `player`.
int deviceNamed(audio::Player& player, const std::string& name);

class DeviceReturn {
 public:
  struct Host {
    // Whether any cart is playing or paused.
    std::function<bool()> anyCartPlaying;
    // Makes `device` (-1: none) the choice of the window's player, of the
    // list (read again) and of every cart.
    std::function<void(int device)> choose;
  };

  enum class Step {
    Present,        // the chosen device is usable
    NothingChosen,  // no device was ever chosen: nothing to wait for
    CartPlaying,    // missing, but a cart plays: looked again at the next check
    StillMissing,   // the list was read again; the device is not back
    Returned,       // the device is back and chosen again
  };

  DeviceReturn(audio::Player& main, Host host) : m_main(main), m_host(std::move(host)) {}

  Step check();
  // The name of the device waited for; empty when none is.
  const std::string& awaitedName() const { return m_awaited; }

 private:
  audio::Player& m_main;
  Host m_host;
  std::string m_awaited;
};

}  // namespace quillon::remote
