#include <ostream>
#include <string_view>

#include "app/batch/BatchCommand.h"

namespace tarvelin::batch {

namespace {

struct Name {
  std::string_view text;
  int value;
};

constexpr Name kVariantNames[] = {{"maxwell3", static_cast<int>(VariantId::Maxwell3)},
                                  {"maxwell4", static_cast<int>(VariantId::Maxwell4)},
                                  {"maxwell3spring", static_cast<int>(VariantId::Maxwell3Spring)},
                                  {"kelvin3", static_cast<int>(VariantId::Kelvin3)}};
constexpr Name kSolverNames[] = {{"conopt", static_cast<int>(SolverId::Conopt)},
                                 {"emp", static_cast<int>(SolverId::Emp)},
                                 {"knitro", static_cast<int>(SolverId::Knitro)},
                                 {"minos", static_cast<int>(SolverId::Minos)},
                                 {"snop", static_cast<int>(SolverId::Snop)}};

template <std::size_t N>
std::optional<int> lookUp(const Name (&names)[N], std::string_view text) {
  for (const Name& name : names) {
    if (name.text == text) return name.value;
  }
  return std::nullopt;
}

// "c1in", "c1d", "c1u", ... as the window names its edits.
bool findEdit(std::string_view control, Coefficient& coefficient, ValueKind& kind) {
  for (const auto& info : kCoefficients) {
    for (int k = 0; k < 3; ++k) {
      if (info.control[static_cast<std::size_t>(k)] == control) {
        coefficient = info.id;
        kind = static_cast<ValueKind>(k);
        return true;
      }
    }
  }
  return false;
}

}  // namespace

std::string batchUsage() {
  return "usage: tarvelin-batch [--variant maxwell3|maxwell4|maxwell3spring|kelvin3]\n"
         "                      [--solver conopt|emp|knitro|minos|snop] [--set NAME=TEXT]...\n"
         "                      [--run] DATAFILE\n";
}

std::string batchHelp() {
  return batchUsage() +
         "\n"
         "Builds the model file MaxwellOut.gms in the current folder from the variant's\n"
         "template (Maxwell3.gms, Maxwell4.gms, Maxwell3Spring.gms or Maxwell3Kelvin.gms, read\n"
         "from the current folder) and DATAFILE, exactly as the window's build does: the\n"
         "coefficient texts are checked first, then the template is copied with its directives\n"
         "filled in. The build's log lines go to standard output.\n"
         "\n"
         "  --variant V    the model variant (default maxwell3: 3 Maxwell elements)\n"
         "  --solver S     the solver named in the model file (default conopt)\n"
         "  --set NAME=TEXT\n"
         "                 a coefficient text as typed in the window's edit NAME: c1in..k4in\n"
         "                 (initial values), c1d..k4d (lower limits), c1u..k4u (upper limits).\n"
         "                 Unset texts keep the window's defaults.\n"
         "  --run          after a consistent build, run `gams MaxwellOut.gms` (a GAMS on the\n"
         "                 PATH, else Tarvelin's built-in engine), wait for it, and print the\n"
         "                 fitted coefficients read from output2.dat as \"Load results\" does\n"
         "  --help         this text\n"
         "\n"
         "Exit status:\n"
         "  0   the build completed and the three data blocks agree (and the run succeeded)\n"
         "  1   a coefficient text is no number (the message goes to standard error)\n"
         "  2   a file, conversion or overflow error (the message goes to standard error)\n"
         "  3   the build completed but the data blocks disagree\n"
         "  4   the modelling system failed or could not be started (with --run)\n"
         "  64  a bad option\n";
}

std::optional<BatchOptions> parseBatchOptions(const std::vector<std::string>& args,
                                              std::ostream& err) {
  BatchOptions options;
  std::optional<std::string> dataFile;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    std::optional<std::string> inlineValue;
    if (arg.rfind("--", 0) == 0) {
      if (const auto eq = arg.find('='); eq != std::string::npos) {
        inlineValue = arg.substr(eq + 1);
        arg.erase(eq);
      }
    }
    const auto value = [&]() -> std::optional<std::string> {
      if (inlineValue) return inlineValue;
      if (i + 1 < args.size()) return args[++i];
      err << "tarvelin-batch: " << arg << " needs a value\n";
      return std::nullopt;
    };

    if (arg == "--help" || arg == "-h") {
      options.help = true;
      return options;
    } else if (arg == "--run" && !inlineValue) {
      options.run = true;
    } else if (arg == "--variant") {
      const auto text = value();
      if (!text) return std::nullopt;
      const auto id = lookUp(kVariantNames, *text);
      if (!id) {
        err << "tarvelin-batch: unknown variant '" << *text << "'\n";
        return std::nullopt;
      }
      options.settings.variant = static_cast<VariantId>(*id);
    } else if (arg == "--solver") {
      const auto text = value();
      if (!text) return std::nullopt;
      const auto id = lookUp(kSolverNames, *text);
      if (!id) {
        err << "tarvelin-batch: unknown solver '" << *text << "'\n";
        return std::nullopt;
      }
      options.settings.solver = static_cast<SolverId>(*id);
    } else if (arg == "--set") {
      const auto text = value();
      if (!text) return std::nullopt;
      const auto eq = text->find('=');
      Coefficient coefficient;
      ValueKind kind;
      if (eq == std::string::npos || !findEdit(text->substr(0, eq), coefficient, kind)) {
        err << "tarvelin-batch: --set takes NAME=TEXT with NAME one of c1in..k4in, c1d..k4d, "
               "c1u..k4u, not '"
            << *text << "'\n";
        return std::nullopt;
      }
      options.settings.setText(coefficient, kind, text->substr(eq + 1));
    } else if (arg.size() > 1 && arg[0] == '-') {
      err << "tarvelin-batch: unknown option '" << args[i] << "'\n";
      return std::nullopt;
    } else if (dataFile) {
      err << "tarvelin-batch: one data file only, got '" << *dataFile << "' and '" << arg << "'\n";
      return std::nullopt;
    } else {
      dataFile = arg;
    }
  }
  if (!dataFile) {
    err << "tarvelin-batch: no data file given\n";
    return std::nullopt;
  }
  options.dataFile = *dataFile;
  return options;
}

}  // namespace tarvelin::batch
