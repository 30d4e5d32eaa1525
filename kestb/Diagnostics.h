// Diagnostics: the "FILE:LINE: error: TEXT" lines that kestb reports.
//
// Every problem the generator finds is collected as a Diagnostic and
// printed one per line, in the shape editors (and xkest's go-to-line
// command) jump from:
//
//   kestb::Diagnostics d;
//   d.Error("shop.dsm", 12, "unknown type 'Strng' for field 'name'");
//   for (const kestb::Diagnostic& e : d.List())
//     std::cout << kestb::FormatError(e) << '\n';  // shop.dsm:12: error: ...
#pragma once

#include <string>
#include <vector>

namespace kestb {

struct Diagnostic {
  std::string file;
  int line = 0;  // 0 when the problem is about the whole file
  std::string text;
};

// "FILE:LINE: error: TEXT", or "FILE: error: TEXT" without a line; an
// empty FILE is shown as ''.
std::string FormatError(const Diagnostic& d);

class Diagnostics {
 public:
  void Error(std::string file, int line, std::string text) {
    list_.push_back({std::move(file), line, std::move(text)});
  }
  size_t Count() const { return list_.size(); }
  bool Empty() const { return list_.empty(); }
  const std::vector<Diagnostic>& List() const { return list_; }

 private:
  std::vector<Diagnostic> list_;
};

}  // namespace kestb
