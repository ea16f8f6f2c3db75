#include <iostream>

#include "app/batch/BatchCommand.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return tarvelin::batch::runBatch(args, std::cout, std::cerr);
}
