// Escape during a real drag (run on a virtual X screen by underxvfb.sh, where
// Qt's drags are real): the drag takes Escape and is cancelled, no cart
// stops; once it is over, Escape typed on the X keyboard stops the carts.
#include <gtest/gtest.h>

#include <QDrag>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "quietwindow.h"

namespace quillon::app {
namespace {

// A small patch of the main window that starts a file drag, as the explorer
// list does, when the pointer moves with the left button down.
class DragSource : public QWidget {
 public:
  using QWidget::QWidget;
  bool dragRan = false;
  Qt::DropAction result = Qt::CopyAction;

 protected:
  void mousePressEvent(QMouseEvent* event) override { m_pressedAt = event->position().toPoint(); }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (dragRan || !(event->buttons() & Qt::LeftButton)) return;
    if ((event->position().toPoint() - m_pressedAt).manhattanLength() <
        QApplication::startDragDistance()) {
      return;
    }
    dragRan = true;
    auto* drag = new QDrag(this);
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile("/jingles/ten.wav")});
    drag->setMimeData(data);
    result = drag->exec(Qt::CopyAction);
  }

 private:
  QPoint m_pressedAt;
};

QString xdotool() { return QStandardPaths::findExecutable("xdotool"); }

bool runXdotool(const QStringList& arguments, int timeoutMs) {
  QProcess process;
  process.start(xdotool(), arguments);
  if (!process.waitForStarted()) return false;
  // The drag's own event loop must keep running while xdotool works.
  const bool done =
      QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, timeoutMs);
  return done && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

class PanicDrag : public testing::Test, public test::QuietWindow {};

TEST_F(PanicDrag, EscapeCancelsARealDragAndStopsNothing) {
  if (QGuiApplication::platformName() != "xcb" || xdotool().isEmpty()) {
    GTEST_SKIP() << "needs an X server and xdotool (run through underxvfb.sh)";
  }
  auto w = activeWindow();
  ASSERT_NE(w, nullptr);
  loadCarts(*w);
  auto* source = new DragSource(w.get());
  source->setGeometry(300, 10, 60, 30);
  source->show();
  source->raise();
  int survole = 0;
  cart::CartWidget* target = w->cart(5);  // F: empty
  QObject::connect(target, &cart::CartWidget::Survole, [&survole] { ++survole; });
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
  const QString id = QString::number(w->winId());
  ASSERT_TRUE(runXdotool({"windowfocus", "--sync", id}, 5000));

  // Press on the source, move past the drag distance, over the cart F,
  // wiggle there, then Escape before the button comes up.
  const QPoint from = source->mapToGlobal(QPoint(20, 15));
  const QPoint over = target->mapToGlobal(target->rect().center());
  const auto to = [](QPoint p) {
    return QString("mousemove %1 %2 sleep 0.3 ").arg(p.x()).arg(p.y());
  };
  const QString steps = to(from) + "mousedown 1 sleep 0.2 " + to(from + QPoint(25, 10)) + to(over) +
                        to(over + QPoint(4, 4)) + "key Escape sleep 0.5 mouseup 1 sleep 0.3";
  ASSERT_TRUE(runXdotool(steps.split(' '), 15000));

  EXPECT_TRUE(source->dragRan);
  EXPECT_GT(survole, 0) << "the drag never came over the cart";
  EXPECT_EQ(source->result, Qt::IgnoreAction);  // cancelled, not dropped
  EXPECT_TRUE(target->cart().GetTitle().empty());
  EXPECT_TRUE(untouched(*w));

  // The drag over, Escape from the X keyboard is the panic again.
  ASSERT_TRUE(runXdotool({"windowfocus", "--sync", id}, 5000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return w->isActiveWindow(); }, 5000));
  ASSERT_TRUE(runXdotool({"key", "Escape"}, 5000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !w->cart(0)->cart().Playing(); }, 5000));
  EXPECT_TRUE(allStopped(*w));
}

}  // namespace
}  // namespace quillon::app
