#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "model/PlatformFile.h"
#include "model/TextFile.h"

namespace tarvelin::platform {

namespace {

bool folderPartExists(const std::string& name) {
  const auto slash = name.find_last_of('/');
  if (slash == std::string::npos) return true;  // the current folder
  const std::string folder = slash == 0 ? "/" : name.substr(0, slash);
  struct stat info {};
  return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

[[noreturn]] void fail(int errnoValue, const std::string& name) {
  throw fileError(errnoValue, name);
}

void checkName(const std::string& name) {
  if (name.size() > TextFile::kMaxNameLength) throw FileError(file_code::kInvalidFilename);
}

// Linux lets open() succeed on a folder; as a text file it is refused like elsewhere.
// Gives whether the file is a regular one (devices and pipes cannot be emptied).
bool refuseFolder(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return false;
  if (S_ISDIR(info.st_mode)) {
    ::close(fd);
    throw FileError(file_code::kAccessDenied);
  }
  return S_ISREG(info.st_mode);
}

// The sharing request as an advisory lock; a conflict is the sharing violation.
void lockOrFail(int fd, int operation) {
  if (::flock(fd, operation | LOCK_NB) != 0) {
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) throw FileError(file_code::kSharingViolation);
    fail(error, "");
  }
}

}  // namespace

FileError fileError(int errnoValue, const std::string& name) {
  switch (errnoValue) {
    case ENOENT:
      return FileError(folderPartExists(name) ? file_code::kFileNotFound
                                              : file_code::kInvalidFilename);
    case ENOTDIR:
    case ENAMETOOLONG:
      return FileError(file_code::kInvalidFilename);
    case EMFILE:
    case ENFILE:
      return FileError(file_code::kTooManyOpenFiles);
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
      return FileError(file_code::kAccessDenied);
    default:
      // "I/O error N" even where N is the number of a named row (EIO is 5 on Linux).
      return FileError::withGenericMessage(errnoValue);
  }
}

FileHandle openForReading(const std::string& name) {
  checkName(name);
  const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) fail(errno, name);
  refuseFolder(fd);
  lockOrFail(fd, LOCK_SH);
  return fd;
}

FileHandle createForWriting(const std::string& name) {
  checkName(name);
  // Not O_TRUNC: a file that another handle holds must not be emptied before the lock says so.
  const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) fail(errno, name);
  const bool regular = refuseFolder(fd);
  lockOrFail(fd, LOCK_EX);
  if (regular && ::ftruncate(fd, 0) != 0) {
    const int error = errno;
    ::close(fd);
    fail(error, name);
  }
  return fd;
}

std::size_t readSome(FileHandle handle, char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t n = ::read(handle, buffer, size);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) fail(errno, "");
  }
}

void writeAll(FileHandle handle, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(handle, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(errno, "");
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
}

void closeFile(FileHandle handle) {
  if (::close(handle) != 0 && errno != EINTR) fail(errno, "");
}

void closeQuietly(FileHandle handle) noexcept {
  ::close(handle);
}

}  // namespace tarvelin::platform
