// The operating system's side of a text file: open with the sharing request, raw reads and
// writes, and the mapping of its failures to the file-error codes. Every function throws
// FileError on failure. This is the one file to port to another platform.
#pragma once

#include <cstddef>
#include <string>

#include "model/Errors.h"

namespace tarvelin::platform {

using FileHandle = int;

// Opens an existing file for reading; others may read it too, nobody may write it meanwhile.
FileHandle openForReading(const std::string& name);
// Creates the file or empties an existing one, once no other handle holds it.
FileHandle createForWriting(const std::string& name);
// Bytes read, 0 at the end of the file.
std::size_t readSome(FileHandle handle, char* buffer, std::size_t size);
void writeAll(FileHandle handle, const char* data, std::size_t size);
void closeFile(FileHandle handle);
void closeQuietly(FileHandle handle) noexcept;

// The file error for an errno value of a call on `name`.
FileError fileError(int errnoValue, const std::string& name);

}  // namespace tarvelin::platform
