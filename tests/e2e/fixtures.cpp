#include "e2e/fixtures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace quillon::test {

namespace {

QStringList codecFor(const QString& fileName) {
  const QString type = QFileInfo(fileName).suffix().toLower();
  if (type == "wav") return {"-c:a", "pcm_s16le"};
  if (type == "mp3") return {"-c:a", "libmp3lame", "-b:a", "192k"};
  if (type == "ogg") return {"-c:a", "libvorbis", "-q:a", "5"};
  if (type == "wma") return {"-c:a", "wmav2", "-b:a", "128k"};
  return {};
}

bool makeTone(const QString& path, const ToneSpec& tone, QString& error) {
  // The same expression on every channel: ffmpeg's own upmix would lower
  // a mono source by 3 dB.
  const QString channel = !tone.expression.isEmpty()
                              ? tone.expression
                              : QString("%1*sin(2*PI*%2*t)").arg(tone.amplitude).arg(tone.hz);
  QStringList channels;
  for (int c = 0; c < tone.channels; ++c) channels << channel;
  const QString source =
      QString("aevalsrc=%1:s=%2:d=%3").arg(channels.join('|')).arg(tone.rate).arg(tone.seconds);
  QProcess ffmpeg;
  ffmpeg.start("ffmpeg",
               QStringList{"-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i", source} +
                   codecFor(tone.fileName) + QStringList{path});
  if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitStatus() != QProcess::NormalExit ||
      ffmpeg.exitCode() != 0) {
    error = "ffmpeg failed on " + tone.fileName + ": " + ffmpeg.readAllStandardError();
    return false;
  }
  return true;
}

}  // namespace

QString cachedTone(const QString& cacheFolder, const ToneSpec& tone, QString& error) {
  const QString path = QDir(cacheFolder).filePath(tone.fileName);
  if (QFileInfo(path).isFile()) return path;
  // Made aside and moved in whole, so a run cut short leaves no half file.
  const QString aside =
      QDir(cacheFolder).filePath(QString("making-%1").arg(QCoreApplication::applicationPid()));
  if (!QDir().mkpath(aside) || !makeTone(QDir(aside).filePath(tone.fileName), tone, error)) {
    return {};
  }
  const bool moved = QFile::rename(QDir(aside).filePath(tone.fileName), path);
  QDir(aside).removeRecursively();
  if (!moved && !QFileInfo(path).isFile()) {
    error = "cannot keep " + path;
    return {};
  }
  return path;
}

QByteArray paletteText(const PaletteCarts& carts) {
  QByteArray text;
  for (std::size_t k = 0; k < carts.size(); ++k) {
    const PaletteCart& c = carts[k];
    text += "[" + QByteArray::number(static_cast<int>(k)) + "]\nTITLE=" + c.path.toUtf8() +
            "\nVOLUME=" + QByteArray::number(c.volume) + "\nLOOP=" + (c.loop ? "1" : "0") +
            "\nFADEIN=" + (c.fadeIn ? "1" : "0") + "\nFADEOUT=" + (c.fadeOut ? "1" : "0") + "\n";
  }
  return text;
}

bool writeWholeFile(const QString& path, const QByteArray& contents) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         file.write(contents) == contents.size() && file.flush();
}

QByteArray readWholeFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace quillon::test
