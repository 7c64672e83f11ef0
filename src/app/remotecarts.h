// What remote commands do to the window's carts. A remote press reaches
// every cart at once as `KeyPressRacc`, whichever window is in front: a
// controller is not the keyboard, so the keyboard's test of the window in
// front does not apply. UI thread.
#pragma once

#include "remote/remotecommand.h"

namespace quillon::app {

class Cartoucheur;

class RemoteCarts : public remote::RemoteCommands {
 public:
  explicit RemoteCarts(Cartoucheur& window) : m_window(window) {}

  void fire(const std::string& letter, remote::RemoteSource source) override;
  // Stops the cart of that letter if it plays (or is paused).
  void stop(const std::string& letter) override;
  // Stops every cart that plays or is paused.
  void panic() override;

 private:
  Cartoucheur& m_window;
};

}  // namespace quillon::app
