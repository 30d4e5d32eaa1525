// kestb: generates code from a DSM model and a template; see man kestb.
#include <iostream>

#include "kestb/Generator.h"
#include "kestb/Output.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  kestb::HandleFatalSignals();
  std::vector<std::string> args(argv + 1, argv + argc);
  int status = kestb::Run(args, std::cout);
  // A report that could not be written (standard output full or closed)
  // leaves the caller without the outcome: that is a failed run.
  if (!std::cout.flush() && status == kestb::kOk) {
    std::cerr << "kestb: error: cannot write the report\n";
    return kestb::kFailed;
  }
  return status;
}
