// WarningCapture.h: collects everything printed through WcWarningPrinter
// while it lives, one message per line.
#pragma once

#include "wcl/WcWarnings.h"

#include <cstdarg>
#include <string>

namespace xk::test {

class WarningCapture {
 public:
  WarningCapture() : saved_(WcWarningPrinter) {
    Text().clear();
    WcWarningPrinter = Print;
  }
  ~WarningCapture() { WcWarningPrinter = saved_; }
  WarningCapture(const WarningCapture&) = delete;
  WarningCapture& operator=(const WarningCapture&) = delete;

  // Everything printed so far; Take also clears it.
  const std::string& text() const { return Text(); }
  std::string Take() {
    std::string t;
    t.swap(Text());
    return t;
  }

 private:
  static std::string& Text() {
    static std::string text;
    return text;
  }
  static void Print(const char* piece, ...) {
    va_list ap;
    va_start(ap, piece);
    for (const char* p = piece; p; p = va_arg(ap, const char*)) Text() += p;
    va_end(ap);
    Text() += '\n';
  }
  WcWarningPrinterProc saved_;
};

}  // namespace xk::test
