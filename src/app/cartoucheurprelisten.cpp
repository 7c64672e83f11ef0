// Pre-listen in the window: the cue device named in Quillon.ini, found in the
// device list and told to every cart; the status bar while it cannot be used;
// Ctrl+letter handed to the carts. UI thread.
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "app/cartoucheur.h"
#include "app/prelistenstate.h"
#include "audio/engine.h"
#include "remote/devicereturn.h"

namespace quillon::app {

void Cartoucheur::setUpPreListen() {
  const std::string& wanted = m_services.additions.preListen.device;
  if (wanted.empty()) return;  // off: Ctrl+click is a click, Ctrl+letter nothing
  m_cuePlayer = m_engine.createPlayer();
  m_cuePlayer->setEventHandler(&m_cueFailureEvents);
  const int device = remote::deviceNamed(*m_cuePlayer, wanted);
  if (device < 0) {
    // Not in the list at all: pre-listen stays off, and the status bar says so.
    m_cuePlayer.reset();
    showPreListenState();
    return;
  }
  choosePreListenDevice(device);
}

void Cartoucheur::choosePreListenDevice(int device) {
  m_cuePlayer->SelectDevice(device);
  // Once set, a cart's pre-listen stays on: on a device that went it fails
  // to start, and never plays on air instead.
  for (cart::CartWidget* cart : m_cartouche1) cart->cart().setCueDevice(device);
  showPreListenState();
}

void Cartoucheur::choosePreListenDeviceAfterRescan(int device) {
  if (m_cuePlayer) choosePreListenDevice(device);
}

void Cartoucheur::showPreListenState() {
  const std::string& wanted = m_services.additions.preListen.device;
  if (wanted.empty()) return;
  PreListenDeviceState state;
  if (m_cuePlayer) {
    state.name = m_cuePlayer->DeviceName();
    state.usable = m_cuePlayer->DeviceUsable();
    state.present = m_cuePlayer->DevicePresent();
    state.isOutputDevice = m_audioPlayerMain != nullptr &&
                           m_cuePlayer->CurrentDevice() == m_audioPlayerMain->CurrentDevice();
    state.failure = m_cueFailure;
  }
  const std::string message = preListenMessage(wanted, state);
  if (message.empty()) {
    m_cueFailure.clear();
    resolveStatus(kPreListenSubject);
  } else {
    postStatus({kPreListenSubject, message, StatusUrgency::Failure});
  }
}

void Cartoucheur::handOnPreListen(const std::string& letter) {
  if (!m_cuePlayer) return;
  for (cart::CartWidget* cart : m_cartouche1) cart->cart().KeyPressPreListen(letter);
}

bool Cartoucheur::editingText() {
  const QWidget* focus = QApplication::focusWidget();
  if (focus == nullptr) return false;
  if (const auto* combo = qobject_cast<const QComboBox*>(focus)) return combo->isEditable();
  return qobject_cast<const QLineEdit*>(focus) != nullptr ||
         qobject_cast<const QTextEdit*>(focus) != nullptr ||
         qobject_cast<const QPlainTextEdit*>(focus) != nullptr ||
         qobject_cast<const QAbstractSpinBox*>(focus) != nullptr;
}

}  // namespace quillon::app
