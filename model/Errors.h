// The three errors that end a handler, and how their messages reach the user.
#pragma once

#include <stdexcept>
#include <string>

namespace tarvelin {

// Base of every error that a handler ends with; what() is the message without the "." rule.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A failed file operation, with the platform-independent code of the file-error table.
class FileError : public Error {
 public:
  // The message of the code's row of the table.
  explicit FileError(int code);
  // "I/O error N" for a platform code outside the named rows, even where its number is one of
  // theirs (on Linux EIO is 5, which is not "File access denied").
  static FileError withGenericMessage(int code);
  int code() const { return code_; }

 private:
  FileError(int code, const std::string& message) : Error(message), code_(code) {}
  int code_;
};

// A data line that is not a number; carries the text exactly as read.
class ConversionError : public Error {
 public:
  explicit ConversionError(std::string text);
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// A coefficient text beyond the range of the number format.
class OverflowError : public Error {
 public:
  OverflowError();
};

// File error codes with a message of their own; any other code is "I/O error N".
namespace file_code {
inline constexpr int kFileNotFound = 2;
inline constexpr int kInvalidFilename = 3;
inline constexpr int kTooManyOpenFiles = 4;
inline constexpr int kAccessDenied = 5;
inline constexpr int kSharingViolation = 32;
}  // namespace file_code

std::string fileErrorMessage(int code);

// The error box's text: a "." is appended when the last character's code is above that of ".".
std::string errorBoxText(const std::string& message);

// The program's title from the running executable's path: the file name up to its first ".",
// first character as it is, the rest in lower case.
std::string programTitle(const std::string& executablePath);

}  // namespace tarvelin
