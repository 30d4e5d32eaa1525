// A table described in resources and built by the creation layer: the
// registered class name, the layout resource, and a table-child callback
// named in a button's callback resource.
#include <gtest/gtest.h>
// gtest first: Xlib defines macros (Bool, None) that clash with its names.
#include <X11/IntrinsicP.h>
#include <X11/Shell.h>
#include <Xm/PushB.h>

#include "common/XFixture.h"
#include "wcl/WcInitialize.h"
#include "xmp/Table.h"
#include "xmp/XmpRegister.h"

namespace {

TEST(TableResources, TableBuiltFromResourcesPlacesAndMovesChildren) {
  Display* dpy = XtDisplay(xk::test::TopLevel());
  XrmDatabase db = XtDatabase(dpy);
  for (const char* line : {
           "*resShell.wcChildren: resTable",
           "*resTable.wcCreate: XmpTable",
           "*resTable.wcChildren: first second",
           "*resTable.layout: first 0 0; second 1 0",
           "*resTable.first.wcCreate: XmLabel",
           "*resTable.second.wcCreate: XmPushButton",
           "*resTable.second.activateCallback: XmpTableChildConfigCB(^first 2 0)",
       })
    XrmPutLineResource(&db, line);
  XmpRegisterAll(xk::test::App());

  Widget shell = XtAppCreateShell("resShell", "XkTest", topLevelShellWidgetClass, dpy, nullptr, 0);
  ASSERT_EQ(WcWidgetCreation(shell), 0);
  XtRealizeWidget(shell);
  xk::test::Drain();

  Widget table = XtNameToWidget(shell, "resTable");
  ASSERT_NE(table, nullptr);
  EXPECT_TRUE(XmpIsTable(table));
  Widget first = XtNameToWidget(table, "first"), second = XtNameToWidget(table, "second");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_LT(first->core.x, second->core.x);

  XtCallCallbacks(second, XmNactivateCallback, nullptr);
  EXPECT_GT(first->core.x, second->core.x);  // now in column 2
}

}  // namespace
