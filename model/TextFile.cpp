#include "model/TextFile.h"

#include "model/Errors.h"
#include "model/Numbers.h"
#include "model/PlatformFile.h"

namespace tarvelin {

namespace {
constexpr char kCtrlZ = 26;
constexpr int kFileNotOpen = 103;
}  // namespace

TextFile::~TextFile() {
  closeQuietly();
}

void TextFile::assign(std::string name) {
  closeQuietly();
  name_ = std::move(name);
}

void TextFile::openRead() {
  closeQuietly();
  fd_ = platform::openForReading(name_);
  mode_ = Mode::Reading;
  pos_ = end_ = 0;
}

void TextFile::createWrite() {
  closeQuietly();
  fd_ = platform::createForWriting(name_);
  mode_ = Mode::Writing;
  pos_ = end_ = 0;
}

bool TextFile::fillBuffer() {
  pos_ = 0;
  end_ = platform::readSome(fd_, buffer_, kBufferSize);
  return end_ > 0;
}

std::string TextFile::readLine() {
  if (mode_ != Mode::Reading) throw FileError(kFileNotOpen);
  std::string line;
  for (;;) {
    if (pos_ == end_ && !fillBuffer()) break;
    const char c = buffer_[pos_];
    if (c == kCtrlZ) break;  // left unread: the file ends here
    ++pos_;
    if (c == '\n') break;
    if (c == '\r') continue;  // before a line feed or on its own, never part of the text
    line.push_back(c);
  }
  return line;
}

bool TextFile::eof() {
  if (mode_ != Mode::Reading) throw FileError(kFileNotOpen);
  if (pos_ == end_ && !fillBuffer()) return true;
  return buffer_[pos_] == kCtrlZ;
}

void TextFile::write(std::string_view text) {
  if (mode_ != Mode::Writing) throw FileError(kFileNotOpen);
  for (const char c : text) {
    buffer_[pos_++] = c;
    if (pos_ == kBufferSize) flushBuffer();
  }
}

void TextFile::writeInteger(std::int32_t value) {
  write(decimalIntegerText(value));
}
void TextFile::writeValue(long double value) {
  write(scientificText(value));
}
void TextFile::writeLineEnd() {
  write("\r\n");
}

void TextFile::flushBuffer() {
  const std::size_t count = pos_;
  pos_ = 0;  // a failed write discards what the buffer held
  platform::writeAll(fd_, buffer_, count);
}

void TextFile::close() {
  if (mode_ == Mode::Closed) throw FileError(kFileNotOpen);
  if (mode_ == Mode::Writing) flushBuffer();  // on failure the file stays open
  const int fd = fd_;
  mode_ = Mode::Closed;
  fd_ = -1;
  platform::closeFile(fd);
}

void TextFile::closeQuietly() noexcept {
  if (mode_ == Mode::Closed) return;
  if (mode_ == Mode::Writing) {
    try {
      flushBuffer();
    } catch (const FileError&) {
      // Nothing to report to: the bytes are lost as a failed write loses them.
    }
  }
  platform::closeQuietly(fd_);
  mode_ = Mode::Closed;
  fd_ = -1;
}

}  // namespace tarvelin
