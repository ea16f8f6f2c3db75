// Where Tarvelin's own stand-ins for outside programs (gams, matlab) live, and how a started
// command finds them: at the END of its PATH, so that real installed programs win.
#pragma once

#include <string>

namespace tarvelin {

// The folder "standins" beside the running executable.
std::string standinsFolder();

// PATH with the folder appended (an empty PATH gives just the folder).
std::string pathWithStandins(const std::string& path, const std::string& folder);

}  // namespace tarvelin
