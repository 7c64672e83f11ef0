#include "cart/carttext.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>

#include "cart/cartartwork.h"

namespace quillon::cart {

namespace {

// The warning sign's size and the gap before it, in the widget's pixels at
// 96 dpi (scaled with the font).
constexpr qreal kSignWidth = 13;
constexpr qreal kSignHeight = 12;
constexpr qreal kSignGap = 3;
const QColor kStrikeColour(215, 20, 20);

}  // namespace

CartText::CartText(const QString& objectName, const QFont& font, Qt::Alignment alignment,
                   QWidget* parent)
    : QWidget(parent), m_alignment(alignment) {
  setObjectName(objectName);
  setFont(font);
  setAttribute(Qt::WA_TranslucentBackground);
}

void CartText::setText(const QString& text) {
  if (text == m_text) return;
  m_text = text;
  update();
}

void CartText::setColour(const QColor& colour) {
  if (colour == m_colour) return;
  m_colour = colour;
  update();
}

void CartText::setMaxLines(int lines) {
  m_maxLines = qMax(1, lines);
  update();
}

void CartText::setStruck(bool struck) {
  if (struck == m_struck) return;
  m_struck = struck;
  update();
}

void CartText::setClickable(bool clickable) {
  m_clickable = clickable;
  if (clickable) {
    setCursor(Qt::PointingHandCursor);
  } else {
    unsetCursor();
  }
}

QStringList CartText::lines(const QFont& font, int width) const {
  if (m_maxLines == 1) return {m_text};
  QTextLayout layout(m_text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  QStringList result;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    if (result.size() == m_maxLines - 1) {
      // The last line takes the rest, elided at its end.
      const QString rest = m_text.mid(line.textStart());
      result << QFontMetricsF(font).elidedText(rest, Qt::ElideRight, width);
      break;
    }
    result << m_text.mid(line.textStart(), line.textLength()).trimmed();
  }
  layout.endLayout();
  return result;
}

void CartText::paintEvent(QPaintEvent*) {
  if (m_text.isEmpty() && !m_struck) return;
  QPainter p(this);
  p.setRenderHint(QPainter::TextAntialiasing);
  const QFont font = this->font();
  p.setFont(font);

  const qreal scale = logicalDpiX() / 96.0;
  QRectF area = rect();
  if (m_struck) {
    const QSizeF sign(kSignWidth * scale, kSignHeight * scale);
    const QRectF box(area.right() - sign.width(), area.center().y() - sign.height() / 2,
                     sign.width(), sign.height());
    paintWarningSign(p, box);
    area.setRight(box.left() - kSignGap * scale);
  }

  const QStringList shown = lines(font, static_cast<int>(area.width()));
  const QFontMetricsF metrics(font);
  const qreal lineHeight = metrics.lineSpacing();
  const qreal total = lineHeight * static_cast<qreal>(shown.size());
  qreal top = area.top();
  if (m_alignment & Qt::AlignVCenter) top = area.top() + (area.height() - total) / 2;
  if (m_alignment & Qt::AlignBottom) top = area.bottom() - total;
  const Qt::Alignment horizontal = m_alignment & Qt::AlignHorizontal_Mask;
  // White text gets a soft shadow so it holds on every background.
  const bool shadow = m_colour.lightness() > 200;
  for (const QString& line : shown) {
    const QRectF row(area.left(), top, area.width(), lineHeight);
    if (shadow) {
      p.setPen(QColor(0, 0, 0, 140));
      p.drawText(row.translated(0, scale), horizontal | Qt::AlignVCenter, line);
    }
    p.setPen(m_colour);
    QRectF drawn;
    p.drawText(row, horizontal | Qt::AlignVCenter, line, &drawn);
    if (m_struck) {
      // Struck through in red, thin enough to leave the name readable.
      p.setPen(QPen(kStrikeColour, 1.3 * scale));
      const qreal y = drawn.top() + metrics.ascent() - metrics.xHeight() / 2;
      p.drawLine(QPointF(drawn.left() - scale, y), QPointF(drawn.right() + scale, y));
    }
    top += lineHeight;
  }
}

void CartText::mousePressEvent(QMouseEvent* event) {
  if (!m_clickable) return QWidget::mousePressEvent(event);
  if (event->button() == Qt::LeftButton) m_pressed = true;
  event->accept();
}

void CartText::mouseReleaseEvent(QMouseEvent* event) {
  if (!m_clickable) return QWidget::mouseReleaseEvent(event);
  const bool leftUp = event->button() == Qt::LeftButton;
  const bool click = leftUp && m_pressed && rect().contains(event->position().toPoint());
  if (leftUp) m_pressed = false;
  event->accept();
  if (click) emit clicked();
}

}  // namespace quillon::cart
