#include "ui/SchemaPicture.h"

#include <QFile>
#include <QFileInfo>

#include "model/Errors.h"

#ifndef _WIN32
#include <sys/file.h>

#include <cerrno>
#include <cstring>
#endif

namespace tarvelin {
namespace {

// The platform's description without the blanks, line ends and periods at its end.
std::string reasonText(const QString& description) {
  std::string reason = description.toLocal8Bit().toStdString();
  while (!reason.empty() && (reason.back() == ' ' || reason.back() == '.' ||
                             reason.back() == '\n' || reason.back() == '\r')) {
    reason.pop_back();
  }
  return reason;
}

[[noreturn]] void cannotOpen(const QString& fileName, const QString& reason) {
  std::string fullPath = QFileInfo(fileName).absoluteFilePath().toLocal8Bit().toStdString();
  throw Error("Cannot open file \"" + fullPath + "\". " + reasonText(reason));
}

// Reads the whole file, holding it under the same shared lock that a text file takes for
// reading, so that nobody writes it meanwhile.
QByteArray readPictureFile(const QString& fileName) {
  QFile file(fileName);
  if (QFileInfo(fileName).isDir()) cannotOpen(fileName, QStringLiteral("Is a directory"));
  if (!file.open(QIODevice::ReadOnly)) cannotOpen(fileName, file.errorString());
#ifndef _WIN32
  if (::flock(file.handle(), LOCK_SH | LOCK_NB) != 0) {
    cannotOpen(fileName, QString::fromLocal8Bit(std::strerror(errno)));
  }
#endif
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) cannotOpen(fileName, file.errorString());
  return bytes;
}

}  // namespace

QImage loadSchemaPicture(const std::string& fileName) {
  QByteArray bytes = readPictureFile(QString::fromLocal8Bit(fileName.c_str()));
  QImage image;
  if (!image.loadFromData(bytes, "BMP")) throw Error("Bitmap image is not valid");
  return image;
}

}  // namespace tarvelin
