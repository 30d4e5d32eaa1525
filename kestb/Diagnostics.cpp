// Diagnostics: formatting of kestb's error lines.
#include "kestb/Diagnostics.h"

namespace kestb {

std::string FormatError(const Diagnostic& d) {
  // An empty path would leave the line starting with ':'.
  std::string s = d.file.empty() ? "''" : OneLine(d.file);
  if (d.line > 0) s += ":" + std::to_string(d.line);
  if (d.line > 0 && d.col > 0) s += ":" + std::to_string(d.col);
  s += ": error: ";
  s += OneLine(d.text);
  return s;
}

int ColumnOf(std::string_view line, size_t bytes) {
  int col = 1;
  for (size_t i = 0; i < bytes && i < line.size(); ++i) {
    if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80) ++col;
  }
  return col;
}

int FirstColumn(std::string_view line) {
  size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
  return i == line.size() ? 1 : ColumnOf(line, i);
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
