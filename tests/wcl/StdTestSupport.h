// Helpers for the tests of the standard callbacks and actions: a warning
// printer that records what the layer prints, and ways to fire callback text
// and actions the way resources and translations would.
#pragma once

// GoogleTest first: Xlib defines macros (None, Bool) that its headers use.
#include <gtest/gtest.h>

#include "tests/common/XFixture.h"
#include "wcl/WcCreate.h"

#include <cstdarg>
#include <string>

namespace xk::test {

// Everything printed through WcWarningPrinter while it lives, one message
// per line.
class CapturedWarnings {
 public:
  CapturedWarnings() : saved_(WcWarningPrinter) {
    Text().clear();
    WcWarningPrinter = Record;
  }
  ~CapturedWarnings() { WcWarningPrinter = saved_; }
  CapturedWarnings(const CapturedWarnings&) = delete;
  CapturedWarnings& operator=(const CapturedWarnings&) = delete;

  const std::string& str() const { return Text(); }
  void clear() { Text().clear(); }

 private:
  static std::string& Text() {
    static std::string text;
    return text;
  }
  static void Record(const char* piece, ...) {
    va_list ap;
    va_start(ap, piece);
    for (const char* p = piece; p; p = va_arg(ap, const char*)) Text() += p;
    va_end(ap);
    Text() += "\n";
  }
  WcWarningPrinterProc saved_;
};

// Registers the standard set for the shared application context.
inline void RegisterStandard() {
  WcRegisterStandardCallbacks(App());
  WcRegisterStandardActions(App());
}

// Runs callback text on w as a converted callback resource would.
inline void Fire(Widget w, const char* callbackText, XtPointer callData = nullptr) {
  XtCallbackList list = WcStringToCallbackList(w, callbackText);
  ASSERT_NE(list, nullptr) << callbackText;
  for (XtCallbackList e = list; e->callback; ++e) e->callback(w, e->closure, callData);
  XtFree(reinterpret_cast<char*>(list));
}

// Runs a registered action by name, as a translation would.
template <typename... P>
void Act(Widget w, const char* action, P... params) {
  String list[] = {const_cast<String>(params)..., nullptr};
  XtCallActionProc(w, action, nullptr, list, sizeof...(P));
}

}  // namespace xk::test
