// Every file-error row on real files, and what each failing build step leaves on disk and in
// the log. Permission rows run as an unprivileged user in a child process, since root ignores
// permissions; the descriptor limit is lowered in a child too.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <iostream>

#include "model/Errors.h"
#include "model/ModelFileWriter.h"
#include "run/ResultsReader.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"

namespace tarvelin {
namespace {

using testing::EventRecorder;
using testing::readBytes;
using testing::RecordingDialogs;
using testing::TempFolder;
using testing::writeBytes;
using Events = std::vector<std::string>;

constexpr uid_t kNobody = 65534;

// In a child: become an ordinary user when running as root, so permissions apply.
void dropPrivileges() {
  if (::geteuid() != 0) return;
  if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
    std::cerr << "cannot drop privileges";
    std::_Exit(99);
  }
}

void limitOpenFiles(rlim_t count) {
  rlimit limit{};
  limit.rlim_cur = limit.rlim_max = count;
  ::setrlimit(RLIMIT_NOFILE, &limit);
}

// In a child: run the operation and exit 0 with its error message on standard error.
[[noreturn]] void reportError(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const Error& e) {
    std::cerr << "error: " << errorBoxText(e.what());
    std::_Exit(0);
  }
  std::cerr << "no error";
  std::_Exit(1);
}

class FailureMatrixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The unprivileged child must be able to enter the folder.
    ::chmod(folder.path().c_str(), 0777);
  }
  TempFolder folder;
};

TEST_F(FailureMatrixTest, ReadOnlyFileForWritingIsAccessDenied) {
  writeBytes("locked.txt", "keep me");
  ::chmod("locked.txt", 0444);
  EXPECT_EXIT(
      {
        dropPrivileges();
        reportError([] {
          TextFile file("locked.txt");
          file.createWrite();
        });
      },
      ::testing::ExitedWithCode(0), "^error: File access denied\\.$");
  EXPECT_EQ(readBytes("locked.txt"), "keep me");
}

TEST_F(FailureMatrixTest, UnreadableFileIsAccessDenied) {
  writeBytes("secret.txt", "x");
  ::chmod("secret.txt", 0000);
  EXPECT_EXIT(
      {
        dropPrivileges();
        reportError([] {
          TextFile file("secret.txt");
          file.openRead();
        });
      },
      ::testing::ExitedWithCode(0), "^error: File access denied\\.$");
}

TEST_F(FailureMatrixTest, TooManyOpenFiles) {
  writeBytes("a.txt", "x");
  EXPECT_EXIT(
      {
        // The sanitizer's type check needs a spare descriptor the first time it meets a
        // type; meet FileError before the descriptors run out.
        (void)FileError(file_code::kTooManyOpenFiles).code();
        limitOpenFiles(16);
        reportError([] {
          std::vector<std::unique_ptr<TextFile>> files;
          for (int i = 0; i < 100; ++i) {
            files.push_back(std::make_unique<TextFile>("a.txt"));
            files.back()->openRead();
          }
        });
      },
      ::testing::ExitedWithCode(0), "^error: Too many open files\\.$");
}

// The build's failing steps: the log, the reports and "MaxwellOut.gms" afterwards.
class BuildFailureTest : public FailureMatrixTest {
 protected:
  void SetUp() override {
    FailureMatrixTest::SetUp();
    writeBytes("template.gms", "#\n@\n@\n@\n");
    writeBytes("data.txt", "1\n\n2\n\n3\n");
    dialogs.dataFile = (folder.path() / "data.txt").string();
  }
  std::string buildError() {
    try {
      ModelFileWriter(modelTemplate, settings, dialogs, log, reports);
    } catch (const Error& e) {
      return errorBoxText(e.what());
    }
    return "no error";
  }

  SettingsValues settings;
  RecordingDialogs dialogs;
  EventRecorder log;
  TextFile modelTemplate{"template.gms"};
  BuildReports reports{[this] { log.events.push_back("<DataConsistent>"); },
                       [this] { log.events.push_back("<BuildCompleted>"); }};
};

TEST_F(BuildFailureTest, ModelFileHeldByAnotherHandleStopsAtCreation) {
  writeBytes("MaxwellOut.gms", "previous");
  TextFile holder("MaxwellOut.gms");
  holder.openRead();
  EXPECT_EQ(buildError(), "I/O error 32.");
  EXPECT_EQ(readBytes("MaxwellOut.gms"), "previous");
  EXPECT_TRUE(log.events.empty());
}

TEST_F(BuildFailureTest, ReadOnlyModelFileStopsAtCreation) {
  writeBytes("MaxwellOut.gms", "previous");
  ::chmod("MaxwellOut.gms", 0444);
  EXPECT_EXIT(
      {
        dropPrivileges();
        std::cerr << buildError() << (log.events.empty() ? "" : " and log lines");
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(0), "^File access denied\\.$");
  EXPECT_EQ(readBytes("MaxwellOut.gms"), "previous");
}

TEST_F(BuildFailureTest, AFullDiskWhileCopyingStopsBeforeTheCheck) {
  std::filesystem::create_symlink("/dev/full", "MaxwellOut.gms");
  writeBytes("template.gms", std::string(200, '*') + "\n#\n@\n@\n@\n");
  EXPECT_EQ(buildError(), "I/O error 28.");
  EXPECT_TRUE(log.events.empty());
}

// Close is the first time the bytes meet the disk: the check and the solver line have run,
// the consistent report has been made, the completed one is not.
TEST_F(BuildFailureTest, AFullDiskAtCloseComesAfterTheCheck) {
  std::filesystem::create_symlink("/dev/full", "MaxwellOut.gms");
  EXPECT_EQ(buildError(), "I/O error 28.");
  EXPECT_EQ(log.events, (Events{"All data successfully loaded.", "Number of data: 1",
                                "<DataConsistent>", "Optimization solver CONOPT chosen."}));
}

TEST_F(BuildFailureTest, MissingTemplateAndDataFileStopBeforeTheModelFile) {
  writeBytes("MaxwellOut.gms", "previous");
  modelTemplate.assign("Maxwell4.gms");
  EXPECT_EQ(buildError(), "File not found.");
  modelTemplate.assign("template.gms");
  dialogs.dataFile = (folder.path() / "gone" / "data.txt").string();
  EXPECT_EQ(buildError(), "Invalid filename.");
  dialogs.dataFile = folder.path().string();
  EXPECT_EQ(buildError(), "File access denied.");
  EXPECT_EQ(readBytes("MaxwellOut.gms"), "previous");
  EXPECT_TRUE(log.events.empty());
}

TEST_F(FailureMatrixTest, ResultsFileFailuresLogNothing) {
  struct NoLabels : ResultLabels {
    void setResultLabel(Coefficient, const std::string&) override { ++set; }
    int set = 0;
  };
  const auto loadError = [](const std::string& name) {
    EventRecorder log;
    NoLabels labels;
    try {
      readResults(VariantId::Maxwell3, log, labels, name);
    } catch (const Error& e) {
      EXPECT_TRUE(log.events.empty() && labels.set == 0);
      return errorBoxText(e.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(loadError("output2.dat"), "File not found.");
  std::filesystem::create_directory("folder");
  EXPECT_EQ(loadError("folder"), "File access denied.");
  EXPECT_EQ(loadError("gone/output2.dat"), "Invalid filename.");
  TextFile writer("output2.dat");
  writer.createWrite();  // the modelling system still writing it
  EXPECT_EQ(loadError("output2.dat"), "I/O error 32.");
}

// A read that fails after the file opened: reading this process's memory from address 0 is
// an I/O error (EIO, 5 on Linux), which keeps its generic message, not "File access denied".
TEST_F(FailureMatrixTest, AReadThatFailsPartWayKeepsWhatWasShown) {
  struct Labels : ResultLabels {
    void setResultLabel(Coefficient, const std::string&) override { ++set; }
    int set = 0;
  };
  EventRecorder log;
  Labels labels;
  try {
    readResults(VariantId::Maxwell3, log, labels, "/proc/self/mem");
    ADD_FAILURE() << "no error";
  } catch (const FileError& e) {
    EXPECT_EQ(e.code(), 5);
    EXPECT_EQ(errorBoxText(e.what()), "I/O error 5.");
  }
  EXPECT_EQ(log.events, Events{"= RESULTS ="});
  EXPECT_EQ(labels.set, 0);
}

}  // namespace
}  // namespace tarvelin
