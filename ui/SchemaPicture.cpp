#include "ui/SchemaPicture.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QByteArray>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "model/Errors.h"

namespace tarvelin {
namespace {

// The platform's description without the blanks, line ends and periods at its end.
std::string reasonText(int error) {
  std::string reason = std::strerror(error);
  while (!reason.empty() && (reason.back() == ' ' || reason.back() == '.' ||
                             reason.back() == '\n' || reason.back() == '\r')) {
    reason.pop_back();
  }
  return reason;
}

[[noreturn]] void cannotOpen(const std::string& fileName, int error) {
  std::error_code ignored;
  std::string fullPath = std::filesystem::absolute(fileName, ignored).string();
  throw Error("Cannot open file \"" + fullPath + "\". " + reasonText(error));
}

// Reads the whole file under the same shared lock that a text file takes for reading.
QByteArray readPictureFile(const std::string& fileName) {
  int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) cannotOpen(fileName, errno);
  if (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
    int error = errno;
    ::close(fd);
    cannotOpen(fileName, error);
  }
  QByteArray bytes;
  char chunk[4096];
  for (;;) {
    ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      int error = errno;
      ::close(fd);
      cannotOpen(fileName, error);
    }
    if (got == 0) break;
    bytes.append(chunk, got);
  }
  ::close(fd);
  return bytes;
}

}  // namespace

QImage loadSchemaPicture(const std::string& fileName) {
  QByteArray bytes = readPictureFile(fileName);
  QImage image;
  if (!image.loadFromData(bytes, "BMP")) throw Error("Bitmap image is not valid");
  return image;
}

}  // namespace tarvelin
