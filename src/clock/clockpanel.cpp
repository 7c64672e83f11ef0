#include "clock/clockpanel.h"

#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>

#include "clock/clocktext.h"
#include "clock/ledartwork.h"
#include "common/twips.h"

namespace quillon::clock {

namespace {

constexpr float kShapeFromRightTwips = 90;  // shape1: the bezel's inner edge
constexpr float kTimeCaptionTopTwips = 1180;
constexpr float kTimeTopTwips = 1440;
constexpr float kTimeHeightTwips = 360;

}  // namespace

ClockPanel::ClockPanel(QWidget* parent)
    : QWidget(parent),
      m_ledRouge(drawLed(QColor(235, 30, 25), kLedPixels)),
      m_ledverte(drawLed(QColor(40, 220, 60), kLedPixels)),
      m_timeCaption(new QLabel(QString::fromUtf8(kTimeCaption), this)),
      m_lblTime(new QLabel(QString::fromUtf8(kTimeBeforeFirstTick), this)) {
  setObjectName("Picture2");
  m_lblTime->setObjectName("Lbl_Time");
  setAutoFillBackground(false);
  setAttribute(Qt::WA_OpaquePaintEvent);

  QFont small("Verdana");
  small.setPointSizeF(7.5);
  m_timeCaption->setFont(small);
  m_timeCaption->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  m_timeCaption->setStyleSheet("color: #9aa0a6; background: transparent;");
  QFont digits("Verdana");
  digits.setPointSizeF(14);
  digits.setBold(true);
  m_lblTime->setFont(digits);
  m_lblTime->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  m_lblTime->setStyleSheet("color: #ff3b30; background: transparent;");

  m_timerAnalog.setInterval(500);
  connect(&m_timerAnalog, &QTimer::timeout, this, [this] { Timer_Analog(); });
  m_timerAnalog.start();
  placeLabels();
}

void ClockPanel::setPanelWidthTwips(float width) {
  m_widthTwips = width;
  placeLabels();
  update();
}

void ClockPanel::placeLabels() {
  const int dpi = logicalDpiX();
  // Lbl_Time is as wide as the panel; the time sits in the ring's centre.
  const int width = twipsToPixels(m_widthTwips, dpi);
  m_timeCaption->setGeometry(0, twipsToPixels(kTimeCaptionTopTwips, dpi), width,
                             twipsToPixels(260, dpi));
  m_lblTime->setGeometry(0, twipsToPixels(kTimeTopTwips, dpi), width,
                         twipsToPixels(kTimeHeightTwips, dpi));
}

QRect ClockPanel::ledRect(int led) const {
  const int dpi = logicalDpiX();
  const LedPosition at = LedRing::position(led, m_widthTwips);
  return {twipsToPixels(at.left, dpi), twipsToPixels(at.top, dpi), kLedPixels, kLedPixels};
}

void ClockPanel::repaintChanged(const LedRing::Changes& changes) {
  m_lastChanges = static_cast<int>(changes.count());
  for (int i = 0; i < LedRing::kLedCount; ++i) {
    if (changes.test(static_cast<std::size_t>(i))) update(ledRect(i));
  }
}

void ClockPanel::BuildLedRing() {
  m_ring.BuildLedRing();
  update();  // the LEDs may stand elsewhere now: the whole panel
}

void ClockPanel::ResetLedRing() { repaintChanged(m_ring.ResetLedRing()); }

void ClockPanel::FillLedRing() { repaintChanged(m_ring.FillLedRing(m_now().second())); }

void ClockPanel::UpdateLedRing() { repaintChanged(m_ring.UpdateLedRing(m_now().second())); }

void ClockPanel::Timer_Analog() {
  // One reading of the wall clock per tick, so the digits and the ring agree.
  const QTime now = m_now();
  m_lblTime->setText(
      QString::fromStdString(formatTimeOfDay(now.hour(), now.minute(), now.second())));
  repaintChanged(m_ring.UpdateLedRing(now.second()));
}

void ClockPanel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  placeLabels();
}

void ClockPanel::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.setClipRegion(event->region());
  QLinearGradient face(0, 0, 0, height());
  face.setColorAt(0, QColor(34, 36, 40));
  face.setColorAt(1, QColor(18, 19, 22));
  p.fillRect(rect(), face);

  // shape1: a bevelled edge at the panel's right, 90 twips in.
  const int dpi = logicalDpiX();
  const int shapeLeft = twipsToPixels(m_widthTwips - kShapeFromRightTwips, dpi);
  p.fillRect(QRect(shapeLeft, 0, width() - shapeLeft, height()), QColor(52, 55, 60));
  p.setPen(QColor(90, 94, 100));
  p.drawLine(shapeLeft, 0, shapeLeft, height());
  p.setPen(QColor(10, 10, 12));
  p.drawLine(shapeLeft + 1, 0, shapeLeft + 1, height());

  for (int i = 0; i < LedRing::kLedCount; ++i) {
    const Led& led = m_ring.led(i);
    const QRect r = ledRect(i);
    if (!led.shown || !event->region().intersects(r)) continue;
    p.drawPixmap(r.topLeft(), led.colour == LedColour::Green ? m_ledverte : m_ledRouge);
  }
}

}  // namespace quillon::clock
