#include "cart/cartwidget.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <cmath>

#include "cart/cartartwork.h"
#include "cart/cartdropzones.h"
#include "cart/cartpicture.h"
#include "cart/carttext.h"
#include "common/twips.h"

namespace quillon::cart {

namespace {

constexpr LookParts kAllParts = ~LookParts{0};

QFont arial(qreal points, bool bold) {
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

QColor fromBgr(std::uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

Artwork backgroundArt(Background background) {
  switch (background) {
    case Background::Play:
      return Artwork::ImgPlay;
    case Background::Drag:
      return Artwork::ImgDrag;
    case Background::Stop:
      break;
  }
  return Artwork::ImgStop;
}

}  // namespace

// The cart's events become the widget's signals; its look changes, repaints.
class CartWidget::Listener final : public CartListener {
 public:
  explicit Listener(CartWidget& widget) : m_widget(widget) {}
  void Survole() override { emit m_widget.Survole(); }
  void AffectFile() override { emit m_widget.AffectFile(); }
  void lookChanged(LookParts parts) override {
    m_widget.applyLook(parts);
    if ((parts & (kBackgroundPart | kTitlePart | kRunningTimePart | kSwitchesPart)) != 0) {
      emit m_widget.playingShownChanged();
    }
  }

 private:
  CartWidget& m_widget;
};

CartWidget::CartWidget(audio::Engine& engine, QWidget* parent)
    : QWidget(parent),
      m_cart(std::make_unique<Cartouche>(engine)),
      m_listener(std::make_unique<Listener>(*this)) {
  setObjectName(QStringLiteral("Cartouche"));
  setFixedSize(toPixels(kWidthTwips), toPixels(kHeightTwips));
  buildElements();
  placeElements();
  connectButtons();
  connectKnobAndThumb();
  setUpDropZones();
  applyLook(kAllParts);
  m_cart->setListener(m_listener.get());
}

CartWidget::~CartWidget() { m_cart->setListener(nullptr); }

void CartWidget::buildElements() {
  const Qt::Alignment centred = Qt::AlignCenter;
  m_trace = new CartTrace(QStringLiteral("Picture6"), this);
  m_length = new CartText(QStringLiteral("Label7"), arial(9, true), centred, this);
  m_runningTime = new CartText(QStringLiteral("Label2"), arial(9, true), centred, this);
  m_positionTrack = new PositionTrack(QStringLiteral("Picture8"), this);
  m_thumb = new CartPicture(QStringLiteral("Picture9"), Artwork::SuiteSlide, 3, m_positionTrack);
  m_loop = new CartText(QStringLiteral("Label5"), arial(8.25, false), centred, this);
  m_pause = new CartPicture(QStringLiteral("Pausec"), Artwork::ControlPause, 2, this);
  m_stop = new CartPicture(QStringLiteral("Stopc"), Artwork::ControlStop, 2, this);
  m_title = new CartText(QStringLiteral("Label1"), arial(9, true), centred, this);
  m_letter = new CartText(QStringLiteral("Label3"), arial(14.25, true), centred, this);
  m_play = new CartPicture(QStringLiteral("Image3"), Artwork::PlayButton, 1, this);
  m_volumeTrack = new CartPicture(QStringLiteral("Picture5"), Artwork::Wedge, 1, this);
  m_knob = new CartPicture(QStringLiteral("Image14"), Artwork::Knob, 1, m_volumeTrack);
  const Qt::Alignment leftCentred = Qt::AlignLeft | Qt::AlignVCenter;
  m_fadeIn = new CartText(QStringLiteral("Label6"), arial(6.75, false), leftCentred, this);
  m_fadeOut = new CartText(QStringLiteral("Label4"), arial(6.75, false), leftCentred, this);

  m_title->setMaxLines(2);
  m_letter->setColour(QColor(24, 28, 33));
  const QColor timeColour = fromBgr(kTimeTextBgr);
  m_length->setColour(timeColour);
  m_runningTime->setColour(timeColour);
  m_loop->setText(QString::fromUtf8(kLoopCaption));
  m_fadeIn->setText(QString::fromUtf8(kFadeInCaption));
  m_fadeOut->setText(QString::fromUtf8(kFadeOutCaption));
  m_fadeIn->setToolTip(QString::fromUtf8(kFadeTooltip));
  m_fadeOut->setToolTip(QString::fromUtf8(kFadeTooltip));
  for (CartText* label : {m_loop, m_fadeIn, m_fadeOut}) label->setClickable(true);
  for (CartPicture* control : {m_play, m_pause, m_stop, m_knob, m_thumb}) {
    control->setPointingHand();
  }
  // The hover looks follow every movement over these three.
  for (CartPicture* control : {m_pause, m_stop, m_thumb}) control->setHoverTracking(true);
}

void CartWidget::placeElements() {
  using namespace geometry;
  m_title->setGeometry(toPixels(kTitle));
  m_length->setGeometry(toPixels(kLength));
  m_runningTime->setGeometry(toPixels(kRunningTime));
  m_letter->setGeometry(toPixels(kLetter));
  m_trace->setGeometry(toPixels(kTrace));
  m_play->setGeometry(toPixels(kPlayButton));
  m_pause->setGeometry(toPixels(kPauseButton));
  m_stop->setGeometry(toPixels(kStopButton));
  m_fadeIn->setGeometry(toPixels(kFadeInSwitch));
  m_loop->setGeometry(toPixels(kLoopSwitch));
  m_fadeOut->setGeometry(toPixels(kFadeOutSwitch));
  m_volumeTrack->setGeometry(toPixels(kVolumeTrack));
  m_knob->resize(toPixels(kKnobWidth), toPixels(kKnobHeight));
  m_positionTrack->setGeometry(toPixels(kPositionTrack));
  m_thumb->resize(toPixels(kThumbWidth), toPixels(kThumbHeight));
}

void CartWidget::connectButtons() {
  Cartouche& cart = *m_cart;
  // Ctrl+click pre-listens (a plain click while pre-listen is off).
  connect(m_play, &CartPicture::clicked, this, [this, &cart] {
    if (m_play->clickModifiers() & Qt::ControlModifier) {
      cart.preListenClick();
    } else {
      cart.playClick();
    }
  });
  connect(m_pause, &CartPicture::clicked, this, [&cart] { cart.pauseClick(); });
  connect(m_stop, &CartPicture::clicked, this, [&cart] { cart.stopClick(); });
  connect(m_pause, &CartPicture::moved, this,
          [this](QPointF at) { m_cart->pauseHover(toTwips(at.x()), toTwips(at.y())); });
  connect(m_stop, &CartPicture::moved, this,
          [this](QPointF at) { m_cart->stopHover(toTwips(at.x()), toTwips(at.y())); });
  connect(m_pause, &CartPicture::left, this, [&cart] { cart.pauseLeave(); });
  connect(m_stop, &CartPicture::left, this, [&cart] { cart.stopLeave(); });
  connect(m_loop, &CartText::clicked, this, [&cart] { cart.loopLabelClick(); });
  connect(m_fadeIn, &CartText::clicked, this, [&cart] { cart.fadeInLabelClick(); });
  connect(m_fadeOut, &CartText::clicked, this, [&cart] { cart.fadeOutLabelClick(); });
}

void CartWidget::connectKnobAndThumb() {
  // The knob holds the pointer from the press to the release, wherever it
  // goes; the cart keeps the knob on its track.
  connect(m_knob, &CartPicture::pressed, this, [this](QPointF at) {
    m_knob->holdPointer();
    m_cart->knobPress(toTwips(at.x()));
  });
  connect(m_knob, &CartPicture::moved, this,
          [this](QPointF at) { m_cart->knobMove(toTwips(at.x())); });
  connect(m_knob, &CartPicture::released, this, [this] {
    m_cart->knobRelease();
    m_knob->letGoPointer();
  });

  // The thumb holds the pointer only for a drag on a playing cart, and
  // reports it as kept on the track until the release.
  connect(m_thumb, &CartPicture::pressed, this, [this](QPointF at) {
    if (m_cart->thumbPress(toTwips(at.x()))) m_thumb->holdPointer(m_positionTrack);
  });
  connect(m_thumb, &CartPicture::moved, this,
          [this](QPointF at) { m_cart->thumbMove(toTwips(at.x()), toTwips(at.y())); });
  connect(m_thumb, &CartPicture::released, this, [this] {
    m_thumb->letGoPointer();
    m_cart->thumbRelease();
  });
  connect(m_thumb, &CartPicture::left, this, [this] { m_cart->thumbLeave(); });
}

void CartWidget::setUpDropZones() {
  m_dropZones = new DropZones(*m_cart, this);
  for (QWidget* zone : std::initializer_list<QWidget*>{this, m_play, m_title, m_runningTime,
                                                       m_letter, m_trace, m_positionTrack}) {
    m_dropZones->forward(zone);
  }
  for (QWidget* element :
       std::initializer_list<QWidget*>{m_pause, m_stop, m_fadeIn, m_loop, m_fadeOut, m_volumeTrack,
                                       m_knob, m_thumb, m_length}) {
    m_dropZones->swallow(element);
  }
}

void CartWidget::applyLook(LookParts parts) {
  const bool wasMissing = m_look.fileMissing;
  m_look = m_cart->look();
  const auto has = [parts](LookPart part) { return (parts & part) != 0; };
  const auto text = [](const std::string& s) { return QString::fromStdString(s); };

  if (has(kBackgroundPart)) {
    update();  // the picture and the paused mark under every element
    m_title->setColour(colourOf(m_look.titleColour()));
  }
  if (has(kTitlePart)) {
    showTitle();
    if (wasMissing != m_look.fileMissing) update();  // the mark frames the band, the lamp turns
  }
  if (has(kLetterPart)) m_letter->setText(text(m_look.letter));
  if (has(kLengthPart)) m_length->setText(text(m_look.length));
  if (has(kRunningTimePart)) {
    m_runningTime->setText(text(m_look.runningTime));
    m_runningTime->repaint();  // at once, not at the next idle paint
  }
  if (has(kTracePart)) m_trace->setPoints(m_look.trace);
  if (has(kKnobPart)) {
    m_knob->move(toPixels(m_look.knobLeft), 0);
    m_knob->setToolTip(text(m_look.knobTooltip));
  }
  if (has(kThumbPart)) {
    const int left = toPixels(m_look.thumbLeft);
    m_thumb->move(left, 0);
    m_thumb->setCell(m_look.thumbLit ? 1 : 0);
    m_positionTrack->setElapsedWidth(m_look.thumbLeft > 0 ? left + m_thumb->width() / 2 : 0);
  }
  if (has(kButtonsPart)) {
    m_pause->setCell(m_look.pauseLit ? 1 : 0);
    m_stop->setCell(m_look.stopLit ? 1 : 0);
  }
  if (has(kSwitchesPart)) {
    m_loop->setColour(colourOf(m_look.loopColour()));
    m_fadeIn->setColour(colourOf(m_look.fadeInColour()));
    m_fadeOut->setColour(colourOf(m_look.fadeOutColour()));
  }
  if (has(kEndWarningPart)) update(endWarningRegion());
}

QRegion CartWidget::endWarningRegion() const {
  // Twice a second: only the band the frame covers, not the whole cart.
  const int depth = static_cast<int>(
      std::ceil(kEndWarningFrameDepth * logicalDpiX() / static_cast<qreal>(geometry::kDesignDpi)));
  return QRegion(rect()) - QRegion(rect().adjusted(depth, depth, -depth, -depth));
}

void CartWidget::showTitle() {
  m_title->setText(QString::fromStdString(m_look.title));
  m_title->setStruck(m_look.fileMissing);
  QString tooltip = QString::fromStdString(m_look.titleTooltip);
  if (m_look.fileMissing && !m_look.missingReason.empty()) {
    tooltip += QLatin1Char('\n') + QString::fromStdString(m_look.missingReason);
  }
  if (!m_look.startFailure.empty()) {
    tooltip += QLatin1Char('\n') + QString::fromStdString(m_look.startFailure);
  }
  if (!m_look.loudness.empty()) {
    tooltip += QLatin1Char('\n') + QString::fromStdString(m_look.loudness);
  }
  m_title->setColour(colourOf(m_look.titleColour()));
  m_title->setToolTip(tooltip);
}

void CartWidget::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.setClipRegion(event->region());
  const qreal scale = logicalDpiX() / static_cast<qreal>(geometry::kDesignDpi);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(scale, scale);
  // A soft shadow in the margin the design leaves around the picture.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 55));
  p.drawRoundedRect(QRectF(1.5, 2, geometry::kPictureWidth, geometry::kPictureHeight), 5.5, 5.5);
  p.setBrush(QColor(0, 0, 0, 40));
  p.drawRoundedRect(QRectF(1, 1, geometry::kPictureWidth, geometry::kPictureHeight), 5, 5);
  p.resetTransform();

  p.drawPixmap(0, 0, artwork(backgroundArt(m_look.background), scale, devicePixelRatioF()));
  p.scale(scale, scale);
  // A drag over a paused cart shows the drag look alone.
  if (m_look.preListen && m_look.background == Background::Play) paintPreListenMark(p);
  if (m_look.paused && m_look.background == Background::Play) paintPausedMark(p);
  if (m_look.fileMissing) paintMissingMark(p);
  if (m_look.endWarning) paintEndWarningFrame(p);
}

void CartWidget::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // The fade labels' off colour is the system's button text.
  if (event->type() == QEvent::PaletteChange && m_fadeIn) applyLook(kSwitchesPart);
}

int CartWidget::toPixels(Twips twips) const { return twipsToPixels(twips, logicalDpiX()); }

QRect CartWidget::toPixels(const geometry::Rect& rect) const {
  return {toPixels(rect.left), toPixels(rect.top), toPixels(rect.width), toPixels(rect.height)};
}

Twips CartWidget::toTwips(qreal pixels) const {
  return static_cast<Twips>(pixelsToTwips(pixels, logicalDpiX()));
}

QColor CartWidget::colourOf(TextColour colour) const {
  if (const auto bgr = bgrOf(colour)) return fromBgr(*bgr);
  return palette().color(QPalette::ButtonText);
}

}  // namespace quillon::cart
