// Not a test: a small window that drags the files named on its command line
// as text/uri-list, the way a desktop file manager does. Pressing a button in
// it starts the drag; with xdotool under Xvfb it drags files onto the carts
// of a running Quillon from another process.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

namespace {

class DragSource : public QWidget {
 public:
  explicit DragSource(QList<QUrl> files) : m_files(std::move(files)) {
    setWindowTitle("Quillon drag source");
    resize(120, 80);
  }

 protected:
  void mousePressEvent(QMouseEvent*) override {
    auto* data = new QMimeData;
    data->setUrls(m_files);
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    const Qt::DropAction done = drag->exec(Qt::CopyAction);
    // The outcome, for the script that drove the drag.
    std::printf("%s\n", done == Qt::CopyAction ? "dropped" : "refused");
    std::fflush(stdout);
  }

 private:
  QList<QUrl> m_files;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QList<QUrl> files;
  for (int i = 1; i < argc; ++i)
    files.push_back(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[i])));
  DragSource source(files);
  source.move(0, 0);
  source.show();
  return QApplication::exec();
}
