// The four variants' stiffness and damping, written out independently of the templates, to
// check what a fit leaves in fitted.dat.
#pragma once

#include <string>
#include <vector>

namespace tarvelin::testing {

struct Response {
  double stiffness;  // Nm/rad
  double damping;    // Nms/rad
};

// coefficients in the order of output2.dat for the variant ("maxwell3", ...); f in Hz.
Response modelResponse(const std::string& variant, const std::vector<double>& coefficients,
                       double f);

}  // namespace tarvelin::testing
