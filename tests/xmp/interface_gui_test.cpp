// A real Motif interface built from a resource file alone (main window,
// menu bar with pulldowns, popup menu, dialogs, message log), then driven
// with real events.
#include <gtest/gtest.h>

#include <Xm/CascadeB.h>
#include <Xm/DialogS.h>
#include <Xm/FileSB.h>
#include <Xm/Form.h>
#include <Xm/MainW.h>
#include <Xm/MessageB.h>
#include <Xm/PushB.h>
#include <Xm/PushBG.h>
#include <Xm/RowColumn.h>
#include <Xm/Text.h>

#include <string>
#include <vector>

#include "common/MotifText.h"
#include "common/WmProtocol.h"
#include "common/XFixture.h"
#include "wcl/WcCreate.h"
#include "xmp/Xmp.h"

namespace {

std::vector<std::string> g_closed;
bool g_rootDestroyed = false;

void UiClosed(Widget, XtPointer client, XtPointer) {
  g_closed.push_back(client ? static_cast<const char*>(client) : "");
}

unsigned char RowColumnType(Widget w) {
  unsigned char type = 0;
  XtVaGetValues(w, XmNrowColumnType, &type, nullptr);
  return type;
}

class Interface : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Display* dpy = XtDisplay(xk::test::TopLevel());
    XrmDatabase db = XtDatabase(dpy);
    XrmCombineFileDatabase(XK_SOURCE_DIR "/tests/xmp/data/interface.ad", &db, True);
    XtAppContext app = xk::test::App();
    WcRegisterCallback(app, "uiClosedCB", UiClosed, nullptr);
    XmpRegisterAll(app);
    root_ = XtAppCreateShell("xmpui", "XmpUi", applicationShellWidgetClass, dpy, nullptr, 0);
    XtAddCallback(root_, XtNdestroyCallback, [](Widget, XtPointer, XtPointer) { g_rootDestroyed = true; },
                  nullptr);
    status_ = WcWidgetCreation(root_);
    XtRealizeWidget(root_);
    xk::test::Drain();
  }
  static void TearDownTestSuite() { XmpMessageWidget(nullptr); }

  static Widget Find(const char* name) { return XtNameToWidget(root_, name); }

  static inline Widget root_ = nullptr;
  static inline int status_ = -1;
};

TEST_F(Interface, TreeIsBuiltFromTheResourceFile) {
  ASSERT_EQ(status_, 0);
  struct Row {
    const char* name;
    WidgetClass cls;
  };
  const Row rows[] = {
      {"main", xmMainWindowWidgetClass},   {"*menuBar", xmRowColumnWidgetClass},
      {"*file", xmCascadeButtonWidgetClass}, {"*open", xmPushButtonGadgetClass},
      {"*quit", xmPushButtonWidgetClass},  {"*work", xmFormWidgetClass},
      {"*log", xmTextWidgetClass},         {"*quitDialog", xmMessageBoxWidgetClass},
      {"*openDialog", xmFileSelectionBoxWidgetClass},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Widget w = Find(r.name);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(XtClass(w), r.cls);
  }
  EXPECT_EQ(Find("*broken"), nullptr);
}

TEST_F(Interface, MenusAreWiredByName) {
  EXPECT_EQ(RowColumnType(Find("*menuBar")), XmMENU_BAR);
  Widget fileMenu = Find("*fileMenu");
  ASSERT_NE(fileMenu, nullptr);
  EXPECT_EQ(RowColumnType(fileMenu), XmMENU_PULLDOWN);
  Widget sub = nullptr;
  XtVaGetValues(Find("*file"), XmNsubMenuId, &sub, nullptr);
  EXPECT_EQ(sub, fileMenu);  // the MenuWidget resource resolved the name
  XtVaGetValues(Find("*help"), XmNsubMenuId, &sub, nullptr);
  EXPECT_EQ(sub, Find("*helpMenu"));

  // "Hello\nWorld" became a two-line compound string.
  XmString label = nullptr;
  XtVaGetValues(Find("*hello"), XmNlabelString, &label, nullptr);
  EXPECT_EQ(XmStringLineCount(label), 2);
  XmStringFree(label);
}

TEST_F(Interface, MenuItemsOpenTheDialogs) {
  Widget quitDialog = Find("*quitDialog");
  EXPECT_TRUE(XmIsDialogShell(XtParent(quitDialog)));
  EXPECT_FALSE(XtIsManaged(quitDialog));
  XtCallCallbacks(Find("*quit"), XmNactivateCallback, nullptr);
  xk::test::Drain();
  EXPECT_TRUE(XtIsManaged(quitDialog));
  XtUnmanageChild(quitDialog);
  XtCallCallbacks(Find("*open"), XmNactivateCallback, nullptr);
  EXPECT_TRUE(XtIsManaged(Find("*openDialog")));
  XtUnmanageChild(Find("*openDialog"));
  xk::test::Drain();
}

TEST_F(Interface, RightButtonInTheWorkAreaPostsThePopupMenu) {
  Widget work = Find("*work");
  Widget menu = Find("*workMenu");
  ASSERT_EQ(RowColumnType(menu), XmMENU_POPUP);
  Display* dpy = XtDisplay(work);
  XEvent ev{};
  ev.xbutton.type = ButtonPress;
  ev.xbutton.display = dpy;
  ev.xbutton.window = XtWindow(work);
  ev.xbutton.root = DefaultRootWindow(dpy);
  ev.xbutton.x = ev.xbutton.y = ev.xbutton.x_root = ev.xbutton.y_root = 3;
  ev.xbutton.button = Button3;
  ev.xbutton.same_screen = True;
  XSendEvent(dpy, XtWindow(work), True, NoEventMask, &ev);
  xk::test::Drain();
  EXPECT_TRUE(XtIsManaged(menu));
  XtUnmanageChild(menu);
  xk::test::Drain();
}

TEST_F(Interface, SupportOperationsRanDuringCreation) {
  // The creation warning for "broken" went into the message log.
  std::string log = xk::test::Text(Find("*log"));
  EXPECT_NE(log.find("broken.wcCreate resource missing"), std::string::npos) << log;

  unsigned char navigation = 0;
  XtVaGetValues(Find("*hello"), XmNnavigationType, &navigation, nullptr);
  EXPECT_EQ(navigation, XmEXCLUSIVE_TAB_GROUP);

  // A close request runs the callback named in the resource file and,
  // by the file's deleteResponse, leaves the window alone.
  g_closed.clear();
  xk::test::SendWmProtocol(XtDisplay(root_), XtWindow(root_), "WM_DELETE_WINDOW");
  xk::test::Drain();
  EXPECT_EQ(g_closed, std::vector<std::string>{"main"});
  EXPECT_FALSE(g_rootDestroyed);
}

}  // namespace
