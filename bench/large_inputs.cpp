// Large inputs: time and peak memory of the build and the results reader as the input grows.
// Each case runs in a child process, so its peak resident memory is its own. Memory should stay
// at the program's base plus the longest line; time should grow linearly with the input.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "model/ModelFileWriter.h"
#include "run/ResultsReader.h"

namespace {

using namespace tarvelin;

struct NullLog : ActivityLog {
  void append(const std::string&) override {}
};
struct FixedDialogs : Dialogs {
  std::optional<std::string> chooseDataFile() override { return std::string("data.txt"); }
  void showMessage(const std::string&) override {}
  void showError(const std::string&) override {}
};
struct NullLabels : ResultLabels {
  void setResultLabel(Coefficient, const std::string&) override {}
};

struct Measurement {
  double seconds;
  long peakKiB;
};

Measurement inChild(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    try {
      work();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "failed: %s\n", e.what());
      std::_Exit(1);
    }
    std::_Exit(0);
  }
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::fprintf(stderr, "case failed\n");
  return {seconds, usage.ru_maxrss};
}

void build() {
  SettingsValues settings;
  FixedDialogs dialogs;
  NullLog log;
  TextFile modelTemplate("template.gms");
  ModelFileWriter(modelTemplate, settings, dialogs, log, {});
}

void writeDataFile(long values) {
  std::ofstream out("data.txt", std::ios::binary);
  for (int block = 0; block < 3; ++block) {
    for (long i = 0; i < values / 3; ++i) out << (i % 997) * 1.25 + 0.5 << "\r\n";
    out << "\r\n";
  }
}

void report(const char* what, long size, const Measurement& m, const Measurement* previous) {
  std::printf("%-34s %12ld %10.3f s %10ld KiB", what, size, m.seconds, m.peakKiB);
  if (previous != nullptr) std::printf("   time x%.2f", m.seconds / previous->seconds);
  std::printf("\n");
}

template <typename Prepare>
void series(const char* what, const long (&sizes)[3], Prepare prepare,
            const std::function<void()>& work) {
  Measurement previous{};
  for (int i = 0; i < 3; ++i) {
    prepare(sizes[i]);
    const Measurement m = inChild(work);
    report(what, sizes[i], m, i > 0 ? &previous : nullptr);
    previous = m;
  }
}

}  // namespace

int main() {
  const auto folder = std::filesystem::temp_directory_path() / "tarvelin-large-inputs";
  std::filesystem::create_directories(folder);
  std::filesystem::current_path(folder);
  std::printf("%-34s %12s %12s %14s\n", "case", "size", "time", "peak memory");

  std::ofstream("template.gms") << "#\n@\n@\n@\n";
  std::ofstream("data.txt");
  report("program base (empty build)", 0, inChild(build), nullptr);

  const long values[] = {250'000, 500'000, 1'000'000};
  series(
      "data file: values", values,
      [](long n) {
        std::ofstream("template.gms") << "Set j\n#\n@\n@\n@\n";
        writeDataFile(n);
      },
      build);

  const long templateLines[] = {25'000, 50'000, 100'000};
  series(
      "template: lines", templateLines,
      [](long n) {
        std::ofstream out("template.gms");
        for (long i = 0; i < n; ++i) out << "x" << i << ".l = 1;  * a line of the model\n";
        std::ofstream("data.txt");
      },
      build);

  const long lineLength[] = {2'500'000, 5'000'000, 10'000'000};
  series(
      "one data line: characters", lineLength,
      [](long n) {
        std::ofstream("template.gms") << "@\n";
        std::ofstream out("data.txt");
        out << "0." << std::string(static_cast<std::size_t>(n - 2), '3') << "\n";
      },
      build);

  series(
      "results file: characters a line", lineLength,
      [](long n) {
        std::ofstream out("output2.dat");
        for (int i = 0; i < 8; ++i) out << std::string(static_cast<std::size_t>(n), '7') << "\n";
      },
      [] {
        NullLog log;
        NullLabels labels;
        readResults(VariantId::Maxwell4, log, labels);
      });
  std::filesystem::current_path("/");
  std::filesystem::remove_all(folder);
  return 0;
}
