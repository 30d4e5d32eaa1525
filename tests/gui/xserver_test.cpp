// The test X server is reachable and a realized shell maps a window.
#include <gtest/gtest.h>

#include "common/XFixture.h"

TEST(XServer, RealizedShellHasWindow) {
  Widget top = xk::test::TopLevel();
  XtRealizeWidget(top);
  xk::test::Drain();
  EXPECT_NE(XtWindow(top), 0u);
}
