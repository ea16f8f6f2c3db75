#include "run/CommandLines.h"

#include "model/ModelFileWriter.h"

namespace tarvelin {

std::string gamsParameters(bool closeWindow) {
  return std::string(closeWindow ? "/c" : "/k") + " gams " + kModelFileName;
}

std::string plotParameters() {
  return "/c matlab -r kresliVysledky -nodesktop -nosplash";
}

}  // namespace tarvelin
