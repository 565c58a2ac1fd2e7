#include <iostream>
#include <string>
#include <vector>

#include "host/cli/paystead.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return veltrane::cli::RunPaystead(args, std::cout, std::cerr);
}
