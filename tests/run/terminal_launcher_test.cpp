// The command window on Linux, started through a stand-in terminal program that records its
// arguments, folder, PATH and session, and runs the command it is given like a terminal would.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "model/Errors.h"
#include "run/CommandLines.h"
#include "run/TerminalLauncher.h"
#include "tests/support/TempFolder.h"

namespace tarvelin {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

// Records every argument, the folder, PATH, session and parent, then runs what follows "-e"
// with one line waiting on its input: a shell that stays open reads it and says "kept-open".
const char* const kRecordingTerminal = R"sh(#!/bin/sh
out="$TARVELIN_TERMINAL_RECORD"
{
  printf 'program:%s\n' "$0"
  for a in "$@"; do printf 'arg:%s\n' "$a"; done
  printf 'cwd:%s\n' "$(pwd -P)"
  printf 'path:%s\n' "$PATH"
  printf 'sid:%s\n' "$(cut -d' ' -f6 /proc/$$/stat)"
  printf 'ppid:%s\n' "$PPID"
  shift
  echo 'echo kept-open' | "$@" 2>/dev/null | sed 's/^/out:/'
} > "$out.part"
mv "$out.part" "$out"
)sh";

void makeExecutable(const fs::path& file, const std::string& text) {
  writeBytes(file, text);
  ::chmod(file.c_str(), 0755);
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string valueOf(const std::vector<std::string>& lines, const std::string& key) {
  for (const auto& line : lines) {
    if (line.rfind(key + ":", 0) == 0) return line.substr(key.size() + 1);
  }
  return "<missing " + key + ">";
}

std::vector<std::string> valuesOf(const std::vector<std::string>& lines, const std::string& key) {
  std::vector<std::string> values;
  for (const auto& line : lines) {
    if (line.rfind(key + ":", 0) == 0) values.push_back(line.substr(key.size() + 1));
  }
  return values;
}

// The process has no child at all: neither one still running nor a zombie.
bool hasNoChild() {
  int status = 0;
  return ::waitpid(-1, &status, WNOHANG) == -1 && errno == ECHILD;
}

class TerminalLauncherTest : public ::testing::Test {
 protected:
  TerminalLauncherTest()
      : tools_(temp_.path() / "tools"),
        standins_(temp_.path() / "stand ins"),
        work_(temp_.path() / "work"),
        record_(temp_.path() / "record.txt"),
        terminal_(tools_ / "recording-terminal") {
    fs::create_directories(tools_);
    fs::create_directories(standins_);
    fs::create_directories(work_);
    makeExecutable(terminal_, kRecordingTerminal);
    fs::current_path(work_);
    ::setenv("TARVELIN_TERMINAL_RECORD", record_.c_str(), 1);
    ::setenv("SHELL", "/bin/sh", 1);
  }

  void start(TerminalLauncher& launcher, const std::string& parameters) {
    launcher.shellExecute(0, kOpenOperation, kCommandInterpreter, parameters, std::nullopt,
                          kShowCommand);
  }

  // The started terminal runs on its own; this waits for its record, with a generous limit.
  std::vector<std::string> waitForRecord() {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!fs::exists(record_) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return linesOf(readBytes(record_));
  }

  TempFolder temp_;
  fs::path tools_, standins_, work_, record_, terminal_;
};

struct CommandCase {
  std::string parameters;
  std::vector<std::string> shellArgs;  // after the terminal's "-e"
  std::vector<std::string> output;
};

class TerminalCommandTest : public TerminalLauncherTest,
                            public ::testing::WithParamInterface<CommandCase> {};

TEST_P(TerminalCommandTest, RunsTheCommandAndClosesOrStaysAsAsked) {
  TerminalLauncher launcher({terminal_.string()}, standins_.string());
  start(launcher, GetParam().parameters);
  auto record = waitForRecord();
  EXPECT_EQ(valueOf(record, "program"), terminal_.string());
  std::vector<std::string> expectedArgs{"-e"};
  expectedArgs.insert(expectedArgs.end(), GetParam().shellArgs.begin(), GetParam().shellArgs.end());
  EXPECT_EQ(valuesOf(record, "arg"), expectedArgs);
  EXPECT_EQ(valuesOf(record, "out"), GetParam().output);
}

const char* const kStayOpen = "eval \"$1\"; exec \"${SHELL:-/bin/sh}\" -i";

INSTANTIATE_TEST_SUITE_P(
    CloseOrKeep, TerminalCommandTest,
    ::testing::Values(
        CommandCase{"/c echo ran", {"/bin/sh", "-c", "echo ran"}, {"ran"}},
        CommandCase{
            "/k echo ran", {"/bin/sh", "-c", kStayOpen, "sh", "echo ran"}, {"ran", "kept-open"}},
        // The command's own text cannot swallow what keeps the window open.
        CommandCase{"/k echo a # comment",
                    {"/bin/sh", "-c", kStayOpen, "sh", "echo a # comment"},
                    {"a", "kept-open"}},
        CommandCase{gamsParameters(true), {"/bin/sh", "-c", "gams MaxwellOut.gms"}, {}},
        CommandCase{plotParameters(),
                    {"/bin/sh", "-c", "matlab -r kresliVysledky -nodesktop -nosplash"},
                    {}}));

TEST_F(TerminalLauncherTest, StartsDetachedInTheCurrentFolderWithStandinsAtTheEndOfPath) {
  std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  TerminalLauncher launcher({terminal_.string()}, standins_.string());
  start(launcher, "/c true");
  EXPECT_TRUE(hasNoChild()) << "the terminal must not stay our child or become a zombie";
  auto record = waitForRecord();
  EXPECT_EQ(valueOf(record, "cwd"), fs::canonical(work_).string());
  EXPECT_EQ(valueOf(record, "path"), path + ":" + standins_.string());
  EXPECT_NE(valueOf(record, "sid"), std::to_string(::getsid(0)));
  EXPECT_NE(valueOf(record, "ppid"), std::to_string(::getpid()));
}

TEST_F(TerminalLauncherTest, TakesTheFirstTerminalFoundOnPath) {
  std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  ::setenv("PATH", (tools_.string() + ":" + path).c_str(), 1);
  TerminalLauncher launcher({"tarvelin-no-such-terminal", "recording-terminal"},
                            standins_.string());
  start(launcher, "/c echo found");
  auto record = waitForRecord();
  ::setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(valueOf(record, "program"), terminal_.string());
  EXPECT_EQ(valuesOf(record, "out"), std::vector<std::string>{"found"});
}

TEST_F(TerminalLauncherTest, ATerminalThatCannotStartIsAnError) {
  fs::path broken = tools_ / "broken-terminal";
  makeExecutable(broken, "#!/nonexistent/interpreter\n");
  TerminalLauncher launcher({broken.string()}, standins_.string());
  try {
    start(launcher, "/c true");
    FAIL() << "a terminal that cannot start was reported as started";
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot start the command window \"" + broken.string() +
                                             "\": No such file or directory");
  }
  EXPECT_TRUE(hasNoChild());
}

TEST_F(TerminalLauncherTest, NoTerminalAtAllIsAnError) {
  TerminalLauncher launcher({"tarvelin-no-such-terminal", "tarvelin-nor-this-one"},
                            standins_.string());
  try {
    start(launcher, "/c true");
    FAIL() << "a missing terminal was reported as started";
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()),
              "Cannot start the command window: no terminal program found (tried "
              "tarvelin-no-such-terminal, tarvelin-nor-this-one)");
  }
}

struct RefusedCase {
  std::string operation, file, parameters;
};

class RefusedRequestTest : public TerminalLauncherTest,
                           public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedRequestTest, IsRefusedBeforeAnythingStarts) {
  TerminalLauncher launcher({terminal_.string()}, standins_.string());
  const auto& c = GetParam();
  EXPECT_THROW(
      launcher.shellExecute(0, c.operation, c.file, c.parameters, std::nullopt, kShowCommand),
      Error);
  EXPECT_TRUE(hasNoChild());
  EXPECT_FALSE(fs::exists(record_));
}

INSTANTIATE_TEST_SUITE_P(OtherRequests, RefusedRequestTest,
                         ::testing::Values(RefusedCase{"print", "cmd.exe", "/c true"},
                                           RefusedCase{"open", "notepad.exe", "/c true"},
                                           RefusedCase{"open", "cmd.exe", "gams MaxwellOut.gms"},
                                           RefusedCase{"open", "cmd.exe", "/x true"},
                                           RefusedCase{"open", "cmd.exe", "/c "}));

}  // namespace
}  // namespace tarvelin
