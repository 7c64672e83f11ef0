// The main window: owns the carts, the panels, the clock, the device list
// and AudioPlayerMain for the whole run. Its creation is the load step, its
// close writes the favourites, and its toolbar dispatches the commands.
// Geometry lives in WindowGeometry (twips); this class only applies it.
// UI thread.
#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "app/cartoucheurcontrols.h"
#include "app/devicefailureevents.h"
#include "app/letterpresses.h"
#include "app/loadorder.h"
#include "app/minimumsize.h"
#include "app/onairlist.h"
#include "app/panelsplitter.h"
#include "app/statusmessages.h"
#include "app/toolbarcommands.h"
#include "app/windowgeometry.h"
#include "asrun/playreport.h"
#include "cart/cartwidget.h"
#include "settings/additionsettings.h"

class QKeyEvent;

namespace quillon::audio {
class Engine;
class Player;
}  // namespace quillon::audio

namespace quillon::about {
class Shell;
}

namespace quillon::palette {
class PaletteCommands;
}

namespace quillon::app {

class ConfigKeys;
class FavoritesSteps;

// What the window works with beyond its engine.
struct CartoucheurServices {
  ConfigKeys& config;         // Config.ini
  FavoritesSteps& favorites;  // FavoriteLinks and its keys
  about::Shell& shell;        // the desktop's opener
  QString welcomePage;        // the first-run page; empty when none was found
  // Ends the program at once, for Quit; the window's close does not run.
  std::function<void()> endProgram;
  // Quillon.ini: the panic key and the end warning, on unless switched off;
  // instant keys and the countdown, off unless switched on.
  settings::AdditionSettings additions = {};
  // Where the carts report their plays (the as-run log); null for none.
  asrun::PlayReport* playReport = nullptr;
};

class Cartoucheur : public QWidget {
  Q_OBJECT
  // Tests and benchmarks look inside through it (tests/support/cartoucheurprobe.h).
  friend struct CartoucheurProbe;

 public:
  static constexpr const char* kCaption = "Quillon V1.0";
  static constexpr int kGetKeysIntervalMs = 100;
  // How long Shift+Escape takes to bring the carts to silence.
  static constexpr std::int64_t kPanicFadeMs = 2000;

  // Creates the window's controls and runs the load step; the window is then
  // ready to be shown.
  Cartoucheur(audio::Engine& engine, CartoucheurServices services, QWidget* parent = nullptr);
  ~Cartoucheur() override;

  const WindowGeometry& geometry() const { return m_geometry; }
  const PanelSplitter& splitter() const { return m_splitter; }
  const CartoucheurControls& controls() const { return m_controls; }
  int cartCount() const { return static_cast<int>(m_cartouche1.size()); }
  cart::CartWidget* cart(int index) const {
    return m_cartouche1.at(static_cast<std::size_t>(index));
  }
  audio::Player* AudioPlayerMain() const { return m_audioPlayerMain.get(); }

  // Whether any cart plays or is paused.
  bool anyCartPlaying() const;

  // The status bar's message area: the one way for the device layer, the
  // settings and the as-run log to tell the operator what went wrong. A
  // message about a subject replaces the last one about it and stays until
  // its subject is resolved; the most urgent shows (StatusMessages).
  void postStatus(StatusMessage message);
  void resolveStatus(std::string_view subject);
  const StatusMessages& statusMessages() const { return m_statusMessages; }
  // The on-air view's lines, in the order the carts started.
  const std::vector<OnAirEntry>& onAir() const { return m_onAir.entries(); }
  // After the device list was read again (the chosen device came back, or
  // is still missing): `device` (-1: none) becomes the choice of
  // AudioPlayerMain, the list is filled again and every cart is switched to
  // it with SetDevOutput.
  void chooseDeviceAfterRescan(int device);

  // Pre-listen ([PreListen] Device): the window's player on the cue device
  // (null while pre-listen is off), and the device taken again after the
  // list was read again, for the device's return (cartoucheurprelisten.cpp).
  audio::Player* preListenPlayer() const { return m_cuePlayer.get(); }
  void choosePreListenDeviceAfterRescan(int device);

  // The toolbar's button-click notification, by the button's position.
  void onToolbarButtonClick(int position);

  // The panic, for Escape and Shift+Escape and for remote control (always
  // available here; [Panic] Enabled=0 switches off only the keys). Neither
  // empties a cart or changes its settings.
  // Every playing or paused cart stops at once.
  void stopAllCarts();
  // Every playing cart fades to silence over kPanicFadeMs, then stops; paused
  // carts, silent already, stay paused (Escape stops them).
  void fadeOutAllCarts();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Letter presses entering this window, for GetKeys (or at once, with
  // instant keys).
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void runLoadStep(LoadStep step);
  void installMinimumSize();
  void openWelcomePage();
  void createCarts();
  cart::CartWidget* createCart();
  void buildStudioClock();
  void FillDeviceList();
  void onDeviceChosen(int entry);
  // The chosen device failed (told even while no cart plays).
  void onDeviceFailed(const std::string& reason);
  // The status bar says which device failed or went, until it is usable.
  void showDeviceState();
  void GetKeys();
  // Whether a letter typed now reaches the carts: this window is the one in
  // front, not behind a dialog, a message box or a menu.
  bool lettersReachCarts() const;
  // Every cart hears `letter` (KeyPressRacc), in index order.
  void handOn(const std::string& letter);
  // A key event's letter for the carts, whatever the keyboard's layout.
  static std::optional<char> cartLetterOf(const QKeyEvent& key);
  void onCartShownChanged(int index);
  // Pre-listen: the cue device found by name, told to every cart; its state
  // in the status bar; Ctrl+letter handed on.
  void setUpPreListen();
  void choosePreListenDevice(int device);
  void showPreListenState();
  void handOnPreListen(const std::string& letter);
  // Whether the focus is in a text field, where Ctrl+letter edits.
  static bool editingText();
  // Escape or Shift+Escape entering this window; true when the panic ran.
  bool panicKey(const QKeyEvent& key);
  void onSurvole(int index);
  void onAffectFile();

  // Toolbar commands.
  void quit();
  void newGrid();
  void OpenPalette();
  void SavePalette();
  void showAbout();

  // Geometry: the model's panels and carts onto the widgets.
  void applyGeometry();
  void applyScrollBar();
  void onScrollBarMoved(int toolkitValue);
  void resizeFromPlatform(QSize clientPixels);
  void updateMinimumSize();
  void connectSplitter();

  audio::Engine& m_engine;
  CartoucheurServices m_services;
  WindowGeometry m_geometry;
  PanelSplitter m_splitter{m_geometry};
  CartoucheurControls m_controls;
  std::vector<cart::CartWidget*> m_cartouche1;
  std::unique_ptr<audio::Player> m_audioPlayerMain;
  DeviceFailureEvents m_deviceFailureEvents{[this](const std::string& r) { onDeviceFailed(r); }};
  std::string m_deviceFailure;  // the reason of the chosen device's last failure
  QString m_deviceMessage;
  std::unique_ptr<palette::PaletteCommands> m_paletteCommands;
  QTimer m_getKeys;
  LetterPresses m_letterPresses;
  std::unique_ptr<audio::Player> m_cuePlayer;  // the cue device's; see preListenPlayer
  DeviceFailureEvents m_cueFailureEvents{[this](const std::string& r) {
    m_cueFailure = r;
    showPreListenState();
  }};
  std::string m_cueFailure;
  StatusMessages m_statusMessages;
  OnAirList m_onAir;
  std::vector<LoadStep> m_loadStepsRun;
  ToolbarHandlers m_toolbarHandlers;
  FrameMargins m_frame;
  bool m_frameKnown = false;
  // The last size asked of the platform, with its twips, so that the resize
  // it causes is taken in exact twips rather than back from pixels.
  QSize m_requestedPixels;
  float m_requestedWidth = 0;
  float m_requestedHeight = 0;
};

}  // namespace quillon::app
