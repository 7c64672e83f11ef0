#include "explorer/propertiesdialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QMimeDatabase>
#include <QPushButton>
#include <QVBoxLayout>

#include "audio/information.h"
#include "explorer/propertiestext.h"

namespace quillon::explorer {

namespace {

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

QString fieldName(const QString& field) { return "value_" + QString(field).remove(' '); }

}  // namespace

FileProperties readFileProperties(const QString& path, audio::Information* information) {
  FileProperties p;
  const QFileInfo info(path);
  p.path = QDir::toNativeSeparators(info.absoluteFilePath());
  if (info.isDir()) {
    p.isFolder = true;
    p.type = QStringLiteral("Folder");
    p.folderEntries = static_cast<int>(
        QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size());
    return p;
  }
  p.sizeBytes = info.exists() ? info.size() : -1;
  const QMimeType mime = QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension);
  p.type = mime.isDefault() ? info.suffix().toUpper() + QStringLiteral(" file") : mime.comment();
  if (!information) {
    p.problem = QStringLiteral("No audio engine to read it.");
    return p;
  }
  p.analysed = information->OpenInfo(QFile::encodeName(info.absoluteFilePath()).toStdString());
  if (p.analysed) {
    p.durationMs = information->InfoDurationMs();
    p.sampleRate = information->InfoSampleRate();
  } else {
    p.problem = fromStd(information->lastError());
    if (p.problem.isEmpty()) p.problem = QStringLiteral("The file cannot be read as audio.");
  }
  return p;
}

PropertiesDialog::PropertiesDialog(const FileProperties& p, QWidget* parent) : QDialog(parent) {
  setObjectName("PropertiesDialog");
  setWindowTitle(QFileInfo(p.path).fileName() + QStringLiteral(" Properties"));
  setAttribute(Qt::WA_DeleteOnClose);
  auto* form = new QFormLayout;
  form->setLabelAlignment(Qt::AlignRight);
  form->setHorizontalSpacing(14);
  form->setVerticalSpacing(6);
  auto addRow = [&](const QString& field, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(fieldName(field));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    form->addRow(field + QStringLiteral(":"), label);
  };
  addRow(QStringLiteral("Path"), p.path);
  addRow(QStringLiteral("Type"), p.type);
  if (p.isFolder) {
    addRow(QStringLiteral("Contains"), QStringLiteral("%1 items").arg(p.folderEntries));
  } else {
    addRow(QStringLiteral("Size"), QString::fromStdString(sizeText(p.sizeBytes)));
    const QString unknown = QStringLiteral("unknown");
    addRow(QStringLiteral("Length"),
           p.analysed ? QString::fromStdString(lengthText(p.durationMs)) : unknown);
    addRow(QStringLiteral("Sample rate"),
           p.analysed ? QString::fromStdString(sampleRateText(p.sampleRate)) : unknown);
    if (!p.analysed) addRow(QStringLiteral("Note"), p.problem);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addSpacing(6);
  layout->addWidget(buttons);
  setMinimumWidth(460);
}

QString PropertiesDialog::value(const QString& field) const {
  const auto* label = findChild<QLabel*>(fieldName(field));
  return label ? label->text() : QString();
}

}  // namespace quillon::explorer
