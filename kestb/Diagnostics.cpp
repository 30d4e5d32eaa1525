// Diagnostics: formatting of kestb's error lines.
#include "kestb/Diagnostics.h"

namespace kestb {

std::string FormatError(const Diagnostic& d) {
  // An empty path would leave the line starting with ':'.
  std::string s = d.file.empty() ? "''" : d.file;
  if (d.line > 0) s += ":" + std::to_string(d.line);
  s += ": error: ";
  s += d.text;
  return s;
}

}  // namespace kestb
