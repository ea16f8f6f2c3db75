#include "run/Standins.h"

#include <filesystem>
#include <system_error>

namespace tarvelin {

std::string standinsFolder() {
  std::error_code error;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
  const auto folder = error ? std::filesystem::current_path() : executable.parent_path();
  return (folder / "standins").string();
}

std::string pathWithStandins(const std::string& path, const std::string& folder) {
  if (path.empty()) return folder;
  return path + ":" + folder;
}

}  // namespace tarvelin
