// A thousand drops of every kind of file, and of garbage, onto the carts of
// the real engine (FFmpeg readers, the output device), some while carts
// play: none may crash or hang the program, a cart takes the last audio file
// of a drop (shown as missing when it cannot be read), a drop onto a control
// that swallows drags changes nothing, and carts with good files still play.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <optional>
#include <random>

#include "audio/programengine.h"
#include "cart/cartouche.h"
#include "cart/cartwidget.h"
#include "e2e/fixtures.h"

namespace quillon::test {
namespace {

// A file to drop, and whether a cart that takes it must show it missing
// (nothing: it may or may not, as for a cut file whose start still plays).
struct DropFile {
  QString path;
  std::optional<bool> missing;
};

bool acceptedEnding(const QString& path) {
  const QString tail = path.right(3).toUpper();
  return tail == "MP3" || tail == "WAV" || tail == "WMA" || tail == "OGG";
}

void settle(int ms) {
  const QDeadlineTimer deadline(ms);
  while (!deadline.hasExpired()) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

class RandomDrops : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_folder.isValid());
    const QDir dir(m_folder.path());
    QString error;
    // Good files, made once per build tree; copies under other names test
    // the endings' letter case and names beyond ASCII.
    const QString cache = QDir(qEnvironmentVariable("QUILLON_TEST_TMP")).filePath("drop-tones");
    const std::pair<ToneSpec, const char*> good[] = {
        {{"drop440.wav", 440, 22050, 1, 1.5, 0.25}, "good.wav"},
        {{"drop550.mp3", 550, 44100, 2, 1.5, 0.25}, "good.mp3"},
        {{"drop660.ogg", 660, 22050, 1, 1.5, 0.25}, "good.ogg"},
        {{"drop770.wma", 770, 44100, 2, 1.5, 0.25}, "good.wma"},
        {{"drop440.wav", 440, 22050, 1, 1.5, 0.25}, "Upper CASE.WAV"},
        {{"drop660.ogg", 660, 22050, 1, 1.5, 0.25}, "Ünïcode tône.Ogg"}};
    for (const auto& [spec, name] : good) {
      const QString source = cachedTone(cache, spec, error);
      ASSERT_FALSE(source.isEmpty()) << error.toStdString();
      ASSERT_TRUE(QFile::copy(source, dir.filePath(name)));
      m_files.push_back({dir.filePath(name), false});
    }
    std::mt19937 random(20261207);
    for (const char* name :
         {"garbage.mp3", "garbage.wav", "garbage.ogg", "garbage.wma", "GARBAGE.MP3", "noise.txt"}) {
      QByteArray bytes(static_cast<int>(1000 + random() % 200000), '\0');
      for (char& b : bytes) b = static_cast<char>(random());
      ASSERT_TRUE(writeWholeFile(dir.filePath(name), bytes));
      m_files.push_back({dir.filePath(name), true});
    }
    for (const char* type : {"wav", "mp3", "ogg", "wma"}) {
      const QByteArray whole = readWholeFile(dir.filePath(QString("good.") + type));
      ASSERT_TRUE(
          writeWholeFile(dir.filePath(QString("cut.") + type), whole.left(whole.size() / 3)));
      m_files.push_back({dir.filePath(QString("cut.") + type), std::nullopt});
    }
    ASSERT_TRUE(writeWholeFile(dir.filePath("empty.wav"), "") && dir.mkpath("a folder.ogg"));
    for (const char* name : {"empty.wav", "never there.mp3", "a folder.ogg"}) {
      m_files.push_back({dir.filePath(name), true});
    }

    // The machine's devices, or the null device; never a JACK server started
    // for the occasion.
    qputenv("JACK_NO_START_SERVER", "1");
    m_engine = std::make_unique<audio::ProgramEngine>();
    m_window.resize(800, 600);
    for (int k = 0; k < 26; ++k) {
      auto* cart = new cart::CartWidget(*m_engine, &m_window);
      cart->cart().SetMyLetter(std::string(1, static_cast<char>('A' + k)));
      cart->move((k % 4) * 180, (k / 4) * 120);
      m_carts.push_back(cart);
    }
    m_window.show();
  }

  void dropOn(QWidget* target, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPointF at = QRectF(target->rect()).center();
    const auto actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(at.toPoint(), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at.toPoint(), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
  }

  std::vector<DropFile>::const_iterator find(const std::string& path) const {
    return std::find_if(m_files.begin(), m_files.end(),
                        [&](const DropFile& f) { return f.path.toStdString() == path; });
  }

  QTemporaryDir m_folder;
  std::vector<DropFile> m_files;
  std::unique_ptr<audio::ProgramEngine> m_engine;  // outlives the carts
  QWidget m_window;
  std::vector<cart::CartWidget*> m_carts;
};

TEST_F(RandomDrops, AThousandDropsOfEveryKind) {
  // Zones that take a drop, and controls that swallow it.
  const QStringList taking = {"", "Image3", "Label1", "Label2", "Label3", "Picture6", "Picture8"};
  const QStringList swallowing = {"Pausec", "Stopc", "Label5", "Picture5"};
  std::mt19937 random(1207);
  for (int i = 0; i < 1000; ++i) {
    cart::CartWidget* widget = m_carts[random() % m_carts.size()];
    cart::Cartouche& cart = widget->cart();
    QList<QUrl> urls;
    QString lastAccepted;
    const int count = 1 + static_cast<int>(random() % 3);
    for (int u = 0; u < count; ++u) {
      if (random() % 10 == 0) {
        urls << QUrl("https://example.invalid/jingle.mp3");  // not a local file
        continue;
      }
      const DropFile& f = m_files[random() % m_files.size()];
      urls << QUrl::fromLocalFile(f.path);
      if (acceptedEnding(f.path)) lastAccepted = f.path;
    }
    const bool swallowed = random() % 5 == 0;
    const QStringList& names = swallowed ? swallowing : taking;
    const QString name = names[static_cast<int>(random() % names.size())];
    QWidget* target = name.isEmpty() ? widget : widget->findChild<QWidget*>(name);
    ASSERT_NE(target, nullptr) << name.toStdString();
    const std::string before = cart.GetTitle();
    dropOn(target, urls);

    const std::string after = cart.GetTitle();
    if (swallowed || lastAccepted.isEmpty()) {
      ASSERT_EQ(after, before) << "drop " << i << " on " << name.toStdString();
    } else {
      ASSERT_EQ(after, lastAccepted.toStdString()) << "drop " << i;
      // The file is analysed on a worker: its answer comes through the loop.
      const QDeadlineTimer answered(5000);
      while (cart.lengthPending() && !answered.hasExpired()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
      }
      const std::optional<bool> missing = find(after)->missing;
      EXPECT_EQ(cart.fileMissing(), missing.value_or(cart.fileMissing()))
          << "drop " << i << " " << after;
    }
    // Now and then a cart is fired, and the engine gets time to play.
    if (i % 7 == 0) {
      m_carts[random() % m_carts.size()]->cart().KeyPressRacc(
          std::string(1, static_cast<char>('A' + random() % 26)));
    }
    QApplication::processEvents();
    if (i % 50 == 0) settle(30);
  }
  settle(200);
  // Every cart left with a good file plays when fired, and stops.
  for (cart::CartWidget* widget : m_carts) {
    cart::Cartouche& cart = widget->cart();
    cart.StopMyplay();
    const auto f = find(cart.GetTitle());
    if (f == m_files.end() || f->missing != false) continue;
    cart.KeyPressRacc(cart.Letter());
    settle(50);
    EXPECT_TRUE(cart.Playing()) << cart.GetTitle() << ": " << cart.lastError();
    cart.StopMyplay();
  }
}

}  // namespace
}  // namespace quillon::test
