#include "model/Errors.h"

#include <cctype>

namespace tarvelin {

FileError::FileError(int code) : Error(fileErrorMessage(code)), code_(code) {}

FileError FileError::withGenericMessage(int code) {
  return FileError(code, "I/O error " + std::to_string(code));
}

ConversionError::ConversionError(std::string text)
    : Error("'" + text + "' is not a valid floating point value"), text_(std::move(text)) {}

OverflowError::OverflowError() : Error("Floating point overflow") {}

std::string fileErrorMessage(int code) {
  switch (code) {
    case file_code::kFileNotFound:
      return "File not found";
    case file_code::kInvalidFilename:
      return "Invalid filename";
    case file_code::kTooManyOpenFiles:
      return "Too many open files";
    case file_code::kAccessDenied:
      return "File access denied";
    default:
      return "I/O error " + std::to_string(code);
  }
}

std::string errorBoxText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

std::string programTitle(const std::string& executablePath) {
  std::string name = executablePath;
  if (const auto slash = name.find_last_of("/\\"); slash != std::string::npos) {
    name.erase(0, slash + 1);
  }
  if (const auto dot = name.find('.'); dot != std::string::npos) name.erase(dot);
  for (std::size_t i = 1; i < name.size(); ++i) {
    name[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
  }
  return name;
}

}  // namespace tarvelin
