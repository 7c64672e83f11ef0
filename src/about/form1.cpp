#include "about/form1.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "about/aboutinfo.h"
#include "about/linkcursor.h"
#include "about/shell.h"

namespace quillon::about {

namespace {

QFrame* thinLine(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

// A label that acts as a link: underlined, its own pointer, a click action.
class LinkLabel : public QLabel {
 public:
  LinkLabel(const QString& text, std::function<void()> onClick, QWidget* parent)
      : QLabel(text, parent), m_onClick(std::move(onClick)) {
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    setStyleSheet("color: #1a5fb4;");
    setCursor(linkCursor());
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    QLabel::mouseReleaseEvent(event);
    m_onClick();
  }

 private:
  std::function<void()> m_onClick;
};

}  // namespace

Form1::Form1(Shell& shell, QWidget* parent) : QDialog(parent), m_shell(shell) {
  setObjectName("Form1");
  setWindowTitle("About Quillon");
  setModal(true);

  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel(
      "<b style='font-size:14pt'>Quillon V1.0</b><br>"
      "The cart player for radio studios and live events.",
      this);
  layout->addWidget(title);
  layout->addWidget(thinLine(this));

  auto* frame = new QGroupBox("Information :", this);
  auto* inner = new QVBoxLayout(frame);
  auto* web = new LinkLabel(
      kWebAddress, [this] { openWebSite(); }, frame);
  web->setObjectName("Label4");
  auto* mail = new LinkLabel(
      kMailAddress, [this] { openMail(); }, frame);
  mail->setObjectName("Label3");
  inner->addWidget(web);
  inner->addWidget(thinLine(frame));
  inner->addWidget(mail);
  inner->addWidget(thinLine(frame));
  inner->addWidget(new QLabel(kCredits, frame));
  inner->addWidget(new QLabel(kMakerName, frame));
  layout->addWidget(frame);
  layout->addWidget(thinLine(this));

  auto* ok = new QPushButton("Ok", this);
  ok->setObjectName("Command1");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignRight);
}

void Form1::openWebSite() { m_shell.ShellOpen(kWebAddress, "", ""); }

void Form1::openMail() {
  m_shell.ShellOpen(QString(kMailPrefix) + kMailAddress + kMailSubject, "", "");
}

}  // namespace quillon::about
