// Loading a schema picture file into the picture box.
#pragma once

#include <QImage>
#include <string>

namespace tarvelin {

// Reads the bitmap file named relative to the current folder, anew at every call. Throws
// Error with "Cannot open file "<full path>". <reason>" when the file cannot be opened or
// read, and "Bitmap image is not valid" when it holds no valid bitmap.
QImage loadSchemaPicture(const std::string& fileName);

}  // namespace tarvelin
