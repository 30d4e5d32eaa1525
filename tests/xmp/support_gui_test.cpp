// The Motif support operations on real widgets: popup menu checks with
// real key and button events, tab groups, the Return translation fix, and
// close and save-yourself requests sent as real WM_PROTOCOLS messages.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/keysym.h>
#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/PushB.h>
#include <Xm/PushBG.h>
#include <Xm/RowColumn.h>
#include <Xm/Text.h>

#include <string>
#include <vector>

#include "common/MotifText.h"
#include "common/Warnings.h"
#include "common/WmProtocol.h"
#include "common/XFixture.h"
#include "wcl/WcCreate.h"
#include "xmp/Xmp.h"

namespace {

// Each test gets its own realized shell holding a form; warnings are
// recorded instead of printed.
class Support : public ::testing::Test {
 protected:
  void SetUp() override {
    XmpRegisterAll(xk::test::App());
    Arg args[3];
    XtSetArg(args[0], XmNdeleteResponse, XmDO_NOTHING);
    XtSetArg(args[1], XtNwidth, 300);
    XtSetArg(args[2], XtNheight, 200);
    shell_ = XtCreatePopupShell("supShell", topLevelShellWidgetClass, xk::test::TopLevel(), args, 3);
    form_ = XmCreateForm(shell_, const_cast<char*>("form"), nullptr, 0);
    XtManageChild(form_);
  }
  void TearDown() override {
    XtDestroyWidget(shell_);
    xk::test::Drain();
  }
  void Show() {
    XtPopup(shell_, XtGrabNone);
    xk::test::Drain();
  }
  Widget Child(Widget (*create)(Widget, String, ArgList, Cardinal), const char* name) {
    Widget w = create(form_, const_cast<char*>(name), nullptr, 0);
    XtManageChild(w);
    return w;
  }
  // Sends a real event to w's window and lets the toolkit dispatch it.
  void Send(Widget w, XEvent ev) {
    Display* dpy = XtDisplay(w);
    ev.xany.display = dpy;
    ev.xany.window = XtWindow(w);
    XSendEvent(dpy, XtWindow(w), True, NoEventMask, &ev);
    xk::test::Drain();
  }
  XEvent KeyEvent(Widget w, KeySym sym) {
    XEvent ev{};
    ev.xkey.type = KeyPress;
    ev.xkey.root = DefaultRootWindow(XtDisplay(w));
    ev.xkey.subwindow = None;
    ev.xkey.time = CurrentTime;
    ev.xkey.x = ev.xkey.y = 5;
    ev.xkey.same_screen = True;
    ev.xkey.keycode = XKeysymToKeycode(XtDisplay(w), sym);
    return ev;
  }

  xk::test::CaptureWarnings warnings_;
  Widget shell_ = nullptr;
  Widget form_ = nullptr;
};

TEST_F(Support, PopupBoundToAKeyPressWarnsAndDoesNotPost) {
  Widget menu = XmCreatePopupMenu(form_, const_cast<char*>("menu"), nullptr, 0);
  XtManageChild(XmCreatePushButton(menu, const_cast<char*>("item"), nullptr, 0));
  XtOverrideTranslations(form_, XtParseTranslationTable("<Key>F5: XmpPopup(*menu)"));
  Show();
  Send(form_, KeyEvent(form_, XK_F5));
  EXPECT_EQ(warnings_.Messages(), std::vector<std::string>{
                            "Xmp Warning: XmpPopup( *menu ) - event type `KeyPress' is not ButtonPress event."});
  EXPECT_FALSE(XtIsManaged(menu));
}

TEST_F(Support, PopupPostsAMenuOnAButtonPress) {
  Widget menu = XmCreatePopupMenu(form_, const_cast<char*>("menu"), nullptr, 0);
  XtManageChild(XmCreatePushButton(menu, const_cast<char*>("item"), nullptr, 0));
  Show();
  XEvent ev{};
  ev.xbutton.type = ButtonPress;
  ev.xbutton.display = XtDisplay(form_);
  ev.xbutton.window = XtWindow(form_);
  ev.xbutton.root = DefaultRootWindow(XtDisplay(form_));
  ev.xbutton.x_root = ev.xbutton.y_root = 40;
  ev.xbutton.button = Button3;
  String params[] = {const_cast<char*>("*menu")};
  XtCallActionProc(form_, "MriPopup", &ev, params, 1);
  EXPECT_TRUE(warnings_.Messages().empty());
  EXPECT_TRUE(XtIsManaged(menu));
  XtUnmanageChild(menu);
  xk::test::Drain();
}

TEST_F(Support, PopupRefusesWhatIsNotAPopupMenuPane) {
  Widget bar = XmCreateMenuBar(form_, const_cast<char*>("bar"), nullptr, 0);
  XmCreatePulldownMenu(bar, const_cast<char*>("pulldown"), nullptr, 0);
  Child(XmCreateLabel, "label");
  XEvent press{};
  press.type = ButtonPress;
  struct Row {
    std::vector<const char*> params;
    const char* expected;
  };
  const Row rows[] = {
      {{}, "Xmp Warning: XmpPopup() - No menu pane name provided."},
      {{"a", "b", "c"}, "Xmp Warning: XmpPopup( a b ... ) - Only one menu pane name allowed."},
      {{"nosuch"},
       "Xmp Warning: XmpPopup( nosuch ) - Couldn't find menu pane widget `nosuch' from "
       "`xktest.supShell.form'"},
      {{"label"},
       "Xmp Warning: XmpPopup( label ) - xktest.supShell.form.label is not menu pane (not "
       "XmRowColumn)"},
      {{"*pulldown"},
       "Xmp Warning: XmpPopup( *pulldown ) - xktest.supShell.form.bar.popup_pulldown.pulldown "
       "is not menu pane (not XmMENU_POPUP)"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.expected);
    warnings_.Clear();
    std::vector<String> params;
    for (const char* p : r.params) params.push_back(const_cast<char*>(p));
    Cardinal n = static_cast<Cardinal>(params.size());
    XmpPopup(form_, &press, params.data(), &n);
    EXPECT_EQ(warnings_.Messages(), std::vector<std::string>{r.expected});
  }
}

TEST_F(Support, AddTabGroupActsOnTheNamedWidget) {
  Widget a = Child(XmCreatePushButton, "a");
  Widget b = Child(XmCreatePushButton, "b");
  auto navigation = [](Widget w) {
    unsigned char type = 0;
    XtVaGetValues(w, XmNnavigationType, &type, nullptr);
    return type;
  };
  ASSERT_EQ(navigation(b), XmNONE);
  XmpAddTabGroupCB(a, const_cast<char*>("^b"), nullptr);
  EXPECT_EQ(navigation(b), XmEXCLUSIVE_TAB_GROUP);
  EXPECT_EQ(navigation(a), XmNONE);
  XmpAddTabGroupCB(a, nullptr, nullptr);  // no name: the widget itself
  EXPECT_EQ(navigation(a), XmEXCLUSIVE_TAB_GROUP);

  XmpAddTabGroupCB(a, const_cast<char*>("^nosuch"), nullptr);
  XmpAddTabGroupCB(a, const_cast<char*>("^a ^b"), nullptr);
  EXPECT_EQ(warnings_.Messages(), (std::vector<std::string>{
                            "Xmp Warning: XmpAddTabGroup(^nosuch) - Widget not found",
                            "Xmp Warning: XmpAddTabGroup() requires 0 or 1 widget name argument."}));
}

TEST_F(Support, FixTranslationsFixesTextsUpToTheFirstNonText) {
  Widget a = Child(XmCreateText, "a");  // single-line: Return activates
  Widget c = Child(XmCreateText, "c");
  Child(XmCreateLabel, "b");
  Show();
  XmpFixTranslationsCB(form_, const_cast<char*>("a b c"), nullptr);
  EXPECT_EQ(warnings_.Messages(), std::vector<std::string>{
                            "Xmp Warning: XmpFixTranslations(b) - Not an XmText widget"});

  // Return now inserts a newline in a, while c, after the failure, still
  // activates.
  for (Widget t : {a, c}) {
    XmProcessTraversal(t, XmTRAVERSE_CURRENT);
    XtSetKeyboardFocus(shell_, t);
    Send(t, KeyEvent(t, XK_Return));
  }
  EXPECT_EQ(xk::test::Text(a), "\n");
  EXPECT_EQ(xk::test::Text(c), "");

  warnings_.Clear();
  XmpFixTranslationsCB(form_, const_cast<char*>(""), nullptr);
  XmpFixTranslationsCB(form_, const_cast<char*>("nosuch"), nullptr);
  EXPECT_EQ(warnings_.Messages(), (std::vector<std::string>{
                            "Xmp Usage: XmpFixTranslations( widget [widgetName] ...)",
                            "Xmp Warning: XmpFixTranslations(nosuch) - Widget not found"}));
}

std::vector<std::string> g_closeCalls;

void CloseRecorder(Widget, XtPointer client, XtPointer) {
  const char* arg = static_cast<const char*>(client);
  g_closeCalls.push_back(arg ? arg : "");
}

// What a window manager sends: a WM_PROTOCOLS client message naming the
// protocol.
void SendProtocol(Widget shell, const char* protocol) {
  xk::test::SendWmProtocol(XtDisplay(shell), XtWindow(shell), protocol);
  xk::test::Drain();
}

TEST_F(Support, CloseAndSaveYourselfRunEveryNamedCallback) {
  WcRegisterCallback(xk::test::App(), "testCloseCB", CloseRecorder, const_cast<char*>("reg"));
  Widget button = Child(XmCreatePushButton, "button");
  XmpAddMwmCloseCallbackCB(button, const_cast<char*>("~, testCloseCB(first) testCloseCB"), nullptr);
  String params[] = {const_cast<char*>("~"), const_cast<char*>("testCloseCB")};
  XtCallActionProc(button, "XmpAddMwmCloseCallbackACT", nullptr, params, 2);
  Show();
  g_closeCalls.clear();
  SendProtocol(shell_, "WM_DELETE_WINDOW");
  EXPECT_EQ(g_closeCalls, (std::vector<std::string>{"first", "reg", "reg"}));
  g_closeCalls.clear();
  SendProtocol(shell_, "WM_SAVE_YOURSELF");
  EXPECT_EQ(g_closeCalls, (std::vector<std::string>{"first", "reg", "reg"}));

  XmpAddMwmCloseCallbackCB(button, const_cast<char*>("nosuch testCloseCB"), nullptr);
  EXPECT_EQ(warnings_.Messages(), std::vector<std::string>{
                            "Xmp Warning: XmpAddMwmCloseCallback( nosuch ... ) - Target widget not found"});

  // A target that is no shell, even a gadget, is left to Motif's own
  // refusal: no crash, and a close request still runs only what was added.
  XtManageChild(XmCreatePushButtonGadget(form_, const_cast<char*>("gadget"), nullptr, 0));
  testing::internal::CaptureStderr();
  XmpAddMwmCloseCallbackCB(button, const_cast<char*>("^gadget testCloseCB(gadget)"), nullptr);
  XmpAddMwmCloseCallbackCB(button, const_cast<char*>("^button testCloseCB(button)"), nullptr);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("VendorShell"), std::string::npos) << err;
  g_closeCalls.clear();
  SendProtocol(shell_, "WM_DELETE_WINDOW");
  EXPECT_EQ(g_closeCalls, (std::vector<std::string>{"first", "reg", "reg"}));
}

TEST(SupportText, EventTypeNames) {
  EXPECT_STREQ(xmp::EventTypeName(KeyPress), "KeyPress");
  EXPECT_STREQ(xmp::EventTypeName(ClientMessage), "ClientMessage");
  EXPECT_STREQ(xmp::EventTypeName(0), "");
  EXPECT_STREQ(xmp::EventTypeName(1), "");
  EXPECT_STREQ(xmp::EventTypeName(LASTEvent), "");
  EXPECT_STREQ(xmp::EventTypeName(-1), "");
}

}  // namespace
