#pragma once
// Put files: their attributes, their state, and the formatting of the items written to them.
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

namespace tarvelin::engine {

struct PutFile {
  std::string path;
  // Attributes, with the defaults of the language.
  double nw = 12;    // number width
  double nd = 2;     // number decimals
  double nr = 1;     // 0 F or E, 1 fixed, 2 scientific
  double nz = 1e-5;  // magnitudes below this print as zero (fixed notation)
  double pw = 255;   // page width
  double lw = 12;    // label width
  double tw = 0;     // text width (0: as written)
  double ap = 0;     // 1: append instead of replacing the file on opening
  // State
  std::unique_ptr<std::ofstream> stream;
  bool opened = false;  // opened at least once in this run
  std::string line;     // the line being written
  std::string memory;   // everything written, when the run keeps files in memory
};

// A number as a put item: right-justified in `width` (0: as narrow as possible).
// nr 1: fixed with `decimals`; a number too wide for the field goes to E-format with as many
// digits as fit, then to asterisks. nr 2: scientific with `decimals` digits after the point.
// nr 0: like 1, but a non-zero number that would print as zero is shown in E-format.
std::string formatPutNumber(double value, int width, int decimals, int nr, double nz);

// Quoted text or a label: left-justified in `width` and cut to it (0: as written).
std::string formatPutText(std::string_view text, int width);

// The line end of the platform.
const char* putLineEnd();

}  // namespace tarvelin::engine
