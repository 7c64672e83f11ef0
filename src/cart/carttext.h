// A text element of the cart: the title, the length and running time, the
// letter and the three switch labels. It draws its text in its colour on the
// cart's background (no box of its own); the title wraps over two lines and
// can carry the missing-file mark. UI thread.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

namespace quillon::cart {

class CartText : public QWidget {
  Q_OBJECT

 public:
  CartText(const QString& objectName, const QFont& font, Qt::Alignment alignment, QWidget* parent);

  QString text() const { return m_text; }
  QColor colour() const { return m_colour; }
  bool struck() const { return m_struck; }

  void setText(const QString& text);
  void setColour(const QColor& colour);
  // More than one line wraps at word boundaries (or anywhere in a long
  // name) and elides what does not fit.
  void setMaxLines(int lines);
  // The missing-file mark: the text struck through, a warning sign at its end.
  void setStruck(bool struck);
  // A pointing hand, and clicked() on a left press and release over the text.
  void setClickable(bool clickable);

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QStringList lines(const QFont& font, int width) const;

  QString m_text;
  QColor m_colour = Qt::black;
  Qt::Alignment m_alignment;
  int m_maxLines = 1;
  bool m_struck = false;
  bool m_clickable = false;
  bool m_pressed = false;
};

}  // namespace quillon::cart
