// creation_support.h: helpers for the widget creation tests: fresh roots
// with their own resources, and fresh application contexts for start-up
// tests; warnings and traces are captured with common/Warnings.h.
#pragma once

#include <X11/Intrinsic.h>
#include <X11/Shell.h>
#include <X11/StringDefs.h>

#include <string>
#include <vector>

#include "common/Warnings.h"
#include "common/XFixture.h"

namespace xk::test {

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
