// The velmora executable.
#include <iostream>
#include <string>
#include <vector>

#include "app/run.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return velmora::RunVelmora(arguments, std::cout, std::cerr);
}
