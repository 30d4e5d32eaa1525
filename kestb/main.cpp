// kestb: generates code from a DSM model and a template; see man kestb.
#include <iostream>

#include "kestb/Generator.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string> args(argv + 1, argv + argc);
  int status = kestb::Run(args, std::cout);
  std::cout.flush();
  return status;
}
