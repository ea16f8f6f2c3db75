// The parameter lines of the command interpreter for the optimization run and the plots.
#pragma once

#include <string>

namespace tarvelin {

// "/c gams MaxwellOut.gms" when the window closes afterwards, else "/k gams MaxwellOut.gms".
std::string gamsParameters(bool closeWindow);

// "/c matlab -r kresliVysledky -nodesktop -nosplash".
std::string plotParameters();

}  // namespace tarvelin
