// XFixture: one toolkit application context and top-level shell per test
// program, opened on $DISPLAY (the test script runs a private Xvfb).
//
//   TEST(Foo, Bar) {
//     Widget top = xk::test::TopLevel();
//     Widget w = XtCreateWidget("w", coreWidgetClass, top, nullptr, 0);
//   }
#pragma once

#include <X11/Intrinsic.h>

namespace xk::test {

// The shared application context; opens the display on first use and fails
// the calling test (by aborting the program with a clear message) when there
// is no X server.
XtAppContext App();

// The shared application shell, class "XkTest", created on first use.
Widget TopLevel();

// Handles pending events until none is left, after an XSync.
void Drain();

}  // namespace xk::test
