#include "app/statusbar1.h"

#include <QLabel>
#include <iterator>

#include "app/studiolook.h"
#include "cart/cartartwork.h"

namespace quillon::app {

namespace {

// Between two carts, in the view and in its plain text.
constexpr const char* kOnAirSeparator = " · ";
constexpr const char* kOnAirSeparatorHtml = "&nbsp;&nbsp;·&nbsp;&nbsp;";

const QColor kPlayingText{120, 220, 140};
// By urgency, in StatusUrgency's order.
const QColor kMessageText[] = {
    {154, 160, 166},             // Note
    {240, 180, 40},              // Warning
    {255, 120, 60},              // Failure
    cart::colours::kEndWarning,  // DeviceFailure
};
static_assert(std::size(kMessageText) ==
              static_cast<std::size_t>(StatusUrgency::DeviceFailure) + 1);

QString coloured(const QString& text, const QColor& colour) {
  return QStringLiteral("<span style=\"color:%1\">%2</span>")
      .arg(colour.name(), text.toHtmlEscaped());
}

}  // namespace

StatusBar1::StatusBar1(const QString& programName, QWidget* parent)
    : QStatusBar(parent),
      m_program(new QLabel(programName, this)),
      m_onAir(new QLabel(this)),
      m_message(new QLabel(this)) {
  setObjectName("StatusBar1");
  setSizeGripEnabled(true);
  setStyleSheet(
      "QStatusBar { background: rgb(15,16,19); border-top: 1px solid rgb(44,48,55); }"
      "QStatusBar::item { border: none; }"
      "QLabel { color: rgb(154,160,166); padding: 0 8px; }");
  m_program->setFont(look::uiFont(9, true));
  m_program->setStyleSheet("color: rgb(245,166,35);");
  addWidget(m_program);

  // Takes what room there is and never widens the window: a long list is
  // cut at the right.
  m_onAir->setObjectName("OnAir");
  m_onAir->setFont(look::uiFont(9, true));
  m_onAir->setTextFormat(Qt::RichText);
  m_onAir->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  addWidget(m_onAir, 1);

  m_message->setObjectName("StatusMessage");
  m_message->setFont(look::uiFont(9));
  m_message->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  // As wide as its text, up to a share of the bar: with nothing to say it
  // leaves the whole middle to the on-air view.
  m_message->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
  addWidget(m_message);
}

void StatusBar1::showOnAir(const std::vector<OnAirEntry>& entries) {
  if (entries == m_shown) return;  // a repaint only when a line changed
  m_shown = entries;
  QString html;
  for (const OnAirEntry& e : entries) {
    if (!html.isEmpty()) html += kOnAirSeparatorHtml;
    const QColor& colour = e.ending   ? cart::colours::kEndWarning
                           : e.paused ? cart::colours::kPausedAmber
                                      : kPlayingText;
    html += coloured(QString::fromStdString(e.text), colour);
  }
  m_onAir->setText(html);
}

void StatusBar1::showMessages(const StatusMessages& messages) {
  const StatusMessage* shown = messages.shown();
  if (shown == nullptr) {
    m_messageText.clear();
    m_message->clear();
    m_message->setToolTip({});
    return;
  }
  m_messageText =
      QString::fromStdString(shown->subject) + ": " + QString::fromStdString(shown->text);
  fitMessage();
  m_message->setStyleSheet(
      QStringLiteral("color: %1;").arg(kMessageText[static_cast<int>(shown->urgency)].name()));
  // Every message waiting, the shown one among them, for a look with the pointer.
  QStringList all;
  for (const StatusMessage& m : messages.all()) {
    all << QString::fromStdString(m.subject) + ": " + QString::fromStdString(m.text);
  }
  m_message->setToolTip(all.join('\n'));
}

void StatusBar1::resizeEvent(QResizeEvent* event) {
  m_message->setMaximumWidth(width() * 2 / 5);
  fitMessage();
  QStatusBar::resizeEvent(event);
}

void StatusBar1::fitMessage() {
  // Cut at its end, so that what it is about stays readable; the whole text
  // is in the tooltip.
  // The style's padding (8 px a side) is not in the label's margins.
  constexpr int kPadding = 2 * 8;
  const int room = m_message->maximumWidth() - m_message->contentsMargins().left() -
                   m_message->contentsMargins().right() - kPadding;
  m_message->setText(m_message->fontMetrics().elidedText(m_messageText, Qt::ElideRight, room));
}

QString StatusBar1::onAirText() const {
  QStringList texts;
  for (const OnAirEntry& e : m_shown) texts << QString::fromStdString(e.text);
  return texts.join(QString::fromUtf8(kOnAirSeparator));
}

QString StatusBar1::messageText() const { return m_messageText; }

}  // namespace quillon::app
