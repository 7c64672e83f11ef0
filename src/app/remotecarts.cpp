#include "app/remotecarts.h"

#include "app/cartoucheur.h"

namespace quillon::app {

void RemoteCarts::fire(const std::string& letter, remote::RemoteSource source) {
  const asrun::StartCause cause =
      source == remote::RemoteSource::Midi ? asrun::StartCause::Midi : asrun::StartCause::Osc;
  for (int i = 0; i < m_window.cartCount(); ++i) {
    m_window.cart(i)->cart().KeyPressRacc(letter, cause);
  }
}

void RemoteCarts::stop(const std::string& letter) {
  for (int i = 0; i < m_window.cartCount(); ++i) {
    cart::Cartouche& cart = m_window.cart(i)->cart();
    if (cart.Letter() == letter) cart.stopClick();  // nothing when it does not play
  }
}

void RemoteCarts::panic() { m_window.stopAllCarts(); }  // as the Escape key does

}  // namespace quillon::app
