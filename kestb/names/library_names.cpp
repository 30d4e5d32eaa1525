// library_names: run by the build. Reads preprocessed C++ files and writes
// the names they declare at global scope as a sorted list of C++ string
// literals, one a line, for kestb's table of names a model cannot take.
//
//   library_names OUT.inc IN.i...
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <string>

#include "kestb/names/LibraryScan.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: library_names OUT.inc IN.i...\n";
    return 2;
  }
  std::set<std::string> names;
  for (int i = 2; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    if (!in) {
      std::cerr << "library_names: cannot read " << argv[i] << '\n';
      return 1;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    kestb::ScanGlobalNames(text, names);
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  for (const std::string& n : names) out << '"' << n << "\",\n";
  out.close();
  if (!out) {
    std::cerr << "library_names: cannot write " << argv[1] << '\n';
    return 1;
  }
  return 0;
}
