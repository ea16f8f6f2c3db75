// Reading back the picture the plotting script saves.
#pragma once

#include <filesystem>
#include <optional>

namespace tarvelin::plottest {

struct PngSize {
  unsigned width = 0;
  unsigned height = 0;
};

// Width and height from the PNG signature and IHDR chunk; nullopt when the file is no PNG.
std::optional<PngSize> pngSize(const std::filesystem::path& file);

struct PictureInk {
  int colours = 0;            // distinct colours in the whole picture
  double topInkShare = 0;     // share of non-white pixels in the upper half
  double bottomInkShare = 0;  // ... and in the lower half
};

// Decodes the picture; nullopt when it cannot be decoded.
std::optional<PictureInk> pictureInk(const std::filesystem::path& file);

// The plotting script's picture: 10 x 7.5 inches at 100 dpi, both plots drawn.
constexpr unsigned kPlotWidth = 1000;
constexpr unsigned kPlotHeight = 750;
void expectPlotPicture(const std::filesystem::path& file);

}  // namespace tarvelin::plottest
