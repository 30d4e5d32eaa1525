// Warning capture for tests: what the creation layer prints through
// WcWarningPrinter, and what the X toolkit itself warns about (converter
// failures, unknown actions), each kept instead of printed while a capture
// lives. Captures nest: the inner one sees the messages, and the outer one
// is back when it ends.
//
//   xk::test::CaptureWarnings warnings;
//   WcWarning1(w, "Test", "first", "Xmp Warning: first %s", "one");
//   EXPECT_EQ(warnings.Text(), "Xmp Warning: first one\n");
#pragma once

#include <X11/Intrinsic.h>

#include <cstdarg>
#include <string>
#include <vector>

#include "common/XFixture.h"
#include "wcl/WcWarnings.h"

namespace xk::test {

class CaptureWarnings {
 public:
  CaptureWarnings() : saved_(WcWarningPrinter), outer_(active_) {
    active_ = this;
    WcWarningPrinter = Print;
  }
  ~CaptureWarnings() {
    WcWarningPrinter = saved_;
    active_ = outer_;
  }
  CaptureWarnings(const CaptureWarnings&) = delete;
  CaptureWarnings& operator=(const CaptureWarnings&) = delete;

  // One entry a message: its pieces joined.
  const std::vector<std::string>& Messages() const { return messages_; }
  // Every message so far, each ended by a newline.
  std::string Text() const {
    std::string all;
    for (const std::string& m : messages_) all += m + '\n';
    return all;
  }
  // Text, and then forgets it.
  std::string Take() {
    std::string all = Text();
    messages_.clear();
    return all;
  }
  void Clear() { messages_.clear(); }

  // The printer a capture installs, for tests that put it back themselves
  // or check which printer is in place. The printer's contract: pieces up
  // to the first null one.
  static void Print(const char* piece, ...) {
    std::string message;
    va_list ap;
    va_start(ap, piece);
    for (const char* p = piece; p; p = va_arg(ap, const char*)) message += p;
    va_end(ap);
    if (active_) active_->messages_.push_back(message);
  }

 private:
  static inline CaptureWarnings* active_ = nullptr;
  WcWarningPrinterProc saved_;
  CaptureWarnings* outer_;
  std::vector<std::string> messages_;
};

// The toolkit's warnings on the shared application context.
class ToolkitWarnings {
 public:
  struct Warning {
    std::string name, type, text;  // text: the default message, unformatted
    std::vector<std::string> params;
  };

  ToolkitWarnings() : outer_(active_) {
    active_ = this;
    saved_ = XtAppSetWarningMsgHandler(App(), Handler);
  }
  ~ToolkitWarnings() {
    XtAppSetWarningMsgHandler(App(), saved_);
    active_ = outer_;
  }
  ToolkitWarnings(const ToolkitWarnings&) = delete;
  ToolkitWarnings& operator=(const ToolkitWarnings&) = delete;

  const std::vector<Warning>& All() const { return warnings_; }
  // Each warning as "name/type param param...", one entry a warning.
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (const Warning& w : warnings_) {
      std::string line = w.name + "/" + w.type;
      for (const std::string& p : w.params) line += " " + p;
      lines.push_back(line);
    }
    return lines;
  }
  void Clear() { warnings_.clear(); }

 private:
  static void Handler(String name, String type, String, String text, String* params,
                      Cardinal* count) {
    if (!active_) return;
    Warning w{name ? name : "", type ? type : "", text ? text : "", {}};
    for (Cardinal i = 0; params && count && i < *count; ++i) w.params.push_back(params[i] ? params[i] : "");
    active_->warnings_.push_back(std::move(w));
  }

  static inline ToolkitWarnings* active_ = nullptr;
  XtErrorMsgHandler saved_ = nullptr;
  ToolkitWarnings* outer_;
  std::vector<Warning> warnings_;
};

}  // namespace xk::test
