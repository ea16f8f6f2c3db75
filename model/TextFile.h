// A line-oriented text file handle with its own 128-byte buffer.
//
// Reading: a line ends at LF; a CR right before it is dropped, a lone CR is dropped and does
// not end the line; Ctrl-Z ends the line it stands in and is the end of the file. Past the
// end every read gives the empty text. Writing: bytes go through the buffer; a line end is
// always CR LF. Opening takes a shared lock for reading, an exclusive one for writing; a
// conflict is the sharing violation.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvelin {

class TextFile {
 public:
  static constexpr std::size_t kBufferSize = 128;
  static constexpr std::size_t kMaxNameLength = 259;

  TextFile() = default;
  explicit TextFile(std::string name) : name_(std::move(name)) {}
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;
  // Closes an open file, writing out the buffer where it can; never throws.
  ~TextFile();

  // Records the name; the file is resolved when it is opened. Closes an open file first.
  void assign(std::string name);
  const std::string& name() const { return name_; }

  void openRead();     // closes first if open; throws FileError
  void createWrite();  // closes first if open; creates or empties; throws FileError
  bool isOpen() const { return mode_ != Mode::Closed; }
  bool isOpenForReading() const { return mode_ == Mode::Reading; }
  bool isOpenForWriting() const { return mode_ == Mode::Writing; }

  std::string readLine();  // throws FileError
  bool eof();              // throws FileError

  void write(std::string_view text);  // throws FileError
  void writeInteger(std::int32_t value);
  void writeValue(long double value);
  void writeLineEnd();

  // Writes out the buffer, then closes. On a failed write throws and stays open.
  void close();

 private:
  enum class Mode { Closed, Reading, Writing };

  bool fillBuffer();  // false at the end of the file
  void flushBuffer();
  void closeQuietly() noexcept;

  std::string name_;
  Mode mode_ = Mode::Closed;
  int fd_ = -1;
  char buffer_[kBufferSize] = {};
  std::size_t pos_ = 0;
  std::size_t end_ = 0;  // bytes held when reading
};

}  // namespace tarvelin
