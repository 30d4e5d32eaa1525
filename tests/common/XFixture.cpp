// Shared display, application context and shell for the tests that need an
// X server.
#include "XFixture.h"

#include <X11/Shell.h>
#include <X11/StringDefs.h>

#include <cstdio>
#include <cstdlib>

#include "Wait.h"

namespace xk::test {
namespace {

struct Session {
  XtAppContext app = nullptr;
  Display* display = nullptr;
  Widget top = nullptr;
};

Session& Get() {
  static Session s = [] {
    Session s;
    XtToolkitInitialize();
    s.app = XtCreateApplicationContext();
    int argc = 1;
    static char name[] = "xktest";
    static char* argv[] = {name, nullptr};
    // A busy server may refuse a connection for a moment; try for ~5 s.
    WaitUntil(
        [&] {
          s.display = XtOpenDisplay(s.app, nullptr, "xktest", "XkTest", nullptr, 0, &argc, argv);
          return s.display != nullptr;
        },
        5, std::chrono::milliseconds(100));
    if (!s.display) {
      std::fprintf(stderr, "test: cannot open the X display (is DISPLAY set?)\n");
      std::abort();
    }
    return s;
  }();
  return s;
}

}  // namespace

XtAppContext App() { return Get().app; }

Widget TopLevel() {
  Session& s = Get();
  if (!s.top) {
    Arg args[2];
    XtSetArg(args[0], XtNwidth, 200);
    XtSetArg(args[1], XtNheight, 200);
    s.top = XtAppCreateShell("xktest", "XkTest", applicationShellWidgetClass, s.display, args, 2);
  }
  return s.top;
}

void Drain() {
  Session& s = Get();
  XSync(s.display, False);
  while (XtAppPending(s.app)) XtAppProcessEvent(s.app, XtIMAll);
}

}  // namespace xk::test
