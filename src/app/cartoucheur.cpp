#include "app/cartoucheur.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWindow>

#include "about/form1.h"
#include "about/shell.h"
#include "app/artwork.h"
#include "app/configkeys.h"
#include "app/favoritessteps.h"
#include "app/firstrun.h"
#include "app/keymapletter.h"
#include "app/panickey.h"
#include "app/statusbar1.h"
#include "app/studiolook.h"
#include "app/toolbar1.h"
#include "audio/engine.h"
#include "clock/clockpanel.h"
#include "common/cartset.h"
#include "common/twips.h"
#include "palette/palettecommands.h"
#include "palette/palettedialogs.h"

namespace quillon::app {

Cartoucheur::Cartoucheur(audio::Engine& engine, CartoucheurServices services, QWidget* parent)
    : QWidget(parent),
      m_engine(engine),
      m_services(std::move(services)),
      m_onAir(m_services.additions.endWarning.seconds) {
  setObjectName("Cartoucheur");
  setWindowTitle(kCaption);
  setWindowIcon(artwork::programWindowIcon());
  setPalette(look::windowPalette());
  setAutoFillBackground(true);
  setFont(look::uiFont(9));

  m_controls = buildControls(this, m_engine);
  // The carts are asked for at each command, so every cart made later counts.
  m_paletteCommands = std::make_unique<palette::PaletteCommands>(
      [this] {
        std::vector<cart::Cartouche*> carts;
        for (cart::CartWidget* widget : m_cartouche1) carts.push_back(&widget->cart());
        return carts;
      },
      palette::standardPaletteDialogs(this));
  m_services.favorites.attachInset(
      {m_controls.favouritesList, m_controls.addFavourite, m_controls.clearFavourites,
       [this](const std::string& path) {
         m_paletteCommands->LoadPaletteFile(QString::fromStdString(path));
       },
       [this] { m_controls.cartCanvas->setFocus(Qt::OtherFocusReason); }, this});
  connect(m_controls.toolbar, &Toolbar1::buttonClicked, this, &Cartoucheur::onToolbarButtonClick);
  connect(m_controls.cartScrollBar, &QScrollBar::valueChanged, this,
          &Cartoucheur::onScrollBarMoved);
  connectSplitter();
  // The list's change and click notifications run the same selection.
  connect(m_controls.deviceList, &QComboBox::currentIndexChanged, this,
          &Cartoucheur::onDeviceChosen);
  connect(m_controls.deviceList, &QComboBox::activated, this, &Cartoucheur::onDeviceChosen);
  m_toolbarHandlers[static_cast<std::size_t>(ToolbarCommand::Quit)] = [this] { quit(); };
  m_toolbarHandlers[static_cast<std::size_t>(ToolbarCommand::New)] = [this] { newGrid(); };
  m_toolbarHandlers[static_cast<std::size_t>(ToolbarCommand::Open)] = [this] { OpenPalette(); };
  m_toolbarHandlers[static_cast<std::size_t>(ToolbarCommand::Save)] = [this] { SavePalette(); };
  m_toolbarHandlers[static_cast<std::size_t>(ToolbarCommand::About)] = [this] { showAbout(); };
  // Cart 0 is part of the design; the load step copies it.
  m_cartouche1.push_back(createCart());

  // GetKeys runs from the window's creation to its end; the key presses it
  // reads are recorded by an application-wide filter.
  qApp->installEventFilter(this);
  m_getKeys.setInterval(kGetKeysIntervalMs);
  connect(&m_getKeys, &QTimer::timeout, this, &Cartoucheur::GetKeys);
  m_getKeys.start();

  // The initial client area, in the centre of the screen.
  m_requestedWidth = WindowGeometry::kInitialWidth;
  m_requestedHeight = WindowGeometry::kInitialHeight;
  m_requestedPixels = QSize(twipsToPixels(m_requestedWidth, logicalDpiX()),
                            twipsToPixels(m_requestedHeight, logicalDpiY()));
  resize(m_requestedPixels);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const PixelSize outer =
        minimumOuterPixels(WindowGeometry::kMinimumOuterWidth, WindowGeometry::kMinimumOuterHeight,
                           logicalDpiX(), logicalDpiY());
    move(screen->availableGeometry().center() - QPoint(outer.width / 2, outer.height / 2));
  }

  for (LoadStep step : kLoadOrder) {
    runLoadStep(step);
    m_loadStepsRun.push_back(step);
  }
  setUpPreListen();
  applyGeometry();
}

Cartoucheur::~Cartoucheur() = default;

void Cartoucheur::runLoadStep(LoadStep step) {
  switch (step) {
    case LoadStep::EmptyFavorites:
      m_services.favorites.EmptyFavorites();
      break;
    case LoadStep::MinimumSize:
      installMinimumSize();
      break;
    case LoadStep::FirstRun:
      runFirstRun(m_services.config, [this] { openWelcomePage(); });
      break;
    case LoadStep::LoadFavorites:
      m_services.favorites.LoadFavorites();
      break;
    case LoadStep::Carts:
      createCarts();
      break;
    case LoadStep::ArrangeCarts:
      m_geometry.ArrangeCarts();
      applyGeometry();
      break;
    case LoadStep::StudioClock:
      buildStudioClock();
      break;
    case LoadStep::AudioPlayerMain:
      m_audioPlayerMain = m_engine.createPlayer();
      m_audioPlayerMain->setEventHandler(&m_deviceFailureEvents);
      break;
    case LoadStep::FillDeviceList:
      FillDeviceList();
      break;
  }
}

void Cartoucheur::installMinimumSize() { updateMinimumSize(); }

void Cartoucheur::openWelcomePage() {
  // A failure to open is not reported: the page is offered once, no more.
  if (!m_services.welcomePage.isEmpty()) m_services.shell.ShellOpen(m_services.welcomePage, "", "");
}

void Cartoucheur::createCarts() {
  for (int k = 0; k < WindowGeometry::kCartCount; ++k) {
    if (k != 0) m_cartouche1.push_back(createCart());
    cart::CartWidget* cart = m_cartouche1[static_cast<std::size_t>(k)];
    cart->show();
    cart->cart().SetMyLetter(std::string(1, cartLetter(k)));
  }
}

void Cartoucheur::buildStudioClock() {
  clock::ClockPanel* clock = m_controls.clock;
  clock->setPanelWidthTwips(m_geometry[Panel::Picture2].width);
  clock->BuildLedRing();
  clock->ResetLedRing();
  clock->FillLedRing();
}

void Cartoucheur::FillDeviceList() {
  QComboBox* list = m_controls.deviceList;
  audio::Player& main = *m_audioPlayerMain;
  {
    const QSignalBlocker quiet(list);  // clearing is not a choice
    list->clear();
  }
  const int n = main.DeviceCount();
  if (n < 1) return;
  // Whatever the list ends on, the status bar says how the chosen device is.
  struct ShowStateAtEnd {
    Cartoucheur& window;
    ~ShowStateAtEnd() { window.showDeviceState(); }
  } showState{*this};
  int current = main.CurrentDevice();
  // One number past the count is tried too; it is listed only if usable.
  for (int d = 0; d <= main.DeviceCount(); ++d) {
    main.SelectDevice(d);
    if (main.DeviceUsable()) {
      const QSignalBlocker quiet(list);
      list->addItem(QString::fromStdString(main.DeviceName()), d);
    }
  }
  // The current device's own entry, found by its number and never by list
  // position (an unusable device leaves a gap in the numbers): a refill, each
  // time the list is opened, switches nothing and stops no cart.
  if (const int own = list->findData(current); own >= 0) {
    main.SelectDevice(current);
    list->setCurrentIndex(own);
    return;
  }
  // A device that went keeps its number: it stays the choice, shown as
  // absent (or failed), so that no cart is moved to another device behind
  // the operator's back, and it is taken again when it returns.
  main.SelectDevice(current);
  if (const std::string name = main.DeviceName(); !name.empty()) {
    const QSignalBlocker quiet(list);
    list->addItem(
        QString::fromStdString(name) +
            (main.DevicePresent() ? QStringLiteral(" (failed)") : QStringLiteral(" (absent)")),
        current);
    list->setCurrentIndex(list->count() - 1);
    return;
  }
  // No device behind the current number: the entry at its number, or the
  // last one, and selecting it switches to that entry's device.
  const int last = list->count() - 1;
  if (current > last) current = last;
  main.SelectDevice(current);
  list->setCurrentIndex(current);
}

namespace {
// The status bar's subject for the output device's messages.
constexpr const char* kDeviceSubject = "Output device";
}  // namespace

void Cartoucheur::onDeviceFailed(const std::string& reason) {
  m_deviceFailure = reason;
  FillDeviceList();
}

void Cartoucheur::showDeviceState() {
  audio::Player& main = *m_audioPlayerMain;
  const QString name = QString::fromStdString(main.DeviceName());
  QString message;
  if (!main.DeviceUsable() && !name.isEmpty()) {
    message =
        main.DevicePresent()
            ? QStringLiteral("\"%1\" failed: %2").arg(name, QString::fromStdString(m_deviceFailure))
            : QStringLiteral("\"%1\" is absent: carts on it cannot play").arg(name);
  }
  if (message.isEmpty()) m_deviceFailure.clear();
  if (message == m_deviceMessage) return;
  m_deviceMessage = message;
  if (message.isEmpty()) {
    resolveStatus(kDeviceSubject);
  } else {
    postStatus({kDeviceSubject, message.toStdString(), StatusUrgency::DeviceFailure});
  }
}

void Cartoucheur::onDeviceChosen(int entry) {
  if (entry < 0 || !m_audioPlayerMain) return;
  const int device = m_controls.deviceList->itemData(entry).toInt();
  if (device == m_audioPlayerMain->CurrentDevice()) return;
  m_audioPlayerMain->SelectDevice(device);
  for (cart::CartWidget* cart : m_cartouche1) cart->cart().SetDevOutput(device);
  showPreListenState();  // the cue device may be the output device now
  m_controls.cartCanvas->setFocus();
}

bool Cartoucheur::anyCartPlaying() const {
  for (const cart::CartWidget* cart : m_cartouche1) {
    if (cart->cart().Playing()) return true;
  }
  return false;
}

void Cartoucheur::chooseDeviceAfterRescan(int device) {
  if (!m_audioPlayerMain) return;
  // The entries' numbers changed with the list: fill it again. With the
  // device chosen first, filling selects its entry and switches nothing.
  m_audioPlayerMain->SelectDevice(device);
  FillDeviceList();
  if (device < 0) m_controls.deviceList->setCurrentIndex(-1);
  for (cart::CartWidget* cart : m_cartouche1) cart->cart().SetDevOutput(device);
}

namespace {

KeyModifiers modifiersOf(const QKeyEvent& key) {
  const Qt::KeyboardModifiers held = key.modifiers();
  KeyModifiers m = 0;
  if (held & Qt::ShiftModifier) m |= kShiftKey;
  if (held & Qt::ControlModifier) m |= kControlKey;
  if (held & Qt::AltModifier) m |= kAltKey;
  if (held & Qt::MetaModifier) m |= kMetaKey;
  return m;
}

// Whether native scan codes are X keycodes (the Linux input code + 8).
bool scanCodesAreXKeycodes() {
  const QString platform = QGuiApplication::platformName();
  return platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
}

}  // namespace

std::optional<char> Cartoucheur::cartLetterOf(const QKeyEvent& key) {
  const int code = key.key();
  if (code >= Qt::Key_A && code <= Qt::Key_Z) {
    return letterOfKey(static_cast<char>('A' + (code - Qt::Key_A)), false, std::nullopt, 0);
  }
  // A letter of another script (Cyrillic, Greek, Hebrew, Arabic...): the
  // Latin letter of the same physical key.
  const bool otherLetter = code > 0 && code <= 0xFFFF && QChar(code).isLetter();
  if (!otherLetter || !scanCodesAreXKeycodes()) return std::nullopt;
  const std::uint32_t keycode = key.nativeScanCode();
  return letterOfKey(std::nullopt, true, latinLetterInKeymap(keycode), keycode);
}

bool Cartoucheur::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      // One press reaches the filter once per object on its way; count it
      // where it enters, at the window.
      const auto* key = static_cast<QKeyEvent*>(event);
      const std::optional<char> letter =
          watched->isWindowType() && !key->isAutoRepeat() ? cartLetterOf(*key) : std::nullopt;
      if (letter && event->type() == QEvent::KeyRelease) {
        m_letterPresses.release(*letter, key->timestamp());
      } else if (letter && watched == windowHandle()) {
        // Only presses typed into this window: not into a dialog or a menu.
        const LetterPress press{*letter, modifiersOf(*key)};
        const bool instant = m_services.additions.keys.instant;
        // Ctrl+C, Ctrl+V... in a text field keep their editing meaning.
        const bool editing = press.preListens() && editingText();
        if (m_letterPresses.press(press.letter, press.modifiers, key->timestamp(),
                                  !instant && !editing) &&
            instant && !editing && lettersReachCarts()) {
          if (press.firesCart()) handOn(std::string(1, press.letter));
          if (press.preListens()) handOnPreListen(std::string(1, press.letter));
        }
      }
      // The panic only for a key entering this window: a menu, a combo box's
      // list or a dialog is a window of its own and keeps its Escape.
      if (event->type() == QEvent::KeyPress && watched == windowHandle() && panicKey(*key)) {
        return true;
      }
      break;
    }
    case QEvent::MouseButtonPress:
      // Opening the device list reads the devices again (before the list
      // shows), so a sound card that came back, a restarted audio server or
      // a USB card plugged in again, can be chosen without a restart.
      if (watched == m_controls.deviceList && m_audioPlayerMain) {
        m_audioPlayerMain->RescanDevices();
        FillDeviceList();
      }
      break;
    case QEvent::ApplicationDeactivate:
      m_letterPresses.clear();
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

bool Cartoucheur::lettersReachCarts() const {
  return isActiveWindow() && QApplication::activeModalWidget() == nullptr &&
         QApplication::activePopupWidget() == nullptr;
}

void Cartoucheur::handOn(const std::string& letter) {
  for (cart::CartWidget* cart : m_cartouche1) cart->cart().KeyPressRacc(letter);
}

void Cartoucheur::GetKeys() {
  if (!lettersReachCarts()) {
    m_letterPresses.clear();
    return;
  }
  // Every letter pressed since the last tick, in the order pressed: two
  // carts fired together both start.
  bool handedOn = false;
  for (const LetterPress& press : m_letterPresses.takePresses()) {
    if (press.preListens()) handOnPreListen(std::string(1, press.letter));
    if (!press.firesCart()) continue;
    handOn(std::string(1, press.letter));
    handedOn = true;
  }
  if (!handedOn) handOn("");
}

void Cartoucheur::postStatus(StatusMessage message) {
  m_statusMessages.post(std::move(message));
  m_controls.statusBar->showMessages(m_statusMessages);
}

void Cartoucheur::resolveStatus(std::string_view subject) {
  if (m_statusMessages.resolve(subject)) m_controls.statusBar->showMessages(m_statusMessages);
}

void Cartoucheur::onCartShownChanged(int index) {
  const cart::Cartouche& c = m_cartouche1.at(static_cast<std::size_t>(index))->cart();
  // A pre-listen is not on air.
  m_onAir.update(index, {c.Playing() && !c.isPreListen(), c.Paused(), c.LoopOn(), c.Letter(),
                         c.titleText(), c.shownMs(), c.totalMs()});
  m_controls.statusBar->showOnAir(m_onAir.entries());
}

bool Cartoucheur::panicKey(const QKeyEvent& key) {
  if (!m_services.additions.panic.enabled) return false;
  const PanicCommand command = panicCommandOf(key);
  if (command == PanicCommand::None || escapeBelongsElsewhere(*this)) return false;
  if (command == PanicCommand::StopAll) {
    stopAllCarts();
  } else {
    fadeOutAllCarts();
  }
  return true;
}

void Cartoucheur::stopAllCarts() {
  for (cart::CartWidget* cart : m_cartouche1) cart->cart().stopPlaying();
}

void Cartoucheur::fadeOutAllCarts() {
  for (cart::CartWidget* cart : m_cartouche1) cart->cart().fadeOutAndStop(kPanicFadeMs);
}

void Cartoucheur::onSurvole(int index) {
  for (int i = 0; i < static_cast<int>(m_cartouche1.size()); ++i) {
    if (i != index) m_cartouche1[static_cast<std::size_t>(i)]->cart().SetNormal();
  }
  m_cartouche1.at(static_cast<std::size_t>(index))->cart().SetSurvole();
  m_controls.cartCanvas->setFocus();
}

void Cartoucheur::onAffectFile() {
  for (cart::CartWidget* cart : m_cartouche1) cart->cart().SetNormal();
  m_controls.cartCanvas->setFocus();
}

void Cartoucheur::onToolbarButtonClick(int position) {
  dispatchToolbarClick(position, m_toolbarHandlers);
}

void Cartoucheur::quit() {
  // Quit skips the window's close, so it writes the favourites itself.
  m_services.favorites.SaveFavorites();
  for (cart::CartWidget* cart : m_cartouche1) cart->cart().StopMyplay(asrun::EndReason::Quit);
  if (m_services.endProgram) m_services.endProgram();
}

void Cartoucheur::newGrid() {
  for (cart::CartWidget* cart : m_cartouche1) cart->cart().StopMyplay();
}

cart::CartWidget* Cartoucheur::createCart() {
  // Hidden until the load step shows it, as the window's copies of cart 0.
  auto* widget = new cart::CartWidget(m_engine, m_controls.cartCanvas);
  widget->hide();
  const settings::EndWarningSettings& warning = m_services.additions.endWarning;
  widget->cart().setEndWarning({warning.enabled, warning.seconds});
  widget->cart().setRunningTimeCountdown(m_services.additions.display.remaining);
  widget->cart().setPlayReport(m_services.playReport);
  const settings::LoudnessSettings& loudness = m_services.additions.loudness;
  if (loudness.enabled) {
    widget->cart().setLoudness(m_engine.createLoudnessMeter(), {loudness.target, loudness.ceiling});
  }
  const int index = static_cast<int>(m_cartouche1.size());
  connect(widget, &cart::CartWidget::playingShownChanged, this,
          [this, index] { onCartShownChanged(index); });
  connect(widget, &cart::CartWidget::Survole, this, [this, index] { onSurvole(index); });
  connect(widget, &cart::CartWidget::AffectFile, this, &Cartoucheur::onAffectFile);
  return widget;
}

void Cartoucheur::OpenPalette() { m_paletteCommands->OpenPalette(); }
void Cartoucheur::SavePalette() { m_paletteCommands->SavePalette(); }

void Cartoucheur::showAbout() {
  about::Form1 form(m_services.shell, this);
  form.exec();
}

void Cartoucheur::closeEvent(QCloseEvent* event) {
  m_services.favorites.SaveFavorites();
  event->accept();  // the close is never refused
}

}  // namespace quillon::app
