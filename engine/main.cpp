// `gams`: Tarvelin's built-in modelling engine, found at the end of PATH where GAMS is absent.
#include <iostream>
#include <string>
#include <vector>

#include "engine/Driver.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return tarvelin::engine::runCommandLine(args, std::cout, std::cerr);
}
