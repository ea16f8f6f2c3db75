#include "app/batch/BatchCommand.h"

#include <filesystem>
#include <iostream>

#include "model/Errors.h"
#include "model/ModelFileWriter.h"
#include "model/TextFile.h"
#include "model/ValidateSettings.h"
#include "run/ModelRun.h"
#include "run/ResultsReader.h"

namespace tarvelin::batch {

namespace {

class StreamLog : public ActivityLog {
 public:
  explicit StreamLog(std::ostream& out) : out_(out) {}
  void append(const std::string& line) override { out_ << line << '\n'; }

 private:
  std::ostream& out_;
};

// The data file is the one named on the command line; messages go to standard error.
class BatchDialogs : public Dialogs {
 public:
  BatchDialogs(std::string dataFile, std::ostream& err)
      : dataFile_(std::move(dataFile)), err_(err) {}
  std::optional<std::string> chooseDataFile() override { return dataFile_; }
  void showMessage(const std::string& text) override { err_ << text << '\n'; }
  void showError(const std::string& text) override { err_ << text << '\n'; }

 private:
  std::string dataFile_;
  std::ostream& err_;
};

// The batch program shows results as log lines only; it has no labels.
class NoLabels : public ResultLabels {
 public:
  void setResultLabel(Coefficient, const std::string&) override {}
};

int buildModelFile(const BatchOptions& options, std::ostream& out, std::ostream& err) {
  StreamLog log(out);
  // The dialog gives a full name; so does the batch program.
  BatchDialogs dialogs(std::filesystem::absolute(options.dataFile).string(), err);
  if (!ValidateSettings(options.settings, dialogs)) return kSettingRefused;
  bool consistent = false;
  const BuildReports reports{[&] { consistent = true; }, [] {}};
  TextFile modelTemplate(std::string(variantInfo(options.settings.variant).templateFile));
  ModelFileWriter(modelTemplate, options.settings, dialogs, log, reports);
  return consistent ? kConsistent : kInconsistent;
}

int runAndLoadResults(const BatchOptions& options, std::ostream& out, std::ostream& err) {
  // A results file left by an earlier run must not pass for this run's.
  std::error_code ignored;
  std::filesystem::remove(kResultsFileName, ignored);
  out.flush();
  const ModelRunOutcome outcome = runModelAndWait(kModelFileName);
  if (!outcome.succeeded()) {
    err << "tarvelin-batch: " << outcome.problem << '\n';
    return kRunFailed;
  }
  StreamLog log(out);
  NoLabels labels;
  readResults(options.settings.variant, log, labels);
  return kConsistent;
}

}  // namespace

int runBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::optional<BatchOptions> options = parseBatchOptions(args, err);
  if (!options) {
    err << batchUsage();
    return kUsage;
  }
  if (options->help) {
    out << batchHelp();
    return kConsistent;
  }
  try {
    const int built = buildModelFile(*options, out, err);
    if (built != kConsistent || !options->run) return built;
    return runAndLoadResults(*options, out, err);
  } catch (const std::exception& e) {
    err << errorBoxText(e.what()) << '\n';
    return kError;
  }
}

}  // namespace tarvelin::batch
