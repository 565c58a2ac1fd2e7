#include <iostream>
#include <string>
#include <vector>

#include "host/paystead.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return veltrane::host::RunPaystead(args, std::cout, std::cerr);
}
