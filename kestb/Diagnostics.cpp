// Diagnostics: formatting of kestb's error lines.
#include "kestb/Diagnostics.h"

namespace kestb {

std::string FormatError(const Diagnostic& d) {
  // An empty path would leave the line starting with ':'.
  std::string s = d.file.empty() ? "''" : OneLine(d.file);
  if (d.line > 0) s += ":" + std::to_string(d.line);
  s += ": error: ";
  s += OneLine(d.text);
  return s;
}

std::string OneLine(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) {
      const char* hex = "0123456789ABCDEF";
      out += "\\x";
      out += hex[u >> 4];
      out += hex[u & 15];
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace kestb
