// Diagnostics: formatting of kestb's error lines.
#include "kestb/Diagnostics.h"

namespace kestb {

std::string FormatError(const Diagnostic& d) {
  std::string s = d.file;
  if (d.line > 0) s += ":" + std::to_string(d.line);
  s += ": error: ";
  s += d.text;
  return s;
}

void Diagnostics::Print(std::ostream& out) const {
  for (const Diagnostic& d : list_) out << FormatError(d) << '\n';
}

}  // namespace kestb
