// The matlab stand-in: how it turns the command window's line into an Octave call, checked
// with recording fakes of octave and octave-cli as the only programs on PATH.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/run/plot_process.h"

namespace tarvelin::plottest {
namespace {

namespace fs = std::filesystem;

// Records its name, its folder and its arguments, one a line, then exits with FAKE_EXIT.
const char* const kFakeOctave =
    "#!/bin/sh\n"
    "{ printf 'program=%s\\n' \"${0##*/}\"; printf 'folder=%s\\n' \"$(pwd)\";\n"
    "  for a in \"$@\"; do printf 'arg=%s\\n' \"$a\"; done; } >> \"$FAKE_RECORD\"\n"
    "exit \"${FAKE_EXIT:-0}\"\n";

const std::string kHeadless =
    "warning('off', 'Octave:gnuplot-graphics'); graphics_toolkit('gnuplot'); "
    "set(0, 'defaultfigurevisible', 'off'); ";

enum class Screen { kNone, kEmptyDisplay, kX11, kWayland };
enum class Installed { kBoth, kOnlyOctave, kOnlyOctaveCli, kNone };

class StandinRun {
 public:
  explicit StandinRun(Installed installed) {
    fs::create_directory(bin());
    fs::create_directory(work());
    if (installed == Installed::kBoth || installed == Installed::kOnlyOctave) addFake("octave");
    if (installed == Installed::kBoth || installed == Installed::kOnlyOctaveCli) {
      addFake("octave-cli");
    }
  }

  fs::path bin() const { return root_.path() / "bin"; }
  fs::path work() const { return root_.path() / "work"; }
  fs::path record() const { return root_.path() / "record.txt"; }

  ProcessResult run(const std::vector<std::string>& args, Screen screen, int fakeExit = 0) const {
    return runProcess(argvFor(args), work(), environment(screen, fakeExit));
  }

  // In a terminal with a screen, pressing Enter once the prompt to close the window shows.
  TerminalResult runInTerminal(const std::vector<std::string>& args, int fakeExit) const {
    return plottest::runInTerminal(argvFor(args), work(), environment(Screen::kX11, fakeExit),
                                   "Press Enter to close this window.", "\n");
  }

  // What the fakes recorded: "program=...", "folder=...", "arg=..." lines.
  std::vector<std::string> recorded() const {
    std::vector<std::string> lines;
    std::string text = readWholeFile(record());
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
      lines.push_back(text.substr(start, end - start));
    }
    return lines;
  }

 private:
  std::vector<std::string> argvFor(const std::vector<std::string>& args) const {
    std::vector<std::string> argv = {
        (requiredEnvPath("TARVELIN_STANDINS_DIR") / "matlab").string()};
    argv.insert(argv.end(), args.begin(), args.end());
    return argv;
  }

  std::vector<std::string> environment(Screen screen, int fakeExit) const {
    std::map<std::string, std::optional<std::string>> env = {
        {"PATH", bin().string()},
        {"FAKE_RECORD", record().string()},
        {"FAKE_EXIT", std::to_string(fakeExit)},
        {"DISPLAY", std::nullopt},
        {"WAYLAND_DISPLAY", std::nullopt}};
    if (screen == Screen::kEmptyDisplay) env["DISPLAY"] = "";
    if (screen == Screen::kX11) env["DISPLAY"] = ":7";
    if (screen == Screen::kWayland) env["WAYLAND_DISPLAY"] = "wayland-0";
    return environmentWith(env);
  }

  void addFake(const std::string& name) {
    writeWholeFile(bin() / name, kFakeOctave);
    fs::permissions(bin() / name, fs::perms::owner_all);
  }

  TempFolder root_;
};

std::vector<std::string> expectedRecord(const StandinRun& run, const std::string& program,
                                        const std::vector<std::string>& args) {
  std::vector<std::string> lines = {"program=" + program, "folder=" + run.work().string()};
  for (const std::string& arg : args) lines.push_back("arg=" + arg);
  return lines;
}

struct CallCase {
  const char* name;
  std::vector<std::string> args;
  Screen screen;
  Installed installed;
  std::string program;
  std::vector<std::string> octaveArgs;
};

void PrintTo(const CallCase& call, std::ostream* os) {
  *os << call.name;
}

const std::vector<CallCase>& callCases() {
  static const std::vector<CallCase> cases = {
      {"WindowLineWithoutScreen",
       {"-r", "kresliVysledky", "-nodesktop", "-nosplash"},
       Screen::kNone,
       Installed::kBoth,
       "octave-cli",
       {"--quiet", "--eval", kHeadless + "kresliVysledky"}},
      {"EmptyDisplayIsNoScreen",
       {"-r", "kresliVysledky", "-nodesktop", "-nosplash"},
       Screen::kEmptyDisplay,
       Installed::kBoth,
       "octave-cli",
       {"--quiet", "--eval", kHeadless + "kresliVysledky"}},
      {"WindowLineOnX11",
       {"-r", "kresliVysledky", "-nodesktop", "-nosplash"},
       Screen::kX11,
       Installed::kBoth,
       "octave",
       {"--no-gui", "--quiet", "--eval", "kresliVysledky; drawnow; waitfor(gcf)"}},
      {"WindowLineOnWayland",
       {"-r", "kresliVysledky", "-nodesktop", "-nosplash"},
       Screen::kWayland,
       Installed::kBoth,
       "octave",
       {"--no-gui", "--quiet", "--eval", "kresliVysledky; drawnow; waitfor(gcf)"}},
      {"OptionsInAnyOrder",
       {"-nosplash", "-nodesktop", "-r", "kresliVysledky"},
       Screen::kNone,
       Installed::kBoth,
       "octave-cli",
       {"--quiet", "--eval", kHeadless + "kresliVysledky"}},
      {"StatementWithBlanksStaysOneArgument",
       {"-r", "x = 'a b'; disp(x)", "-nodesktop"},
       Screen::kX11,
       Installed::kBoth,
       "octave",
       {"--no-gui", "--quiet", "--eval", "x = 'a b'; disp(x); drawnow; waitfor(gcf)"}},
      {"ScreenWithoutGuiProgramRunsHeadless",
       {"-r", "kresliVysledky", "-nodesktop", "-nosplash"},
       Screen::kX11,
       Installed::kOnlyOctaveCli,
       "octave-cli",
       {"--quiet", "--eval", kHeadless + "kresliVysledky"}},
      {"NoScreenWithoutOctaveCli",
       {"-r", "kresliVysledky", "-nodesktop", "-nosplash"},
       Screen::kNone,
       Installed::kOnlyOctave,
       "octave",
       {"--no-gui", "--quiet", "--eval", kHeadless + "kresliVysledky"}},
  };
  return cases;
}

class MatlabStandinCall : public testing::TestWithParam<CallCase> {};

TEST_P(MatlabStandinCall, StartsOctaveInTheCurrentFolder) {
  const CallCase& call = GetParam();
  StandinRun standin(call.installed);

  const ProcessResult result = standin.run(call.args, call.screen);

  EXPECT_EQ(result.exitCode, 0) << result.output;
  EXPECT_EQ(standin.recorded(), expectedRecord(standin, call.program, call.octaveArgs));
}

INSTANTIATE_TEST_SUITE_P(CommandLines, MatlabStandinCall, testing::ValuesIn(callCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MatlabStandin, ExitsWithOctavesExitCode) {
  for (const Screen screen : {Screen::kNone, Screen::kX11}) {
    SCOPED_TRACE(screen == Screen::kNone ? "without a screen" : "with a screen");
    StandinRun standin(Installed::kBoth);
    const ProcessResult result = standin.run({"-r", "kresliVysledky"}, screen, 3);
    EXPECT_EQ(result.exitCode, 3) << result.output;
  }
}

struct RefusedCase {
  const char* name;
  std::vector<std::string> args;
  std::string message;
};

void PrintTo(const RefusedCase& refused, std::ostream* os) {
  *os << refused.name;
}

const std::vector<RefusedCase>& refusedCases() {
  static const std::vector<RefusedCase> cases = {
      {"UnknownOption", {"-r", "kresliVysledky", "-batch"}, "unknown option '-batch'"},
      {"StrayWord", {"kresliVysledky"}, "unknown option 'kresliVysledky'"},
      {"RWithoutValue", {"-nodesktop", "-r"}, "-r needs the name of a script or a statement"},
      {"REmptyValue", {"-r", ""}, "-r needs the name of a script or a statement"},
      {"NothingToRun", {"-nodesktop", "-nosplash"}, "nothing to run"},
  };
  return cases;
}

class MatlabStandinRefuses : public testing::TestWithParam<RefusedCase> {};

TEST_P(MatlabStandinRefuses, SaysWhyAndStartsNothing) {
  StandinRun standin(Installed::kBoth);

  const ProcessResult result = standin.run(GetParam().args, Screen::kNone);

  EXPECT_EQ(result.exitCode, 2);
  EXPECT_NE(result.output.find(GetParam().message), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("usage: matlab -r"), std::string::npos) << result.output;
  EXPECT_FALSE(fs::exists(standin.record()));
}

INSTANTIATE_TEST_SUITE_P(CommandLines, MatlabStandinRefuses, testing::ValuesIn(refusedCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MatlabStandin, WithoutOctaveSaysHowToInstallIt) {
  for (const Screen screen : {Screen::kNone, Screen::kX11}) {
    SCOPED_TRACE(screen == Screen::kNone ? "without a screen" : "with a screen");
    StandinRun standin(Installed::kNone);

    const ProcessResult result =
        standin.run({"-r", "kresliVysledky", "-nodesktop", "-nosplash"}, screen);

    EXPECT_NE(result.exitCode, 0);
    EXPECT_EQ(result.output.find("Press Enter"), std::string::npos) << "no terminal, no prompt";
    EXPECT_NE(result.output.find("GNU Octave is installed"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find(
                  "sudo apt-get install octave gnuplot-nox ghostscript fonts-freefont-otf"),
              std::string::npos)
        << result.output;
  }
}

// After a failed run of a plain name, the folder where NAME.m was looked for is named.
struct ScriptHintCase {
  const char* name;
  const char* statement;
  bool scriptInFolder;
  int octaveExit;
  bool namesTheFolder;
};

void PrintTo(const ScriptHintCase& hint, std::ostream* os) {
  *os << hint.name;
}

class MatlabStandinScriptHint : public testing::TestWithParam<ScriptHintCase> {};

TEST_P(MatlabStandinScriptHint, NamesTheFolderOnlyWhenTheScriptIsNotThere) {
  const ScriptHintCase& hint = GetParam();
  StandinRun standin(Installed::kBoth);
  if (hint.scriptInFolder) writeWholeFile(standin.work() / "kresliVysledky.m", "disp(1)\n");

  const ProcessResult result = standin.run({"-r", hint.statement}, Screen::kNone, hint.octaveExit);

  EXPECT_EQ(result.exitCode, hint.octaveExit);
  const std::string note = "there is no kresliVysledky.m in " + standin.work().string();
  EXPECT_EQ(result.output.find(note) != std::string::npos, hint.namesTheFolder) << result.output;
}

INSTANTIATE_TEST_SUITE_P(
    Failures, MatlabStandinScriptHint,
    testing::Values(ScriptHintCase{"ScriptMissing", "kresliVysledky", false, 1, true},
                    ScriptHintCase{"ScriptThereButFailed", "kresliVysledky", true, 1, false},
                    ScriptHintCase{"StatementFailed", "kresliVysledky(1)", false, 1, false},
                    ScriptHintCase{"NameFoundElsewhere", "kresliVysledky", false, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

// A window started with "/c" closes when the stand-in exits: in a terminal a failure waits for
// Enter so that its message can be read, and a success does not.
struct TerminalCase {
  const char* name;
  Installed installed;
  int octaveExit;
  bool waitsForEnter;
};

void PrintTo(const TerminalCase& terminal, std::ostream* os) {
  *os << terminal.name;
}

class MatlabStandinInTerminal : public testing::TestWithParam<TerminalCase> {};

TEST_P(MatlabStandinInTerminal, WaitsForEnterOnlyAfterAFailure) {
  StandinRun standin(GetParam().installed);

  const TerminalResult result = standin.runInTerminal(
      {"-r", "kresliVysledky", "-nodesktop", "-nosplash"}, GetParam().octaveExit);

  EXPECT_EQ(result.sawPrompt, GetParam().waitsForEnter) << result.process.output;
  if (GetParam().waitsForEnter) {
    EXPECT_TRUE(result.runningAtPrompt);
  }
  const int expectedExit = GetParam().installed == Installed::kNone ? 127 : GetParam().octaveExit;
  EXPECT_EQ(result.process.exitCode, expectedExit) << result.process.output;
}

INSTANTIATE_TEST_SUITE_P(CommandWindow, MatlabStandinInTerminal,
                         testing::Values(TerminalCase{"OctaveMissing", Installed::kNone, 0, true},
                                         TerminalCase{"ScriptFailed", Installed::kBoth, 1, true},
                                         TerminalCase{"ScriptSucceeded", Installed::kBoth, 0,
                                                      false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvelin::plottest
