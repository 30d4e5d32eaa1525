// Diagnostics: the "FILE:LINE:COL: error: TEXT" lines that kestb reports.
//
// Every problem the generator finds is collected as a Diagnostic and
// printed one per line, in the shape editors (and xkest's go-to-line
// command) jump from:
//
//   kestb::Diagnostics d;
//   d.Error("shop.dsm", 12, 10, "unknown type 'Strng' for field 'name'");
//   for (const kestb::Diagnostic& e : d.List())
//     std::cout << kestb::FormatError(e) << '\n';  // shop.dsm:12:10: error: ...
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestb {

struct Diagnostic {
  std::string file;
  int line = 0;  // 0 when the problem is about the whole file
  int col = 0;   // 1-based, in characters; 0 when not known
  std::string text;
};

// "FILE:LINE:COL: error: TEXT", "FILE:LINE: error: TEXT" without a column,
// or "FILE: error: TEXT" without a line; an empty FILE is shown as ''. Both
// are shown as OneLine shows them.
std::string FormatError(const Diagnostic& d);

// The 1-based column of byte offset `bytes` in `line`, counted in
// characters as editors place the cursor: UTF-8 continuation bytes do not
// start a character.
int ColumnOf(std::string_view line, size_t bytes);

// The column of the first non-blank character of a line (1 for a blank one).
int FirstColumn(std::string_view line);

// A path or word as a report line shows it: control characters (a newline
// in a file name, say) as \xHH, so that every message stays one line.
std::string OneLine(std::string_view text);

// Counts every error but keeps only the first kKept: a binary file given
// as the DSM has an error per byte, and only a few are ever shown.
class Diagnostics {
 public:
  static constexpr size_t kKept = 10000;

  void Error(std::string file, int line, int col, std::string text) {
    ++count_;
    if (list_.size() < kKept) {
      list_.push_back({std::move(file), line, col, std::move(text)});
    }
  }
  void Error(std::string file, int line, std::string text) {
    Error(std::move(file), line, 0, std::move(text));
  }
  // Errors counted but not kept, as when another list was copied in part.
  void CountMore(size_t n) { count_ += n; }
  size_t Count() const { return count_; }
  bool Empty() const { return count_ == 0; }
  const std::vector<Diagnostic>& List() const { return list_; }

 private:
  std::vector<Diagnostic> list_;
  size_t count_ = 0;
};

}  // namespace kestb
