// The studio clock panel: the ring of 60 second LEDs, the digital time and
// the panel's bezel. Driven by the wall clock every 500 ms; it keeps no time
// of its own. UI thread.
#pragma once

#include <QLabel>
#include <QPixmap>
#include <QTime>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "clock/ledring.h"

namespace quillon::clock {

class ClockPanel : public QWidget {
  Q_OBJECT

 public:
  static constexpr float kDesignWidthTwips = 3855;
  static constexpr float kDesignHeightTwips = 3135;
  static constexpr int kLedPixels = 8;

  explicit ClockPanel(QWidget* parent = nullptr);

  // The wall clock; tests put their own.
  void setTimeSource(std::function<QTime()> now) { m_now = std::move(now); }
  // The panel's width as the window's layout computed it, in twips.
  void setPanelWidthTwips(float width);
  float panelWidthTwips() const { return m_widthTwips; }

  void BuildLedRing();
  void ResetLedRing();
  void FillLedRing();
  void UpdateLedRing();
  // The 500 ms tick: digits and ring from one reading of the wall clock.
  void Timer_Analog();

  const LedRing& ring() const { return m_ring; }
  QString timeText() const { return m_lblTime->text(); }
  // LEDs repainted by the last ring operation.
  int lastChangeCount() const { return m_lastChanges; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void repaintChanged(const LedRing::Changes& changes);
  QRect ledRect(int led) const;
  void placeLabels();

  LedRing m_ring;
  std::function<QTime()> m_now = [] { return QTime::currentTime(); };
  float m_widthTwips = kDesignWidthTwips;
  QPixmap m_ledRouge;
  QPixmap m_ledverte;
  QLabel* m_timeCaption;
  QLabel* m_lblTime;
  QTimer m_timerAnalog;
  int m_lastChanges = 0;
};

}  // namespace quillon::clock
