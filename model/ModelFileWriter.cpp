#include "model/ModelFileWriter.h"

#include <array>
#include <climits>

#include "model/Numbers.h"

namespace tarvelin {

namespace {

// DataCount: lines read until an empty one or the end of the file, less one.
std::int32_t countFirstBlock(TextFile& data) {
  std::string line = data.readLine();
  std::int32_t linesRead = 1;
  while (!data.eof() && !line.empty()) {
    line = data.readLine();
    if (linesRead < INT32_MAX) ++linesRead;
  }
  return linesRead - 1;
}

class TemplatePass {
 public:
  TemplatePass(TextFile& data, TextFile& out, const SettingsView& settings, std::int32_t dataCount)
      : data_(data), out_(out), settings_(settings), dataCount_(dataCount) {}

  void handle(const std::string& line) {
    if (line.empty()) return;
    switch (line[0]) {
      case '#':
        writeCountLine();
        break;
      case '_':
        if (line.size() >= 2) writeSettingOrSolver(line[1]);
        break;
      case '@':
        copyDataBlock();
        break;
      default:
        out_.write(line);
        out_.writeLineEnd();
    }
  }

  bool countsAgree() const {
    return blockCounts_[0] == blockCounts_[1] && blockCounts_[1] == blockCounts_[2];
  }
  std::int32_t commonCount() const { return blockCounts_[0]; }

 private:
  void writeCountLine() {
    out_.write("/ 1 * ");
    out_.writeInteger(dataCount_);
    out_.write(" /;");
    out_.writeLineEnd();
  }

  void writeSettingOrSolver(char letter) {
    Coefficient coefficient;
    ValueKind kind;
    if (settingForLetter(letter, coefficient, kind)) {
      out_.write(settings_.coefficientText(coefficient, kind));
      out_.writeLineEnd();
    } else if (letter == 'Z') {
      for (const auto& solver : kSolvers) {
        if (!settings_.isSolverSelected(solver.id)) continue;
        out_.write(solver.optionLine);
        out_.writeLineEnd();
      }
    }
    // "_Y", "_" with any other character: nothing.
  }

  // Copies the next block of the data file; blocks past the third are read and dropped.
  void copyDataBlock() {
    ++blockNumber_;
    std::int32_t lineNumber = 0;
    for (;;) {
      const std::string text = data_.readLine();
      if (text.empty()) break;
      if (blockNumber_ > 3) continue;
      const long double value = parseDataValue(text);
      ++lineNumber;
      out_.writeInteger(lineNumber);
      out_.write("   ");
      out_.writeValue(value);
      out_.writeLineEnd();
      ++blockCounts_[static_cast<std::size_t>(blockNumber_ - 1)];
    }
  }

  TextFile& data_;
  TextFile& out_;
  const SettingsView& settings_;
  const std::int32_t dataCount_;
  int blockNumber_ = 0;
  std::array<std::int32_t, 3> blockCounts_{};
};

}  // namespace

void ModelFileWriter(TextFile& modelTemplate, const SettingsView& settings, Dialogs& dialogs,
                     ActivityLog& log, const BuildReports& reports) {
  const std::optional<std::string> dataFileName = dialogs.chooseDataFile();
  if (!dataFileName) return;
  // Data lines are parsed with "." as the decimal point whatever the locale: parseDataValue
  // never consults one.

  modelTemplate.openRead();
  TextFile data(*dataFileName);
  data.openRead();
  const std::int32_t dataCount = countFirstBlock(data);
  data.openRead();
  TextFile out(kModelFileName);
  out.createWrite();

  TemplatePass pass(data, out, settings, dataCount);
  while (!modelTemplate.eof()) pass.handle(modelTemplate.readLine());

  if (pass.countsAgree()) {
    log.append("All data successfully loaded.");
    log.append("Number of data: " + decimalIntegerText(pass.commonCount()));
    if (reports.DataConsistent) reports.DataConsistent();
  } else {
    log.append("Error! The data file is not consistent!");
    log.append("Check the file with data!");
  }
  for (const auto& solver : kSolvers) {
    if (settings.isSolverSelected(solver.id)) log.append(std::string(solver.logLine));
  }

  modelTemplate.close();
  data.close();
  out.close();
  if (reports.BuildCompleted) reports.BuildCompleted();
}

}  // namespace tarvelin
