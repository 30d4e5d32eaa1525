// creation_support.h: helpers for the widget creation tests: a printer
// that captures warnings and traces, fresh roots with their own resources,
// and fresh application contexts for start-up tests.
#pragma once

#include <X11/Intrinsic.h>
#include <X11/Shell.h>
#include <X11/StringDefs.h>

#include <cstdarg>
#include <string>
#include <vector>

#include "common/XFixture.h"
#include "wcl/WcWarnings.h"

namespace xk::test {

inline std::vector<std::string>& Captured() {
  static std::vector<std::string> messages;
  return messages;
}

inline void CapturePrinter(const char* piece, ...) {
  std::string message;
  va_list ap;
  va_start(ap, piece);
  for (const char* p = piece; p; p = va_arg(ap, const char*)) message += p;
  va_end(ap);
  Captured().push_back(message);
}

// Takes over WcWarningPrinter for its lifetime.
class CaptureWarnings {
 public:
  CaptureWarnings() : saved_(WcWarningPrinter) {
    Captured().clear();
    WcWarningPrinter = CapturePrinter;
  }
  ~CaptureWarnings() { WcWarningPrinter = saved_; }
  void Clear() { Captured().clear(); }
  const std::vector<std::string>& Messages() const { return Captured(); }
  std::string All() const {
    std::string all;
    for (const std::string& m : Captured()) all += m + "\n";
    return all;
  }

 private:
  WcWarningPrinterProc saved_;
};

// Adds resource lines ("name.res: value") to the screen database of w.
inline void PutResources(Widget w, const std::vector<std::string>& lines) {
  XrmDatabase db = XtScreenDatabase(XtScreenOfObject(w));
  for (const std::string& line : lines) XrmPutLineResource(&db, line.c_str());
}

// A new application shell on the shared display, named `name`, so each test
// describes its own tree below its own root.
inline Widget NewRoot(const char* name, const std::vector<std::string>& lines) {
  Widget top = TopLevel();
  PutResources(top, lines);
  return XtAppCreateShell(name, "XkTest", applicationShellWidgetClass, XtDisplay(top), nullptr, 0);
}

// A new application context with its own display connection, for tests of
// what happens once per context.
inline Widget NewContextRoot(const char* name, const std::vector<std::string>& lines) {
  App();  // the toolkit is initialised once, by the shared fixture
  XtAppContext app = XtCreateApplicationContext();
  int argc = 1;
  std::string appName(name);
  char* argv[] = {appName.data(), nullptr};
  Display* dpy = XtOpenDisplay(app, nullptr, name, "XkTest", nullptr, 0, &argc, argv);
  if (!dpy) return nullptr;
  XrmDatabase db = XtScreenDatabase(DefaultScreenOfDisplay(dpy));
  for (const std::string& line : lines) XrmPutLineResource(&db, line.c_str());
  return XtAppCreateShell(name, "XkTest", applicationShellWidgetClass, dpy, nullptr, 0);
}

}  // namespace xk::test
